// What painting one frame of the default 1920 x 1080 top bar costs next to the cheapest thing a
// frame can be: filling its buffer with one colour. The bar holds 22 pinned files with 32 x 32
// icons, the pointer is over slot 10 (its neighbours magnified) and the slot's name shows
// underneath.
//
// Prints each benchmark, then the ratios of the frames to the fill.
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "core/bar_state.h"
#include "core/hover.h"
#include "core/start_up.h"
#include "platform/headless/headless.h"
#include "render/canvas.h"
#include "render/draw_bar.h"
#include "render/drawing.h"
#include "render/picture_cache.h"
#include "store/links.h"
#include "store/text_ops.h"

namespace {

// The pointer over slot 10, `offset` pixels along the bar from its centre.
void PointAtSlotTen(int32_t offset) {
    const LinkSlot& pointed = bar.slots[10];
    UpdateHover(bar.barX + pointed.x + 32 + offset, bar.barY + pointed.y + 32);
}

// The bar as it starts on a 1920 x 1080 scripted display, in a folder of its own (start-up writes
// "Settings.ini"), every slot then pinned to a file of its own type so that no two icons are alike.
void SetUpFullHdBar(bool keepPictures) {
    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "edgeway-bench-XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()) ? pattern : ".");
    }();
    std::filesystem::current_path(folder);
    std::filesystem::remove("Settings.ini");
    std::filesystem::remove("Links.txt");
    ReleaseLinkIcons();
    ResetHeadlessDesktop();
    // What presenting costs depends on the desktop (a copy into a DIB section or a cairo surface);
    // here the scripted one only counts frames, so that the figures are the painting's own.
    SetHeadlessScreenKeeping(false);
    SetPictureKeeping(keepPictures);
    ForgetDrawnFrame();
    bar = BarState{};
    StartUp();
    for (LinkSlot& slot : bar.slots) {
        slot.used = 1;
        slot.path = L"/home/me/file." + DecimalText(slot.index) + L"x";
        slot.label = L"file." + DecimalText(slot.index) + L"x";
        slot.icon = FindShellIcon(slot.path, 1, 1);
    }
    PointAtSlotTen(0);
    DrawBar();
}

void Keep(benchmark::State&) {
    benchmark::DoNotOptimize(canvasBuffer.rgb.data());
    benchmark::ClobberMemory();
}

void PlainFill(benchmark::State& state) {
    SetUpFullHdBar(true);
    for (auto _ : state) {
        BeginCanvasDrawing(bar.canvas);
        FillBox(0, 0, bar.barWidth, bar.barHeight, bar.backgroundColor);
        Keep(state);
    }
}

// The pointer moves 8 pixels to and fro over slot 10: three icons change size every frame.
void MovingPointerFrame(benchmark::State& state) {
    SetUpFullHdBar(true);
    int32_t offset = 0;
    for (auto _ : state) {
        offset = 8 - offset;
        PointAtSlotTen(offset);
        DrawBar();
        Keep(state);
    }
}

// The whole frame painted again with every slot as it was (only what lies outside the slots
// changed, as when the close button lights up).
void RepaintedFrame(benchmark::State& state) {
    SetUpFullHdBar(true);
    for (auto _ : state) {
        ForgetDrawnFrame();
        DrawBar();
        Keep(state);
    }
}

// Nothing kept between frames: every icon converted and resized, both texts rasterised, each time.
void FrameFromScratch(benchmark::State& state) {
    SetUpFullHdBar(false);
    for (auto _ : state) {
        ForgetDrawnFrame();
        DrawBar();
        Keep(state);
    }
}

// A shown bar with nothing changing: the frame on the screen is already the right one.
void UnchangedFrame(benchmark::State& state) {
    SetUpFullHdBar(true);
    for (auto _ : state) {
        DrawBar();
        Keep(state);
    }
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median") {
                nanoseconds[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> nanoseconds;
};

}  // namespace

BENCHMARK(PlainFill);
BENCHMARK(MovingPointerFrame);
BENCHMARK(RepaintedFrame);
BENCHMARK(FrameFromScratch);
BENCHMARK(UnchangedFrame);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double fill = reporter.nanoseconds["PlainFill"];
    if (fill > 0) {
        for (const char* frame : {"MovingPointerFrame", "RepaintedFrame", "FrameFromScratch", "UnchangedFrame"}) {
            const double ns = reporter.nanoseconds[frame];
            if (ns > 0) std::printf("DrawBar (%s) / plain fill: %.2f\n", frame, ns / fill);
        }
    }
    benchmark::Shutdown();
    return 0;
}
