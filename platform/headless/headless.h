// The scripted desktop's own controls, for tests and the headless runner. The bar itself only
// ever sees platform.h.
#pragma once

#include <cstdint>

#include "platform/platform.h"

// Puts the scripted desktop back to its start: a 1920 x 1080 display, nothing recorded.
void ResetHeadlessDesktop();

void SetHeadlessDisplay(int32_t width, int32_t height);

// Icons handed out by FindShellIcon and not yet released.
int64_t LiveHeadlessIcons();
