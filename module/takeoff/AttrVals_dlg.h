// The value-list editor of "Tallimo:Attributes": the description blocks of the three templates
// with their attribute tags and each tag's gathered values in a tree, saved to the drawing's
// store on OK. AttrVals_dlg holds what the editor does; MFCAttrVals_dlg is its dialog (8008)
// over an Attributes_Tree.
#pragma once

#include "frame/Ini.h"
#include "takeoff/DescriptionBlocks.h"
#include "tools/Attributes_Tree.h"

#include <string>
#include <vector>

#include "afxwin.h"

namespace gantrel {

class AttrVals_dlg {
public:
    virtual ~AttrVals_dlg() = default;

    // Lists the blocks and tags of the templates, then their values, and expands everything.
    virtual void Refresh();
    // Adds the block's item and one item per non-constant tag, for each template block.
    virtual void FillTemplates();
    // Adds, under each block and non-constant tag, the tag's gathered values.
    virtual void FillValuesOfAllTemplates();
    // Adds every tag's values in the editor to its stored list, then resets the companion.
    virtual void Save();
    // Removes a value from the stored list named `list` at once (a removal survives Cancel).
    virtual void RemoveStoredValue(const std::wstring& list, const std::wstring& value);
    virtual void ResetCompanionState();

protected:
    virtual HTREEITEM AddBlockItem(ZcDbObjectId block) = 0;
    virtual HTREEITEM AddTagItem(ZcDbObjectId block, const std::wstring& tag) = 0;
    virtual void AddValue(ZcDbObjectId block, const std::wstring& tag,
                          const std::wstring& value) = 0;
    virtual std::vector<std::wstring> ValuesOfTag(ZcDbObjectId block, const std::wstring& tag) = 0;
    virtual void ExpandAll() = 0;
};

class MFCAttrVals_dlg : public CDialogEx, public AttrVals_dlg {
public:
    MFCAttrVals_dlg();

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void OnOK() override;
    HTREEITEM AddBlockItem(ZcDbObjectId block) override;
    HTREEITEM AddTagItem(ZcDbObjectId block, const std::wstring& tag) override;
    void AddValue(ZcDbObjectId block, const std::wstring& tag, const std::wstring& value) override;
    std::vector<std::wstring> ValuesOfTag(ZcDbObjectId block, const std::wstring& tag) override;
    void ExpandAll() override;

private:
    void OnAddValue();
    void OnValuesFromFile();
    void OnCopyTag();
    void OnRemove();
    // The top item above the item (itself for a top item).
    HTREEITEM TopItemOf(HTREEITEM item) const;

    Attributes_Tree m_tree;
};

// The handler of "Tallimo:Attributes": the editor, shown modally.
void AttrValsCommand();

} // namespace gantrel
