#include "fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "core/bar_state.h"
#include "platform/headless/headless.h"
#include "store/links.h"
#include "store/text_ops.h"
#include "store/utf8.h"

namespace {

std::filesystem::path fuzzFolder;

// A run that ends normally leaves nothing behind; one that stops on a finding keeps its folder.
void RemoveFuzzFolder() {
    std::error_code ignored;
    std::filesystem::current_path(fuzzFolder.parent_path(), ignored);
    std::filesystem::remove_all(fuzzFolder, ignored);
}

}  // namespace

void EnterFuzzFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "edgeway-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    fuzzFolder = pattern;
    std::filesystem::current_path(fuzzFolder);
    std::atexit(RemoveFuzzFolder);
    // The last input's icons go back before the bar itself is destroyed at exit.
    std::atexit(ReleaseLinkIcons);
}

void FreshRun() {
    ReleaseLinkIcons();
    bar = BarState{};
    mouseX = 0;
    mouseY = 0;
    ResetHeadlessDesktop();
    std::error_code ignored;
    for (const char* name : {"Settings.ini", "Links.txt", "Links.txt.tmp"}) {
        std::filesystem::remove_all(name, ignored);
    }
}

void Require(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "rule broken: %s\n", rule);
    std::abort();
}

std::string FileBytes(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileThere(const char* name) { return std::filesystem::exists(name); }

void PutFile(const char* name, std::string_view bytes) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Require(out.good(), "the fuzzer can write its files");
}

void RequireSoundSlots() {
    int64_t icons = 0;
    for (size_t i = 0; i < bar.slots.size(); ++i) {
        const LinkSlot& slot = bar.slots[i];
        Require(slot.index == static_cast<int32_t>(i), "a slot knows its own number");
        Require(slot.used == (slot.path.empty() ? 0 : 1), "a slot is used exactly when it holds a path");
        Require(slot.path.find_first_of(std::wstring(L"\r\n\0", 3)) == std::wstring::npos,
                "no path holds a line end");
        Require(slot.label == LabelOf(slot.path), "a label is the file part of its path");
        Require(slot.used || !slot.icon, "an empty slot holds no icon");
        icons += slot.icon != nullptr;
    }
    Require(LiveHeadlessIcons() == icons, "every icon handed out is held by a slot");
}

std::string SavedFormOfSlots() {
    std::string bytes;
    for (size_t i = 0; i < bar.slots.size(); ++i) {
        bytes += "Link " + Utf8FromWide(DecimalText(static_cast<int64_t>(i))) + " = " +
                 Utf8FromWide(bar.slots[i].path) + "\r\n";
    }
    return bytes;
}

void RequireSoundLayout() {
    Require(bar.side >= SideTop && bar.side <= SideLeft, "the side is one of the four edges");
    Require(bar.slotCount >= 0, "the slot count is not negative");
    Require(bar.slots.size() == static_cast<size_t>(bar.slotCount), "there are as many slots as the count says");
    Require(bar.barWidth >= 0 && bar.barWidth <= LongestBarExtent, "the bar's width fits a window");
    Require(bar.barHeight >= 0 && bar.barHeight <= LongestBarExtent, "the bar's height fits a window");
}

uint8_t ByteReader::Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
}

uint16_t ByteReader::Word() {
    const uint16_t low = Byte();
    return static_cast<uint16_t>(low | (Byte() << 8));
}

uint32_t ByteReader::Long() {
    const uint32_t low = Word();
    return low | (static_cast<uint32_t>(Word()) << 16);
}
