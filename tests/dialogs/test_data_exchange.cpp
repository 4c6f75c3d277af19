// Data exchange and validation in a modal dialog, driven as a user drives it: the framework's
// range message keeps the dialog open on a bad value, OK closes it on good ones, Cancel and Esc
// close it without reading the controls.
#include "dialog_test_support.h"

#include <gtest/gtest.h>

using dialog_tests::RecordingAnswerer;
using dialog_tests::ScriptedUser;

namespace {

constexpr UINT kRangeDialog = 9001;

const DialogItem kRangeItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 120, 80, 144}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 120, 160, 144}},
    {.id = 1001, .kind = DialogItemKind::NumberEdit, .rect = {100, 10, 200, 30}},
    {.id = 1002, .kind = DialogItemKind::Edit, .rect = {100, 35, 200, 55}},
    {.id = 1003, .kind = DialogItemKind::Edit, .rect = {100, 60, 200, 80}},
    {.id = 1004, .kind = DialogItemKind::CheckBox, .text = L"Rotate", .rect = {10, 35, 90, 55}},
    {.id = 1005, .kind = DialogItemKind::Slider, .rect = {10, 85, 200, 105}},
};

class RangeDialog : public CZdUiDialog {
public:
    RangeDialog() : CZdUiDialog(kRangeDialog) {
        RegisterDialogResource({.id = kRangeDialog,
                                .caption = L"Range",
                                .rect = {0, 0, 220, 160},
                                .items = kRangeItems});
    }

    int population = 10;
    double step = 360.0 / 51;
    double spacing = 1.0;
    int rotate = BST_CHECKED;
    int rate = 50;

protected:
    void DoDataExchange(CDataExchange* dx) override {
        DDX_Control(dx, 1005, m_slider);
        DDX_Text(dx, 1001, population);
        DDV_MinMaxInt(dx, population, 1, 10000);
        DDX_Text(dx, 1002, step);
        DDV_MinMaxDouble(dx, step, 0.0, 360.0);
        DDX_Text(dx, 1003, spacing);
        DDV_MinMaxDouble(dx, spacing, 0.0, 500.0);
        DDX_Check(dx, 1004, rotate);
        DDX_Slider(dx, 1005, rate);
    }

    BOOL OnInitDialog() override {
        m_slider.SubclassDlgItem(1005, this);
        m_slider.SetRange(30, 70);
        CZdUiDialog::OnInitDialog();
        GetDlgItem(1002)->EnableWindow(rotate == BST_CHECKED);
        return TRUE;
    }

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
        if (LOWORD(wParam) == 1004 && HIWORD(wParam) == BN_CLICKED) {
            GetDlgItem(1002)->EnableWindow(IsDlgButtonChecked(1004) == BST_CHECKED);
            return TRUE;
        }
        return CZdUiDialog::OnCommand(wParam, lParam);
    }

private:
    CSliderCtrl m_slider;
};

// The `dlg show` line of one control.
std::string LineOf(const std::string& show, const std::string& id) {
    const auto at = show.find("\n  " + id + " ");
    return at == std::string::npos ? std::string()
                                   : show.substr(at + 1, show.find('\n', at + 1) - at - 1);
}

} // namespace

TEST(DataExchange, OutOfRangeValueShowsTheRangeMessageAndKeepsTheDialogOpen) {
    RecordingAnswerer answers;
    ScriptedUser user({"dlg set 1001 0", "dlg click 1", "dlg show", "dlg set 1001 20000",
                       "dlg key 1003 enter", "dlg set 1001 250", "dlg set 1003 600", "dlg click 1",
                       "dlg set 1003 12.5", "dlg click 1"});
    RangeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(answers.Boxes(), (std::vector<std::string>{
                                   "Gantrel: Enter an integer between 1 and 10000.",
                                   "Gantrel: Enter an integer between 1 and 10000.",
                                   "Gantrel: Enter a number between 0 and 500.",
                               }));
    // The failed control gets the focus so the user can correct it.
    const auto told = user.Told();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(LineOf(told[0], "1001"), "  1001   number edit     \"0\"  focus");
    EXPECT_EQ(dialog.population, 250);
    EXPECT_DOUBLE_EQ(dialog.spacing, 12.5);
    EXPECT_FALSE(dialog.m_hWnd); // the window is gone once DoModal returns
}

