// The canvas's frame: a 24-bit bottom-up DIB section that holds what the screen shows, copied to
// the canvas window at once when a frame is presented and again whenever Windows asks.
#include <cstring>

#include "platform/win32/win32_desktop.h"

namespace {

constexpr uint8_t White = 0xFF;

}  // namespace

bool CreateFrameBuffer(PlatformCanvas* canvas) {
    if (canvas->width <= 0 || canvas->height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = canvas->width;
    info.bmiHeader.biHeight = canvas->height;  // positive: bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    canvas->dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!canvas->dib || !bits) return false;
    canvas->memory = CreateCompatibleDC(nullptr);
    canvas->previousBitmap = SelectObject(canvas->memory, canvas->dib);
    canvas->bits = static_cast<uint8_t*>(bits);
    canvas->stride = (canvas->width * 3 + 3) & ~3;  // DIB rows are padded to whole 32-bit words
    std::memset(canvas->bits, White, static_cast<size_t>(canvas->stride) * canvas->height);
    return true;
}

void CopyFrameTo(const PlatformCanvas& canvas, HDC target) {
    if (!canvas.memory || !target) return;
    BitBlt(target, 0, 0, canvas.width, canvas.height, canvas.memory, 0, 0, SRCCOPY);
}

// Only the parts that changed are converted into the section and copied to the window.
void PresentFrame(CanvasHandle canvas, const uint8_t* rgb, int32_t width, int32_t height,
                  const FrameChanges& changed) {
    if (!canvas || !canvas->bits || !rgb || width != canvas->width || height != canvas->height) return;
    GdiFlush();  // GDI may still be reading the section for an earlier copy
    HDC dc = GetDC(canvas->hwnd);
    for (int32_t i = 0; i < changed.count && i < FrameChanges::MostParts; ++i) {
        const WindowPlace part = PartInFrame(changed.parts[i], width, height);
        if (part.width <= 0 || part.height <= 0) continue;
        for (int32_t y = part.y; y < part.y + part.height; ++y) {
            const uint8_t* from = rgb + (static_cast<size_t>(y) * width + part.x) * 3;
            uint8_t* to = canvas->bits + static_cast<size_t>(height - 1 - y) * canvas->stride + static_cast<size_t>(part.x) * 3;
            for (int32_t x = 0; x < part.width; ++x, from += 3, to += 3) {
                to[0] = from[2];
                to[1] = from[1];
                to[2] = from[0];
            }
        }
        if (dc) BitBlt(dc, part.x, part.y, part.width, part.height, canvas->memory, part.x, part.y, SRCCOPY);
    }
    if (dc) ReleaseDC(canvas->hwnd, dc);
}
