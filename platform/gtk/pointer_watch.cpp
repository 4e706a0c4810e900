// Noticing that the pointer has moved, without asking where it is.
//
// A hidden bar needs the pointer's place every pass, twenty times a second, and asking the X
// server is a round trip each time. Most of the day the pointer rests, or moves far from the
// bar's edge, so the answer is mostly the one before. The server can tell us instead: after each
// question we ask for XInput2's raw motion events on the root window, which come for any move of
// any pointer, also while another program holds the pointer; the first one that comes is all we
// need to know, so we stop asking for them until the next question. While none has come, the
// pointer is where the server last said. While the pointer keeps moving (the last answer
// differed from the one before) the watch is left off and the server asked every pass: a raw
// event a pass would only add a wake-up to the question.
//
// A program that moves the pointer itself (XWarpPointer) makes no raw event; the place is asked
// for anyway every few passes, so such a move is noticed within half a second.
#include <X11/extensions/XInput2.h>
#include <gdk/gdkx.h>

#include "platform/gtk/gtk_desktop.h"

namespace {

constexpr int32_t MostPassesWithoutAsking = 10;

struct PointerWatch {
    bool available = false;
    bool armed = false;
    bool moved = true;
    bool moving = true;  // the last answer differed from the one before
    int32_t passesWithoutAsking = 0;
};

PointerWatch watch;

void SelectRawMotion(bool on) {
    Display* x11 = GDK_DISPLAY_XDISPLAY(desktop.display);
    unsigned char bits[XIMaskLen(XI_LASTEVENT)] = {};
    if (on) XISetMask(bits, XI_RawMotion);
    XIEventMask mask{XIAllMasterDevices, static_cast<int>(sizeof bits), bits};
    XISelectEvents(x11, DefaultRootWindow(x11), &mask, 1);
}

// Runs before GDK turns X events into its own: raw motion is ours, and no event of the bar's, so
// it neither reaches GTK nor ends a wait.
GdkFilterReturn OnXEvent(GdkXEvent* native, GdkEvent*, gpointer) {
    const XEvent* event = static_cast<const XEvent*>(native);
    if (event->type != GenericEvent || event->xcookie.extension != desktop.inputOpcode ||
        event->xcookie.evtype != XI_RawMotion) {
        return GDK_FILTER_CONTINUE;
    }
    watch.moved = true;
    if (watch.armed) {
        SelectRawMotion(false);
        watch.armed = false;
    }
    return GDK_FILTER_REMOVE;
}

}  // namespace

void StartPointerWatch() {
    if (desktop.inputOpcode < 0) return;
    Display* x11 = GDK_DISPLAY_XDISPLAY(desktop.display);
    // Raw events that come whoever holds the pointer need XInput 2.1. GDK has announced its own
    // version already; asking again with the same one only reads what the server has.
    int major = 2, minor = 3;
    gdk_x11_display_error_trap_push(desktop.display);
    const Status status = XIQueryVersion(x11, &major, &minor);
    if (gdk_x11_display_error_trap_pop(desktop.display) != 0 || status != Success || major < 2 ||
        (major == 2 && minor < 1)) {
        return;
    }
    watch.available = true;
    gdk_window_add_filter(nullptr, OnXEvent, nullptr);
}

bool PointerMayHaveMoved() {
    if (!watch.available || watch.moved || watch.passesWithoutAsking >= MostPassesWithoutAsking) return true;
    ++watch.passesWithoutAsking;
    return false;
}

// Armed before the server is asked: a move made after the answer is reported, one made in
// between only costs another question.
void BeforeAskingPointer() {
    watch.passesWithoutAsking = 0;
    if (!watch.available || watch.moving) return;
    watch.moved = false;
    if (!watch.armed) SelectRawMotion(true);
    watch.armed = true;
}

void AfterAskingPointer(bool changed) { watch.moving = changed; }
