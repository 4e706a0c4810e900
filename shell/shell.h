// A slot's icon and opening its target.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"

// The extension without its dot, or empty.
std::wstring ExtensionPart(const std::wstring& path);
// The path as a command line: quoted, unless it starts with a double quote already.
std::wstring LaunchCommandLine(const std::wstring& path);
// The working folder for opening a path: up to and including its last separator, unless that
// separator is the first character; empty for none.
std::wstring LaunchFolder(const std::wstring& path);

IconHandle LookupIcon(const std::wstring& path, int32_t large);
int32_t LaunchPath(const std::wstring& path);
