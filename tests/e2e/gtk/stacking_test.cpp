// The bar among other programs' windows: above them, never focused, never listed.
#include <algorithm>
#include <gtest/gtest.h>

#include "tests/e2e/gtk/bar_fixture.h"

namespace {

constexpr Pixel OtherColour{0, 160, 0};

// The other window's top rows may be a window manager's title bar; its bottom rows are its own.
bool ShowsOther(const Shot& s) {
    return s.At(0, BarHeight - 1) == OtherColour && s.At(BarWidth - 1, BarHeight - 1) == OtherColour;
}
bool ShowsBar(const Shot& s) { return s.At(0, 0) == Background && s.At(SlotLeft(5), SlotTop) == SlotColour; }

TEST_F(GtkBarTest, TheBarStaysAboveOtherWindowsAndNeverTakesTheFocus) {
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));
    // Mapped after the bar, so it starts above it in the stacking order.
    const unsigned long other = OpenOtherWindow(0, 0, 1920, 300, OtherColour);
    ASSERT_TRUE(ShowsOther(WaitForBarShot(ShowsOther))) << "the other program's window never appeared";
    SleepMs(200);  // a window manager gives a new window the focus
    const unsigned long focus = FocusWindow();

    RevealAndMoveTo(SlotCentreX(5), SlotCentreY);
    EXPECT_TRUE(ShowsBar(WaitForBarShot(ShowsBar))) << "the revealed bar is not on top";
    RaiseWindow(other);
    SleepMs(QuietSpellMs);
    EXPECT_TRUE(ShowsBar(WaitForBarShot(ShowsBar))) << "the bar did not stay above a window raised over it";

    ClickSlowly(1);
    ClickSlowly(3);
    SleepMs(QuietSpellMs);
    EXPECT_EQ(FocusWindow(), focus) << "clicking the bar moved the keyboard focus";

    MovePointer(SlotCentreX(5), 200);
    ASSERT_TRUE(WaitBarShown(false));
    EXPECT_TRUE(ShowsOther(WaitForBarShot(ShowsOther))) << "the hidden bar still covers the other window";
    CloseOtherWindow(other);
}

// Neither window has a taskbar or pager entry: the bar is a popup that no window manager
// manages, the owner is never shown, and a window manager lists neither.
TEST_F(GtkBarTest, NeitherWindowIsListedForTaskbarsOrPagers) {
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));
    RevealAndMoveTo(SlotCentreX(5), SlotCentreY);
    EXPECT_TRUE(StateOf(windows.bar).overrideRedirect);
    EXPECT_FALSE(StateOf(windows.owner).viewable);
    if (!WindowManagerRunning()) GTEST_SKIP() << "no window manager keeps a client list here";
    const unsigned long other = OpenOtherWindow(0, 400, 300, 200, OtherColour);
    ASSERT_TRUE(WaitUntil([&] {
        const std::vector<unsigned long> listed = ManagedClientList();
        return std::find(listed.begin(), listed.end(), other) != listed.end();
    })) << "the window manager lists no windows at all";
    const std::vector<unsigned long> listed = ManagedClientList();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), windows.bar), 0);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), windows.owner), 0);
    CloseOtherWindow(other);
}

}  // namespace
