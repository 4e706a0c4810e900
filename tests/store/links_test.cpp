#include <csignal>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "store/links.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/files.h"

namespace {

// Every slot obeys the link rules: used exactly when it has a path, its label the file part.
void ExpectSlots(const std::vector<std::wstring>& paths) {
    ASSERT_EQ(bar.slots.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "slot " << i);
        EXPECT_EQ(bar.slots[i].path, paths[i]);
        EXPECT_EQ(bar.slots[i].used, paths[i].empty() ? 0 : 1);
        EXPECT_EQ(bar.slots[i].label, FilePart(paths[i]));
    }
}

bool TempFileLeft() { return std::filesystem::is_regular_file("Links.txt.tmp"); }

TEST(Links, SavedFileHoldsOneLinePerSlot) {
    PrepareBar(3);
    SetLink(1, L"C:\\Tools\\app.exe", 1);
    EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = \r\nLink 1 = C:\\Tools\\app.exe\r\nLink 2 = \r\n");
    EXPECT_EQ(ReadBytes("Links.txt").size(), 49u);
    EXPECT_FALSE(FileExists("Links.txt.tmp"));
}

TEST(Links, SavedFileCrossesTheWriteBuffer) {
    PrepareBar(20);
    std::string expected;
    for (int i = 0; i < 20; ++i) {
        const std::wstring path = L"/data/" + std::wstring(300 + i, static_cast<wchar_t>(L'a' + i)) + L".txt";
        SetLink(i, path, 0);
        expected += "Link " + std::to_string(i) + " = /data/" + std::string(300 + i, static_cast<char>('a' + i)) +
                    ".txt\r\n";
    }
    ClearLink(19, 1);
    expected.replace(expected.rfind("Link 19 = ") + 10, std::string::npos, "\r\n");
    EXPECT_GT(expected.size(), 4096u);
    EXPECT_EQ(ReadBytes("Links.txt"), expected);
}

