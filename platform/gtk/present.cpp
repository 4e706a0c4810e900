// Frames: the bar paints RGB into its own buffer; we keep a copy as a cairo image surface and
// put it on the window at once, and again whenever X asks for the window to be repainted.
#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/gtk/gtk_desktop.h"

namespace {

// Takes the area of the frame into the cairo surface (xRGB).
void CopyIntoSurface(PlatformCanvas& canvas, const uint8_t* rgb, const WindowPlace& area) {
    unsigned char* data = cairo_image_surface_get_data(canvas.surface);
    const int stride = cairo_image_surface_get_stride(canvas.surface);
    for (int32_t y = area.y; y < area.y + area.height; ++y) {
        const size_t first = (static_cast<size_t>(y) * canvas.width + area.x) * 3;
        auto* row = reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride);
        const uint8_t* source = rgb + first;
        const int32_t end = area.x + area.width;
        // Four bytes at a time: red, green, blue and the next pixel's red, turned round into
        // xRGB. The frame's very last pixel has no byte after it and is taken byte by byte.
        const bool lastRowOfFrame = y == canvas.height - 1 && end == canvas.width;
        const int32_t wordEnd = std::endian::native != std::endian::little ? area.x : lastRowOfFrame ? end - 1 : end;
        int32_t x = area.x;
        for (; x < wordEnd; ++x, source += 3) {
            uint32_t word;
            std::memcpy(&word, source, 4);
            row[x] = 0xFF000000u | __builtin_bswap32(word << 8);
        }
        for (; x < end; ++x, source += 3) {
            row[x] = 0xFF000000u | (uint32_t{source[0]} << 16) | (uint32_t{source[1]} << 8) | source[2];
        }
    }
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

// The canvas covers the bar window from 0, 0, so the bar window's own surface takes the frame.
void PaintShownRegion(const cairo_region_t* region) {
    PlatformCanvas& canvas = desktop.canvas;
    if (!canvas.surface || !desktop.bar.widget || !gtk_widget_get_mapped(desktop.bar.widget)) return;
    GdkWindow* window = gtk_widget_get_window(desktop.bar.widget);
    GdkDrawingContext* context = gdk_window_begin_draw_frame(window, region);
    PaintSurface(gdk_drawing_context_get_cairo_context(context), canvas.surface);
    gdk_window_end_draw_frame(window, context);
}

}  // namespace

void ConnectCanvasPaint(GtkWidget* area) {
    gtk_widget_set_app_paintable(area, TRUE);
    g_signal_connect(area, "draw", G_CALLBACK(OnCanvasDraw), nullptr);
}

void PaintShownFrame() {
    const cairo_rectangle_int_t whole{0, 0, desktop.canvas.width, desktop.canvas.height};
    cairo_region_t* region = cairo_region_create_rectangle(&whole);
    PaintShownRegion(region);
    cairo_region_destroy(region);
}

// Only what changed is converted and sent to the X server: as the pointer moves along the bar a
// few slots change, not the whole row.
void PresentFrame(CanvasHandle canvas, const uint8_t* rgb, int32_t width, int32_t height,
                  const FrameChanges& changed) {
    if (!canvas || !rgb || !canvas->surface || width != canvas->width || height != canvas->height) return;
    const bool onScreen = desktop.bar.widget && gtk_widget_get_mapped(desktop.bar.widget);
    cairo_region_t* region = cairo_region_create();
    cairo_surface_flush(canvas->surface);
    for (int32_t i = 0; i < changed.count && i < FrameChanges::MostParts; ++i) {
        const WindowPlace part = PartInFrame(changed.parts[i], width, height);
        if (part.width <= 0 || part.height <= 0) continue;
        CopyIntoSurface(*canvas, rgb, part);
        cairo_surface_mark_dirty_rectangle(canvas->surface, part.x, part.y, part.width, part.height);
        if (onScreen && PutSharedPart(part)) continue;
        const cairo_rectangle_int_t area{part.x, part.y, part.width, part.height};
        cairo_region_union_rectangle(region, &area);
    }
    if (!cairo_region_is_empty(region)) PaintShownRegion(region);
    if (onScreen) gdk_display_flush(desktop.display);
    cairo_region_destroy(region);
}
