// The bar killed at any moment while it saves: "Links.txt" is always the last complete save or
// the one before it, never a mix of the two, never cut short, never empty.
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "store/links.h"
#include "tests/store/store_fixtures.h"
#include "tests/support/files.h"

namespace {

constexpr int32_t Slots = 40;

// Two sets of links: short ones, and long ones that take the file across several write buffers.
std::wstring PathOf(bool longForm, int32_t slot) {
    return longForm ? L"/long/" + std::wstring(300, static_cast<wchar_t>(L'a' + slot % 26)) + L".txt"
                    : L"/short/" + std::to_wstring(slot);
}

void PinAll(bool longForm) {
    for (int32_t i = 0; i < Slots; ++i) SetLink(i, PathOf(longForm, i), 0);
}

std::string FileOf(bool longForm) {
    std::string bytes;
    for (int32_t i = 0; i < Slots; ++i) {
        const std::wstring path = PathOf(longForm, i);
        bytes += "Link " + std::to_string(i) + " = " + std::string(path.begin(), path.end()) + "\r\n";
    }
    return bytes;
}

// The killed program: saves the long and the short set in turn until it is killed, at the latest
// when the test itself ends.
[[noreturn]] void SaveForever() {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    for (bool longForm = true;; longForm = !longForm) {
        PinAll(longForm);
        SaveLinks();
    }
}

// Kills the child on every way out of a round, a failed assertion included.
struct Child {
    pid_t pid = -1;
    ~Child() {
        if (pid <= 0) return;
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    // Kills it now; true when it was still saving, not ended some other way.
    bool Kill() {
        kill(pid, SIGKILL);
        int status = 0;
        const bool killed = waitpid(pid, &status, 0) == pid && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
        pid = -1;
        return killed;
    }
};

TEST(CrashSafety, KilledWhileSavingLeavesOneWholeFile) {
    PrepareBar(Slots);
    PinAll(false);
    SaveLinks();
    const std::string shortFile = FileOf(false), longFile = FileOf(true);
    ASSERT_EQ(ReadBytes("Links.txt"), shortFile);
    ASSERT_GT(longFile.size(), 3 * 4096u);

    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> microseconds(0, 15000);
    int killsMidSave = 0, endedShort = 0, endedLong = 0, readsWhileSaving = 0;
    for (int round = 0; round < 150; ++round) {
        Child child{fork()};
        ASSERT_GE(child.pid, 0);
        if (child.pid == 0) SaveForever();
        // Another program reads the file the whole time the bar saves it.
        const auto killAt = std::chrono::steady_clock::now() + std::chrono::microseconds(microseconds(random));
        while (std::chrono::steady_clock::now() < killAt) {
            const std::string seen = ReadBytes("Links.txt");
            ASSERT_TRUE(seen == shortFile || seen == longFile) << "round " << round << ": " << seen.size() << " bytes";
            ++readsWhileSaving;
        }
        ASSERT_TRUE(child.Kill());

        const std::string left = ReadBytes("Links.txt");
        ASSERT_TRUE(left == shortFile || left == longFile) << "round " << round << ": " << left.size() << " bytes";
        (left == shortFile ? endedShort : endedLong) += 1;
        killsMidSave += FileExists("Links.txt.tmp");
    }
    // The kills did land inside saves, and both sets were saved whole at some point.
    EXPECT_GT(killsMidSave, 0);
    EXPECT_GT(endedShort, 0);
    EXPECT_GT(endedLong, 0);
    EXPECT_GT(readsWhileSaving, 150);
    // A restarted bar loads the last whole save.
    const std::string last = ReadBytes("Links.txt");
    ReleaseLinkIcons();
    PrepareBar(Slots);
    LoadLinks();
    EXPECT_EQ(bar.slots[7].path, PathOf(last == longFile, 7));
    std::printf("%d kills, %d inside a save; %d ended with the short set, %d with the long one\n", 150,
                killsMidSave, endedShort, endedLong);
}

}  // namespace
