// UTF-8 to and from the program's wide texts (UTF-16 where wchar_t has 16 bits, UTF-32 where it
// has 32). Ill-formed UTF-8 decodes to U+FFFD; an unpaired surrogate encodes as U+FFFD.
#pragma once

#include <string>
#include <string_view>

std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view bytes);
// Each byte is the character of the same number (ISO-8859-1), given back as UTF-8.
std::string Utf8FromLatin1(std::string_view bytes);

// The same conversions for either width of code unit, whichever one wchar_t has in this build.
std::string Utf8FromUtf16(std::u16string_view text);
std::u16string Utf16FromUtf8(std::string_view bytes);
std::string Utf8FromUtf32(std::u32string_view text);
std::u32string Utf32FromUtf8(std::string_view bytes);
