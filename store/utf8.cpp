#include "store/utf8.h"

#include <cstdint>

namespace {

constexpr char32_t Replacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

template <typename Unit>
void AppendUnits(std::basic_string<Unit>& out, char32_t c) {
    if constexpr (sizeof(Unit) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<Unit>(0xD800 + (c >> 10));
            out += static_cast<Unit>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<Unit>(c);
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// Decodes one well-formed sequence at `at`, or gives U+FFFD for the longest ill-formed prefix
// (the maximal subpart, as Unicode recommends), advancing `at` past what it used.
char32_t DecodeOne(std::string_view bytes, size_t& at) {
    const auto lead = static_cast<uint8_t>(bytes[at++]);
    if (lead < 0x80) return lead;
    int more;
    char32_t c;
    uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        c = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        c = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return Replacement;
    }
    for (int i = 0; i < more; ++i) {
        if (at >= bytes.size()) return Replacement;
        const auto next = static_cast<uint8_t>(bytes[at]);
        if (next < low || next > high) return Replacement;
        low = 0x80;
        high = 0xBF;
        c = (c << 6) | (next & 0x3F);
        ++at;
    }
    return c;
}

template <typename Unit>
std::string Utf8FromUnits(std::basic_string_view<Unit> text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(Unit) == 2) {
            c &= 0xFFFF;
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t next = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
                if (next >= 0xDC00 && next <= 0xDFFF) {
                    c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                    ++i;
                }
            }
        }
        if (IsSurrogate(c) || c > 0x10FFFF) c = Replacement;
        AppendUtf8(out, c);
    }
    return out;
}

template <typename Unit>
std::basic_string<Unit> UnitsFromUtf8(std::string_view bytes) {
    std::basic_string<Unit> out;
    out.reserve(bytes.size());
    size_t at = 0;
    while (at < bytes.size()) AppendUnits(out, DecodeOne(bytes, at));
    return out;
}

}  // namespace

std::string Utf8FromWide(std::wstring_view text) { return Utf8FromUnits(text); }
std::wstring WideFromUtf8(std::string_view bytes) { return UnitsFromUtf8<wchar_t>(bytes); }
std::string Utf8FromUtf16(std::u16string_view text) { return Utf8FromUnits(text); }
std::u16string Utf16FromUtf8(std::string_view bytes) { return UnitsFromUtf8<char16_t>(bytes); }
std::string Utf8FromUtf32(std::u32string_view text) { return Utf8FromUnits(text); }
std::u32string Utf32FromUtf8(std::string_view bytes) { return UnitsFromUtf8<char32_t>(bytes); }

std::string Utf8FromLatin1(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) AppendUtf8(out, static_cast<uint8_t>(b));
    return out;
}
