// Uses the temporary launch recorder (pending_launcher.h); to be pointed at the headless
// backend's own record of launch requests once it has one.
#include <gtest/gtest.h>

#include "shell/shell.h"
#include "tests/shell/pending_launcher.h"

namespace {

std::wstring Requests() {
    std::wstring text;
    for (const LaunchRequest& r : pendingLauncher.requests) text += r.service + L"(" + r.path + L" | " + r.argument + L") ";
    return text;
}

TEST(LaunchPath, ProgramFirstThenTheDefaultAction) {
    const struct {
        bool starts, accepts;
        const wchar_t* path;
        int32_t result;
        const wchar_t* requests;
    } cases[] = {
        {true, true, L"/usr/bin/tool", 1, L"StartProgram(/usr/bin/tool | \"/usr/bin/tool\") "},
        {false, true, L"/home/u/doc.pdf", 1,
         L"StartProgram(/home/u/doc.pdf | \"/home/u/doc.pdf\") OpenWithDefaultAction(/home/u/doc.pdf | /home/u/) "},
        {false, false, L"C:\\Docs\\gone.txt", 0,
         L"StartProgram(C:\\Docs\\gone.txt | \"C:\\Docs\\gone.txt\") OpenWithDefaultAction(C:\\Docs\\gone.txt | C:\\Docs\\) "},
        {false, true, L"report.pdf", 1, L"StartProgram(report.pdf | \"report.pdf\") OpenWithDefaultAction(report.pdf | ) "},
        {true, false, L"\"C:\\My Apps\\run.exe\"", 1,
         L"StartProgram(\"C:\\My Apps\\run.exe\" | \"C:\\My Apps\\run.exe\") "},
    };
    for (const auto& c : cases) {
        pendingLauncher = PendingLauncher{c.starts, c.accepts, {}};
        EXPECT_EQ(LaunchPath(c.path), c.result) << c.path;
        EXPECT_EQ(Requests(), c.requests);
    }
}

}  // namespace
