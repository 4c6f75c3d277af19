// Script lines at the command line and at prompts: what is accepted, and every line form broken
// in some way refused with a message that names the script line.
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "drawing_fixture.h"
#include "zced.h"
#include "zcutil.h"

using gantrel::editor::ScriptInput;

namespace {

class ScriptTest : public SessionTest {
protected:
    ScriptTest() {
        session.commands().addCommand(L"T", L"GetPoint", L"Punkt", 0, [] {
            zds_point p;
            int rc = zcedGetPoint(nullptr, L"\nPoint: ", p);
            zcutPrintf(L"\ngot %d %g,%g", rc, p[0], p[1]);
        });
        session.commands().addCommand(L"T", L"GetInt", L"GetInt", 0, [] {
            int i = 0;
            int rc = zcedGetInt(L"\nNumber: ", &i);
            zcutPrintf(L"\ngot %d %d", rc, i);
        });
        session.commands().addCommand(L"T", L"Pick", L"Pick", 0, [] {
            zds_name e;
            zds_point p;
            int rc = zcedEntSel(L"\nPick: ", e, p);
            zcutPrintf(L"\ngot %d", rc);
        });
        session.commands().addCommand(L"T", L"Sel", L"Sel", 0, [] {
            zds_name ss;
            int rc = zcedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
            std::int32_t n = 0;
            if (rc == RTNORM)
                zcedSSLength(ss, &n);
            zcutPrintf(L"\ngot %d %d", rc, static_cast<int>(n));
        });
    }
    // Runs the lines as the script "bad.scr"; the refusal messages.
    std::vector<std::string> run(std::vector<std::string> lines) {
        out.clear();
        ScriptInput script("bad.scr", std::move(lines));
        session.run(script);
        std::vector<std::string> refusals;
        for (const std::string& line : this->lines())
            if (line.rfind("bad.scr:", 0) == 0)
                refusals.push_back(line);
        return refusals;
    }
};

using Lines = std::vector<std::string>;

} // namespace

TEST_F(ScriptTest, TopLevelLinesRunCommandsInAnyCaseAndSkipComments) {
    EXPECT_EQ(run({"  ; a comment", "", "pUNKT", "2,3", "_GetPoint", "4,5", ".getpoint", "6,7"}),
              Lines{});
    EXPECT_TRUE(transcriptHas("got 5100 2,3"));
    EXPECT_TRUE(transcriptHas("got 5100 4,5"));
    EXPECT_TRUE(transcriptHas("got 5100 6,7"));
    EXPECT_FALSE(transcriptHas("comment"));
}

