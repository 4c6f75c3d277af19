// A tab control that owns one page per tab, as the settings editor builds it: pages are dialogs
// from a child template inside the tab control, the tab control handles its own selection
// change through reflection, and only the shown page's controls can be reached by the user.
#include "dialog_test_support.h"

#include <gtest/gtest.h>
#include <memory>

using dialog_tests::ScriptedUser;

namespace {

constexpr UINT kSettingsDialog = 9105;
constexpr UINT kPageDialog = 9300;

const DialogItem kSettingsItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 320, 80, 344}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 320, 160, 344}},
    {.id = 59301, .kind = DialogItemKind::Tab, .rect = {10, 10, 430, 310}},
};
const DialogItem kPageItems[] = {
    {.id = 59302, .kind = DialogItemKind::Edit, .rect = {5, 5, 200, 25}},
};

class Page : public CDialog {
public:
    Page() : CDialog(kPageDialog) {}
};

// Pages are owned here; the shown one follows the selected tab.
class Tabs : public CTabCtrl {
public:
    std::vector<std::unique_ptr<Page>> pages;
    bool keepCurrent = false;

    void AddPage(const wchar_t* caption, const wchar_t* value) {
        auto page = std::make_unique<Page>();
        ASSERT_TRUE(page->Create(kPageDialog, this));
        page->SetDlgItemText(59302, value);
        InsertItem(GetItemCount(), caption);
        CRect item;
        GetItemRect(0, &item);
        CRect client;
        GetClientRect(&client);
        page->MoveWindow(item.left + 1, item.bottom + 2, client.right - item.left - 2,
                         client.bottom - item.bottom - 4);
        page->ShowWindow(pages.empty() ? SW_SHOW : SW_HIDE);
        pages.push_back(std::move(page));
    }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (message == WM_NOTIFY && header->code == TCN_SELCHANGING) {
            *result = keepCurrent ? TRUE : FALSE;
            return TRUE;
        }
        if (message == WM_NOTIFY && header->code == TCN_SELCHANGE) {
            for (size_t i = 0; i < pages.size(); ++i) {
                pages[i]->ShowWindow(static_cast<int>(i) == GetCurFocus() ? SW_SHOW : SW_HIDE);
            }
            return TRUE;
        }
        return CTabCtrl::OnChildNotify(message, wParam, lParam, result);
    }
};

class SettingsDialog : public CDialog {
public:
    SettingsDialog() : CDialog(kSettingsDialog) {
        RegisterDialogResource({.id = kSettingsDialog,
                                .caption = L"Settings",
                                .rect = {0, 0, 440, 360},
                                .items = kSettingsItems});
        RegisterDialogResource({.id = kPageDialog,
                                .caption = L"",
                                .rect = {0, 0, 400, 260},
                                .items = kPageItems,
                                .style = WS_CHILD});
    }
    std::vector<CString> values;
    bool keepCurrent = false;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_tabs.SubclassDlgItem(59301, this);
        m_tabs.keepCurrent = keepCurrent;
        m_tabs.AddPage(L"Drawing", L"mm");
        m_tabs.AddPage(L"Hatch", L"ANSI31");
        return TRUE;
    }
    void OnOK() override {
        for (const auto& page : m_tabs.pages) {
            CString text;
            page->GetDlgItemText(59302, text);
            values.push_back(text);
        }
        CDialog::OnOK();
    }

private:
    Tabs m_tabs;
};

} // namespace

TEST(Pages, OnlyTheShownPageIsReachableAndTheTabsSwitchPages) {
    ScriptedUser user({"dlg set 59302 cm", "dlg choose 59301 Hatch", "dlg show",
                       "dlg set 59302 ANSI37", "dlg click 1"});
    SettingsDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    // The same identifier on both pages: each action reached the page that was shown.
    EXPECT_EQ(dialog.values, (std::vector<CString>{L"cm", L"ANSI37"}));
    ASSERT_EQ(user.Told().size(), 1u);
    EXPECT_EQ(user.Told()[0],
              "dialog 9105 \"Settings\"\n"
              "  1      default button  \"OK\"\n"
              "  2      push button     \"Cancel\"\n"
              "  59301  tab             \"Drawing\" | \"Hatch\"  selected \"Hatch\"  focus\n"
              "    0      page            \"\"\n"
              "      59302  edit            \"ANSI31\"");
}

TEST(Pages, TabControlCanKeepItsCurrentTab) {
    ScriptedUser user(
        {"dlg choose 59301 Hatch", "dlg choose 59301 Layers", "dlg set 59302 cm", "dlg click 1"});
    SettingsDialog dialog;
    dialog.keepCurrent = true;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(user.Told(), (std::vector<std::string>{"dlg: control 59301 keeps its current tab",
                                                     "dlg: control 59301 has no item \"Layers\""}));
    EXPECT_EQ(dialog.values, (std::vector<CString>{L"cm", L"ANSI31"}));
}
