#include "render/drawing.h"

#include <algorithm>
#include <cstring>

#include "render/canvas.h"
#include "render/picture_cache.h"
#include "render/resample.h"

namespace {

struct DrawingPhase {
    bool open = false;
    CanvasHandle canvas = nullptr;
    DrawMode mode = DrawModeReplace;
    FrameChanges changed;  // what differs from the frame presented before; the whole canvas unless told
};

DrawingPhase phase;

// Icons drawn up to this size are kept between frames whole; larger ones are never drawn by the
// bar, and resampling them whole could take more memory than the frame itself.
constexpr int32_t LongestKeptIconEdge = 256;

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
            // Most icon pixels are either clear or solid; both come out exact without arithmetic.
            if (g == 0) continue;
            if (g == 255) {
                std::memcpy(target, source, 3);
                continue;
            }
            target[0] = Over(source[0], target[0], g);
            target[1] = Over(source[1], target[1], g);
            target[2] = Over(source[2], target[2], g);
        }
    }
}

// The same pixels as CompositeImage at full opacity: a solid run takes the picture's colours as
// they are, a clear one leaves the buffer, and only partly covering pixels are blended.
void CompositePrepared(const PreparedPicture& picture, int64_t x, int64_t y) {
    const PixelSpan span = VisibleSpan(x, y, picture.width, picture.height);
    for (int32_t py = span.y0; py < span.y1; ++py) {
        const size_t row = static_cast<size_t>(py - y);
        for (size_t r = picture.rowRuns[row]; r < picture.rowRuns[row + 1]; ++r) {
            const PreparedPicture::Run& run = picture.runs[r];
            const int32_t begin = static_cast<int32_t>(std::max<int64_t>(x + run.begin, span.x0));
            const int32_t end = static_cast<int32_t>(std::min<int64_t>(x + run.end, span.x1));
            if (begin >= end) continue;
            const size_t first = row * picture.width + static_cast<size_t>(begin - x);
            const uint8_t* source = &picture.rgb[first * 3];
            uint8_t* target = PixelAt(begin, py);
            if (run.kind == PreparedPicture::Solid) {
                std::memcpy(target, source, static_cast<size_t>(end - begin) * 3);
                continue;
            }
            const uint8_t* alpha = &picture.alpha[first];
            for (int32_t px = begin; px < end; ++px, source += 3, target += 3, ++alpha) {
                for (int c = 0; c < 3; ++c) target[c] = Over(source[c], target[c], *alpha);
            }
        }
    }
}

// The first pixel is set, the rest of the first row copied from what is already filled, doubling
// each time, and every further row is a copy of the first.
void ReplaceSpan(const PixelSpan& span, Color32 color) {
    const uint8_t channel[3] = {static_cast<uint8_t>(RedOf(color)), static_cast<uint8_t>(GreenOf(color)),
                                static_cast<uint8_t>(BlueOf(color))};
    uint8_t* first = PixelAt(span.x0, span.y0);
    const size_t rowBytes = static_cast<size_t>(span.x1 - span.x0) * 3;
    std::memcpy(first, channel, 3);
    for (size_t done = 3; done < rowBytes; done *= 2) std::memcpy(first + done, first, std::min(done, rowBytes - done));
    for (int32_t py = span.y0 + 1; py < span.y1; ++py) std::memcpy(PixelAt(span.x0, py), first, rowBytes);
}

void BlendSpan(const PixelSpan& span, Color32 color) {
    const uint32_t channel[3] = {RedOf(color), GreenOf(color), BlueOf(color)};
    const uint32_t a = AlphaOf(color);
    for (int32_t py = span.y0; py < span.y1; ++py) {
        uint8_t* target = PixelAt(span.x0, py);
        for (int32_t px = span.x0; px < span.x1; ++px, target += 3) {
            for (int c = 0; c < 3; ++c) target[c] = static_cast<uint8_t>((target[c] * (255 - a) + channel[c] * a) / 255);
        }
    }
}

}  // namespace

bool BeginCanvasDrawing(CanvasHandle canvas) {
    if (!canvas || canvasBuffer.rgb.empty()) return false;
    if (canvasBuffer.width != bar.barWidth || canvasBuffer.height != bar.barHeight) return false;
    // A phase left open by an interrupted frame is simply replaced: phases never nest.
    phase = DrawingPhase{true, canvas, DrawModeReplace, FrameChanges{}};
    phase.changed.count = 1;
    phase.changed.parts[0] = WindowPlace{0, 0, canvasBuffer.width, canvasBuffer.height};
    return true;
}

void NoteChangedParts(const FrameChanges& changed) {
    if (phase.open) phase.changed = changed;
}

Rect TextCell(int32_t x, int32_t y, const std::wstring& text) {
    const TextCoverage* coverage = text.empty() ? nullptr : TextPicture(text);
    return coverage ? Rect{x, y, coverage->width, coverage->height} : Rect{};
}

void SetDrawMode(DrawMode mode) {
    if (phase.open) phase.mode = mode;
}

void FillBox(int32_t x, int32_t y, int32_t width, int32_t height, Color32 color) {
    if (!phase.open) return;
    const PixelSpan span = VisibleSpan(x, y, width, height);
    if (span.Empty()) return;
    if (phase.mode == DrawModeReplace) {
        ReplaceSpan(span, color);
    } else {
        BlendSpan(span, color);
    }
}

void BlendImage(const RgbaImage& image, int32_t x, int32_t y, int32_t opacity) {
    if (phase.open) CompositeImage(image, x, y, opacity);
}

void DrawIconScaled(IconHandle icon, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (!phase.open || width <= 0 || height <= 0) return;
    if (width <= LongestKeptIconEdge && height <= LongestKeptIconEdge) {
        if (const PreparedPicture* picture = IconPicture(icon, width, height)) CompositePrepared(*picture, x, y);
        return;
    }
    // Far larger than any slot: only the part that will be seen is resampled, and nothing is kept.
    RgbaImage image;
    if (!IconPixels(icon, &image) || !HoldsAllPixels(image)) return;
    const PixelSpan span = VisibleSpan(x, y, width, height);
    if (span.Empty()) return;
    const Rect window{static_cast<int32_t>(span.x0 - int64_t{x}), static_cast<int32_t>(span.y0 - int64_t{y}),
                      span.x1 - span.x0, span.y1 - span.y0};
    CompositeImage(ResampledWindow(image, width, height, window), span.x0, span.y0, 255);
}

int32_t MeasureText(const std::wstring& text) {
    if (text.empty()) return 0;
    return TextWidth(text);
}

void PaintText(int32_t x, int32_t y, const std::wstring& text, Color32 color) {
    if (!phase.open || text.empty()) return;
    if (const TextCoverage* coverage = TextPicture(text)) PaintCoverage(*coverage, x, y, color);
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
            // Most of a text's cell holds no ink at all.
            if ((cov[0] | cov[1] | cov[2]) == 0) continue;
            for (int c = 0; c < 3; ++c) target[c] = Over(channel[c], target[c], cov[c]);
        }
    }
}

void EndCanvasDrawing() {
    if (!phase.open) return;
    phase.open = false;
    PresentFrame(phase.canvas, canvasBuffer.rgb.data(), canvasBuffer.width, canvasBuffer.height, phase.changed);
}
