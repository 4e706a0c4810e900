// Ending the bar: its close glyph, and close requests from the desktop to either window.
#include <gtest/gtest.h>

#include "tests/e2e/gtk/bar_fixture.h"

namespace {

TEST_F(GtkBarTest, TheCloseGlyphLightsUpUnderThePointerAndEndsTheBarWhenClicked) {
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));
    RevealAndMoveTo(BarX + CloseLeft + 12, BarY + CloseTop + 12);
    const Pixel glyphCentre{213, 213, 213};  // 199 lightened by white at alpha 64
    const Shot shot = WaitForBarShot([&](const Shot& s) { return s.At(CloseLeft + 11, CloseTop + 11) == glyphCentre; });
    EXPECT_EQ(shot.At(CloseLeft + 11, CloseTop + 11), glyphCentre);
    EXPECT_EQ(shot.At(CloseLeft + 1, CloseTop + 1), (Pixel{87, 87, 87}));  // the background under the tint
    EXPECT_EQ(shot.At(CloseLeft + 23, CloseTop + 23), (Pixel{87, 87, 87}));
    EXPECT_EQ(shot.At(CloseLeft - 1, CloseTop + 1), Background);
    EXPECT_EQ(shot.At(CloseLeft + 24, CloseTop + 24), Background);

    ClickSlowly(3);  // a right click is not a close
    EXPECT_FALSE(WaitForEnd(bar, QuietSpellMs));
    ClickSlowly(1);
    ASSERT_TRUE(WaitForEnd(bar, WaitLimitMs)) << "the bar is still running";
    EXPECT_TRUE(EndedWithCodeZero(bar));
}

struct CloseCase {
    const char* name;
    bool toOwner;
    bool barShown;
};

class GtkBarCloseRequestTest : public GtkBarTest, public testing::WithParamInterface<CloseCase> {};

TEST_P(GtkBarCloseRequestTest, ACloseRequestEndsTheBarWithCodeZero) {
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));
    if (GetParam().barShown) RevealAndMoveTo(SlotCentreX(4), SlotCentreY);
    RequestClose(GetParam().toOwner ? windows.owner : windows.bar);
    ASSERT_TRUE(WaitForEnd(bar, WaitLimitMs)) << "the bar is still running";
    EXPECT_TRUE(EndedWithCodeZero(bar));
}

INSTANTIATE_TEST_SUITE_P(Windows, GtkBarCloseRequestTest,
                         testing::Values(CloseCase{"ToTheOwnerWhileHidden", true, false},
                                         CloseCase{"ToTheBarWhileShown", false, true},
                                         CloseCase{"ToTheOwnerWhileShown", true, true}),
                         [](const testing::TestParamInfo<CloseCase>& info) { return std::string(info.param.name); });

}  // namespace
