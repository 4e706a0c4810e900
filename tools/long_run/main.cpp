// edgeway-long-run: long use of the bar on the scripted desktop, in the current folder (run it in
// an empty one: "Settings.ini" and "Links.txt" there are written for real).
//
//   edgeway-long-run passes [N]   N passes (default 1,000,000) with random events
//   edgeway-long-run drops [N]    N drops each followed by a clear (default 100,000)
//
// The run goes in 20 pieces. After each, the slots' icons are counted against the icons handed
// out, every slot is emptied by a right double-click (so that each measurement finds the bar in
// the same state) and the process's resident memory and heap bytes in use are printed. Exits with
// 1 when the heap grew by more than 16 KB from the fifth piece (caches filled) to the last, or
// when an icon was handed out that no slot holds.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "tools/long_run/long_run.h"

namespace {

constexpr int64_t AllowedGrowthBytes = 16 * 1024;
constexpr int64_t WarmPieces = 5;

// Icons as the piece left them; memory once the slots are emptied.
void Print(const LongRunFigures& held, const LongRunFigures& emptied) {
    std::printf("%10lld passes  %3lld icons out, %3lld held  |  emptied: %8lld KB resident, %10lld heap bytes\n",
                static_cast<long long>(held.passes), static_cast<long long>(held.liveIcons),
                static_cast<long long>(held.heldIcons), static_cast<long long>(emptied.residentKb),
                static_cast<long long>(emptied.heapBytes));
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode != "passes" && mode != "drops") {
        std::fprintf(stderr, "usage: edgeway-long-run passes|drops [N]\n");
        return 2;
    }
    const bool passes = mode == "passes";
    const int64_t total = argc > 2 ? std::atoll(argv[2]) : passes ? 1000000 : 100000;
    const int64_t pieces = 20;
    const int64_t piece = total / pieces > 0 ? total / pieces : 1;

    std::mt19937 random(7);
    StartLongRun();
    LongRunFigures warm, last;
    bool iconsHeld = true;
    for (int64_t done = 0, count = 1; done < total; done += piece, ++count) {
        if (passes) {
            RunRandomPasses(piece, random);
        } else {
            RunDropsAndClears(piece);
        }
        const LongRunFigures held = MeasureLongRun();
        iconsHeld = iconsHeld && held.liveIcons == held.heldIcons;
        EmptyEverySlot();
        last = MeasureLongRun();
        iconsHeld = iconsHeld && last.liveIcons == 0;
        if (count == WarmPieces) warm = last;
        Print(held, last);
    }
    EndLongRun();
    const int64_t growth = last.heapBytes - warm.heapBytes;
    std::printf("heap growth from piece %lld to the last, slots emptied: %lld bytes; resident growth: %lld KB; %s\n",
                static_cast<long long>(WarmPieces),
                static_cast<long long>(growth), static_cast<long long>(last.residentKb - warm.residentKb),
                iconsHeld ? "every icon handed out is held by a slot" : "ICONS LEFT UNRELEASED");
    return growth <= AllowedGrowthBytes && iconsHeld ? 0 : 1;
}
