// The icon resampler against a reference written out here on its own: the cubic with B = C = 1/3
// in its expanded form, the plain sum over the source pixels the support reaches, renormalised,
// rounded to 8 bits after each direction.
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "render/resample.h"
#include "render_support.h"

namespace {

double Cubic(double x) {
    x = std::fabs(x);
    if (x < 1) return 7.0 / 6 * x * x * x - 2 * x * x + 8.0 / 9;
    if (x < 2) return -7.0 / 18 * x * x * x + 2 * x * x - 10.0 / 3 * x + 16.0 / 9;
    return 0;
}

// One direction over one channel of a line of samples.
std::vector<int> ReferenceLine(const std::vector<int>& source, int target) {
    const int n = static_cast<int>(source.size());
    const double factor = static_cast<double>(target) / n;
    const double squeeze = std::min(1.0, factor);
    std::vector<int> out;
    for (int t = 0; t < target; ++t) {
        const double centre = (t + 0.5) / factor - 0.5;
        double sum = 0, total = 0;
        for (int s = 0; s < n; ++s) {
            const double w = Cubic((s - centre) * squeeze);
            sum += w * source[s];
            total += w;
        }
        out.push_back(static_cast<int>(std::clamp(std::nearbyint(sum / total), 0.0, 255.0)));
    }
    return out;
}

RgbaImage Row(const std::vector<std::array<uint8_t, 4>>& pixels) {
    RgbaImage image;
    image.width = static_cast<int32_t>(pixels.size());
    image.height = 1;
    for (const auto& p : pixels) image.pixels.insert(image.pixels.end(), p.begin(), p.end());
    return image;
}

RgbaImage Whole(const RgbaImage& source, int32_t width, int32_t height) {
    return ResampledWindow(source, width, height, Rect{0, 0, width, height});
}

int ChannelAt(const RgbaImage& image, int x, int y, int c) { return image.pixels[(y * image.width + x) * 4 + c]; }

}  // namespace

TEST(Resample, KernelIsTheMitchellNetravaliCubic) {
    for (double x : {0.0, 0.25, 0.5, 0.99, 1.0, 1.25, 1.5, 1.99, 2.0, 2.5}) {
        EXPECT_NEAR(MitchellNetravali(x), Cubic(x), 1e-12) << x;
        EXPECT_NEAR(MitchellNetravali(-x), Cubic(x), 1e-12) << x;
    }
}

TEST(Resample, EnlargingARowByTwoMatchesTheReference) {
    // Values picked to overshoot at the steps, so clamping and rounding both show.
    const std::vector<int> red = {0, 255, 0, 255, 128, 100, 200, 10};
    const std::vector<int> green = {10, 20, 30, 40, 50, 60, 70, 80};
    const std::vector<int> blue = {255, 255, 255, 0, 0, 0, 255, 255};
    std::vector<std::array<uint8_t, 4>> pixels;
    for (size_t i = 0; i < red.size(); ++i)
        pixels.push_back({uint8_t(red[i]), uint8_t(green[i]), uint8_t(blue[i]), 255});
    const RgbaImage doubled = Whole(Row(pixels), 16, 2);
    ASSERT_EQ(doubled.width, 16);
    ASSERT_EQ(doubled.height, 2);
    const std::vector<int> expected[3] = {ReferenceLine(red, 16), ReferenceLine(green, 16), ReferenceLine(blue, 16)};
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 16; ++x) {
            for (int c = 0; c < 3; ++c) EXPECT_EQ(ChannelAt(doubled, x, y, c), expected[c][x]) << x << "," << y << " c" << c;
            EXPECT_EQ(ChannelAt(doubled, x, y, 3), 255);
        }
    }
    // Worked by hand: at the first target pixel of 100, 200 doubled, the weights 0.782 and -0.023
    // renormalise to 1.0309 and -0.0309: 96.9, so 97; and the step 0, 255 overshoots below 0.
    const RgbaImage pair = Whole(Row({{100, 0, 255, 255}, {200, 255, 0, 255}}), 4, 1);
    EXPECT_EQ(ChannelAt(pair, 0, 0, 0), 97);
    EXPECT_EQ(ChannelAt(pair, 0, 0, 1), 0);
    EXPECT_EQ(ChannelAt(pair, 0, 0, 2), 255);
}

