// A shorter form of the long runs (tools/long_run): the bar keeps working through thousands of
// passes of random events and hundreds of drops and clears, holds on to no more memory than it
// started with, and gives back every icon it does not hold.
#include <gtest/gtest.h>
#include <random>

#include "core/bar_state.h"
#include "tests/support/files.h"
#include "tools/long_run/long_run.h"

namespace {

TEST(LongUse, DropsAndClearsHoldNoMoreMemoryAndNoIcon) {
    StartLongRun();
    RunDropsAndClears(200);  // caches warm up
    const LongRunFigures warm = MeasureLongRun();
    RunDropsAndClears(400);
    const LongRunFigures after = MeasureLongRun();
    EndLongRun();
    EXPECT_LE(after.heapBytes - warm.heapBytes, 4096);  // the allocator's own bookkeeping wavers a little
    EXPECT_EQ(after.liveIcons, 0);
    for (const LinkSlot& slot : bar.slots) EXPECT_EQ(slot.used, 0);
    std::string empty;
    for (size_t i = 0; i < bar.slots.size(); ++i) empty += "Link " + std::to_string(i) + " = \r\n";
    EXPECT_EQ(ReadBytes("Links.txt"), empty);
}

TEST(LongUse, RandomPassesHoldNoMoreMemoryAndEveryIconIsHeld) {
    std::mt19937 random(11);
    StartLongRun();
    // Long enough for what settles in the first thousands of passes: the font rasteriser's
    // buffers grow to the largest glyph of the names seen so far.
    RunRandomPasses(3000, random);
    EmptyEverySlot();
    const LongRunFigures warm = MeasureLongRun();
    for (int piece = 0; piece < 4; ++piece) {
        RunRandomPasses(500, random);
        const LongRunFigures held = MeasureLongRun();
        EXPECT_EQ(held.liveIcons, held.heldIcons);
    }
    EmptyEverySlot();
    const LongRunFigures after = MeasureLongRun();
    EndLongRun();
    EXPECT_GT(after.passes, 5000);
    EXPECT_LE(after.heapBytes - warm.heapBytes, 4096);
    EXPECT_EQ(after.liveIcons, 0);
}

}  // namespace
