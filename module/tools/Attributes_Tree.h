// The tree of block attribute values: block definitions at the top (keyed by the block's
// handle), their attribute tags below, and the values of each tag below those. Texts compare
// without regard to case; new items always go last under their parent.
#pragma once

#include "ui/UI_Edit.h"
#include "ui/UI_Tree.h"

#include <memory>
#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel {

class Attributes_Tree : public UI_Tree {
public:
    Attributes_Tree() = default;
    ~Attributes_Tree() override;

    // Edits the whole label in place (identifier 99) over the label's part of the row.
    CWnd* BeginEdit(HTREEITEM item) override;
    void SetSelectedText(const CString& text) override;
    // Starts the edit the record allows when the item is the selected one; FALSE.
    BOOL ActivateItem(HTREEITEM item) override;
    // Appends the texts of the values under the block's item and the tag, from every tag item
    // of that text (a copied tag keeps its values too).
    virtual void GetValues(ZcDbObjectId block, const std::wstring& tag,
                           std::vector<std::wstring>& values);
    virtual void CollectChildren(HTREEITEM item, std::vector<std::wstring>& values);

    // The top item of the block; nullptr when there is none.
    HTREEITEM FindBlockItem(ZcDbObjectId block) const;
    // The block's top item, appended (labelled with the block's name) when there is none and
    // the block is in the drawing; nullptr otherwise.
    HTREEITEM AddBlockItem(ZcDbObjectId block);
    HTREEITEM AddTagItem(ZcDbObjectId block, const std::wstring& tag);
    // The value under the block and tag (the tag item appended when missing), unless the tag
    // has it already.
    HTREEITEM AddValue(ZcDbObjectId block, const std::wstring& tag, const std::wstring& value);
    // The top item of the text (appended when missing) with a child for every text it lacks.
    HTREEITEM AddRootWithChildren(const std::wstring& text, const std::vector<std::wstring>& texts);
    // Appends an editable value under the selected tag (or the tag of the selected value),
    // expands and selects it; nullptr, adding nothing, on a block item.
    HTREEITEM AddValueAtSelection(const std::wstring& text);

    // The child of `parent` whose text equals `text` without regard to case.
    HTREEITEM FindChild(HTREEITEM parent, const std::wstring& text) const;
    // Appends an item whose label is edited in place.
    HTREEITEM AppendEditable(const std::wstring& text, HTREEITEM parent);
    void ExpandAll();
    UI_Edit* Editor() const { return m_editor.get(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnDestroy() override;

private:
    void EndEdit(bool keep);

    CString m_editedText;
    std::unique_ptr<UI_Edit> m_editor;
};

// The handle text a block's top item carries as its key.
std::wstring HandleText(ZcDbObjectId block);

} // namespace gantrel
