#include "tools/Attributes_Tree.h"

#include "frame/Ini.h"
#include "ui/UI_Messages.h"

namespace gantrel {

std::wstring HandleText(ZcDbObjectId block) {
    return block.isNull() ? std::wstring() : block.handle().text();
}

Attributes_Tree::~Attributes_Tree() = default;

void Attributes_Tree::OnDestroy() {
    m_editor.reset();
    UI_Tree::OnDestroy();
}

CWnd* Attributes_Tree::BeginEdit(HTREEITEM item) {
    EndEdit(true);
    m_editedText = GetItemText(item);
    CRect row;
    GetItemRect(item, &row, FALSE);
    CRect text;
    GetItemRect(item, &text, TRUE);
    row.left = text.left;
    auto editor = std::make_unique<UI_Edit>(m_editedText, this);
    if (!editor->Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, row, this, kEditorId)) {
        return nullptr;
    }
    m_editor = std::move(editor);
    m_editor->SetFocus();
    return m_editor.get();
}

void Attributes_Tree::SetSelectedText(const CString& text) {
    if (HTREEITEM selected = GetSelectedItem()) {
        SetItemText(selected, text);
    }
}

BOOL Attributes_Tree::ActivateItem(HTREEITEM item) {
    if (item != nullptr && item == GetSelectedItem()) {
        StartEdit(item);
    }
    return FALSE;
}

void Attributes_Tree::EndEdit(bool keep) {
    if (m_editor == nullptr) {
        return;
    }
    if (m_editor->GetSafeHwnd() != nullptr) {
        const CString typed = m_editor->GetValue();
        SetSelectedText(keep && !typed.empty() ? typed : m_editedText);
        m_editor->DestroyWindow();
    }
    m_editor.reset();
}

LRESULT Attributes_Tree::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != 0 && m_editor != nullptr) {
        if (message == WM_UI_EDIT_KILL_FOCUS) {
            EndEdit(true);
            return 0;
        }
        if (message == WM_UI_EDIT_VK_ESCAPE) {
            EndEdit(false);
            return 0;
        }
    }
    return UI_Tree::WindowProc(message, wParam, lParam);
}

HTREEITEM Attributes_Tree::FindChild(HTREEITEM parent, const std::wstring& text) const {
    for (HTREEITEM item = parent == nullptr ? GetRootItem() : GetChildItem(parent); item != nullptr;
         item = GetNextSiblingItem(item)) {
        if (INI::SameName(GetItemText(item), text)) {
            return item;
        }
    }
    return nullptr;
}

HTREEITEM Attributes_Tree::AppendEditable(const std::wstring& text, HTREEITEM parent) {
    HTREEITEM item = InsertItem(text.c_str(), parent == nullptr ? TVI_ROOT : parent, TVI_LAST);
    if (UI_TreeItem* record = Record(item)) {
        record->labelEdit = 1;
    }
    return item;
}

void Attributes_Tree::GetValues(ZcDbObjectId block, const std::wstring& tag,
                                std::vector<std::wstring>& values) {
    HTREEITEM blockItem = FindBlockItem(block);
    if (blockItem == nullptr) {
        return;
    }
    for (HTREEITEM item = GetChildItem(blockItem); item != nullptr;
         item = GetNextSiblingItem(item)) {
        if (INI::SameName(GetItemText(item), tag)) {
            CollectChildren(item, values);
        }
    }
}

void Attributes_Tree::CollectChildren(HTREEITEM item, std::vector<std::wstring>& values) {
    for (HTREEITEM child = GetChildItem(item); child != nullptr;
         child = GetNextSiblingItem(child)) {
        values.push_back(GetItemText(child));
    }
}

HTREEITEM Attributes_Tree::FindBlockItem(ZcDbObjectId block) const {
    const std::wstring key = HandleText(block);
    if (key.empty()) {
        return nullptr;
    }
    for (HTREEITEM item = GetRootItem(); item != nullptr; item = GetNextSiblingItem(item)) {
        if (GetItemKey(item) == key) {
            return item;
        }
    }
    return nullptr;
}

HTREEITEM Attributes_Tree::AddBlockItem(ZcDbObjectId block) {
    if (HTREEITEM found = FindBlockItem(block)) {
        return found;
    }
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, block, ZcDb::kForRead) != Zcad::eOk) {
        return nullptr;
    }
    const std::wstring name = record->name();
    const bool erased = record->isErased();
    record->close();
    if (erased) {
        return nullptr;
    }
    HTREEITEM item = InsertItem(name.c_str(), TVI_ROOT, TVI_LAST);
    if (item != nullptr) {
        SetItemKey(item, HandleText(block));
    }
    return item;
}

HTREEITEM Attributes_Tree::AddTagItem(ZcDbObjectId block, const std::wstring& tag) {
    HTREEITEM blockItem = FindBlockItem(block);
    return blockItem == nullptr ? nullptr : InsertItem(tag.c_str(), blockItem, TVI_LAST);
}

HTREEITEM Attributes_Tree::AddValue(ZcDbObjectId block, const std::wstring& tag,
                                    const std::wstring& value) {
    HTREEITEM blockItem = FindBlockItem(block);
    if (blockItem == nullptr) {
        return nullptr;
    }
    HTREEITEM tagItem = FindChild(blockItem, tag);
    if (tagItem == nullptr) {
        tagItem = InsertItem(tag.c_str(), blockItem, TVI_LAST);
    }
    if (tagItem == nullptr) {
        return nullptr;
    }
    if (HTREEITEM existing = FindChild(tagItem, value)) {
        return existing;
    }
    return InsertItem(value.c_str(), tagItem, TVI_LAST);
}

HTREEITEM Attributes_Tree::AddRootWithChildren(const std::wstring& text,
                                               const std::vector<std::wstring>& texts) {
    HTREEITEM root = FindChild(nullptr, text);
    if (root == nullptr) {
        root = InsertItem(text.c_str(), TVI_ROOT, TVI_LAST);
    }
    if (root == nullptr) {
        return nullptr;
    }
    for (const std::wstring& child : texts) {
        if (FindChild(root, child) == nullptr &&
            InsertItem(child.c_str(), root, TVI_LAST) == nullptr) {
            break;
        }
    }
    return root;
}

HTREEITEM Attributes_Tree::AddValueAtSelection(const std::wstring& text) {
    HTREEITEM selected = GetSelectedItem();
    if (selected == nullptr) {
        return nullptr;
    }
    const int level = Level(selected);
    HTREEITEM parent = level == 1 ? selected : level == 2 ? GetParentItem(selected) : nullptr;
    if (parent == nullptr) {
        return nullptr;
    }
    HTREEITEM item = AppendEditable(text, parent);
    Expand(parent, TVE_EXPAND);
    SelectItem(item);
    return item;
}

void Attributes_Tree::ExpandAll() {
    for (HTREEITEM block = GetRootItem(); block != nullptr; block = GetNextSiblingItem(block)) {
        Expand(block, TVE_EXPAND);
        for (HTREEITEM tag = GetChildItem(block); tag != nullptr; tag = GetNextSiblingItem(tag)) {
            Expand(tag, TVE_EXPAND);
        }
    }
}

} // namespace gantrel
