// The nesting settings dialog driven as a user drives it, through `dlg` lines: what it shows for
// a settings record, what it makes of the values typed, and that bad values keep it open with
// the framework's range message; then the command "Plaxen:Settings", which changes the module's
// settings on OK only and opens the dialog's help topic on F1.
#include "dialog_operator.h"
#include "frame/TextProvider.h"
#include "nesting/dialogs/PlaxenSettings_cmd.h"
#include "nesting/dialogs/Settings_dlg.h"
#include "nesting/search/Angles.h"
#include "nesting/settings/NestSettings.h"
#include "winhost.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>

namespace gantrel {
namespace {

// Feeds the calling thread's modal dialogs with lines and keeps the message boxes they show.
class User : public win::Answerer {
public:
    explicit User(const std::vector<std::string>& lines) : m_queue(lines) {
        dialogs::SetThreadDialogOperator(&m_queue);
        win::SetAnswerer(this);
    }
    ~User() override {
        dialogs::SetThreadDialogOperator(nullptr);
        win::SetAnswerer(nullptr);
    }
    User(const User&) = delete;
    User& operator=(const User&) = delete;

    int AnswerMessageBox(const win::MessageBoxRequest& request) override {
        std::lock_guard lock(m_mutex);
        boxes.push_back(win::Narrow(request.text));
        return request.defaultButton;
    }
    std::optional<std::wstring> AnswerFileDialog(const win::FileDialogRequest&) override {
        return std::nullopt;
    }
    void ShowHelp(const win::HelpRequest&) override { ++helpCalls; }

    // What the dialog was told: refusals and `dlg show` output.
    std::vector<std::string> Told() const { return m_queue.Told(); }

