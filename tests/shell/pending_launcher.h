// Temporary stand-ins for the two launch services, until the headless backend has them: they
// record every request and answer as told. Drop this file and pending_launcher.cpp then.
#pragma once

#include <string>
#include <vector>

struct LaunchRequest {
    std::wstring service;  // "StartProgram" or "OpenWithDefaultAction"
    std::wstring path;
    std::wstring argument;  // the command line, or the working folder
};

struct PendingLauncher {
    bool programStarts = false;
    bool defaultActionAccepts = false;
    std::vector<LaunchRequest> requests;
};

extern PendingLauncher pendingLauncher;
