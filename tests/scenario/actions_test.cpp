#include <gtest/gtest.h>
#include <string>

#include "tests/scenario/scenario_support.h"
#include "tests/support/files.h"

namespace {

// Slot k of the default 1920 x 1080 top bar: its box starts at bar x = 4 + 68k, the bar at 196.
std::string AtSlot(int k, int passes = 1) {
    return "at " + std::to_string(196 + 4 + 68 * k + 32) + " 36 " + std::to_string(passes) + "\n";
}

const std::string Away = "at 5000 5000\n";
const std::string Reveal = "at 300 1\n";

// Links.txt with program.exe on slot 1 and notes.txt on slot 2.
void PinTwo() {
    WriteBytes("Links.txt", "Link 0 = \r\nLink 1 = C:\\Tools\\program.exe\r\nLink 2 = C:\\Docs\\notes.txt\r\n");
}

const std::string Declarations = "program C:\\Tools\\program.exe\ndocument C:\\Docs\\notes.txt\n";

TEST(Actions, LeftClickStartsAProgramOncePerPass) {
    PinTwo();
    const ScenarioRun run = RunScenario(Declarations + AtSlot(1) + "click left\n" + AtSlot(1, 4));
    ASSERT_EQ(HeadlessLaunches().size(), 1u);
    const HeadlessLaunch& launch = HeadlessLaunches()[0];
    EXPECT_TRUE(launch.asProgram);
    EXPECT_TRUE(launch.accepted);
    EXPECT_EQ(launch.path, L"C:\\Tools\\program.exe");
    EXPECT_EQ(launch.commandLine, L"\"C:\\Tools\\program.exe\"");
    EXPECT_EQ(run.exitCode, 0);
}

TEST(Actions, ADocumentFallsBackToTheDefaultActionInItsFolder) {
    PinTwo();
    RunScenario(Declarations + AtSlot(2) + "click left\n" + AtSlot(2));
    ASSERT_EQ(HeadlessLaunches().size(), 2u);
    EXPECT_TRUE(HeadlessLaunches()[0].asProgram);
    EXPECT_FALSE(HeadlessLaunches()[0].accepted);
    EXPECT_FALSE(HeadlessLaunches()[1].asProgram);
    EXPECT_TRUE(HeadlessLaunches()[1].accepted);
    EXPECT_EQ(HeadlessLaunches()[1].folder, L"C:\\Docs\\");
}

TEST(Actions, LeftDoubleClickOverTwoPassesLaunchesTwice) {
    PinTwo();
    RunScenario(Declarations + AtSlot(1) + "click left\n" + AtSlot(1) + "click left\n" + AtSlot(1, 3));
    EXPECT_EQ(HeadlessLaunches().size(), 2u);
}

TEST(Actions, ClicksOnEmptySlotsGapsAndBackgroundDoNothing) {
    PinTwo();
    const std::string clicks = "click left\ndoubleclick right\n";
    RunScenario(Declarations + AtSlot(0) + clicks + "at 200 40\n" + clicks + "at 268 40\n" + clicks +
                "at 500 90\n" + clicks + "at 500 90\n");
    EXPECT_TRUE(HeadlessLaunches().empty());
    EXPECT_EQ(bar.slots[1].used, 1);
    EXPECT_EQ(ReadBytes("Links.txt"), "Link 0 = \r\nLink 1 = C:\\Tools\\program.exe\r\nLink 2 = C:\\Docs\\notes.txt\r\n");
}

TEST(Actions, RightDoubleClickEmptiesTheSlotAndRewritesTheFile) {
    PinTwo();
    RunScenario(Declarations + AtSlot(2) + "click right\n" + AtSlot(2) + "click right\n" + AtSlot(2, 2) +
                "frame after.png\n");
    EXPECT_EQ(bar.slots[2].used, 0);
    EXPECT_EQ(bar.slots[2].icon, nullptr);
    EXPECT_EQ(bar.slots[1].used, 1);
    const std::string expected = "Link 0 = \r\nLink 1 = C:\\Tools\\program.exe\r\nLink 2 = \r\n";
    EXPECT_EQ(ReadBytes("Links.txt").substr(0, expected.size()), expected);
    EXPECT_TRUE(HeadlessLaunches().empty());
    EXPECT_EQ(LiveHeadlessIcons(), 1);  // only slot 1's icon is still held
}

TEST(Actions, LeftClickAndRightDoubleClickInOnePassOpenAndKeepTheSlot) {
    PinTwo();
    RunScenario(Declarations + AtSlot(1) + "click right\n" + AtSlot(1) + "click right\nclick left\n" + AtSlot(1));
    EXPECT_EQ(HeadlessLaunches().size(), 1u);
    EXPECT_EQ(bar.slots[1].used, 1);
}

TEST(Actions, AClickActsInOnePassOnly) {
    PinTwo();
    // The click of the first shown pass must not act again in the passes after it.
    RunScenario(Declarations + AtSlot(1) + "click left\n" + AtSlot(1, 10));
    EXPECT_EQ(HeadlessLaunches().size(), 1u);
}

TEST(Actions, PressOnTheBarReleasedElsewhereIsNoClick) {
    PinTwo();
    // x 1724 keeps the bar shown but lies just outside the canvas.
    RunScenario(Declarations + AtSlot(1) + "press left\n" + "at 1724 40\nrelease left\n" + AtSlot(1, 2));
    EXPECT_TRUE(HeadlessLaunches().empty());
}

TEST(Actions, EventsOfTheRevealingPassAreDiscarded) {
    PinTwo();
    // A strip 40 pixels deep reveals the bar with the pointer already over slot 1; the click and
    // the drop that arrive while that pass drains must do nothing.
    WriteBytes("Settings.ini", "Detection Range = 40\r\n");
    const ScenarioRun run =
        RunScenario(Declarations + Away + AtSlot(1) + "drop /tmp/dropped.txt\nclick left\n" + AtSlot(1, 2));
    EXPECT_EQ(CountOf(run, "shown"), 1);
    EXPECT_TRUE(HeadlessLaunches().empty());
    EXPECT_EQ(bar.slots[1].path, L"C:\\Tools\\program.exe");
}

TEST(Actions, DropPinsThePathOnTheSlotUnderThePointer) {
    const ScenarioRun run = RunScenario(AtSlot(3) + "drop /home/me/notes.txt\n" + AtSlot(3) + "frame pinned.png\n");
    EXPECT_EQ(bar.slots[3].used, 1);
    EXPECT_EQ(bar.slots[3].path, L"/home/me/notes.txt");
    EXPECT_EQ(bar.slots[3].label, L"notes.txt");
    EXPECT_NE(bar.slots[3].icon, nullptr);
    EXPECT_EQ(bar.hoverLabel, L"notes.txt");
    const std::string file = ReadBytes("Links.txt");
    EXPECT_NE(file.find("Link 3 = /home/me/notes.txt\r\n"), std::string::npos);
    EXPECT_EQ(run.exitCode, 0);
}

TEST(Actions, DropOfSeveralPathsPinsTheFirstAndAnEmptyDropChangesNothing) {
    RunScenario(AtSlot(4) + "drop /a/first.txt | /b/second.txt\n" + AtSlot(4) + "drop\n" + AtSlot(5));
    EXPECT_EQ(bar.slots[4].path, L"/a/first.txt");
    EXPECT_EQ(bar.slots[5].used, 0);
    EXPECT_EQ(ReadBytes("Links.txt").find("second"), std::string::npos);
}

TEST(Actions, CopyOnlyDragIsRefused) {
    const ScenarioRun run = RunScenario(AtSlot(4) + "copydrop /a/first.txt\n" + AtSlot(4));
    EXPECT_EQ(bar.slots[4].used, 0);
    EXPECT_FALSE(FileExists("Links.txt"));
    EXPECT_EQ(CountStartingWith(run, "drop refused"), 1);
}

TEST(Actions, DropOnAGapBetweenSlotsTakesNothing) {
    RunScenario(AtSlot(2) + "at 268 36\ndrop /a/gap.txt\n" + AtSlot(2));
    EXPECT_FALSE(FileExists("Links.txt"));
    for (const LinkSlot& slot : bar.slots) EXPECT_EQ(slot.used, 0);
}

TEST(Actions, ADropReplacesAPinnedLinkAndReleasesItsIcon) {
    PinTwo();
    RunScenario(AtSlot(1) + "drop /a/new.txt\n" + AtSlot(1));
    EXPECT_EQ(bar.slots[1].path, L"/a/new.txt");
    EXPECT_EQ(LiveHeadlessIcons(), 2);
    EXPECT_NE(ReadBytes("Links.txt").find("Link 1 = /a/new.txt\r\n"), std::string::npos);
}

}  // namespace
