// Turns fuzzer bytes into a run of the bar: the display, the settings and links files it starts
// with, and a scenario of pointer moves, clicks, drops and close requests aimed at the places of
// the bar as it will be laid out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/headless/headless.h"

struct FuzzedRun {
    DisplaySize display;
    std::optional<std::string> settings;  // "Settings.ini", or none
    std::optional<std::string> links;     // "Links.txt", or none
    HeadlessScenario scenario;
};

// The display and files come first; the bar is then started once on them to learn where it, its
// strip, its slots and its close button lie, and the rest of the bytes become passes and
// messages aimed there. Leaves the folder and the bar as FreshRun does.
FuzzedRun FuzzedRunOf(const uint8_t* data, size_t size);

// Writes the run's files into the current folder (and removes the ones it has none of).
void PutRunFiles(const FuzzedRun& run);

// The run as a scenario text for edgeway-headless, with the files it starts with as comments, to
// read a finding by. A dropped path holding a line break cannot be written in that form.
std::string ScenarioTextOf(const FuzzedRun& run);
