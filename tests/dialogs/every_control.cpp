#include "every_control.h"

namespace dialog_tests {

namespace {

const DialogItem kEveryItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 400, 80, 424}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 400, 160, 424}},
    {.id = 1000, .kind = DialogItemKind::Label, .text = L"Name", .rect = {10, 10, 60, 30}},
    {.id = 1001, .kind = DialogItemKind::Edit, .text = L"Plate", .rect = {70, 10, 200, 30}},
    {.id = 1002,
     .kind = DialogItemKind::NumberEdit,
     .text = L"12",
     .rect = {70, 35, 200, 55},
     .enabled = false},
    {.id = 1003, .kind = DialogItemKind::CheckBox, .text = L"Rotate", .rect = {10, 60, 100, 80}},
    {.id = 1004, .kind = DialogItemKind::ComboDropDown, .rect = {10, 85, 200, 105}},
    {.id = 1005, .kind = DialogItemKind::ComboDropList, .rect = {10, 110, 200, 130}},
    {.id = 1006, .kind = DialogItemKind::ListReport, .rect = {10, 135, 300, 235}},
    {.id = 1007,
     .kind = DialogItemKind::Tree,
     .rect = {10, 240, 300, 340},
     .style = TVS_HASBUTTONS | TVS_LINESATROOT},
    {.id = 1008, .kind = DialogItemKind::Tab, .rect = {310, 10, 500, 200}},
    {.id = 1009, .kind = DialogItemKind::Slider, .rect = {10, 345, 300, 365}},
    {.id = 1010,
     .kind = DialogItemKind::PushButton,
     .text = L"Hidden",
     .rect = {170, 400, 240, 424},
     .visible = false},
};

std::string Code(UINT code) {
    switch (code) {
    case LVN_ITEMCHANGED:
        return "list item changed";
    case NM_CLICK:
        return "click";
    case TVN_SELCHANGED:
        return "tree selection";
    case TVN_ITEMEXPANDED:
        return "tree expanded";
    case TCN_SELCHANGING:
        return "tab changing";
    case TCN_SELCHANGE:
        return "tab changed";
    default:
        return {};
    }
}

} // namespace

EveryControlDialog::EveryControlDialog() : CDialog(kEveryControlDialog) {
    RegisterDialogResource({.id = kEveryControlDialog,
                            .caption = L"Every control",
                            .rect = {0, 0, 520, 440},
                            .items = kEveryItems});
}

BOOL EveryControlDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    CheckDlgButton(1003, BST_CHECKED);
    auto* units = dynamic_cast<CComboBox*>(GetDlgItem(1004));
    units->AddString(L"mm");
    units->AddString(L"cm");
    units->SetCurSel(1);
    auto* background = dynamic_cast<CComboBox*>(GetDlgItem(1005));
    for (const wchar_t* text : {L"none", L"frame", L"wipeout"}) {
        background->AddString(text);
    }
    background->SetCurSel(1);

    m_grid.SubclassDlgItem(1006, this);
    m_grid.SetExtendedStyle(LVS_EX_GRIDLINES);
    m_grid.InsertColumn(0, L"Key", LVCFMT_LEFT, 100);
    m_grid.InsertColumn(1, L"Value", LVCFMT_LEFT, 120);
    m_grid.InsertItem(0, L"Units");
    m_grid.SetItemText(0, 1, L"mm");
    m_grid.InsertItem(1, L"Scale");
    m_grid.SetItemText(1, 1, L"1");
    m_rowHeight.Create(1, 24, ILC_COLOR32, 1, 1);
    m_grid.SetImageList(&m_rowHeight, LVSIL_SMALL);

    m_tree.SubclassDlgItem(1007, this);
    HTREEITEM blocks = m_tree.InsertItem(L"Blocks");
    HTREEITEM door = m_tree.InsertItem(L"Door", blocks);
    HTREEITEM width = m_tree.InsertItem(L"WIDTH", door);
    m_tree.InsertItem(L"900", width);
    m_tree.InsertItem(L"Window", blocks);
    m_tree.InsertItem(L"Legend");
    m_tree.Expand(blocks, TVE_EXPAND);
    m_tree.SelectItem(door);
    CRect label;
    m_tree.GetItemRect(door, &label, TRUE);
    m_valueEditor.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, label, &m_tree, 99);
    m_valueEditor.SetWindowText(L"Door");

    auto* tabs = dynamic_cast<CTabCtrl*>(GetDlgItem(1008));
    tabs->InsertItem(0, L"Drawing");
    tabs->InsertItem(1, L"Hatch");
    auto* slider = dynamic_cast<CSliderCtrl*>(GetDlgItem(1009));
    slider->SetRange(30, 70);
    slider->SetPos(50);
    notifications.clear(); // only what the user causes from here on
    return TRUE;
}

BOOL EveryControlDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) == CBN_SELCHANGE) {
        notifications.push_back(std::to_string(LOWORD(wParam)) + " combo selection");
    }
    return CDialog::OnCommand(wParam, lParam);
}

BOOL EveryControlDialog::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (const std::string code = Code(header->code); !code.empty()) {
        notifications.push_back(std::to_string(header->idFrom) + " " + code);
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

void EveryControlDialog::OnOK() {
    GetDlgItem(1004)->GetWindowText(dropDownText);
    GetDlgItem(1005)->GetWindowText(dropListText);
    treeSelection = m_tree.GetItemText(m_tree.GetSelectedItem());
    auto* tabs = dynamic_cast<CTabCtrl*>(GetDlgItem(1008));
    tabCaption = tabs->GetItemText(tabs->GetCurSel());
    listSelection = m_grid.GetSelectionMark();
    check = static_cast<int>(IsDlgButtonChecked(1003));
    firstColumnWidth = m_grid.GetColumnWidth(0);
    CDialog::OnOK();
}

} // namespace dialog_tests
