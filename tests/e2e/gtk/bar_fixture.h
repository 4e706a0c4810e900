// What every end-to-end test of the GTK bar shares: a fresh folder to start the bar in, the bar
// process and its windows, and the geometry of the default bar on the 1920 x 1080 test display.
#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "tests/e2e/gtk/processes.h"
#include "tests/e2e/gtk/x_desktop.h"

// The default top bar on 1920 x 1080: 22 slots, 1528 x 96 at (196, 0).
constexpr int BarX = 196;
constexpr int BarY = 0;
constexpr int BarWidth = 1528;
constexpr int BarHeight = 96;
constexpr int SlotCount = 22;
constexpr int SlotPitch = 68;
constexpr int SlotEdge = 64;

constexpr Pixel Background{32, 32, 32};
constexpr Pixel SlotColour{27, 27, 27};

// Slot boxes in bar coordinates, and their centres on the screen.
inline int SlotLeft(int slot) { return slot * SlotPitch + 4; }
constexpr int SlotTop = 4;
inline int SlotCentreX(int slot) { return BarX + SlotLeft(slot) + SlotEdge / 2; }
constexpr int SlotCentreY = BarY + SlotTop + SlotEdge / 2;

// The close glyph's box in bar coordinates.
constexpr int CloseLeft = 1500;
constexpr int CloseTop = 4;

constexpr int WaitLimitMs = 5000;   // for things that must happen
constexpr int QuietSpellMs = 300;   // for things that must not: six hidden passes and more

// Links.txt as the bar writes it for `slotCount` slots with the given paths.
std::string LinksFileOf(const std::vector<std::string>& paths, int slotCount = SlotCount);

// The box of pixels in slot `slot` of a shot of the whole bar that differ from the slot colour,
// relative to the slot box; empty (width 0) when the box is plain.
struct Extent {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};
Extent IconExtent(const Shot& bar, int slot);

// Pixels of the rectangle (bar coordinates) of a shot of the whole bar that pass `test`.
int CountPixels(const Shot& bar, int x, int y, int width, int height, const std::function<bool(Pixel)>& test);

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = WaitLimitMs);

class GtkBarTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string PathOf(const std::string& name) const { return folder + "/" + name; }
    void WriteFile(const std::string& name, const std::string& bytes) const;
    std::string ReadFile(const std::string& name) const;
    // An executable script in the folder that notes its working folder, its argument count and
    // its GDK_SCALE and GDK_DPI_SCALE in `marker` each time it runs.
    std::string WriteMarkerProgram(const std::string& name, const std::string& marker) const;

    // Starts the bar in the folder and waits for its windows.
    void StartBar(const std::vector<std::string>& extraEnvironment = {});
    bool BarShown();
    // The bar window's place on the screen, in root-window pixels.
    void ExpectBarPlace(int x, int y, int width, int height);
    bool WaitBarShown(bool shown, int timeoutMs = WaitLimitMs);
    // True when the bar is still as `shown` says after a quiet spell.
    bool BarStays(bool shown);
    // Touches the reveal strip above (x, y), waits for the bar, then moves to (x, y) and gives
    // the bar time to leave the revealing pass.
    void RevealAndMoveTo(int x, int y);
    Shot BarShot();
    // Waits for a shot of the rectangle that passes `test`; the last shot either way.
    Shot WaitForShot(int x, int y, int width, int height, const std::function<bool(const Shot&)>& test,
                     int timeoutMs = WaitLimitMs);
    // The same for the whole default bar.
    Shot WaitForBarShot(const std::function<bool(const Shot&)>& test, int timeoutMs = WaitLimitMs);
    // Clicks a button with a pause after pressing, as a hand does.
    void ClickSlowly(int button);

    std::string folder;
    Process bar;
    TitledWindows windows;
};

// The suite's stand-in default application (for text files and folders) notes its working
// folder, its arguments and its GDK_SCALE and GDK_DPI_SCALE in `path` when the bar was started
// with this environment entry.
std::string OpenedLogEnvironment(const std::string& path);

std::string DragSourceBinary();
