#include "render/kept_frame.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "render/canvas.h"
#include "render/draw_bar.h"
#include "render/drawing.h"
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
    Rect labelCell;  // where the hover label was painted
};

struct KeptLayers {
    bool valid = false;
    LayersLook look;
    // What each slot's box in `rgb` shows. A slot painted anew on the last frame is not copied
    // here: only a frame that starts from these layers needs it, and that one paints it again.
    std::vector<SlotLook> slots;
    std::vector<uint8_t> rgb;  // the canvas as it was after the slots were painted
};

DrawnFrame drawn;
KeptLayers kept;
// Set by PaintKeptLayers: the layers came from the kept ones, these slots were painted anew, and
// the canvas still held the frame painted before, texts and highlight included.
bool layersFromKept = false;
bool onLastFrame = false;
Rect repaintedSlots;

LayersLook LayersOfBar() {
    return LayersLook{bar.canvas,     canvasBuffer.generation, bar.backgroundColor, bar.slotColor,
                      bar.barWidth,   bar.barHeight,           bar.closeImage.pixels.data(),
                      bar.closeRect.x, bar.closeRect.y,        bar.closeImage.width,
                      bar.closeImage.height, IconChanges()};
}

TopLook TopOfBar() {
    return TopLook{bar.slotColor, bar.labelColor, bar.closeHover, bar.closeHover ? bar.highlightRect : Rect{}};
}

// Where DrawBar paints the hover label.
Rect LabelCell() {
    if (bar.hoverLabel.empty()) return Rect{};
    return TextCell(HoverLabelX(bar.barWidth, MeasureText(bar.hoverLabel)), bar.barHeight - FooterLineOffset,
                    bar.hoverLabel);
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

Rect Union(const Rect& a, const Rect& b) {
    if (a.width <= 0 || a.height <= 0) return b;
    if (b.width <= 0 || b.height <= 0) return a;
    const int64_t x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    const int64_t x1 = std::max(int64_t{a.x} + a.width, int64_t{b.x} + b.width);
    const int64_t y1 = std::max(int64_t{a.y} + a.height, int64_t{b.y} + b.height);
    return Rect{static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(std::min<int64_t>(x1 - x0, INT32_MAX)),
                static_cast<int32_t>(std::min<int64_t>(y1 - y0, INT32_MAX))};
}

Rect IconRect(const SlotLook& look) { return Rect{look.iconX, look.iconY, look.iconSize, look.iconSize}; }

bool IconDrawn(const SlotLook& look) { return look.used != 0 && look.icon && look.iconSize > 0; }

// What of a slot's box differs between two looks of it. When only its icon grew or shrank (the
// pointer moving along the bar), that is where the old and the new icon lie; the rest of the box
// is its plain colour in both.
Rect ChangedInSlot(const SlotLook& before, const SlotLook& now) {
    const Rect box{now.x, now.y, now.width, now.height};
    const bool sameBox = before.x == now.x && before.y == now.y && before.width == now.width &&
                         before.height == now.height;
    if (!sameBox || before.used != now.used || before.icon != now.icon || !IconDrawn(now)) return box;
    const Rect icons = Union(IconRect(before), IconRect(now));
    const bool inBox = icons.x >= box.x && icons.y >= box.y && icons.x + icons.width <= box.x + box.width &&
                       icons.y + icons.height <= box.y + box.height;
    return inBox ? icons : box;
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
    drawn.labelCell = LabelCell();
}

void ForgetDrawnFrame() { drawn.valid = false; }

bool FooterChanged() {
    const TopLook top = TopOfBar();
    return drawn.top.slotColor != top.slotColor || drawn.top.labelColor != top.labelColor ||
           drawn.versionText != bar.versionText || drawn.hoverLabel != bar.hoverLabel;
}

bool HighlightChanged() {
    const TopLook top = TopOfBar();
    return drawn.top.closeHover != top.closeHover || !(drawn.top.highlightRect == top.highlightRect);
}

bool PaintKeptLayers() {
    layersFromKept = false;
    onLastFrame = false;
    repaintedSlots = Rect{};
    if (!PictureKeeping() || !kept.valid || !(kept.look == LayersOfBar())) return false;
    if (kept.slots.size() != DrawnSlotCount() || kept.rgb.size() != canvasBuffer.rgb.size()) return false;
    if (!EverySlotPaintableAlone()) return false;
    if (drawn.valid && drawn.layers == kept.look && drawn.slots.size() == kept.slots.size()) {
        // The canvas holds the last frame, painted over these very layers: it differs from them
        // only where the texts and the highlight lie, and those are put back to the layers only
        // where they are to be painted again.
        onLastFrame = true;
        if (FooterChanged()) RestoreFromKept(0, bar.barHeight - FooterLineOffset, bar.barWidth, FooterLineOffset);
        if (HighlightChanged() && drawn.top.closeHover) {
            const Rect& h = drawn.top.highlightRect;
            RestoreFromKept(h.x, h.y, h.width, h.height);
        }
    } else {
        canvasBuffer.rgb = kept.rgb;
        repaintedSlots = Rect{0, 0, canvasBuffer.width, canvasBuffer.height};
    }
    layersFromKept = true;
    for (size_t i = 0; i < kept.slots.size(); ++i) {
        const LinkSlot& slot = bar.slots[i];
        const SlotLook look = LookOf(slot);
        if ((onLastFrame ? drawn.slots[i] : kept.slots[i]) == look) continue;
        const Rect area = onLastFrame ? ChangedInSlot(drawn.slots[i], look) : Rect{slot.x, slot.y, slot.width, slot.height};
        DrawSlotArea(slot, area);
        repaintedSlots = Union(repaintedSlots, area);
        if (!onLastFrame) {
            CopySlotBox(slot, canvasBuffer.rgb, kept.rgb);
            kept.slots[i] = look;
        }
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

// Adds a part; past the most a frame can carry, the last part grows to take it in.
void AddPart(FrameChanges& changes, const Rect& part) {
    if (part.width <= 0 || part.height <= 0) return;
    if (changes.count < FrameChanges::MostParts) {
        changes.parts[changes.count++] = WindowPlace{part.x, part.y, part.width, part.height};
        return;
    }
    WindowPlace& last = changes.parts[FrameChanges::MostParts - 1];
    const Rect merged = Union(Rect{last.x, last.y, last.width, last.height}, part);
    last = WindowPlace{merged.x, merged.y, merged.width, merged.height};
}

bool FooterToPaint() { return !onLastFrame || FooterChanged(); }

bool HighlightToPaint() { return !onLastFrame || HighlightChanged(); }

FrameChanges ChangedParts() {
    FrameChanges changes;
    if (!onLastFrame) {
        AddPart(changes, Rect{0, 0, canvasBuffer.width, canvasBuffer.height});
        return changes;
    }
    AddPart(changes, repaintedSlots);
    const TopLook top = TopOfBar();
    if (drawn.top.slotColor != top.slotColor || drawn.top.labelColor != top.labelColor ||
        drawn.versionText != bar.versionText) {
        AddPart(changes, Rect{0, bar.barHeight - FooterLineOffset, bar.barWidth, FooterLineOffset});
    } else if (drawn.hoverLabel != bar.hoverLabel) {
        AddPart(changes, Union(drawn.labelCell, LabelCell()));
    }
    if (HighlightChanged()) {
        AddPart(changes, Union(drawn.top.closeHover ? drawn.top.highlightRect : Rect{},
                               top.closeHover ? top.highlightRect : Rect{}));
    }
    return changes;
}

void ForgetKeptLayers() {
    kept = KeptLayers{};
    drawn = DrawnFrame{};
}
