// The file layer failing underneath the bar: a save that cannot be completed leaves the old
// "Links.txt" byte for byte and keeps the change in memory for the next save; a load that cannot
// read the whole file never lets a later save drop the pins it did not read; a settings file that
// cannot be made or read whole gives the defaults and is tried again at the next start.
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "store/links.h"
#include "store/settings.h"
#include "tests/reliability/file_faults.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/files.h"

namespace {

const std::string OldLinks = "Link 0 = /old.txt\r\nLink 1 = \r\nLink 2 = \r\n";
const std::wstring LongPath = L"/data/" + std::wstring(6000, L'p') + L".txt";  // crosses the write buffer

std::string Utf8(const std::wstring& ascii) { return std::string(ascii.begin(), ascii.end()); }

void ExpectSlotPaths(const std::vector<std::wstring>& paths) {
    ASSERT_EQ(bar.slots.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(bar.slots[i].path, paths[i]) << "slot " << i;
        EXPECT_EQ(bar.slots[i].used, paths[i].empty() ? 0 : 1) << "slot " << i;
    }
}

struct SaveFault {
    const char* name;
    std::vector<FileFault> faults;
};

TEST(FileFaults, FailedSaveKeepsTheOldFileAndTheChangeInMemory) {
    const SaveFault cases[] = {
        {"the new file cannot be opened", {{FileCall::Open, EACCES, "Links.txt.tmp"}}},
        {"no room for the new file", {{FileCall::Open, ENOSPC, "Links.txt.tmp"}}},
        {"the disk is full from the first byte", {{FileCall::Write, ENOSPC, "Links.txt.tmp", 0}}},
        {"the disk fills part way", {{FileCall::Write, ENOSPC, "Links.txt.tmp", 5000}}},
        {"a write fails part way", {{FileCall::Write, EIO, "Links.txt.tmp", 100}}},
        {"flushing to the disk fails", {{FileCall::Fsync, EIO, "Links.txt.tmp"}}},
        {"the new file cannot take the old one's place", {{FileCall::Rename, EBUSY, "Links.txt"}}},
        {"the links file is read-only", {{FileCall::Open, EACCES, "Links.txt"}}},
        {"another program holds the links file", {{FileCall::Open, ETXTBSY, "Links.txt"}}},
        {"a read-only file system", {{FileCall::Open, EROFS, ""}}},
        {"the leftover of a failed save cannot be removed",
         {{FileCall::Fsync, EIO, "Links.txt.tmp"}, {FileCall::Unlink, EPERM, "Links.txt.tmp"}}},
    };
    for (const SaveFault& c : cases) {
        SCOPED_TRACE(c.name);
        PrepareBar(3);
        WriteBytes("Links.txt", OldLinks);
        LoadLinks();
        for (const FileFault& fault : c.faults) ArmFileFault(fault);
        SetLink(1, LongPath, 1);
        ClearLink(0, 1);
        EXPECT_GT(FailedFileCalls(), 0);
        ClearFileFaults();
        EXPECT_EQ(ReadBytes("Links.txt"), OldLinks);
        ExpectSlotPaths({L"", LongPath, L""});

        // Once the file system works again the next change saves everything.
        SetLink(2, L"/c.txt", 1);
        EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = \r\nLink 1 = " + Utf8(LongPath) + "\r\nLink 2 = /c.txt\r\n");
        EXPECT_FALSE(FileExists("Links.txt.tmp"));
        for (int32_t i = 0; i < 3; ++i) ClearLink(i, 0);
    }
}

// Where files have no sharing modes, a program holding the links file open does not stop the
// save, and it goes on seeing the whole file it opened.
TEST(FileFaults, AnotherProgramHoldingTheFileSeesItWhole) {
    PrepareBar(3);
    WriteBytes("Links.txt", OldLinks);
    LoadLinks();
    const int held = ::open("Links.txt", O_RDWR);
    ASSERT_GE(held, 0);
    SetLink(1, L"/new.txt", 1);
    EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = /old.txt\r\nLink 1 = /new.txt\r\nLink 2 = \r\n");
    std::string seen(OldLinks.size() + 10, '\0');
    seen.resize(static_cast<size_t>(::pread(held, seen.data(), seen.size(), 0)));
    EXPECT_EQ(seen, OldLinks);
    ::close(held);
}

// A links file that cannot be read whole holds pins the bar never saw: no save may replace it
// during this run, while the slots keep every change; the next start reads all of it.
TEST(FileFaults, LinksFileNotReadWholeIsNeverReplaced) {
    const std::string links = "Link 0 = /a.txt\r\nLink 1 = /b.txt\r\nLink 2 = /c.txt\r\n";
    const struct {
        const char* name;
        FileFault fault;
        std::vector<std::wstring> loaded;
    } cases[] = {
        {"reading fails part way", {FileCall::Read, EIO, "Links.txt", 20}, {L"/a.txt", L"", L""}},
        {"reading fails at once", {FileCall::Read, EIO, "Links.txt", 0}, {L"", L"", L""}},
        {"opening fails", {FileCall::Open, EACCES, "Links.txt"}, {L"", L"", L""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PrepareBar(3);
        WriteBytes("Links.txt", links);
        ArmFileFault(c.fault);
        LoadLinks();
        EXPECT_GT(FailedFileCalls(), 0);
        ClearFileFaults();
        ExpectSlotPaths(c.loaded);
        EXPECT_EQ(HandleDropOf(bar.barX + 170, bar.barY + 30, {L"/dropped.txt"}), 2);
        ClearLink(0, 1);
        EXPECT_EQ(ReadBytes("Links.txt"), links);
        EXPECT_EQ(bar.slots[2].path, L"/dropped.txt");

        ReleaseLinkIcons();
        PrepareBar(3);
        LoadLinks();
        ExpectSlotPaths({L"/a.txt", L"/b.txt", L"/c.txt"});
        ReleaseLinkIcons();
    }
}

// Making the settings file fails: no file, or only part of one, is left behind, the defaults
// are in force, and the next start makes the whole file.
TEST(FileFaults, SettingsFileThatCannotBeMadeIsTriedAgain) {
    const FileFault cases[] = {
        {FileCall::Open, EROFS, "Settings.ini"},
        {FileCall::Write, ENOSPC, "Settings.ini", 0},
        {FileCall::Write, ENOSPC, "Settings.ini", 60},
        {FileCall::Write, EIO, "Settings.ini", 30},
        {FileCall::Ftruncate, EIO, "Settings.ini"},
    };
    for (const FileFault& fault : cases) {
        SCOPED_TRACE(testing::Message() << "call " << static_cast<int>(fault.call) << ", after " << fault.bytesBefore);
        PrepareStartUpDefaults();
        ArmFileFault(fault);
        LoadSettings();
        EXPECT_GT(FailedFileCalls(), 0);
        ClearFileFaults();
        EXPECT_FALSE(FileExists("Settings.ini"));
        EXPECT_EQ(bar.slotCount, 22);
        EXPECT_EQ(bar.side, SideTop);

        LoadSettings();
        EXPECT_EQ(ReadBytes("Settings.ini").size(), 68u);
        std::filesystem::remove("Settings.ini");
    }
}

// Reading the settings file fails part way: the bar takes the defaults, not the part it read,
// and leaves the file alone.
TEST(FileFaults, SettingsFileNotReadWholeGivesTheDefaults) {
    const std::string content = "Side = 2\r\nDetection Range = 7\r\nLinks = 22\r\n";
    for (const int64_t before : {0, 15, 40}) {
        SCOPED_TRACE(before);
        WriteBytes("Settings.ini", content);
        PrepareStartUpDefaults();
        ArmFileFault({FileCall::Read, EIO, "Settings.ini", before});
        LoadSettings();
        EXPECT_GT(FailedFileCalls(), 0);
        ClearFileFaults();
        EXPECT_EQ(bar.side, SideTop);
        EXPECT_EQ(bar.detectionRange, 4);
        EXPECT_EQ(bar.slotCount, 22);
        EXPECT_EQ(ReadBytes("Settings.ini"), content);
    }
}

}  // namespace
