#include "store/ini_file.h"

#include <new>
#include <stdexcept>
#include <vector>

#include "platform/platform.h"
#include "store/ini_parse.h"
#include "store/text_ops.h"
#include "store/utf8.h"

namespace {

struct IniFile {
    FileHandle file = nullptr;
    std::wstring createdPath;  // set when CreateIni made the file
    std::string content;  // the whole file as UTF-8
    std::vector<IniEntry> entries;
    bool modified = false;
};

IniFile ini;

// Read-write first, so that where the desktop has sharing modes nothing else changes the file while
// it is open; then read-only, for a file marked read-only; then sharing writes too, for a file that
// another program holds open for writing.
constexpr FileOpenMode OpenAttempts[] = {FileReadWriteShareRead, FileReadShareRead, FileReadShareReadWrite};

FileHandle OpenExisting(const std::wstring& path) {
    for (const FileOpenMode mode : OpenAttempts) {
        if (FileHandle file = OpenDiskFile(path, mode)) return file;
    }
    return nullptr;
}

std::string WholeFile(FileHandle file) {
    const int64_t length = FileLength(file);
    if (length <= 0) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    size_t got = 0;
    while (got < bytes.size()) {
        const int64_t count = ReadFromFile(file, bytes.data() + got, static_cast<int64_t>(bytes.size() - got));
        // A read that fails part way counts as no content, like one there is no memory for: a
        // cut-off file would give wrong values ("Links = 2" of "Links = 22").
        if (count < 0) return {};
        if (count == 0) break;
        got += static_cast<size_t>(count);
    }
    bytes.resize(got);
    return bytes;
}

// A file too big to hold counts as an empty one: every read gives its default.
void ForgetContent() {
    ini.content = std::string();
    ini.entries = std::vector<IniEntry>();
}

void ReadEntries() {
    try {
        ini.content = IniTextOf(WholeFile(ini.file));
        ini.entries = ParseIni(ini.content);
    } catch (const std::bad_alloc&) {
        ForgetContent();
    } catch (const std::length_error&) {
        ForgetContent();
    }
}

std::string NewContent() {
    std::string text = "\xEF\xBB\xBF\r\n";
    for (const IniEntry& entry : ini.entries) text += entry.key + " = " + entry.value + "\r\n";
    return text;
}

const IniEntry* EntryFor(const std::wstring& key) {
    return ini.file ? FindIniEntry(ini.entries, Utf8FromWide(key)) : nullptr;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view WithoutBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace

bool OpenIni(const std::wstring& path) {
    CloseIni();
    ini.file = OpenExisting(path);
    if (!ini.file) return false;
    ReadEntries();
    return true;
}

bool CreateIni(const std::wstring& path) {
    CloseIni();
    // Only a name that holds nothing yet is created: a file that exists but could not be opened
    // (no read access, locked) keeps its content rather than being replaced by the defaults.
    ini.file = OpenDiskFile(path, FileCreateNew);
    if (ini.file) ini.createdPath = path;
    return ini.file != nullptr;
}

int32_t ReadIniInteger(const std::wstring& key, int32_t fallback) {
    const IniEntry* entry = EntryFor(key);
    return entry ? IniIntegerOf(entry->value) : fallback;
}

std::wstring ReadIniText(const std::wstring& key, const std::wstring& fallback) {
    const IniEntry* entry = EntryFor(key);
    return entry ? WideFromUtf8(WithoutBlanks(entry->value)) : fallback;
}

void WriteIniInteger(const std::wstring& key, int32_t value) { WriteIniText(key, DecimalText(value)); }

void WriteIniText(const std::wstring& key, const std::wstring& text) {
    if (!ini.file) return;
    ini.entries.push_back({IniEntryKind::Key, Utf8FromWide(key), Utf8FromWide(text)});
    ini.modified = true;
}

void CloseIni() {
    if (!ini.file) return;
    bool whole = true;
    if (ini.modified) {
        const std::string text = NewContent();
        whole = SeekFile(ini.file, 0) && WriteToFile(ini.file, text.data(), static_cast<int64_t>(text.size())) &&
                CutFileHere(ini.file);
    }
    CloseFile(ini.file);
    // A settings file the bar made but could not fill (a full disk) goes again: read at the next
    // start, its cut-off lines would give wrong settings for good ("Links = 2" of "Links = 22").
    // Without it the next start simply tries again.
    if (!whole && !ini.createdPath.empty()) RemoveFile(ini.createdPath);
    ini = IniFile{};
}
