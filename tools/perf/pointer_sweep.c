// edgeway-pointer-sweep X0,Y0 X1,Y1 RATE SECONDS
//
// Moves the pointer RATE times a second, for SECONDS seconds, along the line from X0,Y0 to X1,Y1
// and back, one pixel-rounded step a move, through XTest as a real pointer would. The moves are
// timed against the clock, not slept one after another, so the rate holds however long each
// takes. One process does it all: starting a program per move would cost more than what is
// measured.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

static int ParsePoint(const char* text, int* x, int* y) { return sscanf(text, "%d,%d", x, y) == 2; }

int main(int argc, char** argv) {
    int x0, y0, x1, y1;
    if (argc != 5 || !ParsePoint(argv[1], &x0, &y0) || !ParsePoint(argv[2], &x1, &y1)) {
        fprintf(stderr, "usage: edgeway-pointer-sweep X0,Y0 X1,Y1 RATE SECONDS\n");
        return 2;
    }
    const double rate = atof(argv[3]), seconds = atof(argv[4]);
    Display* display = XOpenDisplay(NULL);
    if (!display || rate <= 0 || seconds <= 0) {
        fprintf(stderr, "edgeway-pointer-sweep: no display, or a rate or time of 0\n");
        return 1;
    }
    const long moves = lround(rate * seconds);
    const long stepsPerLeg = lround(rate);  // one leg of the sweep a second
    struct timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (long i = 0; i < moves; ++i) {
        const long phase = i % (2 * stepsPerLeg);
        const double t = (double)(phase <= stepsPerLeg ? phase : 2 * stepsPerLeg - phase) / stepsPerLeg;
        XTestFakeMotionEvent(display, -1, (int)lround(x0 + (x1 - x0) * t), (int)lround(y0 + (y1 - y0) * t),
                             CurrentTime);
        XFlush(display);
        const double due = (i + 1) / rate;
        struct timespec at = start;
        at.tv_sec += (time_t)due;
        at.tv_nsec += (long)((due - floor(due)) * 1e9);
        if (at.tv_nsec >= 1000000000L) {
            at.tv_sec += 1;
            at.tv_nsec -= 1000000000L;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, NULL);
    }
    XCloseDisplay(display);
    return 0;
}
