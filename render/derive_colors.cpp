#include <cmath>

#include "core/bar_state.h"
#include "render/draw_bar.h"

namespace {

// One unit in the last place above the double nearest 0.85. The halfway products c x 0.85
// (c = 30, 50, ..., 250) then come out just above the half and round up, but 10 x this factor
// rounds to exactly 8.5 in double arithmetic, which goes to the even 8.
const double SlotShadeFactor = std::nextafter(0.85, 1.0);
constexpr double LabelContrastFactor = 0.9;

uint32_t SlotShade(uint32_t c) { return static_cast<uint32_t>(std::nearbyint(c * SlotShadeFactor)); }

// Halfway values (c = 5, 15, ..., 255) go to the even neighbour.
uint32_t LabelContrast(uint32_t c) {
    return static_cast<uint32_t>(std::nearbyint(255.0 - c * LabelContrastFactor));
}

}  // namespace

void DeriveColors() {
    const uint32_t r = RedOf(bar.backgroundColor), g = GreenOf(bar.backgroundColor), b = BlueOf(bar.backgroundColor);
    bar.slotColor = PackColor(SlotShade(r), SlotShade(g), SlotShade(b), 255);
    bar.labelColor = PackColor(LabelContrast(r), LabelContrast(g), LabelContrast(b), 255);
}
