#include "tests/e2e/gtk/processes.h"

#include <chrono>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

int MsSince(Clock::time_point start) {
    return static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

bool CollectIfEnded(Process& process, int flags) {
    if (process.ended || process.pid <= 0) return process.ended;
    if (waitpid(process.pid, &process.status, flags) == process.pid) process.ended = true;
    return process.ended;
}

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void BecomeProcess(char* const* argv, char* const* envp, const char* folder, const char* errorFile,
                                int outputFd) {
    if (chdir(folder) != 0) _exit(126);
    const int error = open(errorFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (error >= 0) dup2(error, 2);
    const int nothing = open("/dev/null", O_RDWR);
    if (nothing >= 0) dup2(nothing, 0);
    dup2(outputFd >= 0 ? outputFd : (nothing >= 0 ? nothing : 1), 1);
    execve(argv[0], argv, envp);
    _exit(127);
}

}  // namespace

Process StartProcess(const std::vector<std::string>& argv, const std::string& folder,
                     const std::vector<std::string>& extraEnvironment, const std::string& errorFile,
                     bool readOutput) {
    std::vector<std::string> environment;
    for (char** e = environ; *e; ++e) environment.emplace_back(*e);
    environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> args, envp;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    int pipeFds[2] = {-1, -1};
    if (readOutput && pipe2(pipeFds, O_CLOEXEC) != 0) return {};
    Process process;
    process.pid = fork();
    if (process.pid == 0) BecomeProcess(args.data(), envp.data(), folder.c_str(), errorFile.c_str(), pipeFds[1]);
    if (pipeFds[1] >= 0) close(pipeFds[1]);
    process.output = pipeFds[0];
    return process;
}

bool WaitForEnd(Process& process, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    while (!CollectIfEnded(process, WNOHANG)) {
        if (MsSince(start) >= timeoutMs) return false;
        SleepMs(10);
    }
    return true;
}

bool EndedWithCodeZero(const Process& process) {
    return process.ended && WIFEXITED(process.status) && WEXITSTATUS(process.status) == 0;
}

void StopProcess(Process& process) {
    if (process.pid > 0 && !CollectIfEnded(process, WNOHANG)) {
        kill(process.pid, SIGTERM);
        if (!WaitForEnd(process, 2000)) {
            kill(process.pid, SIGKILL);
            CollectIfEnded(process, 0);
        }
    }
    if (process.output >= 0) close(process.output);
    process.output = -1;
}

std::string ReadOutputLine(Process& process, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        const size_t end = process.unread.find('\n');
        if (end != std::string::npos) {
            std::string line = process.unread.substr(0, end);
            process.unread.erase(0, end + 1);
            return line;
        }
        const int left = timeoutMs - MsSince(start);
        if (process.output < 0 || left <= 0) return "";
        pollfd ready{process.output, POLLIN, 0};
        if (poll(&ready, 1, left) <= 0) return "";
        char buffer[256];
        const ssize_t count = read(process.output, buffer, sizeof buffer);
        if (count <= 0) return "";
        process.unread.append(buffer, static_cast<size_t>(count));
    }
}

std::vector<pid_t> ZombieChildrenOf(pid_t pid) {
    std::vector<pid_t> zombies;
    DIR* proc = opendir("/proc");
    if (!proc) return zombies;
    while (dirent* entry = readdir(proc)) {
        const pid_t candidate = static_cast<pid_t>(std::atoi(entry->d_name));
        if (candidate <= 0) continue;
        std::ifstream stat("/proc/" + std::string(entry->d_name) + "/stat");
        std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
        // pid (name) state ppid ...: the name may hold blanks and parentheses, so read after the last ')'.
        const size_t close = text.rfind(')');
        if (close == std::string::npos) continue;
        std::istringstream rest(text.substr(close + 1));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        if (parent == pid && state == 'Z') zombies.push_back(candidate);
    }
    closedir(proc);
    return zombies;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
