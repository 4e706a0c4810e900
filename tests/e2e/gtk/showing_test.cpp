// Revealing and hiding the bar, where it sits and what its first frame looks like.
#include <gtest/gtest.h>

#include "tests/e2e/gtk/bar_fixture.h"
#include "tests/support/files.h"

namespace {

bool Darker(Pixel p) { return p.r < Background.r && p.g < Background.g && p.b < Background.b; }
bool Bright(Pixel p) { return p.r > 200 || p.g > 200 || p.b > 200; }

TEST_F(GtkBarTest, TheRevealStripShowsTheBarAndLeavingItsRectangleHidesIt) {
    StartBar();
    ASSERT_TRUE(WaitBarShown(false)) << "the first pass hides a bar that the pointer is not on";
    EXPECT_EQ(ReadFile("Settings.ini"),
              "\xEF\xBB\xBF\r\nSide = 0\r\nDetection Range = 4\r\nColor = 32, 32, 32\r\nLinks = 22\r\n");
    EXPECT_FALSE(FileExists(PathOf("Links.txt")));

    struct Step {
        int x, y;
        bool shown;
    };
    const Step steps[] = {
        {195, 0, false},  {1724, 0, false},  // beside the strip's ends
        {300, 4, false},                     // just below it
        {196, 0, true},                      // its first pixel
        {1724, 96, true},                    // the column right of the bar and the row below it count as inside
        {1725, 50, false}, {1723, 3, true},  // the strip's last pixel
        {300, 97, false},
    };
    for (const Step& step : steps) {
        MovePointer(step.x, step.y);
        if (step.shown != BarShown()) {
            EXPECT_TRUE(WaitBarShown(step.shown)) << "pointer at " << step.x << ", " << step.y;
        } else {
            EXPECT_TRUE(BarStays(step.shown)) << "pointer at " << step.x << ", " << step.y;
        }
    }
}

TEST_F(GtkBarTest, APointerPutOnTheStripByAProgramRevealsTheBarToo) {
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));
    // The pointer rests long enough for the hidden bar to stop asking where it is; a warp makes no
    // device motion, and the bar must still notice it.
    MovePointer(900, 600);
    ASSERT_TRUE(BarStays(false));
    WarpPointer(400, 1);
    EXPECT_TRUE(WaitBarShown(true)) << "a warp onto the strip";
    WarpPointer(900, 600);
    EXPECT_TRUE(WaitBarShown(false)) << "a warp away from the bar";
}

TEST_F(GtkBarTest, TheShownBarSitsExactlyOnItsRectangleAndShowsItsFirstFrame) {
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));
    RevealAndMoveTo(1000, 1);
    ExpectBarPlace(BarX, BarY, BarWidth, BarHeight);

    const Shot shot = WaitForBarShot([](const Shot& s) { return s.At(0, 0) == Background; });
    EXPECT_EQ(shot.At(0, 0), Background);
    EXPECT_EQ(shot.At(BarWidth - 1, BarHeight - 1), Background);
    for (int slot = 0; slot < SlotCount; ++slot) {
        EXPECT_EQ(shot.At(SlotLeft(slot), SlotTop), SlotColour) << "slot " << slot;
        EXPECT_EQ(shot.At(SlotLeft(slot) + SlotEdge - 1, SlotTop + SlotEdge - 1), SlotColour) << "slot " << slot;
        EXPECT_EQ(shot.At(SlotLeft(slot) - 1, SlotTop + 30), Background) << "left of slot " << slot;
        EXPECT_EQ(IconExtent(shot, slot).width, 0) << "slot " << slot;
    }
    // The close glyph at opacity 192: its opaque centre is 199, its clear corner the background.
    EXPECT_EQ(shot.At(CloseLeft + 11, CloseTop + 11), (Pixel{199, 199, 199}));
    EXPECT_EQ(shot.At(CloseLeft + 12, CloseTop + 12), (Pixel{199, 199, 199}));
    EXPECT_EQ(shot.At(CloseLeft + 1, CloseTop + 1), Background);
    // The version text, a shade darker than the background, ends 4 pixels from the right edge;
    // nothing else is on the footer line, and no pixel is left white from before the first frame.
    EXPECT_GT(CountPixels(shot, BarWidth - 60, BarHeight - 22, 56, 22, Darker), 10);
    EXPECT_EQ(CountPixels(shot, BarWidth - 4, BarHeight - 22, 4, 22, Darker), 0);
    EXPECT_EQ(CountPixels(shot, 0, SlotTop + SlotEdge, BarWidth - 60, BarHeight - SlotTop - SlotEdge,
                          [](Pixel p) { return !(p == Background); }),
              0);
    EXPECT_EQ(CountPixels(shot, 0, 0, BarWidth, BarHeight, Bright), 0);
}

