#include <climits>
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "render/drawing.h"
#include "render_support.h"

namespace {

// Which pixels of a 10 x 8 canvas a shape touched: the canvas starts white and every touched
// pixel turns black.
std::vector<bool> TouchedBy(void (*draw)(int32_t, int32_t, int32_t, int32_t), int32_t x, int32_t y,
                            int32_t w, int32_t h) {
    SetUpCanvas(10, 8);
    EXPECT_TRUE(BeginCanvasDrawing(bar.canvas));
    draw(x, y, w, h);
    EndCanvasDrawing();
    std::vector<bool> touched;
    for (int32_t py = 0; py < 8; ++py)
        for (int32_t px = 0; px < 10; ++px) touched.push_back(PixelOf(px, py) != Grey(255));
    return touched;
}

std::vector<bool> Expected(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    std::vector<bool> touched;
    for (int32_t py = 0; py < 8; ++py)
        for (int32_t px = 0; px < 10; ++px) touched.push_back(px >= x0 && px < x1 && py >= y0 && py < y1);
    return touched;
}

void BlackBox(int32_t x, int32_t y, int32_t w, int32_t h) { FillBox(x, y, w, h, 0xFF000000); }

// An opaque black image of w x h, small enough to build, placed at x, y.
void BlackImage(int32_t x, int32_t y, int32_t w, int32_t h) { BlendImage(SolidImage(w, h, {0, 0, 0, 255}), x, y, 255); }

void BlackText(int32_t x, int32_t y, int32_t w, int32_t h) {
    TextCoverage coverage;
    coverage.width = w;
    coverage.height = h;
    coverage.coverage.assign(static_cast<size_t>(w) * h * 3, 255);
    PaintCoverage(coverage, x, y, 0xFF000000);
}

struct ClipCase {
    int32_t x, y, w, h;
    int32_t x0, y0, x1, y1;  // the touched part
};

const ClipCase clipCases[] = {
    {2, 3, 4, 2, 2, 3, 6, 5},     // inside
    {-3, -2, 5, 4, 0, 0, 2, 2},   // cut at the top-left
    {7, 6, 9, 9, 7, 6, 10, 8},    // cut at the right and bottom
    {-5, 1, 30, 2, 0, 1, 10, 3},  // wider than the canvas
    {10, 0, 3, 3, 0, 0, 0, 0},    // just right of it
    {0, 8, 3, 3, 0, 0, 0, 0},     // just below it
    {-4, 0, 4, 3, 0, 0, 0, 0},    // just left of it
    {0, -3, 3, 3, 0, 0, 0, 0},    // just above it
    {3, 3, 0, 2, 0, 0, 0, 0},     // no width
    {3, 3, 2, -1, 0, 0, 0, 0},    // negative height
};

TEST(Clipping, BoxesImagesAndTextTouchOnlyTheirVisiblePart) {
    struct Shape {
        const char* name;
        void (*draw)(int32_t, int32_t, int32_t, int32_t);
    };
    for (const Shape& shape : {Shape{"box", BlackBox}, Shape{"image", BlackImage}, Shape{"text", BlackText}}) {
        for (const ClipCase& c : clipCases) {
            if (shape.draw != BlackBox && (c.w <= 0 || c.h <= 0)) continue;  // no such image or cell
            SCOPED_TRACE(testing::Message() << shape.name << " at " << c.x << "," << c.y << " " << c.w << "x" << c.h);
            EXPECT_EQ(TouchedBy(shape.draw, c.x, c.y, c.w, c.h), Expected(c.x0, c.y0, c.x1, c.y1));
        }
    }
}

TEST(Clipping, HugeBoxesDoNotOverflow) {
    const ClipCase cases[] = {
        {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, 0, 0, 0, 0},
        {-5, -5, INT32_MAX, INT32_MAX, 0, 0, 10, 8},
        {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0, 0, 0},
        {INT32_MIN + 1, 2, INT32_MAX, 3, 0, 0, 0, 0},
        {3, INT32_MIN, 2, INT32_MAX, 0, 0, 0, 0},  // ends at -1
        {3, -1, 2, INT32_MAX, 3, 0, 5, 8},
    };
    for (const ClipCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h);
        EXPECT_EQ(TouchedBy(BlackBox, c.x, c.y, c.w, c.h), Expected(c.x0, c.y0, c.x1, c.y1));
    }
}

