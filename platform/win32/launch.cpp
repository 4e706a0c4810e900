// Starting a program and the shell's default open action. Neither waits for what it started,
// and both give their handles back at once.
#include "platform/win32/win32_desktop.h"

#include <shellapi.h>

#include <vector>

bool StartProgram(const std::wstring&, const std::wstring& commandLine) {
    // CreateProcessW may write into the command line, so it gets a copy of its own.
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &started)) {
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

bool OpenWithDefaultAction(const std::wstring& path, const std::wstring& folder) {
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    request.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    request.lpFile = path.c_str();
    request.lpParameters = L"";
    request.lpDirectory = folder.empty() ? nullptr : folder.c_str();
    request.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&request)) return false;
    if (request.hProcess) CloseHandle(request.hProcess);
    return true;
}
