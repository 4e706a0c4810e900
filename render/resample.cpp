#include "render/resample.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

// The source pixels one target pixel reads, from `first` on, with renormalised weights.
struct FilterTaps {
    int32_t first = 0;
    std::vector<double> weights;
};

using AxisFilter = std::vector<FilterTaps>;

// Target lengths up to this have their whole weight table kept; beyond it (never for the bar's
// icons, which stay at 64 and below) only the taps of the visible pixels are made, per call.
constexpr int32_t LongestKeptTarget = 4096;
// Keeps the table store small however many distinct sizes come along.
constexpr size_t MostKeptFilters = 256;

std::map<std::pair<int32_t, int32_t>, AxisFilter> keptFilters;

FilterTaps TapsFor(int32_t sourceLength, int32_t targetLength, int32_t target) {
    const double scale = static_cast<double>(targetLength) / sourceLength;
    const double stretch = scale < 1.0 ? scale : 1.0;  // squeezes the kernel when shrinking
    const double support = 2.0 / stretch;
    const double centre = (target + 0.5) * sourceLength / targetLength - 0.5;
    const int32_t first = std::max<int32_t>(0, static_cast<int32_t>(std::ceil(centre - support)));
    const int32_t last = std::min<int32_t>(sourceLength - 1, static_cast<int32_t>(std::floor(centre + support)));
    FilterTaps taps;
    taps.first = first;
    double total = 0.0;
    for (int32_t s = first; s <= last; ++s) {
        const double weight = MitchellNetravali((s - centre) * stretch);
        taps.weights.push_back(weight);
        total += weight;
    }
    if (total == 0.0) {
        // Cannot happen for a target inside the image: its nearest source pixel always weighs.
        taps.first = std::clamp(static_cast<int32_t>(std::lround(centre)), 0, sourceLength - 1);
        taps.weights.assign(1, 1.0);
        return taps;
    }
    for (double& weight : taps.weights) weight /= total;
    return taps;
}

const AxisFilter& KeptFilter(int32_t sourceLength, int32_t targetLength) {
    auto [entry, made] = keptFilters.try_emplace({sourceLength, targetLength});
    if (made) {
        entry->second.reserve(targetLength);
        for (int32_t t = 0; t < targetLength; ++t) entry->second.push_back(TapsFor(sourceLength, targetLength, t));
    }
    return entry->second;
}

// The taps of target pixels first .. first + count - 1 along one axis: a view into the kept table,
// or, for a target too long to keep, made for just those pixels.
struct AxisPart {
    AxisFilter made;
    const FilterTaps* taps = nullptr;
};

void FillAxisPart(AxisPart* part, int32_t sourceLength, int32_t targetLength, int32_t first, int32_t count) {
    if (targetLength <= LongestKeptTarget) {
        part->taps = KeptFilter(sourceLength, targetLength).data() + first;
        return;
    }
    part->made.reserve(count);
    for (int32_t t = first; t < first + count; ++t) part->made.push_back(TapsFor(sourceLength, targetLength, t));
    part->taps = part->made.data();
}

uint8_t EightBit(double value) {
    return static_cast<uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

// The filter's input: fully transparent pixels carry no colour of their own, so they are taken as
// white, which keeps a transparent surrounding from darkening the icon's edge.
std::vector<uint8_t> FilterInput(const RgbaImage& source) {
    std::vector<uint8_t> pixels(source.pixels.begin(),
                                source.pixels.begin() + static_cast<size_t>(source.width) * source.height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        if (pixels[i + 3] == 0) pixels[i] = pixels[i + 1] = pixels[i + 2] = 255;
    }
    return pixels;
}

}  // namespace

double MitchellNetravali(double x) {
    constexpr double B = 1.0 / 3.0;
    constexpr double C = 1.0 / 3.0;
    x = std::fabs(x);
    if (x < 1.0) {
        return ((12 - 9 * B - 6 * C) * x * x * x + (-18 + 12 * B + 6 * C) * x * x + (6 - 2 * B)) / 6;
    }
    if (x < 2.0) {
        return ((-B - 6 * C) * x * x * x + (6 * B + 30 * C) * x * x + (-12 * B - 48 * C) * x + (8 * B + 24 * C)) / 6;
    }
    return 0.0;
}

RgbaImage ResampledWindow(const RgbaImage& source, int32_t width, int32_t height, const Rect& window) {
    RgbaImage result;
    if (source.width <= 0 || source.height <= 0 || window.width <= 0 || window.height <= 0) return result;
    if (window.x < 0 || window.y < 0 || window.x > width - window.width || window.y > height - window.height) {
        return result;
    }
    // Emptied before either axis is looked up, so that neither view is left dangling.
    if (keptFilters.size() + 2 > MostKeptFilters) keptFilters.clear();
    AxisPart acrossPart, downPart;
    FillAxisPart(&acrossPart, source.width, width, window.x, window.width);
    FillAxisPart(&downPart, source.height, height, window.y, window.height);
    const FilterTaps* across = acrossPart.taps;
    const FilterTaps* down = downPart.taps;

    // Only the source rows that the visible target rows read go through the first pass.
    const int32_t firstRow = down[0].first;
    int32_t endRow = firstRow;
    for (int32_t row = 0; row < window.height; ++row) {
        endRow = std::max<int32_t>(endRow, down[row].first + static_cast<int32_t>(down[row].weights.size()));
    }

    const std::vector<uint8_t> input = FilterInput(source);
    const int32_t columns = window.width;
    std::vector<uint8_t> between(static_cast<size_t>(endRow - firstRow) * columns * 4);
    for (int32_t row = firstRow; row < endRow; ++row) {
        const uint8_t* line = &input[static_cast<size_t>(row) * source.width * 4];
        uint8_t* out = &between[static_cast<size_t>(row - firstRow) * columns * 4];
        for (int32_t column = 0; column < columns; ++column, out += 4) {
            const FilterTaps& taps = across[column];
            for (int c = 0; c < 4; ++c) {
                double sum = 0.0;
                for (size_t i = 0; i < taps.weights.size(); ++i) sum += taps.weights[i] * line[(taps.first + i) * 4 + c];
                out[c] = EightBit(sum);
            }
        }
    }

    result.width = window.width;
    result.height = window.height;
    result.pixels.resize(static_cast<size_t>(window.width) * window.height * 4);
    for (int32_t row = 0; row < window.height; ++row) {
        const FilterTaps& taps = down[row];
        uint8_t* out = &result.pixels[static_cast<size_t>(row) * columns * 4];
        for (int32_t column = 0; column < columns; ++column, out += 4) {
            for (int c = 0; c < 4; ++c) {
                double sum = 0.0;
                for (size_t i = 0; i < taps.weights.size(); ++i) {
                    sum += taps.weights[i] * between[((taps.first - firstRow + i) * columns + column) * 4 + c];
                }
                out[c] = EightBit(sum);
            }
        }
    }
    return result;
}

void ForgetResampleWeights() { std::map<std::pair<int32_t, int32_t>, AxisFilter>().swap(keptFilters); }
