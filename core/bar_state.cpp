#include "core/bar_state.h"

BarState bar;
int32_t mouseX = 0;
int32_t mouseY = 0;
