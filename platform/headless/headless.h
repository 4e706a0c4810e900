// The scripted desktop's own controls, for tests and the headless runner. The bar itself only
// ever sees platform.h.
//
// A scenario is a list of passes. Every pointer read starts the next pass: it takes that pass's
// pointer position, and the drain of the pass is delivered that pass's messages, one message per
// wait. Time is virtual: a wait that sees no message advances the clock by its whole time-out.
// When the passes run out the desktop asks the bar to close, so every scenario ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

enum class HeadlessMessageKind {
    Press,        // a mouse button goes down (button 1 left, 2 right, 3 middle)
    Release,      // and up again
    Drop,         // a drag offering the link action is dropped with these paths
    CopyDrop,     // a drag that offers only copy or move: the bar refuses it
    CloseBar,     // the desktop asks the bar window to close
    CloseOwner,   // or the owner window
    Other,        // any other message for the program
};

struct HeadlessMessage {
    HeadlessMessageKind kind = HeadlessMessageKind::Other;
    int32_t button = 0;
    std::vector<std::wstring> paths;
};

struct HeadlessPass {
    PointerPosition pointer;
    std::vector<HeadlessMessage> messages;
    std::string frameName;  // when set, the screen at the end of this pass is kept under this name
};

struct HeadlessScenario {
    DisplaySize display{1920, 1080};
    std::vector<HeadlessPass> passes;
    std::vector<std::wstring> programs;   // paths that start as programs
    std::vector<std::wstring> documents;  // paths the default action opens
};

// Reads the scenario text format (see the headless runner's --help). False with a message
// naming the line when the text is not a scenario.
bool ParseHeadlessScenario(const std::string& text, HeadlessScenario* out, std::string* error);

// Puts the scripted desktop back to its start: a 1920 x 1080 display, no passes, nothing recorded.
void ResetHeadlessDesktop();
void SetHeadlessDisplay(int32_t width, int32_t height);
void LoadHeadlessScenario(const HeadlessScenario& scenario);

// For long runs fed in pieces: the passes still to come become `passes` (the next pointer read
// takes the first of them), and once they run out the desktop asks the bar to close again.
void FeedHeadlessPasses(std::vector<HeadlessPass> passes);
// Forgets the log, the launches and the kept frames, so that a long run holds no growing record.
// The counts (passes, presented frames, live icons) go on.
void ClearHeadlessRecords();

// What the bar did, one line an action, each prefixed with the virtual time in milliseconds.
const std::vector<std::string>& HeadlessLog();
int64_t HeadlessClockMs();
// Passes begun so far (pointer reads).
int64_t HeadlessPassCount();
bool HeadlessBarShown();
WindowPlace HeadlessBarPlace();

struct HeadlessLaunch {
    bool asProgram = false;  // StartProgram, else OpenWithDefaultAction
    bool accepted = false;
    std::wstring path;
    std::wstring commandLine;  // StartProgram
    std::wstring folder;       // OpenWithDefaultAction
};
const std::vector<HeadlessLaunch>& HeadlessLaunches();

struct HeadlessFrame {
    std::string name;
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};
// Frames kept at the end of the passes that asked for one, in order.
const std::vector<HeadlessFrame>& HeadlessFrames();

// Icons handed out by FindShellIcon and not yet released.
int64_t LiveHeadlessIcons();

// How many frames were presented, and the last one as it is on the scripted screen.
int64_t HeadlessPresentedFrames();
const std::vector<uint8_t>& HeadlessScreen();
int32_t HeadlessScreenWidth();
int32_t HeadlessScreenHeight();
// With keeping off, presenting a frame only counts it: for measuring the painting on its own.
void SetHeadlessScreenKeeping(bool keep);

// Text is set in the font file at `path` instead of the one fontconfig finds for "sans-serif";
// an empty path goes back to fontconfig. A path with no usable font makes text unavailable.
void SetHeadlessFontFile(const std::string& path);
