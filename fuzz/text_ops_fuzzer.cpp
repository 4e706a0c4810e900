// The text operations the files are read and written with, on any text: numbers written by
// DecimalText read back, fields put together give the text again, conversions between UTF-8 and
// the wide texts agree in both widths, and the settings reader's integer rule matches strtoll's.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "fuzz/fuzz_support.h"
#include "shell/shell.h"
#include "store/ini_parse.h"
#include "store/links.h"
#include "store/text_ops.h"
#include "store/utf8.h"

namespace {

std::wstring Widened(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

void CheckNumbers(int64_t value) {
    const std::wstring text = DecimalText(value);
    Require(text == Widened(std::to_string(value)), "DecimalText writes what to_string writes");
    Require(IntegerOf(text) == value, "IntegerOf reads DecimalText back");
    Require(IntegerOf(L" \t" + text + L"px") == value, "blanks before and letters after a number do not matter");
    char hex[32];
    std::snprintf(hex, sizeof hex, "$%" PRIx64, static_cast<uint64_t>(value));
    Require(IntegerOf(Widened(hex)) == value, "IntegerOf reads hexadecimal after $");
    std::string bits = "%";
    for (int i = 63; i >= 0; --i) bits += ((static_cast<uint64_t>(value) >> i) & 1) ? '1' : '0';
    Require(IntegerOf(Widened(bits)) == value, "IntegerOf reads binary after %");
    const Color32 color = static_cast<Color32>(value);
    const std::wstring colorText = ColorText(color);
    Require(IntegerOf(FieldOf(colorText, 1, L',')) == RedOf(color) &&
                IntegerOf(FieldOf(colorText, 2, L',')) == GreenOf(color) &&
                IntegerOf(FieldOf(colorText, 3, L',')) == BlueOf(color),
            "a colour written by ColorText reads back");
}

void CheckFields(const std::wstring& text, wchar_t separator) {
    int32_t count = 1;
    for (const wchar_t c : text) count += c == separator;
    std::wstring joined;
    for (int32_t n = 1; n <= count; ++n) {
        if (n > 1) joined += separator;
        joined += FieldOf(text, n, separator);
    }
    Require(joined == text, "the fields with their separators give the text again");
    Require(FieldOf(text, count + 1, separator).empty() && FieldOf(text, 0, separator).empty(),
            "there is no field before the first or after the last");
}

void CheckTrimmed(const std::wstring& text) {
    const std::wstring trimmed = Trimmed(text);
    Require(trimmed.empty() || (trimmed.front() != L' ' && trimmed.back() != L' '), "no blank at either end");
    const size_t at = text.find_first_not_of(L' ');
    Require(at == std::wstring::npos ? trimmed.empty() : text.compare(at, trimmed.size(), trimmed) == 0,
            "trimming removes only the blanks at the ends");
    Require(text.find_first_not_of(L' ', at == std::wstring::npos ? 0 : at + trimmed.size()) == std::wstring::npos,
            "only blanks follow the trimmed text");
}

void CheckConversions(std::string_view bytes) {
    const std::wstring wide = WideFromUtf8(bytes);
    const std::string encoded = Utf8FromWide(wide);
    Require(WideFromUtf8(encoded) == wide, "encoding a decoded text is stable");
    if (wide.find(L'\uFFFD') == std::wstring::npos) Require(encoded == bytes, "well-formed UTF-8 survives a round trip");
    Require(Utf8FromUtf16(Utf16FromUtf8(bytes)) == encoded, "UTF-16 texts decode and encode alike");
    Require(Utf8FromUtf32(Utf32FromUtf8(bytes)) == encoded, "UTF-32 texts decode and encode alike");
    Require(WideFromUtf8(Utf8FromLatin1(bytes)).size() == bytes.size(), "ISO-8859-1 gives one character a byte");

    // Any code units at all, surrogates and values past U+10FFFF included, encode to UTF-8 that
    // decodes to the same units, with the ones that are no character replaced.
    std::u32string units, expected;
    std::u16string halves;
    for (size_t i = 0; i + 4 <= bytes.size(); i += 4) {
        uint32_t unit = 0;
        for (int k = 0; k < 4; ++k) unit |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[i + k])) << (8 * k);
        units += static_cast<char32_t>(unit);
        expected += (unit >= 0xD800 && unit <= 0xDFFF) || unit > 0x10FFFF ? U'\uFFFD' : static_cast<char32_t>(unit);
        halves += static_cast<char16_t>(unit);
    }
    Require(Utf32FromUtf8(Utf8FromUtf32(units)) == expected, "any 32-bit units encode to UTF-8 that reads back");
    const std::string fromHalves = Utf8FromUtf16(halves);
    Require(Utf8FromUtf16(Utf16FromUtf8(fromHalves)) == fromHalves, "any 16-bit units encode to UTF-8 that reads back");
}

void CheckIni(std::string_view bytes) {
    const std::string text = IniTextOf(bytes);
    Require(Utf8FromWide(WideFromUtf8(text)) == text || bytes.substr(0, 3) == "\xEF\xBB\xBF",
            "a file without the signature becomes well-formed UTF-8");
    for (const IniEntry& entry : ParseIni(text)) {
        Require(entry.key.find_first_of("\r\n") == std::string::npos && entry.value.find_first_of("\r\n") == std::string::npos,
                "no entry runs over a line end");
        if (entry.kind != IniEntryKind::Key) continue;
        Require(entry.key.find('=') == std::string::npos, "a key ends at the first =");
        Require(entry.key.empty() || (entry.key.back() != ' ' && entry.key.back() != '\t'), "a key has no blank at its end");
    }
    FindIniEntry(ParseIni(text), "Side");

    // strtoll skips the same white space, reads the same digits and stops at the 64-bit limits.
    const std::string value(bytes.substr(0, bytes.find('\0')));
    const long long reference = std::strtoll(value.c_str(), nullptr, 10);
    const long long clamped = reference > std::numeric_limits<int32_t>::max()   ? std::numeric_limits<int32_t>::max()
                              : reference < std::numeric_limits<int32_t>::min() ? std::numeric_limits<int32_t>::min()
                                                                                 : reference;
    Require(IniIntegerOf(value) == clamped, "a settings integer is strtoll's, kept within 32 bits");
}

void CheckPathParts(const std::wstring& path) {
    Require(path.find(FilePart(path)) != std::wstring::npos, "the file part is part of the path");
    Require(path.find(ExtensionPart(path)) != std::wstring::npos, "the extension is part of the path");
    Require(path.compare(0, LaunchFolder(path).size(), LaunchFolder(path)) == 0, "the folder starts the path");
    const std::wstring command = LaunchCommandLine(path);
    Require(!command.empty() && command.front() == L'"', "a command line starts with a double quote");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ByteReader reader{data, size};
    // The separators the bar uses, or any other character.
    const uint8_t choice = reader.Byte();
    const wchar_t separators[] = {L',', L'=', L' '};
    const wchar_t separator = choice % 4 < 3 ? separators[choice % 4] : static_cast<wchar_t>(choice);
    const uint64_t value = reader.Long() | (static_cast<uint64_t>(reader.Long()) << 32);
    const std::string_view rest(reinterpret_cast<const char*>(reader.data), reader.size);
    const std::wstring text = WideFromUtf8(rest);
    CheckNumbers(static_cast<int64_t>(value));
    CheckFields(text, separator);
    CheckTrimmed(text);
    CheckConversions(rest);
    CheckIni(rest);
    CheckPathParts(text);
    return 0;
}
