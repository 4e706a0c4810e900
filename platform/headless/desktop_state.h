// What the scripted desktop holds between calls. Internal to platform/headless.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

struct HeadlessDesktop {
    DisplaySize display{1920, 1080};
    int64_t liveIcons = 0;
    int64_t presentedFrames = 0;
    std::vector<uint8_t> screen;  // the last frame presented, top-down RGB
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    std::string fontFile;  // empty: the "sans-serif" face fontconfig picks
};

extern HeadlessDesktop headless;
