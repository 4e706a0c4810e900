// The drawing operations a frame is painted with, on the canvas buffer (render/canvas.h).
//
// Coordinates are bar coordinates. Every operation clips to the buffer: only pixels inside it are
// touched, and a shape wholly outside (or with no area) changes nothing. Channel arithmetic is
// integer arithmetic and every division by 255 truncates. Outside an open drawing phase the
// operations draw nothing.
#pragma once

#include <cstdint>
#include <string>

#include "core/bar_state.h"
#include "platform/platform.h"

enum DrawMode : int32_t {
    DrawModeReplace = 0,  // boxes overwrite the pixels; text is drawn without a background
    DrawModeBlend = 1,    // boxes are blended with their colour's alpha
};

// Opens a drawing phase for the canvas. Fails, leaving everything as it was, when there is no
// canvas or the buffer is missing or not barWidth x barHeight. The mode starts as DrawModeReplace.
bool BeginCanvasDrawing(CanvasHandle canvas);

void SetDrawMode(DrawMode mode);

// Replace: the pixels take the colour's red, green and blue. Blend: each channel becomes
// (old x (255 - A) + colour x A) / 255, A the colour's alpha.
void FillBox(int32_t x, int32_t y, int32_t width, int32_t height, Color32 color);

// Composites the image with its top-left pixel at x, y. The effective alpha of a pixel of alpha
// a is a when opacity is 255, else a x opacity / 255; each channel becomes
// (image x g + old x (255 - g)) / 255. An empty image draws nothing.
void BlendImage(const RgbaImage& image, int32_t x, int32_t y, int32_t opacity);

// The icon at width x height, resampled when that is not its own size, composited like
// BlendImage at full opacity. Nothing for a size of 0 or less or an icon that cannot be read.
void DrawIconScaled(IconHandle icon, int32_t x, int32_t y, int32_t width, int32_t height);

// The text's advance width on one line in the drawing font; 0 for the empty text.
int32_t MeasureText(const std::wstring& text);

// Draws the text on one line with its character cell's top-left corner at x, y.
void PaintText(int32_t x, int32_t y, const std::wstring& text, Color32 color);

// Composites rasterised text coverage in the colour with its top-left at x, y: per channel,
// (colour x cov + old x (255 - cov)) / 255. PaintText's second half.
void PaintCoverage(const TextCoverage& coverage, int32_t x, int32_t y, Color32 color);

// Tells the phase that its frame differs from the one presented before only in the `changed`
// parts (by default the whole canvas), so that the desktop need not take the rest again.
void NoteChangedParts(const FrameChanges& changed);

// The pixels PaintText of the text at x, y can touch: its character cell.
Rect TextCell(int32_t x, int32_t y, const std::wstring& text);

// Closes the phase and presents the whole buffer on the canvas at once.
void EndCanvasDrawing();
