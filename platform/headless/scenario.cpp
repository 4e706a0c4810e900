// The scenario text format of the scripted desktop. One command a line; "#" starts a comment
// line. A message belongs to the pass declared last before it.
#include <sstream>

#include "platform/headless/headless.h"
#include "store/utf8.h"

namespace {

struct Reader {
    HeadlessScenario* scenario;
    PointerPosition pointer;
};

bool ButtonOf(const std::string& word, int32_t* button) {
    if (word == "left") *button = 1;
    else if (word == "right") *button = 2;
    else if (word == "middle") *button = 3;
    else return false;
    return true;
}

std::string RestOf(std::istringstream& words) {
    std::string rest;
    std::getline(words, rest);
    const size_t start = rest.find_first_not_of(" \t");
    return start == std::string::npos ? "" : rest.substr(start);
}

// Paths are separated by " | ".
std::vector<std::wstring> PathsOf(const std::string& text) {
    std::vector<std::wstring> paths;
    if (text.empty()) return paths;
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find(" | ", start);
        paths.push_back(WideFromUtf8(text.substr(start, bar - start)));
        if (bar == std::string::npos) break;
        start = bar + 3;
    }
    return paths;
}

void AddPasses(Reader& r, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        HeadlessPass pass;
        pass.pointer = r.pointer;
        r.scenario->passes.push_back(std::move(pass));
    }
}

// Messages before the first pass get a pass of their own at the current pointer.
void Queue(Reader& r, HeadlessMessageKind kind, int32_t button = 0, std::vector<std::wstring> paths = {}) {
    if (r.scenario->passes.empty()) AddPasses(r, 1);
    r.scenario->passes.back().messages.push_back({kind, button, std::move(paths)});
}

bool ReadCommand(Reader& r, const std::string& command, std::istringstream& words, std::string* why) {
    int32_t button = 0;
    std::string word;
    if (command == "display") {
        if (!(words >> r.scenario->display.width >> r.scenario->display.height)) return *why = "display W H", false;
    } else if (command == "program" || command == "document") {
        const std::wstring path = WideFromUtf8(RestOf(words));
        (command == "program" ? r.scenario->programs : r.scenario->documents).push_back(path);
    } else if (command == "pointer") {
        if (!(words >> r.pointer.x >> r.pointer.y)) return *why = "pointer X Y", false;
    } else if (command == "pass" || command == "at") {
        if (command == "at" && !(words >> r.pointer.x >> r.pointer.y)) return *why = "at X Y [N]", false;
        int64_t count = 1;
        if (words >> count) {
            if (count < 1 || count > 10000000) return *why = "a pass count from 1 to 10000000", false;
        }
        AddPasses(r, count);
    } else if (command == "press" || command == "release" || command == "click" || command == "doubleclick") {
        if (!(words >> word) || !ButtonOf(word, &button)) return *why = command + " left|right|middle", false;
        const int times = command == "doubleclick" ? 2 : 1;
        for (int i = 0; i < times; ++i) {
            if (command != "release") Queue(r, HeadlessMessageKind::Press, button);
            if (command != "press") Queue(r, HeadlessMessageKind::Release, button);
        }
    } else if (command == "drop" || command == "copydrop") {
        Queue(r, command == "drop" ? HeadlessMessageKind::Drop : HeadlessMessageKind::CopyDrop, 0,
              PathsOf(RestOf(words)));
    } else if (command == "close") {
        if (!(words >> word) || (word != "bar" && word != "owner")) return *why = "close bar|owner", false;
        Queue(r, word == "bar" ? HeadlessMessageKind::CloseBar : HeadlessMessageKind::CloseOwner);
    } else if (command == "message") {
        Queue(r, HeadlessMessageKind::Other);
    } else if (command == "frame") {
        const std::string name = RestOf(words);
        if (name.empty() || r.scenario->passes.empty()) return *why = "frame NAME, after a pass", false;
        r.scenario->passes.back().frameName = name;
    } else {
        return *why = "unknown command \"" + command + "\"", false;
    }
    return true;
}

}  // namespace

bool ParseHeadlessScenario(const std::string& text, HeadlessScenario* out, std::string* error) {
    HeadlessScenario scenario;
    Reader reader{&scenario, {}};
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string command;
        if (!(words >> command) || command[0] == '#') continue;
        std::string why;
        if (!ReadCommand(reader, command, words, &why)) {
            if (error) *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    *out = std::move(scenario);
    return true;
}
