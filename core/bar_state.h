// The bar's one state record and its companion records. Everything the bar knows lives in
// `bar` (plus the pointer position of the current pass); operations read and change it directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// 0xAABBGGRR: red in the low byte, then green, blue, alpha.
using Color32 = uint32_t;

inline uint32_t RedOf(Color32 c) { return c & 0xFF; }
inline uint32_t GreenOf(Color32 c) { return (c >> 8) & 0xFF; }
inline uint32_t BlueOf(Color32 c) { return (c >> 16) & 0xFF; }
inline uint32_t AlphaOf(Color32 c) { return (c >> 24) & 0xFF; }

// Plain addition with no masking: a component beyond 255 spills into its neighbour, which the
// settings reader relies on. The arithmetic wraps at 32 bits.
inline Color32 PackColor(uint32_t r, uint32_t g, uint32_t b, uint32_t a) {
    return r + (g << 8) + (b << 16) + (a << 24);
}

struct Rect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const Rect&) const = default;
};

// The docking edge. Only 0 and 1 are horizontal: every other value takes the vertical branch.
using Side = int32_t;
constexpr Side SideTop = 0;
constexpr Side SideBottom = 1;
constexpr Side SideRight = 2;
constexpr Side SideLeft = 3;

inline bool IsHorizontal(Side side) { return side == SideTop || side == SideBottom; }

struct ClickFlags {
    int32_t leftClick = 0;
    int32_t rightClick = 0;
    int32_t leftDoubleClick = 0;
    int32_t rightDoubleClick = 0;
};

struct LinkSlot {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t index = 0;
    int32_t used = 0;
    IconHandle icon = nullptr;
    int32_t iconX = 0;
    int32_t iconY = 0;
    std::wstring path;
    std::wstring label;
    int32_t iconSize = 0;
};

struct BarState {
    std::wstring versionText;
    std::wstring titleText;
    WindowHandle ownerWindow = nullptr;
    WindowHandle barWindow = nullptr;
    CanvasHandle canvas = nullptr;
    void* barWindowHandle = nullptr;
    Side side = 0;
    int32_t hidden = 0;
    Color32 backgroundColor = 0;
    Color32 slotColor = 0;
    Color32 labelColor = 0;
    int32_t closeHover = 0;
    int32_t quitRequested = 0;
    int32_t slotCount = 0;
    int32_t slotGap = 0;
    std::wstring hoverLabel;
    int32_t detectionRange = 0;
    int32_t barWidth = 0;
    int32_t barHeight = 0;
    int32_t barX = 0;
    int32_t barY = 0;
    int32_t desktopWidth = 0;
    int32_t desktopHeight = 0;
    RgbaImage closeImage;
    Rect highlightRect;
    Rect detectionRect;
    Rect closeRect;
    ClickFlags clickFlags;
    std::vector<LinkSlot> slots;
    // 1 when "Links.txt" exists but start-up could not read it whole; it is then never replaced
    // during the run, so that the pins it holds are not lost.
    int32_t linksFileUnread = 0;
};

// The one state of the program, and the pointer position sampled at the start of the pass.
extern BarState bar;
extern int32_t mouseX;
extern int32_t mouseY;

// Geometry that the layout, hover and painting share.
constexpr int32_t SlotEdge = 64;
constexpr int32_t SlotInset = 4;
constexpr int32_t DefaultSlotGap = 4;
constexpr int32_t HorizontalBarThickness = 96;
constexpr int32_t VerticalBarThickness = 72;
constexpr int32_t RestingIconSize = 32;
constexpr int32_t RestingIconOffset = 16;
constexpr int32_t CloseInset = 4;
constexpr double SlotShareOfScreen = 0.8;
// The largest window extent the desktops allow; a bar is never made longer.
constexpr int32_t LongestBarExtent = 32767;

constexpr Color32 DefaultBackgroundColor = 0xFF202020;
constexpr int32_t DefaultDetectionRange = 4;