TEST(Links, LoadFillsSlotsByLinePosition) {
    std::string utf16 = "\xFF\xFE";
    for (const char c : std::string("Link 0 = C:\\a.txt\r\nLink 1 = C:\\b.txt\r\n")) {
        utf16 += c;
        utf16 += '\0';
    }
    const struct {
        const char* name;
        std::string content;
        int32_t slots;
        std::vector<std::wstring> paths;
    } cases[] = {
        {"no final line end", "Link 0 = C:\\a.txt", 3, {L"C:\\a.txt", L"", L""}},
        {"five lines on three slots", "Link 0 = a\r\nLink 1 = b\r\nLink 2 = c\r\nLink 3 = d\r\nLink 4 = e\r\n", 3,
         {L"a", L"b", L"c"}},
        {"number plays no part", "Link 9 = C:\\b.txt\r\n", 2, {L"C:\\b.txt", L""}},
        {"line without =", "C:\\b.txt\r\nLink 1 = C:\\c.txt\r\n", 3, {L"", L"C:\\c.txt", L""}},
        {"blank value", "Link 0 =    \r\nLink 1 = x\r\n", 2, {L"", L"x"}},
        {"tab kept", "Link 0 =\tC:\\t.txt \r\n", 1, {L"\tC:\\t.txt"}},
        {"CR LF", "Link 0 = A\r\nLink 1 =\r\nLink 2 = C\r\n", 3, {L"A", L"", L"C"}},
        {"LF", "Link 0 = A\nLink 1 =\nLink 2 = C\n", 3, {L"A", L"", L"C"}},
        {"CR", "Link 0 = A\rLink 1 =\rLink 2 = C\r", 3, {L"A", L"", L"C"}},
        {"byte-order mark", "\xEF\xBB\xBFLink 0 = A\r\nLink 1 =\r\nLink 2 = C\r\n", 3, {L"A", L"", L"C"}},
        {"CR CR LF is two ends", "Link 0 = A\r\r\nLink 1 = B", 3, {L"A", L"", L"B"}},
        {"UTF-16 fills nothing", utf16, 3, {L"", L"", L""}},
        {"NUL splits a line", std::string("Link 0 = C:\\a\0Link 1 = C:\\b\r\n", 29), 3, {L"C:\\a", L"C:\\b", L""}},
        {"= in a path", "Link 0 = C:\\x=y\\z.txt\r\n", 1, {L"C:\\x=y\\z.txt"}},
        {"0 bytes", "", 2, {L"", L""}},
        {"ill-formed UTF-8", "Link 0 = caf\xE9.txt", 1, {L"caf\uFFFD.txt"}},
        {"above U+FFFF", "Link 0 = D:\\\xF0\x9F\x98\x80.txt", 1, {L"D:\\\U0001F600.txt"}},
        {"no slots", "Link 0 = C:\\a.txt\r\n", 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PrepareBar(c.slots);
        WriteBytes("Links.txt", c.content);
        LoadLinks();
        ExpectSlots(c.paths);
        EXPECT_EQ(ReadBytes("Links.txt"), c.content);
        EXPECT_FALSE(FileExists("Links.txt.tmp"));
        for (int32_t i = 0; i < c.slots; ++i) ClearLink(i, 0);
    }
}

TEST(Links, MissingFileFillsNothingAndIsNotCreated) {
    PrepareBar(3);
    LoadLinks();
    ExpectSlots({L"", L"", L""});
    EXPECT_FALSE(FileExists("Links.txt"));
}

TEST(Links, NextSaveWritesExactlyTheSlots) {
    const struct {
        std::string content;
        std::string saved;
    } cases[] = {
        {"Link 0 = C:\\a.txt", "Link 0 = C:\\a.txt\r\nLink 1 = \r\nLink 2 = C:\\new\r\n"},
        {"Link 0 = a\r\nLink 1 = b\r\nLink 2 = c\r\nLink 3 = d\r\nLink 4 = e\r\n",
         "Link 0 = a\r\nLink 1 = b\r\nLink 2 = C:\\new\r\n"},
    };
    for (const auto& c : cases) {
        PrepareBar(3);
        WriteBytes("Links.txt", c.content);
        LoadLinks();
        SetLink(2, L"C:\\new", 1);
        EXPECT_EQ(ReadBytes("Links.txt"), c.saved);
        for (int32_t i = 0; i < 3; ++i) ClearLink(i, 0);
    }
}

TEST(Links, PathsRoundTripThroughTheFile) {
    const std::wstring paths[] = {L"D:\\\U0001F600\\caf\u00E9 \u20AC.txt", L"C:\\a=b\\c = d.exe",
                                  L"\"C:\\My Apps\\run.exe\"", L"/home/u/x\ty"};
    PrepareBar(4);
    for (int32_t i = 0; i < 4; ++i) SetLink(i, paths[i], 1);
    EXPECT_NE(ReadBytes("Links.txt").find("D:\\\xF0\x9F\x98\x80\\caf\xC3\xA9 \xE2\x82\xAC.txt\r\n"), std::string::npos);
    for (int32_t i = 0; i < 4; ++i) ClearLink(i, 0);
    LoadLinks();
    ExpectSlots({paths[0], paths[1], paths[2], paths[3]});
}

TEST(Links, PathWithLineEndIsNeverStored) {
    PrepareBar(2);
    SetLink(0, L"C:\\keep.txt", 1);
    const std::string saved = ReadBytes("Links.txt");
    const IconHandle icon = bar.slots[0].icon;
    const std::wstring refused[] = {L"C:\\a.txt\nC:\\b.txt", L"C:\\a\r.txt", std::wstring(L"C:\\a\0b", 6)};
    for (const std::wstring& path : refused) {
        SetLink(0, path, 1);
        SetLink(1, path, 1);
    }
    ExpectSlots({L"C:\\keep.txt", L""});
    EXPECT_EQ(bar.slots[0].icon, icon);
    EXPECT_EQ(ReadBytes("Links.txt"), saved);
}

TEST(Links, NoSlotsNeverWritesTheFile) {
    PrepareBar(0);
    SetLink(0, L"C:\\a.txt", 1);
    ClearLink(0, 1);
    EXPECT_EQ(HandleDropOf(bar.barX + 10, bar.barY + 10, {L"C:\\a.txt"}), -1);
    EXPECT_FALSE(FileExists("Links.txt"));
}

TEST(Links, ClearingAnEmptySlotStillSaves) {
    PrepareBar(2);
    ClearLink(1, 1);
    EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = \r\nLink 1 = \r\n");
    ClearLink(0, 0);
    WriteBytes("Links.txt", "changed by hand");
    ClearLink(0, 0);
    EXPECT_EQ(ReadBytes("Links.txt"), "changed by hand");
}

TEST(Links, IconsAreReleasedWhenReplacedOrCleared) {
    PrepareBar(3);
    SetLink(0, L"C:\\a.txt", 0);
    ASSERT_NE(bar.slots[0].icon, nullptr);
    RgbaImage image;
    ASSERT_TRUE(IconPixels(bar.slots[0].icon, &image));
    EXPECT_EQ(image.width, 32);  // the large icon first
    EXPECT_EQ(LiveHeadlessIcons(), 1);
    SetLink(0, L"C:\\b.exe", 0);
    EXPECT_EQ(LiveHeadlessIcons(), 1);
    SetLink(1, L"C:\\c.doc", 1);
    EXPECT_EQ(LiveHeadlessIcons(), 2);
    ClearLink(0, 0);
    EXPECT_EQ(bar.slots[0].icon, nullptr);
    EXPECT_EQ(LiveHeadlessIcons(), 1);
    ClearLink(0, 1);
    EXPECT_EQ(LiveHeadlessIcons(), 1);
    // no icon for a missing item without an extension: still a link
    SetLink(1, L"/nowhere/README", 0);
    EXPECT_EQ(bar.slots[1].icon, nullptr);
    EXPECT_EQ(bar.slots[1].used, 1);
    EXPECT_EQ(bar.slots[1].label, L"README");
    EXPECT_EQ(LiveHeadlessIcons(), 0);
    SetLink(2, std::filesystem::current_path().wstring(), 0);
    EXPECT_NE(bar.slots[2].icon, nullptr);
    ClearLink(2, 0);
    ClearLink(1, 0);
    EXPECT_EQ(LiveHeadlessIcons(), 0);
}

// Ways a save can fail; each must leave the old file as it was, no temporary file, and the change
// in memory. Once the obstacle is gone the next change saves everything.
struct SaveObstacle {
    const char* name;
    std::function<void()> place;
    std::function<void()> remove;
};

void LimitFileSize(rlim_t bytes) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

TEST(Links, FailedSaveLeavesTheOldFile) {
    const std::string old = "Link 0 = C:\\old.txt\r\nLink 1 = \r\nLink 2 = \r\n";
    const SaveObstacle obstacles[] = {
        {"read-only links file", [] { chmod("Links.txt", 0444); }, [] { chmod("Links.txt", 0666); }},
        {"temporary name taken by a folder", [] { std::filesystem::create_directory("Links.txt.tmp"); },
         [] { std::filesystem::remove("Links.txt.tmp"); }},
        {"disk full part way",
         [] {
             std::signal(SIGXFSZ, SIG_IGN);
             LimitFileSize(64);
         },
         [] {
             LimitFileSize(RLIM_INFINITY);
             std::signal(SIGXFSZ, SIG_DFL);
         }},
    };
    const std::wstring longPath = L"C:\\" + std::wstring(200, L'p') + L".txt";
    for (const SaveObstacle& obstacle : obstacles) {
        SCOPED_TRACE(obstacle.name);
        PrepareBar(3);
        WriteBytes("Links.txt", old);
        chmod("Links.txt", 0666);  // writable for whoever the test acts as, until an obstacle says not
        LoadLinks();
        obstacle.place();
        {
            AsOrdinaryUser user;
            SetLink(1, longPath, 1);
            ClearLink(0, 1);
        }
        obstacle.remove();
        EXPECT_EQ(ReadBytes("Links.txt"), old);
        EXPECT_FALSE(TempFileLeft());
        ExpectSlots({L"", longPath, L""});
        SetLink(2, L"C:\\c.txt", 1);
        EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = \r\nLink 1 = " + std::string(longPath.begin(), longPath.end()) +
                                              "\r\nLink 2 = C:\\c.txt\r\n");
        for (int32_t i = 0; i < 3; ++i) ClearLink(i, 0);
    }
}

