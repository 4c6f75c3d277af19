#include "ui/UI_Tree.h"

#include <algorithm>

namespace gantrel {

namespace {

// Destroys an editor's window and deletes it; the pointer is cleared first, so that messages
// the editor sends while it goes find it closed already.
template <class Editor> void Discard(std::unique_ptr<Editor>& slot) {
    std::unique_ptr<Editor> editor = std::move(slot);
    if (editor != nullptr) {
        editor->DestroyWindow();
    }
}

} // namespace

UI_Tree::~UI_Tree() {
    if (m_hWnd != nullptr) {
        DestroyWindow(); // while this is still a UI_Tree, so that OnDestroy closes the editors
    }
    Discard(m_edit);
    Discard(m_combo);
    Discard(m_check);
    Discard(m_colour);
}

void UI_Tree::OnDestroy() {
    // The editors go without handing anything over: the dialog is closing.
    Discard(m_edit);
    Discard(m_combo);
    Discard(m_check);
    Discard(m_colour);
    m_editedItem = nullptr;
    CTreeCtrl::OnDestroy();
    m_records.clear();
}

// --- Items and their records --------------------------------------------------------------------

HTREEITEM UI_Tree::InsertItem(LPCWSTR text, HTREEITEM parent, HTREEITEM after) {
    HTREEITEM item = CTreeCtrl::InsertItem(text, parent, after);
    if (item == nullptr) {
        return nullptr;
    }
    auto record = std::make_unique<UI_TreeItem>();
    record->text = text != nullptr ? text : L"";
    CTreeCtrl::SetItemData(item, reinterpret_cast<DWORD_PTR>(record.get()));
    m_records.push_back(std::move(record));
    return item;
}

UI_TreeItem* UI_Tree::Record(HTREEITEM item) const {
    return item != nullptr ? reinterpret_cast<UI_TreeItem*>(GetItemData(item)) : nullptr;
}

void UI_Tree::ForgetRecords(HTREEITEM item) {
    for (HTREEITEM child = GetChildItem(item); child != nullptr;
         child = GetNextSiblingItem(child)) {
        ForgetRecords(child);
    }
    const UI_TreeItem* record = Record(item);
    std::erase_if(m_records, [record](const auto& owned) { return owned.get() == record; });
}

BOOL UI_Tree::DeleteItem(HTREEITEM item) {
    CloseEditors();
    ForgetRecords(item);
    return CTreeCtrl::DeleteItem(item);
}

BOOL UI_Tree::DeleteAllItems() {
    CloseEditors();
    const BOOL deleted = CTreeCtrl::DeleteAllItems();
    m_records.clear();
    return deleted;
}

BOOL UI_Tree::SetItemText(HTREEITEM item, LPCWSTR text) {
    if (!CTreeCtrl::SetItemText(item, text)) {
        return FALSE;
    }
    if (UI_TreeItem* record = Record(item)) {
        record->text = text != nullptr ? text : L"";
    }
    return TRUE;
}

CString UI_Tree::GetItemKey(HTREEITEM item) const {
    const UI_TreeItem* record = Record(item);
    return record != nullptr ? record->key : CString();
}

bool UI_Tree::SetItemKey(HTREEITEM item, const CString& key) {
    UI_TreeItem* record = Record(item);
    if (record == nullptr) {
        return false;
    }
    record->key = key;
    return true;
}

int UI_Tree::Level(HTREEITEM item) const {
    int level = 0;
    for (HTREEITEM parent = GetParentItem(item); parent != nullptr;
         parent = GetParentItem(parent)) {
        ++level;
    }
    return level;
}

CString UI_Tree::Path(HTREEITEM item) const {
    CString path = GetItemText(item);
    for (HTREEITEM parent = GetParentItem(item); parent != nullptr;
         parent = GetParentItem(parent)) {
        path = GetItemText(parent) + L"/" + path;
    }
    return path;
}

// --- Editing ------------------------------------------------------------------------------------

CRect UI_Tree::BesideLabel(HTREEITEM item) const {
    CRect label;
    GetItemRect(item, &label, TRUE);
    CRect client;
    GetClientRect(&client);
    return CRect(label.right, label.top, std::max<int>(client.right, label.right + 40),
                 label.bottom);
}

void UI_Tree::CloseEditors() {
    CloseCombo();
    EndLabelEdit(true);
    CloseCheckBox();
    CloseColourButton();
}

void UI_Tree::CloseCombo() {
    Discard(m_combo);
}

void UI_Tree::CloseCheckBox() {
    if (m_check != nullptr) {
        if (UI_TreeItem* record = Record(m_editedItem)) {
            record->checkState = m_check->GetCheck() == BST_CHECKED ? 1 : 0;
        }
    }
    Discard(m_check);
}

void UI_Tree::CloseColourButton() {
    Discard(m_colour);
}

void UI_Tree::EndLabelEdit(bool keep) {
    if (m_edit == nullptr) {
        return;
    }
    const CString value = m_edit->GetValue();
    const HTREEITEM item = m_editedItem;
    Discard(m_edit);
    // The label is whole again: the name with the edited value, or as it was before (Esc). A
    // label without a value stays without a colon while no value is given.
    const CString handed = keep ? CString(L":") + value : m_string;
    if (item != nullptr) {
        const bool bare = m_string.Find(L':') < 0 && value.IsEmpty();
        SetItemText(item,
                    !keep ? m_string : (bare ? GetItemText(item) : GetItemText(item) + handed));
    }
    SetSelectedText(handed);
}

CWnd* UI_Tree::BeginEdit(HTREEITEM item) {
    const CString label = GetItemText(item);
    m_string = label;
    const int colon = label.Find(L':');
    const CString name = colon < 0 ? label : label.Left(colon);
    const CString value = colon < 0 ? CString() : label.Mid(colon + 1);
    SetItemText(item, name);
    EnsureVisible(item);
    auto edit = std::make_unique<UI_Edit>(value, this);
    if (!edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, BesideLabel(item), this,
                      kEditorId)) {
        SetItemText(item, label);
        return nullptr;
    }
    m_edit = std::move(edit);
    m_edit->SetFocus();
    return m_edit.get();
}

