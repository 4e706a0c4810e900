#include "core/start_up.h"

#include <algorithm>

#include "core/bar_state.h"
#include "core/layout.h"
#include "render/canvas.h"
#include "render/close_glyph.h"
#include "render/draw_bar.h"
#include "store/links.h"
#include "store/settings.h"

void StartUp() {
    MeasureDesktop();
    bar.versionText = L"V 0.8";
    bar.titleText = L"Korvanta Edgeway";
    OpenOwnerWindow();
    bar.backgroundColor = DefaultBackgroundColor;
    DeriveColors();
    bar.closeImage = DecodeCloseGlyph();
    bar.closeRect.width = bar.closeImage.width;
    bar.closeRect.height = bar.closeImage.height;
    bar.side = SideTop;
    bar.slotGap = DefaultSlotGap;
    bar.detectionRange = DefaultDetectionRange;
    bar.slotCount = DefaultSlotCount();
    LoadSettings();
    ComputeLayout();
    OpenBarWindow();
    LoadLinks();
}

void MeasureDesktop() {
    // A negative size is no display at all; taken as it is, it would wrap the layout's arithmetic.
    const DisplaySize display = MeasurePrimaryDisplay();
    bar.desktopWidth = std::max(display.width, 0);
    bar.desktopHeight = std::max(display.height, 0);
}

void OpenOwnerWindow() { bar.ownerWindow = OpenOwner(bar.titleText); }

void OpenBarWindow() {
    bar.barWindow = OpenBorderlessBar(bar.ownerWindow, bar.titleText,
                                      {bar.barX, bar.barY, bar.barWidth, bar.barHeight});
    MakeTopmost(bar.barWindow);
    AcceptFileDrops(bar.barWindow);
    bar.barWindowHandle = NativeHandleOf(bar.barWindow);
    bar.canvas = OpenCanvas(bar.barWindow, bar.barWidth, bar.barHeight);
    CreateCanvasBuffer(bar.barWidth, bar.barHeight);
}
