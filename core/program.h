#pragma once

// The whole run: bring up the platform, start up, run the loop, shut down. Returns the exit code.
int RunProgram();
