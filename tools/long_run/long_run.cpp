#include "tools/long_run/long_run.h"

#include <cstdio>
#include <malloc.h>
#include <string>
#include <unistd.h>
#include <vector>

#include "core/bar_state.h"
#include "core/main_loop.h"
#include "core/start_up.h"
#include "platform/headless/headless.h"
#include "render/picture_cache.h"
#include "store/links.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define EDGEWAY_ASAN 1
#include <sanitizer/allocator_interface.h>
#endif
#endif

namespace {

// Passes are fed this many at a time; the records of each piece are dropped after it.
constexpr int64_t PieceOfPasses = 10000;

const std::wstring Paths[] = {
    L"/home/me/notes.txt", L"/usr/bin/env", L"/home/me/photos", L"/data/report final.pdf",
    L"/opt/tool/run.sh",   L"/tmp/a=b.txt", L"/srv/caf\u00E9.png", L"/nowhere/README",
};
constexpr size_t PathCount = sizeof Paths / sizeof Paths[0];

// A click, or two in a row that the desktop takes for a double-click.
void AddClick(std::vector<HeadlessMessage>& messages, int32_t button, int times) {
    for (int i = 0; i < times; ++i) {
        messages.push_back({HeadlessMessageKind::Press, button, {}});
        messages.push_back({HeadlessMessageKind::Release, button, {}});
    }
}

PointerPosition SlotCentre(int32_t slot) {
    const LinkSlot& s = bar.slots[static_cast<size_t>(slot)];
    return {bar.barX + s.x + s.width / 2, bar.barY + s.y + s.height / 2};
}

PointerPosition RandomPointer(std::mt19937& random) {
    const int choice = static_cast<int>(random() % 10);
    if (choice < 5 && !bar.slots.empty()) return SlotCentre(static_cast<int32_t>(random() % bar.slots.size()));
    if (choice < 7) {  // anywhere on or around the bar
        return {bar.barX - 20 + static_cast<int32_t>(random() % static_cast<uint32_t>(bar.barWidth + 40)),
                bar.barY + static_cast<int32_t>(random() % static_cast<uint32_t>(bar.barHeight + 20))};
    }
    const Rect& strip = bar.detectionRect;
    if (choice < 9 && strip.width > 0) {  // the reveal strip
        return {strip.x + static_cast<int32_t>(random() % static_cast<uint32_t>(strip.width)), strip.y};
    }
    return {static_cast<int32_t>(random() % 1920), 500 + static_cast<int32_t>(random() % 500)};  // away
}

// A left click there would end the run.
bool OnCloseButton(PointerPosition p) {
    const Rect& close = bar.closeRect;
    const int64_t x = int64_t{p.x} - bar.barX, y = int64_t{p.y} - bar.barY;
    return close.x <= x && x <= close.x + close.width && close.y <= y && y <= close.y + close.height;
}

std::vector<HeadlessMessage> RandomMessages(std::mt19937& random, bool overClose) {
    std::vector<HeadlessMessage> messages;
    const uint32_t choice = random() % 16;
    if (overClose && (choice == 0 || choice == 2 || choice == 8)) return messages;
    switch (choice) {
        case 0: AddClick(messages, 1, 1); break;
        case 1: AddClick(messages, 2, 2); break;  // a right double-click empties the slot
        case 2: AddClick(messages, 1, 2); break;
        case 3: AddClick(messages, 3, 1); break;
        case 4:
        case 5: {
            std::vector<std::wstring> paths(1 + random() % 3);
            for (std::wstring& path : paths) path = Paths[random() % PathCount];
            messages.push_back({HeadlessMessageKind::Drop, 0, paths});
            break;
        }
        case 6: messages.push_back({HeadlessMessageKind::CopyDrop, 0, {Paths[random() % PathCount]}}); break;
        case 7: messages.push_back({HeadlessMessageKind::Other, 0, {}}); break;
        case 8: messages.push_back({HeadlessMessageKind::Press, 1, {}}); break;  // released later, or never
        default: break;
    }
    return messages;
}

int64_t ResidentKb() {
    long total = 0, resident = 0;
    FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return -1;
    const int read = std::fscanf(statm, "%ld %ld", &total, &resident);
    std::fclose(statm);
    return read == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

}  // namespace

LongRunFigures MeasureLongRun() {
    ClearHeadlessRecords();
    // What painting keeps between frames is bounded, and grows until every icon size the pointer
    // can ask for has been seen: it is let go of here, so that what remains is what the bar holds.
    ForgetKeptPictures();
    LongRunFigures figures;
    figures.passes = HeadlessPassCount();
    figures.residentKb = ResidentKb();
    figures.heapBytes = HeapBytesInUse();
    figures.liveIcons = LiveHeadlessIcons();
    for (const LinkSlot& slot : bar.slots) figures.heldIcons += slot.icon != nullptr;
    return figures;
}

namespace {

PointerPosition RevealPoint() { return {bar.detectionRect.x + 1, bar.detectionRect.y}; }

// Runs the passes through the real main loop; it returns when they are used up and the desktop
// asks the bar to close.
void RunPiece(std::vector<HeadlessPass> passes) {
    FeedHeadlessPasses(std::move(passes));
    RunMainLoop();
    FeedHeadlessPasses({});  // the piece's script is used up; memory holds only the bar
}

}  // namespace

int64_t HeapBytesInUse() {
#ifdef EDGEWAY_ASAN
    return static_cast<int64_t>(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 info = mallinfo2();
    return static_cast<int64_t>(info.uordblks + info.hblkhd);
#endif
}

void StartLongRun() {
    ResetHeadlessDesktop();
    StartPlatform();
    StartUp();
}

void RunRandomPasses(int64_t passes, std::mt19937& random) {
    for (int64_t done = 0; done < passes;) {
        std::vector<HeadlessPass> piece;
        for (; done < passes && static_cast<int64_t>(piece.size()) < PieceOfPasses; ++done) {
            const PointerPosition at = RandomPointer(random);
            piece.push_back({at, RandomMessages(random, OnCloseButton(at)), ""});
        }
        RunPiece(std::move(piece));
    }
}

void RunDropsAndClears(int64_t pairs) {
    const PointerPosition reveal = RevealPoint();
    for (int64_t done = 0; done < pairs;) {
        // Reveal the bar, then two passes a pair: the drop, and the right double-click.
        std::vector<HeadlessPass> piece{{reveal, {}, ""}};
        for (; done < pairs && static_cast<int64_t>(piece.size()) < PieceOfPasses; ++done) {
            const PointerPosition at = SlotCentre(static_cast<int32_t>(done % static_cast<int64_t>(bar.slots.size())));
            piece.push_back({at, {{HeadlessMessageKind::Drop, 0, {Paths[done % PathCount]}}}, ""});
            HeadlessPass clear{at, {}, ""};
            AddClick(clear.messages, 2, 2);
            piece.push_back(clear);
        }
        RunPiece(std::move(piece));
    }
}

void EmptyEverySlot() {
    std::vector<HeadlessPass> passes{{RevealPoint(), {}, ""}};
    for (size_t i = 0; i < bar.slots.size(); ++i) {
        if (!bar.slots[i].used) continue;
        HeadlessPass clear{SlotCentre(static_cast<int32_t>(i)), {}, ""};
        AddClick(clear.messages, 2, 2);
        passes.push_back(clear);
    }
    RunPiece(std::move(passes));
}

void EndLongRun() {
    StopPlatform();
    ReleaseLinkIcons();
}
