// The Windows program's entry point: the whole run is the portable program's.
#include <windows.h>

#include "core/program.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return RunProgram(); }