    std::vector<std::string> boxes;
    int helpCalls = 0;

private:
    std::mutex m_mutex;
    dialogs::ActionQueue m_queue;
};

// The `dlg show` line of one control, without its leading blanks.
std::string LineOf(const std::string& show, int id) {
    const std::string key = "\n  " + std::to_string(id) + " ";
    const auto at = show.find(key);
    if (at == std::string::npos) {
        return {};
    }
    const auto end = show.find('\n', at + 1);
    return show.substr(at + 3, end == std::string::npos ? std::string::npos : end - at - 3);
}

// The quoted text of a control's line.
std::string TextOf(const std::string& line) {
    const auto open = line.find('"');
    const auto close = line.find('"', open + 1);
    return open == std::string::npos ? std::string() : line.substr(open + 1, close - open - 1);
}

struct Outcome {
    INT_PTR result = 0;
    NestSettings settings;
    std::vector<std::string> told;
    std::vector<std::string> boxes;
};

Outcome Drive(const NestSettings& settings, const std::vector<std::string>& lines) {
    User user(lines);
    Settings_dlg dialog(settings);
    Outcome outcome;
    outcome.result = dialog.DoModal();
    outcome.settings = dialog.Settings();
    outcome.told = user.Told();
    outcome.boxes = user.boxes;
    return outcome;
}

// What the dialog shows for a record when it opens.
std::string ShownFor(const NestSettings& settings) {
    const Outcome shown = Drive(settings, {"dlg show", "dlg click 2"});
    EXPECT_EQ(shown.result, IDCANCEL);
    return shown.told.empty() ? std::string() : shown.told[0];
}

TEST(SettingsDialog, ShowsTheRecordWithTheLanguagePackTexts) {
    NestSettings settings;
    settings.arcPrecision = 20.75;
    settings.generations = 12;
    const std::string show = ShownFor(settings);
    EXPECT_EQ(show.rfind("dialog 8006 \"" + win::Narrow(GetPackText(30020)) + "\"", 0), 0u) << show;
    EXPECT_EQ(TextOf(LineOf(show, 1002)), "0");
    EXPECT_NE(LineOf(show, 1002).find("disabled"), std::string::npos); // rotation off
    EXPECT_NE(LineOf(show, 1014).find("unchecked"), std::string::npos);
    EXPECT_EQ(TextOf(LineOf(show, 1003)), "1");
    EXPECT_EQ(TextOf(LineOf(show, 1004)), "10");
    EXPECT_EQ(TextOf(LineOf(show, 1012)), "20"); // the fraction is dropped
    EXPECT_EQ(TextOf(LineOf(show, 1015)), "3");
    EXPECT_EQ(TextOf(LineOf(show, 1026)), "12");
    EXPECT_EQ(TextOf(LineOf(show, 1027)), win::Narrow(GetPackText(30114)));
    EXPECT_EQ(TextOf(LineOf(show, 1006)), win::Narrow(GetPackText(30101)));
    EXPECT_EQ(TextOf(LineOf(show, 1)), win::Narrow(GetPackText(30005)));
    EXPECT_EQ(TextOf(LineOf(show, 2)), win::Narrow(GetPackText(30004)));
    EXPECT_EQ(TextOf(LineOf(show, 1024)), "-");
    EXPECT_EQ(TextOf(LineOf(show, 1025)), "+");
}

TEST(SettingsDialog, RotationStepBecomesACountAndComesBackAsStep) {
    struct Case {
        const char* typed;
        int count;
        std::string shownAgain;
    };
    for (const Case& c :
         {Case{"90", 4, "90"}, Case{"7", 51, "7.05882352941176"}, Case{"0", 0, "0"},
          Case{"360", 1, "360"}, Case{"1e-7", 0, "0"}, Case{"0.00001", 3600, "0.1"}}) {
        SCOPED_TRACE(c.typed);
        const Outcome ok =
            Drive(NestSettings(),
                  {"dlg click 1014", std::string("dlg set 1002 ") + c.typed, "dlg click 1"});
        ASSERT_EQ(ok.result, IDOK);
        EXPECT_TRUE(ok.boxes.empty());
        EXPECT_EQ(ok.settings.rotationCount, c.count);
        EXPECT_TRUE(ok.settings.rotationAllowed);
        const std::string show = ShownFor(ok.settings);
        EXPECT_EQ(TextOf(LineOf(show, 1002)), c.shownAgain);
        EXPECT_EQ(LineOf(show, 1002).find("disabled"), std::string::npos);
    }
}

TEST(SettingsDialog, OkTakesEveryValueTheUserGave) {
    const Outcome ok =
        Drive(NestSettings(),
              {"dlg set 1003 2.5", "dlg set 1004 30", "dlg set 1012 40", "dlg set 1015 15",
               "dlg set 1026 250", "dlg slide 1023 61", "dlg key 1004 enter"});
    ASSERT_EQ(ok.result, IDOK);
    EXPECT_DOUBLE_EQ(ok.settings.spacing, 2.5);
    EXPECT_EQ(ok.settings.population, 30);
    EXPECT_DOUBLE_EQ(ok.settings.arcPrecision, 40.0);
    EXPECT_EQ(ok.settings.maxCalculationTime, 15);
    EXPECT_EQ(ok.settings.generations, 250);
    EXPECT_EQ(ok.settings.mutationRate, 61);
    // What the dialog does not show stays as it was.
    EXPECT_EQ(ok.settings.integerScale, NestSettings().integerScale);
    EXPECT_DOUBLE_EQ(ok.settings.reductionThreshold, NestSettings().reductionThreshold);
}

TEST(SettingsDialog, TheImproveCheckBoxRoundTripsThroughOkAndCancel) {
    // Off by default, labelled with the language pack's text.
    const std::string off = ShownFor(NestSettings());
    EXPECT_NE(LineOf(off, 1028).find("unchecked"), std::string::npos) << off;
    EXPECT_EQ(TextOf(LineOf(off, 1029)), win::Narrow(GetPackText(30115)));
    EXPECT_FALSE(NestSettings().improve);

    // Ticked and accepted: on, and shown ticked the next time.
    const Outcome ok = Drive(NestSettings(), {"dlg click 1028", "dlg click 1"});
    ASSERT_EQ(ok.result, IDOK);
    EXPECT_TRUE(ok.settings.improve);
    const std::string on = ShownFor(ok.settings);
    EXPECT_NE(LineOf(on, 1028).find("checked"), std::string::npos);
    EXPECT_EQ(LineOf(on, 1028).find("unchecked"), std::string::npos) << on;

    // Cleared and accepted: off again; cleared and cancelled: still on.
    EXPECT_FALSE(Drive(ok.settings, {"dlg click 1028", "dlg click 1"}).settings.improve);
    const Outcome cancelled = Drive(ok.settings, {"dlg click 1028", "dlg click 2"});
    EXPECT_EQ(cancelled.result, IDCANCEL);
    EXPECT_TRUE(cancelled.settings.improve);
    EXPECT_FALSE(Drive(NestSettings(), {"dlg click 1028", "dlg click 2"}).settings.improve);
}

TEST(SettingsDialog, TheSliderStaysWithinThirtyAndSeventy) {
    EXPECT_EQ(Drive(NestSettings(), {"dlg slide 1023 95", "dlg click 1"}).settings.mutationRate,
              70);
    EXPECT_EQ(Drive(NestSettings(), {"dlg slide 1023 5", "dlg click 1"}).settings.mutationRate, 30);
}

TEST(SettingsDialog, ClearingRotationDisablesTheStepButKeepsIt) {
    NestSettings rotating;
    rotating.rotationAllowed = true;
    rotating.rotationCount = 4;
    const Outcome ok =
        Drive(rotating, {"dlg click 1014", "dlg show", "dlg set 1002 45", "dlg click 1"});
    ASSERT_EQ(ok.result, IDOK);
    ASSERT_EQ(ok.told.size(), 2u);
    const std::string line = LineOf(ok.told[0], 1002);
    EXPECT_EQ(TextOf(line), "90");
    EXPECT_NE(line.find("disabled"), std::string::npos);
    // A disabled edit takes no typing.
    EXPECT_NE(ok.told[1].find("1002"), std::string::npos) << ok.told[1];
    EXPECT_FALSE(ok.settings.rotationAllowed);
    EXPECT_EQ(ok.settings.rotationCount, 4);
}

TEST(SettingsDialog, OutOfRangeValuesKeepTheDialogOpenWithTheRangeMessage) {
    NestSettings start;
    start.population = 25;
    const Outcome stays = Drive(
        start, {"dlg set 1004 0",   "dlg click 1",       "dlg set 1004 20000",  "dlg click 1",
                "dlg set 1004 20",  "dlg set 1003 600",  "dlg click 1",         "dlg set 1003 1",
                "dlg set 1012 101", "dlg click 1",       "dlg set 1012 10",     "dlg set 1015 0",
                "dlg click 1",      "dlg set 1015 3001", "dlg click 1",         "dlg set 1015 5",
                "dlg set 1026 0",   "dlg click 1",       "dlg set 1026 100001", "dlg click 1",
                "dlg set 1026 7",   "dlg click 1014",    "dlg set 1002 361",    "dlg click 1",
                "dlg click 2"});
    EXPECT_EQ(stays.result, IDCANCEL);
    EXPECT_EQ(stays.boxes, (std::vector<std::string>{
                               "Enter an integer between 1 and 10000.",
                               "Enter an integer between 1 and 10000.",
                               "Enter a number between 0 and 500.",
                               "Enter an integer between 0 and 100.",
                               "Enter an integer between 1 and 3000.",
                               "Enter an integer between 1 and 3000.",
                               "Enter an integer between 1 and 100000.",
                               "Enter an integer between 1 and 100000.",
                               "Enter a number between 0 and 360.",
                           }));
    // Cancel: the working copy is the record the dialog was opened with.
    EXPECT_EQ(stays.settings.population, 25);
    EXPECT_EQ(stays.settings.rotationCount, 0);
    EXPECT_FALSE(stays.settings.rotationAllowed);
}

// The command on the module's own settings. The suite folder holds a help map that gives the
// dialog its topic; the map is read once per process, so it is in place before the first run.
class SettingsCommand : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "gantrel-settings-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        s_folder = pattern;
        std::ofstream(s_folder + "/help.cfg", std::ios::binary)
            << "Nest_cmd\tnesting\r\nSettings_dlg\t nesting_settings \r\n";
        const auto loaded =
            win::LoadRegistryText("Windows Registry Editor Version 5.00\r\n\r\n"
                                  "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]\r\n"
                                  "\"Path\"=\"" +
                                      s_folder + "\"\r\n",
                                  "suite.reg");
        ASSERT_TRUE(loaded.ok);
    }
    static void TearDownTestSuite() {
        win::ClearRegistry();
        std::error_code ignored;
        std::filesystem::remove_all(s_folder, ignored);
    }

