// What the Windows backend keeps for the run: the two windows, the canvas, the bar events that
// the window handlers have produced and WaitEvent has not handed out yet, and the drop being
// handled. One instance, `desktop`, used only on the program's one thread.
#pragma once

#include <windows.h>

#include <deque>

#include "platform/platform.h"

struct PlatformWindow {
    HWND hwnd = nullptr;
};

struct PlatformCanvas {
    HWND hwnd = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    // The frame as the screen shows it: a 24-bit bottom-up DIB section kept selected into its
    // own memory DC, so that presenting and repainting are one BitBlt each.
    HDC memory = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    uint8_t* bits = nullptr;
    int32_t stride = 0;
    // The button whose press made the canvas capture the pointer, 0 when none.
    UINT heldButton = 0;
};

struct Win32Desktop {
    HINSTANCE instance = nullptr;
    PlatformWindow owner;
    PlatformWindow bar;
    PlatformCanvas canvas;
    bool dropsRegistered = false;
    std::deque<BarEvent> pending;
    // File lists of pending drops, oldest first: one for every EventDrop in `pending`.
    std::deque<HGLOBAL> pendingDrops;
    // The file list of the EventDrop handed out last; DroppedFiles reads it.
    HGLOBAL currentDrop = nullptr;
    PointerPosition lastPointer;
};

extern Win32Desktop desktop;

// Window handlers queue what concerns the bar here.
void QueueBarEvent(const BarEvent& event);
void QueueDrop(HGLOBAL files, int32_t x, int32_t y);

// The canvas's frame: made with the canvas, copied to the screen on demand.
bool CreateFrameBuffer(PlatformCanvas* canvas);
void CopyFrameTo(const PlatformCanvas& canvas, HDC target);

// The bar window as an OLE drop target (CF_HDROP, link effect only).
bool RegisterBarDropTarget(HWND bar);
void RevokeBarDropTarget(HWND bar);
