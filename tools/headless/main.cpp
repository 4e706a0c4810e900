// edgeway-headless: runs the real bar on the scripted desktop, in the current folder, so that
// "Settings.ini" and "Links.txt" there are read and written as they would be on a real desktop.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "core/program.h"
#include "platform/headless/headless.h"
#include "render/png_io.h"
#include "store/links.h"

namespace {

const char* const Usage = R"(usage: edgeway-headless SCENARIO [--log FILE]

Runs Korvanta Edgeway on a scripted desktop in the current folder: "Settings.ini" and
"Links.txt" there are read and written for real. Prints what the bar did (one line an action,
stamped with the virtual time in milliseconds) and its exit code, and writes the frames the
scenario asks for as PNG files.

The scenario is a text file, one command a line; "#" starts a comment line.
  display W H              the primary display's size (default 1920 1080); before the first pass
  program PATH             PATH starts as a program when launched
  document PATH            the default action opens PATH
  pointer X Y              the pointer position for the passes that follow
  pass [N]                 N passes of the main loop (default 1) at the current pointer
  at X Y [N]               pointer X Y, then pass [N]
The commands below deliver a message during the pass declared last before them (the last of
its N passes), at that pass's pointer position:
  press left|right|middle  a button goes down
  release left|right|middle
  click left|right|middle  press and release
  doubleclick left|right   two clicks, recognised as a double-click (500 ms, 4 pixels)
  drop PATH [| PATH ...]   files dragged with the link action and dropped ("drop" alone: none)
  copydrop PATH            a drag that offers only copy: the bar refuses it
  close bar|owner          the desktop asks a window of the bar to close
  message                  some other message for the program
  frame NAME.png           write the screen as it is at the end of the pass declared last
Each pointer read of the bar starts the next pass; the messages of a pass are delivered while
it drains, one message per wait. Time is virtual: a wait with
nothing to deliver advances the clock by its whole time-out (50 ms hidden, 5 ms shown). When the
passes run out the desktop asks the bar to close.

Example: reveal the top bar, drop a file on slot 0, hover it and keep a frame.
  at 5000 5000
  at 400 1
  at 236 40
  drop /home/me/notes.txt
  at 236 40
  frame pinned.png
)";

bool ReadWhole(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *text = all.str();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string scenarioPath, logPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << Usage;
            return 0;
        } else if (arg == "--log" && i + 1 < argc) {
            logPath = argv[++i];
        } else if (scenarioPath.empty() && arg.rfind("--", 0) != 0) {
            scenarioPath = arg;
        } else {
            std::cerr << Usage;
            return 2;
        }
    }
    std::string text, error;
    HeadlessScenario scenario;
    if (scenarioPath.empty() || !ReadWhole(scenarioPath, &text)) {
        std::cerr << (scenarioPath.empty() ? std::string(Usage) : "cannot read " + scenarioPath + "\n");
        return 2;
    }
    if (!ParseHeadlessScenario(text, &scenario, &error)) {
        std::cerr << scenarioPath << ": " << error << "\n";
        return 2;
    }

    LoadHeadlessScenario(scenario);
    const int exitCode = RunProgram();
    ReleaseLinkIcons();

    bool framesWritten = true;
    for (const HeadlessFrame& frame : HeadlessFrames()) {
        if (!WritePngFile(frame.name, frame.rgb.data(), frame.width, frame.height)) {
            std::cerr << "cannot write " << frame.name << "\n";
            framesWritten = false;
        }
    }
    std::ofstream logFile;
    if (!logPath.empty()) logFile.open(logPath);
    std::ostream& log = logPath.empty() ? std::cout : logFile;
    for (const std::string& line : HeadlessLog()) log << line << "\n";
    for (const HeadlessFrame& frame : HeadlessFrames()) log << "frame " << frame.name << "\n";
    log << "exit " << exitCode << "\n";
    return framesWritten ? exitCode : 1;
}
