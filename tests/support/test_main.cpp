// Gives every test a fresh temporary working directory, a fresh bar state and a fresh scripted
// desktop, and removes the directory afterwards.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

#include "core/bar_state.h"
#include "platform/headless/headless.h"
#include "render/draw_bar.h"
#include "render/picture_cache.h"
#include "store/links.h"

namespace {

class FreshWorkingDirectory : public testing::EmptyTestEventListener {
public:
    void OnTestStart(const testing::TestInfo&) override {
        original_ = std::filesystem::current_path();
        std::string pattern = (std::filesystem::temp_directory_path() / "edgeway-test-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        folder_ = pattern;
        std::filesystem::current_path(folder_);
        bar = BarState{};
        mouseX = 0;
        mouseY = 0;
        ResetHeadlessDesktop();
        // Handles of one test's icons come back for another's: nothing drawn is carried over.
        SetPictureKeeping(true);
        ForgetDrawnFrame();
    }

    void OnTestEnd(const testing::TestInfo&) override {
        // The bar's state is dropped at the next test or at exit; its icons go back first.
        ReleaseLinkIcons();
        std::filesystem::current_path(original_);
        std::error_code ignored;
        // Tests may leave read-only files and folders behind; make them removable first.
        for (auto it = std::filesystem::recursive_directory_iterator(folder_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        }
        std::filesystem::remove_all(folder_, ignored);
    }

private:
    std::filesystem::path original_;
    std::filesystem::path folder_;
};

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new FreshWorkingDirectory);
    return RUN_ALL_TESTS();
}
