#include "shell/shell.h"

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring ExtensionPart(const std::wstring& path) {
    // Backwards from the end down to the second character: a dot at the very start never counts.
    for (size_t i = path.size(); i-- > 1;) {
        const wchar_t c = path[i];
        if (IsSeparator(c) || c == L' ') return L"";
        if (c != L'.') continue;
        if (IsSeparator(path[i - 1])) return L"";  // a name that starts with a dot
        const size_t quote = path.find(L'"', i + 1);
        return path.substr(i + 1, quote == std::wstring::npos ? std::wstring::npos : quote - i - 1);
    }
    return L"";
}

std::wstring LaunchCommandLine(const std::wstring& path) {
    if (!path.empty() && path.front() == L'"') return path;
    return L"\"" + path + L"\"";
}

std::wstring LaunchFolder(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator == 0) return L"";
    return path.substr(0, separator + 1);
}

IconHandle LookupIcon(const std::wstring& path, int32_t large) {
    return FindShellIcon(path, large ? 1 : 0, ExtensionPart(path).empty() ? 0 : 1);
}

int32_t LaunchPath(const std::wstring& path) {
    if (StartProgram(path, LaunchCommandLine(path))) return 1;
    return OpenWithDefaultAction(path, LaunchFolder(path)) ? 1 : 0;
}
