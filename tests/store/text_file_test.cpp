#include <gtest/gtest.h>

#include "store/text_file.h"
#include "store/utf8.h"
#include "tests/support/files.h"

namespace {

std::vector<std::wstring> AllLines(const std::string& bytes) {
    WriteBytes("lines.txt", bytes);
    TextFile* file = OpenTextFile(L"lines.txt");
    EXPECT_NE(file, nullptr);
    std::vector<std::wstring> lines;
    if (!file) return lines;
    do {
        lines.push_back(ReadTextLine(file));
    } while (!AtFileEnd(file));
    CloseTextFile(file);
    return lines;
}

std::wstring Wide(const std::string& utf8) { return WideFromUtf8(utf8); }

// The read buffer holds 4096 bytes, so the cases put line ends and multi-byte characters
// across that boundary.
TEST(TextFile, ReadsLinesAcrossTheBuffer) {
    const std::string a4095(4095, 'a'), a4096(4096, 'a'), e5000 = [] {
        std::string s = "x";
        for (int i = 0; i < 5000; ++i) s += "\xC3\xA9";
        return s;
    }();
    const struct {
        std::string bytes;
        std::vector<std::wstring> lines;
    } cases[] = {
        {"", {L""}},
        {"a", {L"a"}},
        {"a\r\n", {L"a"}},
        {"a\r\n\r\n", {L"a", L""}},
        {"a\r", {L"a"}},
        {"\r\rb", {L"", L"", L"b"}},
        {"a\n\rb", {L"a", L"", L"b"}},
        {std::string("a\0\0b", 4), {L"a", L"", L"b"}},
        {a4095 + "\r\nb", {Wide(a4095), L"b"}},
        {a4095 + "\rb", {Wide(a4095), L"b"}},
        {a4095 + "\r", {Wide(a4095)}},
        {a4096 + "\n", {Wide(a4096)}},
        {a4096 + a4096 + "\nz", {Wide(a4096 + a4096), L"z"}},
        {e5000 + "\r\n" + e5000, {Wide(e5000), Wide(e5000)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes.size() << " bytes: " << c.bytes.substr(0, 12));
        EXPECT_EQ(AllLines(c.bytes), c.lines);
    }
}

TEST(TextFile, AtFileEndKeepsTheReadingPosition) {
    WriteBytes("lines.txt", "one\r\ntwo");
    TextFile* file = OpenTextFile(L"lines.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_FALSE(AtFileEnd(file));
    EXPECT_FALSE(AtFileEnd(file));
    EXPECT_EQ(ReadTextLine(file), L"one");
    EXPECT_FALSE(AtFileEnd(file));
    EXPECT_EQ(ReadTextLine(file), L"two");
    EXPECT_TRUE(AtFileEnd(file));
    EXPECT_EQ(ReadTextLine(file), L"");
    CloseTextFile(file);
}

TEST(TextFile, WritesLinesThroughTheBuffer) {
    TextFile* file = CreateTextFile(L"out.txt");
    ASSERT_NE(file, nullptr);
    std::string expected;
    for (int i = 0; i < 5; ++i) {
        const std::string text(1500 + i, static_cast<char>('k' + i));
        WriteTextLine(file, Wide(text));
        expected += text + "\r\n";
    }
    WriteTextLine(file, L"");
    WriteTextLine(file, L"\u00E9\U0001F600");
    expected += "\r\n\xC3\xA9\xF0\x9F\x98\x80\r\n";
    EXPECT_TRUE(WriteOutTextFile(file));
    CloseTextFile(file);
    EXPECT_EQ(ReadBytes("out.txt"), expected);
}

TEST(TextFile, CreatingCutsAnOldFile) {
    WriteBytes("out.txt", std::string(10000, 'x'));
    TextFile* file = CreateTextFile(L"out.txt");
    ASSERT_NE(file, nullptr);
    WriteTextLine(file, L"new");
    CloseTextFile(file);
    EXPECT_EQ(ReadBytes("out.txt"), "new\r\n");
    EXPECT_EQ(OpenTextFile(L"missing.txt"), nullptr);
}

}  // namespace