TEST(FillBox, ReplaceTakesTheColourAndIgnoresItsAlpha) {
    SetUpCanvas(4, 4);
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    FillBox(0, 0, 4, 4, PackColor(10, 20, 30, 0));
    EndCanvasDrawing();
    EXPECT_EQ(PixelOf(3, 3), (Rgb{10, 20, 30}));
}

TEST(FillBox, BlendTruncatesPerChannel) {
    struct BlendCase {
        Rgb old;
        Color32 color;
        Rgb expected;
    };
    const BlendCase cases[] = {
        {Grey(32), 0x40FFFFFF, Grey(87)},              // (32 x 191 + 255 x 64) / 255 = 87.2
        {Grey(199), 0x40FFFFFF, Grey(213)},            // 213.9
        {{0, 100, 255}, PackColor(255, 0, 0, 128), {128, 49, 127}},
        {{10, 20, 30}, PackColor(200, 200, 200, 0), {10, 20, 30}},
        {{10, 20, 30}, PackColor(1, 2, 3, 255), {1, 2, 3}},
        {{255, 255, 255}, PackColor(0, 0, 0, 1), {254, 254, 254}},
    };
    for (const BlendCase& c : cases) {
        SetUpCanvas(2, 2);
        FillCanvas(c.old);
        ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
        SetDrawMode(DrawModeBlend);
        FillBox(0, 0, 1, 1, c.color);
        EndCanvasDrawing();
        EXPECT_EQ(PixelOf(0, 0), c.expected) << std::hex << c.color;
        EXPECT_EQ(PixelOf(1, 1), c.old);
    }
}

TEST(FillBox, EveryPhaseStartsInReplaceMode) {
    SetUpCanvas(2, 2);
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    SetDrawMode(DrawModeBlend);
    EndCanvasDrawing();
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    FillBox(0, 0, 2, 2, PackColor(9, 9, 9, 0));
    EndCanvasDrawing();
    EXPECT_EQ(PixelOf(0, 0), Grey(9));
}

TEST(BlendImage, GlyphPixelsOverTheDefaultBackground) {
    // Opaque: effective alpha 192 gives 199. Alpha 134: 134 x 192 / 255 = 100 gives 119.
    // Transparent: 32 stays. Alpha 255 at full opacity replaces; alpha 1 at opacity 254 truncates
    // to 0 and leaves the pixel.
    struct ImageCase {
        uint8_t alpha;
        int32_t opacity;
        int expected;
    };
    const ImageCase cases[] = {{255, 192, 199}, {134, 192, 119}, {0, 192, 32},
                               {255, 255, 255}, {134, 255, 149}, {1, 254, 32}};
    for (const ImageCase& c : cases) {
        SetUpCanvas(3, 3);
        FillCanvas(Grey(32));
        ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
        BlendImage(SolidImage(1, 1, {255, 255, 255, c.alpha}), 1, 1, c.opacity);
        EndCanvasDrawing();
        EXPECT_EQ(PixelOf(1, 1), Grey(c.expected)) << int(c.alpha) << " at " << c.opacity;
        EXPECT_EQ(PixelOf(0, 0), Grey(32));
    }
}

