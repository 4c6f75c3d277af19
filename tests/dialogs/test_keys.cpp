// Keys go first to PreTranslateMessage of the control and its parents, and only then to the
// dialog's own Enter, Esc and Tab handling, so a control can keep Enter and Esc to itself.
#include "dialog_test_support.h"

#include <gtest/gtest.h>

using dialog_tests::ScriptedUser;

namespace {

constexpr UINT kKeysDialog = 9002;

const DialogItem kKeysItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 80, 80, 104}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 80, 160, 104}},
    {.id = 1001, .kind = DialogItemKind::Edit, .rect = {10, 10, 200, 30}},
    {.id = 1002, .kind = DialogItemKind::Edit, .rect = {10, 40, 200, 60}},
};

// An in-place editor: Enter and Esc are its own, and it tells its owner through registered
// messages.
class KeepsKeysEdit : public CEdit {
public:
    explicit KeepsKeysEdit(std::vector<std::string>& log) : m_log(log) {}

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN && (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE)) {
            const bool enter = msg->wParam == VK_RETURN;
            m_log.push_back(enter ? "edit: enter" : "edit: esc");
            const UINT message =
                RegisterWindowMessage(enter ? L"WM_UI_EDIT_KILL_FOCUS" : L"WM_UI_EDIT_VK_ESCAPE");
            ::SendMessage(GetOwner()->m_hWnd, message, static_cast<WPARAM>(GetDlgCtrlID()), 0);
            return TRUE;
        }
        return CEdit::PreTranslateMessage(msg);
    }

private:
    std::vector<std::string>& m_log;
};

class KeysDialog : public CDialog {
public:
    KeysDialog() : CDialog(kKeysDialog), m_edit(log) {
        RegisterDialogResource(
            {.id = kKeysDialog, .caption = L"Keys", .rect = {0, 0, 220, 120}, .items = kKeysItems});
    }

    std::vector<std::string> log;

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_KEYDOWN) {
            log.push_back("dialog: " + dialogs::KeyName(static_cast<UINT>(msg->wParam)));
        }
        return CDialog::PreTranslateMessage(msg);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == RegisterWindowMessage(L"wm_ui_edit_kill_focus")) {
            log.push_back("owner: commit " + std::to_string(wParam));
            return 0;
        }
        if (message == RegisterWindowMessage(L"WM_UI_EDIT_VK_ESCAPE")) {
            log.push_back("owner: escape " + std::to_string(wParam));
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

protected:
    BOOL OnHelpInfo(HELPINFO* info) override {
        log.push_back("help for " + std::to_string(info->iCtrlId));
        return TRUE;
    }
    BOOL OnInitDialog() override {
        m_edit.SubclassDlgItem(1001, this);
        return CDialog::OnInitDialog();
    }

private:
    KeepsKeysEdit m_edit;
};

// Reads a control's text while the dialog is open: `dlg show` is what a user reads.
std::string ShownText(const std::string& show, int id) {
    const auto at = show.find("\n  " + std::to_string(id) + " ");
    const auto open = show.find('"', at);
    return show.substr(open + 1, show.find('"', open + 1) - open - 1);
}

} // namespace

TEST(Keys, ControlKeepsEnterAndEscFromTheDialog) {
    ScriptedUser user({"dlg key 1001 enter", "dlg key 1001 esc", "dlg show", "dlg key 1002 esc"});
    KeysDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.log,
              (std::vector<std::string>{"edit: enter", "owner: commit 1001", "edit: esc",
                                        "owner: escape 1001", "dialog: esc"}));
    ASSERT_EQ(user.Told().size(), 1u); // still open after both keys
    EXPECT_EQ(user.Told()[0].rfind("dialog 9002 \"Keys\"", 0), 0u);
}

TEST(Keys, EditsMoveTheCaretAndDeleteTheDialogHandlesEnterAndTab) {
    ScriptedUser user({"dlg set 1002 abcd", "dlg key 1002 left", "dlg key 1002 left",
                       "dlg key 1002 delete", "dlg show", "dlg key 1002 right",
                       "dlg key 1002 delete", "dlg key 1002 delete", "dlg show", "dlg key 1002 tab",
                       "dlg show", "dlg key 1002 enter"});
    KeysDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    const auto told = user.Told();
    ASSERT_EQ(told.size(), 3u);
    EXPECT_EQ(ShownText(told[0], 1002), "abd");
    EXPECT_EQ(ShownText(told[1], 1002), "abd"); // Delete at the end removes nothing
    // Tab moves the focus to the next control with a tab stop, wrapping to the first.
    EXPECT_NE(told[2].find("  1      default button  \"OK\"  focus"), std::string::npos);
    EXPECT_EQ(dialog.log.back(), "dialog: enter");
}

TEST(Keys, EnterOnAFocusedPushButtonPressesThatButton) {
    ScriptedUser user({"dlg key 2 enter"});
    KeysDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"dialog: enter"}));
}

TEST(Keys, F1AsksTheDialogForHelpOnTheFocusedControl) {
    ScriptedUser user({"dlg key 1002 f1", "dlg key 2 f1"});
    KeysDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"dialog: f1", "help for 1002", "dialog: f1",
                                                    "help for 2", "dialog: esc"}));
}
