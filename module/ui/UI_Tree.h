// The tree whose items carry edit descriptions and are edited in place with the grid's
// editors (identifier 99, owned by the tree).
#pragma once

#include "ui/UI_Buttons.h"
#include "ui/UI_Edit.h"
#include "ui/UI_Values.h"

#include <memory>
#include <vector>

namespace gantrel {

// One per item, attached as the item's data; owned by the tree.
struct UI_TreeItem {
    int editable = 1;   // a combo: 1 the user may type, 0 choose only
    int labelEdit = 0;  // 1: the label is edited in a text edit (name:value)
    int comboEdit = 0;  // 1: edited in a combo box of `choices`
    int checkEdit = 0;  // 1: edited with a check box
    int colourEdit = 0; // 1: edited with a colour button
    int checkState = 0; // what the check box shows
    UI_StringArray choices;
    int reserved = -1;
    CString text;
    CString key; // what the owner finds the item by (a block handle, ...)
};

class UI_Tree : public CTreeCtrl {
public:
    static constexpr int kEditorId = 99;

    UI_Tree() = default;
    ~UI_Tree() override;

    // Inserts an item with a fresh record; nullptr when the tree refuses it.
    HTREEITEM InsertItem(LPCWSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    // Closes the editors, deletes the item with its descendants and their records.
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();

    UI_TreeItem* Record(HTREEITEM item) const;
    // The label, kept in the item and its record alike.
    BOOL SetItemText(HTREEITEM item, LPCWSTR text);
    CString GetItemKey(HTREEITEM item) const;
    bool SetItemKey(HTREEITEM item, const CString& key);
    // The number of ancestors: 0 for a top item.
    int Level(HTREEITEM item) const;
    // The texts of the ancestors, each followed by "/", then the item's own.
    CString Path(HTREEITEM item) const;

    // Closes every open editor, as its closing message would, then opens the editor the
    // item's record asks for: label edit, else combo, else check box, else colour button.
    // False when the record asks for none (or the editor cannot be made).
    bool StartEdit(HTREEITEM item);
    // Closes every open editor as its closing message would.
    void CloseEditors();

    // The item whose editor is open (nullptr when none) and the open editors.
    HTREEITEM EditedItem() const { return m_editedItem; }
    UI_Edit* OpenEdit() const { return m_edit.get(); }
    UI_Combo* OpenCombo() const { return m_combo.get(); }
    UI_CheckBox* OpenCheckBox() const { return m_check.get(); }
    UI_ColSel_btn* OpenColourButton() const { return m_colour.get(); }

    // The label edit: cuts the label at its first ":" and opens a UI_Edit with the rest to the
    // right of the remaining label. Subclasses may edit differently.
    virtual CWnd* BeginEdit(HTREEITEM item);
    // What an ended edit hands over: ":" and the edited text, or the label saved when the edit
    // began (after Esc). Nothing happens here; subclasses give it meaning.
    virtual void SetSelectedText(const CString& text);
    // Starts the edit the item's record asks for.
    virtual BOOL ActivateItem(HTREEITEM item);

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnDestroy() override;

    // The label saved when the label edit began.
    CString m_string;

private:
    void EndLabelEdit(bool keep);
    void CloseCombo();
    void CloseCheckBox();
    void CloseColourButton();
    void ForgetRecords(HTREEITEM item);
    // The rectangle right of an item's label, to the tree's right edge.
    CRect BesideLabel(HTREEITEM item) const;

    std::vector<std::unique_ptr<UI_TreeItem>> m_records;
    std::unique_ptr<UI_Edit> m_edit;
    std::unique_ptr<UI_Combo> m_combo;
    std::unique_ptr<UI_CheckBox> m_check;
    std::unique_ptr<UI_ColSel_btn> m_colour;
    HTREEITEM m_editedItem = nullptr;
};

} // namespace gantrel
