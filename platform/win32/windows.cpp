// The owner window, the bar window and its canvas, and the message wait that turns what the
// window handlers see into bar events.
#include "platform/win32/win32_desktop.h"

#include <shellapi.h>
#include <windowsx.h>

namespace {

const wchar_t OwnerClassName[] = L"KorvantaEdgewayOwner";
const wchar_t BarClassName[] = L"KorvantaEdgewayBar";
const wchar_t CanvasClassName[] = L"KorvantaEdgewayCanvas";

constexpr WPARAM AnyButton = MK_LBUTTON | MK_RBUTTON | MK_MBUTTON | MK_XBUTTON1 | MK_XBUTTON2;

void QueueCanvasEvent(CanvasEventKind kind) { QueueBarEvent(CanvasEvent(&desktop.canvas, kind)); }

void QueueClose() {
    BarEvent event;
    event.kind = EventClose;
    QueueBarEvent(event);
}

// A left or right press made while no other button is held makes the canvas hold the pointer
// until that button is released.
void PressOnCanvas(HWND hwnd, UINT button, WPARAM held) {
    QueueCanvasEvent(CanvasButtonPress);
    if ((held & AnyButton) != button || desktop.canvas.heldButton != 0) return;
    desktop.canvas.heldButton = button;
    SetCapture(hwnd);
}

// The release of the held button is a click when it happens over the canvas.
void ReleaseOnCanvas(UINT button, LPARAM at, CanvasEventKind click) {
    QueueCanvasEvent(CanvasButtonRelease);
    if (desktop.canvas.heldButton != button) return;
    desktop.canvas.heldButton = 0;
    ReleaseCapture();
    const int32_t x = GET_X_LPARAM(at);
    const int32_t y = GET_Y_LPARAM(at);
    if (x >= 0 && x < desktop.canvas.width && y >= 0 && y < desktop.canvas.height) QueueCanvasEvent(click);
}

void PaintCanvas(HWND hwnd) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    if (dc) CopyFrameTo(desktop.canvas, dc);
    EndPaint(hwnd, &paint);
}

LRESULT CALLBACK CanvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN: PressOnCanvas(hwnd, MK_LBUTTON, wParam); return 0;
        case WM_RBUTTONDOWN: PressOnCanvas(hwnd, MK_RBUTTON, wParam); return 0;
        case WM_LBUTTONDBLCLK:
            PressOnCanvas(hwnd, MK_LBUTTON, wParam);
            QueueCanvasEvent(CanvasLeftDoubleClick);
            return 0;
        case WM_RBUTTONDBLCLK:
            PressOnCanvas(hwnd, MK_RBUTTON, wParam);
            QueueCanvasEvent(CanvasRightDoubleClick);
            return 0;
        case WM_LBUTTONUP: ReleaseOnCanvas(MK_LBUTTON, lParam, CanvasLeftClick); return 0;
        case WM_RBUTTONUP: ReleaseOnCanvas(MK_RBUTTON, lParam, CanvasRightClick); return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_XBUTTONDOWN:
        case WM_XBUTTONDBLCLK: QueueCanvasEvent(CanvasButtonPress); break;
        case WM_MBUTTONUP:
        case WM_XBUTTONUP: QueueCanvasEvent(CanvasButtonRelease); break;
        case WM_CAPTURECHANGED: desktop.canvas.heldButton = 0; return 0;
        case WM_MOUSEMOVE: QueueCanvasEvent(CanvasPointerMove); return 0;
        case WM_MOUSEWHEEL:
        case WM_MOUSEHWHEEL: QueueCanvasEvent(CanvasWheel); break;
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR: QueueCanvasEvent(CanvasKey); break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: QueueCanvasEvent(CanvasFocus); break;
        case WM_PAINT: PaintCanvas(hwnd); return 0;
        // Erasing puts the frame there straight away rather than a background that would flicker.
        case WM_ERASEBKGND: CopyFrameTo(desktop.canvas, reinterpret_cast<HDC>(wParam)); return 1;
        case WM_PRINTCLIENT: CopyFrameTo(desktop.canvas, reinterpret_cast<HDC>(wParam)); return 0;
        default: break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

