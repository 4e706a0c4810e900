#include "render/kept_frame.h"

#include <algorithm>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "render/draw_bar.h"
#include "render/picture_cache.h"

namespace {

// Everything about a slot that its pixels depend on.
struct SlotLook {
    int32_t x = 0, y = 0, width = 0, height = 0, used = 0, iconX = 0, iconY = 0, iconSize = 0;
    IconHandle icon = nullptr;
    bool operator==(const SlotLook&) const = default;
};

// What the layers under the texts depend on, but the slots.
struct LayersLook {
    CanvasHandle canvas = nullptr;
    uint64_t buffer = 0;
    Color32 backgroundColor = 0, slotColor = 0;
    int32_t barWidth = 0, barHeight = 0;
    const uint8_t* closePixels = nullptr;
    int32_t closeX = 0, closeY = 0, closeWidth = 0, closeHeight = 0;
    // A new icon may come back under the handle of one released before: any change of icons
    // makes everything painted before it different.
    uint64_t iconChanges = 0;
    bool operator==(const LayersLook&) const = default;
};

// What the rest of the frame depends on.
struct TopLook {
    Color32 slotColor = 0, labelColor = 0;
    int32_t closeHover = 0;
    Rect highlightRect;
    bool operator==(const TopLook&) const = default;
};

struct DrawnFrame {
    bool valid = false;
    LayersLook layers;
    TopLook top;
    std::vector<SlotLook> slots;
    std::wstring versionText;
    std::wstring hoverLabel;
};

struct KeptLayers {
    bool valid = false;
    LayersLook look;
    std::vector<SlotLook> slots;
    std::vector<uint8_t> rgb;  // the canvas as it was after the slots were painted
};

DrawnFrame drawn;
KeptLayers kept;

LayersLook LayersOfBar() {
    return LayersLook{bar.canvas,     canvasBuffer.generation, bar.backgroundColor, bar.slotColor,
                      bar.barWidth,   bar.barHeight,           bar.closeImage.pixels.data(),
                      bar.closeRect.x, bar.closeRect.y,        bar.closeImage.width,
                      bar.closeImage.height, IconChanges()};
}

TopLook TopOfBar() {
    return TopLook{bar.slotColor, bar.labelColor, bar.closeHover, bar.closeHover ? bar.highlightRect : Rect{}};
}

SlotLook LookOf(const LinkSlot& slot) {
    return SlotLook{slot.x, slot.y, slot.width, slot.height, slot.used, slot.iconX, slot.iconY, slot.iconSize,
                    slot.icon};
}

bool Overlap(int32_t x, int32_t y, int32_t w, int32_t h, const LinkSlot& slot) {
    return x < slot.x + slot.width && slot.x < x + w && y < slot.y + slot.height && slot.y < y + h;
}

// A slot can be painted again on its own when its box lies wholly on the canvas, away from the
// close glyph, and its icon wholly in its box: then the box's pixels depend on the slot alone.
bool PaintableAlone(const LinkSlot& slot) {
    if (slot.width <= 0 || slot.height <= 0 || slot.x < 0 || slot.y < 0 ||
        slot.x > canvasBuffer.width - slot.width || slot.y > canvasBuffer.height - slot.height) {
        return false;
    }
    if (Overlap(bar.closeRect.x, bar.closeRect.y, bar.closeImage.width, bar.closeImage.height, slot)) return false;
    if (slot.used == 0 || !slot.icon || slot.iconSize <= 0) return true;
    return slot.iconX >= slot.x && slot.iconY >= slot.y && slot.iconX - slot.x <= slot.width - slot.iconSize &&
           slot.iconY - slot.y <= slot.height - slot.iconSize;
}

bool EverySlotPaintableAlone() {
    for (size_t i = 0; i < DrawnSlotCount(); ++i) {
        if (!PaintableAlone(bar.slots[i])) return false;
    }
    return true;
}

void CopySlotBox(const LinkSlot& slot, const std::vector<uint8_t>& from, std::vector<uint8_t>& to) {
    const size_t rowBytes = static_cast<size_t>(slot.width) * 3;
    for (int32_t row = 0; row < slot.height; ++row) {
        const size_t at = (static_cast<size_t>(slot.y + row) * canvasBuffer.width + slot.x) * 3;
        std::copy_n(from.begin() + at, rowBytes, to.begin() + at);
    }
}

// Copies the part of the rectangle that lies on the canvas from the kept layers.
void RestoreFromKept(int64_t x, int64_t y, int64_t width, int64_t height) {
    const int64_t x0 = std::clamp<int64_t>(x, 0, canvasBuffer.width);
    const int64_t x1 = std::clamp<int64_t>(x + std::max<int64_t>(width, 0), 0, canvasBuffer.width);
    const int64_t y0 = std::clamp<int64_t>(y, 0, canvasBuffer.height);
    const int64_t y1 = std::clamp<int64_t>(y + std::max<int64_t>(height, 0), 0, canvasBuffer.height);
    if (x0 >= x1) return;
    for (int64_t row = y0; row < y1; ++row) {
        const size_t at = (static_cast<size_t>(row) * canvasBuffer.width + static_cast<size_t>(x0)) * 3;
        std::copy_n(kept.rgb.begin() + at, static_cast<size_t>(x1 - x0) * 3, canvasBuffer.rgb.begin() + at);
    }
}

}  // namespace

