// "Links.txt" open for reading or writing line by line, through a buffer of 4096 bytes each way.
// WriteTextLine, ReadTextLine and AtFileEnd (store/links.h) work on it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "store/links.h"

constexpr size_t TextFileBufferSize = 4096;

struct TextFile {
    FileHandle file = nullptr;
    bool writing = false;
    bool failed = false;      // a read or write failed: reading ends there, later writes are not tried
    std::vector<char> buffer;
    size_t used = 0;          // bytes held: waiting to be written, or read and not yet taken
    size_t next = 0;          // reading: the next byte to take
};

// An existing file for reading while others may read it too; null when it cannot be opened.
TextFile* OpenTextFile(const std::wstring& path);
// A new file, or an existing one cut to nothing, for writing; null when it cannot be had.
TextFile* CreateTextFile(const std::wstring& path);
// Writes out what is buffered and makes the whole file durable; false when any byte written so
// far, or the flush, failed.
bool WriteOutTextFile(TextFile* file);
// Writes out what a writing file still holds and closes it. Null is ignored.
void CloseTextFile(TextFile* file);
