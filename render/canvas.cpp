#include "render/canvas.h"

#include <cstddef>

CanvasBuffer canvasBuffer;

void CreateCanvasBuffer(int32_t width, int32_t height) {
    static uint64_t made = 0;
    canvasBuffer = CanvasBuffer{};
    canvasBuffer.generation = ++made;
    if (width <= 0 || height <= 0) return;
    canvasBuffer.width = width;
    canvasBuffer.height = height;
    canvasBuffer.rgb.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 255);
}
