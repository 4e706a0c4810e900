// What the scripted desktop holds between calls. Internal to platform/headless.
#pragma once

#include <cstdint>

#include "platform/headless/headless.h"

struct HeadlessDesktop {
    DisplaySize display{1920, 1080};
    int64_t liveIcons = 0;
};

extern HeadlessDesktop headless;
