// The timed wait on the GLib main context, and what the windows and the canvas turn into bar
// events.
#include <X11/extensions/XInput2.h>
#include <gdk/gdkx.h>

#include "platform/gtk/gtk_desktop.h"

namespace {

constexpr guint ButtonLeft = 1;
constexpr guint ButtonRight = 3;
constexpr guint AnyButtonMask =
    GDK_BUTTON1_MASK | GDK_BUTTON2_MASK | GDK_BUTTON3_MASK | GDK_BUTTON4_MASK | GDK_BUTTON5_MASK;

guint MaskOf(guint button) { return button >= 1 && button <= 5 ? GDK_BUTTON1_MASK << (button - 1) : 0; }

bool InsideCanvas(double x, double y) {
    return x >= 0 && y >= 0 && x < desktop.canvas.width && y < desktop.canvas.height;
}

BarEvent TakePending() {
    const BarEvent event = desktop.pending.front();
    desktop.pending.pop_front();
    if (event.kind == EventDrop && !desktop.drops.empty()) {
        desktop.currentDrop = std::move(desktop.drops.front());
        desktop.drops.pop_front();
    }
    return event;
}

// A left or right press made while no other button is held makes the canvas hold the pointer
// until that button comes up. GDK reports the second press of a double-click (its own time and
// distance) once more, as a 2-button press, after the plain press.
gboolean OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer) {
    if (event->type == GDK_2BUTTON_PRESS) {
        if (event->button == ButtonLeft) QueueCanvasEvent(CanvasLeftDoubleClick);
        if (event->button == ButtonRight) QueueCanvasEvent(CanvasRightDoubleClick);
        return TRUE;
    }
    if (event->type != GDK_BUTTON_PRESS) return TRUE;
    // While a button is held the canvas also hears of moves off it: the server is asked again.
    desktop.pointerKnown = false;
    QueueCanvasEvent(CanvasButtonPress);
    const bool othersHeld = (event->state & AnyButtonMask & ~MaskOf(event->button)) != 0;
    if ((event->button == ButtonLeft || event->button == ButtonRight) && desktop.heldButton == 0 && !othersHeld) {
        desktop.heldButton = event->button;
    }
    return TRUE;
}

// A release is a click when the canvas held the pointer for that button and the release point
// lies on the canvas.
gboolean OnButtonRelease(GtkWidget*, GdkEventButton* event, gpointer) {
    QueueCanvasEvent(CanvasButtonRelease);
    if (event->button != desktop.heldButton || desktop.heldButton == 0) return TRUE;
    desktop.heldButton = 0;
    if (InsideCanvas(event->x, event->y)) {
        QueueCanvasEvent(event->button == ButtonLeft ? CanvasLeftClick : CanvasRightClick);
    }
    return TRUE;
}

// With no button held, the canvas hears of a move only while the pointer is on it and no other
// client holds the pointer: the position it reports is where the pointer is.
void NotePointer(double rootX, double rootY, guint state) {
    if ((state & AnyButtonMask) != 0) return;
    desktop.pointerKnown = true;
    desktop.pointerX = static_cast<int32_t>(rootX);
    desktop.pointerY = static_cast<int32_t>(rootY);
}

}  // namespace

void TakePointerMove(const GdkEventMotion* event) {
    NotePointer(event->x_root, event->y_root, event->state);
    QueueCanvasEvent(CanvasPointerMove);
}

