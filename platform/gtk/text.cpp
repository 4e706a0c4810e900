// Text in the desktop's default font (GTK's "gtk-font-name", "Sans 10" unless the desktop says
// otherwise), set by Pango and rendered with grayscale smoothing. The character cell is Pango's
// logical rectangle of the line: its width is the advance, its height ascent plus descent.
#include <array>
#include <pango/pangocairo.h>

#include "platform/gtk/gtk_desktop.h"
#include "store/utf8.h"

namespace {

struct TextSetter {
    PangoLayout* layout = nullptr;
    bool tried = false;
};

TextSetter setter;

// The bar draws the same two or three texts in every frame; the last few are kept.
struct SetText {
    std::wstring text;
    int32_t width = 0;
    bool rasterised = false;
    TextCoverage coverage;
};

std::array<SetText, 4> recentTexts;
size_t nextRecent = 0;

PangoFontDescription* DesktopFont() {
    gchar* name = nullptr;
    if (GtkSettings* settings = gtk_settings_get_default()) g_object_get(settings, "gtk-font-name", &name, nullptr);
    PangoFontDescription* font = pango_font_description_from_string(name ? name : "Sans 10");
    g_free(name);
    return font;
}

PangoLayout* Layout() {
    if (setter.tried) return setter.layout;
    setter.tried = true;
    GdkScreen* screen = gdk_screen_get_default();
    if (!screen) return nullptr;
    PangoContext* context = gdk_pango_context_get_for_screen(screen);
    cairo_font_options_t* options = cairo_font_options_create();
    if (const cairo_font_options_t* desktopOptions = gdk_screen_get_font_options(screen)) {
        cairo_font_options_merge(options, desktopOptions);
    }
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context, options);
    cairo_font_options_destroy(options);
    setter.layout = pango_layout_new(context);
    g_object_unref(context);
    PangoFontDescription* font = DesktopFont();
    pango_layout_set_font_description(setter.layout, font);
    pango_font_description_free(font);
    // One line, the characters as they are: a line break in a name is shown, not obeyed.
    pango_layout_set_single_paragraph_mode(setter.layout, TRUE);
    return setter.layout;
}

SetText* Recent(const std::wstring& text) {
    for (SetText& entry : recentTexts) {
        if (entry.text == text && (entry.width > 0 || text.empty())) return &entry;
    }
    return nullptr;
}

PangoRectangle CellOf(const std::wstring& text) {
    PangoRectangle cell{};
    PangoLayout* layout = Layout();
    if (!layout) return cell;
    const std::string utf8 = Utf8FromWide(text);
    pango_layout_set_text(layout, utf8.c_str(), static_cast<int>(utf8.size()));
    pango_layout_get_pixel_extents(layout, nullptr, &cell);
    return cell;
}

// White ink into an alpha-only surface: its alpha is the coverage.
void Rasterise(const PangoRectangle& cell, TextCoverage* out) {
    out->width = cell.width;
    out->height = cell.height;
    out->coverage.assign(static_cast<size_t>(cell.width) * static_cast<size_t>(cell.height) * 3, 0);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, cell.width, cell.height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_move_to(cr, -cell.x, -cell.y);
    pango_cairo_show_layout(cr, setter.layout);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int32_t y = 0; y < cell.height; ++y) {
        for (int32_t x = 0; x < cell.width; ++x) {
            uint8_t* pixel = &out->coverage[(static_cast<size_t>(y) * cell.width + x) * 3];
            pixel[0] = pixel[1] = pixel[2] = data[static_cast<size_t>(y) * stride + x];
        }
    }
    cairo_surface_destroy(surface);
}

SetText& Remember(const std::wstring& text, int32_t width) {
    SetText& entry = recentTexts[nextRecent];
    nextRecent = (nextRecent + 1) % recentTexts.size();
    entry.text = text;
    entry.width = width;
    entry.rasterised = false;
    entry.coverage = TextCoverage{};
    return entry;
}

}  // namespace

int32_t MeasureTextWidth(const std::wstring& text) {
    if (text.empty()) return 0;
    if (const SetText* known = Recent(text)) return known->width;
    const int32_t width = CellOf(text).width;
    if (width > 0) Remember(text, width);
    return width;
}

bool RasteriseText(const std::wstring& text, TextCoverage* out) {
    if (!out || !Layout()) return false;
    *out = TextCoverage{};
    if (text.empty()) return true;
    SetText* known = Recent(text);
    if (known && known->rasterised) {
        *out = known->coverage;
        return true;
    }
    const PangoRectangle cell = CellOf(text);
    if (cell.width <= 0 || cell.height <= 0) return true;
    SetText& entry = known ? *known : Remember(text, cell.width);
    Rasterise(cell, &entry.coverage);
    entry.rasterised = true;
    *out = entry.coverage;
    return true;
}
