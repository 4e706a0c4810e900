#include <gtest/gtest.h>
#include <limits>

#include "store/ini_parse.h"

namespace {

using Kind = IniEntryKind;

std::string Describe(const std::vector<IniEntry>& entries) {
    std::string text;
    for (const IniEntry& e : entries) {
        text += e.kind == Kind::Key ? "K[" + e.key + "|" + e.value + "]"
                : e.kind == Kind::Group ? "G[" + e.value + "]"
                                        : "C[" + e.value + "]";
    }
    return text;
}

TEST(IniParse, Lines) {
    const struct {
        std::string text;
        std::string entries;
    } cases[] = {
        {"", ""},
        {"\r\n\r\n\n\r", ""},
        {"   \t\r\n", ""},
        {"Side = 3", "K[Side|3]"},
        {"side=1", "K[side|1]"},
        {"SIDE  =  1", "K[SIDE|1]"},
        {" \tDetection Range\t = \t10px  ", "K[Detection Range|10px  ]"},
        {"Links", "K[Links|]"},
        {"Links =", "K[Links|]"},
        {"a = b=c ; \"d\"", "K[a|b=c ; \"d\"]"},
        {"= 5", "K[|5]"},
        {"; Side = 2", "C[Side = 2]"},
        {";Side", "C[Side]"},
        {";  two", "C[ two]"},
        {"  ;x", "C[x]"},
        {"[Bar]", "G[Bar]"},
        {"[Bar] Side = 1", "G[Bar]"},
        {"[Bar", "G[Bar]"},
        {"  [B]x]", "G[B]"},
        {"a=1\r\nb=2\r\n", "K[a|1]K[b|2]"},
        {"a=1\nb=2\n", "K[a|1]K[b|2]"},
        {"a=1\rb=2\r", "K[a|1]K[b|2]"},
        {"a=1\n\r\n\rb=2", "K[a|1]K[b|2]"},
        {"a=1\r\n;c\r\n[g]\r\nb=2", "K[a|1]C[c]G[g]K[b|2]"},
    };
    for (const auto& c : cases) EXPECT_EQ(Describe(ParseIni(c.text)), c.entries) << c.text;
}

TEST(IniParse, SignatureOrLatin1) {
    EXPECT_EQ(IniTextOf("\xEF\xBB\xBF" "a=caf\xC3\xA9"), "a=caf\xC3\xA9");
    EXPECT_EQ(IniTextOf("a=caf\xE9"), "a=caf\xC3\xA9");
    EXPECT_EQ(IniTextOf("\xEF\xBB"), "\xC3\xAF\xC2\xBB");
    EXPECT_EQ(IniTextOf("\xEF\xBB\xBF"), "");
    EXPECT_EQ(IniTextOf(""), "");
}

TEST(IniParse, LookupSeesOnlyTheFirstUngroupedMatch) {
    const auto entries = ParseIni("; Links = 1\r\nside = 2\r\nSIDE = 3\r\nGr\xC3\xB6\xC3\x9F" "e = 4\r\n"
                                  "[Bar]\r\nLinks = 5\r\n");
    const struct {
        std::string key;
        const char* value;  // null: not found
    } cases[] = {
        {"Side", "2"},
        {"sIdE", "2"},
        {"Links", nullptr},
        {"Gr\xC3\xB6\xC3\x9F" "e", "4"},
        {"GR\xC3\xB6\xC3\x9F" "E", "4"},
        {"Gr\xC3\x96\xC3\x9F" "e", nullptr},  // only ASCII letters match in either case
        {"Side ", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        const IniEntry* found = FindIniEntry(entries, c.key);
        if (!c.value) {
            EXPECT_EQ(found, nullptr) << c.key;
            continue;
        }
        ASSERT_NE(found, nullptr) << c.key;
        EXPECT_EQ(found->value, c.value) << c.key;
    }
}

TEST(IniParse, IntegerValues) {
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    constexpr int32_t least = std::numeric_limits<int32_t>::min();
    const struct {
        std::string value;
        int32_t number;
    } cases[] = {
        {"10px", 10},
        {"3.9", 3},
        {"", 0},
        {"abc", 0},
        {"$10", 0},
        {"- 5", 0},
        {"0x10", 0},
        {"+12", 12},
        {"-12", -12},
        {" \t7", 7},
        {"2147483647", most},
        {"2147483648", most},
        {"4294967297", most},
        {"-2147483648", least},
        {"-2147483649", least},
        {std::string(400, '9'), most},
        {"-" + std::string(400, '9'), least},
        {"000000000000000000000042", 42},
    };
    for (const auto& c : cases) EXPECT_EQ(IniIntegerOf(c.value), c.number) << c.value;
}

}  // namespace
