#include <gtest/gtest.h>

#include "core/bar_state.h"
#include "render/draw_bar.h"

namespace {

struct ColorCase {
    uint32_t r, g, b;
    uint32_t slotR, slotG, slotB;
    uint32_t labelR, labelG, labelB;
};

TEST(DeriveColors, WorkedBackgrounds) {
    const ColorCase cases[] = {
        {32, 32, 32, 27, 27, 27, 226, 226, 226},     {200, 100, 50, 170, 85, 43, 75, 165, 210},
        {10, 30, 5, 8, 26, 4, 246, 228, 250},        {255, 255, 255, 217, 217, 217, 26, 26, 26},
        {0, 0, 0, 0, 0, 0, 255, 255, 255},
    };
    for (const ColorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.r << "," << c.g << "," << c.b);
        bar.backgroundColor = PackColor(c.r, c.g, c.b, 255);
        DeriveColors();
        EXPECT_EQ(bar.slotColor, PackColor(c.slotR, c.slotG, c.slotB, 255));
        EXPECT_EQ(bar.labelColor, PackColor(c.labelR, c.labelG, c.labelB, 255));
    }
}

TEST(DeriveColors, DefaultBackground) {
    bar.backgroundColor = DefaultBackgroundColor;
    DeriveColors();
    EXPECT_EQ(bar.slotColor, 0xFF1B1B1Bu);
    EXPECT_EQ(bar.labelColor, 0xFFE2E2E2u);
}

// The rules in exact integer arithmetic: c x 0.85 = 85c / 100, nearest, halves up except for
// c = 10; 255 - c x 0.9 = (25500 - 90c) / 100, nearest, halves to even.
uint32_t ExpectedSlotChannel(uint32_t c) {
    const uint32_t q = c * 85 / 100, r = c * 85 % 100;
    if (r == 50) return c == 10 ? 8 : q + 1;
    return r > 50 ? q + 1 : q;
}

uint32_t ExpectedLabelChannel(uint32_t c) {
    const uint32_t v = 25500 - 90 * c, q = v / 100, r = v % 100;
    if (r == 50) return q % 2 == 0 ? q : q + 1;
    return r > 50 ? q + 1 : q;
}

TEST(DeriveColors, EveryChannelValueInEveryPosition) {
    for (uint32_t c = 0; c < 256; ++c) {
        SCOPED_TRACE(c);
        const uint32_t s = ExpectedSlotChannel(c), l = ExpectedLabelChannel(c);
        // The channel in one position, distinct neighbours in the others, and an alpha byte that
        // must play no part.
        bar.backgroundColor = PackColor(c, 7, 200, 0x12);
        DeriveColors();
        EXPECT_EQ(bar.slotColor, PackColor(s, ExpectedSlotChannel(7), ExpectedSlotChannel(200), 255));
        EXPECT_EQ(bar.labelColor, PackColor(l, ExpectedLabelChannel(7), ExpectedLabelChannel(200), 255));
        bar.backgroundColor = PackColor(0, c, 0, 0);
        DeriveColors();
        EXPECT_EQ(bar.slotColor, PackColor(0, s, 0, 255));
        EXPECT_EQ(bar.labelColor, PackColor(255, l, 255, 255));
        bar.backgroundColor = PackColor(255, 255, c, 255);
        DeriveColors();
        EXPECT_EQ(bar.slotColor, PackColor(217, 217, s, 255));
        EXPECT_EQ(bar.labelColor, PackColor(26, 26, l, 255));
    }
}

TEST(DeriveColors, HalfwayChannels) {
    const uint32_t slotCases[][2] = {{10, 8}, {30, 26}, {50, 43}, {250, 213}};
    for (const auto& c : slotCases) {
        bar.backgroundColor = PackColor(c[0], 0, 0, 255);
        DeriveColors();
        EXPECT_EQ(RedOf(bar.slotColor), c[1]) << c[0];
    }
    const uint32_t labelCases[][2] = {{5, 250}, {15, 242}, {255, 26}};
    for (const auto& c : labelCases) {
        bar.backgroundColor = PackColor(c[0], 0, 0, 255);
        DeriveColors();
        EXPECT_EQ(RedOf(bar.labelColor), c[1]) << c[0];
    }
}

}  // namespace