TEST_F(GtkBarTest, APointerAlreadyOnTheBarAtStartKeepsItShown) {
    MovePointer(960, 50);
    StartBar();
    EXPECT_TRUE(BarStays(true));
    EXPECT_TRUE(BarStays(true));
    const Shot shot = WaitForBarShot([](const Shot& s) { return s.At(0, 0) == Background; });
    EXPECT_EQ(shot.At(SlotLeft(0), SlotTop), SlotColour);
}

// A desktop that scales windows by two must not double the bar: its geometry is in pixels. Nor
// may the text scale that halves fonts to make up for the window scale shrink its text.
TEST_F(GtkBarTest, AWindowScaleOfTheDesktopLeavesTheBarInDevicePixels) {
    StartBar({"GDK_SCALE=2", "GDK_DPI_SCALE=0.5"});
    ASSERT_TRUE(WaitBarShown(false));
    RevealAndMoveTo(1000, 1);
    ExpectBarPlace(BarX, BarY, BarWidth, BarHeight);
    const Shot shot = WaitForBarShot([](const Shot& s) { return s.At(SlotLeft(1), SlotTop) == SlotColour; });
    EXPECT_EQ(shot.At(SlotLeft(1), SlotTop), SlotColour);
    EXPECT_EQ(shot.At(SlotLeft(1) - 1, SlotTop), Background);
    EXPECT_EQ(shot.At(SlotLeft(1), SlotTop - 1), Background);
    int versionLeft = BarWidth;
    for (int x = BarWidth - 1; x >= BarWidth - 80; --x) {
        if (CountPixels(shot, x, BarHeight - 22, 1, 22, Darker) > 0) versionLeft = x;
    }
    EXPECT_GT(BarWidth - 4 - versionLeft, 24) << "the version text is drawn at its full size";
}

struct EdgeCase {
    const char* name;
    const char* settings;
    int x, y, width, height;           // where the bar must sit
    int outsideX, outsideY;            // a point beside the reveal strip
    int insideX, insideY;              // a point in it
    Pixel background, slot;
    int slotX, slotY;                  // slot 0's top-left corner in bar coordinates
};

class GtkBarEdgeTest : public GtkBarTest, public testing::WithParamInterface<EdgeCase> {};

TEST_P(GtkBarEdgeTest, TheBarDocksWhereTheSettingsSay) {
    const EdgeCase& edge = GetParam();
    WriteFile("Settings.ini", edge.settings);
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));
    MovePointer(edge.outsideX, edge.outsideY);
    EXPECT_TRUE(BarStays(false));
    MovePointer(edge.insideX, edge.insideY);
    ASSERT_TRUE(WaitBarShown(true));
    ExpectBarPlace(edge.x, edge.y, edge.width, edge.height);
    const Shot own = WaitForShot(edge.x, edge.y, edge.width, edge.height,
                                 [&](const Shot& s) { return s.At(edge.slotX, edge.slotY) == edge.slot; });
    EXPECT_EQ(own.At(0, edge.height - 1), edge.background);
    EXPECT_EQ(own.At(edge.slotX, edge.slotY), edge.slot);
    EXPECT_EQ(own.At(edge.slotX - 1, edge.slotY), edge.background);
    EXPECT_EQ(ReadFile("Settings.ini"), edge.settings) << "an existing settings file is never rewritten";
}

INSTANTIATE_TEST_SUITE_P(
    Edges, GtkBarEdgeTest,
    testing::Values(
        EdgeCase{"LeftWithAOnePixelStrip", "Side = 3\r\nDetection Range = 1\r\nColor = 200, 100, 50\r\n", 0, 104, 72,
                 872, 1, 500, 0, 500, {200, 100, 50}, {170, 85, 43}, 4, 32},
        EdgeCase{"Bottom", "Side = 1\r\n", 196, 984, 1528, 96, 300, 1075, 300, 1079, {32, 32, 32}, {27, 27, 27}, 4, 4},
        EdgeCase{"RightOnWhite", "side=2\nColor = 255,255,255\n", 1848, 104, 72, 872, 1915, 500, 1919, 975,
                 {255, 255, 255}, {217, 217, 217}, 4, 32}),
    [](const testing::TestParamInfo<EdgeCase>& info) { return std::string(info.param.name); });

}  // namespace
