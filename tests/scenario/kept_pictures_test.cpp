// The pictures and frames the bar keeps between passes change nothing on the screen: a long
// scenario gives the very same frames, pass by pass, with keeping on and with every frame painted
// from scratch.
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "render/picture_cache.h"
#include "tests/scenario/scenario_support.h"

namespace {

std::string Pass(int x, int y, const std::string& messages = "") {
    static int frame = 0;
    return "at " + std::to_string(x) + " " + std::to_string(y) + "\n" + messages + "frame f" +
           std::to_string(frame++) + ".png\n";
}

// Sweeps over the bar and its close button, drops and clears, hides and reveals: everything that
// changes what a frame shows.
std::string BusyScenario() {
    std::string text = Pass(5000, 5000) + Pass(400, 2);
    for (int x = 200; x <= 1720; x += 7) text += Pass(x, 30 + x % 40);
    text += Pass(236, 40, "drop /home/me/a.txt\n") + Pass(304, 40, "drop /home/me/b.png\n");
    text += Pass(372, 40, "drop programs\n") + Pass(440, 40, "drop /home/me/c.tar.gz\n");
    for (int x = 200; x <= 520; x += 3) text += Pass(x, 50);
    text += Pass(1708, 16) + Pass(1709, 17) + Pass(1690, 16);
    // Straight up and down over the close button: only the highlight comes and goes.
    text += Pass(1708, 30) + Pass(1708, 16) + Pass(1708, 30);
    text += Pass(304, 40, "doubleclick right\n") + Pass(304, 40) + Pass(306, 41);
    text += Pass(304, 40, "drop /home/me/d.txt\n") + Pass(304, 40);
    text += Pass(5000, 5000) + Pass(5000, 5000) + Pass(420, 0) + Pass(420, 50) + Pass(421, 50);
    return text;
}

std::vector<HeadlessFrame> FramesOf(const std::string& scenario, bool keep) {
    std::filesystem::remove("Links.txt");
    SetPictureKeeping(keep);
    const ScenarioRun run = RunScenario(scenario);
    EXPECT_EQ(run.exitCode, 0);
    return HeadlessFrames();
}

}  // namespace

TEST(KeptPictures, FramesAreTheSameWithAndWithoutKeeping) {
    std::filesystem::create_directory("programs");  // a folder gets the folder icon
    const std::string scenario = BusyScenario();
    const std::vector<HeadlessFrame> fromScratch = FramesOf(scenario, false);
    const int64_t paintedFromScratch = HeadlessPresentedFrames();
    const std::vector<HeadlessFrame> kept = FramesOf(scenario, true);
    ASSERT_EQ(kept.size(), fromScratch.size());
    std::set<std::vector<uint8_t>> different;
    for (size_t i = 0; i < kept.size(); ++i) {
        ASSERT_EQ(kept[i].name, fromScratch[i].name);
        ASSERT_EQ(kept[i].rgb, fromScratch[i].rgb) << "frame " << kept[i].name;
        different.insert(kept[i].rgb);
    }
    // The scenario shows many different frames, and keeping spares painting the unchanged ones.
    EXPECT_GT(different.size(), 100u);
    EXPECT_LT(HeadlessPresentedFrames(), paintedFromScratch);
}
