// edgeway-drag-source --at X,Y [--actions link|copy|move|copy,link] [--utf8-string] PATH...
//
// A 64 x 64 window at X,Y (root coordinates, exact with or without a window manager) that drags
// the given paths as a text/uri-list when pressed and moved. It prints "ready" once it is on the
// screen, then "dropped <action>" or "cancelled" when the drag ends, and exits 0. With nothing
// happening it prints "timeout" after 30 s and exits 0 as well; tests tell the outcomes apart by
// the printed line.
//
// --utf8-string offers the same uri-list under UTF8_STRING only, as some real drag sources do.
#include <gtk/gtk.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

enum { SourceEdge = 64, GiveUpSeconds = 30 };

static GString *uriList;
static gboolean dragFailed;

static void Finish(const char *line) {
    printf("%s\n", line);
    fflush(stdout);
    exit(0);
}

static const char *ActionName(GdkDragAction action) {
    if (action & GDK_ACTION_LINK) return "link";
    if (action & GDK_ACTION_COPY) return "copy";
    if (action & GDK_ACTION_MOVE) return "move";
    if (action & GDK_ACTION_ASK) return "ask";
    return "none";
}

static gboolean ParseActions(const char *text, GdkDragAction *actions) {
    *actions = 0;
    gchar **names = g_strsplit(text, ",", -1);
    gboolean good = TRUE;
    for (gchar **name = names; *name; ++name) {
        if (strcmp(*name, "link") == 0) *actions |= GDK_ACTION_LINK;
        else if (strcmp(*name, "copy") == 0) *actions |= GDK_ACTION_COPY;
        else if (strcmp(*name, "move") == 0) *actions |= GDK_ACTION_MOVE;
        else good = FALSE;
    }
    g_strfreev(names);
    return good && *actions != 0;
}

// Relative paths are taken against the working directory; the URI is percent-encoded.
static gboolean AppendUri(const char *path) {
    gchar *absolute = g_canonicalize_filename(path, NULL);
    gchar *uri = g_filename_to_uri(absolute, NULL, NULL);
    g_free(absolute);
    if (!uri) return FALSE;
    g_string_append(uriList, uri);
    g_string_append(uriList, "\r\n");
    g_free(uri);
    return TRUE;
}

static void OnDragDataGet(GtkWidget *widget, GdkDragContext *context, GtkSelectionData *data,
                          guint info, guint time, gpointer unused) {
    (void)widget, (void)context, (void)info, (void)time, (void)unused;
    gtk_selection_data_set(data, gtk_selection_data_get_target(data), 8,
                           (const guchar *)uriList->str, (gint)uriList->len);
}

static gboolean OnDragFailed(GtkWidget *widget, GdkDragContext *context, GtkDragResult result,
                             gpointer unused) {
    (void)widget, (void)context, (void)result, (void)unused;
    dragFailed = TRUE;
    return TRUE;  // no snap-back animation: the drag is over at once
}

static void OnDragEnd(GtkWidget *widget, GdkDragContext *context, gpointer unused) {
    (void)widget, (void)unused;
    if (dragFailed) Finish("cancelled");
    char line[32];
    snprintf(line, sizeof line, "dropped %s",
             ActionName(gdk_drag_context_get_selected_action(context)));
    Finish(line);
}

static gboolean OnMapped(GtkWidget *widget, GdkEvent *event, gpointer unused) {
    (void)widget, (void)event, (void)unused;
    gdk_display_sync(gdk_display_get_default());
    printf("ready\n");
    fflush(stdout);
    return FALSE;
}

static gboolean OnDraw(GtkWidget *widget, cairo_t *cr, gpointer unused) {
    (void)widget, (void)unused;
    cairo_set_source_rgb(cr, 0.2, 0.5, 0.9);
    cairo_paint(cr);
    return TRUE;
}

static gboolean OnGiveUp(gpointer unused) {
    (void)unused;
    Finish("timeout");
    return G_SOURCE_REMOVE;
}

static int Usage(void) {
    fprintf(stderr,
            "usage: edgeway-drag-source --at X,Y [--actions link|copy|move|copy,link] "
            "[--utf8-string] PATH...\n");
    return 2;
}

int main(int argc, char **argv) {
    g_setenv("NO_AT_BRIDGE", "1", TRUE);
    g_setenv("GDK_SCALE", "1", TRUE);
    int x = 0, y = 0;
    gboolean placed = FALSE, asUtf8 = FALSE;
    GdkDragAction actions = GDK_ACTION_LINK;
    uriList = g_string_new("");
    int paths = 0;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--at") == 0 && i + 1 < argc) {
            if (sscanf(argv[++i], "%d,%d", &x, &y) != 2) return Usage();
            placed = TRUE;
        } else if (strcmp(argv[i], "--actions") == 0 && i + 1 < argc) {
            if (!ParseActions(argv[++i], &actions)) return Usage();
        } else if (strcmp(argv[i], "--utf8-string") == 0) {
            asUtf8 = TRUE;
        } else if (strncmp(argv[i], "--", 2) == 0) {
            return Usage();
        } else {
            if (!AppendUri(argv[i])) return Usage();
            ++paths;
        }
    }
    if (!placed || paths == 0) return Usage();
    if (!gtk_init_check(NULL, NULL)) {
        fprintf(stderr, "edgeway-drag-source: cannot open the display\n");
        return 2;
    }

    GtkWidget *window = gtk_window_new(GTK_WINDOW_POPUP);
    gtk_window_move(GTK_WINDOW(window), x, y);
    gtk_window_set_default_size(GTK_WINDOW(window), SourceEdge, SourceEdge);
    GtkWidget *area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, SourceEdge, SourceEdge);
    gtk_container_add(GTK_CONTAINER(window), area);

    GtkTargetEntry target = {asUtf8 ? "UTF8_STRING" : "text/uri-list", 0, 0};
    gtk_drag_source_set(area, GDK_BUTTON1_MASK, &target, 1, actions);
    g_signal_connect(area, "drag-data-get", G_CALLBACK(OnDragDataGet), NULL);
    g_signal_connect(area, "drag-failed", G_CALLBACK(OnDragFailed), NULL);
    g_signal_connect(area, "drag-end", G_CALLBACK(OnDragEnd), NULL);
    g_signal_connect(area, "draw", G_CALLBACK(OnDraw), NULL);
    gtk_widget_add_events(window, GDK_STRUCTURE_MASK);
    g_signal_connect(window, "map-event", G_CALLBACK(OnMapped), NULL);

    g_timeout_add_seconds(GiveUpSeconds, OnGiveUp, NULL);
    gtk_widget_show_all(window);
    gtk_main();
    return 0;
}
