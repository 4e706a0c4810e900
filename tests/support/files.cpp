#include "tests/support/files.h"

#include <filesystem>
#include <fstream>

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes;
    std::error_code unknown;
    const auto size = std::filesystem::file_size(path, unknown);
    if (!in || unknown) return bytes;
    bytes.resize(size);  // in one read: some tests hold files of a hundred megabytes
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) { return std::filesystem::exists(path); }