TEST(BlendImage, ChannelsAndPixelsKeepTheirPlaces) {
    SetUpCanvas(4, 3);
    FillCanvas({100, 150, 200});
    RgbaImage image;
    image.width = 2;
    image.height = 2;
    image.pixels = {10, 20, 30, 255, 200, 100, 0, 128, 0, 0, 0, 0, 255, 0, 0, 64};
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    BlendImage(image, 1, 1, 255);
    EndCanvasDrawing();
    EXPECT_EQ(PixelOf(1, 1), (Rgb{10, 20, 30}));
    // (200 x 128 + 100 x 127) / 255 = 150.2, (100 x 128 + 150 x 127) / 255 = 124.9, ...
    EXPECT_EQ(PixelOf(2, 1), (Rgb{150, 124, 99}));
    EXPECT_EQ(PixelOf(1, 2), (Rgb{100, 150, 200}));
    EXPECT_EQ(PixelOf(2, 2), (Rgb{138, 112, 149}));
    EXPECT_EQ(PixelOf(0, 0), (Rgb{100, 150, 200}));
    EXPECT_EQ(PixelOf(3, 2), (Rgb{100, 150, 200}));
}

TEST(BlendImage, EmptyOrShortImagesDrawNothing) {
    SetUpCanvas(3, 3);
    RgbaImage shortImage = SolidImage(2, 2, {0, 0, 0, 255});
    shortImage.pixels.resize(12);
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    BlendImage(RgbaImage{}, 0, 0, 255);
    BlendImage(shortImage, 0, 0, 255);
    EndCanvasDrawing();
    EXPECT_EQ(canvasBuffer.rgb, std::vector<uint8_t>(27, 255));
}

TEST(PaintCoverage, EachChannelUsesItsOwnCoverage) {
    SetUpCanvas(4, 1);
    FillCanvas({40, 80, 120});
    TextCoverage coverage;
    coverage.width = 3;
    coverage.height = 1;
    coverage.coverage = {255, 128, 0, 0, 0, 0, 64, 255, 1};
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    PaintCoverage(coverage, 1, 0, PackColor(200, 10, 250, 0));
    EndCanvasDrawing();
    EXPECT_EQ(PixelOf(0, 0), (Rgb{40, 80, 120}));
    // red (200 x 255 + 40 x 0) / 255; green (10 x 128 + 80 x 127) / 255 = 44.8; blue unchanged.
    EXPECT_EQ(PixelOf(1, 0), (Rgb{200, 44, 120}));
    EXPECT_EQ(PixelOf(2, 0), (Rgb{40, 80, 120}));
    // (200 x 64 + 40 x 191) / 255 = 80.2; green 10; (250 x 1 + 120 x 254) / 255 = 120.5.
    EXPECT_EQ(PixelOf(3, 0), (Rgb{80, 10, 120}));
}

TEST(PaintText, EmptyTextDrawsNothingAndMeasuresZero) {
    SetUpCanvas(20, 20);
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    PaintText(0, 0, L"", 0xFF000000);
    EndCanvasDrawing();
    EXPECT_EQ(MeasureText(L""), 0);
    EXPECT_EQ(canvasBuffer.rgb, std::vector<uint8_t>(20 * 20 * 3, 255));
}

TEST(PaintText, CompositesTheRasterisedCoverage) {
    TextCoverage coverage;
    ASSERT_TRUE(RasteriseText(L"Wg", &coverage));
    ASSERT_EQ(MeasureText(L"Wg"), coverage.width);
    SetUpCanvas(40, 30);
    FillCanvas(Grey(50));
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    PaintText(3, 5, L"Wg", PackColor(250, 0, 100, 255));
    EndCanvasDrawing();
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            Rgb expected = Grey(50);
            const int32_t cx = x - 3, cy = y - 5;
            if (cx >= 0 && cx < coverage.width && cy >= 0 && cy < coverage.height) {
                const uint8_t* cov = &coverage.coverage[(static_cast<size_t>(cy) * coverage.width + cx) * 3];
                expected = {(250 * cov[0] + 50 * (255 - cov[0])) / 255, (50 * (255 - cov[1])) / 255,
                            (100 * cov[2] + 50 * (255 - cov[2])) / 255};
            }
            ASSERT_EQ(PixelOf(x, y), expected) << x << "," << y;
        }
    }
}

