#include <filesystem>
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "shell/shell.h"

namespace {

TEST(Shell, ExtensionPart) {
    const struct {
        const wchar_t* path;
        const wchar_t* extension;
    } cases[] = {
        {L"C:\\Tools\\app.exe", L"exe"},
        {L"C:\\Data\\archive.tar.gz", L"gz"},
        {L"C:\\Tools\\README", L""},
        {L"C:\\My.Folder\\file", L""},
        {L"C:\\Data\\.config", L""},
        {L".profile", L""},
        {L"C:\\Data\\report final.doc", L"doc"},
        {L"C:\\Data\\report.final doc", L""},
        {L"C:\\Data\\notes.", L""},
        {L"\"C:\\Tools\\app.exe\"", L"exe"},
        {L"\"C:\\Tools\\app.exe\" x", L""},
        {L"C:\\", L""},
        {L"", L""},
        {L"a.b", L"b"},
        {L"/home/u/doc.pdf", L"pdf"},
        {L"/home/u.d/file", L""},
        {L"/home/u/.bashrc", L""},
        {L"x.tar\"gz", L"tar"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtensionPart(c.path), c.extension) << c.path;
}

TEST(Shell, LaunchFolder) {
    const struct {
        const wchar_t* path;
        const wchar_t* folder;
    } cases[] = {
        {L"C:\\Docs\\report.pdf", L"C:\\Docs\\"},
        {L"C:\\Docs\\Letters\\", L"C:\\Docs\\Letters\\"},
        {L"C:\\", L"C:\\"},
        {L"report.pdf", L""},
        {L"\\report.pdf", L""},
        {L"/home/u/doc.pdf", L"/home/u/"},
        {L"/doc.pdf", L""},
        {L"C:/x\\y/z.txt", L"C:/x\\y/"},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(LaunchFolder(c.path), c.folder) << c.path;
}

TEST(Shell, LaunchCommandLine) {
    EXPECT_EQ(LaunchCommandLine(L"C:\\My Apps\\run.exe"), L"\"C:\\My Apps\\run.exe\"");
    EXPECT_EQ(LaunchCommandLine(L"\"C:\\My Apps\\run.exe\""), L"\"C:\\My Apps\\run.exe\"");
    EXPECT_EQ(LaunchCommandLine(L"\"unbalanced"), L"\"unbalanced");
    EXPECT_EQ(LaunchCommandLine(L"x\""), L"\"x\"\"");
    EXPECT_EQ(LaunchCommandLine(L""), L"\"\"");
}

RgbaImage PixelsOf(IconHandle icon) {
    RgbaImage image;
    EXPECT_TRUE(IconPixels(icon, &image));
    return image;
}

TEST(Shell, IconsByNameOrByTheItemItself) {
    // With an extension the name alone decides: a missing file has its type's icon.
    IconHandle large = LookupIcon(L"C:\\Docs\\missing.txt", 1);
    IconHandle small = LookupIcon(L"C:\\Docs\\missing.txt", 0);
    IconHandle other = LookupIcon(L"/elsewhere/notes.TXT", 7);
    ASSERT_NE(large, nullptr);
    ASSERT_NE(small, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(PixelsOf(large).width, 32);
    EXPECT_EQ(PixelsOf(small).width, 16);
    EXPECT_EQ(PixelsOf(other).pixels, PixelsOf(large).pixels);
    // Without one the item is examined: a missing one has none, a folder its own icon.
    EXPECT_EQ(LookupIcon(L"/nowhere/README", 1), nullptr);
    EXPECT_EQ(LookupIcon(L"/nowhere/README", 0), nullptr);
    IconHandle folder = LookupIcon(std::filesystem::current_path().wstring(), 1);
    ASSERT_NE(folder, nullptr);
    // A folder whose name has a dot is shown by the type its name says.
    std::filesystem::create_directory("Tool.Suite");
    IconHandle dotted = LookupIcon((std::filesystem::current_path() / "Tool.Suite").wstring(), 1);
    IconHandle suite = LookupIcon(L"C:\\nowhere\\other.Suite", 1);
    ASSERT_NE(dotted, nullptr);
    EXPECT_EQ(PixelsOf(dotted).pixels, PixelsOf(suite).pixels);
    EXPECT_NE(PixelsOf(dotted).pixels, PixelsOf(folder).pixels);
    for (IconHandle icon : {large, small, other, folder, dotted, suite}) ReleaseIcon(icon);
    EXPECT_EQ(LiveHeadlessIcons(), 0);
}

}  // namespace
