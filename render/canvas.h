// The canvas's pixel buffer, which the bar owns and paints; the backend only presents copies.
#pragma once

#include <cstdint>
#include <vector>

struct CanvasBuffer {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;  // top-down, 3 bytes a pixel: red, green, blue
    uint64_t generation = 0;   // new with every CreateCanvasBuffer
};

extern CanvasBuffer canvasBuffer;

// Makes the buffer width x height, all white, as a new canvas shows before its first frame.
void CreateCanvasBuffer(int32_t width, int32_t height);
