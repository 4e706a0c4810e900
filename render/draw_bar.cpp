#include "render/draw_bar.h"

#include <algorithm>

#include "core/bar_state.h"
#include "core/layout.h"
#include "render/drawing.h"
#include "render/kept_frame.h"

namespace {

void DrawSlots() {
    for (size_t i = 0; i < DrawnSlotCount(); ++i) DrawSlot(bar.slots[i]);
}

void DrawVersionText() {
    const int32_t x = VersionTextX(bar.barWidth, MeasureText(bar.versionText));
    PaintText(x, bar.barHeight - FooterLineOffset, bar.versionText, bar.slotColor);
}

void DrawHoverLabel() {
    if (bar.hoverLabel.empty()) return;
    const int32_t x = HoverLabelX(bar.barWidth, MeasureText(bar.hoverLabel));
    PaintText(x, bar.barHeight - FooterLineOffset, bar.hoverLabel, bar.labelColor);
}

void DrawCloseHighlight() {
    if (bar.closeHover == 0) return;
    SetDrawMode(DrawModeBlend);
    const Rect& area = bar.highlightRect;
    FillBox(area.x, area.y, area.width, area.height, CloseHighlightColor);
}

}  // namespace

void DrawSlot(const LinkSlot& slot) { DrawSlotArea(slot, Rect{slot.x, slot.y, slot.width, slot.height}); }

void DrawSlotArea(const LinkSlot& slot, const Rect& area) {
    FillBox(area.x, area.y, area.width, area.height, bar.slotColor);
    if (slot.used != 0 && slot.icon) DrawIconScaled(slot.icon, slot.iconX, slot.iconY, slot.iconSize, slot.iconSize);
}

int32_t HoverLabelX(int32_t barWidth, int32_t labelWidth) {
    return RoundHalfEven((static_cast<double>(barWidth) - labelWidth) * 0.5);
}

int32_t VersionTextX(int32_t barWidth, int32_t textWidth) { return barWidth - textWidth - VersionTextMargin; }

// Layers from the bottom: background, close glyph, slot boxes and icons in slot order, version
// text, hover label (over the version text where they meet), highlight.
void DrawBar() {
    if (SameAsDrawn()) return;
    if (!BeginCanvasDrawing(bar.canvas)) return;
    SetDrawMode(DrawModeReplace);
    if (!PaintKeptLayers()) {
        FillBox(0, 0, bar.barWidth, bar.barHeight, bar.backgroundColor);
        BlendImage(bar.closeImage, bar.closeRect.x, bar.closeRect.y, CloseGlyphOpacity);
        DrawSlots();
        KeepLayers();
    }
    if (FooterToPaint()) {
        DrawVersionText();
        DrawHoverLabel();
    }
    if (HighlightToPaint()) DrawCloseHighlight();
    NoteChangedParts(ChangedParts());
    EndCanvasDrawing();
    RememberDrawn();
}
