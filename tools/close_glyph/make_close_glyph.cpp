// Draws the close button's glyph, a white antialiased diagonal cross on transparency, and writes
// it as a 24 x 24 RGBA PNG.
//
// Each arm is a straight stroke through the glyph's centre with a slope of 3/4 (it reaches the
// rows 4 and 19 about two pixels in from the corners, which keeps the arm ends apart), a solid
// core 2.5 pixels across and a one-pixel linear fall-off at its sides. The arms are cut flat just
// inside rows 4 and 19, so those rows stay partly opaque. Every pixel is sampled 8 x 8 times.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <png.h>
#include <vector>

namespace {

constexpr int GlyphSize = 24;
constexpr double Centre = 12.0;
constexpr double ArmSlope = 0.75;      // horizontal run per row
constexpr double ArmHalfCore = 1.25;   // half the solid width, measured across the arm
constexpr double ArmFallOff = 1.0;     // width of the ramp from opaque to clear
constexpr double EndCut = 4.3;         // rows above this line (and below its mirror) stay clear
constexpr double EndFallOff = 0.25;
constexpr int Samples = 8;

double Clamped(double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); }

double InkAt(double x, double y) {
    const double across = std::sqrt(1.0 + ArmSlope * ArmSlope);
    const double first = std::fabs((x - Centre) - ArmSlope * (y - Centre)) / across;
    const double second = std::fabs((x - Centre) + ArmSlope * (y - Centre)) / across;
    const double distance = std::min(first, second);
    const double ends = Clamped(std::min(y - EndCut, GlyphSize - EndCut - y) / EndFallOff + 0.5);
    return Clamped((ArmHalfCore - distance) / ArmFallOff + 0.5) * ends;
}

uint8_t AlphaOfPixel(int column, int row) {
    if (column < 4 || column >= GlyphSize - 4 || row < 4 || row >= GlyphSize - 4) return 0;
    double ink = 0.0;
    for (int i = 0; i < Samples; ++i) {
        const double y = row + (i + 0.5) / Samples;
        for (int j = 0; j < Samples; ++j) ink += InkAt(column + (j + 0.5) / Samples, y);
    }
    return static_cast<uint8_t>(std::lround(255.0 * ink / (Samples * Samples)));
}

// White wherever there is any ink; fully transparent pixels are all zero.
std::vector<uint8_t> GlyphPixels() {
    std::vector<uint8_t> rgba(GlyphSize * GlyphSize * 4, 0);
    for (int row = 0; row < GlyphSize; ++row) {
        for (int column = 0; column < GlyphSize; ++column) {
            const uint8_t alpha = AlphaOfPixel(column, row);
            if (alpha == 0) continue;
            uint8_t* p = &rgba[(row * GlyphSize + column) * 4];
            p[0] = p[1] = p[2] = 255;
            p[3] = alpha;
        }
    }
    return rgba;
}

bool WriteGlyph(const char* path, std::vector<uint8_t>& rgba) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    std::vector<png_bytep> rows(GlyphSize);
    for (int row = 0; row < GlyphSize; ++row) rows[row] = &rgba[row * GlyphSize * 4];
    volatile bool written = false;
    if (info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, file);
        png_set_IHDR(png, info, GlyphSize, GlyphSize, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_compression_level(png, 9);
        png_set_rows(png, info, rows.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
        written = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_close_glyph OUTPUT.png\n");
        return 2;
    }
    std::vector<uint8_t> rgba = GlyphPixels();
    if (!WriteGlyph(argv[1], rgba)) {
        std::fprintf(stderr, "make_close_glyph: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
