// Program lifetime, the primary display and the pointer.
#include "platform/win32/win32_desktop.h"

#include <ole2.h>

Win32Desktop desktop;

void StartPlatform() {
    desktop.instance = GetModuleHandleW(nullptr);
    // OLE brings up COM for the thread as well, which the shell's open action needs.
    OleInitialize(nullptr);
}

void StopPlatform() {
    if (desktop.dropsRegistered) RevokeBarDropTarget(desktop.bar.hwnd);
    desktop.dropsRegistered = false;
    OleUninitialize();
}

namespace {

bool PrimaryDisplayMode(DisplaySize* size) {
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    for (DWORD i = 0; EnumDisplayDevicesW(nullptr, i, &device, 0); ++i, device.cb = sizeof device) {
        const DWORD wanted = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP | DISPLAY_DEVICE_PRIMARY_DEVICE;
        if ((device.StateFlags & wanted) != wanted) continue;
        DEVMODEW mode{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsW(device.DeviceName, ENUM_CURRENT_SETTINGS, &mode)) return false;
        size->width = static_cast<int32_t>(mode.dmPelsWidth);
        size->height = static_cast<int32_t>(mode.dmPelsHeight);
        return true;
    }
    return false;
}

}  // namespace

DisplaySize MeasurePrimaryDisplay() {
    DisplaySize size;
    if (PrimaryDisplayMode(&size)) return size;
    size.width = GetSystemMetrics(SM_CXSCREEN);
    size.height = GetSystemMetrics(SM_CYSCREEN);
    return size;
}

// GetCursorPos fails while the desktop is not ours (a locked workstation, a secure desktop).
// Keeping the last position then holds the bar as it is instead of treating the failure as a
// pointer at the screen's corner.
PointerPosition ReadPointer() {
    POINT at{};
    if (GetCursorPos(&at)) desktop.lastPointer.x = at.x;
    if (GetCursorPos(&at)) desktop.lastPointer.y = at.y;
    return desktop.lastPointer;
}
