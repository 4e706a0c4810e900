// What the store tests set up: the bar as StartUp leaves it before LoadSettings, a laid-out bar
// for the links, and a way to meet file permissions even when the tests run as root.
#pragma once

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/bar_state.h"
#include "core/layout.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "render/draw_bar.h"

// The fields StartUp has set when it calls LoadSettings.
inline void PrepareStartUpDefaults(int32_t width = 1920, int32_t height = 1080) {
    SetHeadlessDisplay(width, height);
    const DisplaySize display = MeasurePrimaryDisplay();
    bar.desktopWidth = display.width;
    bar.desktopHeight = display.height;
    bar.backgroundColor = DefaultBackgroundColor;
    DeriveColors();
    bar.closeRect.width = 24;
    bar.closeRect.height = 24;
    bar.side = SideTop;
    bar.slotGap = DefaultSlotGap;
    bar.detectionRange = DefaultDetectionRange;
    bar.slotCount = DefaultSlotCount();
}

// A top bar on a 1920 x 1080 display with `slots` slots, laid out.
inline void PrepareBar(int32_t slots) {
    PrepareStartUpDefaults();
    bar.slotCount = slots;
    ComputeLayout();
}

// Root may write any file whatever its mode, so while this lives a test running as root acts as
// an ordinary user (the test folder is opened to everyone for it). Outside root it does nothing.
struct AsOrdinaryUser {
    AsOrdinaryUser() {
        if (geteuid() != 0) return;
        chmod(".", 0777);
        if (setegid(65534) != 0 || seteuid(65534) != 0) {
            setegid(0);
            ADD_FAILURE() << "cannot act as an ordinary user";
            return;
        }
        dropped = true;
    }
    ~AsOrdinaryUser() {
        if (!dropped) return;
        if (seteuid(0) != 0 || setegid(0) != 0) std::abort();
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
    bool dropped = false;
};
