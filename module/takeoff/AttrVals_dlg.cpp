#include "takeoff/AttrVals_dlg.h"

#include "drawing/ZWDrawer.h"
#include "frame/TextFile.h"
#include "frame/TextProvider.h"
#include "resources/TakeoffResources.h"
#include "takeoff/AttrVals_cmd.h"
#include "takeoff/CompanionSymbols.h"
#include "takeoff/TakeoffSettings.h"
#include "takeoff/ValueLists.h"

#include <array>

#include "winstandin.h"

namespace gantrel {

namespace {

constexpr wchar_t kTitle[] = L"Tallimo";

} // namespace

// --- What the editor does -----------------------------------------------------------------------

void AttrVals_dlg::Refresh() {
    FillTemplates();
    FillValuesOfAllTemplates();
    ExpandAll();
}

void AttrVals_dlg::FillTemplates() {
    for (const DescriptionBlock& block : DescriptionBlocks(WorkingDatabase(), LoadSettings())) {
        if (AddBlockItem(block.id) == nullptr) {
            continue;
        }
        for (const std::wstring& tag : AttributeTags(block.id, false)) {
            AddTagItem(block.id, tag);
        }
    }
}

void AttrVals_dlg::FillValuesOfAllTemplates() {
    ZcDbDatabase* db = WorkingDatabase();
    for (const DescriptionBlock& block : DescriptionBlocks(db, LoadSettings())) {
        for (const std::wstring& tag : AttributeTags(block.id, false)) {
            for (const std::wstring& value : GatherTagValues(db, block.id, tag)) {
                AddValue(block.id, tag, value);
            }
        }
    }
}

void AttrVals_dlg::Save() {
    SaveValueLists(WorkingDatabase(), LoadSettings(),
                   [this](const DescriptionBlock& block, const std::wstring& tag) {
                       return ValuesOfTag(block.id, tag);
                   });
}

void AttrVals_dlg::RemoveStoredValue(const std::wstring& list, const std::wstring& value) {
    RemoveValue(WorkingDatabase(), list, value);
}

void AttrVals_dlg::ResetCompanionState() {
    ResetValueListSymbols();
}

// --- The dialog ---------------------------------------------------------------------------------

MFCAttrVals_dlg::MFCAttrVals_dlg() : CDialogEx(IDD_ATTRIBUTE_VALUES) {}

BOOL MFCAttrVals_dlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetWindowText(kTitle);
    const std::pair<int, unsigned> captions[] = {
        {IDOK, 30005},          {IDCANCEL, 30004},
        {IDC_ADD_VALUE, 50005}, {IDC_VALUES_FROM_FILE, 50003},
        {IDC_COPY_TAG, 50007},  {IDC_REMOVE, 50006},
        {IDC_REFILL, 52006}};
    for (const auto& [id, text] : captions) {
        SetDlgItemText(id, GetPackText(text).c_str());
    }
    m_tree.SubclassDlgItem(IDC_ATTRIBUTES_TREE, this);
    Refresh();
    if (HTREEITEM first = m_tree.GetRootItem()) {
        m_tree.EnsureVisible(first);
    }
    return TRUE;
}

BOOL MFCAttrVals_dlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    switch (LOWORD(wParam)) {
    case IDC_ADD_VALUE:
        OnAddValue();
        return TRUE;
    case IDC_VALUES_FROM_FILE:
        OnValuesFromFile();
        return TRUE;
    case IDC_COPY_TAG:
        OnCopyTag();
        return TRUE;
    case IDC_REMOVE:
        OnRemove();
        return TRUE;
    case IDC_REFILL:
        FillValuesOfAllTemplates();
        return TRUE;
    default:
        return CDialogEx::OnCommand(wParam, lParam);
    }
}

BOOL MFCAttrVals_dlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header != nullptr && header->idFrom == IDC_ATTRIBUTES_TREE &&
        header->code == TVN_SELCHANGED) {
        m_tree.ActivateItem(reinterpret_cast<const NMTREEVIEW*>(lParam)->itemNew);
        return TRUE;
    }
    return CDialogEx::OnNotify(wParam, lParam, result);
}

void MFCAttrVals_dlg::OnOK() {
    // An edit still open is ended as leaving it would end it.
    m_tree.CloseEditors();
    Save();
    CDialogEx::OnOK();
}