    SettingsCommand() : m_saved(ModuleNestSettings()) {}
    ~SettingsCommand() override { ModuleNestSettings() = m_saved; }

    // Runs the command with the user's lines; what the user was told and the boxes shown.
    static Outcome Run(const std::vector<std::string>& lines) {
        User user(lines);
        PlaxenSettingsCommand();
        Outcome outcome;
        outcome.settings = ModuleNestSettings();
        outcome.told = user.Told();
        outcome.boxes = user.boxes;
        return outcome;
    }

    static std::string s_folder;

private:
    NestSettings m_saved;
};

std::string SettingsCommand::s_folder;

TEST_F(SettingsCommand, OkReplacesTheModuleSettings) {
    ModuleNestSettings().reductionThreshold = 3.5; // not in the dialog: must survive
    const Outcome ok =
        Run({"dlg set 1004 1", "dlg set 1003 4.25", "dlg click 1014", "dlg set 1002 45",
             "dlg slide 1023 40", "dlg click 1028", "dlg click 1"});
    EXPECT_TRUE(ok.boxes.empty());
    EXPECT_EQ(ok.settings.population, 1); // a population of one is allowed
    EXPECT_DOUBLE_EQ(ok.settings.spacing, 4.25);
    EXPECT_TRUE(ok.settings.rotationAllowed);
    EXPECT_EQ(ok.settings.rotationCount, 8);
    EXPECT_EQ(ok.settings.mutationRate, 40);
    EXPECT_TRUE(ok.settings.improve);
    EXPECT_DOUBLE_EQ(ok.settings.reductionThreshold, 3.5);

    // The next run opens on what was accepted.
    const Outcome again = Run({"dlg show", "dlg click 2"});
    ASSERT_FALSE(again.told.empty());
    EXPECT_EQ(TextOf(LineOf(again.told[0], 1004)), "1");
    EXPECT_EQ(TextOf(LineOf(again.told[0], 1002)), "45");
}

