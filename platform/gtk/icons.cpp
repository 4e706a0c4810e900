// Icons from the desktop's icon theme. By name, the file type comes from the name alone through
// the shared MIME database (GIO content types), so the file need not exist; otherwise GIO looks
// at the item itself (folder, executable, ...) and a missing item has no icon. The theme's
// picture is taken at 32 pixels for the large size and 16 for the small one.
#include "platform/gtk/gtk_desktop.h"
#include "store/utf8.h"

struct PlatformIcon {
    RgbaImage image;
};

namespace {

constexpr gint LargeIconSize = 32;
constexpr gint SmallIconSize = 16;

GIcon* TypeIconOf(const std::string& path) {
    gchar* type = g_content_type_guess(path.c_str(), nullptr, 0, nullptr);
    GIcon* icon = type ? g_content_type_get_icon(type) : nullptr;
    g_free(type);
    return icon;
}

GIcon* ItemIconOf(const std::string& path) {
    GFile* file = g_file_new_for_path(path.c_str());
    GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_ICON, G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    GIcon* icon = info ? g_file_info_get_icon(info) : nullptr;
    if (icon) g_object_ref(icon);
    if (info) g_object_unref(info);
    g_object_unref(file);
    return icon;
}

GdkPixbuf* ThemePicture(GIcon* icon, gint size) {
    GtkIconTheme* theme = gtk_icon_theme_get_default();
    GtkIconInfo* info = theme ? gtk_icon_theme_lookup_by_gicon(theme, icon, size, GTK_ICON_LOOKUP_FORCE_SIZE) : nullptr;
    if (!info) return nullptr;
    GdkPixbuf* picture = gtk_icon_info_load_icon(info, nullptr);
    g_object_unref(info);
    return picture;
}

// GdkPixbuf keeps straight alpha already; a picture without alpha is opaque.
RgbaImage ImageOf(GdkPixbuf* picture) {
    RgbaImage image;
    if (gdk_pixbuf_get_bits_per_sample(picture) != 8 || gdk_pixbuf_get_colorspace(picture) != GDK_COLORSPACE_RGB) {
        return image;
    }
    const int channels = gdk_pixbuf_get_n_channels(picture);
    const bool alpha = gdk_pixbuf_get_has_alpha(picture);
    const int stride = gdk_pixbuf_get_rowstride(picture);
    const guchar* data = gdk_pixbuf_read_pixels(picture);
    image.width = gdk_pixbuf_get_width(picture);
    image.height = gdk_pixbuf_get_height(picture);
    image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height) * 4);
    for (int y = 0; y < image.height; ++y) {
        const guchar* source = data + static_cast<size_t>(y) * stride;
        uint8_t* target = &image.pixels[static_cast<size_t>(y) * image.width * 4];
        for (int x = 0; x < image.width; ++x, source += channels, target += 4) {
            target[0] = source[0];
            target[1] = source[1];
            target[2] = source[2];
            target[3] = alpha ? source[3] : 255;
        }
    }
    return image;
}

}  // namespace

IconHandle FindShellIcon(const std::wstring& path, int32_t large, int32_t byName) {
    if (path.empty()) return nullptr;
    const std::string native = Utf8FromWide(path);
    GIcon* icon = byName ? TypeIconOf(native) : ItemIconOf(native);
    if (!icon) return nullptr;
    GdkPixbuf* picture = ThemePicture(icon, large ? LargeIconSize : SmallIconSize);
    g_object_unref(icon);
    if (!picture) return nullptr;
    RgbaImage image = ImageOf(picture);
    g_object_unref(picture);
    if (image.pixels.empty()) return nullptr;
    return new PlatformIcon{std::move(image)};
}

bool IconPixels(IconHandle icon, RgbaImage* out) {
    if (!icon || !out) return false;
    *out = icon->image;
    return true;
}

void ReleaseIcon(IconHandle icon) { delete icon; }