TEST(Links, FolderNamedLikeTheLinksFileStays) {
    PrepareBar(2);
    std::filesystem::create_directory("Links.txt");
    SetLink(0, L"C:\\a.txt", 1);
    EXPECT_TRUE(std::filesystem::is_directory("Links.txt"));
    EXPECT_TRUE(std::filesystem::is_empty("Links.txt"));
    EXPECT_FALSE(FileExists("Links.txt.tmp"));
    EXPECT_EQ(bar.slots[0].path, L"C:\\a.txt");
    LoadLinks();
    EXPECT_EQ(bar.slots[0].path, L"C:\\a.txt");
}

// A three-slot top bar on 1920 x 1080 sits at x 842; its slots span x 4..68, 72..136, 140..204 and
// y 4..68 in bar coordinates, borders excluded; the close button is at 208, 4.
TEST(Links, DropHitsOnlyTheInsideOfASlot) {
    const struct {
        int32_t x, y;  // bar coordinates
        int32_t slot;
    } cases[] = {
        {5, 5, 0},    {4, 30, -1},   {30, 4, -1},   {67, 67, 0},  {68, 30, -1},   {30, 68, -1},
        {70, 30, -1}, {72, 30, -1},  {73, 30, 1},   {203, 30, 2}, {204, 30, -1},  {212, 10, -1},
        {-1, 30, -1}, {30, -50, -1}, {100, 90, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << ", " << c.y);
        std::filesystem::remove("Links.txt");
        PrepareBar(3);
        ASSERT_EQ(bar.barX, 842);
        EXPECT_EQ(HandleDropOf(bar.barX + c.x, bar.barY + c.y, {L"C:\\a.txt"}), c.slot);
        std::vector<std::wstring> expected(3);
        if (c.slot >= 0) expected[c.slot] = L"C:\\a.txt";
        ExpectSlots(expected);
        EXPECT_EQ(FileExists("Links.txt"), c.slot >= 0);
        for (int32_t i = 0; i < 3; ++i) ClearLink(i, 0);
    }
}

