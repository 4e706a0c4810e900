// Opening pinned items with left clicks and emptying slots with right double-clicks.
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/e2e/gtk/bar_fixture.h"

namespace {

int LinesOf(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

class GtkBarLaunchTest : public GtkBarTest {
protected:
    // Puts the pointer on a slot with an icon and waits for a pass to magnify it, so that the
    // next click is handled by a pass that has the pointer there.
    void PointAtSlot(int slot) {
        MovePointer(SlotCentreX(slot), SlotCentreY);
        const Shot shot = WaitForBarShot([&](const Shot& s) { return IconExtent(s, slot).width > 48; });
        ASSERT_GT(IconExtent(shot, slot).width, 48) << "slot " << slot << " was not magnified";
    }

    bool LogHasLines(const std::string& name, int lines) {
        return WaitUntil([&] { return LinesOf(ReadFile(name)) >= lines; });
    }

    std::string Canonical(const std::string& name) const { return std::filesystem::canonical(PathOf(name)).string(); }
};

TEST_F(GtkBarLaunchTest, LeftClicksOpenPinnedItemsAndARightDoubleClickEmptiesASlot) {
    std::filesystem::create_directories(PathOf("docs"));
    std::filesystem::create_directories(PathOf("tools"));
    WriteFile("docs/notes.txt", "text\n");
    const std::string program = WriteMarkerProgram("tools/marker", PathOf("program.log"));
    const std::string notes = PathOf("docs/notes.txt"), docs = PathOf("docs");
    const std::string goneTyped = PathOf("gone/missing.txt"), gonePlain = PathOf("gone/missing");
    const std::string links = LinksFileOf({program, notes, docs, goneTyped, gonePlain});
    WriteFile("Links.txt", links);
    // The bar draws itself unscaled; what it starts gets the user's scales all the same.
    StartBar({OpenedLogEnvironment(PathOf("opened.log")), "GDK_SCALE=2", "GDK_DPI_SCALE=0.5"});
    ASSERT_TRUE(WaitBarShown(false));
    RevealAndMoveTo(SlotCentreX(0), SlotCentreY);
    ASSERT_NO_FATAL_FAILURE(PointAtSlot(0));

    // Every link has its icon, a missing file by its type; a missing extension-less path has
    // none. Slot 1, next to the pointer, is drawn at 47 pixels, the others at rest.
    const Shot pinned = BarShot();
    for (int slot = 1; slot <= 3; ++slot) {
        const Extent e = IconExtent(pinned, slot);
        EXPECT_GT(e.width, 8) << "slot " << slot;
        EXPECT_LE(e.width, slot == 1 ? 47 : 32) << "slot " << slot;
    }
    EXPECT_EQ(IconExtent(pinned, 4).width, 0);

    // A program runs itself, with no arguments, in the bar's folder, and is collected when done.
    ClickSlowly(1);
    ASSERT_TRUE(LogHasLines("program.log", 1));
    EXPECT_EQ(ReadFile("program.log"), "cwd=" + Canonical("") + " args=0 scale=2/0.5\n");
    EXPECT_TRUE(WaitUntil([&] { return ZombieChildrenOf(bar.pid).empty(); })) << "an ended program was never collected";

    // A document opens in the default application for its type, in the document's folder.
    ASSERT_NO_FATAL_FAILURE(PointAtSlot(1));
    ClickSlowly(1);
    ASSERT_TRUE(LogHasLines("opened.log", 1));
    const std::string openedNotes = "cwd=" + Canonical("docs") + " args=" + notes + " scale=2/0.5\n";
    EXPECT_EQ(ReadFile("opened.log"), openedNotes);

    // So does a folder, in the folder that holds it.
    ASSERT_NO_FATAL_FAILURE(PointAtSlot(2));
    ClickSlowly(1);
    ASSERT_TRUE(LogHasLines("opened.log", 2));
    EXPECT_EQ(ReadFile("opened.log"), openedNotes + "cwd=" + Canonical("") + " args=" + docs + " scale=2/0.5\n");

    // A link whose target is gone opens nothing and changes nothing.
    ASSERT_NO_FATAL_FAILURE(PointAtSlot(3));
    ClickSlowly(1);
    SleepMs(2 * QuietSpellMs);
    EXPECT_EQ(LinesOf(ReadFile("program.log")), 1);
    EXPECT_EQ(LinesOf(ReadFile("opened.log")), 2);
    EXPECT_EQ(ReadFile("Links.txt"), links);

    // A left double-click is two clicks, so the program runs twice; right and middle clicks,
    // and a press that is released off the bar, open nothing.
    ASSERT_NO_FATAL_FAILURE(PointAtSlot(0));
    ClickSlowly(1);
    SleepMs(120);
    ClickSlowly(1);
    ASSERT_TRUE(LogHasLines("program.log", 3));
    SleepMs(500);  // past the double-click time, so the next clicks start afresh
    ClickSlowly(3);
    ClickSlowly(2);
    PressButton(1);
    MovePointer(SlotCentreX(0), 400);
    SleepMs(50);
    ReleaseButton(1);
    ASSERT_TRUE(WaitBarShown(false));
    SleepMs(QuietSpellMs);
    EXPECT_EQ(LinesOf(ReadFile("program.log")), 3);
    EXPECT_EQ(LinesOf(ReadFile("opened.log")), 2);

    // A right double-click empties the slot and rewrites the links file at once.
    RevealAndMoveTo(SlotCentreX(1), SlotCentreY);
    ASSERT_NO_FATAL_FAILURE(PointAtSlot(1));
    ClickSlowly(3);
    SleepMs(120);
    ClickSlowly(3);
    EXPECT_TRUE(WaitUntil([&] { return ReadFile("Links.txt") == LinksFileOf({program, "", docs, goneTyped, gonePlain}); }))
        << ReadFile("Links.txt");
    const Shot emptied = WaitForBarShot([](const Shot& s) { return IconExtent(s, 1).width == 0; });
    EXPECT_EQ(IconExtent(emptied, 1).width, 0);
    EXPECT_EQ(LinesOf(ReadFile("opened.log")), 2);
    EXPECT_TRUE(ZombieChildrenOf(bar.pid).empty());
}

}  // namespace
