// The one seam between the bar and the desktop it runs on.
//
// Every service the bar asks of a window system, a shell or a file system is declared here as a
// free function over plain records and opaque handles. Each backend folder (win32, gtk, headless)
// implements all of it, and exactly one backend is linked into each executable. Nothing outside
// platform/ includes a window-system header, and no function here reaches into the bar's state:
// everything it needs comes in as arguments.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Handles. Each backend defines the structs; the bar only stores and compares the pointers.

struct PlatformWindow;
struct PlatformCanvas;
struct PlatformIcon;
struct PlatformFile;

using WindowHandle = PlatformWindow*;
using CanvasHandle = PlatformCanvas*;
using IconHandle = PlatformIcon*;
using FileHandle = PlatformFile*;

// ---------------------------------------------------------------------------------------------
// Plain records that cross the seam.

struct DisplaySize {
    int32_t width = 0;
    int32_t height = 0;
};

struct PointerPosition {
    int32_t x = 0;
    int32_t y = 0;
};

struct WindowPlace {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Straight (not premultiplied) RGBA, 8 bits a channel, rows top-down, 4 bytes a pixel.
struct RgbaImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
};

// A text rasterised white on black: 3 coverage bytes a pixel (red, green, blue order), rows
// top-down, the character cell's top-left corner at (0, 0). With grayscale smoothing the three
// bytes of a pixel are equal; with subpixel smoothing they may differ.
struct TextCoverage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> coverage;
};

// What one call of WaitEvent hands back.
enum EventKind : int32_t {
    EventNone = 0,    // the wait timed out and nothing at all was delivered
    EventClose = 1,   // the desktop asked the owner window or the bar window to close
    EventDrop = 2,    // files were dropped on the bar window; DroppedFiles() reads them
    EventCanvas = 3,  // a mouse, keyboard or focus event of a control
    EventOther = 4,   // any other delivered message
};

// Kinds of canvas events. The bar acts on the four click kinds only.
enum CanvasEventKind : int32_t {
    CanvasNothing = 0,
    CanvasLeftClick = 1,
    CanvasRightClick = 2,
    CanvasLeftDoubleClick = 3,
    CanvasRightDoubleClick = 4,
    CanvasButtonPress = 5,
    CanvasButtonRelease = 6,
    CanvasPointerMove = 7,
    CanvasPointerEnter = 8,
    CanvasPointerLeave = 9,
    CanvasWheel = 10,
    CanvasKey = 11,
    CanvasFocus = 12,
};

struct BarEvent {
    EventKind kind = EventNone;
    CanvasHandle control = nullptr;          // EventCanvas: the control it came from
    CanvasEventKind canvasKind = CanvasNothing;
    int32_t dropX = 0;                       // EventDrop: the drop point in bar coordinates
    int32_t dropY = 0;
};

// The event a control's mouse, keyboard or focus happening becomes. Shared by the backends.
inline BarEvent CanvasEvent(CanvasHandle control, CanvasEventKind kind) {
    BarEvent event;
    event.kind = EventCanvas;
    event.control = control;
    event.canvasKind = kind;
    return event;
}

// How an existing file is opened. The names say the access we get and what other programs may
// still do with the file meanwhile. Backends without sharing modes honour the access part only.
enum FileOpenMode : int32_t {
    FileReadWriteShareRead = 0,   // existing file, read and write; others may read
    FileReadShareRead = 1,        // existing file, read; others may read
    FileReadShareReadWrite = 2,   // existing file, read; others may read and write
    FileWriteShareRead = 3,       // existing file, write without cutting it; others may read
    FileCreateNew = 4,            // a new file that must not exist yet, read and write; others may read
    FileCreateAlways = 5,         // create, or cut an existing file to zero; read and write; others may read
};

// ---------------------------------------------------------------------------------------------
// Program lifetime.

// Brings up the window system and drag-and-drop support. Called once before anything else.
void StartPlatform();
// Releases what StartPlatform brought up. Called once after the main loop.
void StopPlatform();

// ---------------------------------------------------------------------------------------------
// Display and pointer.

// The full pixel size of the primary display (not its work area), in the coordinates that
// ReadPointer uses; 0 x 0 when no display can be measured.
DisplaySize MeasurePrimaryDisplay();

// The pointer's current position in desktop coordinates (origin at the primary display's
// top-left corner). One call per pass of the main loop.
PointerPosition ReadPointer();

// ---------------------------------------------------------------------------------------------
// Windows.

// A top-level window with a title that exists for the whole run and is never shown.
WindowHandle OpenOwner(const std::wstring& title);

// A borderless window at an exact desktop place, owned by `owner`, shown at once.
WindowHandle OpenBorderlessBar(WindowHandle owner, const std::wstring& title, WindowPlace place);

// Keeps the bar window above every window that is not topmost itself, also after later shows.
void MakeTopmost(WindowHandle bar);

// Lets the bar window accept dragged file lists with the link action only, over its whole area.
void AcceptFileDrops(WindowHandle bar);

// The window's own OS handle, kept by the bar and not otherwise used.
void* NativeHandleOf(WindowHandle window);

// A child drawing control at 0, 0 of the bar window covering it exactly, with the arrow pointer,
// reporting clicks as canvas events. It shows plain white until the first frame is presented.
CanvasHandle OpenCanvas(WindowHandle bar, int32_t width, int32_t height);

