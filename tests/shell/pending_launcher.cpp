#include "tests/shell/pending_launcher.h"

#include "platform/platform.h"

PendingLauncher pendingLauncher;

bool StartProgram(const std::wstring& path, const std::wstring& commandLine) {
    pendingLauncher.requests.push_back({L"StartProgram", path, commandLine});
    return pendingLauncher.programStarts;
}

bool OpenWithDefaultAction(const std::wstring& path, const std::wstring& folder) {
    pendingLauncher.requests.push_back({L"OpenWithDefaultAction", path, folder});
    return pendingLauncher.defaultActionAccepts;
}
