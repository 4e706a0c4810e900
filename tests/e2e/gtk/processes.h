// Processes the end-to-end tests start: the bar and the drag source.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct Process {
    pid_t pid = -1;
    bool ended = false;
    int status = 0;     // as waitpid gives it, once ended
    int output = -1;    // read end of its standard output, when asked for
    std::string unread; // output read but not yet handed out as lines
};

// Starts `argv` in `folder` with the tests' environment plus `extraEnvironment` ("NAME=value").
// Its standard error goes to `errorFile`; its standard output to a pipe when `readOutput`.
Process StartProcess(const std::vector<std::string>& argv, const std::string& folder,
                     const std::vector<std::string>& extraEnvironment, const std::string& errorFile,
                     bool readOutput);

// True once the process has ended, waiting up to `timeoutMs`.
bool WaitForEnd(Process& process, int timeoutMs);
bool EndedWithCodeZero(const Process& process);
// Ends it (SIGTERM, then SIGKILL) and collects it, if it still runs.
void StopProcess(Process& process);

// The next line of its output, without the line end; empty after `timeoutMs` without one.
std::string ReadOutputLine(Process& process, int timeoutMs);

// Children of `pid` that have ended but were never collected.
std::vector<pid_t> ZombieChildrenOf(pid_t pid);

void SleepMs(int ms);
