// `gantrel run` and `gantrel shell` end to end: the program is started as a user starts it, with
// the editor's test module as its module, and judged by its exit status, its transcript, its
// messages and the files it leaves.
#include "ProgramRun.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using gantrel::testing::Outcome;
using gantrel::testing::ReadFile;
using gantrel::testing::WriteFile;

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() {
        drawing = (dir / "in.dxf").string();
        fs::copy_file(GANTREL_SOURCE_DIR "/examples/sheet-and-parts.dxf", drawing);
        WriteFile(dir / "empty.reg", "Windows Registry Editor Version 5.00\n");
    }
    // Runs gantrel in the test's folder with the test module and an empty registry; stdin is
    // the given text.
    Outcome run(std::vector<std::string> args, const std::string& input = "") {
        return gantrel::testing::RunProgram(GANTREL_PROGRAM, std::move(args),
                                            {"GANTREL_MODULE=" TEST_MODULE,
                                             "GANTREL_REGISTRY=" + (dir / "empty.reg").string(),
                                             "HOME=" + dir.string(), "PATH=/usr/bin:/bin"},
                                            dir, input);
    }

    // Runs the lines as the script s.scr on the drawing.
    Outcome runScript(const std::string& lines, std::vector<std::string> extra = {}) {
        WriteFile(dir / "s.scr", lines);
        std::vector<std::string> args = {"run", drawing, "s.scr"};
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args);
    }

    // The files of the folder besides those the test put there.
    std::vector<std::string> leftFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            const std::string name = entry.path().filename().string();
            if (name != "in.dxf" && name != "empty.reg" && name != "s.scr" && name != "stdin.txt" &&
                name != "stdout.txt" && name != "stderr.txt")
                names.push_back(name);
        }
        return names;
    }

    gantrel::testing::TestFolder folder{"app"};
    const fs::path dir = folder.path();
    std::string drawing;
};

// Positions of the texts in the transcript, in the order given; fails when one is missing or
// out of order.
void expectInOrder(const std::string& text, const std::vector<std::string>& parts) {
    std::size_t at = 0;
    for (const std::string& part : parts) {
        const std::size_t found = text.find(part, at);
        ASSERT_NE(found, std::string::npos) << "missing in order: " << part << "\n" << text;
        at = found + part.size();
    }
}

TEST_F(ProgramTest, ModuleHearsLoadThenEveryDrawingOpenedThenUnload) {
    Outcome o = runScript("; two more drawings\nopen in.dxf\nGreet\nopen " + drawing + "\n");
    EXPECT_EQ(o.status, 0) << o.err;
    expectInOrder(o.out, {"[message 1]", "[message 3]", "Command: open in.dxf", "[message 3]",
                          "Gr\u00fc\u00dfe", "[message 3]", "[message 2]\n"});
    EXPECT_EQ(o.out.find("[message 3]", o.out.find("[message 2]")), std::string::npos);
}

TEST_F(ProgramTest, EveryBrokenLineFormIsRefusedNamingTheScriptLine) {
    // Each script: the lines, and the number of the line that must be refused.
    const std::vector<std::pair<std::string, int>> scripts = {
        {"Greet\nNoSuchCommand\n", 2},
        {"Greet extra\n", 1},
        {"select #FFFFF\n", 1},
        {"select w 1,1\n", 1},
        {"setvar PICKSTYLE two\n", 1},
        {"setvar\n", 1},
        {"save\n", 1},
        {"open no-such.dxf\n", 1},
        {"dlg click 1\n", 1},
        {"AskAll\n1,2,3,4\n", 2},                          // point
        {"AskAll\n1,1\n@x\n", 3},                          // relative point
        {"AskAll\n1,1\n2,2\n3.5\n", 4},                    // integer
        {"AskAll\n1,1\n2,2\n3\nfour\n", 5},                // real
        {"AskAll\n1,1\n2,2\n3\n4\ntext\n#XYZ\n", 7},       // pick
        {"AskAll\n1,1\n2,2\n3\n4\nt\n^C\n^C\nw 0,0\n", 9}, // selection
        {"AskDialog\ndlg click\n", 2},
        {"AskDialog\ndlg key 1001 hyper\n", 2},
        {"AskDialog\ndlg click 7777\n", 2},
        {"AskDialog\nSteel\n", 2},
    };
    for (const auto& [lines, bad] : scripts) {
        SCOPED_TRACE(lines);
        Outcome o = runScript(lines, {"-o", "out.dxf"});
        const std::string where = "s.scr:" + std::to_string(bad) + ": ";
        EXPECT_EQ(o.status, 2) << o.out << o.err;
        EXPECT_NE(o.out.find(where), std::string::npos) << o.out;
        EXPECT_NE(o.err.find(where), std::string::npos) << o.err;
        EXPECT_TRUE(leftFiles().empty()); // -o is not written after a refused line
    }
}

