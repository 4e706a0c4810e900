#include "platform/headless/desktop_state.h"

HeadlessDesktop headless;

void ResetHeadlessDesktop() { headless = HeadlessDesktop{}; }

void SetHeadlessDisplay(int32_t width, int32_t height) { headless.display = {width, height}; }

DisplaySize MeasurePrimaryDisplay() { return headless.display; }
