// Gantrel.zrx loaded into the host as the host loads it: the application messages, the command
// table, the service commands of the "Gantrel" group and the companion loader, judged by what
// the host records (commands, queued expressions, started programs) and by the transcript.
#include "ProgramRun.h"
#include "command_stack.h"
#include "modules.h"
#include "session.h"
#include "winhost.h"
#include "zcadstatus.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using gantrel::editor::HostSession;
using gantrel::editor::LoadedModule;

namespace {

std::string StatusText(int status) {
    return win::Narrow(zcadErrorStatusText(static_cast<Zcad::ErrorStatus>(status)));
}

class PluginSession : public ::testing::Test {
protected:
    PluginSession() {
        session.transcript().setSink([this](std::string_view text) { out += text; });
        win::ClearShellStarts();
    }
    ~PluginSession() override { win::ClearRegistry(); }

    // HKEY_LOCAL_MACHINE with the suite's "Path" and the companion's "Path" where given.
    void SetRegistry(const std::string& suitePath, const std::string& companionPath = "") {
        std::string text = "Windows Registry Editor Version 5.00\n";
        const auto value = [](const std::string& path) {
            std::string escaped;
            for (const char c : path) {
                if (c == '\\' || c == '"')
                    escaped += '\\';
                escaped += c;
            }
            return escaped;
        };
        if (!suitePath.empty())
            text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]\n\"Path\"=\"" +
                    value(suitePath) + "\"\n";
        if (!companionPath.empty())
            text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Velmark\\2027]\n\"Path\"=\"" +
                    value(companionPath) + "\"\n";
        win::ClearRegistry();
        ASSERT_TRUE(win::LoadRegistryText(text, "test.reg").ok);
    }

    LoadedModule* LoadGantrel() {
        std::string error;
        LoadedModule* module = session.loadModule(GANTREL_ZRX, error);
        EXPECT_NE(module, nullptr) << error;
        return module;
    }

    std::vector<std::string> CommandRows() {
        std::vector<std::string> rows;
        for (const ZcEdCommand* command : session.commands().commandsInOrder())
            rows.push_back(
                win::Narrow(command->groupName()) + " " + win::Narrow(command->globalName()) + " " +
                win::Narrow(command->localName()) + " " + std::to_string(command->commandFlags()));
        return rows;
    }

    void Touch(const fs::path& path) { std::ofstream(path) << "x\n"; }

    // Declared before the session, which prints into the transcript and unloads the modules
    // from the folder until it ends.
    std::string out;
    gantrel::testing::TestFolder scratch{"plugin"};
    const fs::path folder = scratch.path();
    HostSession session;
};

TEST_F(PluginSession, RegistersTheTableOnceAndPrintsTheBannerForEveryDrawing) {
    SetRegistry(folder.string());
    LoadedModule* module = LoadGantrel();
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(module->locked) << "the module unlocks itself so that it can be unloaded";
    EXPECT_TRUE(module->mdiAware);
    const std::vector<std::string> first = CommandRows();
    session.adoptDrawing(std::make_unique<ZcDbDatabase>(), "second.dwg");
    EXPECT_EQ(gantrel::testing::CountOf(out, "Gantrel " GANTREL_VERSION), 2u) << out;
    EXPECT_EQ(CommandRows(), first) << "a second drawing adds every command again, unchanged";

    // The table's order and flags, as the host's command stack reports them.
    EXPECT_EQ(first, (std::vector<std::string>{
                         "Gantrel T_LZS T_LZS 1", "Gantrel T_SumSubPoly T_SumSubPoly 1",
                         "Gantrel T_PtExport T_PtExport 1", "Gantrel Kraty Kraty 1",
                         "Gantrel QuickBlock QuickBlock 1", "Gantrel AddToBlock AddToBlock 1",
                         "Gantrel RemoveFromBlock RemoveFromBlock 1",
                         "Gantrel AttManager AttManager 1", "Gantrel Gantrel Gantrel 1",
                         "Gantrel Gantrel_Update Gantrel_Update 1", "Plaxen Plaxen Plaxen 1",
                         "Plaxen Plaxen:Settings Plaxen:Settings 0",
                         "Tallimo Tallimo:MDist Tallimo:MDist 1",
                         "Tallimo Tallimo:Attributes Tallimo:Attributes 1",
                         "Tallimo Tallimo:Settings Tallimo:Settings 1"}));
}

TEST_F(PluginSession, UnloadRemovesEveryGroupItAdded) {
    SetRegistry(folder.string());
    LoadedModule* module = LoadGantrel();
    ASSERT_NE(module, nullptr);
    ASSERT_GT(session.commands().commandCount(), 0u);
    session.unloadModule(module);
    EXPECT_EQ(session.commands().commandCount(), 0u);
    EXPECT_EQ(out.find("left commands registered"), std::string::npos) << out;
}

TEST_F(PluginSession, UpdaterWithoutSuiteFolderReportsAndLooksAtTheRoot) {
    SetRegistry("");
    ASSERT_NE(LoadGantrel(), nullptr);
    out.clear();
    ASSERT_TRUE(session.runCommand(L"Gantrel_Update"));
    const std::string expected =
        "Tools_App es: " + StatusText(73) + "\\GantrelUpdater_2027.exe missing !";
    EXPECT_NE(out.find(expected), std::string::npos) << out;
    EXPECT_TRUE(win::ShellStarts().empty());
}

