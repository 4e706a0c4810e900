// Setting up a bar and its canvas for a frame, and reading pixels back.
#pragma once

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

#include "core/bar_state.h"
#include "core/layout.h"
#include "platform/platform.h"
#include "render/canvas.h"
#include "render/close_glyph.h"
#include "render/draw_bar.h"

using Rgb = std::array<int, 3>;

// Any non-null handle does: the scripted desktop only records what is presented.
inline CanvasHandle FakeCanvas() {
    static int canvasStandIn = 0;
    return reinterpret_cast<CanvasHandle>(&canvasStandIn);
}

// The bar as start-up leaves it on a 1920 x 1080 display (side 0 unless told), with its canvas.
inline void SetUpBar(Side side = SideTop, int32_t desktopWidth = 1920, int32_t desktopHeight = 1080) {
    bar.desktopWidth = desktopWidth;
    bar.desktopHeight = desktopHeight;
    bar.versionText = L"V 0.8";
    bar.titleText = L"Korvanta Edgeway";
    bar.backgroundColor = DefaultBackgroundColor;
    DeriveColors();
    bar.closeImage = DecodeCloseGlyph();
    bar.closeRect.width = bar.closeImage.width;
    bar.closeRect.height = bar.closeImage.height;
    bar.side = side;
    bar.slotGap = DefaultSlotGap;
    bar.detectionRange = DefaultDetectionRange;
    bar.slotCount = DefaultSlotCount();
    ComputeLayout();
    bar.canvas = FakeCanvas();
    CreateCanvasBuffer(bar.barWidth, bar.barHeight);
}

// A bare canvas of the given size, for the drawing operations on their own.
inline void SetUpCanvas(int32_t width, int32_t height) {
    bar.barWidth = width;
    bar.barHeight = height;
    bar.canvas = FakeCanvas();
    CreateCanvasBuffer(width, height);
}

inline Rgb PixelOf(int32_t x, int32_t y) {
    const uint8_t* p = &canvasBuffer.rgb[(static_cast<size_t>(y) * canvasBuffer.width + x) * 3];
    return {p[0], p[1], p[2]};
}

inline void SetPixel(int32_t x, int32_t y, Rgb value) {
    uint8_t* p = &canvasBuffer.rgb[(static_cast<size_t>(y) * canvasBuffer.width + x) * 3];
    for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(value[c]);
}

inline void FillCanvas(Rgb value) {
    for (int32_t y = 0; y < canvasBuffer.height; ++y)
        for (int32_t x = 0; x < canvasBuffer.width; ++x) SetPixel(x, y, value);
}

inline Rgb Grey(int v) { return {v, v, v}; }

// An RGBA image of one colour.
inline RgbaImage SolidImage(int32_t width, int32_t height, std::array<uint8_t, 4> rgba) {
    RgbaImage image;
    image.width = width;
    image.height = height;
    for (int32_t i = 0; i < width * height; ++i) image.pixels.insert(image.pixels.end(), rgba.begin(), rgba.end());
    return image;
}
