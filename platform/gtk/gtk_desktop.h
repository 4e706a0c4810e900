// What the GTK desktop holds between calls. Internal to platform/gtk.
#pragma once

#include <cstdint>
#include <deque>
#include <gtk/gtk.h>
#include <string>
#include <vector>

#include "platform/platform.h"

struct PlatformWindow {
    GtkWidget* widget = nullptr;
};

struct PlatformCanvas {
    GtkWidget* area = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    // The frame as the window shows it, as cairo's xRGB.
    cairo_surface_t* surface = nullptr;
};

// An environment variable as the user had it before the bar changed it for itself.
struct UserVariable {
    const char* name = nullptr;
    bool had = false;
    std::string value;
};

struct GtkDesktop {
    GdkDisplay* display = nullptr;
    int inputOpcode = -1;  // the X server's major opcode for XInput; -1 without the extension
    // The primary monitor's top-left corner in root-window pixels: the bar's desktop
    // coordinates start there.
    int32_t originX = 0;
    int32_t originY = 0;
    // The user's own values of the settings the bar changes for itself, in the order the bar
    // sets them: window scale, text scale, GL.
    UserVariable userVariables[3];

    PlatformWindow owner;
    PlatformWindow bar;
    WindowPlace barPlace;
    PlatformCanvas canvas;

    // The wait in progress: the timer that ends it, and what has happened since it began.
    GSource* waitTimer = nullptr;
    gint64 waitDeadline = -1;  // monotonic microseconds; -1 while no wait is in progress
    bool waitOver = false;
    bool delivered = false;

    std::deque<BarEvent> pending;                   // produced by the handlers, oldest first
    std::deque<std::vector<std::wstring>> drops;    // the file list of each pending EventDrop
    std::vector<std::wstring> currentDrop;          // the list of the EventDrop being handled

    guint heldButton = 0;  // the button the canvas holds the pointer for, 0 for none

    // Where the pointer is, in root-window pixels, as the canvas's own pointer events tell it.
    // Known only while the pointer is on the canvas with no button held and nobody holding it:
    // then X reports every move to us, and asking the server each pass would only cost a round
    // trip. Any leaving, press, grab or hide makes it unknown, and the server is asked again.
    bool pointerKnown = false;
    int32_t pointerX = 0;
    int32_t pointerY = 0;
    // Where the server last said the pointer was: a query that fails (the connection is going)
    // gives this rather than a made-up place.
    int32_t lastPointerX = 0;
    int32_t lastPointerY = 0;
};

extern GtkDesktop desktop;

// Whether the pointer may have moved since the server last said where it was; around each
// question to the server, the watch for the next move (pointer_watch.cpp).
void StartPointerWatch();
bool PointerMayHaveMoved();
void BeforeAskingPointer();
void AfterAskingPointer(bool changed);

// A pointer move over the canvas that GDK has made an event of; the filter that takes the other
// moves over the bar before GDK does (events.cpp).
void TakePointerMove(const GdkEventMotion* event);
void StartTakingBarMoves();

// Queues a bar event for the following WaitEvent calls.
void QueueBarEvent(const BarEvent& event);
void QueueCanvasEvent(CanvasEventKind kind);

// Signal handlers of the canvas and the windows (events.cpp, drops.cpp, present.cpp).
void ConnectCanvasInput(GtkWidget* area);
void ConnectCloseRequests(GtkWidget* window);
void ConnectDrops(GtkWidget* window);
void ConnectCanvasPaint(GtkWidget* area);

// Paints the canvas's current frame on the bar window now, when the window is on the screen.
void PaintShownFrame();

// The canvas's frame as an xRGB surface in memory shared with the X server; null when the server
// cannot share memory with us (shared_frame.cpp). PutSharedPart sends a part of it to the bar
// window; false when there is no shared frame.
cairo_surface_t* OpenSharedFrame(GdkWindow* window, int32_t width, int32_t height);
bool PutSharedPart(const WindowPlace& part);
