// Resizing icons with the Mitchell-Netravali cubic (B = C = 1/3).
#pragma once

#include <cstdint>

#include "core/bar_state.h"
#include "platform/platform.h"

// The filter's weight at a distance of x pixels (in the filter's own scale).
double MitchellNetravali(double x);

// The part `window` (target coordinates, inside 0..width x 0..height) of `source` resampled to
// width x height: the pixels are exactly those of the whole resampled image, cut out.
//
// Separable, horizontal pass first. The support is 2 source pixels when enlarging and widens by
// the reduction factor when shrinking; where the image's edge cuts it, the remaining weights are
// renormalised. Every channel, alpha included, is filtered straight, after fully transparent
// pixels have been turned white (so edges fade towards white, not black), and each pass rounds
// to 8 bits. Weights are made once per (source size, target size) pair and kept.
RgbaImage ResampledWindow(const RgbaImage& source, int32_t width, int32_t height, const Rect& window);

// Lets go of the weights kept per size pair.
void ForgetResampleWeights();