void UI_Tree::SetSelectedText(const CString& /*text*/) {}

BOOL UI_Tree::ActivateItem(HTREEITEM item) {
    StartEdit(item);
    return TRUE;
}

bool UI_Tree::StartEdit(HTREEITEM item) {
    CloseEditors();
    const UI_TreeItem* record = Record(item);
    if (record == nullptr) {
        return false;
    }
    m_editedItem = item;
    EnsureVisible(item);
    CRect label;
    GetItemRect(item, &label, TRUE);
    const CRect beside = BesideLabel(item);
    if (record->labelEdit == 1) {
        return BeginEdit(item) != nullptr;
    }
    if (record->comboEdit == 1) {
        auto combo = std::make_unique<UI_Combo>(GetItemText(item), this);
        const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL |
                            (record->editable == 1 ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
        const CRect place(label.left, label.top, beside.right, label.bottom);
        if (!combo->Create(style, place, this, kEditorId)) {
            return false;
        }
        for (int i = 0; i < record->choices.GetSize(); ++i) {
            combo->AddString(record->choices[i]);
        }
        combo->SetDroppedHeight(combo->GetItemHeight(0) * record->choices.GetSize());
        if (record->editable != 1) {
            combo->ShowText(GetItemText(item));
        }
        m_combo = std::move(combo);
        m_combo->SetFocus();
        return true;
    }
    if (record->checkEdit == 1) {
        auto box = std::make_unique<UI_CheckBox>(this);
        const CRect place(beside.left + 2, beside.top, beside.left + 18, beside.bottom);
        if (!box->Create(L"", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, place, this, kEditorId)) {
            return false;
        }
        box->SetCheck(record->checkState != 0 ? BST_CHECKED : BST_UNCHECKED);
        m_check = std::move(box);
        m_check->SetFocus();
        return true;
    }
    if (record->colourEdit == 1) {
        const CString text = GetItemText(item);
        const int colon = text.Find(L':');
        const int colour = UI_ColSel_btn::ColourOfText(colon < 0 ? text : text.Mid(colon + 1));
        auto button = std::make_unique<UI_ColSel_btn>(colour != 0 ? colour : 7, this);
        const CRect place(beside.left + 2, beside.top, beside.left + 82, beside.bottom);
        if (!button->Create(L"", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, place, this, kEditorId)) {
            return false;
        }
        m_colour = std::move(button);
        return true;
    }
    m_editedItem = nullptr;
    return false;
}

// --- Keys and the editors' closing messages -----------------------------------------------------

BOOL UI_Tree::PreTranslateMessage(MSG* msg) {
    // Enter, Esc and the left Control key stay in the tree, so that editing never closes the
    // dialog.
    if (msg->message == WM_KEYDOWN &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE || msg->wParam == VK_LCONTROL)) {
        return TRUE;
    }
    return CTreeCtrl::PreTranslateMessage(msg);
}

LRESULT UI_Tree::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != 0) {
        if (message == WM_UI_EDIT_KILL_FOCUS) {
            EndLabelEdit(true);
            return 0;
        }
        if (message == WM_UI_EDIT_VK_ESCAPE) {
            EndLabelEdit(false);
            return 0;
        }
        if (message == WM_UI_COMBO_KILL_FOCUS || message == WM_UI_COMBO_VK_ESCAPE) {
            CloseCombo();
            return 0;
        }
        if (message == WM_UI_Check_KILL) {
            CloseCheckBox();
            return 0;
        }
    }
    return CTreeCtrl::WindowProc(message, wParam, lParam);
}

} // namespace gantrel
