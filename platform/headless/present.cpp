#include "platform/headless/desktop_state.h"

void PresentFrame(CanvasHandle, const uint8_t* rgb, int32_t width, int32_t height) {
    ++headless.presentedFrames;
    if (!headless.keepScreen) return;
    headless.screenWidth = width;
    headless.screenHeight = height;
    headless.screen.assign(rgb, rgb + static_cast<size_t>(width) * height * 3);
}

int64_t HeadlessPresentedFrames() { return headless.presentedFrames; }
const std::vector<uint8_t>& HeadlessScreen() { return headless.screen; }
int32_t HeadlessScreenWidth() { return headless.screenWidth; }
int32_t HeadlessScreenHeight() { return headless.screenHeight; }

void SetHeadlessScreenKeeping(bool keep) { headless.keepScreen = keep; }
