#include <cstring>

#include "platform/headless/desktop_state.h"

// Like a real desktop, the scripted screen takes only the part of a frame said to have changed:
// a part left out by mistake keeps the old pixels there, as it would on a screen.
void PresentFrame(CanvasHandle, const uint8_t* rgb, int32_t width, int32_t height, const FrameChanges& changed) {
    ++headless.presentedFrames;
    if (!headless.keepScreen) return;
    const size_t size = static_cast<size_t>(width) * height * 3;
    if (headless.screenWidth != width || headless.screenHeight != height || headless.screen.size() != size) {
        headless.screenWidth = width;
        headless.screenHeight = height;
        headless.screen.assign(rgb, rgb + size);
        return;
    }
    for (int32_t i = 0; i < changed.count && i < FrameChanges::MostParts; ++i) {
        const WindowPlace part = PartInFrame(changed.parts[i], width, height);
        for (int32_t y = part.y; y < part.y + part.height; ++y) {
            const size_t first = (static_cast<size_t>(y) * width + part.x) * 3;
            std::memcpy(headless.screen.data() + first, rgb + first, static_cast<size_t>(part.width) * 3);
        }
    }
}

int64_t HeadlessPresentedFrames() { return headless.presentedFrames; }
const std::vector<uint8_t>& HeadlessScreen() { return headless.screen; }
int32_t HeadlessScreenWidth() { return headless.screenWidth; }
int32_t HeadlessScreenHeight() { return headless.screenHeight; }

void SetHeadlessScreenKeeping(bool keep) { headless.keepScreen = keep; }
