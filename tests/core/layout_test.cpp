#include <gtest/gtest.h>

#include "core/bar_state.h"
#include "core/layout.h"

namespace {

void PrepareBar(int32_t width, int32_t height, Side side) {
    bar.desktopWidth = width;
    bar.desktopHeight = height;
    bar.closeRect.width = 24;
    bar.closeRect.height = 24;
    bar.slotGap = DefaultSlotGap;
    bar.detectionRange = DefaultDetectionRange;
    bar.side = side;
    bar.slotCount = DefaultSlotCount();
}

struct DisplayCase {
    int32_t width, height;
    int32_t horizontalSlots, barWidth, barX;
    int32_t verticalSlots, barHeight, barY;
};

TEST(Layout, WorkedValuesForEveryDisplayAndSide) {
    const DisplayCase cases[] = {
        {1024, 768, 12, 848, 88, 9, 668, 50},      {1366, 768, 16, 1120, 123, 9, 668, 50},
        {1600, 900, 18, 1256, 172, 10, 736, 82},   {1920, 1080, 22, 1528, 196, 12, 872, 104},
        {2560, 1440, 30, 2072, 244, 16, 1144, 148},
    };
    for (const DisplayCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        for (Side side : {SideTop, SideBottom}) {
            PrepareBar(c.width, c.height, side);
            ComputeLayout();
            EXPECT_EQ(bar.slotCount, c.horizontalSlots);
            EXPECT_EQ(bar.barWidth, c.barWidth);
            EXPECT_EQ(bar.barHeight, 96);
            EXPECT_EQ(bar.barX, c.barX);
            EXPECT_EQ(bar.barY, side == SideTop ? 0 : c.height - 96);
            EXPECT_EQ(bar.closeRect.x, c.barWidth - 28);
            EXPECT_EQ(bar.closeRect.y, 4);
        }
        for (Side side : {SideRight, SideLeft}) {
            PrepareBar(c.width, c.height, side);
            ComputeLayout();
            EXPECT_EQ(bar.slotCount, c.verticalSlots);
            EXPECT_EQ(bar.barWidth, 72);
            EXPECT_EQ(bar.barHeight, c.barHeight);
            EXPECT_EQ(bar.barY, c.barY);
            EXPECT_EQ(bar.barX, side == SideLeft ? 0 : c.width - 72);
            EXPECT_EQ(bar.closeRect.x, 44);
            EXPECT_EQ(bar.closeRect.y, 4);
        }
    }
}

void ExpectRect(const Rect& r, int32_t x, int32_t y, int32_t w, int32_t h) {
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}

TEST(Layout, RevealStripAndCloseButtonOnEachSideOf1920x1080) {
    PrepareBar(1920, 1080, SideTop);
    ComputeLayout();
    ExpectRect(bar.detectionRect, 196, 0, 1528, 4);
    ExpectRect(bar.closeRect, 1500, 4, 24, 24);

    PrepareBar(1920, 1080, SideBottom);
    ComputeLayout();
    EXPECT_EQ(bar.barY, 984);
    ExpectRect(bar.detectionRect, 196, 1076, 1528, 4);

    PrepareBar(1920, 1080, SideRight);
    ComputeLayout();
    EXPECT_EQ(bar.barX, 1848);
    ExpectRect(bar.detectionRect, 1916, 104, 4, 872);
    ExpectRect(bar.closeRect, 44, 4, 24, 24);

    PrepareBar(1920, 1080, SideLeft);
    ComputeLayout();
    ExpectRect(bar.detectionRect, 0, 104, 4, 872);
}

TEST(Layout, SlotBoxesAndRestingIcons) {
    PrepareBar(1920, 1080, SideTop);
    ComputeLayout();
    ASSERT_EQ(bar.slots.size(), 22u);
    EXPECT_EQ(bar.slots[0].x, 4);
    EXPECT_EQ(bar.slots[21].x, 1432);
    EXPECT_EQ(bar.slots[21].x + bar.slots[21].width - 1, 1495);
    for (const LinkSlot& slot : bar.slots) {
        EXPECT_EQ(slot.y, 4);
        EXPECT_EQ(slot.width, 64);
        EXPECT_EQ(slot.height, 64);
        EXPECT_EQ(slot.iconSize, 32);
        EXPECT_EQ(slot.iconX, slot.x + 16);
        EXPECT_EQ(slot.iconY, slot.y + 16);
        EXPECT_EQ(slot.used, 0);
        EXPECT_EQ(slot.icon, nullptr);
        EXPECT_TRUE(slot.path.empty());
    }
    EXPECT_EQ(bar.slots[7].index, 7);

    PrepareBar(1920, 1080, SideRight);
    ComputeLayout();
    ASSERT_EQ(bar.slots.size(), 12u);
    EXPECT_EQ(bar.slots[0].x, 4);
    EXPECT_EQ(bar.slots[0].y, 32);
    EXPECT_EQ(bar.slots[11].y, 780);
    EXPECT_EQ(bar.slots[11].iconY, 796);
}

TEST(Layout, NoSlotsLeavesOnlyTheCloseButton) {
    PrepareBar(1920, 1080, SideTop);
    bar.slotCount = 0;
    ComputeLayout();
    EXPECT_EQ(bar.barWidth, 32);
    EXPECT_EQ(bar.barHeight, 96);
    ExpectRect(bar.closeRect, 4, 4, 24, 24);
    EXPECT_TRUE(bar.slots.empty());

    PrepareBar(1920, 1080, SideLeft);
    bar.slotCount = 0;
    ComputeLayout();
    EXPECT_EQ(bar.barHeight, 56);
}

TEST(Layout, CentringTiesGoToEven) {
    PrepareBar(1921, 1080, SideTop);
    bar.slotCount = 22;
    ComputeLayout();
    EXPECT_EQ(bar.barX, 196);  // 393 / 2 = 196.5
    PrepareBar(1923, 1080, SideTop);
    bar.slotCount = 22;
    ComputeLayout();
    EXPECT_EQ(bar.barX, 198);  // 395 / 2 = 197.5
}

TEST(Layout, LongerThanTheScreenPutsTheBarPartlyOffScreen) {
    PrepareBar(1024, 768, SideTop);
    bar.slotCount = 40;
    ComputeLayout();
    EXPECT_EQ(bar.barWidth, 40 * 68 + 32);
    EXPECT_LT(bar.barX, 0);
}

TEST(Layout, UnmeasuredDisplayGivesNoSlots) {
    PrepareBar(0, 0, SideTop);
    EXPECT_EQ(bar.slotCount, 0);
}

TEST(Layout, FittingSlotCountKeepsTheBarWithinTheLargestWindow) {
    PrepareBar(1920, 1080, SideTop);
    EXPECT_EQ(FittingSlotCount(-3), 0);
    EXPECT_EQ(FittingSlotCount(0), 0);
    EXPECT_EQ(FittingSlotCount(22), 22);
    EXPECT_EQ(FittingSlotCount(100000), 481);
    EXPECT_EQ(FittingSlotCount(int64_t{1} << 40), 481);
    bar.slotCount = 481;
    ComputeLayout();
    EXPECT_LE(bar.barWidth, 32767);
    EXPECT_GT(bar.barWidth + 68, 32767);

    PrepareBar(1920, 1080, SideLeft);
    EXPECT_EQ(FittingSlotCount(100000), 481);
    bar.slotCount = 481;
    ComputeLayout();
    EXPECT_LE(bar.barHeight, 32767);
    EXPECT_GT(bar.barHeight + 68, 32767);
}

}  // namespace
