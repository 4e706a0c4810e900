// Temporary stand-in until render/ lands; drop this file then.
#include <cmath>
#include <string>
#include <vector>

#include "core/bar_state.h"
#include "platform/platform.h"
#include "render/draw_bar.h"

namespace {

// The slot factor is one unit in the last place above the double nearest 0.85, which makes
// 30 x 0.85 round up to 26 while 10 x 0.85 still gives 8.
uint32_t SlotShade(uint32_t c) {
    return static_cast<uint32_t>(std::nearbyint(c * std::nextafter(0.85, 1.0)));
}

uint32_t LabelShade(uint32_t c) { return static_cast<uint32_t>(std::nearbyint(255 - c * 0.9)); }

}  // namespace

void DeriveColors() {
    const Color32 c = bar.backgroundColor;
    bar.slotColor = PackColor(SlotShade(RedOf(c)), SlotShade(GreenOf(c)), SlotShade(BlueOf(c)), 255);
    bar.labelColor = PackColor(LabelShade(RedOf(c)), LabelShade(GreenOf(c)), LabelShade(BlueOf(c)), 255);
}
