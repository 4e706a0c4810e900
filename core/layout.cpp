#include "core/layout.h"

#include <cmath>

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
    return RoundHalfEven((SlotShareOfScreen * length - closeExtent - 8) / (bar.slotGap + SlotEdge));
}

int32_t FittingSlotCount(int64_t wanted) {
    if (wanted < 0) return 0;
    const bool horizontal = IsHorizontal(bar.side);
    const int64_t fixedPart = horizontal ? bar.closeRect.width + 8 : bar.closeRect.height + 32;
    const int64_t pitch = bar.slotGap + SlotEdge;
    const int64_t most = pitch > 0 ? (LongestBarExtent - fixedPart) / pitch : 0;
    return static_cast<int32_t>(wanted < most ? wanted : most);
}

namespace {

void PlaceHorizontalBar(int32_t pitch) {
    bar.barWidth = bar.slotCount * pitch + bar.closeRect.width + 8;
    bar.barHeight = HorizontalBarThickness;
    bar.barX = RoundHalfEven((bar.desktopWidth - bar.barWidth) * 0.5);
    if (bar.side == SideTop) {
        bar.barY = 0;
        bar.detectionRect = {bar.barX, 0, bar.barWidth, bar.detectionRange};
    } else {
        bar.barY = bar.desktopHeight - bar.barHeight;
        bar.detectionRect = {bar.barX, bar.desktopHeight - bar.detectionRange, bar.barWidth,
                             bar.detectionRange};
    }
}

void PlaceVerticalBar(int32_t pitch) {
    bar.barWidth = VerticalBarThickness;
    bar.barHeight = bar.slotCount * pitch + bar.closeRect.height + 32;
    bar.barY = RoundHalfEven((bar.desktopHeight - bar.barHeight) * 0.5);
    if (bar.side == SideRight) {
        bar.barX = bar.desktopWidth - bar.barWidth;
        bar.detectionRect = {bar.desktopWidth - bar.detectionRange, bar.barY, bar.detectionRange,
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
