#include "fuzz/scenario_bytes.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/bar_state.h"
#include "core/start_up.h"
#include "fuzz/fuzz_support.h"
#include "store/utf8.h"

namespace {

constexpr int32_t Most = std::numeric_limits<int32_t>::max();
constexpr int32_t Least = std::numeric_limits<int32_t>::min();
constexpr size_t MostPasses = 120;

constexpr DisplaySize Displays[] = {{1920, 1080}, {1024, 768}, {640, 480}, {1, 1},          {0, 0},
                                    {3000, 200},  {200, 3000}, {40000, 40000}, {Least, Most}};

const std::wstring Paths[] = {
    L"/home/me/notes.txt",
    L"/usr/bin/env",
    L".",
    L"C:\\Tools\\app.exe",
    L"/tmp/a=b/c = d.txt",
    L" spaced name ",
    L"/data/caf\u00E9 \U0001F600.png",
    L"/x/line\nbreak",
    L"",
    L"/long/" + std::wstring(300, L'x') + L".doc",
    L"\"/quoted path/run.sh\"",
    L"Links.txt",
    L"/",
    L"noext",
    L"\t/tab.txt",
    L"/dir/",
};
constexpr size_t PathCount = sizeof Paths / sizeof Paths[0];

const std::wstring& PathOf(ByteReader& reader) { return Paths[reader.Byte() % PathCount]; }

// Slot counts, including the ones the settings reader has to bring within bounds.
int32_t SlotCountOf(uint8_t byte) {
    const int32_t choice = byte % 26;
    return choice == 24 ? -3 : choice == 25 ? 100000 : choice;
}

int32_t DetectionRangeOf(uint8_t byte) {
    const auto range = static_cast<int8_t>(byte);
    return range == 127 ? Most : range == -128 ? Least : range;
}

std::string SettingsOf(ByteReader& reader) {
    const uint8_t side = reader.Byte();
    const uint8_t count = reader.Byte();
    const uint8_t range = reader.Byte();
    if (side & 0x80) return {};
    return "Side = " + std::to_string(side & 7) + "\r\nDetection Range = " + std::to_string(DetectionRangeOf(range)) +
           "\r\nColor = 40, 50, 60\r\nLinks = " + std::to_string(SlotCountOf(count)) + "\r\n";
}

std::string LinksOf(ByteReader& reader) {
    const int lines = reader.Byte() % 9;
    std::string text;
    for (int i = 0; i < lines; ++i) text += "Link " + std::to_string(i) + " = " + Utf8FromWide(PathOf(reader)) + "\r\n";
    return text;
}

// Where the bar lies once started on the run's display and files.
struct Places {
    Rect bar;
    Rect strip;
    Rect close;
    std::vector<PointerPosition> slotCorners;  // desktop coordinates
};

Places PlacesOf(const FuzzedRun& run) {
    FreshRun();
    SetHeadlessDisplay(run.display.width, run.display.height);
    PutRunFiles(run);
    StartUp();
    Places places{{bar.barX, bar.barY, bar.barWidth, bar.barHeight}, bar.detectionRect, bar.closeRect, {}};
    for (const LinkSlot& slot : bar.slots) places.slotCorners.push_back({bar.barX + slot.x, bar.barY + slot.y});
    FreshRun();
    return places;
}

int32_t Offset(int32_t base, int32_t delta) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{base} + delta, Least, Most));
}

int32_t Within(int32_t start, int32_t extent, uint16_t pick) {
    return Offset(start, extent > 0 ? pick % extent : 0);
}

struct Builder {
    ByteReader& reader;
    const Places& places;
    HeadlessScenario& scenario;
    PointerPosition pointer{};

    void Pass(int count = 1) {
        for (int i = 0; i < count && scenario.passes.size() < MostPasses; ++i) scenario.passes.push_back({pointer, {}, ""});
    }

    void Message(HeadlessMessageKind kind, int32_t button = 0, std::vector<std::wstring> paths = {}) {
        if (scenario.passes.empty()) Pass();
        scenario.passes.back().messages.push_back({kind, button, std::move(paths)});
    }

    void MoveTo(int32_t x, int32_t y) {
        pointer = {x, y};
        Pass();
    }

    PointerPosition SlotCentre() {
        if (places.slotCorners.empty()) return {places.bar.x + places.bar.width / 2, places.bar.y + 32};
        const PointerPosition corner = places.slotCorners[reader.Byte() % places.slotCorners.size()];
        return {corner.x + 32, corner.y + 32};
    }

    void Click() {
        const uint8_t kind = reader.Byte();
        const int32_t button = 1 + (kind / 4) % 3;
        const int action = kind % 4;
        for (int i = 0; i < (action == 3 ? 2 : 1); ++i) {
            if (action != 1) Message(HeadlessMessageKind::Press, button);
            if (action != 0) Message(HeadlessMessageKind::Release, button);
        }
    }

