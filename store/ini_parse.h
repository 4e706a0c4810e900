// The reading half of "Settings.ini" without any file: the bytes as they come from the disk, the
// lines they make and the lookup of a key. Nothing here touches the disk, so every rule can be
// driven directly with any bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class IniEntryKind { Key, Group, Comment };

// One line of the file. `value` is the value of a key line, the name of a group line or the text
// of a comment line; `key` is used by key lines only. Both are UTF-8.
struct IniEntry {
    IniEntryKind kind = IniEntryKind::Key;
    std::string key;
    std::string value;
};

// The file's bytes as UTF-8: after a UTF-8 signature as they stand, without one as ISO-8859-1.
std::string IniTextOf(std::string_view bytes);

// The lines of the text in file order; blank lines give nothing.
std::vector<IniEntry> ParseIni(std::string_view text);

// The key line a read sees for `key` (UTF-8), or null: ASCII letters match in either case,
// comments are passed over, the first group line ends the search and the first match wins.
const IniEntry* FindIniEntry(const std::vector<IniEntry>& entries, std::string_view key);

// The leading decimal integer of a value, 0 without digits; beyond the signed 32-bit range it
// stays at the nearer limit.
int32_t IniIntegerOf(std::string_view value);
