#include "tests/e2e/gtk/bar_fixture.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <sys/stat.h>

#include "tests/support/files.h"

namespace {

const char* const BarTitle = "Korvanta Edgeway";

// The suite's own corner of the file system: the tests' folders, and a hermetic desktop setup
// with one stand-in default application for text files and folders.
struct SuiteFolders {
    std::string root;
    std::string opener;
};

SuiteFolders suite;

void WriteExecutable(const std::string& path, const std::string& text) {
    WriteBytes(path, text);
    chmod(path.c_str(), 0755);
}

void MakeHermeticDesktop() {
    namespace fs = std::filesystem;
    const std::string data = suite.root + "/xdg-data", config = suite.root + "/xdg-config";
    fs::create_directories(data + "/applications");
    fs::create_directories(config);
    fs::create_directories(suite.root + "/xdg-cache");
    suite.opener = suite.root + "/stand-in-opener";
    WriteExecutable(suite.opener,
                    "#!/bin/sh\n"
                    "printf 'cwd=%s args=%s scale=%s/%s\\n' \"$(pwd)\" \"$*\" \"$GDK_SCALE\" \"$GDK_DPI_SCALE\" "
                    ">> \"$EDGEWAY_E2E_OPENED\"\n");
    WriteBytes(data + "/applications/edgeway-e2e-opener.desktop",
               "[Desktop Entry]\nType=Application\nName=Stand-in opener\nExec=" + suite.opener +
                   " %f\nMimeType=text/plain;inode/directory;\nNoDisplay=true\n");
    WriteBytes(config + "/mimeapps.list",
               "[Default Applications]\ntext/plain=edgeway-e2e-opener.desktop\n"
               "inode/directory=edgeway-e2e-opener.desktop\n");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_CACHE_HOME", (suite.root + "/xdg-cache").c_str(), 1);
    setenv("NO_AT_BRIDGE", "1", 1);
}

class GtkBarSuite : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(ConnectDisplay()) << "no X display: run the suite through tests/e2e/gtk/run_e2e.sh";
        ASSERT_EQ(ScreenWidth(), 1920);
        ASSERT_EQ(ScreenHeight(), 1080);
        std::string pattern = (std::filesystem::temp_directory_path() / "edgeway-gtk-e2e-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        suite.root = pattern;
        MakeHermeticDesktop();
    }

    void TearDown() override {
        if (testing::UnitTest::GetInstance()->Passed()) {
            std::error_code ignored;
            std::filesystem::remove_all(suite.root, ignored);
        } else {
            std::cout << "the suite's folders are kept in " << suite.root << "\n";
        }
    }
};

bool PlainSlotPixel(Pixel p) { return p == SlotColour; }

}  // namespace

std::string LinksFileOf(const std::vector<std::string>& paths, int slotCount) {
    std::string text;
    for (int i = 0; i < slotCount; ++i) {
        text += "Link " + std::to_string(i) + " = ";
        if (i < static_cast<int>(paths.size())) text += paths[i];
        text += "\r\n";
    }
    return text;
}

Extent IconExtent(const Shot& shot, int slot) {
    int left = SlotEdge, top = SlotEdge, right = -1, bottom = -1;
    for (int y = 0; y < SlotEdge; ++y) {
        for (int x = 0; x < SlotEdge; ++x) {
            if (PlainSlotPixel(shot.At(SlotLeft(slot) + x, SlotTop + y))) continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return {left, top, right - left + 1, bottom - top + 1};
}

int CountPixels(const Shot& shot, int x, int y, int width, int height, const std::function<bool(Pixel)>& test) {
    int count = 0;
    for (int py = y; py < y + height; ++py) {
        for (int px = x; px < x + width; ++px) count += test(shot.At(px, py)) ? 1 : 0;
    }
    return count;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(timeoutMs)) return false;
        SleepMs(10);
    }
}

std::string OpenedLogEnvironment(const std::string& path) { return "EDGEWAY_E2E_OPENED=" + path; }

std::string DragSourceBinary() { return EDGEWAY_DRAG_SOURCE; }

void GtkBarTest::SetUp() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(test->test_suite_name()) + "." + test->name();
    for (char& c : name) c = c == '/' ? '_' : c;  // parameterised tests have slashes in their names
    folder = suite.root + "/" + name;
    std::filesystem::create_directories(folder);
    MovePointer(960, 540);
}

