// Shell icons: SHGetFileInfoW for the handle, GetIconInfo and GetDIBits for the pixels. An icon
// whose colour image is 32 bits deep with some alpha is used as it is; any other gets its alpha
// from the mask (opaque where the mask is black).
#include "platform/win32/win32_desktop.h"

#include <shellapi.h>

#include <vector>

namespace {

// The shell's HICON is the handle itself: nothing is allocated around it.
HICON IconOf(IconHandle icon) { return reinterpret_cast<HICON>(icon); }

BITMAPINFO TopDown32(int32_t width, int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The bitmap's top `height` rows as 32-bit blue, green, red, alpha; a monochrome bitmap comes
// out black (0) and white (FFFFFF).
bool ReadRows(HBITMAP bitmap, int32_t width, int32_t height, int32_t allRows, std::vector<uint8_t>* out) {
    BITMAPINFO info = TopDown32(width, allRows);
    std::vector<uint8_t> rows(static_cast<size_t>(width) * allRows * 4);
    HDC screen = GetDC(nullptr);
    const int got = GetDIBits(screen, bitmap, 0, static_cast<UINT>(allRows), rows.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (got != allRows) return false;
    rows.resize(static_cast<size_t>(width) * height * 4);
    *out = std::move(rows);
    return true;
}

bool HasAlpha(const std::vector<uint8_t>& bgra) {
    for (size_t i = 3; i < bgra.size(); i += 4) {
        if (bgra[i] != 0) return true;
    }
    return false;
}

// The colour image alone, drawn into a zeroed 32-bit DIB.
bool DrawImageOnly(HICON icon, int32_t width, int32_t height, std::vector<uint8_t>* out) {
    BITMAPINFO info = TopDown32(width, height);
    void* bits = nullptr;
    HBITMAP target = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!target || !bits) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, target);
    const size_t size = static_cast<size_t>(width) * height * 4;
    std::fill_n(static_cast<uint8_t*>(bits), size, 0);
    const bool drawn = DrawIconEx(dc, 0, 0, icon, width, height, 0, nullptr, DI_IMAGE);
    GdiFlush();
    if (drawn) out->assign(static_cast<uint8_t*>(bits), static_cast<uint8_t*>(bits) + size);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(target);
    return drawn;
}

void ApplyMask(const std::vector<uint8_t>& mask, std::vector<uint8_t>* bgra) {
    for (size_t i = 0; i + 3 < bgra->size() && i + 3 < mask.size(); i += 4) {
        (*bgra)[i + 3] = mask[i] == 0 ? 255 : 0;
    }
}

void ToRgba(const std::vector<uint8_t>& bgra, int32_t width, int32_t height, RgbaImage* out) {
    out->width = width;
    out->height = height;
    out->pixels.resize(bgra.size());
    for (size_t i = 0; i + 3 < bgra.size(); i += 4) {
        out->pixels[i + 0] = bgra[i + 2];
        out->pixels[i + 1] = bgra[i + 1];
        out->pixels[i + 2] = bgra[i + 0];
        out->pixels[i + 3] = bgra[i + 3];
    }
}

bool PixelsOf(HICON icon, const ICONINFO& parts, RgbaImage* out) {
    // A monochrome icon has no colour image; its mask holds the AND half above the XOR half.
    BITMAP shape{};
    if (!GetObjectW(parts.hbmColor ? parts.hbmColor : parts.hbmMask, sizeof shape, &shape)) return false;
    const int32_t width = shape.bmWidth;
    const int32_t height = parts.hbmColor ? shape.bmHeight : shape.bmHeight / 2;
    if (width <= 0 || height <= 0) return false;
    std::vector<uint8_t> bgra;
    const bool ownAlpha = parts.hbmColor && shape.bmBitsPixel == 32 &&
                          ReadRows(parts.hbmColor, width, height, height, &bgra) && HasAlpha(bgra);
    if (!ownAlpha) {
        std::vector<uint8_t> mask;
        const int32_t maskRows = parts.hbmColor ? height : height * 2;
        if (!DrawImageOnly(icon, width, height, &bgra) || !ReadRows(parts.hbmMask, width, height, maskRows, &mask)) {
            return false;
        }
        ApplyMask(mask, &bgra);
    }
    ToRgba(bgra, width, height, out);
    return true;
}

}  // namespace

IconHandle FindShellIcon(const std::wstring& path, int32_t large, int32_t byName) {
    UINT flags = SHGFI_ICON | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON);
    if (byName) flags |= SHGFI_USEFILEATTRIBUTES;
    SHFILEINFOW info{};
    if (!SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, flags)) return nullptr;
    return reinterpret_cast<IconHandle>(info.hIcon);
}

bool IconPixels(IconHandle icon, RgbaImage* out) {
    ICONINFO parts{};
    if (!icon || !out || !GetIconInfo(IconOf(icon), &parts)) return false;
    const bool read = PixelsOf(IconOf(icon), parts, out);
    if (parts.hbmColor) DeleteObject(parts.hbmColor);
    if (parts.hbmMask) DeleteObject(parts.hbmMask);
    return read;
}

void ReleaseIcon(IconHandle icon) {
    if (icon) DestroyIcon(IconOf(icon));
}
