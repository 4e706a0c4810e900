// The scripted desktop's own controls, for tests and the headless runner. The bar itself only
// ever sees platform.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

// Puts the scripted desktop back to its start: a 1920 x 1080 display, nothing recorded.
void ResetHeadlessDesktop();

void SetHeadlessDisplay(int32_t width, int32_t height);

// Icons handed out by FindShellIcon and not yet released.
int64_t LiveHeadlessIcons();

// How many frames were presented, and the last one as it is on the scripted screen.
int64_t HeadlessPresentedFrames();
const std::vector<uint8_t>& HeadlessScreen();
int32_t HeadlessScreenWidth();
int32_t HeadlessScreenHeight();

// Text is set in the font file at `path` instead of the one fontconfig finds for "sans-serif";
// an empty path goes back to fontconfig. A path with no usable font makes text unavailable.
void SetHeadlessFontFile(const std::string& path);
