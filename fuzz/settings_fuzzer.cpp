// The bytes are "Settings.ini". The bar starts up on displays of several sizes, the settings
// coming from the file as LoadSettings reads them; whatever the bytes, the bar it lays out must
// be one it can be built with, its colours must belong to its background, and the file must stay
// byte for byte as it was.
#include <cstdint>
#include <limits>

#include "core/bar_state.h"
#include "core/start_up.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/headless.h"
#include "render/draw_bar.h"

namespace {

constexpr int32_t Most = std::numeric_limits<int32_t>::max();
constexpr int32_t Least = std::numeric_limits<int32_t>::min();

constexpr DisplaySize Displays[] = {{1920, 1080}, {640, 480}, {0, 0}, {40000, 30000}, {Least, Most}};

void RequireColorsDerived() {
    const Color32 slot = bar.slotColor, label = bar.labelColor;
    DeriveColors();
    Require(bar.slotColor == slot && bar.labelColor == label, "the colours belong to the background");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    EnterFuzzFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view content(reinterpret_cast<const char*>(data), size);
    for (const DisplaySize display : Displays) {
        FreshRun();
        SetHeadlessDisplay(display.width, display.height);
        PutFile("Settings.ini", content);
        StartUp();
        RequireSoundLayout();
        RequireColorsDerived();
        Require(FileBytes("Settings.ini") == content, "an existing settings file is never changed");
        Require(!FileThere("Links.txt"), "start-up never writes the links file");
    }
    return 0;
}
