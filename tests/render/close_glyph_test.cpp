#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#include "render/close_glyph.h"
#include "render/png_io.h"

namespace {

// The cross's alpha by band, rows and columns 4..19: '#' 192..255, '+' 64..191, '.' 1..63, ' ' 0.
const char* const glyphBands[16] = {
    ".+++.      .+++.",
    ".+##+.    .+##+.",
    " .+##+.  .+##+. ",
    "  .###+  +###.  ",
    "   +###..###+   ",
    "   .+##++##+.   ",
    "    .+####+.    ",
    "     .####.     ",
    "     .####.     ",
    "    .+####+.    ",
    "   .+##++##+.   ",
    "   +###..###+   ",
    "  .###+  +###.  ",
    " .+##+.  .+##+. ",
    ".+##+.    .+##+.",
    ".+++.      .+++.",
};

char BandOf(int alpha) {
    if (alpha >= 192) return '#';
    if (alpha >= 64) return '+';
    if (alpha >= 1) return '.';
    return ' ';
}

std::vector<uint8_t> AssetBytes() {
    std::ifstream file(std::string(EDGEWAY_SOURCE_DIR) + "/assets/close.png", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

uint8_t AlphaAt(const RgbaImage& image, int column, int row) { return image.pixels[(row * 24 + column) * 4 + 3]; }

}  // namespace

TEST(CloseGlyph, AssetIsA24By24NonInterlacedRgbaPng) {
    const std::vector<uint8_t> png = AssetBytes();
    ASSERT_GE(png.size(), 33u);
    const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));
    // IHDR is the first chunk: width and height big-endian, then depth, colour type, and at the
    // end the interlace method.
    EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
    EXPECT_EQ((png[16] << 24) | (png[17] << 16) | (png[18] << 8) | png[19], 24);
    EXPECT_EQ((png[20] << 24) | (png[21] << 16) | (png[22] << 8) | png[23], 24);
    EXPECT_EQ(png[24], 8);  // bit depth
    EXPECT_EQ(png[25], 6);  // RGBA
    EXPECT_EQ(png[28], 0);  // not interlaced

    // What the program carries is this very file.
    const RgbaImage fromAsset = DecodePngImage(png.data(), png.size());
    const RgbaImage carried = DecodeCloseGlyph();
    EXPECT_EQ(carried.width, 24);
    EXPECT_EQ(carried.height, 24);
    EXPECT_EQ(carried.pixels, fromAsset.pixels);
}

TEST(CloseGlyph, EveryCellFallsInItsBand) {
    const RgbaImage glyph = DecodeCloseGlyph();
    ASSERT_EQ(glyph.pixels.size(), 24u * 24u * 4u);
    for (int row = 0; row < 24; ++row) {
        for (int column = 0; column < 24; ++column) {
            const bool inSquare = row >= 4 && row < 20 && column >= 4 && column < 20;
            const char expected = inSquare ? glyphBands[row - 4][column - 4] : ' ';
            EXPECT_EQ(BandOf(AlphaAt(glyph, column, row)), expected)
                << "row " << row << " column " << column << " alpha " << int(AlphaAt(glyph, column, row));
        }
    }
    for (int row = 11; row <= 12; ++row)
        for (int column = 11; column <= 12; ++column) EXPECT_EQ(AlphaAt(glyph, column, row), 255);
}

TEST(CloseGlyph, InkIsWhiteAndClearPixelsAreZero) {
    const RgbaImage glyph = DecodeCloseGlyph();
    ASSERT_EQ(glyph.pixels.size(), 24u * 24u * 4u);
    for (size_t i = 0; i < glyph.pixels.size(); i += 4) {
        const uint8_t expected = glyph.pixels[i + 3] > 0 ? 255 : 0;
        EXPECT_EQ(glyph.pixels[i], expected) << "pixel " << i / 4;
        EXPECT_EQ(glyph.pixels[i + 1], expected) << "pixel " << i / 4;
        EXPECT_EQ(glyph.pixels[i + 2], expected) << "pixel " << i / 4;
    }
}

TEST(CloseGlyph, DamagedPngGivesNoImage) {
    std::vector<uint8_t> png = AssetBytes();
    ASSERT_GT(png.size(), 60u);
    const struct {
        const char* what;
        std::vector<uint8_t> bytes;
    } cases[] = {
        {"empty", {}},
        {"signature only", std::vector<uint8_t>(png.begin(), png.begin() + 8)},
        {"cut in the middle", std::vector<uint8_t>(png.begin(), png.begin() + png.size() / 2)},
        {"not a png", std::vector<uint8_t>(100, 0x41)},
    };
    for (const auto& c : cases) {
        const RgbaImage image = DecodePngImage(c.bytes.data(), c.bytes.size());
        EXPECT_EQ(image.width, 0) << c.what;
        EXPECT_EQ(image.height, 0) << c.what;
        EXPECT_TRUE(image.pixels.empty()) << c.what;
    }
}
