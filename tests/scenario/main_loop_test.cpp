#include <gtest/gtest.h>
#include <string>

#include "tests/scenario/scenario_support.h"
#include "tests/support/files.h"

namespace {

std::string At(int32_t x, int32_t y, int passes = 1) {
    return "at " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(passes) + "\n";
}

const std::string Away = At(5000, 5000);

struct SideRanges {
    int32_t side;
    int32_t revealX0, revealX1, revealY0, revealY1;
    int32_t keepX0, keepX1, keepY0, keepY1;
};

// 1920 x 1080 with the default settings: where each side's strip reveals the bar and where the
// bar stays shown, both ends included.
const SideRanges Sides[] = {
    {0, 196, 1723, 0, 3, 196, 1724, 0, 96},
    {1, 196, 1723, 1076, 1079, 196, 1724, 984, 1080},
    {2, 1916, 1919, 104, 975, 1848, 1920, 104, 976},
    {3, 0, 3, 104, 975, 0, 72, 104, 976},
};

void UseSide(int32_t side) { WriteBytes("Settings.ini", "Side = " + std::to_string(side) + "\r\n"); }

TEST(MainLoop, RevealStripOfEverySideIncludesBothEndsAndNothingMore) {
    for (const SideRanges& s : Sides) {
        UseSide(s.side);
        struct Point { int32_t x, y; bool reveals; } const points[] = {
            {s.revealX0, s.revealY0, true},      {s.revealX1, s.revealY1, true},
            {s.revealX0 - 1, s.revealY0, false}, {s.revealX1 + 1, s.revealY1, false},
            {s.revealX0, s.revealY0 - 1, false}, {s.revealX1, s.revealY1 + 1, false},
        };
        for (const Point& p : points) {
            SCOPED_TRACE(testing::Message() << "side " << s.side << " at " << p.x << "," << p.y);
            const ScenarioRun run = RunScenario(Away + At(p.x, p.y));
            EXPECT_EQ(CountOf(run, "shown"), p.reveals ? 1 : 0);
            EXPECT_EQ(run.exitCode, 0);
        }
    }
}

TEST(MainLoop, BarStaysShownInsideItsRectangleBothEndsIncluded) {
    for (const SideRanges& s : Sides) {
        UseSide(s.side);
        const std::string reveal = Away + At((s.revealX0 + s.revealX1) / 2, (s.revealY0 + s.revealY1) / 2);
        struct Point { int32_t x, y; bool keeps; } const points[] = {
            {s.keepX0, s.keepY0, true},      {s.keepX1, s.keepY1, true},
            {s.keepX0 - 1, s.keepY0, false}, {s.keepX1 + 1, s.keepY1, false},
            {s.keepX0, s.keepY0 - 1, false}, {s.keepX1, s.keepY1 + 1, false},
        };
        for (const Point& p : points) {
            SCOPED_TRACE(testing::Message() << "side " << s.side << " at " << p.x << "," << p.y);
            const ScenarioRun run = RunScenario(reveal + At(p.x, p.y));
            ASSERT_EQ(CountOf(run, "shown"), 1);
            EXPECT_EQ(CountOf(run, "hidden"), p.keeps ? 1 : 2);
        }
    }
}

TEST(MainLoop, TopBarExamplePoints) {
    struct Case { int32_t x, y; bool reveals; } const reveals[] = {
        {196, 0, true}, {1723, 3, true}, {195, 0, false}, {1724, 0, false}, {300, 4, false},
    };
    for (const Case& c : reveals) {
        EXPECT_EQ(CountOf(RunScenario(Away + At(c.x, c.y)), "shown"), c.reveals ? 1 : 0) << c.x << "," << c.y;
    }
    struct Keep { int32_t x, y; bool keeps; } const keeps[] = {{1724, 96, true}, {1725, 50, false}, {300, 97, false}};
    for (const Keep& k : keeps) {
        const ScenarioRun run = RunScenario(Away + At(300, 1) + At(k.x, k.y));
        EXPECT_EQ(CountOf(run, "hidden"), k.keeps ? 1 : 2) << k.x << "," << k.y;
    }
}

TEST(MainLoop, LeftStripOfThicknessOneRevealsAtTheScreenEdge) {
    WriteBytes("Settings.ini", "Side = 3\r\nDetection Range = 1\r\n");
    EXPECT_EQ(CountOf(RunScenario(Away + At(0, 500)), "shown"), 1);
    EXPECT_EQ(CountOf(RunScenario(Away + At(1, 500)), "shown"), 0);
}

TEST(MainLoop, StripDeeperThanTheBarShowsAndHidesOnAlternatePasses) {
    WriteBytes("Settings.ini", "Detection Range = 120\r\n");
    const ScenarioRun run = RunScenario(Away + At(300, 110, 6));
    std::vector<std::string> changes;
    for (const std::string& a : run.actions) {
        if (a == "shown" || a == "hidden") changes.push_back(a);
    }
    // The first pass hides the bar; then each pass in the strip but outside the bar flips it.
    const std::vector<std::string> expected = {"hidden", "shown", "hidden", "shown", "hidden", "shown", "hidden", "shown"};
    EXPECT_EQ(changes, expected);
}

TEST(MainLoop, FirstPassHidesTheBarUnlessThePointerIsInsideIt) {
    const ScenarioRun inside = RunScenario(At(300, 40, 3));
    EXPECT_EQ(CountOf(inside, "hidden"), 0);
    EXPECT_TRUE(HeadlessBarShown());
    const ScenarioRun outside = RunScenario(At(300, 500));
    EXPECT_EQ(CountOf(outside, "hidden"), 1);
    EXPECT_EQ(outside.actions.at(2), "hidden");  // right after start and the window's opening
}

TEST(MainLoop, CloseRequestEndsTheProgramAtOnceHiddenOrShown) {
    for (const std::string which : {"bar", "owner"}) {
        const ScenarioRun hidden = RunScenario(Away + Away + "close " + which + "\n" + At(5000, 5000, 5));
        EXPECT_EQ(hidden.exitCode, 0);
        EXPECT_EQ(HeadlessPassCount(), 2);
        EXPECT_EQ(CountStartingWith(hidden, "scenario over"), 0);

        const ScenarioRun shown = RunScenario(At(300, 40) + At(300, 40) + "close " + which + "\n" + At(300, 40, 5));
        EXPECT_EQ(shown.exitCode, 0);
        EXPECT_EQ(HeadlessPassCount(), 2);
        // The pass that took the close request ends before painting: only the first pass painted.
        EXPECT_EQ(HeadlessPresentedFrames(), 1);
    }
}

TEST(MainLoop, ClickOnTheCloseGlyphFinishesItsPassWithARepaint) {
    // The close button sits at (1500, 4, 24, 24) of the bar at (196, 0). The first pass paints the
    // bar without the highlight, the second gets the click on the button.
    const ScenarioRun run = RunScenario(At(1700, 40) + At(1708, 16) + "click left\n" + At(1708, 16, 5));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(HeadlessPassCount(), 2);
    EXPECT_EQ(HeadlessPresentedFrames(), 2);
    EXPECT_EQ(bar.quitRequested, 1);
    // The last frame shows the highlighted button: background under the tint becomes 87.
    const std::vector<uint8_t>& screen = HeadlessScreen();
    const size_t at = (static_cast<size_t>(5) * bar.barWidth + 1501) * 3;
    EXPECT_EQ(screen.at(at), 87);
}

TEST(MainLoop, FirstFrameAfterARevealHasEveryIconAtRestAndNoLabel) {
    WriteBytes("Links.txt", "Link 0 = /tmp/a.txt\r\nLink 1 = /tmp/b.txt\r\n");
    const ScenarioRun run = RunScenario(At(236, 40, 2) + Away + At(300, 1) + "frame revealed.png\n");
    ASSERT_EQ(CountOf(run, "shown"), 1);
    for (const LinkSlot& slot : bar.slots) {
        EXPECT_EQ(slot.iconSize, 32);
        EXPECT_EQ(slot.iconX, slot.x + 16);
    }
    EXPECT_EQ(bar.hoverLabel, L"");
    ASSERT_EQ(HeadlessFrames().size(), 1u);
    const HeadlessFrame first = HeadlessFrames()[0];

    // The same reveal without the earlier visit paints the same frame.
    const ScenarioRun fresh = RunScenario(Away + At(300, 1) + "frame revealed.png\n");
    ASSERT_EQ(HeadlessFrames().size(), 1u);
    EXPECT_EQ(HeadlessFrames()[0].rgb, first.rgb);
}

}  // namespace