TEST(Resample, EnlargingASquareByTwoFiltersAcrossThenDown) {
    // A 4 x 4 picture with a different value in every pixel, red only.
    const int values[4][4] = {{0, 40, 90, 200}, {255, 10, 60, 30}, {120, 220, 0, 180}, {70, 150, 250, 5}};
    RgbaImage source;
    source.width = source.height = 4;
    for (const auto& row : values)
        for (int v : row) source.pixels.insert(source.pixels.end(), {uint8_t(v), 0, 0, 255});
    std::vector<std::vector<int>> across;
    for (const auto& row : values) across.push_back(ReferenceLine({row[0], row[1], row[2], row[3]}, 8));
    const RgbaImage doubled = Whole(source, 8, 8);
    for (int x = 0; x < 8; ++x) {
        const std::vector<int> column =
            ReferenceLine({across[0][x], across[1][x], across[2][x], across[3][x]}, 8);
        for (int y = 0; y < 8; ++y) EXPECT_EQ(ChannelAt(doubled, x, y, 0), column[y]) << x << "," << y;
    }
}

TEST(Resample, ShrinkingWidensTheSupport) {
    const std::vector<int> red = {0, 255, 255, 0, 30, 60, 90, 250};
    std::vector<std::array<uint8_t, 4>> pixels;
    for (int v : red) pixels.push_back({uint8_t(v), 0, 0, 255});
    const RgbaImage halved = Whole(Row(pixels), 4, 1);
    const std::vector<int> expected = ReferenceLine(red, 4);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(ChannelAt(halved, x, 0, 0), expected[x]) << x;
    // Worked by hand: the last pixel weighs 30, 60, 90, 250 by -0.023, 0.256, 0.782, 0.782 (and 0 by
    // -0.015): 157.4. Without the widening it would read only 60, 90, 250 and give 174.
    EXPECT_EQ(ChannelAt(halved, 3, 0, 0), 157);
}

TEST(Resample, TransparentPixelsCountAsWhite) {
    // Black but fully transparent next to opaque red: the colour that bleeds in is white.
    const RgbaImage image = Whole(Row({{0, 0, 0, 0}, {255, 0, 0, 255}}), 4, 1);
    const std::vector<int> green = ReferenceLine({255, 0}, 4);
    const std::vector<int> alpha = ReferenceLine({0, 255}, 4);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(ChannelAt(image, x, 0, 0), 255) << x;
        EXPECT_EQ(ChannelAt(image, x, 0, 1), green[x]) << x;
        EXPECT_EQ(ChannelAt(image, x, 0, 3), alpha[x]) << x;
    }
    EXPECT_GT(ChannelAt(image, 1, 0, 1), 100);  // pulled to white, not to black
}

TEST(Resample, AWindowIsTheSamePixelsCutOut) {
    RgbaImage source;
    source.width = source.height = 32;
    for (int i = 0; i < 32 * 32; ++i)
        source.pixels.insert(source.pixels.end(), {uint8_t(i * 7), uint8_t(i * 13), uint8_t(i), uint8_t(i % 3 ? 255 : 0)});
    const RgbaImage whole = Whole(source, 47, 47);
    const Rect window{5, 40, 30, 7};
    const RgbaImage part = ResampledWindow(source, 47, 47, window);
    ASSERT_EQ(part.width, 30);
    ASSERT_EQ(part.height, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 30; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_EQ(ChannelAt(part, x, y, c), ChannelAt(whole, x + 5, y + 40, c)) << x << "," << y;
    // A window that does not lie inside the target gives nothing.
    EXPECT_EQ(ResampledWindow(source, 47, 47, Rect{40, 0, 10, 5}).width, 0);
}
