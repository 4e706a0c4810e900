#include <algorithm>
#include <climits>
#include <functional>
#include <iterator>
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "render/drawing.h"
#include "render/picture_cache.h"
#include "core/hover.h"
#include "store/links.h"
#include "render_support.h"

namespace {

constexpr int Background = 32;  // 0xFF202020
constexpr int SlotShade = 27;   // its slot colour

// The columns and rows holding anything but the background inside a strip of the frame.
struct Ink {
    int32_t left = INT32_MAX, right = -1, top = INT32_MAX, bottom = -1;
    bool Any() const { return right >= 0; }
};

Ink InkIn(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb background) {
    Ink ink;
    for (int32_t y = y0; y < y1; ++y) {
        for (int32_t x = x0; x < x1; ++x) {
            if (PixelOf(x, y) == background) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

bool HasPixel(int32_t x0, int32_t y0, int32_t x1, int32_t y1, Rgb value) {
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x)
            if (PixelOf(x, y) == value) return true;
    return false;
}

void PinIcon(int32_t slot, const wchar_t* path) {
    bar.slots[slot].used = 1;
    bar.slots[slot].path = path;
    bar.slots[slot].icon = FindShellIcon(path, 1, 1);
}

}  // namespace

TEST(DrawBar, EmptyTopBarLayers) {
    SetUpBar();
    DrawBar();
    struct {
        int32_t x, y;
        int value;
        const char* what;
    } cases[] = {
        {0, 0, Background, "top-left corner"},
        {3, 40, Background, "left of slot 0"},
        {4, 4, SlotShade, "slot 0, first pixel"},
        {67, 67, SlotShade, "slot 0, last pixel"},
        {68, 30, Background, "gap after slot 0"},
        {4, 68, Background, "below slot 0"},
        {1432, 4, SlotShade, "slot 21, first pixel"},
        {1495, 67, SlotShade, "slot 21, last pixel"},
        {1496, 30, Background, "after slot 21"},
        {1500, 4, Background, "close glyph, clear corner"},
        {1511, 15, 199, "close glyph, opaque centre"},
        {1527, 95, Background, "bottom-right corner"},
    };
    for (const auto& c : cases) EXPECT_EQ(PixelOf(c.x, c.y), Grey(c.value)) << c.what;
    // A slot box is all of one colour when it holds nothing.
    EXPECT_FALSE(InkIn(4, 4, 68, 68, Grey(SlotShade)).Any());
}

TEST(DrawBar, VersionTextEndsFourPixelsBeforeTheRightEdge) {
    SetUpBar();
    DrawBar();
    const int32_t width = MeasureText(L"V 0.8");
    ASSERT_GT(width, 0);
    const Ink ink = InkIn(0, 68, bar.barWidth, bar.barHeight, Grey(Background));
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, bar.barWidth - 4 - width);
    EXPECT_LT(ink.right, bar.barWidth - 4);
    EXPECT_GE(ink.top, bar.barHeight - 22);
    // Drawn in the slot colour: a little darker than the background, nowhere lighter.
    EXPECT_TRUE(HasPixel(ink.left, ink.top, ink.right + 1, ink.bottom + 1, Grey(SlotShade)));
    for (int32_t y = ink.top; y <= ink.bottom; ++y)
        for (int32_t x = ink.left; x <= ink.right; ++x) EXPECT_LE(PixelOf(x, y)[0], Background);
}

TEST(DrawBar, HoverLabelIsCentredInTheLabelColour) {
    SetUpBar();
    bar.hoverLabel = L"notes.txt";
    DrawBar();
    const int32_t width = MeasureText(bar.hoverLabel);
    const int32_t left = HoverLabelX(bar.barWidth, width);
    const Ink ink = InkIn(0, 68, bar.barWidth - 60, bar.barHeight, Grey(Background));
    ASSERT_TRUE(ink.Any());
    EXPECT_GE(ink.left, left);
    EXPECT_LT(ink.right, left + width);
    EXPECT_GE(ink.top, bar.barHeight - 22);
    EXPECT_TRUE(HasPixel(ink.left, ink.top, ink.right + 1, ink.bottom + 1, Grey(226)));
}

TEST(DrawBar, FooterPositions) {
    struct {
        int32_t barWidth, textWidth, label, version;
    } cases[] = {
        {848, 45, 402, 799},   // 401.5: the even neighbour
        {848, 44, 402, 800},
        {72, 101, -14, -33},   // -14.5: cut at both edges
        {1528, 33, 748, 1491},
        {32, 33, 0, -5},       // the bar of no slots: the version text starts left of it
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HoverLabelX(c.barWidth, c.textWidth), c.label) << c.barWidth << " " << c.textWidth;
        EXPECT_EQ(VersionTextX(c.barWidth, c.textWidth), c.version) << c.barWidth << " " << c.textWidth;
    }
}

