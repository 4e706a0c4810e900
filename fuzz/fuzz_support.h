// What the fuzz targets share: a private working folder, a fresh bar and scripted desktop for
// every input, and checks that end the run with a message when the bar breaks a rule.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Moves into a new temporary folder of the fuzzer's own, where "Settings.ini" and "Links.txt"
// are written and read for real. Call once, from LLVMFuzzerInitialize.
void EnterFuzzFolder();

// Gives back the icons of the last input's bar, then puts the bar, the pointer and the scripted
// desktop back to their start and removes every file the bar may have left in the folder.
void FreshRun();

// Stops the run, naming the rule, when `holds` is false.
void Require(bool holds, const char* rule);

std::string FileBytes(const char* name);
bool FileThere(const char* name);
void PutFile(const char* name, std::string_view bytes);

// Every slot obeys the link rules: used exactly when it holds a path, no path holds a line end,
// each label belongs to its path, and every icon the desktop handed out is held by a slot.
void RequireSoundSlots();

// The bytes "Links.txt" must hold after a save of the slots as they are.
std::string SavedFormOfSlots();

// The bar as laid out: side 0..3, no negative slot count, as many slots as the count says, and a
// bar no longer than a window may be.
void RequireSoundLayout();

// Reads little-endian integers off the front of the fuzzer's bytes; zeros once they run out.
struct ByteReader {
    const uint8_t* data;
    size_t size;
    uint8_t Byte();
    uint16_t Word();
    uint32_t Long();
    bool Empty() const { return size == 0; }
};
