#include "tests/reliability/file_faults.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

extern "C" {
int __real_open(const char* path, int flags, ...);
ssize_t __real_read(int fd, void* buffer, size_t size);
ssize_t __real_write(int fd, const void* data, size_t size);
int __real_fsync(int fd);
int __real_ftruncate(int fd, off_t length);
int __real_rename(const char* from, const char* to);
int __real_unlink(const char* path);
}

namespace {

struct Armed {
    FileFault fault;
    int64_t bytesLeft = 0;
};

std::vector<Armed> armed;
std::map<int, std::string> openPaths;  // the files opened through the bar's file layer
int64_t failedCalls = 0;

bool Holds(const std::string& path, const std::string& part) { return path.find(part) != std::string::npos; }

// The armed fault for this call on this path, or null.
Armed* FaultFor(FileCall call, const std::string& path) {
    for (Armed& a : armed) {
        if (a.fault.call == call && Holds(path, a.fault.pathPart)) return &a;
    }
    return nullptr;
}

std::string PathOf(int fd) {
    const auto it = openPaths.find(fd);
    return it == openPaths.end() ? std::string() : it->second;
}

int Fail(int error) {
    ++failedCalls;
    errno = error;
    return -1;
}

// Read and write let the fault's byte allowance through first, as a short transfer, and fail
// the call after it.
template <typename Transfer>
ssize_t Metered(FileCall call, int fd, size_t size, Transfer transfer) {
    const std::string path = PathOf(fd);
    Armed* a = path.empty() ? nullptr : FaultFor(call, path);
    if (!a) return transfer(size);
    if (a->bytesLeft <= 0) return Fail(a->fault.error);
    const size_t allowed = size < static_cast<size_t>(a->bytesLeft) ? size : static_cast<size_t>(a->bytesLeft);
    const ssize_t done = transfer(allowed);
    if (done > 0) a->bytesLeft -= done;
    return done;
}

}  // namespace

void ArmFileFault(const FileFault& fault) { armed.push_back({fault, fault.bytesBefore}); }

void ClearFileFaults() {
    armed.clear();
    failedCalls = 0;
}

int64_t FailedFileCalls() { return failedCalls; }

extern "C" {

int __wrap_open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list more;
        va_start(more, flags);
        mode = static_cast<mode_t>(va_arg(more, int));
        va_end(more);
    }
    if (Armed* a = FaultFor(FileCall::Open, path)) return Fail(a->fault.error);
    const int fd = __real_open(path, flags, mode);
    if (fd >= 0) openPaths[fd] = path;
    return fd;
}

ssize_t __wrap_read(int fd, void* buffer, size_t size) {
    return Metered(FileCall::Read, fd, size, [&](size_t n) { return __real_read(fd, buffer, n); });
}

ssize_t __wrap_write(int fd, const void* data, size_t size) {
    return Metered(FileCall::Write, fd, size, [&](size_t n) { return __real_write(fd, data, n); });
}

int __wrap_fsync(int fd) {
    const std::string path = PathOf(fd);
    if (Armed* a = path.empty() ? nullptr : FaultFor(FileCall::Fsync, path)) return Fail(a->fault.error);
    return __real_fsync(fd);
}

int __wrap_ftruncate(int fd, off_t length) {
    const std::string path = PathOf(fd);
    if (Armed* a = path.empty() ? nullptr : FaultFor(FileCall::Ftruncate, path)) return Fail(a->fault.error);
    return __real_ftruncate(fd, length);
}

int __wrap_rename(const char* from, const char* to) {
    if (Armed* a = FaultFor(FileCall::Rename, to)) return Fail(a->fault.error);
    return __real_rename(from, to);
}

int __wrap_unlink(const char* path) {
    if (Armed* a = FaultFor(FileCall::Unlink, path)) return Fail(a->fault.error);
    return __real_unlink(path);
}

}  // extern "C"