TEST(DrawBar, CloseHighlightLightensTheButtonSquareOnly) {
    SetUpBar();
    bar.closeHover = 1;
    bar.highlightRect = bar.closeRect;
    DrawBar();
    EXPECT_EQ(PixelOf(1500, 4), Grey(87));     // background inside the square
    EXPECT_EQ(PixelOf(1511, 15), Grey(213));   // opaque glyph pixel
    EXPECT_EQ(PixelOf(1523, 27), Grey(87));    // last pixel of the square
    EXPECT_EQ(PixelOf(1499, 4), Grey(Background));
    EXPECT_EQ(PixelOf(1524, 27), Grey(Background));
    EXPECT_EQ(PixelOf(1500, 28), Grey(Background));
    // The highlight is drawn only while the pointer is over the button.
    bar.closeHover = 0;
    DrawBar();
    EXPECT_EQ(PixelOf(1500, 4), Grey(Background));
}

TEST(DrawBar, OnlyUsedSlotsWithAnIconShowOne) {
    SetUpBar();
    PinIcon(0, L"/home/me/a.txt");
    bar.slots[1].used = 1;  // pinned, but the shell had no icon
    bar.slots[1].path = L"/home/me/gone";
    bar.slots[2].icon = FindShellIcon(L"/home/me/b.txt", 1, 1);  // an icon, but not in use
    DrawBar();
    RgbaImage icon;
    ASSERT_TRUE(IconPixels(bar.slots[0].icon, &icon));
    ASSERT_EQ(icon.width, 32);
    // Resting size 32 on a 32 x 32 icon: composited unscaled at the icon's place.
    for (int32_t y = 0; y < 32; ++y) {
        for (int32_t x = 0; x < 32; ++x) {
            const uint8_t* p = &icon.pixels[(y * 32 + x) * 4];
            const int a = p[3];
            const Rgb expected = {(p[0] * a + SlotShade * (255 - a)) / 255, (p[1] * a + SlotShade * (255 - a)) / 255,
                                  (p[2] * a + SlotShade * (255 - a)) / 255};
            ASSERT_EQ(PixelOf(20 + x, 20 + y), expected) << x << "," << y;
        }
    }
    EXPECT_FALSE(InkIn(72, 4, 136, 68, Grey(SlotShade)).Any()) << "used slot without icon";
    EXPECT_FALSE(InkIn(140, 4, 204, 68, Grey(SlotShade)).Any()) << "icon in an unused slot";
    ReleaseIcon(bar.slots[2].icon);
    bar.slots[2].icon = nullptr;
}

TEST(DrawBar, MagnifiedIconFillsItsBoxAndStaysInside) {
    SetUpBar();
    PinIcon(3, L"/home/me/c.dat");
    RgbaImage icon;
    ASSERT_TRUE(IconPixels(bar.slots[3].icon, &icon));
    LinkSlot& slot = bar.slots[3];
    slot.iconSize = 64;
    slot.iconX = slot.x;
    slot.iconY = slot.y;
    DrawBar();
    const bool opaqueCorners = icon.pixels[3] == 255 && icon.pixels[(31 * 32 + 31) * 4 + 3] == 255;
    if (opaqueCorners) {
        EXPECT_NE(PixelOf(slot.x, slot.y), Grey(SlotShade));
        EXPECT_NE(PixelOf(slot.x + 63, slot.y + 63), Grey(SlotShade));
    }
    EXPECT_TRUE(InkIn(slot.x, slot.y, slot.x + 64, slot.y + 64, Grey(SlotShade)).Any());
    // Nothing of it leaks into the gaps around the box.
    EXPECT_FALSE(InkIn(slot.x - 4, slot.y, slot.x, slot.y + 64, Grey(Background)).Any());
    EXPECT_FALSE(InkIn(slot.x + 64, slot.y, slot.x + 68, slot.y + 64, Grey(Background)).Any());
    EXPECT_FALSE(InkIn(slot.x, slot.y + 64, slot.x + 64, slot.y + 68, Grey(Background)).Any());
}

