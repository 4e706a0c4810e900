// edgeway-hold-file.exe PATH HOLDER UNTIL
//
// Another program that keeps an existing file open, as HOLDER says:
//   exclusive  reads and writes it and lets nobody else open it;
//   writer     reads and writes it and lets others only read it, as an editor does;
//   reader     reads it and lets others read and write it, but not delete it or rename over it,
//              as a viewer that follows the file does.
// Prints "holding" once the file is open, keeps it until something exists under the path UNTIL,
// then closes it and prints "released". Exits 1 when the file cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Holding {
    DWORD access;
    DWORD share;
};

bool HoldingOf(const wchar_t* name, Holding* holding) {
    if (std::wcscmp(name, L"exclusive") == 0) *holding = {GENERIC_READ | GENERIC_WRITE, 0};
    else if (std::wcscmp(name, L"writer") == 0) *holding = {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ};
    else if (std::wcscmp(name, L"reader") == 0) *holding = {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE};
    else return false;
    return true;
}

void AwaitPath(const wchar_t* path) {
    while (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) Sleep(20);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Holding holding{};
    if (argc != 4 || !HoldingOf(argv[2], &holding)) {
        std::fprintf(stderr, "usage: edgeway-hold-file PATH exclusive|writer|reader UNTIL\n");
        return 2;
    }
    HANDLE file = CreateFileW(argv[1], holding.access, holding.share, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::printf("cannot open (error %lu)\n", GetLastError());
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    AwaitPath(argv[3]);
    CloseHandle(file);
    std::printf("released\n");
    return 0;
}
