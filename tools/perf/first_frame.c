// edgeway-first-frame X,Y,W,H [--pixel RRGGBB] PROGRAM [ARG...]
//
// Starts the program and watches the screen rectangle X,Y,W,H until it differs from how it looked
// before the start: the program's first frame has reached the screen. With --pixel, until the
// rectangle's top-left pixel has that colour instead, for a program whose window shows before its
// first frame is painted. Prints the milliseconds
// that took and the program's process id ("first-frame-ms 87 pid 1234"), and leaves the program
// running. Gives up after 10 s ("first-frame-ms none pid 1234"). The rectangle is read every
// millisecond from the root window, so what counts is what the X server shows.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static XImage* Grab(Display* display, int x, int y, int w, int h) {
    return XGetImage(display, DefaultRootWindow(display), x, y, (unsigned)w, (unsigned)h, AllPlanes, ZPixmap);
}

static int SameImage(const XImage* a, const XImage* b) {
    return a->bytes_per_line == b->bytes_per_line && a->height == b->height &&
           memcmp(a->data, b->data, (size_t)a->bytes_per_line * a->height) == 0;
}

// The pixel's colour as RRGGBB, whatever the depth's channel layout.
static unsigned long ColourAt(XImage* image, int x, int y) {
    const unsigned long pixel = XGetPixel(image, x, y);
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    unsigned long rgb = 0;
    for (int c = 0; c < 3; ++c) {
        unsigned long mask = masks[c], value = pixel & mask;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            value >>= 1;
        }
        rgb = (rgb << 8) | (mask ? value * 255 / mask : 0);
    }
    return rgb;
}

static int Shows(Display* display, int x, int y, int w, int h, const XImage* before, long wanted) {
    XImage* now = Grab(display, x, y, w, h);
    if (!now) return 0;
    const int shows = wanted >= 0 ? (long)ColourAt(now, 0, 0) == wanted : !SameImage(before, now);
    XDestroyImage(now);
    return shows;
}

int main(int argc, char** argv) {
    int x, y, w, h;
    long wanted = -1;
    int first = 2;
    if (argc > 4 && strcmp(argv[2], "--pixel") == 0) {
        wanted = strtol(argv[3], NULL, 16);
        first = 4;
    }
    if (argc <= first || sscanf(argv[1], "%d,%d,%d,%d", &x, &y, &w, &h) != 4 || w <= 0 || h <= 0) {
        fprintf(stderr, "usage: edgeway-first-frame X,Y,W,H [--pixel RRGGBB] PROGRAM [ARG...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "edgeway-first-frame: no display\n");
        return 1;
    }
    XImage* before = Grab(display, x, y, w, h);
    if (!before) return 1;
    const double start = Now();
    const pid_t pid = fork();
    if (pid == 0) {
        // The program's output goes to our error stream: whoever reads our one line of output
        // must not have to wait for the program to end.
        dup2(2, 1);
        execvp(argv[first], argv + first);
        _exit(127);
    }
    double seen = -1;
    while (Now() - start < 10000) {
        if (Shows(display, x, y, w, h, before, wanted)) {
            seen = Now() - start;
            break;
        }
        usleep(1000);
    }
    if (seen >= 0) {
        printf("first-frame-ms %.0f pid %d\n", seen, (int)pid);
    } else {
        printf("first-frame-ms none pid %d\n", (int)pid);
    }
    XDestroyImage(before);
    XCloseDisplay(display);
    return 0;
}