// Both windows turn a close request into EventClose and stay: the loop ends the program.
LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE: QueueClose(); return 0;
        case WM_ERASEBKGND: return 1;  // the canvas covers the whole window
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void RegisterClassOnce(const wchar_t* name, WNDPROC proc, UINT style) {
    WNDCLASSEXW windowClass{};
    if (GetClassInfoExW(desktop.instance, name, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = desktop.instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(desktop.instance, MAKEINTRESOURCEW(1));
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

HINSTANCE Instance() {
    if (!desktop.instance) desktop.instance = GetModuleHandleW(nullptr);
    return desktop.instance;
}

}  // namespace

void QueueBarEvent(const BarEvent& event) { desktop.pending.push_back(event); }

void QueueDrop(HGLOBAL files, int32_t x, int32_t y) {
    BarEvent event;
    event.kind = EventDrop;
    event.dropX = x;
    event.dropY = y;
    desktop.pendingDrops.push_back(files);
    QueueBarEvent(event);
}

WindowHandle OpenOwner(const std::wstring& title) {
    RegisterClassOnce(OwnerClassName, BarProc, 0);
    desktop.owner.hwnd = CreateWindowExW(0, OwnerClassName, title.c_str(), WS_CAPTION, 0, 0, 0, 0, nullptr,
                                         nullptr, Instance(), nullptr);
    return &desktop.owner;
}

WindowHandle OpenBorderlessBar(WindowHandle owner, const std::wstring& title, WindowPlace place) {
    RegisterClassOnce(BarClassName, BarProc, 0);
    desktop.bar.hwnd = CreateWindowExW(0, BarClassName, title.c_str(), WS_POPUP, place.x, place.y, place.width,
                                       place.height, owner ? owner->hwnd : nullptr, nullptr, Instance(), nullptr);
    ShowWindow(desktop.bar.hwnd, SW_SHOWNORMAL);
    return &desktop.bar;
}

void MakeTopmost(WindowHandle bar) {
    if (bar) SetWindowPos(bar->hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void AcceptFileDrops(WindowHandle bar) {
    if (bar) desktop.dropsRegistered = RegisterBarDropTarget(bar->hwnd);
}

void* NativeHandleOf(WindowHandle window) { return window ? window->hwnd : nullptr; }

CanvasHandle OpenCanvas(WindowHandle bar, int32_t width, int32_t height) {
    RegisterClassOnce(CanvasClassName, CanvasProc, CS_DBLCLKS);
    PlatformCanvas& canvas = desktop.canvas;
    canvas.width = width;
    canvas.height = height;
    CreateFrameBuffer(&canvas);
    canvas.hwnd = CreateWindowExW(0, CanvasClassName, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, width, height,
                                  bar ? bar->hwnd : nullptr, nullptr, Instance(), nullptr);
    return &canvas;
}

void ShowBarWindow(WindowHandle bar) {
    if (bar) ShowWindow(bar->hwnd, SW_SHOWNORMAL);
}

void HideBarWindow(WindowHandle bar, WindowHandle owner) {
    if (owner) SetActiveWindow(owner->hwnd);
    if (bar) ShowWindow(bar->hwnd, SW_HIDE);
}

namespace {

BarEvent NextPendingEvent() {
    const BarEvent event = desktop.pending.front();
    desktop.pending.pop_front();
    if (event.kind == EventDrop) {
        if (desktop.currentDrop) GlobalFree(desktop.currentDrop);
        desktop.currentDrop = desktop.pendingDrops.front();
        desktop.pendingDrops.pop_front();
    }
    return event;
}

bool TakeMessage(MSG* message) { return PeekMessageW(message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD) != 0; }

}  // namespace

BarEvent WaitEvent(int32_t timeoutMs) {
    if (!desktop.pending.empty()) return NextPendingEvent();
    MSG message;
    if (!TakeMessage(&message)) {
        const DWORD waited = MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs > 0 ? timeoutMs : 0,
                                                       QS_ALLINPUT | QS_ALLPOSTMESSAGE);
        if (waited != WAIT_OBJECT_0) return BarEvent{};  // timed out (or the wait itself failed)
        // Something arrived. A sent message or a drag-and-drop call is handled inside the peek
        // itself and leaves no message behind; it still counts as a delivery.
        if (!TakeMessage(&message)) {
            if (!desktop.pending.empty()) return NextPendingEvent();
            BarEvent delivered;
            delivered.kind = EventOther;
            return delivered;
        }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
    BarEvent delivered;
    delivered.kind = EventOther;
    return delivered;
}

std::vector<std::wstring> DroppedFiles() {
    std::vector<std::wstring> paths;
    HDROP drop = static_cast<HDROP>(desktop.currentDrop);
    if (!drop) return paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT copied = DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied);
        paths.push_back(path);
    }
    return paths;
}
