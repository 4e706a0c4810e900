#include <gtest/gtest.h>

#include "core/bar_state.h"
#include "core/hover.h"
#include "core/layout.h"

namespace {

void PrepareBar(Side side) {
    bar.desktopWidth = 1920;
    bar.desktopHeight = 1080;
    bar.closeRect.width = 24;
    bar.closeRect.height = 24;
    bar.slotGap = DefaultSlotGap;
    bar.detectionRange = DefaultDetectionRange;
    bar.side = side;
    bar.slotCount = DefaultSlotCount();
    ComputeLayout();
}

// Puts the pointer d pixels along the bar past the centre of slot k (bar coordinates across
// the bar at the slot's middle).
void PointAlongBar(int32_t k, int32_t d) {
    const LinkSlot& slot = bar.slots[k];
    if (IsHorizontal(bar.side)) {
        UpdateHover(bar.barX + slot.x + 32 + d, bar.barY + 40);
    } else {
        UpdateHover(bar.barX + 36, bar.barY + slot.y + 32 + d);
    }
}

TEST(Magnification, SizeAndOffsetFollowTheDistanceAlongTheBar) {
    struct Case { int32_t d, size, offset; } const cases[] = {
        {0, 64, 0},  {2, 64, 0},  {6, 62, 1},  {16, 60, 2},  {32, 56, 4},
        {64, 48, 8}, {68, 47, 8}, {96, 40, 12}, {128, 32, 16}, {400, 32, 16},
    };
    for (Side side : {SideTop, SideLeft}) {
        PrepareBar(side);
        for (const Case& c : cases) {
            for (int32_t sign : {1, -1}) {
                SCOPED_TRACE(testing::Message() << "side " << side << " d " << sign * c.d);
                PointAlongBar(5, sign * c.d);
                const LinkSlot& slot = bar.slots[5];
                EXPECT_EQ(slot.iconSize, c.size);
                EXPECT_EQ(slot.iconX, slot.x + c.offset);
                EXPECT_EQ(slot.iconY, slot.y + c.offset);
            }
        }
    }
}

TEST(Magnification, NeighboursOfThePointedSlot) {
    PrepareBar(SideTop);
    PointAlongBar(10, 0);
    EXPECT_EQ(bar.slots[10].iconSize, 64);
    EXPECT_EQ(bar.slots[9].iconSize, 47);
    EXPECT_EQ(bar.slots[11].iconSize, 47);
    EXPECT_EQ(bar.slots[8].iconSize, 32);
    EXPECT_EQ(bar.slots[12].iconSize, 32);
}

TEST(Magnification, OnlyTheDistanceAlongAVerticalBarCounts) {
    PrepareBar(SideRight);
    const LinkSlot& slot = bar.slots[3];
    UpdateHover(bar.barX + slot.x + 32 + 10, bar.barY + slot.y + 32);
    EXPECT_EQ(slot.iconSize, 64);
    UpdateHover(bar.barX + 500, bar.barY + slot.y + 32);  // far off to the side, level with it
    EXPECT_EQ(slot.iconSize, 64);
}

TEST(Magnification, ResetPutsEveryIconAtRest) {
    PrepareBar(SideTop);
    PointAlongBar(4, 0);
    ResetMagnification();
    for (const LinkSlot& slot : bar.slots) {
        EXPECT_EQ(slot.iconSize, 32);
        EXPECT_EQ(slot.iconX, slot.x + 16);
        EXPECT_EQ(slot.iconY, slot.y + 16);
    }
}

TEST(Hover, LabelOnlyStrictlyInsideAUsedSlot) {
    PrepareBar(SideTop);
    bar.slots[2].used = 1;
    bar.slots[2].label = L"notes.txt";
    const LinkSlot& slot = bar.slots[2];
    struct Case { int32_t px, py; bool label; } const cases[] = {
        {slot.x + 1, slot.y + 1, true},   {slot.x + 63, slot.y + 63, true},
        {slot.x, slot.y + 30, false},     {slot.x + 64, slot.y + 30, false},
        {slot.x + 30, slot.y, false},     {slot.x + 30, slot.y + 64, false},
    };
    for (const Case& c : cases) {
        UpdateHover(bar.barX + c.px, bar.barY + c.py);
        EXPECT_EQ(bar.hoverLabel, c.label ? L"notes.txt" : L"") << c.px << "," << c.py;
    }
    // The pointer on the left edge is no hit, but the icon still grows: d = 32.
    UpdateHover(bar.barX + slot.x, bar.barY + slot.y + 30);
    EXPECT_EQ(slot.iconSize, 56);
    // An empty slot shows no label.
    UpdateHover(bar.barX + bar.slots[3].x + 30, bar.barY + 30);
    EXPECT_EQ(bar.hoverLabel, L"");
}

TEST(Hover, CloseButtonHighlightsAndQuitsOnlyOnALeftClick) {
    PrepareBar(SideTop);
    const Rect close = bar.closeRect;
    UpdateHover(bar.barX + close.x + 12, bar.barY + close.y + 12);
    EXPECT_EQ(bar.closeHover, 1);
    EXPECT_EQ(bar.highlightRect.x, close.x);
    EXPECT_EQ(bar.highlightRect.width, 24);
    EXPECT_EQ(bar.quitRequested, 0);

    UpdateHover(bar.barX + close.x, bar.barY + close.y + 12);  // its border line
    EXPECT_EQ(bar.closeHover, 0);

    bar.clickFlags.rightClick = 1;
    bar.clickFlags.rightDoubleClick = 1;
    UpdateHover(bar.barX + close.x + 12, bar.barY + close.y + 12);
    EXPECT_EQ(bar.quitRequested, 0);
    bar.clickFlags.leftClick = 1;
    UpdateHover(bar.barX + close.x + 12, bar.barY + close.y + 12);
    EXPECT_EQ(bar.quitRequested, 1);
}

}  // namespace
