#include "store/ini_parse.h"

#include <limits>

#include "store/utf8.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

size_t SkipBlanks(std::string_view text, size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

size_t LineEndFrom(std::string_view text, size_t at) {
    while (at < text.size() && !IsLineEnd(text[at])) ++at;
    return at;
}

IniEntry CommentLine(std::string_view line) {
    // line starts after the ";"; one blank directly after it belongs to the marker
    if (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    return {IniEntryKind::Comment, "", std::string(line)};
}

IniEntry GroupLine(std::string_view line) {
    const size_t close = line.find(']');
    return {IniEntryKind::Group, "", std::string(line.substr(0, close))};
}

IniEntry KeyLine(std::string_view line) {
    const size_t equals = line.find('=');
    std::string_view key = line.substr(0, equals);
    while (!key.empty() && IsBlank(key.back())) key.remove_suffix(1);
    std::string_view value;
    if (equals != std::string_view::npos) {
        value = line.substr(equals + 1);
        while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
    }
    return {IniEntryKind::Key, std::string(key), std::string(value)};
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

bool IsNumberSpace(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || IsLineEnd(c); }

}  // namespace

std::string IniTextOf(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
    return Utf8FromLatin1(bytes);
}

std::vector<IniEntry> ParseIni(std::string_view text) {
    std::vector<IniEntry> entries;
    size_t at = 0;
    while (at < text.size()) {
        at = SkipBlanks(text, at);
        const size_t end = LineEndFrom(text, at);
        if (at < end) {
            const std::string_view line = text.substr(at, end - at);
            if (line.front() == ';') {
                entries.push_back(CommentLine(line.substr(1)));
            } else if (line.front() == '[') {
                entries.push_back(GroupLine(line.substr(1)));
            } else {
                entries.push_back(KeyLine(line));
            }
        }
        at = end;
        while (at < text.size() && IsLineEnd(text[at])) ++at;
    }
    return entries;
}

const IniEntry* FindIniEntry(const std::vector<IniEntry>& entries, std::string_view key) {
    for (const IniEntry& entry : entries) {
        if (entry.kind == IniEntryKind::Group) return nullptr;
        if (entry.kind == IniEntryKind::Key && SameKey(entry.key, key)) return &entry;
    }
    return nullptr;
}

int32_t IniIntegerOf(std::string_view value) {
    size_t at = 0;
    while (at < value.size() && IsNumberSpace(value[at])) ++at;
    bool negative = false;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) negative = value[at++] == '-';
    // The magnitude stops growing just past the 32-bit range, so any run of digits is safe.
    constexpr int64_t beyond = int64_t{std::numeric_limits<int32_t>::max()} + 2;
    int64_t magnitude = 0;
    for (; at < value.size() && value[at] >= '0' && value[at] <= '9'; ++at) {
        if (magnitude < beyond) magnitude = magnitude * 10 + (value[at] - '0');
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (signedValue < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(signedValue);
}
