// Launching on the scripted desktop: nothing is run. A path starts as a program when the
// scenario names it a program or it is an executable file on disk; the default action accepts
// what the scenario names a document and anything that exists on disk.
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/headless/desktop_state.h"
#include "store/utf8.h"

namespace {

bool Listed(const std::vector<std::wstring>& list, const std::wstring& path) {
    return std::find(list.begin(), list.end(), path) != list.end();
}

bool ExecutableOnDisk(const std::wstring& path) {
    struct stat info {};
    const std::string native = Utf8FromWide(path);
    return stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(native.c_str(), X_OK) == 0;
}

}  // namespace

bool StartProgram(const std::wstring& path, const std::wstring& commandLine) {
    const bool started = Listed(headless.scenario.programs, path) || ExecutableOnDisk(path);
    headless.launches.push_back({true, started, path, commandLine, L""});
    Record((started ? "started " : "could not start ") + Utf8FromWide(path));
    return started;
}

bool OpenWithDefaultAction(const std::wstring& path, const std::wstring& folder) {
    const bool opened = Listed(headless.scenario.documents, path) || PathExists(path);
    headless.launches.push_back({false, opened, path, L"", folder});
    Record((opened ? "opened " : "could not open ") + Utf8FromWide(path) +
           (folder.empty() ? "" : " in " + Utf8FromWide(folder)));
    return opened;
}
