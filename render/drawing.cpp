#include "render/drawing.h"

#include <algorithm>

#include "render/canvas.h"
#include "render/resample.h"

namespace {

struct DrawingPhase {
    bool open = false;
    CanvasHandle canvas = nullptr;
    DrawMode mode = DrawModeReplace;
};

DrawingPhase phase;

// The part of a shape that lies in the buffer, as half-open pixel ranges. 64-bit, so that a huge
// size or a far-off position cannot overflow on the way.
struct PixelSpan {
    int32_t x0 = 0;
    int32_t y0 = 0;
    int32_t x1 = 0;
    int32_t y1 = 0;
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

PixelSpan VisibleSpan(int64_t x, int64_t y, int64_t width, int64_t height) {
    PixelSpan span;
    if (width <= 0 || height <= 0) return span;
    span.x0 = static_cast<int32_t>(std::clamp<int64_t>(x, 0, canvasBuffer.width));
    span.y0 = static_cast<int32_t>(std::clamp<int64_t>(y, 0, canvasBuffer.height));
    span.x1 = static_cast<int32_t>(std::clamp<int64_t>(x + width, 0, canvasBuffer.width));
    span.y1 = static_cast<int32_t>(std::clamp<int64_t>(y + height, 0, canvasBuffer.height));
    return span;
}

uint8_t* PixelAt(int32_t x, int32_t y) {
    return &canvasBuffer.rgb[(static_cast<size_t>(y) * canvasBuffer.width + x) * 3];
}

bool HoldsAllPixels(const RgbaImage& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() >= static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
}

// Over of a straight-alpha source with effective alpha g, truncating.
uint8_t Over(uint32_t source, uint32_t old, uint32_t g) {
    return static_cast<uint8_t>((source * g + old * (255 - g)) / 255);
}

void CompositeImage(const RgbaImage& image, int64_t x, int64_t y, int32_t opacity) {
    if (!HoldsAllPixels(image)) return;
    const uint32_t k = static_cast<uint32_t>(std::clamp(opacity, 0, 255));
    const PixelSpan span = VisibleSpan(x, y, image.width, image.height);
    for (int32_t py = span.y0; py < span.y1; ++py) {
        const uint8_t* source = &image.pixels[(static_cast<size_t>(py - y) * image.width + (span.x0 - x)) * 4];
        uint8_t* target = PixelAt(span.x0, py);
        for (int32_t px = span.x0; px < span.x1; ++px, source += 4, target += 3) {
            const uint32_t g = k == 255 ? source[3] : source[3] * k / 255;
            target[0] = Over(source[0], target[0], g);
            target[1] = Over(source[1], target[1], g);
            target[2] = Over(source[2], target[2], g);
        }
    }
}

}  // namespace

bool BeginCanvasDrawing(CanvasHandle canvas) {
    if (!canvas || canvasBuffer.rgb.empty()) return false;
    if (canvasBuffer.width != bar.barWidth || canvasBuffer.height != bar.barHeight) return false;
    // A phase left open by an interrupted frame is simply replaced: phases never nest.
    phase = DrawingPhase{true, canvas, DrawModeReplace};
    return true;
}

void SetDrawMode(DrawMode mode) {
    if (phase.open) phase.mode = mode;
}

void FillBox(int32_t x, int32_t y, int32_t width, int32_t height, Color32 color) {
    if (!phase.open) return;
    const PixelSpan span = VisibleSpan(x, y, width, height);
    const uint32_t channel[3] = {RedOf(color), GreenOf(color), BlueOf(color)};
    const uint32_t a = AlphaOf(color);
    for (int32_t py = span.y0; py < span.y1; ++py) {
        uint8_t* target = PixelAt(span.x0, py);
        for (int32_t px = span.x0; px < span.x1; ++px, target += 3) {
            for (int c = 0; c < 3; ++c) {
                target[c] = phase.mode == DrawModeReplace
                                ? static_cast<uint8_t>(channel[c])
                                : static_cast<uint8_t>((target[c] * (255 - a) + channel[c] * a) / 255);
            }
        }
    }
}

void BlendImage(const RgbaImage& image, int32_t x, int32_t y, int32_t opacity) {
    if (phase.open) CompositeImage(image, x, y, opacity);
}

// Every frame converts the icon afresh and resamples only the part that will be seen. A cache of
// converted or resampled images per (icon, size) would slot in between IconPixels and
// CompositeImage; it would have to be keyed by more than the handle, since a released icon's
// address can come back for another one.
void DrawIconScaled(IconHandle icon, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!phase.open || width <= 0 || height <= 0) return;
    RgbaImage image;
    if (!IconPixels(icon, &image) || !HoldsAllPixels(image)) return;
    if (image.width == width && image.height == height) {
        CompositeImage(image, x, y, 255);
        return;
    }
    const PixelSpan span = VisibleSpan(x, y, width, height);
    if (span.Empty()) return;
    const Rect window{static_cast<int32_t>(span.x0 - int64_t{x}), static_cast<int32_t>(span.y0 - int64_t{y}),
                      span.x1 - span.x0, span.y1 - span.y0};
    CompositeImage(ResampledWindow(image, width, height, window), span.x0, span.y0, 255);
}

int32_t MeasureText(const std::wstring& text) {
    if (text.empty()) return 0;
    return MeasureTextWidth(text);
}

void PaintText(int32_t x, int32_t y, const std::wstring& text, Color32 color) {
    if (!phase.open || text.empty()) return;
    TextCoverage coverage;
    if (!RasteriseText(text, &coverage)) return;
    PaintCoverage(coverage, x, y, color);
}

void PaintCoverage(const TextCoverage& coverage, int32_t x, int32_t y, Color32 color) {
    if (!phase.open || coverage.width <= 0 || coverage.height <= 0) return;
    if (coverage.coverage.size() < static_cast<size_t>(coverage.width) * static_cast<size_t>(coverage.height) * 3) return;
    const uint32_t channel[3] = {RedOf(color), GreenOf(color), BlueOf(color)};
    const PixelSpan span = VisibleSpan(x, y, coverage.width, coverage.height);
    for (int32_t py = span.y0; py < span.y1; ++py) {
        const uint8_t* cov = &coverage.coverage[(static_cast<size_t>(py - y) * coverage.width + (span.x0 - x)) * 3];
        uint8_t* target = PixelAt(span.x0, py);
        for (int32_t px = span.x0; px < span.x1; ++px, cov += 3, target += 3) {
            for (int c = 0; c < 3; ++c) target[c] = Over(channel[c], target[c], cov[c]);
        }
    }
}

void EndCanvasDrawing() {
    if (!phase.open) return;
    phase.open = false;
    PresentFrame(phase.canvas, canvasBuffer.rgb.data(), canvasBuffer.width, canvasBuffer.height);
}