namespace {

// A move with no button held, over the bar window (which the canvas covers from 0, 0), is taken
// as X reports it, before GDK turns it into an event of its own: while the pointer sweeps along
// the bar, that is a hundred events a second that GTK has no use for. Any other move, and every
// other event, goes on to GDK.
GdkFilterReturn TakeBarMove(GdkXEvent* native, GdkEvent*, gpointer) {
    const XEvent* event = static_cast<const XEvent*>(native);
    GdkWindow* bar = desktop.bar.widget ? gtk_widget_get_window(desktop.bar.widget) : nullptr;
    if (!bar) return GDK_FILTER_CONTINUE;
    double rootX = 0, rootY = 0;
    if (event->type == GenericEvent && event->xcookie.extension == desktop.inputOpcode &&
        event->xcookie.evtype == XI_Motion && event->xcookie.data) {
        // GDK has fetched the event's data before its filters run.
        const auto* move = static_cast<const XIDeviceEvent*>(event->xcookie.data);
        if (move->event != GDK_WINDOW_XID(bar)) return GDK_FILTER_CONTINUE;
        for (int button = 1; button <= 5 && button < move->buttons.mask_len * 8; ++button) {
            if (XIMaskIsSet(move->buttons.mask, button)) return GDK_FILTER_CONTINUE;
        }
        rootX = move->root_x;
        rootY = move->root_y;
    } else if (event->type == MotionNotify) {
        if (event->xmotion.window != GDK_WINDOW_XID(bar) ||
            (event->xmotion.state & (Button1Mask | Button2Mask | Button3Mask | Button4Mask | Button5Mask)) != 0) {
            return GDK_FILTER_CONTINUE;
        }
        rootX = event->xmotion.x_root;
        rootY = event->xmotion.y_root;
    } else {
        return GDK_FILTER_CONTINUE;
    }
    desktop.delivered = true;
    NotePointer(rootX, rootY, 0);
    QueueCanvasEvent(CanvasPointerMove);
    return GDK_FILTER_REMOVE;
}

gboolean OnPointerMove(GtkWidget*, GdkEventMotion* event, gpointer) {
    TakePointerMove(event);
    return TRUE;
}

// Leaving for any reason (another window on top, a grab by another client, a drag) means the
// moves are no longer ours to see.
gboolean OnPointerCrossing(GtkWidget*, GdkEventCrossing* event, gpointer) {
    if (event->type == GDK_ENTER_NOTIFY) {
        NotePointer(event->x_root, event->y_root, event->state);
    } else {
        desktop.pointerKnown = false;
    }
    QueueCanvasEvent(event->type == GDK_ENTER_NOTIFY ? CanvasPointerEnter : CanvasPointerLeave);
    return TRUE;
}

gboolean OnWheel(GtkWidget*, GdkEvent*, gpointer) {
    QueueCanvasEvent(CanvasWheel);
    return TRUE;
}

// The window stays; the bar ends its run when the loop takes this event.
gboolean OnDeleteRequest(GtkWidget*, GdkEvent*, gpointer) {
    BarEvent event;
    event.kind = EventClose;
    QueueBarEvent(event);
    return TRUE;
}

}  // namespace

void QueueBarEvent(const BarEvent& event) { desktop.pending.push_back(event); }

void QueueCanvasEvent(CanvasEventKind kind) { QueueBarEvent(CanvasEvent(&desktop.canvas, kind)); }

void ConnectCanvasInput(GtkWidget* area) {
    gtk_widget_add_events(area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                    GDK_ENTER_NOTIFY_MASK | GDK_LEAVE_NOTIFY_MASK | GDK_SCROLL_MASK);
    g_signal_connect(area, "button-press-event", G_CALLBACK(OnButtonPress), nullptr);
    g_signal_connect(area, "button-release-event", G_CALLBACK(OnButtonRelease), nullptr);
    g_signal_connect(area, "motion-notify-event", G_CALLBACK(OnPointerMove), nullptr);
    g_signal_connect(area, "enter-notify-event", G_CALLBACK(OnPointerCrossing), nullptr);
    g_signal_connect(area, "leave-notify-event", G_CALLBACK(OnPointerCrossing), nullptr);
    g_signal_connect(area, "scroll-event", G_CALLBACK(OnWheel), nullptr);
}

void StartTakingBarMoves() { gdk_window_add_filter(nullptr, TakeBarMove, nullptr); }

void ConnectCloseRequests(GtkWidget* window) {
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDeleteRequest), nullptr);
}

// Any event GDK dispatches ends the wait (OnGdkEvent notes it); its handlers have queued what
// concerns the bar by then, and those bar events come out of the following calls.
BarEvent WaitEvent(int32_t timeoutMs) {
    if (!desktop.pending.empty()) return TakePending();
    if (!desktop.waitTimer) return BarEvent{};
    desktop.delivered = false;
    desktop.waitOver = false;
    desktop.waitDeadline = g_get_monotonic_time() + int64_t{timeoutMs > 0 ? timeoutMs : 0} * 1000;
    while (!desktop.delivered && !desktop.waitOver) g_main_context_iteration(nullptr, TRUE);
    desktop.waitDeadline = -1;
    BarEvent event;
    if (desktop.delivered) event.kind = EventOther;
    return event;
}

std::vector<std::wstring> DroppedFiles() { return desktop.currentDrop; }
