// File access for the POSIX backends. There are no sharing modes here, so each mode keeps only
// its access part; what the bar needs from the Windows sharing modes (read a file that another
// program holds open, never cut a file that exists) holds all the same.
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/platform.h"
#include "store/utf8.h"

struct PlatformFile {
    int fd = -1;
};

namespace {

int OpenFlagsFor(FileOpenMode mode) {
    switch (mode) {
        case FileReadWriteShareRead: return O_RDWR;
        case FileReadShareRead:
        case FileReadShareReadWrite: return O_RDONLY;
        case FileWriteShareRead: return O_WRONLY;
        case FileCreateNew: return O_RDWR | O_CREAT | O_EXCL;
        case FileCreateAlways: return O_RDWR | O_CREAT | O_TRUNC;
    }
    return -1;
}

std::string NativePath(const std::wstring& path) { return Utf8FromWide(path); }

}  // namespace

FileHandle OpenDiskFile(const std::wstring& path, FileOpenMode mode) {
    const int flags = OpenFlagsFor(mode);
    if (flags < 0 || path.empty()) return nullptr;
    int fd;
    do {
        // O_NONBLOCK keeps a FIFO of that name from hanging the bar; it has no effect on
        // regular files, the only kind accepted below.
        fd = open(NativePath(path).c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return nullptr;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return nullptr;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return new PlatformFile{fd};
}

int64_t FileLength(FileHandle file) {
    if (!file) return -1;
    struct stat info {};
    if (fstat(file->fd, &info) != 0) return -1;
    return info.st_size;
}

bool SeekFile(FileHandle file, int64_t offset) {
    return file && lseek(file->fd, offset, SEEK_SET) == offset;
}

int64_t ReadFromFile(FileHandle file, void* buffer, int64_t size) {
    if (!file || size < 0) return -1;
    ssize_t got;
    do {
        got = read(file->fd, buffer, static_cast<size_t>(size));
    } while (got < 0 && errno == EINTR);
    return got;
}

bool WriteToFile(FileHandle file, const void* data, int64_t size) {
    if (!file || size < 0) return false;
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t put = write(file->fd, at, static_cast<size_t>(size));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        at += put;
        size -= put;
    }
    return true;
}

bool CutFileHere(FileHandle file) {
    if (!file) return false;
    const off_t here = lseek(file->fd, 0, SEEK_CUR);
    return here >= 0 && ftruncate(file->fd, here) == 0;
}

bool FlushFile(FileHandle file) { return file && fsync(file->fd) == 0; }

void CloseFile(FileHandle file) {
    if (!file) return;
    close(file->fd);
    delete file;
}

bool PathExists(const std::wstring& path) {
    struct stat info {};
    return !path.empty() && lstat(NativePath(path).c_str(), &info) == 0;
}

bool ReplaceFileWith(const std::wstring& target, const std::wstring& source) {
    if (rename(NativePath(source).c_str(), NativePath(target).c_str()) != 0) return false;
    // Make the rename itself durable: sync the folder that holds the target.
    const std::string native = NativePath(target);
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

bool RemoveFile(const std::wstring& path) { return unlink(NativePath(path).c_str()) == 0; }