size_t DrawnSlotCount() { return std::min(static_cast<size_t>(std::max(bar.slotCount, 0)), bar.slots.size()); }

bool SameAsDrawn() {
    if (!PictureKeeping() || !drawn.valid || !(drawn.layers == LayersOfBar()) || !(drawn.top == TopOfBar())) return false;
    if (drawn.slots.size() != DrawnSlotCount()) return false;
    if (drawn.versionText != bar.versionText || drawn.hoverLabel != bar.hoverLabel) return false;
    for (size_t i = 0; i < drawn.slots.size(); ++i) {
        if (!(drawn.slots[i] == LookOf(bar.slots[i]))) return false;
    }
    return true;
}

// Assigned in place, so that remembering a frame like the last allocates nothing.
void RememberDrawn() {
    drawn.valid = true;
    drawn.layers = LayersOfBar();
    drawn.top = TopOfBar();
    drawn.slots.resize(DrawnSlotCount());
    for (size_t i = 0; i < drawn.slots.size(); ++i) drawn.slots[i] = LookOf(bar.slots[i]);
    drawn.versionText = bar.versionText;
    drawn.hoverLabel = bar.hoverLabel;
}

void ForgetDrawnFrame() { drawn.valid = false; }

bool PaintKeptLayers() {
    if (!PictureKeeping() || !kept.valid || !(kept.look == LayersOfBar())) return false;
    if (kept.slots.size() != DrawnSlotCount() || kept.rgb.size() != canvasBuffer.rgb.size()) return false;
    if (!EverySlotPaintableAlone()) return false;
    if (drawn.valid && drawn.layers == kept.look) {
        // The canvas holds the last frame, painted over these very layers: only where the texts
        // and the highlight lay does it differ from them.
        RestoreFromKept(0, bar.barHeight - FooterLineOffset, bar.barWidth, FooterLineOffset);
        if (drawn.top.closeHover) {
            const Rect& h = drawn.top.highlightRect;
            RestoreFromKept(h.x, h.y, h.width, h.height);
        }
    } else {
        canvasBuffer.rgb = kept.rgb;
    }
    for (size_t i = 0; i < kept.slots.size(); ++i) {
        const LinkSlot& slot = bar.slots[i];
        if (kept.slots[i] == LookOf(slot)) continue;
        DrawSlot(slot);
        CopySlotBox(slot, canvasBuffer.rgb, kept.rgb);
        kept.slots[i] = LookOf(slot);
    }
    return true;
}

void KeepLayers() {
    kept.valid = PictureKeeping() && EverySlotPaintableAlone();
    if (!kept.valid) return;
    kept.look = LayersOfBar();
    kept.slots.resize(DrawnSlotCount());
    for (size_t i = 0; i < kept.slots.size(); ++i) kept.slots[i] = LookOf(bar.slots[i]);
    kept.rgb = canvasBuffer.rgb;
}