TEST_F(ProgramTest, UnreadableDrawingOrScriptExitsTwoAndWritesNothing) {
    WriteFile(dir / "s.scr", "Greet\n");
    Outcome o = run({"run", "missing.dxf", "s.scr", "-o", "out.dxf"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("missing.dxf"), std::string::npos) << o.err;
    o = run({"run", drawing, "missing.scr", "-o", "out.dxf"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("missing.scr"), std::string::npos) << o.err;
    WriteFile(dir / "s.scr", "Greet\n\xff\xfe\n");
    o = run({"run", drawing, "s.scr", "-o", "out.dxf"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("s.scr:2:"), std::string::npos) << o.err;
    WriteFile(dir / "bad.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nnot a number\n");
    WriteFile(dir / "s.scr", "Greet\n");
    o = run({"run", "bad.dxf", "s.scr", "-o", "out.dxf"});
    EXPECT_EQ(o.status, 2);
    EXPECT_NE(o.err.find("bad.dxf"), std::string::npos) << o.err;
    fs::remove(dir / "bad.dxf");
    EXPECT_TRUE(leftFiles().empty());
    EXPECT_EQ(o.out, ""); // the host never started
}

TEST_F(ProgramTest, OutputIsWrittenWholeOrNotAtAll) {
    Outcome o = runScript("Greet\nsave saved.dxf\n", {"-o", "out.dxf"});
    ASSERT_EQ(o.status, 0) << o.err;
    const std::string written = ReadFile(dir / "out.dxf");
    EXPECT_EQ(written, ReadFile(dir / "saved.dxf"));
    EXPECT_EQ(written.substr(written.size() - 4), "EOF\n");
    // The written drawing reads back as the next run's input.
    WriteFile(dir / "s.scr", "Greet\n");
    o = run({"run", "out.dxf", "s.scr"});
    EXPECT_EQ(o.status, 0) << o.err;
    // A folder that does not exist: a failure of the host, and no file left behind.
    fs::remove(dir / "out.dxf");
    fs::remove(dir / "saved.dxf");
    o = runScript("Greet\n", {"-o", "no-such-folder/out.dxf"});
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.err.find("no-such-folder/out.dxf"), std::string::npos) << o.err;
    EXPECT_TRUE(leftFiles().empty());
}

TEST_F(ProgramTest, CommandFailingInsideTheHostExitsThreeAndStopsTheScript) {
    Outcome o = runScript("Fail\nGreet\n", {"-o", "out.dxf"});
    EXPECT_EQ(o.status, 3);
    EXPECT_NE(o.out.find("Command Fail failed: broken on purpose"), std::string::npos) << o.out;
    EXPECT_NE(o.err.find("s.scr:1: "), std::string::npos) << o.err;
    EXPECT_EQ(o.out.find("Gr\u00fc\u00dfe"), std::string::npos); // the script stopped
    EXPECT_TRUE(leftFiles().empty());
}

TEST_F(ProgramTest, DlgLinesMessageBoxesAndFileDialogsAreAnsweredFromTheScript) {
    Outcome o = runScript("AskDialog\n"
                          "dlg set 1001 Steel plate\n"
                          "; comments pass\n"
                          "dlg click 1002\n"
                          "dlg show\n"
                          "dlg key 1001 enter\n"
                          "AskDialog\n"
                          "^C\n"
                          "AskBoxes\n"
                          "parts.csv\n"
                          "AskBoxes\n"
                          "^C\n");
    EXPECT_EQ(o.status, 0) << o.out << o.err;
    expectInOrder(o.out,
                  {"dialog 9100 \"Name\"", "1002   check box       \"Mirror\"  checked",
                   "dialog 1 [Steel plate] 1", "Dialog 9100: *Cancel*", "dialog 2 [] 0",
                   "Test: Keep the parts?\n[No]", "box 7", "Export to: parts.csv",
                   "file [" + (dir / "parts.csv").string() + "]", "box 7", "file cancelled"});
}

TEST_F(ProgramTest, BadCommandLinesExitOneAndHelpAndVersionSucceed) {
    EXPECT_EQ(run({"run", drawing}).status, 1);
    EXPECT_EQ(run({"run", drawing, "s.scr", "--seed", "many"}).status, 1);
    EXPECT_EQ(run({"frobnicate"}).status, 1);
    EXPECT_EQ(run({"run", "--help"}).status, 0);
    Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("gantrel ", 0), 0u);
    WriteFile(dir / "s.scr", "Greet\n");
    Outcome noRegistry = run({"run", drawing, "s.scr", "--registry", "missing.reg"});
    EXPECT_EQ(noRegistry.status, 2);
    EXPECT_NE(noRegistry.err.find("missing.reg"), std::string::npos);
}

TEST_F(ProgramTest, MissingModuleIsReportedAndTheHostRunsWithoutIt) {
    // Without $GANTREL_MODULE the module is looked for at lib/gantrel/ beside the program's
    // bin/ folder; a program copied to a bare prefix finds none there.
    fs::path bin = dir / "prefix" / "bin";
    fs::create_directories(bin);
    fs::copy_file(GANTREL_PROGRAM, bin / "gantrel");
    WriteFile(dir / "s.scr", "setvar PICKSTYLE 0\n");
    const std::string command =
        "env -u GANTREL_MODULE GANTREL_REGISTRY=" + (dir / "empty.reg").string() + " " +
        (bin / "gantrel").string() + " run " + drawing + " " + (dir / "s.scr").string() + " 2>" +
        (dir / "err.txt").string() + " >/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 0);
    EXPECT_NE(ReadFile(dir / "err.txt").find((dir / "prefix/lib/gantrel/Gantrel.zrx").string()),
              std::string::npos)
        << ReadFile(dir / "err.txt");
}

TEST_F(ProgramTest, ShellReadsCommandsFromAPipeAndEndsAtTheEnd) {
    Outcome o = run({"shell", drawing}, "Greet\nAskDialog\ndlg set 1001 Oak\ndlg click 1\n");
    EXPECT_EQ(o.status, 0) << o.err;
    expectInOrder(o.out, {"[message 1]", "[message 3]", "Command: Greet", "Gr\u00fc\u00dfe",
                          "dialog 1 [Oak] 0", "[message 2]"});
    EXPECT_EQ(run({"shell", "missing.dxf"}).status, 2);
}

} // namespace
