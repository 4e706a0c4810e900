// Faults in the file layer, for tests. The test executable is linked with the linker's --wrap
// for the C library calls that platform/posix/files.cpp makes, so every one of them passes
// through here first: unarmed they go straight on, armed they fail the way a real file system
// does. Production code is untouched.
#pragma once

#include <cstdint>
#include <string>

enum class FileCall { Open, Read, Write, Fsync, Ftruncate, Rename, Unlink };

struct FileFault {
    FileCall call = FileCall::Open;
    int error = 0;             // errno of the failing call
    std::string pathPart;      // only files whose path holds this (Open, Rename: the target; Unlink)
    int64_t bytesBefore = 0;   // Read, Write: this many bytes go through before the failure
};

// Arms the fault until ClearFileFaults; several may be armed at once.
void ArmFileFault(const FileFault& fault);
void ClearFileFaults();
// How many calls an armed fault has failed since it was armed.
int64_t FailedFileCalls();
