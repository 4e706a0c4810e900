// edgeway-launch-marker.exe: what the bar starts in the end-to-end suite. It appends one line to
// "launched.txt" in its working directory, "started with N arguments", and exits, so the suite
// can tell that it ran, where, how often and with what command line.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (words) LocalFree(words);
    char line[64];
    const int length = std::snprintf(line, sizeof line, "started with %d arguments\r\n", count > 0 ? count - 1 : 0);
    HANDLE file = CreateFileW(L"launched.txt", FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    DWORD written = 0;
    WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
    CloseHandle(file);
    return 0;
}
