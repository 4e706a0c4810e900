// Runs the whole program on the scripted desktop and reads back what it did.
#pragma once

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/bar_state.h"
#include "core/program.h"
#include "platform/headless/headless.h"
#include "store/links.h"

struct ScenarioRun {
    int exitCode = -1;
    std::vector<std::string> actions;  // the log without its time stamps
};

inline ScenarioRun RunScenario(const std::string& text) {
    HeadlessScenario scenario;
    std::string error;
    EXPECT_TRUE(ParseHeadlessScenario(text, &scenario, &error)) << error;
    ReleaseLinkIcons();  // of an earlier run in the same test
    bar = BarState{};
    ResetHeadlessDesktop();
    LoadHeadlessScenario(scenario);
    ScenarioRun run;
    run.exitCode = RunProgram();
    for (const std::string& line : HeadlessLog()) {
        const size_t space = line.find(' ');
        run.actions.push_back(space == std::string::npos ? line : line.substr(space + 1));
    }
    return run;
}

inline int CountOf(const ScenarioRun& run, const std::string& action) {
    int n = 0;
    for (const std::string& a : run.actions) n += a == action;
    return n;
}

inline int CountStartingWith(const ScenarioRun& run, const std::string& prefix) {
    int n = 0;
    for (const std::string& a : run.actions) n += a.rfind(prefix, 0) == 0;
    return n;
}