// Shows the bar window again, still above ordinary windows.
void ShowBarWindow(WindowHandle bar);

// Takes the bar window off the screen (the owner becomes the active window first where the
// desktop has such a notion).
void HideBarWindow(WindowHandle bar, WindowHandle owner);

// ---------------------------------------------------------------------------------------------
// Events.

// The next event: a pending one at once, else waits up to `timeoutMs` for the desktop to deliver
// anything, dispatches it and reports it; EventNone when the whole wait passes with nothing.
BarEvent WaitEvent(int32_t timeoutMs);

// The full paths of the files of the EventDrop being handled, in the list's order; empty when
// there is no list or it has no entries.
std::vector<std::wstring> DroppedFiles();

// ---------------------------------------------------------------------------------------------
// Frames.

// The parts of a frame that may differ from the frame presented before it: `count` rectangles,
// which may overlap and reach past the frame's edges.
struct FrameChanges {
    static constexpr int32_t MostParts = 4;
    int32_t count = 0;
    WindowPlace parts[MostParts];
};

// Copies a finished frame (top-down RGB, 3 bytes a pixel, width x height) into the canvas and
// puts it on the screen at once. The backend keeps its copy and repaints from it whenever the
// desktop asks. Outside the `changed` parts the frame is the same as the one presented before,
// so a backend may copy and send just those parts.
void PresentFrame(CanvasHandle canvas, const uint8_t* rgb, int32_t width, int32_t height,
                  const FrameChanges& changed);

// The part of `place` that lies in a frame of width x height; empty (width or height 0) when
// none does. Shared by the backends.
inline WindowPlace PartInFrame(const WindowPlace& place, int32_t width, int32_t height) {
    const auto clamp = [](int64_t v, int64_t low, int64_t high) { return v < low ? low : (v > high ? high : v); };
    const int64_t x0 = clamp(place.x, 0, width), y0 = clamp(place.y, 0, height);
    const int64_t x1 = clamp(int64_t{place.x} + (place.width > 0 ? place.width : 0), x0, width);
    const int64_t y1 = clamp(int64_t{place.y} + (place.height > 0 ? place.height : 0), y0, height);
    return {static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
            static_cast<int32_t>(y1 - y0)};
}

// ---------------------------------------------------------------------------------------------
// Text, in the desktop's stock user-interface font.

// The advance width of the text set on one line; 0 for the empty text.
int32_t MeasureTextWidth(const std::wstring& text);

// Rasterises the text on one line, white on black, into per-channel coverage. False when the
// rasteriser cannot be had; then nothing is drawn for the text.
bool RasteriseText(const std::wstring& text, TextCoverage* out);

// ---------------------------------------------------------------------------------------------
// Icons.

// The shell's icon for a path, large (32 x 32 by default) when `large` is non-zero, else small
// (16 x 16). With `byName` non-zero the icon is the one of the file type that the path's name
// says, and the item need not exist; otherwise the item itself is examined (a folder, a drive,
// an extension-less file) and a missing item gives none. Null when the shell has none. The
// handle belongs to the caller until ReleaseIcon.
IconHandle FindShellIcon(const std::wstring& path, int32_t large, int32_t byName);

// The icon's pixels as straight RGBA at the icon's own size. False when they cannot be read.
bool IconPixels(IconHandle icon, RgbaImage* out);

// Gives an icon back to the desktop. Null is ignored.
void ReleaseIcon(IconHandle icon);

// ---------------------------------------------------------------------------------------------
// Launching. Neither waits for what it started or keeps a handle to it; failures are silent.

// Starts the target as a program with no arguments, in the bar's own working directory.
// `commandLine` is the path as a command line (quoted); `path` is the path as stored. True when
// a program was started.
bool StartProgram(const std::wstring& path, const std::wstring& commandLine);

// Opens the target with the desktop's default action for it, with `folder` as working directory
// (empty: the bar's own). True when the desktop accepted the request.
bool OpenWithDefaultAction(const std::wstring& path, const std::wstring& folder);

// ---------------------------------------------------------------------------------------------
// Files (names chosen not to meet the Windows API's own). Paths are relative to the working directory or absolute, as given.

// Opens or creates a file as `mode` says; null on failure.
FileHandle OpenDiskFile(const std::wstring& path, FileOpenMode mode);

// The file's length in bytes; -1 when it cannot be told.
int64_t FileLength(FileHandle file);

// Moves the read/write position to `offset` bytes from the start.
bool SeekFile(FileHandle file, int64_t offset);

// Reads up to `size` bytes; the count read, 0 at the end of the file, -1 on failure.
int64_t ReadFromFile(FileHandle file, void* buffer, int64_t size);

// Writes all `size` bytes; false when any of them could not be written.
bool WriteToFile(FileHandle file, const void* data, int64_t size);

// Cuts the file at the current position.
bool CutFileHere(FileHandle file);

// Makes what was written durable on the storage device.
bool FlushFile(FileHandle file);

// Closes the file. Null is ignored.
void CloseFile(FileHandle file);

// True when something (a file, a folder, anything) exists under the path.
bool PathExists(const std::wstring& path);

// Puts `source` in the place of `target` in one step: a reader sees either the old target or
// the whole new file, never a mix. The target need not exist. False leaves both as they were.
bool ReplaceFileWith(const std::wstring& target, const std::wstring& source);

// Removes a file. False when it could not be removed.
bool RemoveFile(const std::wstring& path);
