#include "store/text_file.h"

#include <algorithm>

#include "store/utf8.h"

namespace {

TextFile* TextFileOver(FileHandle handle, bool writing) {
    if (!handle) return nullptr;
    TextFile* file = new TextFile;
    file->file = handle;
    file->writing = writing;
    file->buffer.resize(TextFileBufferSize);
    return file;
}

void WriteOutBuffer(TextFile* file) {
    if (file->used > 0 && !file->failed) {
        file->failed = !WriteToFile(file->file, file->buffer.data(), static_cast<int64_t>(file->used));
    }
    file->used = 0;
}

void PutBytes(TextFile* file, const char* bytes, size_t count) {
    while (count > 0) {
        if (file->used == file->buffer.size()) WriteOutBuffer(file);
        const size_t room = file->buffer.size() - file->used;
        const size_t part = count < room ? count : room;
        std::copy(bytes, bytes + part, file->buffer.begin() + static_cast<std::ptrdiff_t>(file->used));
        file->used += part;
        bytes += part;
        count -= part;
    }
}

// Makes sure a byte is waiting in the buffer; false at the end of the file or on a read error.
bool HasByte(TextFile* file) {
    if (file->next < file->used) return true;
    if (file->failed) return false;
    const int64_t got = ReadFromFile(file->file, file->buffer.data(), static_cast<int64_t>(file->buffer.size()));
    file->failed = got < 0;
    file->next = 0;
    file->used = got > 0 ? static_cast<size_t>(got) : 0;
    return file->used > 0;
}

bool EndsLine(char c) { return c == '\0' || c == '\n' || c == '\r'; }

}  // namespace

TextFile* OpenTextFile(const std::wstring& path) {
    return TextFileOver(OpenDiskFile(path, FileReadShareRead), false);
}

TextFile* CreateTextFile(const std::wstring& path) {
    return TextFileOver(OpenDiskFile(path, FileCreateAlways), true);
}

bool WriteOutTextFile(TextFile* file) {
    WriteOutBuffer(file);
    return !file->failed && FlushFile(file->file);
}

void CloseTextFile(TextFile* file) {
    if (!file) return;
    if (file->writing) WriteOutBuffer(file);
    CloseFile(file->file);
    delete file;
}

void WriteTextLine(TextFile* file, const std::wstring& text) {
    const std::string bytes = Utf8FromWide(text);
    PutBytes(file, bytes.data(), bytes.size());
    PutBytes(file, "\r\n", 2);
}

std::wstring ReadTextLine(TextFile* file) {
    std::string bytes;
    bytes.reserve(TextFileBufferSize);
    while (HasByte(file)) {
        // Take the run up to the next line end straight out of the buffer.
        const size_t start = file->next;
        while (file->next < file->used && !EndsLine(file->buffer[file->next])) ++file->next;
        bytes.append(file->buffer.data() + start, file->next - start);
        if (file->next == file->used) continue;
        const char end = file->buffer[file->next++];
        if (end == '\r' && HasByte(file) && file->buffer[file->next] == '\n') ++file->next;
        break;
    }
    return WideFromUtf8(bytes);
}

bool AtFileEnd(TextFile* file) { return !HasByte(file); }
