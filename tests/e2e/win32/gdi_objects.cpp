// edgeway-gdi-objects.exe NAME.exe
//
// Prints how many GDI objects the one running process of that name holds (bitmaps, DCs, fonts,
// brushes, and the bitmaps that make up every icon). Exits 1, printing why, when there is no such
// process, more than one, or its count cannot be read.
//
// Windows answers GetGuiResources(GR_GDIOBJECTS). Wine only pretends to: it returns 0 with
// ERROR_CALL_NOT_IMPLEMENTED. Wine does keep every process's GDI objects in a handle table of the
// layout Windows once shared with all processes, GDI_SHARED_MEMORY, found through the process's
// PEB (GdiSharedHandleTable); a cell is in use while its type is not zero. So under Wine the
// count is read out of the process's own table with ReadProcessMemory.
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct GdiCell {
    uint64_t object;
    uint32_t owner;
    uint16_t unique;
    uint8_t type;
    uint8_t flags;
    uint64_t user;
};
static_assert(sizeof(GdiCell) == 24, "a cell of the 64-bit GDI handle table");

constexpr size_t WineGdiCells = 16384;
constexpr size_t PebGdiTableOffset = 0xF8;  // PEB.GdiSharedHandleTable in a 64-bit process

// The process id, 0 when there is none; -1 as the count when there are several.
DWORD ProcessNamed(const wchar_t* name, int* count) {
    *count = 0;
    DWORD id = 0;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (lstrcmpiW(entry.szExeFile, name) != 0) continue;
        id = entry.th32ProcessID;
        ++*count;
    }
    CloseHandle(snapshot);
    return id;
}

bool Read(HANDLE process, uint64_t address, void* into, size_t size) {
    SIZE_T got = 0;
    return ReadProcessMemory(process, reinterpret_cast<const void*>(address), into, size, &got) && got == size;
}

// The cells in use in the process's GDI handle table, -1 when it cannot be read.
long CountFromTable(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0) return -1;
    uint64_t table = 0;
    const uint64_t peb = reinterpret_cast<uint64_t>(basic.PebBaseAddress);
    if (!Read(process, peb + PebGdiTableOffset, &table, sizeof table) || table == 0) return -1;
    std::vector<GdiCell> cells(WineGdiCells);
    if (!Read(process, table, cells.data(), cells.size() * sizeof(GdiCell))) return -1;
    long used = 0;
    for (const GdiCell& cell : cells) used += cell.type != 0;
    return used;
}

long GdiObjectsOf(HANDLE process) {
    SetLastError(ERROR_SUCCESS);
    const DWORD reported = GetGuiResources(process, GR_GDIOBJECTS);
    if (reported != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return reported;
    return CountFromTable(process);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: edgeway-gdi-objects NAME.exe\n");
        return 2;
    }
    int matches = 0;
    const DWORD id = ProcessNamed(argv[1], &matches);
    if (matches != 1) {
        std::printf("%d processes of that name\n", matches);
        return 1;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (!process) {
        std::printf("cannot open process %lu\n", id);
        return 1;
    }
    const long count = GdiObjectsOf(process);
    CloseHandle(process);
    if (count < 0) {
        std::printf("cannot read the GDI objects of process %lu\n", id);
        return 1;
    }
    std::printf("%ld\n", count);
    return 0;
}