HTREEITEM MFCAttrVals_dlg::AddBlockItem(ZcDbObjectId block) {
    return m_tree.AddBlockItem(block);
}

HTREEITEM MFCAttrVals_dlg::AddTagItem(ZcDbObjectId block, const std::wstring& tag) {
    // A tag shown already is not listed twice.
    if (HTREEITEM found = m_tree.FindChild(m_tree.FindBlockItem(block), tag)) {
        return found;
    }
    return m_tree.AddTagItem(block, tag);
}

void MFCAttrVals_dlg::AddValue(ZcDbObjectId block, const std::wstring& tag,
                               const std::wstring& value) {
    m_tree.AddValue(block, tag, value);
}

std::vector<std::wstring> MFCAttrVals_dlg::ValuesOfTag(ZcDbObjectId block,
                                                       const std::wstring& tag) {
    std::vector<std::wstring> values;
    m_tree.GetValues(block, tag, values);
    return values;
}

void MFCAttrVals_dlg::ExpandAll() {
    m_tree.ExpandAll();
}

HTREEITEM MFCAttrVals_dlg::TopItemOf(HTREEITEM item) const {
    while (item != nullptr && m_tree.GetParentItem(item) != nullptr) {
        item = m_tree.GetParentItem(item);
    }
    return item;
}

void MFCAttrVals_dlg::OnAddValue() {
    m_tree.AddValueAtSelection(L" ");
}

void MFCAttrVals_dlg::OnValuesFromFile() {
    HTREEITEM top = TopItemOf(m_tree.GetSelectedItem());
    if (top == nullptr) {
        return;
    }
    std::array<wchar_t, 1024> file{};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = L"(*.txt)\0*.txt\0\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"*.txt";
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&ofn)) {
        return;
    }
    std::vector<std::wstring> lines;
    if (!ReadTextLines(file.data(), lines)) {
        return;
    }
    for (const std::wstring& line : lines) {
        m_tree.AppendEditable(line, top);
    }
    m_tree.Expand(top, TVE_EXPAND);
}

void MFCAttrVals_dlg::OnCopyTag() {
    HTREEITEM selected = m_tree.GetSelectedItem();
    if (selected == nullptr || m_tree.Level(selected) != 1) {
        return;
    }
    HTREEITEM copy = m_tree.InsertItem(m_tree.GetItemText(selected).c_str(),
                                       m_tree.GetParentItem(selected), selected);
    if (UI_TreeItem* record = m_tree.Record(copy)) {
        record->labelEdit = 1;
    }
}

void MFCAttrVals_dlg::OnRemove() {
    HTREEITEM selected = m_tree.GetSelectedItem();
    if (selected == nullptr) {
        return;
    }
    m_tree.CloseEditors();
    if (m_tree.Level(selected) == 0) {
        const std::wstring list = m_tree.GetItemText(selected);
        for (HTREEITEM child = m_tree.GetChildItem(selected); child != nullptr;
             child = m_tree.GetChildItem(selected)) {
            RemoveStoredValue(list, m_tree.GetItemText(child));
            m_tree.DeleteItem(child);
        }
        return;
    }
    const std::wstring list = m_tree.GetItemText(m_tree.GetParentItem(selected));
    const std::wstring value = m_tree.GetItemText(selected);
    RemoveStoredValue(list, value);
    if (m_tree.Level(selected) != 2) {
        m_tree.DeleteItem(selected);
        return;
    }
    // Every block with this tag shows the one stored list: the value goes from all of them,
    // so that saving does not bring it back from another block.
    for (HTREEITEM block = m_tree.GetRootItem(); block != nullptr;
         block = m_tree.GetNextSiblingItem(block)) {
        for (HTREEITEM tag = m_tree.GetChildItem(block); tag != nullptr;
             tag = m_tree.GetNextSiblingItem(tag)) {
            if (!INI::SameName(m_tree.GetItemText(tag), list)) {
                continue;
            }
            while (HTREEITEM shown = m_tree.FindChild(tag, value)) {
                m_tree.DeleteItem(shown);
            }
        }
    }
}

void AttrValsCommand() {
    MFCAttrVals_dlg dialog;
    dialog.DoModal();
}

} // namespace gantrel
