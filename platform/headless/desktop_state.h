// What the scripted desktop holds between calls. Internal to platform/headless.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

struct PlatformWindow {
    bool owner = false;
};

struct PlatformCanvas {
    int32_t width = 0;
    int32_t height = 0;
};

struct HeadlessDesktop {
    DisplaySize display{1920, 1080};
    HeadlessScenario scenario;
    int64_t clockMs = 0;
    int64_t passCount = 0;  // passes begun
    size_t nextPass = 0;    // the scenario pass the next pointer read takes
    bool scenarioOver = false;
    PointerPosition pointer;
    std::deque<HeadlessMessage> messages;  // still to be delivered in the current pass
    std::deque<BarEvent> pending;          // bar events produced by delivered messages
    std::vector<std::wstring> currentDrop;
    std::string frameToKeep;

    PlatformWindow ownerWindow{true};
    PlatformWindow barWindow{false};
    PlatformCanvas canvas;
    bool barOpen = false;
    bool barShown = false;
    bool dropsAccepted = false;
    WindowPlace barPlace;

    int32_t heldButton = 0;  // the button the canvas holds the pointer for, 0 for none
    int32_t lastPressButton = 0;
    int64_t lastPressMs = -1000000;
    PointerPosition lastPressAt;

    std::vector<std::string> log;
    std::vector<HeadlessLaunch> launches;
    std::vector<HeadlessFrame> frames;
    int64_t liveIcons = 0;
    int64_t presentedFrames = 0;
    bool keepScreen = true;
    std::vector<uint8_t> screen;  // the last frame presented, top-down RGB
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;
    std::string fontFile;  // empty: the "sans-serif" face fontconfig picks
};

extern HeadlessDesktop headless;

// Adds a line to the log, stamped with the virtual time.
void Record(const std::string& what);