TEST_F(PluginSession, UpdaterStartsOnceFromTheSuiteFolder) {
    const fs::path updater = folder / "GantrelUpdater_2027.exe";
    std::ofstream(updater) << "#!/bin/sh\nexit 0\n";
    fs::permissions(updater, fs::perms::owner_all);
    SetRegistry(folder.string());
    ASSERT_NE(LoadGantrel(), nullptr);
    out.clear();
    ASSERT_TRUE(session.runCommand(L"Gantrel_Update"));
    EXPECT_EQ(out.find("missing"), std::string::npos) << out;
    const auto starts = win::ShellStarts();
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_EQ(fs::path(starts[0].program), updater);
    EXPECT_EQ(fs::weakly_canonical(starts[0].directory), fs::weakly_canonical(folder));
    EXPECT_EQ(win::WaitForShellStart(starts[0].pid, 5000), std::optional<int>(0));
}

// The companion: its module loaded once, its two support files queued as LISP expressions for
// every drawing when they exist.
TEST_F(PluginSession, CompanionIsLoadedWhenAbsentAndItsFilesQueuedWhenPresent) {
    const fs::path companion = folder / "Velmark";
    fs::create_directories(companion);
    fs::copy_file(COMPANION_MODULE, companion / "Velmark.zrx");
    Touch(companion / "Velmark.dll");
    SetRegistry(folder.string(), companion.string());
    ASSERT_NE(LoadGantrel(), nullptr);
    EXPECT_NE(session.modules().findByName(L"velmark.ZRX"), nullptr) << out;
    EXPECT_NE(out.find(companion.string() + "\\Velmark.zrx"), std::string::npos) << out;
    const std::string slashed = companion.string() + "/";
    EXPECT_EQ(session.queuedExpressions(),
              std::vector<std::wstring>{
                  win::Widen("(command \"_netload\" \"" + slashed + "Velmark.dll\")")})
        << "Colors.zelx is missing and skipped silently";

    // Already loaded (the name compared in any case): not loaded again, files queued again.
    Touch(companion / "Colors.zelx");
    session.queuedExpressions().clear();
    const std::size_t modules = session.modules().list().size();
    session.adoptDrawing(std::make_unique<ZcDbDatabase>(), "second.dwg");
    EXPECT_EQ(session.modules().list().size(), modules);
    EXPECT_EQ(session.queuedExpressions(),
              (std::vector<std::wstring>{
                  win::Widen("(load \"" + slashed + "Colors.zelx\")"),
                  win::Widen("(command \"_netload\" \"" + slashed + "Velmark.dll\")")}));
}

TEST_F(PluginSession, CompanionPathsBecomeValidLispStrings) {
    // A path written with backslashes (doubled ones too) gives forward slashes only; a quote
    // in a folder name is escaped so that the expression stays one string.
    const fs::path companion = folder / "say \"hi\"";
    fs::create_directories(companion);
    Touch(companion / "Colors.zelx");
    SetRegistry(folder.string(), folder.string() + "\\\\say \"hi\"");
    ASSERT_NE(LoadGantrel(), nullptr);
    ASSERT_EQ(session.queuedExpressions().size(), 1u) << out;
    const std::string expression = win::Narrow(session.queuedExpressions()[0]);
    EXPECT_EQ(expression, "(load \"" + folder.string() + "/say \\\"hi\\\"/Colors.zelx\")");
}

} // namespace

TEST_F(PluginSession, EveryDrawingToolBindsItsHelpTopicBeforeItAsks) {
    fs::copy_file(BUILD_SHARE "/help.cfg", folder / "help.cfg");
    SetRegistry(folder.string());
    ASSERT_NE(LoadGantrel(), nullptr);
    gantrel::editor::QueueInput input;
    session.setInput(&input);
    const std::pair<const wchar_t*, const wchar_t*> tools[] = {
        {L"T_LZS", L"measure_point_list"},         {L"T_SumSubPoly", L"measure_sum_of_parts"},
        {L"T_PtExport", L"measure_export_points"}, {L"Kraty", L"draw_grid"},
        {L"QuickBlock", L"blocks_quick"},          {L"AddToBlock", L"blocks_add"},
        {L"RemoveFromBlock", L"blocks_remove"}};
    for (const auto& [name, topic] : tools) {
        input.pushCancel().pushCancel();
        ASSERT_TRUE(session.runCommand(name));
        // The host keeps bindings by the function's name in capitals.
        std::wstring function = std::wstring(L"C:") + name;
        for (wchar_t& c : function)
            c = static_cast<wchar_t>(std::towupper(c));
        const auto help = session.functionHelp().find(function);
        ASSERT_NE(help, session.functionHelp().end()) << win::Narrow(name);
        EXPECT_EQ(help->second.topic, topic);
        EXPECT_EQ(fs::path(win::NativePath(help->second.file)), folder / "help.chm");
    }
    session.setInput(nullptr);
}
