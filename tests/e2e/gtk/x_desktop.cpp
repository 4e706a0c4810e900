#include "tests/e2e/gtk/x_desktop.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <cstdio>
#include <fstream>
#include <map>

namespace {

Display* display = nullptr;

// How often each child of the root window was mapped, from the root's structure events. A
// destroyed window's count goes with it: X hands its id out again to a later client.
std::map<unsigned long, int> mapCounts;

void TakeStructureEvents() {
    while (XPending(display)) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify) ++mapCounts[event.xmap.window];
        if (event.type == DestroyNotify) mapCounts.erase(event.xdestroywindow.window);
    }
}

Window Root() { return DefaultRootWindow(display); }

int ShiftOf(unsigned long mask) {
    int shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return shift;
}

std::string TitleOf(Window window) {
    char* name = nullptr;
    std::string title;
    if (XFetchName(display, window, &name) && name) title = name;
    if (name) XFree(name);
    return title;
}

// X errors about windows that went away between listing and asking are expected here.
int IgnoreErrors(Display*, XErrorEvent*) { return 0; }

std::vector<unsigned long> WindowListProperty(Window window, const char* name) {
    std::vector<unsigned long> windows;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const Atom property = XInternAtom(display, name, False);
    if (XGetWindowProperty(display, window, property, 0, 4096, False, AnyPropertyType, &type, &format, &count,
                           &after, &data) == Success &&
        data && format == 32) {
        const auto* items = reinterpret_cast<const unsigned long*>(data);
        windows.assign(items, items + count);
    }
    if (data) XFree(data);
    return windows;
}

}  // namespace

std::string PixelText(const Pixel& p) {
    return "(" + std::to_string(p.r) + ", " + std::to_string(p.g) + ", " + std::to_string(p.b) + ")";
}

Pixel Shot::At(int px, int py) const {
    if (px < 0 || py < 0 || px >= width || py >= height) return {-1, -1, -1};
    const uint8_t* p = &rgb[(static_cast<size_t>(py) * width + px) * 3];
    return {p[0], p[1], p[2]};
}

bool ConnectDisplay() {
    if (display) return true;
    display = XOpenDisplay(nullptr);
    if (!display) return false;
    XSetErrorHandler(IgnoreErrors);
    XSelectInput(display, Root(), SubstructureNotifyMask);
    return true;
}

int ScreenWidth() { return DisplayWidth(display, DefaultScreen(display)); }
int ScreenHeight() { return DisplayHeight(display, DefaultScreen(display)); }

void MovePointer(int x, int y) {
    XTestFakeMotionEvent(display, DefaultScreen(display), x, y, CurrentTime);
    XSync(display, False);
}

void WarpPointer(int x, int y) {
    XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, x, y);
    XSync(display, False);
}

void PressButton(int button) {
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), True, CurrentTime);
    XSync(display, False);
}

void ReleaseButton(int button) {
    XTestFakeButtonEvent(display, static_cast<unsigned>(button), False, CurrentTime);
    XSync(display, False);
}

void ClickButton(int button) {
    PressButton(button);
    ReleaseButton(button);
}

Shot TakeShot(int x, int y, int width, int height) {
    Shot shot{x, y, width, height, {}};
    XImage* image = XGetImage(display, Root(), x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image) return shot;
    shot.rgb.resize(static_cast<size_t>(width) * height * 3);
    const int rs = ShiftOf(image->red_mask), gs = ShiftOf(image->green_mask), bs = ShiftOf(image->blue_mask);
    for (int py = 0; py < height; ++py) {
        for (int px = 0; px < width; ++px) {
            const unsigned long value = XGetPixel(image, px, py);
            uint8_t* p = &shot.rgb[(static_cast<size_t>(py) * width + px) * 3];
            p[0] = static_cast<uint8_t>((value & image->red_mask) >> rs);
            p[1] = static_cast<uint8_t>((value & image->green_mask) >> gs);
            p[2] = static_cast<uint8_t>((value & image->blue_mask) >> bs);
        }
    }
    XDestroyImage(image);
    return shot;
}

void SaveShot(const Shot& shot, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << shot.width << " " << shot.height << "\n255\n";
    out.write(reinterpret_cast<const char*>(shot.rgb.data()), static_cast<std::streamsize>(shot.rgb.size()));
}

TitledWindows FindTitledWindows(const std::string& title) {
    TitledWindows found;
    Window rootReturn = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, Root(), &rootReturn, &parent, &children, &count)) return found;
    for (unsigned int i = 0; i < count; ++i) {
        if (TitleOf(children[i]) != title) continue;
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
        (attributes.override_redirect ? found.bar : found.owner) = children[i];
    }
    if (children) XFree(children);
    return found;
}

int TimesMapped(unsigned long window) {
    TakeStructureEvents();
    const auto found = mapCounts.find(window);
    return found == mapCounts.end() ? 0 : found->second;
}

WindowState StateOf(unsigned long window) {
    WindowState state;
    XWindowAttributes attributes{};
    if (!window || !XGetWindowAttributes(display, window, &attributes)) return state;
    state.exists = true;
    state.viewable = attributes.map_state == IsViewable;
    state.overrideRedirect = attributes.override_redirect;
    state.width = attributes.width;
    state.height = attributes.height;
    Window child = 0;
    XTranslateCoordinates(display, window, Root(), 0, 0, &state.x, &state.y, &child);
    return state;
}

void RequestClose(unsigned long window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}

unsigned long FocusWindow() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

std::vector<unsigned long> ManagedClientList() { return WindowListProperty(Root(), "_NET_CLIENT_LIST"); }

bool WindowManagerRunning() { return !WindowListProperty(Root(), "_NET_SUPPORTING_WM_CHECK").empty(); }

unsigned long OpenOtherWindow(int x, int y, int width, int height, Pixel fill) {
    const unsigned long colour = (static_cast<unsigned long>(fill.r) << 16) | (fill.g << 8) | fill.b;
    const Window window = XCreateSimpleWindow(display, Root(), x, y, static_cast<unsigned>(width),
                                              static_cast<unsigned>(height), 0, 0, colour);
    XStoreName(display, window, "another program");
    XSizeHints hints{};
    hints.flags = USPosition | USSize;
    hints.x = x;
    hints.y = y;
    hints.width = width;
    hints.height = height;
    XSetWMNormalHints(display, window, &hints);
    XMapRaised(display, window);
    XSync(display, False);
    return window;
}

void RaiseWindow(unsigned long window) {
    XRaiseWindow(display, window);
    XSync(display, False);
}

void CloseOtherWindow(unsigned long window) {
    XDestroyWindow(display, window);
    XSync(display, False);
}
