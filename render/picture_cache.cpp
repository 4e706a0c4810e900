#include "render/picture_cache.h"

#include <algorithm>
#include <vector>

#include "render/kept_frame.h"
#include "render/resample.h"

namespace {

// A pointer moving along the bar shows each icon near it at a handful of sizes between 33 and
// 64; keeping a few hundred pictures (a few megabytes at most) spares resampling them again and
// again, and the bound keeps them from piling up however the pointer wanders.
constexpr size_t MostKeptIconPictures = 256;
constexpr size_t MostKeptTexts = 8;

struct IconEntry {
    IconHandle icon = nullptr;
    int32_t width = 0;   // 0 for the icon's own picture, which the other sizes are made from
    int32_t height = 0;
    bool readable = false;
    uint64_t lastUse = 0;
    RgbaImage picture;          // the icon's own picture
    PreparedPicture prepared;   // the picture at width x height, ready to draw
};

struct TextEntry {
    std::wstring text;
    int32_t width = 0;
    bool rasterised = false;
    bool readable = false;
    uint64_t lastUse = 0;
    TextCoverage coverage;
};

bool keeping = true;
uint64_t useClock = 0;
uint64_t iconChanges = 0;
std::vector<IconEntry> iconEntries;
std::vector<TextEntry> textEntries;
// Where pictures go when keeping is off.
IconEntry scratchIcon;
TextEntry scratchText;

bool HoldsAllPixels(const RgbaImage& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() >= static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4;
}

template <typename Entry>
Entry& LeastRecentlyUsed(std::vector<Entry>& entries) {
    return *std::min_element(entries.begin(), entries.end(),
                             [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
}

// A slot for a new entry: a fresh one while there is room, else the one unused the longest.
template <typename Entry>
Entry& NewEntry(std::vector<Entry>& entries, size_t most) {
    if (entries.size() < most) return entries.emplace_back();
    return LeastRecentlyUsed(entries);
}

IconEntry* FindIconEntry(IconHandle icon, int32_t width, int32_t height) {
    for (IconEntry& entry : iconEntries) {
        if (entry.icon == icon && entry.width == width && entry.height == height) return &entry;
    }
    return nullptr;
}

void Convert(IconEntry& entry, IconHandle icon) {
    entry.icon = icon;
    entry.width = entry.height = 0;
    entry.readable = IconPixels(icon, &entry.picture) && HoldsAllPixels(entry.picture);
}

void Resize(IconEntry& entry, const RgbaImage& own, int32_t width, int32_t height) {
    entry.width = width;
    entry.height = height;
    if (own.width == width && own.height == height) {
        PreparePicture(own, &entry.prepared);
        return;
    }
    const RgbaImage resized = ResampledWindow(own, width, height, Rect{0, 0, width, height});
    entry.readable = HoldsAllPixels(resized);
    if (entry.readable) PreparePicture(resized, &entry.prepared);
}

const IconEntry& OwnPicture(IconHandle icon) {
    IconEntry* own = FindIconEntry(icon, 0, 0);
    if (!own) {
        own = &NewEntry(iconEntries, MostKeptIconPictures);
        Convert(*own, icon);
    }
    own->lastUse = ++useClock;
    return *own;
}

const PreparedPicture* Readable(const IconEntry& entry) { return entry.readable ? &entry.prepared : nullptr; }

PreparedPicture::RunKind KindOf(uint8_t alpha) {
    if (alpha == 0) return PreparedPicture::Clear;
    return alpha == 255 ? PreparedPicture::Solid : PreparedPicture::Partial;
}

void Rasterise(TextEntry& entry, const std::wstring& text) {
    entry.text = text;
    entry.width = MeasureTextWidth(text);
    entry.rasterised = false;
    entry.readable = false;
}

TextEntry& TextEntryFor(const std::wstring& text) {
    if (!keeping) {
        Rasterise(scratchText, text);
        return scratchText;
    }
    for (TextEntry& entry : textEntries) {
        if (entry.text == text) {
            entry.lastUse = ++useClock;
            return entry;
        }
    }
    TextEntry& entry = NewEntry(textEntries, MostKeptTexts);
    Rasterise(entry, text);
    entry.lastUse = ++useClock;
    return entry;
}

}  // namespace

void PreparePicture(const RgbaImage& image, PreparedPicture* out) {
    out->width = image.width;
    out->height = image.height;
    const size_t count = static_cast<size_t>(image.width) * image.height;
    out->rgb.resize(count * 3);
    out->alpha.resize(count);
    out->runs.clear();
    out->rowRuns.clear();
    for (size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) out->rgb[i * 3 + c] = image.pixels[i * 4 + c];
        out->alpha[i] = image.pixels[i * 4 + 3];
    }
    for (int32_t row = 0; row < image.height; ++row) {
        out->rowRuns.push_back(out->runs.size());
        const uint8_t* alpha = &out->alpha[static_cast<size_t>(row) * image.width];
        for (int32_t column = 0; column < image.width;) {
            const PreparedPicture::RunKind kind = KindOf(alpha[column]);
            int32_t end = column + 1;
            while (end < image.width && KindOf(alpha[end]) == kind) ++end;
            if (kind != PreparedPicture::Clear) out->runs.push_back({column, end, kind});
            column = end;
        }
    }
    out->rowRuns.push_back(out->runs.size());
}

const PreparedPicture* IconPicture(IconHandle icon, int32_t width, int32_t height) {
    if (!icon || width <= 0 || height <= 0) return nullptr;
    if (!keeping) {
        Convert(scratchIcon, icon);
        if (scratchIcon.readable) Resize(scratchIcon, scratchIcon.picture, width, height);
        return Readable(scratchIcon);
    }
    if (IconEntry* kept = FindIconEntry(icon, width, height)) {
        kept->lastUse = ++useClock;
        return Readable(*kept);
    }
    const IconEntry& own = OwnPicture(icon);
    if (!own.readable) return nullptr;
    // Copied out first: making room may reuse the own picture's entry.
    const RgbaImage source = own.picture;
    IconEntry& sized = NewEntry(iconEntries, MostKeptIconPictures);
    sized.icon = icon;
    sized.readable = true;
    sized.picture = RgbaImage{};
    Resize(sized, source, width, height);
    sized.lastUse = ++useClock;
    return Readable(sized);
}

void ForgetIconPictures(IconHandle icon) {
    ++iconChanges;
    if (!icon) return;
    std::erase_if(iconEntries, [icon](const IconEntry& entry) { return entry.icon == icon; });
}

int32_t TextWidth(const std::wstring& text) { return TextEntryFor(text).width; }

const TextCoverage* TextPicture(const std::wstring& text) {
    TextEntry& entry = TextEntryFor(text);
    if (!entry.rasterised) {
        entry.readable = RasteriseText(text, &entry.coverage);
        entry.rasterised = true;
    }
    return entry.readable ? &entry.coverage : nullptr;
}

uint64_t IconChanges() { return iconChanges; }

void SetPictureKeeping(bool keep) {
    keeping = keep;
    iconEntries.clear();
    textEntries.clear();
}

bool PictureKeeping() { return keeping; }

void ForgetKeptPictures() {
    std::vector<IconEntry>().swap(iconEntries);
    std::vector<TextEntry>().swap(textEntries);
    scratchIcon = IconEntry{};
    scratchText = TextEntry{};
    ForgetResampleWeights();
    ForgetKeptLayers();
}
