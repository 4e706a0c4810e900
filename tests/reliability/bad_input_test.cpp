// The bad-input matrix: malformed settings and links files beyond the cases of tests/store give
// their defined result, crash nothing and lose no pin.
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <sys/stat.h>

#include "store/links.h"
#include "store/settings.h"
#include "tests/scenario/scenario_support.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/files.h"

namespace {

constexpr size_t HundredMegabytes = 100u << 20;
constexpr Color32 Gray = 0xFF202020;
constexpr int32_t TopSlots = 22;   // on 1920 x 1080
constexpr int32_t SideSlots = 12;
constexpr int32_t MostSlots = 481;  // the longest bar there may be
constexpr int32_t Least = std::numeric_limits<int32_t>::min();

// A 100 MB path between two ordinary ones: every slot loads, the long one whole; hovering it
// shows a label without painting a hundred million characters; the next save keeps all three.
TEST(BadInput, HundredMegabyteLineInTheLinksFile) {
    const std::string longName(HundredMegabytes, 'x');
    WriteBytes("Links.txt", "Link 0 = /a.txt\r\nLink 1 = /long/" + longName + ".txt\r\nLink 2 = /c.txt\r\n");
    // Reveal the top bar of three slots at 842, hover slot 1, drop on slot 2.
    WriteBytes("Settings.ini", "Links = 3\r\n");
    const ScenarioRun run = RunScenario("at 900 1\nat 946 36\nframe hover.png\nat 1014 36\ndrop /d.txt\nat 1014 36\n");
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(bar.slots.size(), 3u);
    EXPECT_EQ(bar.slots[0].path, L"/a.txt");
    EXPECT_EQ(bar.slots[1].path.size(), longName.size() + 10);
    EXPECT_EQ(bar.slots[1].path.substr(0, 8), L"/long/xx");
    EXPECT_EQ(bar.slots[2].path, L"/d.txt");
    const std::string saved = ReadBytes("Links.txt");
    EXPECT_EQ(saved.size(), 17 + 9 + 6 + longName.size() + 4 + 2 + 17);
    EXPECT_EQ(saved.substr(0, 32), "Link 0 = /a.txt\r\nLink 1 = /long/");
    EXPECT_EQ(saved.substr(saved.size() - 26), "xxx.txt\r\nLink 2 = /d.txt\r\n");
}

// A label is the file part of its path; one longer than any bar keeps the middle part, which is
// what a centred label would show of it anyway.
TEST(BadInput, LabelsLongerThanAnyBarKeepTheirMiddle) {
    const std::wstring name4096 = std::wstring(2048, L'a') + std::wstring(2048, L'b');
    const std::wstring name5001 = std::wstring(452, L'L') + std::wstring(4096, L'm') + std::wstring(453, L'R');
    const struct {
        std::wstring path;
        std::wstring label;
    } cases[] = {
        {L"/dir/notes.txt", L"notes.txt"},
        {L"/dir/" + name4096, name4096},
        {L"/dir/" + name5001, std::wstring(4096, L'm')},
        {L"\"C:\\dir\\" + name5001 + L"\" x", std::wstring(4096, L'm')},
    };
    for (const auto& c : cases) EXPECT_TRUE(LabelOf(c.path) == c.label) << c.path.size();
    PrepareBar(1);
    SetLink(0, L"/dir/" + name5001, 0);
    EXPECT_EQ(bar.slots[0].label, std::wstring(4096, L'm'));
    EXPECT_EQ(bar.slots[0].path.size(), 5006u);
}

// Ill-formed UTF-8 in a links file: every byte that cannot be decoded becomes U+FFFD, the line
// still fills its slot, and the next save writes the replacement character in its place.
TEST(BadInput, IllFormedUtf8InTheLinksFile) {
    const struct {
        const char* name;
        std::string line;
        std::wstring path;
        std::string saved;
    } cases[] = {
        {"lone continuation bytes", "/a\x80\xBF.txt", L"/a\uFFFD\uFFFD.txt", "/a\xEF\xBF\xBD\xEF\xBF\xBD.txt"},
        {"overlong slash", "/a\xC0\xAF" "b", L"/a\uFFFD\uFFFDb", "/a\xEF\xBF\xBD\xEF\xBF\xBD" "b"},
        {"encoded surrogate", "/\xED\xA0\x80x", L"/\uFFFD\uFFFD\uFFFDx", "/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx"},
        {"beyond U+10FFFF", "/\xF4\x90\x80\x80", L"/\uFFFD\uFFFD\uFFFD\uFFFD",
         "/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"cut short at the line end", "/caf\xC3", L"/caf\uFFFD", "/caf\xEF\xBF\xBD"},
        {"cut short four-byte", "/\xF0\x9F\x98", L"/\uFFFD", "/\xEF\xBF\xBD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PrepareBar(2);
        WriteBytes("Links.txt", "Link 0 = " + c.line + "\r\nLink 1 = /b.txt\r\n");
        LoadLinks();
        EXPECT_EQ(bar.slots[0].path, c.path);
        EXPECT_EQ(bar.slots[1].path, L"/b.txt");
        ClearLink(1, 1);
        EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = " + c.saved + "\r\nLink 1 = \r\n");
        ClearLink(0, 0);
    }
}

// Bar files that are no regular files: a pipe is neither waited on nor replaced, and a folder
// named like either file is left alone; the bar starts with its defaults and no pins.
TEST(BadInput, BarFilesThatAreNoRegularFiles) {
    const struct {
        const char* name;
        std::function<void(const char*)> make;
    } kinds[] = {
        {"pipe", [](const char* path) { ASSERT_EQ(mkfifo(path, 0666), 0); }},
        {"folder", [](const char* path) { ASSERT_TRUE(std::filesystem::create_directory(path)); }},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        kind.make("Settings.ini");
        kind.make("Links.txt");
        const ScenarioRun run = RunScenario("at 900 1\nat 900 36\ndrop /a.txt\nat 900 36\n");
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(bar.side, SideTop);
        EXPECT_EQ(bar.slotCount, TopSlots);
        EXPECT_EQ(bar.slots[10].path, L"/a.txt");  // in memory: the file could not take it
        for (const char* name : {"Settings.ini", "Links.txt"}) {
            const auto type = std::filesystem::symlink_status(name).type();
            EXPECT_EQ(type, kind.name[0] == 'p' ? std::filesystem::file_type::fifo : std::filesystem::file_type::directory)
                << name;
            std::filesystem::remove(name);
        }
        EXPECT_FALSE(FileExists("Links.txt.tmp"));
    }
}

struct Loaded {
    Side side;
    int32_t detectionRange;
    Color32 backgroundColor;
    int32_t slotCount;
};


// What each settings file gives, the file left as it was.
void ExpectSettingsOf(const std::string& content, const Loaded& expected) {
    for (LinkSlot& slot : bar.slots) ReleaseIcon(slot.icon);
    bar = BarState{};
    PrepareStartUpDefaults();
    WriteBytes("Settings.ini", content);
    LoadSettings();
    EXPECT_EQ(bar.side, expected.side);
    EXPECT_EQ(bar.detectionRange, expected.detectionRange);
    EXPECT_EQ(bar.backgroundColor, expected.backgroundColor);
    EXPECT_EQ(bar.slotCount, expected.slotCount);
    EXPECT_TRUE(ReadBytes("Settings.ini") == content);
}

TEST(BadInput, SettingsValuesBeyondTheirRange) {
    const struct {
        std::string content;
        Loaded expected;
    } cases[] = {
        {"Side = 7", {SideTop, 4, Gray, TopSlots}},
        {"Side = 7\r\nLinks = -3", {SideTop, 4, Gray, 0}},
        {"Links = -3", {SideTop, 4, Gray, 0}},
        {"Links = 100000", {SideTop, 4, Gray, MostSlots}},
        {"Side = 3\r\nLinks = 100000", {SideLeft, 4, Gray, MostSlots}},
        // beyond 64 bits: integers saturate at 32 bits, colour components wrap at 64 and keep 32
        {"Side = 99999999999999999999999", {SideTop, 4, Gray, TopSlots}},
        {"Side = -99999999999999999999999", {SideTop, 4, Gray, TopSlots}},
        {"Detection Range = -99999999999999999999999", {SideTop, Least, Gray, TopSlots}},
        {"Links = -99999999999999999999999", {SideTop, 4, Gray, 0}},
        {"Color = 18446744073709551617, 18446744073709551618, 18446744073709551619", {SideTop, 4, 0xFF030201, TopSlots}},
        {"Color = $10000000000000001, %10000000000000000000000000000000000000000000000000000000000000001, 0",
         {SideTop, 4, 0xFF000101, TopSlots}},
        // ill-formed UTF-8 after the signature: numbers end at it, keys holding it match nothing
        {"\xEF\xBB\xBFSide = 2\xFF\xFE", {SideRight, 4, Gray, SideSlots}},
        {"\xEF\xBB\xBF" "Color = 1\xC3, 2\xE2\x82, 3\xF0", {SideTop, 4, 0xFF030201, TopSlots}},
        {"\xEF\xBB\xBFS\xFFide = 2\r\nLinks = 5", {SideTop, 4, Gray, 5}},
        {"\xEF\xBB\xBF\xC0\xAFLinks = 5\r\nLinks\xED\xA0\x80 = 6\r\nLinks = 7", {SideTop, 4, Gray, 7}},
        {"\xEF\xBB\xBF\xFF\xFE\r\nSide = 1", {SideBottom, 4, Gray, TopSlots}},
        {std::string("Side = 1\0\r\nLinks = 2", 20), {SideBottom, 4, Gray, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        ExpectSettingsOf(c.content, c.expected);
    }
}

// Lines of a hundred megabytes in the settings file: a comment, a value of leading zeros, a key.
TEST(BadInput, HundredMegabyteLinesInTheSettingsFile) {
    const std::string zeros(HundredMegabytes, '0');
    const struct {
        const char* name;
        std::string content;
        Loaded expected;
    } cases[] = {
        {"comment", "Side = 2\r\n; " + std::string(HundredMegabytes, 'c') + "\r\nLinks = 5\r\n", {SideRight, 4, Gray, 5}},
        {"long numbers", "Side = " + zeros + "1\r\nColor = " + zeros + "255, 0, 0\r\nLinks = 3",
         {SideBottom, 4, 0xFF0000FF, 3}},
        {"long key, no line end", "Links = 9\r\n" + std::string(HundredMegabytes, 'k'), {SideTop, 4, Gray, 9}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectSettingsOf(c.content, c.expected);
    }
}

}  // namespace