TEST_F(SettingsCommand, CancelEscOrNoMoreInputLeaveTheModuleSettings) {
    ModuleNestSettings().population = 33;
    const NestSettings before = ModuleNestSettings();
    for (const char* leave : {"dlg click 2", "dlg key 1004 esc", "dlg show"}) {
        SCOPED_TRACE(leave);
        const Outcome left =
            Run({"dlg click 1014", "dlg set 1002 90", "dlg set 1004 99", "dlg set 1026 500",
                 "dlg slide 1023 66", "dlg click 1028", leave});
        EXPECT_EQ(left.settings.population, before.population);
        EXPECT_EQ(left.settings.rotationCount, before.rotationCount);
        EXPECT_EQ(left.settings.rotationAllowed, before.rotationAllowed);
        EXPECT_EQ(left.settings.generations, before.generations);
        EXPECT_EQ(left.settings.mutationRate, before.mutationRate);
        EXPECT_EQ(left.settings.improve, before.improve);
    }
}

TEST_F(SettingsCommand, AnOutOfRangeValueKeepsTheDialogOpenUntilItIsMended) {
    const Outcome mended =
        Run({"dlg set 1015 5000", "dlg click 1", "dlg show", "dlg set 1015 60", "dlg click 1"});
    EXPECT_EQ(mended.boxes, std::vector<std::string>{"Enter an integer between 1 and 3000."});
    // The dialog was still there to be shown, holding what the user typed.
    ASSERT_FALSE(mended.told.empty());
    EXPECT_EQ(TextOf(LineOf(mended.told[0], 1015)), "5000");
    EXPECT_EQ(mended.settings.maxCalculationTime, 60);
}

TEST_F(SettingsCommand, NoRotationStepWithRotationAllowedMeansOneRotation) {
    const Outcome ok = Run({"dlg click 1014", "dlg set 1002 0", "dlg click 1"});
    EXPECT_TRUE(ok.boxes.empty());
    ASSERT_TRUE(ok.settings.rotationAllowed);
    EXPECT_EQ(ok.settings.rotationCount, 0);
    // The search takes a count of 0 as one rotation: every part keeps its angle of 0.
    const Angles angles(ok.settings.rotationCount);
    ASSERT_EQ(angles.Size(), 1);
    EXPECT_EQ(angles[0], 0.0);
}

TEST_F(SettingsCommand, F1OpensTheDialogTopicOfTheHelpMap) {
    win::ClearHelpCalls();
    Run({"dlg key 1003 f1", "dlg click 2"});
    const auto calls = win::HelpCalls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(win::NativePath(calls[0].file), s_folder + "/Orvendel.chm");
    EXPECT_EQ(calls[0].topic, L"nesting_settings.htm");
}

} // namespace
} // namespace gantrel
