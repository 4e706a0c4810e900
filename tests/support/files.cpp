#include "tests/support/files.h"

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

std::string ReadBytes(const std::string& path) {
    // One descriptor for the size and the bytes, so that a file replaced meanwhile is read whole
    // as it was when opened; and in one read, since some tests hold files of a hundred megabytes.
    std::string bytes;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return bytes;
    struct stat info {};
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        bytes.resize(static_cast<size_t>(info.st_size));
        size_t got = 0;
        while (got < bytes.size()) {
            const ssize_t count = read(fd, bytes.data() + got, bytes.size() - got);
            if (count <= 0) break;
            got += static_cast<size_t>(count);
        }
        bytes.resize(got);
    }
    close(fd);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }
