// The scripted desktop's windows, canvas and event delivery.
#include <cstdlib>
#include <string>

#include "platform/headless/desktop_state.h"

namespace {

constexpr int64_t DoubleClickTimeMs = 500;
constexpr int32_t DoubleClickDistance = 4;
constexpr int32_t ButtonLeft = 1;
constexpr int32_t ButtonRight = 2;

std::string PlaceText(const WindowPlace& p) {
    return std::to_string(p.x) + "," + std::to_string(p.y) + " " + std::to_string(p.width) + "x" +
           std::to_string(p.height);
}

bool PointerOnBar() {
    const WindowPlace& p = headless.barPlace;
    const PointerPosition& at = headless.pointer;
    return headless.barShown && p.x <= at.x && at.x < p.x + p.width && p.y <= at.y &&
           at.y < p.y + p.height;
}

void QueueCanvasEvent(CanvasEventKind kind) { headless.pending.push_back(CanvasEvent(&headless.canvas, kind)); }

bool IsDoubleClick(int32_t button) {
    const PointerPosition& at = headless.pointer;
    return button == headless.lastPressButton &&
           headless.clockMs - headless.lastPressMs <= DoubleClickTimeMs &&
           std::abs(at.x - headless.lastPressAt.x) <= DoubleClickDistance &&
           std::abs(at.y - headless.lastPressAt.y) <= DoubleClickDistance;
}

// The canvas holds the pointer from a left or right press, made while no other button is held,
// until that button's release; the release is a click when it happens over the canvas.
void DeliverPress(int32_t button) {
    if (!PointerOnBar()) return;  // a press elsewhere goes to another program
    QueueCanvasEvent(CanvasButtonPress);
    if (button != ButtonLeft && button != ButtonRight) return;
    if (headless.heldButton == 0) headless.heldButton = button;
    if (IsDoubleClick(button)) {
        QueueCanvasEvent(button == ButtonLeft ? CanvasLeftDoubleClick : CanvasRightDoubleClick);
        headless.lastPressButton = 0;  // a third press starts a new pair
    } else {
        headless.lastPressButton = button;
        headless.lastPressMs = headless.clockMs;
        headless.lastPressAt = headless.pointer;
    }
}

void DeliverRelease(int32_t button) {
    const bool held = headless.heldButton == button && button != 0;
    if (!held && !PointerOnBar()) return;
    QueueCanvasEvent(CanvasButtonRelease);
    if (!held) return;
    headless.heldButton = 0;
    if (PointerOnBar()) QueueCanvasEvent(button == ButtonLeft ? CanvasLeftClick : CanvasRightClick);
}

void DeliverDrop(const HeadlessMessage& message) {
    if (!headless.dropsAccepted || !PointerOnBar()) {
        Record("drop missed the bar");
        return;
    }
    if (message.kind == HeadlessMessageKind::CopyDrop) {
        Record("drop refused: the source offers no link action");
        return;
    }
    headless.currentDrop = message.paths;
    BarEvent event;
    event.kind = EventDrop;
    event.dropX = headless.pointer.x - headless.barPlace.x;
    event.dropY = headless.pointer.y - headless.barPlace.y;
    headless.pending.push_back(event);
}

void QueueClose(const char* which) {
    Record(std::string("close requested for the ") + which);
    BarEvent event;
    event.kind = EventClose;
    headless.pending.push_back(event);
}

// What the window handlers do with one delivered message: turn it into pending bar events.
void Dispatch(const HeadlessMessage& message) {
    switch (message.kind) {
        case HeadlessMessageKind::Press: DeliverPress(message.button); break;
        case HeadlessMessageKind::Release: DeliverRelease(message.button); break;
        case HeadlessMessageKind::Drop:
        case HeadlessMessageKind::CopyDrop: DeliverDrop(message); break;
        case HeadlessMessageKind::CloseBar: QueueClose("bar window"); break;
        case HeadlessMessageKind::CloseOwner: QueueClose("owner window"); break;
        case HeadlessMessageKind::Other: break;
    }
}

}  // namespace

WindowHandle OpenOwner(const std::wstring&) { return &headless.ownerWindow; }

WindowHandle OpenBorderlessBar(WindowHandle, const std::wstring&, WindowPlace place) {
    headless.barOpen = true;
    headless.barShown = true;
    headless.barPlace = place;
    Record("bar window opened at " + PlaceText(place) + ", shown");
    return &headless.barWindow;
}

void MakeTopmost(WindowHandle) {}

void AcceptFileDrops(WindowHandle) { headless.dropsAccepted = true; }

void* NativeHandleOf(WindowHandle window) { return window; }

CanvasHandle OpenCanvas(WindowHandle, int32_t width, int32_t height) {
    headless.canvas = {width, height};
    return &headless.canvas;
}

void ShowBarWindow(WindowHandle) {
    headless.barShown = true;
    Record("shown");
}

void HideBarWindow(WindowHandle, WindowHandle) {
    headless.barShown = false;
    headless.heldButton = 0;  // a hidden window loses its hold on the pointer
    Record("hidden");
}

BarEvent WaitEvent(int32_t timeoutMs) {
    if (!headless.pending.empty()) {
        const BarEvent event = headless.pending.front();
        headless.pending.pop_front();
        return event;
    }
    if (headless.messages.empty()) {
        headless.clockMs += timeoutMs > 0 ? timeoutMs : 0;
        return BarEvent{};
    }
    const HeadlessMessage message = headless.messages.front();
    headless.messages.pop_front();
    Dispatch(message);
    BarEvent delivered;
    delivered.kind = EventOther;
    return delivered;
}

std::vector<std::wstring> DroppedFiles() { return headless.currentDrop; }
