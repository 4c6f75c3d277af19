#include "ui_test_support.h"

#include "dialog_resources.h"
#include "ui/UI_Messages.h"
#include "winhost.h"

#include <gtest/gtest.h>

using namespace gantrel;

namespace ui_tests {

std::string Describe(UINT message, WPARAM wParam) {
    const std::pair<UINT, const char*> names[] = {
        {WM_UI_DGITEM_ACTIVATED, "DGITEM_ACTIVATED"}, {WM_UI_DG_SETACTIVE, "DG_SETACTIVE"},
        {WM_UI_FileSel_Changed, "FileSel_Changed"},   {WM_UI_Check_KILL, "Check_KILL"},
        {WM_UI_COMBO_KILL_FOCUS, "COMBO_KILL_FOCUS"}, {WM_UI_COMBO_VK_ESCAPE, "COMBO_VK_ESCAPE"},
        {WM_UI_EDIT_ACTIVATED, "EDIT_ACTIVATED"},     {WM_UI_EDIT_KILL_FOCUS, "EDIT_KILL_FOCUS"},
        {WM_UI_EDIT_VK_ESCAPE, "EDIT_VK_ESCAPE"},
    };
    for (const auto& [value, name] : names) {
        if (value != 0 && value == message) {
            return std::string(name) + " " + std::to_string(wParam);
        }
    }
    return {};
}

LRESULT RecordingGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= 0xC000) {
        if (const std::string name = Describe(message, wParam); !name.empty()) {
            heard.push_back(name);
        }
    }
    return UI_DataGrid_2::WindowProc(message, wParam, lParam);
}

void RecordingGrid::OnFileSelChanged(int row, int column, UI_DG_B_FileSelector& button) {
    filesChosen.push_back(std::to_string(row) + "," + std::to_string(column) + ": " +
                          win::Narrow(button.GetPath()));
}

void RecordingTree::SetSelectedText(const CString& text) {
    handed.push_back(win::Narrow(text));
}

namespace {

const DialogItem kItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 370, 80, 390}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 370, 160, 390}},
    {.id = kGridId, .kind = DialogItemKind::ListReport, .rect = {10, 10, 310, 150}},
    {.id = kTreeId,
     .kind = DialogItemKind::Tree,
     .rect = {10, 160, 310, 260},
     .style = TVS_HASBUTTONS | TVS_HASLINES},
    {.id = kTabsId, .kind = DialogItemKind::Tab, .rect = {10, 270, 310, 360}},
};

const DialogItem kPageItems[] = {
    {.id = kPageEditId, .kind = DialogItemKind::Edit, .text = L"page", .rect = {4, 4, 100, 24}},
};

} // namespace

void RegisterOnce() {
    static const bool done = [] {
        RegisterUIMessages();
        RegisterDialogResource({.id = kDialogId,
                                .caption = L"Controls",
                                .rect = {0, 0, 320, 400},
                                .items = kItems,
                                .style = WS_VISIBLE});
        RegisterDialogResource({.id = kPageId,
                                .caption = L"",
                                .rect = {0, 0, 200, 60},
                                .items = kPageItems,
                                .style = WS_CHILD});
        return true;
    }();
    static_cast<void>(done);
}

ControlsDialog::ControlsDialog() : CDialog(kDialogId) {
    RegisterOnce();
    Create(kDialogId);
}

ControlsDialog::~ControlsDialog() {
    DestroyWindow();
}

BOOL ControlsDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    grid.SubclassDlgItem(kGridId, this);
    tree.SubclassDlgItem(kTreeId, this);
    tabs.SubclassDlgItem(kTabsId, this);
    const wchar_t* headings[] = {L"Name", L"Value", L"More"};
    for (int column = 0; column < 3; ++column) {
        grid.InsertColumn(column, headings[column], LVCFMT_LEFT, 100);
    }
    return TRUE;
}

std::string ControlsDialog::Act(const std::string& line) {
    std::string error;
    const auto action = dialogs::ParseDialogLine(line, error);
    EXPECT_TRUE(action.has_value()) << line << ": " << error;
    dialogs::ActionQueue told;
    if (action) {
        dialogs::ApplyAction(*this, *action, told);
    }
    return told.Transcript();
}

} // namespace ui_tests
