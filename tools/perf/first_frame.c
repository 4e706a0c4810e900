// edgeway-first-frame X,Y,W,H PROGRAM [ARG...]
//
// Starts the program and watches the screen rectangle X,Y,W,H until it differs from how it looked
// before the start: the program's first frame has reached the screen. Prints the milliseconds
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

int main(int argc, char** argv) {
    int x, y, w, h;
    if (argc < 3 || sscanf(argv[1], "%d,%d,%d,%d", &x, &y, &w, &h) != 4 || w <= 0 || h <= 0) {
        fprintf(stderr, "usage: edgeway-first-frame X,Y,W,H PROGRAM [ARG...]\n");
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
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    double seen = -1;
    while (Now() - start < 10000) {
        XImage* now = Grab(display, x, y, w, h);
        const int same = now && SameImage(before, now);
        if (now) XDestroyImage(now);
        if (!same) {
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
