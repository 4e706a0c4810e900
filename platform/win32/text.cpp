// Text in the stock SYSTEM_FONT, drawn by GDI white on black into a 32-bit DIB whose blue,
// green and red bytes are the coverage. With the bitmap System font that is 0 or 255; with a
// smoothed font the channels carry whatever smoothing GDI applied.
#include <cstring>

#include "platform/win32/win32_desktop.h"

namespace {

// A memory DC with the font selected, made once and kept for the run: text is measured and drawn
// in every frame.
HDC TextDc() {
    static HDC dc = nullptr;
    if (!dc) {
        dc = CreateCompatibleDC(nullptr);
        if (dc) SelectObject(dc, GetStockObject(SYSTEM_FONT));
    }
    return dc;
}

struct Scratch {
    HBITMAP bitmap = nullptr;
    const uint8_t* bits = nullptr;  // top-down rows of blue, green, red, unused
};

Scratch BlackScratch(HDC dc, int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Scratch scratch;
    scratch.bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!scratch.bitmap || !bits) return Scratch{};
    std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
    scratch.bits = static_cast<const uint8_t*>(bits);
    return scratch;
}

void CopyCoverage(const uint8_t* bits, TextCoverage* out) {
    const size_t pixels = static_cast<size_t>(out->width) * out->height;
    for (size_t i = 0; i < pixels; ++i, bits += 4) {
        out->coverage[i * 3 + 0] = bits[2];
        out->coverage[i * 3 + 1] = bits[1];
        out->coverage[i * 3 + 2] = bits[0];
    }
}

}  // namespace

int32_t MeasureTextWidth(const std::wstring& text) {
    HDC dc = TextDc();
    SIZE size{};
    if (text.empty() || !dc || !GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) return 0;
    return size.cx;
}

bool RasteriseText(const std::wstring& text, TextCoverage* out) {
    HDC dc = TextDc();
    if (!out || !dc) return false;
    *out = TextCoverage{};
    SIZE size{};
    if (text.empty() || !GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) return true;
    if (size.cx <= 0 || size.cy <= 0) return true;
    const Scratch scratch = BlackScratch(dc, size.cx, size.cy);
    if (!scratch.bitmap) return false;
    HGDIOBJ previous = SelectObject(dc, scratch.bitmap);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    out->width = size.cx;
    out->height = size.cy;
    out->coverage.assign(static_cast<size_t>(size.cx) * size.cy * 3, 0);
    CopyCoverage(scratch.bits, out);
    SelectObject(dc, previous);
    DeleteObject(scratch.bitmap);
    return true;
}
