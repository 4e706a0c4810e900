// Bringing up GTK, the primary display and the pointer.
#include <cstdio>
#include <cstdlib>
#include <X11/Xlib-xcb.h>
#include <gdk/gdkx.h>
#include <xcb/xcb.h>

#include "platform/gtk/gtk_desktop.h"

GtkDesktop desktop;

namespace {

// The timeout of the wait in progress. Its deadline is a plain field that the main context asks
// for when it prepares to poll: arming it costs no wake-up of the context, as setting a source's
// ready time would.
gboolean PrepareWaitTimer(GSource* source, gint* timeout) {
    if (desktop.waitDeadline < 0) {
        *timeout = -1;
        return FALSE;
    }
    const gint64 remaining = desktop.waitDeadline - g_source_get_time(source);
    *timeout = remaining > 0 ? static_cast<gint>((remaining + 999) / 1000) : 0;
    return remaining <= 0;
}

gboolean CheckWaitTimer(GSource* source) {
    return desktop.waitDeadline >= 0 && g_source_get_time(source) >= desktop.waitDeadline;
}

gboolean OnWaitTimer(GSource*, GSourceFunc, gpointer) {
    desktop.waitOver = true;
    desktop.waitDeadline = -1;
    return G_SOURCE_CONTINUE;
}

GSourceFuncs waitTimerFuncs = {PrepareWaitTimer, CheckWaitTimer, OnWaitTimer, nullptr, nullptr, nullptr};

// Every event GDK dispatches passes here first, so a wait knows that something was delivered.
// Pointer moves over the canvas that GDK still sees (those with a button held; the others are
// taken before GDK, events.cpp) are taken here: GTK has nothing to do with them.
void OnGdkEvent(GdkEvent* event, gpointer) {
    desktop.delivered = true;
    if (event->type == GDK_MOTION_NOTIFY && desktop.canvas.area &&
        event->motion.window == gtk_widget_get_window(desktop.canvas.area)) {
        TakePointerMove(&event->motion);
        return;
    }
    gtk_main_do_event(event);
}

UserVariable SaveVariable(const char* name) {
    const char* value = g_getenv(name);
    return {name, value != nullptr, value ? value : ""};
}

GdkMonitor* PrimaryMonitor() {
    GdkMonitor* monitor = gdk_display_get_primary_monitor(desktop.display);
    // Xvfb and some X servers flag no monitor as primary: the first one stands in.
    return monitor ? monitor : gdk_display_get_monitor(desktop.display, 0);
}

}  // namespace

void StartPlatform() {
    // The bar places itself and reads the pointer in root-window pixels, which only X11 offers
    // (under Wayland, XWayland does).
    gdk_set_allowed_backends("x11");
    // Its geometry is in device pixels, so GDK draws it unscaled. A text scale set to make up for
    // a window scale would shrink the text once that is gone, so it goes as well. The programs
    // the bar starts still get the user's own settings (UserVariables).
    const UserVariable& userScale = desktop.userVariables[0] = SaveVariable("GDK_SCALE");
    desktop.userVariables[1] = SaveVariable("GDK_DPI_SCALE");
    if (userScale.had && userScale.value != "1") g_unsetenv("GDK_DPI_SCALE");
    g_setenv("GDK_SCALE", "1", TRUE);
    // The bar paints into its own buffer and never uses OpenGL. Left on, GDK opens GL at start to
    // choose its visuals, which maps the GL driver (with a software renderer, tens of megabytes)
    // into a program that otherwise needs a few.
    desktop.userVariables[2] = SaveVariable("GDK_GL");
    g_setenv("GDK_GL", "disable", TRUE);
    if (!gtk_init_check(nullptr, nullptr)) {
        std::fprintf(stderr, "edgeway: cannot open the X display (is DISPLAY set?)\n");
        std::exit(1);
    }
    desktop.display = gdk_display_get_default();
    gdk_x11_display_set_window_scale(desktop.display, 1);
    gdk_event_handler_set(OnGdkEvent, nullptr, nullptr);
    int firstEvent = 0, firstError = 0;
    if (!XQueryExtension(GDK_DISPLAY_XDISPLAY(desktop.display), "XInputExtension", &desktop.inputOpcode, &firstEvent,
                         &firstError)) {
        desktop.inputOpcode = -1;
    }
    StartTakingBarMoves();
    StartPointerWatch();
    desktop.waitTimer = g_source_new(&waitTimerFuncs, sizeof(GSource));
    g_source_attach(desktop.waitTimer, nullptr);
}

void StopPlatform() {
    if (desktop.display) gdk_display_flush(desktop.display);
}

DisplaySize MeasurePrimaryDisplay() {
    GdkMonitor* monitor = desktop.display ? PrimaryMonitor() : nullptr;
    if (!monitor) return {};
    GdkRectangle area{};
    gdk_monitor_get_geometry(monitor, &area);
    desktop.originX = area.x;
    desktop.originY = area.y;
    return {area.width, area.height};
}

// The seat's pointer is X's core pointer. While it rests on the canvas, the canvas's own events
// say where it is; otherwise the server is asked (one core-protocol round trip), unless it has
// not moved since it was last asked (pointer_watch.cpp).
PointerPosition ReadPointer() {
    if (!desktop.display) return {};
    if (desktop.pointerKnown) return {desktop.pointerX - desktop.originX, desktop.pointerY - desktop.originY};
    if (!PointerMayHaveMoved()) return {desktop.lastPointerX - desktop.originX, desktop.lastPointerY - desktop.originY};
    BeforeAskingPointer();
    Display* x11 = GDK_DISPLAY_XDISPLAY(desktop.display);
    xcb_connection_t* connection = XGetXCBConnection(x11);
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, DefaultRootWindow(x11)), nullptr);
    if (!reply) return {desktop.lastPointerX - desktop.originX, desktop.lastPointerY - desktop.originY};
    AfterAskingPointer(reply->root_x != desktop.lastPointerX || reply->root_y != desktop.lastPointerY);
    desktop.lastPointerX = reply->root_x;
    desktop.lastPointerY = reply->root_y;
    std::free(reply);
    return {desktop.lastPointerX - desktop.originX, desktop.lastPointerY - desktop.originY};
}
