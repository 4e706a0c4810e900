#include "core/main_loop.h"

#include "core/bar_state.h"
#include "core/hover.h"
#include "render/draw_bar.h"
#include "store/links.h"

namespace {

constexpr int32_t HiddenWaitMs = 50;
constexpr int32_t ShownWaitMs = 5;

bool PointerInRevealStrip() {
    const Rect& strip = bar.detectionRect;
    return strip.x <= mouseX && mouseX < strip.x + strip.width && strip.y <= mouseY &&
           mouseY < strip.y + strip.height;
}

// Both far edges count as inside: the column just right of the bar and the row just below it
// keep it shown.
bool PointerOutsideBar() {
    return mouseX < bar.barX || mouseX > bar.barX + bar.barWidth || mouseY < bar.barY ||
           mouseY > bar.barY + bar.barHeight;
}

// A hidden bar handles nothing but a close request. False when the program is to end.
bool DrainHiddenPass() {
    for (;;) {
        const BarEvent event = WaitEvent(HiddenWaitMs);
        if (event.kind == EventNone) return true;
        if (event.kind == EventClose) return false;
    }
}

bool DrainShownPass() {
    for (;;) {
        const BarEvent event = WaitEvent(ShownWaitMs);
        switch (event.kind) {
            case EventNone: return true;
            case EventClose: return false;
            case EventDrop: HandleDrop(mouseX, mouseY); break;
            case EventCanvas:
                if (event.control == bar.canvas) RecordClick(event.canvasKind);
                break;
            case EventOther: break;
        }
    }
}

// One pass of the loop; false when the program is to end at once.
bool RunPass() {
    const PointerPosition pointer = ReadPointer();
    mouseX = pointer.x;
    mouseY = pointer.y;
    if (bar.hidden == 1) {
        if (PointerInRevealStrip()) {
            ResetMagnification();
            DrawBar();
            ShowBar();
            bar.hidden = 0;
        }
        return DrainHiddenPass();
    }
    if (PointerOutsideBar()) {
        HideBar();
        bar.hidden = 1;
    }
    ResetClickFlags();
    if (!DrainShownPass()) return false;
    UpdateHover(mouseX, mouseY);
    DrawBar();
    return true;
}

}  // namespace

void RunMainLoop() {
    while (RunPass()) {
        if (bar.quitRequested != 0) return;
    }
}

void ResetClickFlags() { bar.clickFlags = ClickFlags{}; }

void RecordClick(CanvasEventKind kind) {
    switch (kind) {
        case CanvasLeftClick: bar.clickFlags.leftClick = 1; break;
        case CanvasRightClick: bar.clickFlags.rightClick = 1; break;
        case CanvasLeftDoubleClick: bar.clickFlags.leftDoubleClick = 1; break;
        case CanvasRightDoubleClick: bar.clickFlags.rightDoubleClick = 1; break;
        default: break;
    }
}

void ShowBar() { ShowBarWindow(bar.barWindow); }

void HideBar() { HideBarWindow(bar.barWindow, bar.ownerWindow); }
