#include "temp_folder.h"
#include "winhost.h"
#include "winstandin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {
constexpr DWORD kLongWait = 10000;

ULONG_PTR Code(HINSTANCE result) {
    return reinterpret_cast<ULONG_PTR>(result);
}
} // namespace

TEST(Shell, StartsAProgramAndReportsSuccessAboveThirtyTwo) {
    win::ClearShellStarts();
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", L"\\bin\\true", nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(Code(result), 32u);
    const auto starts = win::ShellStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(starts[0].program, "/bin/true");
    EXPECT_EQ(win::WaitForShellStart(starts[0].pid, kLongWait), 0);
}

TEST(Shell, RunsAProgramFoundInItsFolderWithQuotedParameters) {
    TempFolder folder;
    folder.write("GantrelUpdater_2027.exe", "#!/bin/sh\nprintf '%s|' \"$@\" > started.txt\n");
    ::chmod(folder.file("GantrelUpdater_2027.exe").c_str(), 0755);
    const std::wstring dir = win::Widen(folder.path());
    win::ClearShellStarts();
    const HINSTANCE result = ShellExecuteW(nullptr, L"open", L"GantrelUpdater_2027.exe",
                                           L"one \"two words\" \\\"q", dir.c_str(), 1);
    ASSERT_GT(Code(result), 32u);
    const auto starts = win::ShellStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_THAT(starts[0].arguments, ::testing::ElementsAre("one", "two words", "\"q"));
    ASSERT_EQ(win::WaitForShellStart(starts[0].pid, kLongWait), 0);
    // The folder was the working directory.
    EXPECT_EQ(folder.read("started.txt"), "one|two words|\"q|");
}

TEST(Shell, MissingOrUnstartableFilesReturnTheirErrorCodes) {
    TempFolder folder;
    win::ClearShellStarts();
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", L"no-such-program-here", nullptr,
                                 win::Widen(folder.path()).c_str(), 1)),
              static_cast<ULONG_PTR>(SE_ERR_FNF));
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", L"\\bin\\true", nullptr, L"\\no\\such\\dir", 1)),
              static_cast<ULONG_PTR>(SE_ERR_PNF));
    folder.write("readme.txt", "not a program");
    const std::wstring document = win::Widen(folder.file("readme.txt"));
    EXPECT_EQ(Code(ShellExecuteW(nullptr, L"open", document.c_str(), nullptr, nullptr, 1)),
              static_cast<ULONG_PTR>(SE_ERR_NOASSOC));
    EXPECT_LE(Code(ShellExecuteW(nullptr, L"print", L"/bin/true", nullptr, nullptr, 1)), 32u);
    EXPECT_TRUE(win::ShellStarts().empty());
}