void GtkBarTest::TearDown() {
    const bool running = bar.pid > 0 && !WaitForEnd(bar, 0);
    if (HasFailure()) {
        SaveShot(TakeShot(0, 0, ScreenWidth(), ScreenHeight()), PathOf("screen-at-failure.ppm"));
        std::cout << "the failed test's folder: " << folder << "\n";
    }
    StopProcess(bar);
    ReleaseButton(1);
    ReleaseButton(3);
    // GLib and GTK report misuse on standard error; a bar that ran cleanly wrote nothing there.
    if (bar.pid > 0) {
        EXPECT_EQ(ReadFile("bar-stderr.txt"), "") << "the bar " << (running ? "(still running)" : "");
    }
}

void GtkBarTest::WriteFile(const std::string& name, const std::string& bytes) const { WriteBytes(PathOf(name), bytes); }

std::string GtkBarTest::ReadFile(const std::string& name) const { return ReadBytes(PathOf(name)); }

std::string GtkBarTest::WriteMarkerProgram(const std::string& name, const std::string& marker) const {
    const std::string path = PathOf(name);
    WriteExecutable(path, "#!/bin/sh\nprintf 'cwd=%s args=%s scale=%s/%s\\n' \"$(pwd)\" \"$#\" \"$GDK_SCALE\" "
                          "\"$GDK_DPI_SCALE\" >> '" + marker + "'\n");
    return path;
}

void GtkBarTest::StartBar(const std::vector<std::string>& extraEnvironment) {
    bar = StartProcess({EDGEWAY_BINARY}, folder, extraEnvironment, PathOf("bar-stderr.txt"), false);
    ASSERT_GT(bar.pid, 0);
    // The bar window is shown when it opens, before the first pass decides; waiting for that
    // keeps a test from taking the window's state before then for the first pass's doing.
    const bool opened = WaitUntil([&] {
        windows = FindTitledWindows(BarTitle);
        return windows.bar != 0 && windows.owner != 0 && TimesMapped(windows.bar) > 0;
    });
    ASSERT_TRUE(opened) << "the bar opened no windows; its errors: " << ReadFile("bar-stderr.txt");
}

bool GtkBarTest::BarShown() { return StateOf(windows.bar).viewable; }

void GtkBarTest::ExpectBarPlace(int x, int y, int width, int height) {
    const WindowState state = StateOf(windows.bar);
    EXPECT_EQ(state.x, x);
    EXPECT_EQ(state.y, y);
    EXPECT_EQ(state.width, width);
    EXPECT_EQ(state.height, height);
}

bool GtkBarTest::WaitBarShown(bool shown, int timeoutMs) {
    return WaitUntil([&] { return BarShown() == shown; }, timeoutMs);
}

bool GtkBarTest::BarStays(bool shown) {
    return !WaitUntil([&] { return BarShown() != shown; }, QuietSpellMs);
}

void GtkBarTest::RevealAndMoveTo(int x, int y) {
    MovePointer(x, BarY + 1);
    ASSERT_TRUE(WaitBarShown(true)) << "the bar did not appear for the pointer at " << x << ", " << BarY + 1;
    MovePointer(x, y);
    // The revealing pass drains until 50 ms pass quietly; only then do passes react to the pointer.
    SleepMs(150);
}

Shot GtkBarTest::BarShot() { return TakeShot(BarX, BarY, BarWidth, BarHeight); }

Shot GtkBarTest::WaitForShot(int x, int y, int width, int height, const std::function<bool(const Shot&)>& test,
                             int timeoutMs) {
    Shot shot;
    WaitUntil(
        [&] {
            shot = TakeShot(x, y, width, height);
            return test(shot);
        },
        timeoutMs);
    return shot;
}

Shot GtkBarTest::WaitForBarShot(const std::function<bool(const Shot&)>& test, int timeoutMs) {
    return WaitForShot(BarX, BarY, BarWidth, BarHeight, test, timeoutMs);
}

void GtkBarTest::ClickSlowly(int button) {
    PressButton(button);
    SleepMs(30);
    ReleaseButton(button);
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::AddGlobalTestEnvironment(new GtkBarSuite);
    return RUN_ALL_TESTS();
}
