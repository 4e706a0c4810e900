// The X display the end-to-end tests drive: the pointer through XTest, screenshots, and what the
// X server knows about the bar's windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Pixel {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Pixel&) const = default;
};

std::string PixelText(const Pixel& p);

// A screenshot of a rectangle of the root window, top-down RGB.
struct Shot {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
    // At a point relative to the shot's top-left corner.
    Pixel At(int px, int py) const;
};

struct WindowState {
    bool exists = false;
    bool viewable = false;
    bool overrideRedirect = false;
    int x = 0;  // root coordinates
    int y = 0;
    int width = 0;
    int height = 0;
};

// Opens the display named by DISPLAY once; every helper below uses it.
bool ConnectDisplay();
int ScreenWidth();
int ScreenHeight();

void MovePointer(int x, int y);
// Puts the pointer there as a program does (XWarpPointer), not as a pointer device moves it.
void WarpPointer(int x, int y);
// Button numbers as X has them: 1 left, 2 middle, 3 right.
void PressButton(int button);
void ReleaseButton(int button);
void ClickButton(int button);

Shot TakeShot(int x, int y, int width, int height);
// Writes the shot as a binary PPM, for looking at a failure.
void SaveShot(const Shot& shot, const std::string& path);

// The windows titled `title` that are children of the root window: the override-redirect one
// is the bar, the other the owner. 0 for one that is not there.
struct TitledWindows {
    unsigned long bar = 0;
    unsigned long owner = 0;
};
TitledWindows FindTitledWindows(const std::string& title);
WindowState StateOf(unsigned long window);
// How often a child of the root window has been mapped since ConnectDisplay.
int TimesMapped(unsigned long window);

// Asks the window to close the way a window manager does (WM_DELETE_WINDOW).
void RequestClose(unsigned long window);

// The window that has the keyboard focus (0 for none, 1 for PointerRoot).
unsigned long FocusWindow();
// The windows a window manager lists for taskbars and pagers (_NET_CLIENT_LIST); empty without one.
std::vector<unsigned long> ManagedClientList();
bool WindowManagerRunning();

// A plain window of another program, filled with one colour, asked for at an exact place.
unsigned long OpenOtherWindow(int x, int y, int width, int height, Pixel fill);
void RaiseWindow(unsigned long window);
void CloseOtherWindow(unsigned long window);
