#include <string>

#include "platform/headless/desktop_state.h"

HeadlessDesktop headless;

void ResetHeadlessDesktop() { headless = HeadlessDesktop{}; }

void SetHeadlessDisplay(int32_t width, int32_t height) { headless.display = {width, height}; }

void LoadHeadlessScenario(const HeadlessScenario& scenario) {
    headless.scenario = scenario;
    headless.display = scenario.display;
}

void FeedHeadlessPasses(std::vector<HeadlessPass> passes) {
    headless.scenario.passes = std::move(passes);
    headless.nextPass = 0;
    headless.scenarioOver = false;
}

void ClearHeadlessRecords() {
    std::vector<std::string>().swap(headless.log);
    std::vector<HeadlessLaunch>().swap(headless.launches);
    std::vector<HeadlessFrame>().swap(headless.frames);
}

void Record(const std::string& what) {
    headless.log.push_back("t=" + std::to_string(headless.clockMs) + " " + what);
}

const std::vector<std::string>& HeadlessLog() { return headless.log; }
int64_t HeadlessClockMs() { return headless.clockMs; }
int64_t HeadlessPassCount() { return headless.passCount; }
bool HeadlessBarShown() { return headless.barShown; }
WindowPlace HeadlessBarPlace() { return headless.barPlace; }
const std::vector<HeadlessLaunch>& HeadlessLaunches() { return headless.launches; }
const std::vector<HeadlessFrame>& HeadlessFrames() { return headless.frames; }

void StartPlatform() { Record("platform started"); }

namespace {

void KeepRequestedFrame() {
    if (headless.frameToKeep.empty()) return;
    headless.frames.push_back({headless.frameToKeep, headless.screenWidth, headless.screenHeight,
                               headless.screen});
    headless.frameToKeep.clear();
}

}  // namespace

void StopPlatform() {
    KeepRequestedFrame();
    Record("platform stopped");
}

DisplaySize MeasurePrimaryDisplay() { return headless.display; }

PointerPosition ReadPointer() {
    KeepRequestedFrame();
    headless.messages.clear();
    if (headless.nextPass < headless.scenario.passes.size()) {
        const HeadlessPass& pass = headless.scenario.passes[headless.nextPass++];
        headless.pointer = pass.pointer;
        headless.messages.assign(pass.messages.begin(), pass.messages.end());
        headless.frameToKeep = pass.frameName;
    } else if (!headless.scenarioOver) {
        headless.scenarioOver = true;
        Record("scenario over: the desktop asks the bar to close");
        headless.messages.push_back({HeadlessMessageKind::CloseBar, 0, {}});
    }
    ++headless.passCount;
    return headless.pointer;
}
