// The small text operations the settings and links files are read and written with.
#pragma once

#include <cstdint>
#include <string>

#include "core/bar_state.h"

// Decimal digits, "-" in front of a negative value, "0" for zero.
std::wstring DecimalText(int64_t value);
// Field n (1-based) of the text between one-character separators; empty when there is none.
std::wstring FieldOf(const std::wstring& text, int32_t n, wchar_t separator);
// A number: blanks skipped, optional sign, "$" hexadecimal, "%" binary, else decimal; wraps at
// 64 bits; 0 without digits.
int64_t IntegerOf(const std::wstring& text);
// The text without leading and trailing U+0020 blanks.
std::wstring Trimmed(const std::wstring& text);
// "R, G, B" in decimal.
std::wstring ColorText(Color32 color);