TEST(DrawBar, SameStateGivesTheSameFrameEachTime) {
    SetUpBar(SideRight);
    PinIcon(0, L"/home/me/a.txt");
    PinIcon(1, L"/home/me/b.png");
    bar.slots[1].iconSize = 47;
    bar.slots[1].iconX = bar.slots[1].x + 8;
    bar.slots[1].iconY = bar.slots[1].y + 9;
    bar.hoverLabel = L"b.png";
    const int64_t presented = HeadlessPresentedFrames();
    DrawBar();
    const std::vector<uint8_t> first = canvasBuffer.rgb;
    FillCanvas(Grey(255));
    ForgetDrawnFrame();
    DrawBar();
    EXPECT_EQ(canvasBuffer.rgb, first);
    EXPECT_EQ(HeadlessPresentedFrames(), presented + 2);
    EXPECT_EQ(HeadlessScreen(), first);
}

TEST(DrawBar, UnchangedStatePaintsAndPresentsNothingNew) {
    SetUpBar();
    PinIcon(0, L"/home/me/a.txt");
    DrawBar();
    const int64_t presented = HeadlessPresentedFrames();
    DrawBar();
    EXPECT_EQ(HeadlessPresentedFrames(), presented);
    // Whatever DrawBar paints from counts as a change.
    const std::function<void()> changes[] = {
        [] { bar.hoverLabel = L"a.txt"; },
        [] { bar.closeHover = 1; bar.highlightRect = bar.closeRect; },
        [] { bar.slots[0].iconSize = 40; bar.slots[0].iconX -= 4; },
        [] { bar.slots[1].used = 1; bar.slots[1].icon = FindShellIcon(L"/home/me/b.png", 1, 1); },
        [] { bar.slots[1].used = 0; },
        [] { bar.backgroundColor = 0xFF000080; },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        changes[i]();
        const std::vector<uint8_t> before = canvasBuffer.rgb;
        DrawBar();
        EXPECT_EQ(HeadlessPresentedFrames(), presented + 1 + static_cast<int64_t>(i)) << "change " << i;
        EXPECT_NE(canvasBuffer.rgb, before) << "change " << i;
    }
}

TEST(DrawBar, AnIconReplacedUnderTheSameHandleIsPaintedAnew) {
    SetUpBar();
    SetLink(0, L"/home/me/a.txt", 0);
    DrawBar();
    const std::vector<uint8_t> withText = canvasBuffer.rgb;
    // The desktop may give the new icon the handle the old one had; the frame must still change.
    SetLink(0, L"/home/me/a.png", 0);
    DrawBar();
    EXPECT_NE(canvasBuffer.rgb, withText);
    const std::vector<uint8_t> withPicture = canvasBuffer.rgb;
    ForgetDrawnFrame();
    SetPictureKeeping(false);
    DrawBar();
    EXPECT_EQ(canvasBuffer.rgb, withPicture);
}

TEST(DrawBar, KeptLayersStayRightThroughFramesPaintedOnTheLastOne) {
    SetUpBar();
    for (int32_t i = 0; i < 6; ++i) PinIcon(i, (L"/home/me/file" + std::to_wstring(i) + L".t" + std::to_wstring(i)).c_str());
    // The pointer wanders over the first slots, each frame painted on the one before; then a
    // frame starts again from the kept layers alone.
    const int32_t along[] = {40, 52, 90, 130, 131, 200, 60};
    for (int32_t x : along) {
        UpdateHover(bar.barX + x, bar.barY + 40);
        DrawBar();
    }
    ForgetDrawnFrame();
    FillCanvas(Grey(255));
    DrawBar();
    const std::vector<uint8_t> fromKept = canvasBuffer.rgb;
    SetPictureKeeping(false);
    DrawBar();
    EXPECT_EQ(canvasBuffer.rgb, fromKept);
}
