// The first byte picks the slot count, the rest is "Links.txt". The bar starts up and loads the
// links; the slots must be the ones the file's lines give, loading must leave the file alone, and
// what a save writes must load back into the same slots and save again to the same bytes.
#include <cstdint>
#include <string>
#include <vector>

#include "core/bar_state.h"
#include "core/start_up.h"
#include "fuzz/fuzz_support.h"
#include "store/links.h"
#include "store/text_ops.h"
#include "store/utf8.h"

namespace {

constexpr int32_t MostSlots = 22;  // the default for a top bar on 1920 x 1080

// The values of the first `count` lines as the reading rules say: a line ends at NUL, LF, CR or
// CR LF; its value is what follows its first "=", without blanks at either end.
std::vector<std::wstring> ExpectedPaths(std::string_view bytes, int32_t count) {
    std::vector<std::wstring> paths(static_cast<size_t>(count));
    size_t at = 0;
    for (int32_t i = 0; i < count; ++i) {
        const size_t end = bytes.find_first_of(std::string_view("\0\n\r", 3), at);
        const std::string_view line = bytes.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
        const size_t equals = line.find('=');
        if (equals != std::string_view::npos) paths[i] = Trimmed(WideFromUtf8(line.substr(equals + 1)));
        if (end == std::string_view::npos) break;
        at = end + 1;
        if (bytes[end] == '\r' && at < bytes.size() && bytes[at] == '\n') ++at;
        if (at == bytes.size()) break;
    }
    return paths;
}

std::vector<std::wstring> SlotPaths() {
    std::vector<std::wstring> paths;
    for (const LinkSlot& slot : bar.slots) paths.push_back(slot.path);
    return paths;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const int32_t count = data[0] % (MostSlots + 1);
    const std::string_view content(reinterpret_cast<const char*>(data + 1), size - 1);
    FreshRun();
    PutFile("Settings.ini", "Links = " + std::to_string(count) + "\r\n");
    PutFile("Links.txt", content);
    StartUp();
    Require(FileBytes("Links.txt") == content, "loading leaves the links file as it was");
    RequireSoundSlots();
    const std::vector<std::wstring> loaded = SlotPaths();
    Require(loaded == ExpectedPaths(content, count), "each slot holds the value of its line");
    for (const std::wstring& path : loaded) {
        Require(path == Trimmed(path), "a loaded path has no blank at either end");
    }

    SaveLinks();
    const std::string saved = FileBytes("Links.txt");
    Require(saved == SavedFormOfSlots(), "a save writes one line per slot, in order");
    Require(!FileThere("Links.txt.tmp"), "a save leaves no temporary file");
    for (int32_t i = 0; i < count; ++i) ClearLink(i, 0);
    LoadLinks();
    Require(SlotPaths() == loaded, "what was saved loads back into the same slots");
    RequireSoundSlots();
    SaveLinks();
    Require(FileBytes("Links.txt") == saved, "saving what was loaded gives the same bytes");
    return 0;
}
