// Frames: the bar paints RGB into its own buffer; we keep a copy as a cairo image surface and
// put it on the window at once, and again whenever X asks for the window to be repainted.
#include <cstring>

#include "platform/gtk/gtk_desktop.h"

namespace {

void CopyIntoSurface(PlatformCanvas& canvas, const uint8_t* rgb) {
    cairo_surface_flush(canvas.surface);
    unsigned char* data = cairo_image_surface_get_data(canvas.surface);
    const int stride = cairo_image_surface_get_stride(canvas.surface);
    for (int32_t y = 0; y < canvas.height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        const uint8_t* source = rgb + static_cast<size_t>(y) * canvas.width * 3;
        for (int32_t x = 0; x < canvas.width; ++x, source += 3) {
            row[x] = 0xFF000000u | (uint32_t{source[0]} << 16) | (uint32_t{source[1]} << 8) | source[2];
        }
    }
    cairo_surface_mark_dirty(canvas.surface);
}

void PaintSurface(cairo_t* cr, cairo_surface_t* surface) {
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
}

gboolean OnCanvasDraw(GtkWidget*, cairo_t* cr, gpointer) {
    if (desktop.canvas.surface) PaintSurface(cr, desktop.canvas.surface);
    return TRUE;
}

}  // namespace

void ConnectCanvasPaint(GtkWidget* area) {
    gtk_widget_set_app_paintable(area, TRUE);
    g_signal_connect(area, "draw", G_CALLBACK(OnCanvasDraw), nullptr);
}

// The canvas covers the bar window from 0, 0, so the bar window's own surface takes the frame.
void PaintShownFrame() {
    PlatformCanvas& canvas = desktop.canvas;
    if (!canvas.surface || !desktop.bar.widget || !gtk_widget_get_mapped(desktop.bar.widget)) return;
    GdkWindow* window = gtk_widget_get_window(desktop.bar.widget);
    const cairo_rectangle_int_t whole{0, 0, canvas.width, canvas.height};
    cairo_region_t* region = cairo_region_create_rectangle(&whole);
    GdkDrawingContext* context = gdk_window_begin_draw_frame(window, region);
    PaintSurface(gdk_drawing_context_get_cairo_context(context), canvas.surface);
    gdk_window_end_draw_frame(window, context);
    cairo_region_destroy(region);
}

// A frame equal to the one on the window changes no pixel, so it is not sent again: a shown bar
// that nothing happens to costs no drawing on the X server.
void PresentFrame(CanvasHandle canvas, const uint8_t* rgb, int32_t width, int32_t height) {
    if (!canvas || !rgb || !canvas->surface || width != canvas->width || height != canvas->height) return;
    const size_t size = static_cast<size_t>(width) * static_cast<size_t>(height) * 3;
    if (std::memcmp(canvas->shown.data(), rgb, size) == 0) return;
    std::memcpy(canvas->shown.data(), rgb, size);
    CopyIntoSurface(*canvas, rgb);
    PaintShownFrame();
    gdk_display_flush(desktop.display);
}
