#include "winhost.h"
#include "winstandin.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {
using SetUpFunction = void (*)(unsigned, wchar_t*, unsigned);

std::wstring Backslashed(std::string path) {
    std::wstring out = win::Widen(path);
    for (wchar_t& c : out) {
        c = c == L'/' ? L'\\' : c;
    }
    return out;
}
} // namespace

TEST(Modules, LoadFindCallAndFreeALibrary) {
    const std::string library = WIN_TEST_MODULE;
    HMODULE module = LoadLibraryW(Backslashed(library).c_str());
    ASSERT_NE(module, nullptr);

    auto setUp = reinterpret_cast<SetUpFunction>(GetProcAddress(module, "SetUp"));
    ASSERT_NE(setUp, nullptr);
    wchar_t text[32];
    setUp(40101, text, 32);
    EXPECT_STREQ(text, L"text 40101");
    EXPECT_EQ(GetProcAddress(module, "Missing"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));

    // The loaded module is found by its file name in any letter case, and gives its full path.
    EXPECT_EQ(GetModuleHandleW(L"testpack.DLL"), module);
    EXPECT_EQ(GetModuleHandleW(L"TestPack"), module); // a bare name means ".dll"
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
    EXPECT_EQ(std::wstring(path, length), win::Widen(std::filesystem::canonical(library).string()));
    wchar_t small[5];
    EXPECT_EQ(GetModuleFileNameW(module, small, 5), 5u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::wstring(small), std::wstring(path, 4));

    // A second load counts; the library stays until the last free.
    HMODULE again = LoadLibraryW(win::Widen(library).c_str());
    EXPECT_EQ(again, module);
    EXPECT_TRUE(FreeLibrary(again));
    EXPECT_EQ(GetModuleHandleW(L"TestPack.dll"), module);
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_FALSE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleW(L"TestPack.dll"), nullptr);
}

TEST(Modules, MissingLibrariesAndTheProgramItself) {
    EXPECT_EQ(LoadLibraryW(L"\\nowhere\\LanguagePack.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_EQ(GetModuleHandleW(L"Gantrel.zrx"), nullptr);

    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(std::wstring(path, length),
              win::Widen(std::filesystem::canonical("/proc/self/exe").string()));
    EXPECT_NE(GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(&path), path, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(Modules, TheHelpControlGivesHtmlHelpByOrdinal) {
    win::ClearHelpCalls();
    HMODULE control = LoadLibraryW(L"hhctrl.ocx");
    ASSERT_NE(control, nullptr);
    using HtmlHelpFunction = HWND (*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    auto help = reinterpret_cast<HtmlHelpFunction>(GetProcAddress(control, MAKEINTRESOURCEA(15)));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(GetProcAddress(control, MAKEINTRESOURCEA(14)), nullptr);

    class Quiet : public win::Answerer {
        int AnswerMessageBox(const win::MessageBoxRequest& r) override { return r.defaultButton; }
        std::optional<std::wstring> AnswerFileDialog(const win::FileDialogRequest&) override {
            return std::nullopt;
        }
        void ShowHelp(const win::HelpRequest&) override { ++shown; }

    public:
        int shown = 0;
    } quiet;
    win::SetAnswerer(&quiet);
    help(nullptr, L"/suite/Orvendel.chm", HH_DISPLAY_TOPIC,
         reinterpret_cast<DWORD_PTR>(L"settings.htm"));
    win::SetAnswerer(nullptr);
    EXPECT_EQ(quiet.shown, 1);
    const auto calls = win::HelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].file, L"/suite/Orvendel.chm");
    EXPECT_EQ(calls[0].topic, L"settings.htm");
    EXPECT_TRUE(FreeLibrary(control));
}