    void Drop() {
        std::vector<std::wstring> paths(reader.Byte() % 4);
        for (std::wstring& path : paths) path = PathOf(reader);
        Message(HeadlessMessageKind::Drop, 0, std::move(paths));
    }

    void Step() {
        const int32_t extremes[] = {Least, Most, -1, 0};
        switch (reader.Byte() % 12) {
            case 0: {
                const PointerPosition at = SlotCentre();
                MoveTo(at.x, at.y);
                break;
            }
            case 1: {
                const PointerPosition at = SlotCentre();
                MoveTo(Offset(at.x, static_cast<int8_t>(reader.Byte())), Offset(at.y, static_cast<int8_t>(reader.Byte())));
                break;
            }
            case 2:
                MoveTo(Offset(places.bar.x, places.close.x + places.close.width / 2 + static_cast<int8_t>(reader.Byte()) / 8),
                       Offset(places.bar.y, places.close.y + places.close.height / 2 + static_cast<int8_t>(reader.Byte()) / 8));
                break;
            case 3:
                MoveTo(Within(places.strip.x, places.strip.width, reader.Word()),
                       Within(places.strip.y, places.strip.height, reader.Word()));
                break;
            case 4: MoveTo(static_cast<int16_t>(reader.Word()), static_cast<int16_t>(reader.Word())); break;
            case 5: MoveTo(extremes[reader.Byte() % 4], extremes[reader.Byte() % 4]); break;
            case 6: Pass(1 + reader.Byte() % 4); break;
            case 7: Click(); break;
            case 8: Drop(); break;
            case 9: Message(HeadlessMessageKind::CopyDrop, 0, {PathOf(reader)}); break;
            case 10: Message(HeadlessMessageKind::Other); break;
            case 11: {
                // Rare, so that most runs go on after it would have come.
                const uint8_t which = reader.Byte();
                if (which % 16 == 0) Message(which & 16 ? HeadlessMessageKind::CloseOwner : HeadlessMessageKind::CloseBar);
                break;
            }
        }
    }
};

}  // namespace

FuzzedRun FuzzedRunOf(const uint8_t* data, size_t size) {
    ByteReader reader{data, size};
    FuzzedRun run;
    run.display = Displays[reader.Byte() % (sizeof Displays / sizeof Displays[0])];
    const std::string settings = SettingsOf(reader);
    if (!settings.empty()) run.settings = settings;
    if (reader.Byte() & 1) run.links = LinksOf(reader);
    run.scenario.display = run.display;
    run.scenario.programs = {L"C:\\Tools\\app.exe"};
    run.scenario.documents = {L"/home/me/notes.txt", L"/data/caf\u00E9 \U0001F600.png"};
    const Places places = PlacesOf(run);
    Builder builder{reader, places, run.scenario};
    while (!reader.Empty() && run.scenario.passes.size() < MostPasses) builder.Step();
    return run;
}

void PutRunFiles(const FuzzedRun& run) {
    if (run.settings) PutFile("Settings.ini", *run.settings);
    if (run.links) PutFile("Links.txt", *run.links);
}

namespace {

std::string Commented(const std::string& name, const std::string& text) {
    std::string out = "# " + name + ":\n";
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        out += "#   " + text.substr(at, end == std::string::npos ? std::string::npos : end - at) + "\n";
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return out;
}

const char* ButtonName(int32_t button) { return button == 1 ? "left" : button == 2 ? "right" : "middle"; }

std::string MessageText(const HeadlessMessage& m) {
    switch (m.kind) {
        case HeadlessMessageKind::Press: return std::string("press ") + ButtonName(m.button);
        case HeadlessMessageKind::Release: return std::string("release ") + ButtonName(m.button);
        case HeadlessMessageKind::Drop:
        case HeadlessMessageKind::CopyDrop: {
            std::string text = m.kind == HeadlessMessageKind::Drop ? "drop" : "copydrop";
            for (size_t i = 0; i < m.paths.size(); ++i) text += (i ? " | " : " ") + Utf8FromWide(m.paths[i]);
            return text;
        }
        case HeadlessMessageKind::CloseBar: return "close bar";
        case HeadlessMessageKind::CloseOwner: return "close owner";
        case HeadlessMessageKind::Other: return "message";
    }
    return "message";
}

}  // namespace

std::string ScenarioTextOf(const FuzzedRun& run) {
    std::string text;
    if (run.settings) text += Commented("Settings.ini", *run.settings);
    if (run.links) text += Commented("Links.txt", *run.links);
    text += "display " + std::to_string(run.display.width) + " " + std::to_string(run.display.height) + "\n";
    for (const HeadlessPass& pass : run.scenario.passes) {
        text += "at " + std::to_string(pass.pointer.x) + " " + std::to_string(pass.pointer.y) + "\n";
        for (const HeadlessMessage& m : pass.messages) text += MessageText(m) + "\n";
    }
    return text;
}
