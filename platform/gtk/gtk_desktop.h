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
    // The frame as the window shows it: our RGB copy, and the same pixels as cairo's xRGB.
    std::vector<uint8_t> shown;
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
    // The primary monitor's top-left corner in root-window pixels: the bar's desktop
    // coordinates start there.
    int32_t originX = 0;
    int32_t originY = 0;
    UserVariable userScale;
    UserVariable userTextScale;

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
};

extern GtkDesktop desktop;

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