TEST(PaintText, CutAtTheLeftRightAndBottomEdges) {
    TextCoverage coverage;
    ASSERT_TRUE(RasteriseText(L"MW", &coverage));
    struct Place {
        int32_t x, y;
    };
    // Cut off its start, its end, its bottom rows.
    for (const Place place : {Place{-5, 0}, Place{20 - coverage.width + 6, 0}, Place{0, 20 - coverage.height + 7}}) {
        SCOPED_TRACE(testing::Message() << place.x << "," << place.y);
        SetUpCanvas(20, 20);
        FillCanvas(Grey(0));
        ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
        PaintText(place.x, place.y, L"MW", 0xFFFFFFFF);
        EndCanvasDrawing();
        for (int32_t y = 0; y < 20; ++y) {
            for (int32_t x = 0; x < 20; ++x) {
                const int32_t cx = x - place.x, cy = y - place.y;
                const bool inCell = cx >= 0 && cx < coverage.width && cy >= 0 && cy < coverage.height;
                const int expected = inCell ? coverage.coverage[(static_cast<size_t>(cy) * coverage.width + cx) * 3] : 0;
                ASSERT_EQ(PixelOf(x, y), Grey(expected)) << x << "," << y;
            }
        }
    }
}

TEST(DrawingPhase, OpensOnlyOnAMatchingBuffer) {
    SetUpCanvas(8, 4);
    EXPECT_TRUE(BeginCanvasDrawing(bar.canvas));
    EndCanvasDrawing();
    EXPECT_FALSE(BeginCanvasDrawing(nullptr));
    bar.barWidth = 9;
    EXPECT_FALSE(BeginCanvasDrawing(bar.canvas));
    bar.barWidth = 8;
    bar.barHeight = 5;
    EXPECT_FALSE(BeginCanvasDrawing(bar.canvas));
    bar.barHeight = 4;
    CreateCanvasBuffer(0, 0);
    bar.barWidth = bar.barHeight = 0;
    EXPECT_FALSE(BeginCanvasDrawing(bar.canvas));
}

TEST(DrawingPhase, NothingIsDrawnOrPresentedOutsideAPhase) {
    SetUpCanvas(8, 4);
    ASSERT_FALSE(BeginCanvasDrawing(nullptr));
    FillBox(0, 0, 8, 4, 0xFF000000);
    BlendImage(SolidImage(2, 2, {0, 0, 0, 255}), 0, 0, 255);
    PaintText(0, 0, L"x", 0xFF000000);
    EndCanvasDrawing();
    EXPECT_EQ(canvasBuffer.rgb, std::vector<uint8_t>(8 * 4 * 3, 255));
    EXPECT_EQ(HeadlessPresentedFrames(), 0);
}

TEST(DrawingPhase, EndPresentsTheWholeBuffer) {
    SetUpCanvas(5, 3);
    ASSERT_TRUE(BeginCanvasDrawing(bar.canvas));
    FillBox(1, 1, 2, 1, PackColor(1, 2, 3, 255));
    EndCanvasDrawing();
    EXPECT_EQ(HeadlessPresentedFrames(), 1);
    EXPECT_EQ(HeadlessScreenWidth(), 5);
    EXPECT_EQ(HeadlessScreenHeight(), 3);
    EXPECT_EQ(HeadlessScreen(), canvasBuffer.rgb);
    EndCanvasDrawing();  // the phase is closed: no second frame
    EXPECT_EQ(HeadlessPresentedFrames(), 1);
}

TEST(CanvasBuffer, StartsWhite) {
    CreateCanvasBuffer(3, 2);
    EXPECT_EQ(canvasBuffer.width, 3);
    EXPECT_EQ(canvasBuffer.height, 2);
    EXPECT_EQ(canvasBuffer.rgb, std::vector<uint8_t>(18, 255));
    CreateCanvasBuffer(-1, 5);
    EXPECT_TRUE(canvasBuffer.rgb.empty());
}

}  // namespace