TEST(Links, DropPinsTheFirstPathOnly) {
    const struct {
        std::vector<std::wstring> paths;
        int32_t slot;
        std::wstring pinned;
    } cases[] = {
        {{L"C:\\a.txt"}, 0, L"C:\\a.txt"},
        {{L"C:\\a.txt", L"C:\\b.txt", L"C:\\c.txt"}, 0, L"C:\\a.txt"},
        {{}, -1, L""},
        {{L"", L"C:\\b.txt"}, -1, L""},
        {{L"C:\\a.txt\nC:\\b.txt"}, -1, L""},
    };
    for (const auto& c : cases) {
        std::filesystem::remove("Links.txt");
        PrepareBar(2);
        EXPECT_EQ(HandleDropOf(bar.barX + 30, 30, c.paths), c.slot);
        ExpectSlots({c.pinned, L""});
        EXPECT_EQ(FileExists("Links.txt"), c.slot >= 0);
        if (c.slot >= 0) {
            EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = C:\\a.txt\r\nLink 1 = \r\n");
        }
        ClearLink(0, 0);
    }
}

TEST(Links, DropOnAUsedSlotReplacesItsLink) {
    PrepareBar(2);
    SetLink(1, L"C:\\old.txt", 1);
    EXPECT_EQ(HandleDropOf(bar.barX + 100, 30, {L"C:\\new.exe"}), 1);
    ExpectSlots({L"", L"C:\\new.exe"});
    EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = \r\nLink 1 = C:\\new.exe\r\n");
    EXPECT_EQ(LiveHeadlessIcons(), 1);
}

TEST(Links, NoDropBeingHandledChangesNothing) {
    PrepareBar(2);
    EXPECT_EQ(HandleDrop(bar.barX + 30, 30), -1);
    ExpectSlots({L"", L""});
    EXPECT_FALSE(FileExists("Links.txt"));
    EXPECT_EQ(DroppedFilesText(), L"");
}

TEST(Links, DroppedPathsJoinWithLineFeeds) {
    EXPECT_EQ(JoinedByLineFeed({}), L"");
    EXPECT_EQ(JoinedByLineFeed({L"C:\\a"}), L"C:\\a");
    EXPECT_EQ(JoinedByLineFeed({L"C:\\a\\x.txt", L"C:\\b\\y.txt"}), L"C:\\a\\x.txt\nC:\\b\\y.txt");
    EXPECT_EQ(JoinedByLineFeed({L"", L""}), L"\n");
}

TEST(Links, FilePart) {
    const struct {
        const wchar_t* path;
        const wchar_t* name;
    } cases[] = {
        {L"C:\\Tools\\app.exe", L"app.exe"},
        {L"C:/data/x.txt", L"x.txt"},
        {L"/home/u/notes.md", L"notes.md"},
        {L"C:\\Games\\", L""},
        {L"C:\\", L""},
        {L"notes", L"notes"},
        {L"C:", L"C:"},
        {L"", L""},
        {L"\"C:\\My Apps\\run.exe\"", L"run.exe"},
        {L"\"notes\"", L"notes"},
        {L"\"notes", L"notes"},
        {L"C:\\a\\x.txt\nC:\\b\\y.txt", L"y.txt"},
        {L"C:\\a\\b\"c\\d.txt", L"d.txt"},
        {L"C:\\dir\\x\" y", L"x"},
    };
    for (const auto& c : cases) EXPECT_EQ(FilePart(c.path), c.name) << c.path;
}

}  // namespace
