#include "store/text_ops.h"

namespace {

constexpr int32_t NotADigit = 99;  // above every base, so it ends any run of digits

int32_t DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') return c - L'0';
    if (c >= L'A' && c <= L'F') return c - L'A' + 10;
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return NotADigit;
}

}  // namespace

std::wstring DecimalText(int64_t value) {
    // The magnitude in unsigned arithmetic, so that the most negative value has one too.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits.insert(digits.begin(), L'-');
    return digits;
}

std::wstring FieldOf(const std::wstring& text, int32_t n, wchar_t separator) {
    if (n < 1) return L"";
    size_t begin = 0;
    for (int32_t field = 1; field < n; ++field) {
        const size_t next = text.find(separator, begin);
        if (next == std::wstring::npos) return L"";
        begin = next + 1;
    }
    const size_t end = text.find(separator, begin);
    return text.substr(begin, end == std::wstring::npos ? std::wstring::npos : end - begin);
}

int64_t IntegerOf(const std::wstring& text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == L' ' || text[at] == L'\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
    int32_t base = 10;
    if (at < text.size() && text[at] == L'$') {
        base = 16;
        ++at;
    } else if (at < text.size() && text[at] == L'%') {
        base = 2;
        ++at;
    }
    // Unsigned arithmetic wraps the way the 64-bit two's-complement accumulator is meant to.
    uint64_t value = 0;
    for (; at < text.size() && DigitValue(text[at]) < base; ++at) {
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(DigitValue(text[at]));
    }
    if (negative) value = 0 - value;
    return static_cast<int64_t>(value);
}

std::wstring Trimmed(const std::wstring& text) {
    const size_t begin = text.find_first_not_of(L' ');
    if (begin == std::wstring::npos) return L"";
    const size_t end = text.find_last_not_of(L' ');
    return text.substr(begin, end - begin + 1);
}

std::wstring ColorText(Color32 color) {
    return DecimalText(RedOf(color)) + L", " + DecimalText(GreenOf(color)) + L", " +
           DecimalText(BlueOf(color));
}
