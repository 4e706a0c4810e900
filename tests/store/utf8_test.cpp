#include <gtest/gtest.h>

#include "store/utf8.h"

namespace {

// Every decoding is checked in both code-unit widths, so the 16-bit logic the Windows build
// uses is exercised here too.
struct DecodeCase {
    const char* utf8;
    std::u32string utf32;
    std::u16string utf16;
};

TEST(Utf8, DecodesToBothWidths) {
    const DecodeCase cases[] = {
        {"", U"", u""},
        {"Link 0", U"Link 0", u"Link 0"},
        {"caf\xC3\xA9", U"caf\u00E9", u"caf\u00E9"},
        {"\xE2\x82\xAC", U"\u20AC", u"\u20AC"},
        {"\xF0\x9F\x98\x80", U"\U0001F600", u"\xD83D\xDE00"},
        {"\xF4\x8F\xBF\xBF", U"\U0010FFFF", u"\xDBFF\xDFFF"},
        // ill-formed input: one U+FFFD per maximal ill-formed part
        {"\x80", U"\uFFFD", u"\uFFFD"},
        {"a\xE2\x82", U"a\uFFFD", u"a\uFFFD"},
        {"\xE2\x82" "b", U"\uFFFD" "b", u"\uFFFD" "b"},
        {"\xC0\xAF", U"\uFFFD\uFFFD", u"\uFFFD\uFFFD"},
        {"\xED\xA0\x80", U"\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD"},
        {"\xF4\x90\x80\x80", U"\uFFFD\uFFFD\uFFFD\uFFFD", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"\xF0\x9F\x98" "A", U"\uFFFD" "A", u"\uFFFD" "A"},
        {"\xFF\xFE", U"\uFFFD\uFFFD", u"\uFFFD\uFFFD"},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(Utf32FromUtf8(c.utf8), c.utf32);
        EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16);
    }
}

TEST(Utf8, EncodesFromBothWidths) {
    EXPECT_EQ(Utf8FromUtf16(u"\xD83D\xDE00 ok"), "\xF0\x9F\x98\x80 ok");
    EXPECT_EQ(Utf8FromUtf32(U"\U0001F600 ok"), "\xF0\x9F\x98\x80 ok");
    EXPECT_EQ(Utf8FromUtf16(u"\u00E9\u20AC"), "\xC3\xA9\xE2\x82\xAC");
    // Unpaired surrogates and values beyond U+10FFFF cannot be encoded.
    EXPECT_EQ(Utf8FromUtf16(u"a\xD800"), "a\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf16(u"\xDC00\xD800" "b"), "\xEF\xBF\xBD\xEF\xBF\xBD" "b");
    EXPECT_EQ(Utf8FromUtf32(U"\xD800"), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8FromUtf32(std::u32string(1, char32_t{0x110000})), "\xEF\xBF\xBD");
}

TEST(Utf8, WideTextsRoundTrip) {
    const std::wstring texts[] = {L"", L"C:\\Tools\\app.exe", L"/home/u/caf\u00E9 \u20AC",
                                  L"D:\\\U0001F600\\\U00010348.txt"};
    for (const std::wstring& text : texts) EXPECT_EQ(WideFromUtf8(Utf8FromWide(text)), text);
    EXPECT_EQ(Utf8FromWide(L"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(Utf8, Latin1BytesBecomeTheirOwnCharacters) {
    EXPECT_EQ(Utf8FromLatin1("A\xE9\xFF\x80"), "A\xC3\xA9\xC3\xBF\xC2\x80");
    EXPECT_EQ(Utf8FromLatin1(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