TEST(DataExchange, TextThatIsNoNumberIsRefusedOrAskedFor) {
    RecordingAnswerer answers;
    ScriptedUser user({"dlg set 1001 12a", "dlg set 1002 abc", "dlg click 1", "dlg set 1002 ",
                       "dlg click 1", "dlg set 1002 45", "dlg click 1"});
    RangeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(answers.Boxes(),
              (std::vector<std::string>{"Gantrel: Enter a number.", "Gantrel: Enter a number."}));
    // A numbers-only edit never receives letters: the line is refused and the value kept.
    EXPECT_EQ(user.Told(), (std::vector<std::string>{
                               "dlg: control 1001 takes digits only; \"12a\" was not typed"}));
    EXPECT_EQ(dialog.population, 10);
    EXPECT_DOUBLE_EQ(dialog.step, 45.0);
}

TEST(DataExchange, CancelEscAndLackOfInputCloseWithoutExchange) {
    RecordingAnswerer answers;
    const std::vector<std::vector<std::string>> scripts = {
        {"dlg set 1001 77", "dlg set 1003 0.5", "dlg click 2"},
        {"dlg set 1001 0", "dlg key 1001 esc"}, // out of range, yet no message: nothing is read
        {"dlg set 1003 3"},                     // the script ends: the dialog is cancelled
    };
    for (const auto& script : scripts) {
        ScriptedUser user(script);
        RangeDialog dialog;
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(dialog.population, 10);
        EXPECT_DOUBLE_EQ(dialog.spacing, 1.0);
        EXPECT_TRUE(user.Told().empty());
    }
    // Without any operator there is no input at all.
    RangeDialog alone;
    EXPECT_EQ(alone.DoModal(), IDCANCEL);
    EXPECT_TRUE(answers.Boxes().empty());
}

TEST(DataExchange, ControlsShowTheMembersAndTheCheckBoxEnablesTheStepEdit) {
    RecordingAnswerer answers;
    ScriptedUser user({"dlg show", "dlg click 1004", "dlg set 1002 5", "dlg slide 1005 90",
                       "dlg show", "dlg click 1"});
    RangeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const auto told = user.Told();
    ASSERT_EQ(told.size(), 4u);
    EXPECT_EQ(LineOf(told[0], "1002"), "  1002   edit            \"7.05882352941176\"");
    EXPECT_EQ(LineOf(told[0], "1004"), "  1004   check box       \"Rotate\"  checked");
    EXPECT_EQ(LineOf(told[0], "1005"), "  1005   slider          50  range 30..70");
    EXPECT_EQ(told[1], "dlg: control 1002 is disabled");
    EXPECT_EQ(told[2], "dlg: control 1005 moves from 30 to 70; it stops at the end");
    EXPECT_EQ(LineOf(told[3], "1002"), "  1002   edit            \"7.05882352941176\"  disabled");
    EXPECT_EQ(LineOf(told[3], "1005"), "  1005   slider          70  range 30..70  focus");
    EXPECT_EQ(dialog.rotate, BST_UNCHECKED);
    EXPECT_EQ(dialog.rate, 70);
    // A disabled edit is still read; its text holds the 15 digits the exchange writes.
    EXPECT_NEAR(dialog.step, 360.0 / 51, 1e-12);
    EXPECT_TRUE(answers.Boxes().empty());
}

TEST(DataExchange, DialogWithoutTemplateReturnsAtOnce) {
    ScriptedUser user({"dlg click 1"});
    CDialog noTemplate;
    EXPECT_EQ(noTemplate.DoModal(), -1);
    CDialog unknown(4242);
    EXPECT_EQ(unknown.DoModal(), -1);
}
