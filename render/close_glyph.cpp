#include "render/close_glyph.h"

#include <cstddef>
#include <cstdint>

#include "render/png_io.h"

// The bytes of assets/close.png, compiled in by the build (cmake/embed_file.cmake).
extern const uint8_t closeGlyphPng[];
extern const size_t closeGlyphPngSize;

RgbaImage DecodeCloseGlyph() { return DecodePngImage(closeGlyphPng, closeGlyphPngSize); }
