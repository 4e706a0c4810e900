#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "shell/shell.h"

namespace {

// What the scripted desktop was asked to do, in order.
std::wstring Requests() {
    std::wstring text;
    for (const HeadlessLaunch& r : HeadlessLaunches()) {
        text += (r.asProgram ? L"StartProgram(" + r.path + L" | " + r.commandLine
                             : L"OpenWithDefaultAction(" + r.path + L" | " + r.folder) + L") ";
    }
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
        ResetHeadlessDesktop();
        HeadlessScenario scenario;
        if (c.starts) scenario.programs.push_back(c.path);
        if (c.accepts) scenario.documents.push_back(c.path);
        LoadHeadlessScenario(scenario);
        EXPECT_EQ(LaunchPath(c.path), c.result) << c.path;
        EXPECT_EQ(Requests(), c.requests);
    }
}

}  // namespace
