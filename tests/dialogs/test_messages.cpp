// Registered, sent and posted messages: unique registered values, no delivery to windows that
// are gone, posted messages through the modal loop, and sends from another thread.
#include "dialog_test_support.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace {

const wchar_t* const kModuleMessages[] = {
    L"WM_UI_DGITEM_ACTIVATED",  L"WM_UI_DG_SETACTIVE",     L"WM_UI_FileSel_Changed",
    L"WM_FILTER_SIGNS",         L"WM_UI_Check_KILL",       L"WM_UI_ColSel_KILL",
    L"WM_UI_ColSel_SelChanged", L"WM_UI_COMBO_KILL_FOCUS", L"WM_UI_COMBO_VK_ESCAPE",
    L"WM_UI_EDIT_ACTIVATED",    L"WM_UI_EDIT_UPDATEVALUE", L"WM_UI_EDIT_KILL_FOCUS",
    L"WM_UI_EDIT_VK_ESCAPE",
};

// A window that counts the messages it receives.
class CountingWnd : public CWnd {
public:
    std::vector<UINT> received;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message >= WM_USER) {
            received.push_back(message);
            return static_cast<LRESULT>(wParam) + 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

constexpr UINT kPostDialog = 9003;

class PostingDialog : public CDialog {
public:
    PostingDialog() : CDialog(kPostDialog) {
        RegisterDialogResource({.id = kPostDialog, .caption = L"Posts", .rect = {0, 0, 100, 100}});
    }
    std::vector<std::string> log;
    HWND gone = nullptr;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_APP) {
            log.push_back("post " + std::to_string(wParam));
            if (wParam == 3) {
                EndDialog(IDOK);
            }
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->message == WM_APP) {
            log.push_back("seen " + std::to_string(msg->wParam));
        }
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        CountingWnd doomed;
        doomed.Create(L"Doomed", L"", 0, CRect(0, 0, 10, 10), nullptr, 0);
        EXPECT_TRUE(::PostMessage(doomed.m_hWnd, WM_APP, 9, 0));
        gone = doomed.m_hWnd; // destroyed here, before its posted message can be delivered
        for (WPARAM i = 1; i <= 3; ++i) {
            PostMessage(WM_APP, i, 0);
        }
        return TRUE;
    }
};

} // namespace

TEST(Messages, RegisteredMessagesAreUniqueFromC000) {
    std::set<UINT> values;
    for (const wchar_t* name : kModuleMessages) {
        const UINT value = RegisterWindowMessage(name);
        EXPECT_GE(value, 0xC000u);
        EXPECT_LE(value, 0xFFFFu);
        EXPECT_EQ(RegisterWindowMessage(name), value) << win::Narrow(name);
        values.insert(value);
    }
    EXPECT_EQ(values.size(), std::size(kModuleMessages));
    // Names compare without regard to case, as on the platform; an empty name registers nothing.
    EXPECT_EQ(RegisterWindowMessage(L"wm_ui_edit_vk_escape"),
              RegisterWindowMessage(L"WM_UI_EDIT_VK_ESCAPE"));
    EXPECT_EQ(RegisterWindowMessage(L""), 0u);
    EXPECT_EQ(RegisterWindowMessage(nullptr), 0u);
}

TEST(Messages, MessageToAnOwnerThatNoLongerExistsIsNotDelivered) {
    const UINT commit = RegisterWindowMessage(L"WM_UI_EDIT_KILL_FOCUS");
    auto owner = std::make_unique<CountingWnd>();
    ASSERT_TRUE(owner->Create(L"Owner", L"", 0, CRect(0, 0, 100, 100), nullptr, 0));
    CEdit editor;
    ASSERT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), owner.get(), 99));
    CountingWnd other;
    ASSERT_TRUE(other.Create(L"Other", L"", 0, CRect(0, 0, 10, 10), nullptr, 0));
    editor.SetOwner(&other);
    EXPECT_EQ(editor.GetOwner(), &other);
    EXPECT_EQ(editor.GetParent(), owner.get());

    const HWND ownerWindow = owner->m_hWnd;
    EXPECT_EQ(::SendMessage(ownerWindow, commit, 41, 0), 42);
    EXPECT_EQ(owner->received, std::vector<UINT>{commit});

    const HWND otherWindow = other.m_hWnd;
    other.DestroyWindow();
    EXPECT_FALSE(IsWindow(otherWindow));
    EXPECT_EQ(editor.GetOwner(), nullptr);
    EXPECT_EQ(::SendMessage(otherWindow, commit, 1, 0), 0);
    EXPECT_FALSE(::PostMessage(otherWindow, commit, 1, 0));
    EXPECT_TRUE(other.received.empty());

    // Destroying a window takes its children with it.
    const HWND editorWindow = editor.m_hWnd;
    owner.reset();
    EXPECT_FALSE(IsWindow(ownerWindow));
    EXPECT_FALSE(IsWindow(editorWindow));
    EXPECT_EQ(editor.m_hWnd, nullptr);
}

TEST(Messages, PostedMessagesPassPreTranslateInOrderAndSkipWindowsThatWentAway) {
    PostingDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"seen 1", "post 1", "seen 2", "post 2",
                                                    "seen 3", "post 3"}));
    EXPECT_FALSE(IsWindow(dialog.gone));
}

TEST(Messages, SendFromAnotherThreadIsAnsweredByTheWindowsOwnThread) {
    // The dialog's loop waits for input that never comes, so only the message can end it.
    dialogs::ActionQueue waiting;
    dialogs::SetThreadDialogOperator(&waiting);
    const UINT ask = RegisterWindowMessage(L"GantrelTestAsk");
    std::thread::id answeredOn;

    class AskedDialog : public CDialog {
    public:
        AskedDialog(UINT ask, std::thread::id& answeredOn)
            : CDialog(kPostDialog), m_ask(ask), m_answeredOn(answeredOn) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
            if (message == m_ask) {
                m_answeredOn = std::this_thread::get_id();
                EndDialog(IDOK);
                return static_cast<LRESULT>(wParam) * 2;
            }
            return CDialog::WindowProc(message, wParam, lParam);
        }
        BOOL OnInitDialog() override {
            const HWND self = m_hWnd;
            const UINT ask = m_ask;
            m_sender = std::thread([self, ask, this] { answer = ::SendMessage(self, ask, 21, 0); });
            return CDialog::OnInitDialog();
        }
        LRESULT answer = 0;
        std::thread m_sender;

    private:
        UINT m_ask;
        std::thread::id& m_answeredOn;
    };

    PostingDialog registersTemplate;
    AskedDialog dialog(ask, answeredOn);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    dialog.m_sender.join();
    dialogs::SetThreadDialogOperator(nullptr);
    EXPECT_EQ(dialog.answer, 42);
    EXPECT_EQ(answeredOn, std::this_thread::get_id());
}
