// PNG files in and out, with libpng.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

// Decodes a PNG held in memory into 8-bit straight RGBA, rows top-down, exactly as stored: no
// gamma or colour-space correction. Any colour type and bit depth is widened to RGBA (grey to
// equal channels, palette and tRNS to alpha, 16 bits cut to 8); interlaced files are accepted.
// Anything that cannot be decoded gives a 0 x 0 image.
RgbaImage DecodePngImage(const uint8_t* data, size_t size);

// Writes a top-down RGB picture (3 bytes a pixel) as an 8-bit RGB PNG. False when the file
// cannot be written or the picture is empty.
bool WritePngFile(const std::string& path, const uint8_t* rgb, int32_t width, int32_t height);
