#include "core/hover.h"

#include <cstdlib>

#include "core/bar_state.h"
#include "core/layout.h"
#include "shell/shell.h"
#include "store/links.h"

namespace {

constexpr double FallOffLength = 128.0;

// Strict on all four sides: a point on the border line is outside.
bool StrictlyInside(int32_t px, int32_t py, int32_t x, int32_t y, int32_t width, int32_t height) {
    return x < px && px < x + width && y < py && py < y + height;
}

void UpdateCloseButton(int32_t px, int32_t py) {
    const Rect& close = bar.closeRect;
    if (!StrictlyInside(px, py, close.x, close.y, close.width, close.height)) return;
    bar.closeHover = 1;
    bar.highlightRect = close;
    if (bar.clickFlags.leftClick) bar.quitRequested = 1;
}

void ActOnSlot(LinkSlot& slot) {
    bar.hoverLabel = slot.label;
    if (bar.clickFlags.leftClick) {
        LaunchPath(slot.path);
    } else if (bar.clickFlags.rightDoubleClick) {
        ClearLink(slot.index, 1);
    }
}

// Icons grow linearly from 32 at 128 pixels along the bar to 64 at the pointer.
void Magnify(LinkSlot& slot, int32_t px, int32_t py) {
    const bool horizontal = IsHorizontal(bar.side);
    const double centre = horizontal ? slot.x + slot.width * 0.5 : slot.y + slot.height * 0.5;
    const double along = horizontal ? px : py;
    double e = 1.0 - std::abs(centre - along) / FallOffLength;
    if (e < 0) e = 0;
    slot.iconSize = RoundHalfEven(e * 32 + 32);
    slot.iconX = RoundHalfEven((1 - e) * 16 + slot.x);
    slot.iconY = RoundHalfEven((1 - e) * 16 + slot.y);
}

}  // namespace

void UpdateHover(int32_t mouseX, int32_t mouseY) {
    const int32_t px = BarCoordinate(mouseX, bar.barX);
    const int32_t py = BarCoordinate(mouseY, bar.barY);
    bar.closeHover = 0;
    bar.hoverLabel.clear();
    UpdateCloseButton(px, py);
    for (LinkSlot& slot : bar.slots) {
        if (slot.used != 0 && StrictlyInside(px, py, slot.x, slot.y, slot.width, slot.height)) {
            ActOnSlot(slot);
        }
        Magnify(slot, px, py);
    }
}

void ResetMagnification() {
    for (LinkSlot& slot : bar.slots) {
        slot.iconSize = RestingIconSize;
        slot.iconX = slot.x + RestingIconOffset;
        slot.iconY = slot.y + RestingIconOffset;
    }
}
