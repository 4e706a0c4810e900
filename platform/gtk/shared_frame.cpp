// The canvas's frame in memory shared with the X server (MIT-SHM): a changed part of a frame goes
// to the window as one small request, instead of its pixels being copied through the connection
// and painted through an offscreen pixmap. Without the extension (a display on another machine,
// say) the frame lives in an ordinary image surface and GDK paints it.
#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>
#include <gdk/gdkx.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include "platform/gtk/gtk_desktop.h"

namespace {

struct SharedFrame {
    XImage* image = nullptr;
    XShmSegmentInfo segment{};
    GC gc = nullptr;
    Window window = 0;
};

SharedFrame shared;

// The frame's pixels are written as cairo's xRGB words; the image must hold them the same way.
bool SameLayoutAsCairo(const XImage* image) {
    return image->bits_per_pixel == 32 && image->byte_order == LSBFirst && image->red_mask == 0xFF0000 &&
           image->green_mask == 0x00FF00 && image->blue_mask == 0x0000FF;
}

void Release() {
    if (shared.image) {
        shared.image->data = nullptr;
        XDestroyImage(shared.image);
    }
    if (shared.segment.shmaddr && shared.segment.shmaddr != reinterpret_cast<char*>(-1)) shmdt(shared.segment.shmaddr);
    shared = SharedFrame{};
}

}  // namespace

cairo_surface_t* OpenSharedFrame(GdkWindow* window, int32_t width, int32_t height) {
    GdkDisplay* gdkDisplay = gdk_window_get_display(window);
    Display* display = GDK_DISPLAY_XDISPLAY(gdkDisplay);
    if (!XShmQueryExtension(display) || gdk_visual_get_depth(gdk_window_get_visual(window)) != 24) return nullptr;
    Visual* visual = gdk_x11_visual_get_xvisual(gdk_window_get_visual(window));
    shared.image = XShmCreateImage(display, visual, 24, ZPixmap, nullptr, &shared.segment, width, height);
    if (!shared.image || !SameLayoutAsCairo(shared.image) ||
        shared.image->bytes_per_line != cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width)) {
        Release();
        return nullptr;
    }
    shared.segment.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(shared.image->bytes_per_line) * height, IPC_CREAT | 0600);
    if (shared.segment.shmid < 0) {
        Release();
        return nullptr;
    }
    shared.segment.shmaddr = shared.image->data = static_cast<char*>(shmat(shared.segment.shmid, nullptr, 0));
    shared.segment.readOnly = False;
    bool attached = shared.segment.shmaddr != reinterpret_cast<char*>(-1);
    if (attached) {
        // A server that cannot reach our memory refuses the attach with an X error.
        gdk_x11_display_error_trap_push(gdkDisplay);
        XShmAttach(display, &shared.segment);
        XSync(display, False);
        attached = gdk_x11_display_error_trap_pop(gdkDisplay) == 0;
    }
    // Marked for removal now: the segment goes when both sides have let go, even after a crash.
    shmctl(shared.segment.shmid, IPC_RMID, nullptr);
    if (!attached) {
        Release();
        return nullptr;
    }
    shared.window = gdk_x11_window_get_xid(window);
    shared.gc = XCreateGC(display, shared.window, 0, nullptr);
    return cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(shared.image->data),
                                               CAIRO_FORMAT_RGB24, width, height, shared.image->bytes_per_line);
}

bool PutSharedPart(const WindowPlace& part) {
    if (!shared.image) return false;
    Display* display = GDK_DISPLAY_XDISPLAY(desktop.display);
    XShmPutImage(display, shared.window, shared.gc, shared.image, part.x, part.y, part.x, part.y,
                 static_cast<unsigned>(part.width), static_cast<unsigned>(part.height), False);
    return true;
}
