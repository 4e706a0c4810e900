#pragma once

#include <cstdint>

void UpdateHover(int32_t mouseX, int32_t mouseY);
void ResetMagnification();
