// A module loaded with dlopen: its application messages, its commands run from scripts with
// every answer form, and its texts in the transcript.
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "drawing_fixture.h"
#include "winhost.h"
#include "zced.h"

using gantrel::editor::HostSession;
using gantrel::editor::ScriptInput;

namespace {

std::vector<int> messagesIn(const std::string& text) {
    std::vector<int> found;
    std::regex pattern(R"(\[message (\d+)\])");
    for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
        found.push_back(std::stoi((*it)[1]));
    return found;
}

class ModuleTest : public SessionTest {
protected:
    ModuleTest() {
        std::string error;
        module = session.loadModule(TEST_MODULE, error);
        EXPECT_NE(module, nullptr) << error;
        out.clear();
    }
    void runScript(std::vector<std::string> lines) {
        ScriptInput script("test.scr", std::move(lines));
        session.run(script);
    }
    gantrel::editor::LoadedModule* module = nullptr;
};

} // namespace

TEST(ModuleMessages, InitThenEveryDrawingOpenedThenUnload) {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("gantrel-editor-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::string out;
    {
        HostSession session;
        session.transcript().setSink([&](std::string_view t) { out += t; });
        std::string error;
        ASSERT_TRUE(session.saveDrawing((dir / "a.dxf").string(), error)) << error;
        ASSERT_TRUE(session.saveDrawing((dir / "b.dxf").string(), error)) << error;
        ASSERT_NE(session.loadModule(TEST_MODULE, error), nullptr) << error;
        ScriptInput script("open.scr", {"open " + (dir / "a.dxf").string(), "greet",
                                        "open " + (dir / "b.dxf").string(), "GREET"});
        session.run(script);
        EXPECT_EQ(session.refusedLines(), 0) << out;
        // The module's commands are registered again for each drawing, and still run.
        EXPECT_EQ(std::count(out.begin(), out.end(), '%'), 2);
    }
    EXPECT_EQ(messagesIn(out), (std::vector<int>{1, 3, 3, 3, 2}));
    std::filesystem::remove_all(dir);
}

TEST(ModuleMessages, AnotherInterfaceVersionIsReportedAndNotStarted) {
    std::string out;
    HostSession session;
    session.transcript().setSink([&](std::string_view t) { out += t; });
    std::string error;
    EXPECT_EQ(session.loadModule(OLD_MODULE, error), nullptr);
    EXPECT_NE(error.find("interface version 07E80001, this host has 07E9000A"), std::string::npos)
        << error;
    EXPECT_TRUE(messagesIn(out).empty());
    EXPECT_EQ(zcedZrxLoaded(), nullptr);

    EXPECT_EQ(session.loadModule("/nonexistent/Gantrel.zrx", error), nullptr);
    EXPECT_NE(error.find("/nonexistent/Gantrel.zrx: cannot be loaded"), std::string::npos);
}

TEST_F(ModuleTest, PrintedTextReachesTheTranscriptExactly) {
    runScript({"gRUSS"});
    // The line before ended with the module's load message, so the prompt starts a new one.
    EXPECT_EQ(out, "\nCommand: gRUSS\n\nGr\u00fc\u00dfe \u0141\u00f3d\u017a, 50% done, 2.50 mm, "
                   "narrow");
}

TEST_F(ModuleTest, EveryAnswerFormReachesTheCommand) {
    runScript({"AskAll", "5,6", " 7,8,9 ", "42", "2.5", "hello world", handleOf(drawing.line),
               "106,5.1", "w -1,-1 11,1 " + handleOf(drawing.square)});
    std::vector<std::string> expected{
        "Command: AskAll",
        "Point: 5,6",
        "point 5100 5,6,0",
        "Corner: 7,8,9",
        "corner 5100 7,8,9",
        "Integer: 42",
        "integer 5100 42",
        "Real: 2.5",
        "real 5100 2.500",
        "Text: hello world",
        "text 5100 [hello world]",
        "Pick: " + handleOf(drawing.line),
        "pick 5100 " + handleOf(drawing.line) + " 5,0,0",
        "Nested pick: 106,5.1",
        "nested 5100 " + handleOf(drawing.innerLine) + " at 105,5 in " +
            handleOf(drawing.innerRef) + " " + handleOf(drawing.outerRef),
        "Select objects: w -1,-1 11,1 " + handleOf(drawing.square),
        "selection 5100 " + handleOf(drawing.line) + " " + handleOf(drawing.square),
    };
    EXPECT_EQ(lines(), expected) << out;
}

TEST_F(ModuleTest, EscAtEachPromptIsCancelAndEnterIsNone) {
    runScript({"AskAll", "^C", "^C", "^C", "^C", "^C", "^C", "^C", "^C"});
    for (const char* line : {"point -5002", "corner -5002", "integer -5002 0", "real -5002 0.000",
                             "text -5002 []", "pick -5002", "nested -5002", "selection -5002"})
        EXPECT_TRUE(transcriptHas(std::string("\n") + line + "\n")) << line << "\n" << out;
    out.clear();
    runScript({"AskAll", "", "", "", "", "", "", "", ""});
    // Enter gives RTNONE; a text prompt takes it as the empty text; an empty selection selects
    // nothing, which is no set at all.
    for (const char* line : {"point 5000", "corner 5000", "integer 5000 0", "real 5000 0.000",
                             "text 5100 []", "pick 5000", "nested 5000", "selection -5001"})
        EXPECT_TRUE(transcriptHas(std::string("\n") + line + "\n")) << line << "\n" << out;
}

TEST_F(ModuleTest, AScriptEndingInsideACommandCancelsTheRest) {
    runScript({"AskAll", "1,2"});
    EXPECT_TRUE(transcriptHas("point 5100 1,2,0"));
    EXPECT_TRUE(transcriptHas("\nCorner: *Cancel*\n"));
    EXPECT_TRUE(transcriptHas("selection -5002"));
}

TEST_F(ModuleTest, LoadedListAndUnloadRemovesItsCommands) {
    resbuf* loaded = zcedZrxLoaded();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(std::wstring(loaded->resval.rstring), L"editor_test_module.zrx");
    EXPECT_EQ(loaded->rbnext, nullptr);
    zcutRelRb(loaded);
    ASSERT_NE(session.commands().lookupGlobalCmd(L"askall"), nullptr);
    EXPECT_FALSE(zcrxDynamicLinker->isApplicationLocked(L"EDITOR_TEST_MODULE.ZRX"));
    EXPECT_EQ(zcedZrxUnload(L"editor_test_module.zrx"), RTNORM);
    EXPECT_EQ(messagesIn(out), std::vector<int>{2});
    EXPECT_EQ(session.commands().lookupGlobalCmd(L"AskAll"), nullptr);
    EXPECT_EQ(zcedZrxLoaded(), nullptr);
}
