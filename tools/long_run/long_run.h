// Long use of the bar on the scripted desktop: the real program started once in the current
// folder, then fed passes in pieces, with what it holds measured after each piece. The
// edgeway-long-run tool and the shorter test in tests/reliability share it.
#pragma once

#include <cstdint>
#include <random>

struct LongRunFigures {
    int64_t passes = 0;      // passes run so far
    int64_t residentKb = 0;  // the process's resident memory
    int64_t heapBytes = 0;   // bytes allocated and not yet freed
    int64_t liveIcons = 0;   // icons the desktop handed out and got no release for
    int64_t heldIcons = 0;   // icons held by slots
};

// Starts the bar (settings, layout, windows, links) on a 1920 x 1080 scripted desktop.
void StartLongRun();

// `passes` passes of random pointer moves over, around and away from the bar, with clicks, double
// clicks, drops of one or several paths, refused drags and other messages among them.
void RunRandomPasses(int64_t passes, std::mt19937& random);

// `pairs` times: a file dropped on a slot, then the slot emptied by a right double-click; the
// slots taken in turn.
void RunDropsAndClears(int64_t pairs);

// Empties every used slot the way a user does, with a right double-click on it, so that
// measurements are taken with the bar in the same state each time.
void EmptyEverySlot();

// What the process holds now; the scripted desktop's records are dropped first.
LongRunFigures MeasureLongRun();

// Gives the slots' icons back and shuts the platform down.
void EndLongRun();

// Bytes the program has allocated and not freed, whichever allocator is in use.
int64_t HeapBytesInUse();
