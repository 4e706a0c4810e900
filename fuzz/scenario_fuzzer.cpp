// The whole program on the scripted desktop, driven by fuzzed pointer paths, clicks, drops and
// close requests (see scenario_bytes.h). Whatever happens, the program ends with exit code 0, the
// slots keep to the link rules, every icon handed out is held by a slot, and a links file that
// was written mirrors the slots exactly; the settings file is never changed once it exists.
// With EDGEWAY_PRINT_SCENARIO set, each input's run is printed as scenario text first.
#include <cstdio>
#include <cstdlib>

#include "core/bar_state.h"
#include "core/program.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/scenario_bytes.h"
#include "platform/headless/headless.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const FuzzedRun run = FuzzedRunOf(data, size);
    if (std::getenv("EDGEWAY_PRINT_SCENARIO")) std::fputs(ScenarioTextOf(run).c_str(), stderr);
    PutRunFiles(run);
    LoadHeadlessScenario(run.scenario);
    Require(RunProgram() == 0, "the program ends with exit code 0");

    RequireSoundLayout();
    RequireSoundSlots();
    Require(HeadlessBarShown() == (bar.hidden == 0), "the bar is on the screen exactly when it is not hidden");
    if (HeadlessPresentedFrames() > 0) {
        Require(HeadlessScreenWidth() == bar.barWidth && HeadlessScreenHeight() == bar.barHeight,
                "every frame covers the bar exactly");
    }
    const bool linksWritten = FileThere("Links.txt") && (!run.links || FileBytes("Links.txt") != *run.links);
    if (linksWritten) Require(FileBytes("Links.txt") == SavedFormOfSlots(), "a written links file mirrors the slots");
    Require(!FileThere("Links.txt.tmp"), "no temporary file is left");
    if (run.settings) {
        Require(FileBytes("Settings.ini") == *run.settings, "an existing settings file is never changed");
    } else {
        Require(FileThere("Settings.ini"), "a missing settings file is created");
    }
    return 0;
}
