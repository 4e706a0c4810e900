// File access with Windows' sharing modes: each mode says what we may do with the file and what
// other programs may still do with it while we hold it.
#include "platform/win32/win32_desktop.h"

struct PlatformFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
};

namespace {

struct OpenRequest {
    DWORD access;
    DWORD share;
    DWORD disposition;
};

OpenRequest RequestFor(FileOpenMode mode) {
    switch (mode) {
        case FileReadWriteShareRead: return {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING};
        case FileReadShareRead: return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING};
        case FileReadShareReadWrite: return {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING};
        case FileWriteShareRead: return {GENERIC_WRITE, FILE_SHARE_READ, OPEN_EXISTING};
        case FileCreateNew: return {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_NEW};
        case FileCreateAlways: return {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS};
    }
    return {0, 0, 0};
}

// ReadFile and WriteFile take at most a DWORD of bytes at a time.
DWORD ChunkOf(int64_t size) { return size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size); }

}  // namespace

FileHandle OpenDiskFile(const std::wstring& path, FileOpenMode mode) {
    const OpenRequest request = RequestFor(mode);
    if (request.disposition == 0 || path.empty()) return nullptr;
    HANDLE handle = CreateFileW(path.c_str(), request.access, request.share, nullptr, request.disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    // Only ordinary disk files: a device name such as CON or a pipe must not hold up the bar.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        return nullptr;
    }
    return new PlatformFile{handle};
}

int64_t FileLength(FileHandle file) {
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file->handle, &size)) return -1;
    return size.QuadPart;
}

bool SeekFile(FileHandle file, int64_t offset) {
    LARGE_INTEGER to{};
    to.QuadPart = offset;
    return file && SetFilePointerEx(file->handle, to, nullptr, FILE_BEGIN);
}

int64_t ReadFromFile(FileHandle file, void* buffer, int64_t size) {
    if (!file || size < 0) return -1;
    DWORD got = 0;
    if (!ReadFile(file->handle, buffer, ChunkOf(size), &got, nullptr)) return -1;
    return got;
}

bool WriteToFile(FileHandle file, const void* data, int64_t size) {
    if (!file || size < 0) return false;
    const char* at = static_cast<const char*>(data);
    while (size > 0) {
        DWORD put = 0;
        if (!WriteFile(file->handle, at, ChunkOf(size), &put, nullptr) || put == 0) return false;
        at += put;
        size -= put;
    }
    return true;
}

bool CutFileHere(FileHandle file) { return file && SetEndOfFile(file->handle); }

bool FlushFile(FileHandle file) { return file && FlushFileBuffers(file->handle); }

void CloseFile(FileHandle file) {
    if (!file) return;
    CloseHandle(file->handle);
    delete file;
}

bool PathExists(const std::wstring& path) {
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// MoveFileExW renames over the old file in one step, so a reader sees the old links or the new
// ones; WRITE_THROUGH returns only once the rename is on the disk.
bool ReplaceFileWith(const std::wstring& target, const std::wstring& source) {
    return MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool RemoveFile(const std::wstring& path) { return DeleteFileW(path.c_str()); }
