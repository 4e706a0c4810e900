// Where the bar, its reveal strip, its close button and its slots sit.
#pragma once

#include <cstdint>

// Rounds to the nearest integer, ties to even, as every float-to-int step of the geometry does.
int32_t RoundHalfEven(double value);

// The slot count that fits the current side on the measured display, and never more than
// FittingSlotCount allows.
int32_t DefaultSlotCount();

// A slot count the bar can be built with: never negative, and never so large that the bar
// would be longer than LongestBarExtent on the current side.
int32_t FittingSlotCount(int64_t wanted);

// `value` brought within the signed 32-bit range.
int32_t Saturated(int64_t value);

// A desktop coordinate relative to the bar's origin (desktop minus origin), saturating rather
// than wrapping: a pointer however far off never comes out over the bar.
int32_t BarCoordinate(int32_t desktop, int32_t origin);

// Fills the bar rectangle, the reveal strip and the close button's place, and creates the slots.
void ComputeLayout();
