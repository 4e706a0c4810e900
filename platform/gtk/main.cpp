// edgeway: the launcher bar on the Linux desktop.
#include "core/program.h"

int main() { return RunProgram(); }
