// Geometry at the ends of the 32-bit range: settings, displays and pointer positions that the
// desktop or the user can hand the bar, however unlikely, give a bar that works and no
// arithmetic that wraps.
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>

#include "core/hover.h"
#include "core/layout.h"
#include "store/links.h"
#include "tests/scenario/scenario_support.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/files.h"

namespace {

constexpr int32_t Most = std::numeric_limits<int32_t>::max();
constexpr int32_t Least = std::numeric_limits<int32_t>::min();

std::string At(int64_t x, int64_t y) { return "at " + std::to_string(x) + " " + std::to_string(y) + "\n"; }

// A strip of any thickness at the far edges: zero or less never reveals the bar, however far
// below zero; the widest strip reveals it from anywhere on the display.
TEST(ExtremeInput, RevealStripOfAnyThicknessAtTheFarEdges) {
    const struct {
        int32_t side;
        int32_t range;
        int32_t x, y;  // a pointer position to try
        bool shown;
    } cases[] = {
        {1, Least, 400, 1079, false}, {1, Least, 400, Most, false}, {1, -3, 400, 1079, false},
        {1, 0, 400, 1079, false},     {1, Most, 400, 0, true},      {1, Most, 400, -1000000, true},
        {2, Least, 1919, 500, false}, {2, Least, Most, 500, false}, {2, -1, 1919, 500, false},
        {2, Most, 0, 500, true},      {0, Least, 400, 0, false},    {3, Least, 0, 500, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "side " << c.side << ", range " << c.range << ", pointer " << c.x
                                        << ", " << c.y);
        WriteBytes("Settings.ini",
                   "Side = " + std::to_string(c.side) + "\r\nDetection Range = " + std::to_string(c.range) + "\r\n");
        const ScenarioRun run = RunScenario(At(5000, 5000) + At(c.x, c.y));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(CountOf(run, "shown"), c.shown ? 1 : 0);
    }
}

// Displays no desktop has: a negative size counts as none, and a display wider than any bar can
// be gets the longest bar there is, not a longer one.
TEST(ExtremeInput, DisplaysOfNoSizeOrBeyondAnyBar) {
    const struct {
        int32_t width, height;
        int32_t slots;  // the default for the top edge, written to the new settings file
    } cases[] = {
        {-1, -1, 0}, {Least, Most, 0}, {40000, 30000, 470}, {100000, 1000, 481}, {Most, Most, 481},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        std::filesystem::remove("Settings.ini");
        const ScenarioRun run = RunScenario("display " + std::to_string(c.width) + " " + std::to_string(c.height) +
                                            "\n" + At(5000, 5000));
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(bar.slotCount, c.slots);
        EXPECT_EQ(bar.barWidth, c.slots * 68 + 32);
        EXPECT_GE(bar.desktopWidth, 0);
        EXPECT_GE(bar.desktopHeight, 0);
        const std::string settings = ReadBytes("Settings.ini");
        EXPECT_EQ(settings.substr(settings.rfind("Links")), "Links = " + std::to_string(c.slots) + "\r\n");
    }
}

// A pointer at the far ends of the range is far off the bar: it hovers nothing, grows no icon and
// takes no drop.
TEST(ExtremeInput, PointerAtTheEndsOfTheRangeMissesTheBar) {
    PrepareBar(3);
    SetLink(0, L"C:\\a.txt", 0);
    const int32_t ends[] = {Least, Most};
    for (const int32_t x : ends) {
        for (const int32_t y : ends) {
            SCOPED_TRACE(testing::Message() << x << ", " << y);
            bar.clickFlags.leftClick = 1;
            UpdateHover(x, y);
            EXPECT_EQ(bar.hoverLabel, L"");
            EXPECT_EQ(bar.closeHover, 0);
            EXPECT_EQ(bar.quitRequested, 0);
            for (const LinkSlot& slot : bar.slots) EXPECT_EQ(slot.iconSize, 32);
            EXPECT_EQ(HandleDropOf(x, y, {L"C:\\b.txt"}), -1);
        }
    }
    EXPECT_EQ(bar.slots[0].path, L"C:\\a.txt");
    EXPECT_TRUE(HeadlessLaunches().empty());
    EXPECT_FALSE(FileExists("Links.txt"));
}

}  // namespace
