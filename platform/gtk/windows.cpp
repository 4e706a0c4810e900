// The owner window, the bar window and its canvas.
#include <gdk/gdkx.h>

#include "platform/gtk/gtk_desktop.h"
#include "store/utf8.h"

namespace {

// Another window mapped or raised over the shown bar: the bar goes back on top, as a topmost
// window would. Rare by nature; the pause only stops a raising match with another such window
// from eating the processor.
gboolean OnVisibilityChange(GtkWidget* widget, GdkEventVisibility* event, gpointer) {
    constexpr gint64 QuietMicroseconds = 100000;
    static gint64 lastRaise = 0;
    const gint64 now = g_get_monotonic_time();
    if (event->state == GDK_VISIBILITY_UNOBSCURED || now - lastRaise < QuietMicroseconds) return FALSE;
    lastRaise = now;
    gdk_window_raise(gtk_widget_get_window(widget));
    return FALSE;
}

void MoveBarIntoPlace() {
    gtk_window_move(GTK_WINDOW(desktop.bar.widget), desktop.barPlace.x + desktop.originX,
                    desktop.barPlace.y + desktop.originY);
}

void KeepOffTaskbarAndFocus(GtkWindow* window) {
    gtk_window_set_skip_taskbar_hint(window, TRUE);
    gtk_window_set_skip_pager_hint(window, TRUE);
    gtk_window_set_accept_focus(window, FALSE);
    gtk_window_set_focus_on_map(window, FALSE);
}

// A white frame, as a new canvas shows before the bar paints it, in memory shared with the X
// server where it can be.
void StartWhite(PlatformCanvas* canvas, GdkWindow* window) {
    canvas->surface = window ? OpenSharedFrame(window, canvas->width, canvas->height) : nullptr;
    if (!canvas->surface) canvas->surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, canvas->width, canvas->height);
    cairo_t* cr = cairo_create(canvas->surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
}

}  // namespace

WindowHandle OpenOwner(const std::wstring& title) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(window), Utf8FromWide(title).c_str());
    KeepOffTaskbarAndFocus(GTK_WINDOW(window));
    ConnectCloseRequests(window);
    // Realised so that it exists on the X server as the bar's transient parent; never mapped.
    gtk_widget_realize(window);
    desktop.owner.widget = window;
    return &desktop.owner;
}

// A popup (override-redirect) window: no window manager moves, frames, lists or focuses it, so
// it lands exactly where it is put, with or without one, and stays above managed windows.
WindowHandle OpenBorderlessBar(WindowHandle owner, const std::wstring& title, WindowPlace place) {
    GtkWidget* window = gtk_window_new(GTK_WINDOW_POPUP);
    GtkWindow* bar = GTK_WINDOW(window);
    gtk_window_set_title(bar, Utf8FromWide(title).c_str());
    gtk_window_set_type_hint(bar, GDK_WINDOW_TYPE_HINT_DOCK);
    if (owner && owner->widget) gtk_window_set_transient_for(bar, GTK_WINDOW(owner->widget));
    KeepOffTaskbarAndFocus(bar);
    gtk_window_set_resizable(bar, FALSE);
    gtk_widget_set_size_request(window, place.width > 0 ? place.width : 1, place.height > 0 ? place.height : 1);
    ConnectCloseRequests(window);
    desktop.bar.widget = window;
    desktop.barPlace = place;
    MoveBarIntoPlace();
    gtk_widget_show(window);
    return &desktop.bar;
}

void MakeTopmost(WindowHandle bar) {
    if (!bar || !bar->widget) return;
    gtk_window_set_keep_above(GTK_WINDOW(bar->widget), TRUE);
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    gtk_widget_add_events(bar->widget, GDK_VISIBILITY_NOTIFY_MASK);
    g_signal_connect(bar->widget, "visibility-notify-event", G_CALLBACK(OnVisibilityChange), nullptr);
    G_GNUC_END_IGNORE_DEPRECATIONS
    if (GdkWindow* window = gtk_widget_get_window(bar->widget)) gdk_window_raise(window);
}

void AcceptFileDrops(WindowHandle bar) {
    if (bar && bar->widget) ConnectDrops(bar->widget);
}

void* NativeHandleOf(WindowHandle window) {
    GdkWindow* native = window && window->widget ? gtk_widget_get_window(window->widget) : nullptr;
    return native ? reinterpret_cast<void*>(gdk_x11_window_get_xid(native)) : nullptr;
}

CanvasHandle OpenCanvas(WindowHandle bar, int32_t width, int32_t height) {
    if (!bar || !bar->widget || width <= 0 || height <= 0) return nullptr;
    PlatformCanvas& canvas = desktop.canvas;
    canvas.width = width;
    canvas.height = height;
    StartWhite(&canvas, gtk_widget_get_window(bar->widget));
    canvas.area = gtk_drawing_area_new();
    gtk_widget_set_size_request(canvas.area, width, height);
    ConnectCanvasInput(canvas.area);
    ConnectCanvasPaint(canvas.area);
    gtk_container_add(GTK_CONTAINER(bar->widget), canvas.area);
    gtk_widget_show(canvas.area);
    return &canvas;
}

void ShowBarWindow(WindowHandle bar) {
    if (!bar || !bar->widget) return;
    MoveBarIntoPlace();
    gtk_widget_show(bar->widget);
    gdk_window_raise(gtk_widget_get_window(bar->widget));
    // The frame painted while the window was hidden goes up with it, not one expose later.
    PaintShownFrame();
    gdk_display_flush(desktop.display);
}

void HideBarWindow(WindowHandle bar, WindowHandle) {
    if (!bar || !bar->widget) return;
    gtk_widget_hide(bar->widget);
    desktop.heldButton = 0;  // an unmapped window loses its hold on the pointer
    desktop.pointerKnown = false;
    gdk_display_flush(desktop.display);
}
