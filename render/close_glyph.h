#pragma once

#include "platform/platform.h"

// The close glyph carried inside the program, decoded; 0 x 0 when decoding fails.
RgbaImage DecodeCloseGlyph();
