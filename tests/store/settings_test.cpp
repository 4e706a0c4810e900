#include <filesystem>
#include <gtest/gtest.h>
#include <limits>

#include "store/ini_file.h"
#include "store/settings.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/files.h"

namespace {

struct Loaded {
    Side side;
    int32_t detectionRange;
    Color32 backgroundColor;
    int32_t slotCount;
};

void ExpectSettings(const Loaded& expected) {
    EXPECT_EQ(bar.side, expected.side);
    EXPECT_EQ(bar.detectionRange, expected.detectionRange);
    EXPECT_EQ(bar.backgroundColor, expected.backgroundColor);
    EXPECT_EQ(bar.slotCount, expected.slotCount);
}

// The slot and label colours must belong to the background in force, whatever the rule is.
void ExpectColorsDerived() {
    const Color32 slot = bar.slotColor, label = bar.labelColor;
    DeriveColors();
    EXPECT_EQ(bar.slotColor, slot);
    EXPECT_EQ(bar.labelColor, label);
}

// On 1920 x 1080: 22 slots fit a horizontal bar, 12 a vertical one; 481 is the most that keeps
// either bar within 32767 pixels.
constexpr int32_t TopSlots = 22;
constexpr int32_t SideSlots = 12;
constexpr int32_t MostSlots = 481;
constexpr Color32 Gray = 0xFF202020;
constexpr int32_t Most = std::numeric_limits<int32_t>::max();
constexpr int32_t Least = std::numeric_limits<int32_t>::min();

TEST(Settings, MissingFileIsCreatedWithTheDefaults) {
    const struct {
        int32_t width, height;
        const char* linksLine;
    } cases[] = {
        {1920, 1080, "Links = 22\r\n"},
        {1024, 768, "Links = 12\r\n"},
        {640, 480, "Links = 7\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        std::filesystem::remove("Settings.ini");
        PrepareStartUpDefaults(c.width, c.height);
        const int32_t defaultSlots = bar.slotCount;
        const Color32 slotColor = bar.slotColor;
        LoadSettings();
        EXPECT_EQ(ReadBytes("Settings.ini"), std::string("\xEF\xBB\xBF\r\n"
                                                         "Side = 0\r\n"
                                                         "Detection Range = 4\r\n"
                                                         "Color = 32, 32, 32\r\n") +
                                                 c.linksLine);
        ExpectSettings({SideTop, 4, Gray, defaultSlots});
        EXPECT_EQ(bar.slotColor, slotColor);
    }
    EXPECT_EQ(ReadBytes("Settings.ini").size(), 67u);
}

TEST(Settings, CreatedFileIsSixtyEightBytesAtFullHd) {
    PrepareStartUpDefaults(1920, 1080);
    LoadSettings();
    const std::string bytes = ReadBytes("Settings.ini");
    EXPECT_EQ(bytes.size(), 68u);
    EXPECT_EQ(bytes.substr(bytes.size() - 12), "Links = 22\r\n");
}

TEST(Settings, WhatEachFileGives) {
    const struct {
        std::string content;
        Loaded expected;
    } cases[] = {
        {"", {SideTop, 4, Gray, TopSlots}},
        {"\xEF\xBB\xBF", {SideTop, 4, Gray, TopSlots}},
        {"Side = 3", {SideLeft, 4, Gray, SideSlots}},
        {"side=1", {SideBottom, 4, Gray, TopSlots}},
        {"SIDE  =  1", {SideBottom, 4, Gray, TopSlots}},
        {"Side = 2\r\nSide = 3", {SideRight, 4, Gray, SideSlots}},
        {"; Side = 2", {SideTop, 4, Gray, TopSlots}},
        {"Links =", {SideTop, 4, Gray, 0}},
        {"Links", {SideTop, 4, Gray, 0}},
        {"Side = abc", {SideTop, 4, Gray, TopSlots}},
        {"Detection Range = 10px", {SideTop, 10, Gray, TopSlots}},
        {"Detection Range = 0", {SideTop, 0, Gray, TopSlots}},
        {"Detection Range = -3", {SideTop, -3, Gray, TopSlots}},
        {"Detection Range = ; 5", {SideTop, 0, Gray, TopSlots}},
        {"Detection Range = \"7\"", {SideTop, 0, Gray, TopSlots}},
        {"Color = 255, 0, 0", {SideTop, 4, 0xFF0000FF, TopSlots}},
        {"Color = 255,0,0", {SideTop, 4, 0xFF0000FF, TopSlots}},
        {"Color = $FF, $80, %1010", {SideTop, 4, 0xFF0A80FF, TopSlots}},
        {"Color = 10, 20", {SideTop, 4, 0xFF00140A, TopSlots}},
        {"Color =", {SideTop, 4, 0xFF000000, TopSlots}},
        {"Color = 300, 0, 0", {SideTop, 4, 0xFF00012C, TopSlots}},
        {"Color = -1, 0, 0", {SideTop, 4, 0xFEFFFFFF, TopSlots}},
        {"Color = 12 13 14", {SideTop, 4, 0xFF00000C, TopSlots}},
        {"Color = 1, 2, 3, 4", {SideTop, 4, 0xFF030201, TopSlots}},
        {"Color = 4294967297, 0, 0", {SideTop, 4, 0xFF000001, TopSlots}},
        {"Color = 32, 32, 32 ; gray", {SideTop, 4, Gray, TopSlots}},
        {"Side = 1\r\nDetection Range = 2\r\nColor = 1, 2, 3\r\nLinks = 5",
         {SideBottom, 2, 0xFF030201, 5}},
        // an edge the layout does not know docks at the top, and the slot default follows it
        {"Side = 4", {SideTop, 4, Gray, TopSlots}},
        {"Side = -1", {SideTop, 4, Gray, TopSlots}},
        {"Side = 7\r\nLinks = 3", {SideTop, 4, Gray, 3}},
        {"Side = 4294967298", {SideTop, 4, Gray, TopSlots}},
        // slot counts the bar can be built with
        {"Links = -5", {SideTop, 4, Gray, 0}},
        {"Links = 481", {SideTop, 4, Gray, MostSlots}},
        {"Links = 482", {SideTop, 4, Gray, MostSlots}},
        {"Side = 2\r\nLinks = 100000", {SideRight, 4, Gray, MostSlots}},
        {"Links = 99999999999999999999999999", {SideTop, 4, Gray, MostSlots}},
        // integers beyond 32 bits stay at the nearer limit
        {"Detection Range = 2147483647", {SideTop, Most, Gray, TopSlots}},
        {"Detection Range = 2147483648", {SideTop, Most, Gray, TopSlots}},
        {"Detection Range = -2147483648", {SideTop, Least, Gray, TopSlots}},
        {"Detection Range = -2147483649", {SideTop, Least, Gray, TopSlots}},
        {"Detection Range = " + std::string(300, '7'), {SideTop, Most, Gray, TopSlots}},
        // groups and comments
        {"[Bar]\r\nSide = 2\r\nLinks = 5", {SideTop, 4, Gray, TopSlots}},
        {"  [Bar]\r\nSide = 2", {SideTop, 4, Gray, TopSlots}},
        {"Side = 2\r\n[Bar]\r\nLinks = 5\r\nDetection Range = 9", {SideRight, 4, Gray, SideSlots}},
        {"; bar settings\r\nSide = 2\r\n;Links = 5\r\n  ; Color = 1, 1, 1",
         {SideRight, 4, Gray, SideSlots}},
        {"\t Side\t=\t1 \r\n\r\n\r\nLinks = 9", {SideBottom, 4, Gray, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        bar = BarState{};
        PrepareStartUpDefaults();
        WriteBytes("Settings.ini", c.content);
        LoadSettings();
        ExpectSettings(c.expected);
        ExpectColorsDerived();
        EXPECT_EQ(ReadBytes("Settings.ini"), c.content);
    }
}

TEST(Settings, LineEndsAndSignatureDoNotMatter) {
    const char* lines[] = {"Side = 2", "", "Detection Range = 7", "Color = 1, 2, 3", "Links = 5"};
    for (const std::string signature : {"", "\xEF\xBB\xBF"}) {
        for (const std::string end : {"\r\n", "\n", "\r"}) {
            SCOPED_TRACE(testing::Message() << signature.size() << " signature bytes, end "
                                            << static_cast<int>(end.back()));
            std::string content = signature;
            for (const char* line : lines) content += line + end;
            bar = BarState{};
            PrepareStartUpDefaults();
            WriteBytes("Settings.ini", content);
            LoadSettings();
            ExpectSettings({SideRight, 7, 0xFF030201, 5});
            EXPECT_EQ(ReadBytes("Settings.ini"), content);
        }
    }
}

TEST(Settings, TextsAreReadAsUtf8OrLatin1) {
    const struct {
        std::string content;
        std::wstring key;
        std::wstring text;
    } cases[] = {
        {"Name = caf\xE9", L"Name", L"caf\u00E9"},
        {"\xEF\xBB\xBFName = caf\xC3\xA9", L"Name", L"caf\u00E9"},
        {"Name = caf\xC3\xA9", L"Name", L"caf\u00C3\u00A9"},
        {"\xEF\xBB\xBFName = caf\xE9", L"Name", L"caf\uFFFD"},
        {"\xEF\xBB\xBFName = \xF0\x9F\x98\x80", L"name", L"\U0001F600"},
        {"Gr\xF6\xDF" "e = 1", L"GR\u00F6\u00DF" "E", L"1"},
        {"Gr\xF6\xDF" "e = 1", L"Gr\u00D6\u00DF" "e", L"(none)"},
        {"Name =  \t value \t ", L"Name", L"value"},
        {"Name =", L"Name", L""},
        {"Other = 1", L"Name", L"(none)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        WriteBytes("Settings.ini", c.content);
        ASSERT_TRUE(OpenIni(L"Settings.ini"));
        EXPECT_EQ(ReadIniText(c.key, L"(none)"), c.text);
        CloseIni();
        EXPECT_EQ(ReadBytes("Settings.ini"), c.content);
    }
}

TEST(Settings, ReadOnlyFileIsReadAndLeftAlone) {
    const std::string content = "Side = 2\r\nLinks = 3\r\n";
    WriteBytes("Settings.ini", content);
    chmod("Settings.ini", 0444);
    PrepareStartUpDefaults();
    {
        AsOrdinaryUser user;
        LoadSettings();
    }
    ExpectSettings({SideRight, 4, Gray, 3});
    EXPECT_EQ(ReadBytes("Settings.ini"), content);
}

TEST(Settings, UnreadableFileIsNeverReplaced) {
    const std::string content = "Side = 2\r\n";
    WriteBytes("Settings.ini", content);
    chmod("Settings.ini", 0);
    PrepareStartUpDefaults();
    {
        AsOrdinaryUser user;
        LoadSettings();
    }
    ExpectSettings({SideTop, 4, Gray, TopSlots});
    EXPECT_EQ(ReadBytes("Settings.ini"), content);
}

TEST(Settings, FolderOfThatNameGivesTheDefaults) {
    std::filesystem::create_directory("Settings.ini");
    PrepareStartUpDefaults();
    LoadSettings();
    ExpectSettings({SideTop, 4, Gray, TopSlots});
    EXPECT_TRUE(std::filesystem::is_directory("Settings.ini"));
    EXPECT_TRUE(std::filesystem::is_empty("Settings.ini"));
}

TEST(Settings, WritesWithoutACreatedFileDoNothing) {
    WriteBytes("Settings.ini", "Side = 1\r\n");
    EXPECT_FALSE(CreateIni(L"Settings.ini"));
    WriteIniInteger(L"Side", 3);
    CloseIni();
    EXPECT_EQ(ReadBytes("Settings.ini"), "Side = 1\r\n");
    EXPECT_EQ(ReadIniInteger(L"Side", 9), 9);
}

}  // namespace
