// Pinning files by dragging them from another program onto the bar.
#include <filesystem>
#include <gtest/gtest.h>

#include "tests/e2e/gtk/bar_fixture.h"

namespace {

constexpr int SourceX = 800;
constexpr int SourceY = 500;

bool LabelInk(Pixel p) { return p.r > 150 && p.g > 150 && p.b > 150; }

// Moves the pointer from where it is to (x, y) in `steps` steps, as a hand drags.
void Glide(int fromX, int fromY, int x, int y, int steps, int pauseMs) {
    for (int i = 1; i <= steps; ++i) {
        MovePointer(fromX + (x - fromX) * i / steps, fromY + (y - fromY) * i / steps);
        SleepMs(pauseMs);
    }
}

class GtkBarDropTest : public GtkBarTest {
protected:
    // Drags `paths` from the drag source onto (x, y) of the screen, through the reveal strip
    // above it, and drops them there. What the source says about the end of the drag.
    std::string DragOnto(const std::vector<std::string>& paths, int x, int y, const std::vector<std::string>& options) {
        std::vector<std::string> argv{DragSourceBinary(), "--at", std::to_string(SourceX) + "," + std::to_string(SourceY)};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), paths.begin(), paths.end());
        Process source = StartProcess(argv, folder, {}, PathOf("drag-source-stderr.txt"), true);
        const std::string ready = ReadOutputLine(source, WaitLimitMs * 2);
        if (ready != "ready") {
            StopProcess(source);
            return "the drag source did not start: " + ready;
        }
        const int startX = SourceX + 32, startY = SourceY + 32;
        MovePointer(startX, startY);
        SleepMs(50);
        PressButton(1);
        SleepMs(50);
        Glide(startX, startY, x, BarY + 1, 12, 25);
        const bool revealed = WaitBarShown(true);
        SleepMs(100);
        Glide(x, BarY + 1, x, y, 4, 40);
        SleepMs(200);
        ReleaseButton(1);
        std::string outcome = ReadOutputLine(source, WaitLimitMs);
        WaitForEnd(source, WaitLimitMs);
        StopProcess(source);
        return revealed ? outcome : "the bar did not appear during the drag; " + outcome;
    }

    bool LinksBecome(const std::vector<std::string>& paths) {
        return WaitUntil([&] { return ReadFile("Links.txt") == LinksFileOf(paths); });
    }
};

TEST_F(GtkBarDropTest, FilesDraggedWithTheLinkActionArePinnedUnderThePointer) {
    std::filesystem::create_directories(PathOf("docs"));
    // The third name travels percent-encoded in the uri-list and must come back as it was.
    const char* const thirdName = "docs/third file \xC3\xBC.txt";
    for (const char* name : {"docs/notes.txt", "docs/other.txt", thirdName}) WriteFile(name, "text\n");
    const std::string notes = PathOf("docs/notes.txt"), other = PathOf("docs/other.txt"), third = PathOf(thirdName);
    StartBar();
    ASSERT_TRUE(WaitBarShown(false));

    ASSERT_EQ(DragOnto({notes}, SlotCentreX(3), SlotCentreY, {}), "dropped link");
    ASSERT_TRUE(LinksBecome({"", "", "", notes})) << ReadFile("Links.txt");

    // The pointer rests on the new link: its icon is drawn at 64 pixels and its name is
    // centred under the row in the light label colour.
    Shot shot = WaitForBarShot([](const Shot& s) { return IconExtent(s, 3).width > 48; });
    EXPECT_GT(IconExtent(shot, 3).width, 48);
    const int labelTop = BarHeight - 22;
    const int inkLeft = [&] {
        for (int x = 0; x < BarWidth; ++x)
            if (CountPixels(shot, x, labelTop, 1, 22, LabelInk) > 0) return x;
        return -1;
    }();
    const int inkRight = [&] {
        for (int x = BarWidth - 1; x >= 0; --x)
            if (CountPixels(shot, x, labelTop, 1, 22, LabelInk) > 0) return x;
        return -1;
    }();
    ASSERT_GE(inkLeft, 0) << "no label under the row";
    EXPECT_GT(inkRight - inkLeft, 30) << "a label of nine characters";
    EXPECT_LT(inkRight - inkLeft, 120);
    EXPECT_NEAR((inkLeft + inkRight) / 2.0, BarWidth / 2.0, 4.0) << "the label is centred on the bar";

    // Hidden and revealed away from it, the bar shows the icon back at 32 pixels inside its box
    // and no label: the frame painted for showing, not the one it was hidden with.
    MovePointer(SlotCentreX(12), 400);
    ASSERT_TRUE(WaitBarShown(false));
    RevealAndMoveTo(SlotCentreX(12), SlotCentreY);
    shot = WaitForBarShot([](const Shot& s) {
        const Extent e = IconExtent(s, 3);
        return e.width > 0 && e.width <= 32;
    });
    const Extent rest = IconExtent(shot, 3);
    EXPECT_GE(rest.left, 16);
    EXPECT_LE(rest.left + rest.width, 48);
    EXPECT_GE(rest.top, 16);
    EXPECT_LE(rest.top + rest.height, 48);
    EXPECT_EQ(CountPixels(shot, 0, labelTop, BarWidth, 22, LabelInk), 0);

    // A source that allows only copying cannot drop on the bar.
    EXPECT_EQ(DragOnto({other}, SlotCentreX(5), SlotCentreY, {"--actions", "copy"}), "cancelled");
    SleepMs(QuietSpellMs);
    EXPECT_EQ(ReadFile("Links.txt"), LinksFileOf({"", "", "", notes}));

    // One that allows copying and linking, and offers the list only as UTF8_STRING, can.
    EXPECT_EQ(DragOnto({other}, SlotCentreX(5), SlotCentreY, {"--actions", "copy,link", "--utf8-string"}),
              "dropped link");
    EXPECT_TRUE(LinksBecome({"", "", "", notes, "", other})) << ReadFile("Links.txt");

    // Several files dropped on a used slot: the first replaces its link.
    EXPECT_EQ(DragOnto({third, notes}, SlotCentreX(3), SlotCentreY, {}), "dropped link");
    EXPECT_TRUE(LinksBecome({"", "", "", third, "", other})) << ReadFile("Links.txt");
    shot = WaitForBarShot([](const Shot& s) { return IconExtent(s, 5).width > 0; });
    EXPECT_GT(IconExtent(shot, 5).width, 0) << "the link on slot 5 has its icon";
}

}  // namespace
