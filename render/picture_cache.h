// Icon pictures and text rasterisations kept between frames.
//
// A shown bar paints a frame every few milliseconds, mostly of the same icons at the same sizes
// and the same two texts. Converting an icon, resampling it and rasterising a text give the same
// pixels every time, so each result is kept and handed out again; what reaches the canvas is
// exactly what a fresh conversion would have given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// A straight-alpha picture made ready to be composited at full opacity: its colours in the
// canvas's pixel order, and each row cut into runs of clear, solid and partly covering pixels, so
// that a solid run is one copy and a clear one costs nothing.
struct PreparedPicture {
    enum RunKind : uint8_t { Clear, Solid, Partial };
    struct Run {
        int32_t begin = 0;  // columns begin .. end - 1
        int32_t end = 0;
        RunKind kind = Clear;
    };
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;     // 3 bytes a pixel, rows top-down
    std::vector<uint8_t> alpha;   // 1 byte a pixel
    std::vector<Run> runs;        // row after row
    std::vector<size_t> rowRuns;  // where each row's runs start in `runs`, and one past the last
};

void PreparePicture(const RgbaImage& image, PreparedPicture* out);

// The icon at width x height: converted from the desktop's icon, resampled when that is not its
// own size, prepared. Null when its pixels cannot be read. Valid until the next call.
const PreparedPicture* IconPicture(IconHandle icon, int32_t width, int32_t height);

// Drops every picture made from the icon. Must be called before the icon is released, since the
// desktop may hand out a new icon under the same handle afterwards.
void ForgetIconPictures(IconHandle icon);

// The text's advance width, and its coverage (null when the text cannot be rasterised), as
// MeasureTextWidth and RasteriseText give them. The coverage stays valid until the next call.
int32_t TextWidth(const std::wstring& text);
const TextCoverage* TextPicture(const std::wstring& text);

// Counts every ForgetIconPictures: a frame drawn before a change of icons is never taken for one
// drawn after it, even when a new icon came back under an old handle.
uint64_t IconChanges();

// Lets go of everything kept between frames: pictures, rasterised texts, the resampler's weights
// and the kept layers of the frame. The next frame is painted from nothing and keeps anew.
void ForgetKeptPictures();

// With keeping off, every call converts, resamples and rasterises afresh, and no slot is painted
// from a kept copy (for comparisons).
void SetPictureKeeping(bool keep);
bool PictureKeeping();
