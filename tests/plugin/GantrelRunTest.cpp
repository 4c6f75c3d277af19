// The installed layout end to end: gantrel finds Gantrel.zrx, the language pack and the registry
// file beside its own folder, and a script sees the module's banner, command table and help.
#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using gantrel::testing::CountOf;
using gantrel::testing::Outcome;
using gantrel::testing::RunProgram;
using gantrel::testing::WriteFile;

namespace {

class GantrelRun : public ::testing::Test {
protected:
    GantrelRun() {
        fs::copy_file(GANTREL_SOURCE_DIR "/examples/sheet-and-parts.dxf", folder / "a.dxf");
        fs::copy_file(GANTREL_SOURCE_DIR "/examples/sheet-and-parts.dxf", folder / "b.dxf");
        // The suite folder pinned to the build's share folder, the companion absent.
        WriteFile(folder / "pinned.reg", "Windows Registry Editor Version 5.00\n"
                                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]\n"
                                         "\"Path\"=\"" BUILD_SHARE "\"\n");
    }

    Outcome RunScript(const std::string& lines, const std::string& program = GANTREL_PROGRAM) {
        WriteFile(folder / "s.scr", lines);
        return RunProgram(program, {"run", "a.dxf", "s.scr", "--registry", "pinned.reg"},
                          {"HOME=" + folder.string(), "PATH=/usr/bin:/bin"}, folder);
    }

    gantrel::testing::TestFolder scratch{"run"};
    const fs::path folder = scratch.path();
};

TEST_F(GantrelRun, BannerForEveryDrawingTableInOrderAndACleanUnload) {
    const Outcome outcome = RunScript("COMMANDS\nopen b.dxf\nGantrel\n");
    ASSERT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    // Once for the drawing opened with the program, once for `open`, once for the command.
    EXPECT_EQ(CountOf(outcome.out, "\nGantrel " GANTREL_VERSION ": "), 3u) << outcome.out;
    const std::string table = "\nGantrel\tT_LZS\tT_LZS\t1"
                              "\nGantrel\tT_SumSubPoly\tT_SumSubPoly\t1"
                              "\nGantrel\tT_PtExport\tT_PtExport\t1"
                              "\nGantrel\tKraty\tKraty\t1"
                              "\nGantrel\tQuickBlock\tQuickBlock\t1"
                              "\nGantrel\tAddToBlock\tAddToBlock\t1"
                              "\nGantrel\tRemoveFromBlock\tRemoveFromBlock\t1"
                              "\nGantrel\tAttManager\tAttManager\t1"
                              "\nGantrel\tGantrel\tGantrel\t1"
                              "\nGantrel\tGantrel_Update\tGantrel_Update\t1"
                              "\nPlaxen\tPlaxen\tPlaxen\t1"
                              "\nPlaxen\tPlaxen:Settings\tPlaxen:Settings\t0"
                              "\nTallimo\tTallimo:MDist\tTallimo:MDist\t1"
                              "\nTallimo\tTallimo:Attributes\tTallimo:Attributes\t1"
                              "\nTallimo\tTallimo:Settings\tTallimo:Settings\t1\n";
    EXPECT_NE(outcome.out.find(table), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.out.find("left commands registered"), std::string::npos) << outcome.out;
    EXPECT_EQ(outcome.err.find("module"), std::string::npos) << outcome.err;
}

TEST_F(GantrelRun, WithoutTheLanguagePackCommandsStillRun) {
    // A copy of the program and the module without LanguagePack.dll beside the module.
    fs::create_directories(folder / "bin");
    fs::create_directories(folder / "lib/gantrel");
    fs::copy_file(GANTREL_PROGRAM, folder / "bin/gantrel");
    fs::copy_file(GANTREL_ZRX, folder / "lib/gantrel/Gantrel.zrx");
    const Outcome outcome =
        RunScript("Gantrel\nGantrel_Update\nPlaxen:Settings\ndlg click 1\nPlaxen\n^C\n",
                  (folder / "bin/gantrel").string());
    ASSERT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find("failed to load resource"), std::string::npos) << outcome.out;
    EXPECT_EQ(CountOf(outcome.out, "\nGantrel " GANTREL_VERSION ": "), 2u) << outcome.out;
    EXPECT_NE(outcome.out.find(BUILD_SHARE "\\GantrelUpdater_2027.exe missing !"),
              std::string::npos)
        << outcome.out;
}

TEST_F(GantrelRun, AnInstallationRunsFromItsPrefix) {
    const fs::path prefix = folder / "prefix with blank";
    const Outcome install = RunProgram(CMAKE_COMMAND, {"--install", BUILD_DIR, "--prefix", prefix},
                                       {"PATH=/usr/bin:/bin"}, folder);
    ASSERT_EQ(install.status, 0) << install.out << install.err;
    // No --registry: the installed registry file points the suite folder at the prefix.
    WriteFile(folder / "s.scr", "Gantrel_Update\n");
    const Outcome outcome = RunProgram((prefix / "bin/gantrel").string(), {"run", "a.dxf", "s.scr"},
                                       {"HOME=" + folder.string(), "PATH=/usr/bin:/bin"}, folder);
    ASSERT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    EXPECT_NE(outcome.out.find((prefix / "share/gantrel").string() +
                               "\\GantrelUpdater_2027.exe missing !"),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(outcome.out.find("failed to load resource"), std::string::npos) << outcome.out;
}

} // namespace