TEST_F(ScriptTest, BrokenTopLevelLinesAreRefusedNamingTheLine) {
    Lines refused = run({
        "NoSuchCommand",                         // 1
        "GetPoint extra",                        // 2
        "select #FFFFF",                         // 3 unknown handle
        "select w 1,1",                          // 4 window with one corner
        "select sideways",                       // 5
        "setvar",                                // 6
        "setvar PICKSTYLE",                      // 7
        "setvar NOSUCHVAR 1",                    // 8
        "setvar PICKSTYLE two",                  // 9
        "setvar PICKSTYLE 9",                    // 10 out of range
        "setvar CMDACTIVE 1",                    // 11 read-only
        "setvar CLAYER NoSuchLayer",             // 12
        "save",                                  // 13
        "open /nonexistent/drawing.dxf",         // 14
        "dlg click 1",                           // 15
        "select " + handleOf(drawing.innerLine), // 16 inside a block
    });
    ASSERT_EQ(refused.size(), 16u) << out;
    for (std::size_t i = 0; i < refused.size(); ++i)
        EXPECT_EQ(refused[i].rfind("bad.scr:" + std::to_string(i + 1) + ": ", 0), 0u) << refused[i];
    EXPECT_EQ(refused[0], "bad.scr:1: unknown command \"NoSuchCommand\"");
    EXPECT_EQ(refused[2], "bad.scr:3: no object has the handle FFFFF");
    EXPECT_EQ(refused[9], "bad.scr:10: PICKSTYLE must lie between 0 and 3");
    EXPECT_NE(refused[13].find("/nonexistent/drawing.dxf"), std::string::npos);
    EXPECT_EQ(session.refusedLines(), 16);
    // Nothing was changed by the refused lines.
    resbuf rb{};
    EXPECT_EQ(zcedGetVar(L"pickstyle", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 1);
}

TEST_F(ScriptTest, WrongAnswersAreRefusedAndThePromptRepeats) {
    Lines refused = run({
        "GetPoint", "abc", "1,2,3,4", "1,,2", "8,9",   // 1..5
        "GetInt", "3.5", "70000", "12",                // 6..9
        "Pick", "#XYZ", "#FFFFF", "dlg show", "5,0.5", // 10..14
        "Sel", "c 1,1", "#1 #", "w 0,0 50,50",         // 15..18
    });
    Lines expected{
        "bad.scr:2: \"abc\" is not a point (x,y or x,y,z)",
        "bad.scr:3: \"1,2,3,4\" is not a point (x,y or x,y,z)",
        "bad.scr:4: \"1,,2\" is not a point (x,y or x,y,z)",
        "bad.scr:7: \"3.5\" is not an integer between -32768 and 32767",
        "bad.scr:8: \"70000\" is not an integer between -32768 and 32767",
        "bad.scr:11: \"#XYZ\" is not a handle",
        "bad.scr:12: no object has the handle FFFFF",
        "bad.scr:13: no dialog is open",
        "bad.scr:16: \"c\" needs two corners: c x1,y1 x2,y2",
        "bad.scr:17: \"#\" is not a handle",
    };
    EXPECT_EQ(refused, expected) << out;
    EXPECT_TRUE(transcriptHas("got 5100 8,9"));
    EXPECT_TRUE(transcriptHas("got 5100 12"));
    EXPECT_TRUE(transcriptHas("\ngot 5100\n"));
    EXPECT_TRUE(transcriptHas("got 5100 3")); // line, circle, square in the window
    // The repeated prompt is shown again before each new answer.
    EXPECT_TRUE(transcriptHas("Point: abc\n"));
    EXPECT_TRUE(transcriptHas("Point: 8,9\n"));
}

TEST_F(ScriptTest, SetvarSaveAndOpenChangeTheDrawing) {
    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("gantrel-editor-save-" + std::to_string(::getpid()) + ".dxf");
    EXPECT_EQ(run({"setvar INSUNITS 6", "setvar dimasz 0.25", "setvar insbase 1,2",
                   "save " + file.string()}),
              Lines{});
    const ZcDbHeaderValue* units = session.database()->headerVar(L"INSUNITS");
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(std::get<std::int16_t>(*units), 6);
    EXPECT_EQ(session.database()->dimasz(), 0.25);
    EXPECT_EQ(run({"setvar INSUNITS 1", "open " + file.string()}), Lines{});
    EXPECT_EQ(session.database()->insunits(), 6); // as saved
    resbuf rb{};
    EXPECT_EQ(zcedGetVar(L"DWGNAME", &rb), RTNORM);
    EXPECT_EQ(std::wstring(rb.resval.rstring), file.filename().wstring());
    std::free(rb.resval.rstring);
    std::filesystem::remove(file);
}

TEST(ScriptFile, UnreadableScriptsAreReportedWithFileAndLine) {
    std::string error;
    EXPECT_FALSE(ScriptInput::load("/nonexistent/run.scr", error));
    EXPECT_EQ(error, "/nonexistent/run.scr: cannot be read");
    std::filesystem::path file = std::filesystem::temp_directory_path() /
                                 ("gantrel-editor-" + std::to_string(::getpid()) + ".scr");
    {
        std::ofstream f(file, std::ios::binary);
        f << "\xEF\xBB\xBFGetPoint\r\n1,2\r\n\xC3\x28\n";
    }
    EXPECT_FALSE(ScriptInput::load(file.string(), error));
    EXPECT_EQ(error, file.string() + ":3: not UTF-8 text");
    {
        std::ofstream f(file, std::ios::binary);
        f << "\xEF\xBB\xBFGetPoint\r\n  1,2  \r\n^C";
    }
    auto script = ScriptInput::load(file.string(), error);
    ASSERT_TRUE(script);
    auto first = script->next("");
    EXPECT_EQ(first->text, "GetPoint");
    EXPECT_EQ(script->next("")->text, "1,2");
    auto third = script->next("");
    EXPECT_TRUE(third->cancel);
    EXPECT_EQ(third->origin, file.string() + ":3");
    EXPECT_FALSE(script->next(""));
    std::filesystem::remove(file);
}

// The module sets LISP symbols for programs outside it; a script sees them with "!NAME" and
// prepares them with "(setq NAME VALUE)".
TEST_F(ScriptTest, LispSymbolsAreSetAndShownAtTheCommandLine) {
    EXPECT_EQ(run({"(setq *Lokals* \"Ground floor; east\")", "!*lokals*", "(SETQ n 12)", "!N",
                   "(setq r 2.5)", "!r", "(setq n nil)", "!n", "!never"}),
              Lines{});
    EXPECT_TRUE(transcriptHas("\"Ground floor; east\"")) << out;
    EXPECT_TRUE(transcriptHas("12")) << out;
    EXPECT_TRUE(transcriptHas("2.5")) << out;
    const std::vector<std::pair<std::wstring, std::string>> writes = {
        {L"*Lokals*", "\"Ground floor; east\""}, {L"n", "12"}, {L"r", "2.5"}, {L"n", "nil"}};
    EXPECT_EQ(session.symbolWrites(), writes);
    resbuf* value = nullptr;
    ASSERT_EQ(zcedGetSym(L"N", &value), RTNORM);
    EXPECT_EQ(value->restype, RTNIL);
    zcutRelRb(value);
    // nil for the symbol set to nil and for the one never set.
    std::size_t nils = 0;
    for (const std::string& line : lines())
        nils += line == "nil" ? 1 : 0;
    EXPECT_EQ(nils, 2u) << out;

    Lines refused = run({"(setq)", "(setq a)", "(setq a b)", "(defun f () 1)", "!", "(setq a 1"});
    EXPECT_EQ(refused.size(), 6u) << out;
}
