// File drops on the bar window: XDND through GTK, a uri-list, the link action only.
#include <cstring>

#include "platform/gtk/gtk_desktop.h"
#include "store/utf8.h"

namespace {

// A source that offers the list as plain UTF-8 text is read as well: some real sources send
// their uri-list only that way.
GtkTargetEntry dropTargets[] = {
    {const_cast<gchar*>("text/uri-list"), 0, 0},
    {const_cast<gchar*>("UTF8_STRING"), 0, 1},
};

// The local files a uri-list names, in its order; other URIs and comment lines are passed over.
std::vector<std::wstring> PathsOfUriList(const guchar* data, gint length) {
    std::vector<std::wstring> paths;
    if (!data || length <= 0) return paths;
    gchar* text = g_strndup(reinterpret_cast<const gchar*>(data), static_cast<gsize>(length));
    gchar** uris = g_uri_list_extract_uris(text);
    for (gchar** uri = uris; uri && *uri; ++uri) {
        gchar* path = g_filename_from_uri(*uri, nullptr, nullptr);
        if (path) paths.push_back(WideFromUtf8(path));
        g_free(path);
    }
    g_strfreev(uris);
    g_free(text);
    return paths;
}

void OnDropData(GtkWidget*, GdkDragContext*, gint x, gint y, GtkSelectionData* data, guint, guint, gpointer) {
    BarEvent event;
    event.kind = EventDrop;
    event.dropX = x;
    event.dropY = y;
    desktop.drops.push_back(PathsOfUriList(gtk_selection_data_get_data(data), gtk_selection_data_get_length(data)));
    QueueBarEvent(event);
}

}  // namespace

// GTK answers every position over the window: link when the drag offers a list in one of the
// targets and allows linking (whatever the source suggests, so modifier keys change nothing),
// refusal otherwise. It fetches the list on the drop and finishes the drag after OnDropData.
void ConnectDrops(GtkWidget* window) {
    gtk_drag_dest_set(window, static_cast<GtkDestDefaults>(GTK_DEST_DEFAULT_MOTION | GTK_DEST_DEFAULT_DROP),
                      dropTargets, G_N_ELEMENTS(dropTargets), GDK_ACTION_LINK);
    g_signal_connect(window, "drag-data-received", G_CALLBACK(OnDropData), nullptr);
}
