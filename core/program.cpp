#include "core/program.h"

#include "core/main_loop.h"
#include "core/start_up.h"
#include "platform/platform.h"

int RunProgram() {
    StartPlatform();
    StartUp();
    RunMainLoop();
    StopPlatform();
    return 0;
}
