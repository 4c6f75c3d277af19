// The gantrel program as a user runs it: exit statuses and messages of the render command.
//
// Invariants: 0 done, 1 bad command line, 2 a drawing that cannot be read (the message names
// the file), 3 a failure while drawing; no picture file is left behind by a failed run.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <regex>

#include "render_test_support.h"

using gantrel::render::test::readFile;
using gantrel::render::test::TempFolder;

namespace {

struct ProgramRun {
    int status = -1;
    std::string output; // stdout and stderr together
};

ProgramRun runGantrel(const TempFolder& dir, const std::string& arguments) {
    const std::filesystem::path log = dir / "run.log";
    const std::string command =
        std::string("'") + GANTREL_EXE + "' " + arguments + " > '" + log.string() + "' 2>&1";
    const int raw = std::system(command.c_str());
    ProgramRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.output = readFile(log);
    std::filesystem::remove(log);
    return run;
}

std::string shellQuoted(const std::filesystem::path& p) {
    return "'" + p.string() + "'";
}

const std::string kExample = std::string(GANTREL_SOURCE_DIR) + "/examples/sheet-and-parts.dxf";

} // namespace

TEST(GantrelApp, HelpAndVersionSucceed) {
    TempFolder dir;
    const ProgramRun help = runGantrel(dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("render"), std::string::npos) << help.output;
    const ProgramRun version = runGantrel(dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_NE(version.output.find("gantrel "), std::string::npos) << version.output;
}

TEST(GantrelApp, BadCommandLinesExitWithOne) {
    TempFolder dir;
    for (const std::string& arguments :
         {std::string(), std::string("frobnicate"), std::string("render"),
          "render " + shellQuoted(kExample), "render " + shellQuoted(kExample) + " -o out.bmp",
          "render " + shellQuoted(kExample) + " -o out.png --no-such-option"}) {
        const ProgramRun run = runGantrel(dir, arguments);
        EXPECT_EQ(run.status, 1) << arguments << "\n" << run.output;
        EXPECT_FALSE(run.output.empty()) << arguments;
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{});
}

TEST(GantrelApp, UnreadableDrawingsExitWithTwoNamingTheFile) {
    TempFolder dir;
    const ProgramRun missing = runGantrel(dir, "render " + shellQuoted(dir / "absent.dxf") +
                                                   " -o " + shellQuoted(dir / "a.png"));
    EXPECT_EQ(missing.status, 2) << missing.output;
    EXPECT_NE(missing.output.find("absent.dxf"), std::string::npos) << missing.output;

    std::ofstream(dir / "bad.dxf") << "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot-a-number\n";
    const ProgramRun bad = runGantrel(dir, "render " + shellQuoted(dir / "bad.dxf") + " -o " +
                                               shellQuoted(dir / "a.png"));
    EXPECT_EQ(bad.status, 2) << bad.output;
    // The file and the line of the fault.
    EXPECT_TRUE(std::regex_search(bad.output, std::regex(R"(bad\.dxf\D*\d+)"))) << bad.output;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"bad.dxf"});
}

TEST(GantrelApp, RendersTheExampleDrawing) {
    TempFolder dir;
    const ProgramRun run =
        runGantrel(dir, "render " + shellQuoted(kExample) + " -o " + shellQuoted(dir / "ex.png"));
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(readFile(dir / "ex.png").substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"ex.png"});
}

TEST(GantrelApp, PictureThatCannotBeWrittenExitsWithThree) {
    TempFolder dir;
    const ProgramRun run = runGantrel(dir, "render " + shellQuoted(kExample) + " -o " +
                                               shellQuoted(dir / "no-such-folder" / "ex.svg"));
    EXPECT_EQ(run.status, 3) << run.output;
    EXPECT_NE(run.output.find("no-such-folder"), std::string::npos) << run.output;
    EXPECT_EQ(dir.entries(), std::vector<std::string>{});
}
