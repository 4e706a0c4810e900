#include "core/layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/bar_state.h"

int32_t RoundHalfEven(double value) {
    // nearbyint follows the current rounding mode, which the program never changes from the
    // default round-to-nearest-even.
    return static_cast<int32_t>(std::nearbyint(value));
}

int32_t DefaultSlotCount() {
    const bool horizontal = IsHorizontal(bar.side);
    const double length = horizontal ? bar.desktopWidth : bar.desktopHeight;
    const double closeExtent = horizontal ? bar.closeRect.width : bar.closeRect.height;
    // A display wider than any bar can be (or a misreported one) must not give a bar that is.
    return FittingSlotCount(RoundHalfEven((SlotShareOfScreen * length - closeExtent - 8) / (bar.slotGap + SlotEdge)));
}

int32_t FittingSlotCount(int64_t wanted) {
    if (wanted < 0) return 0;
    const bool horizontal = IsHorizontal(bar.side);
    const int64_t fixedPart = horizontal ? bar.closeRect.width + 8 : bar.closeRect.height + 32;
    const int64_t pitch = bar.slotGap + SlotEdge;
    const int64_t most = pitch > 0 ? (LongestBarExtent - fixedPart) / pitch : 0;
    return static_cast<int32_t>(wanted < most ? wanted : most);
}

int32_t Saturated(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

int32_t BarCoordinate(int32_t desktop, int32_t origin) { return Saturated(int64_t{desktop} - origin); }

namespace {

// Where a strip of `thickness` ends its run at the far edge of a display `extent` long. The
// thickness comes from the settings as written, so it may be anything: a start beyond the
// 32-bit range (only a negative thickness gets there) saturates, and the strip stays empty.
int32_t FarStripStart(int32_t extent, int32_t thickness) { return Saturated(int64_t{extent} - thickness); }

void PlaceHorizontalBar(int32_t pitch) {
    bar.barWidth = bar.slotCount * pitch + bar.closeRect.width + 8;
    bar.barHeight = HorizontalBarThickness;
    bar.barX = RoundHalfEven((bar.desktopWidth - bar.barWidth) * 0.5);
    if (bar.side == SideTop) {
        bar.barY = 0;
        bar.detectionRect = {bar.barX, 0, bar.barWidth, bar.detectionRange};
    } else {
        bar.barY = bar.desktopHeight - bar.barHeight;
        bar.detectionRect = {bar.barX, FarStripStart(bar.desktopHeight, bar.detectionRange), bar.barWidth,
                             bar.detectionRange};
    }
}

void PlaceVerticalBar(int32_t pitch) {
    bar.barWidth = VerticalBarThickness;
    bar.barHeight = bar.slotCount * pitch + bar.closeRect.height + 32;
    bar.barY = RoundHalfEven((bar.desktopHeight - bar.barHeight) * 0.5);
    if (bar.side == SideRight) {
        bar.barX = bar.desktopWidth - bar.barWidth;
        bar.detectionRect = {FarStripStart(bar.desktopWidth, bar.detectionRange), bar.barY, bar.detectionRange,
                             bar.barHeight};
    } else {
        bar.barX = 0;
        bar.detectionRect = {0, bar.barY, bar.detectionRange, bar.barHeight};
    }
}

}  // namespace

void ComputeLayout() {
    const bool horizontal = IsHorizontal(bar.side);
    const int32_t pitch = bar.slotGap + SlotEdge;
    if (horizontal) {
        PlaceHorizontalBar(pitch);
    } else {
        PlaceVerticalBar(pitch);
    }
    bar.closeRect.x = bar.barWidth - bar.closeRect.width - CloseInset;
    bar.closeRect.y = CloseInset;

    bar.slots.assign(bar.slotCount > 0 ? bar.slotCount : 0, LinkSlot{});
    for (int32_t i = 0; i < static_cast<int32_t>(bar.slots.size()); ++i) {
        LinkSlot& slot = bar.slots[i];
        slot.index = i;
        if (horizontal) {
            slot.x = i * pitch + SlotInset;
            slot.y = SlotInset;
        } else {
            slot.x = SlotInset;
            slot.y = bar.closeRect.y + bar.closeRect.height + i * pitch + SlotInset;
        }
        slot.width = SlotEdge;
        slot.height = SlotEdge;
        slot.iconSize = RestingIconSize;
        slot.iconX = slot.x + RestingIconOffset;
        slot.iconY = slot.y + RestingIconOffset;
    }
}
