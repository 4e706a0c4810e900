// Deterministic icons: every file type gets its own picture, made from its extension, so that
// tests can tell icons apart and compare frames. Some types have transparent surroundings, as
// real shell icons do, so that the compositing and the resampler's edge rule are exercised.
#include <cwctype>
#include <string>
#include <sys/stat.h>

#include "platform/headless/desktop_state.h"
#include "store/utf8.h"

struct PlatformIcon {
    RgbaImage image;
};

namespace {

enum class IconShape { Square, Disc, Folder, Document };

uint32_t HashOf(const std::wstring& text) {
    uint32_t h = 2166136261u;  // FNV-1a over the lower-cased characters
    for (const wchar_t c : text) {
        h ^= static_cast<uint32_t>(std::towlower(c));
        h *= 16777619u;
    }
    return h;
}

// The text after the last dot of the last path component, as the shell's by-name lookup sees it.
std::wstring TypeNameOf(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"/\\");
    const size_t dot = path.rfind(L'.');
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) return L"";
    std::wstring type = path.substr(dot + 1);
    const size_t quote = type.find(L'"');
    return quote == std::wstring::npos ? type : type.substr(0, quote);
}

bool Inside(IconShape shape, int32_t x, int32_t y, int32_t size) {
    const int32_t m = size / 8;  // margin
    switch (shape) {
        case IconShape::Square: return true;
        case IconShape::Disc: {
            const int32_t c2 = size - 1;  // centre times two
            const int32_t dx = 2 * x - c2, dy = 2 * y - c2, r2 = size - 2 * m;
            return dx * dx + dy * dy <= r2 * r2;
        }
        case IconShape::Folder:
            if (y < m || y >= size - m || x < m || x >= size - m) return false;
            return y >= 2 * m || x < size / 2;  // the tab on the upper left
        case IconShape::Document:
            return x >= m && x < size - m && y >= 0 && y < size && !(x >= size - 2 * m && y < 2 * m);
    }
    return false;
}

RgbaImage Paint(IconShape shape, uint32_t hash, int32_t size) {
    RgbaImage image;
    image.width = size;
    image.height = size;
    image.pixels.assign(static_cast<size_t>(size) * size * 4, 0);
    const uint8_t r = 64 + (hash & 0x7F), g = 64 + ((hash >> 8) & 0x7F), b = 64 + ((hash >> 16) & 0x7F);
    for (int32_t y = 0; y < size; ++y) {
        for (int32_t x = 0; x < size; ++x) {
            if (!Inside(shape, x, y, size)) continue;
            uint8_t* p = &image.pixels[(static_cast<size_t>(y) * size + x) * 4];
            // A light diagonal band gives the picture some detail to resample.
            const bool band = ((x + y) / (size / 8 > 0 ? size / 8 : 1)) % 4 == 0;
            p[0] = band ? 255 : r;
            p[1] = band ? 255 : g;
            p[2] = band ? 255 : b;
            p[3] = 255;
        }
    }
    return image;
}

IconHandle MakeIcon(IconShape shape, uint32_t hash, int32_t large) {
    ++headless.liveIcons;
    return new PlatformIcon{Paint(shape, hash, large ? 32 : 16)};
}

}  // namespace

IconHandle FindShellIcon(const std::wstring& path, int32_t large, int32_t byName) {
    if (byName) {
        const uint32_t hash = HashOf(TypeNameOf(path));
        return MakeIcon(hash % 3 == 0 ? IconShape::Disc : IconShape::Square, hash, large);
    }
    struct stat info {};
    if (path.empty() || stat(Utf8FromWide(path).c_str(), &info) != 0) return nullptr;
    if (S_ISDIR(info.st_mode)) return MakeIcon(IconShape::Folder, 0x2A70C0u, large);
    return MakeIcon(IconShape::Document, 0x303030u, large);
}

bool IconPixels(IconHandle icon, RgbaImage* out) {
    if (!icon || !out) return false;
    *out = icon->image;
    return true;
}

void ReleaseIcon(IconHandle icon) {
    if (!icon) return;
    --headless.liveIcons;
    delete icon;
}

int64_t LiveHeadlessIcons() { return headless.liveIcons; }
