// The attribute tree of the value-list editor, in a modeless dialog operated with dlg lines:
// blocks keyed by handle, tags and values compared without regard to case, values added at the
// selection, and the in-place edit's ends.
#include "TakeoffTest.h"

#include "dialog_operator.h"
#include "dialog_resources.h"
#include "tools/Attributes_Tree.h"
#include "ui/UI_Messages.h"

#include "winhost.h"

namespace gantrel {
namespace {

constexpr UINT kTreeDialog = 9781;
constexpr int kTreeId = 59204;

const DialogItem kItems[] = {
    {.id = kTreeId, .kind = DialogItemKind::Tree, .rect = {10, 10, 300, 300}},
    {.id = IDOK, .kind = DialogItemKind::PushButton, .text = L"OK", .rect = {10, 310, 80, 330}},
};

class TreeDialog : public CDialog {
public:
    TreeDialog() : CDialog(kTreeDialog) {
        RegisterUIMessages();
        RegisterDialogResource({.id = kTreeDialog,
                                .caption = L"Tree",
                                .rect = {0, 0, 320, 340},
                                .items = kItems,
                                .style = WS_VISIBLE});
        Create(kTreeDialog);
    }
    ~TreeDialog() override { DestroyWindow(); }

    void Act(const std::string& line) {
        std::string error;
        const auto action = dialogs::ParseDialogLine(line, error);
        ASSERT_TRUE(action.has_value()) << line << ": " << error;
        dialogs::ActionQueue told;
        dialogs::ApplyAction(*this, *action, told);
        EXPECT_EQ(told.Transcript(), "") << line;
    }

    Attributes_Tree tree;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        tree.SubclassDlgItem(kTreeId, this);
        return TRUE;
    }
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->code == TVN_SELCHANGED) {
            tree.ActivateItem(reinterpret_cast<const NMTREEVIEW*>(lParam)->itemNew);
            return TRUE;
        }
        return CDialog::OnNotify(wParam, lParam, result);
    }
};

class AttributesTree : public TakeoffTest {
protected:
    std::vector<std::wstring> valuesOf(ZcDbObjectId block, const std::wstring& tag) {
        std::vector<std::wstring> values;
        dialog.tree.GetValues(block, tag, values);
        return values;
    }

    ZcDbObjectId block = addDescriptionBlock(L"AreaDescription", {{L"LOCATION", false}});
    TreeDialog dialog;
    Attributes_Tree& tree = dialog.tree;
};

TEST_F(AttributesTree, BlocksAreKeyedByHandleAndValuesAddedOnceInAnyCase) {
    HTREEITEM top = tree.AddBlockItem(block);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(tree.GetItemText(top), CString(L"AreaDescription"));
    EXPECT_EQ(tree.GetItemKey(top), CString(HandleText(block)));
    EXPECT_EQ(tree.AddBlockItem(block), top);
    // A block that is not in the block table adds nothing.
    const ZcDbObjectId line = addLine(0, 0, 1, 1);
    EXPECT_EQ(tree.AddBlockItem(line), nullptr);
    EXPECT_EQ(tree.AddBlockItem(ZcDbObjectId::kNull), nullptr);
    EXPECT_EQ(tree.GetCount(), 1u);

    tree.AddTagItem(block, L"LOCATION");
    tree.AddValue(block, L"LOCATION", L"Roof");
    const UINT count = tree.GetCount();
    tree.AddValue(block, L"location", L"ROOF");
    EXPECT_EQ(tree.GetCount(), count);
    tree.AddValue(block, L"FINISH", L"Oak");
    EXPECT_EQ(valuesOf(block, L"LOCATION"), (std::vector<std::wstring>{L"Roof"}));
    EXPECT_EQ(valuesOf(block, L"FINISH"), (std::vector<std::wstring>{L"Oak"}));

    HTREEITEM root = tree.AddRootWithChildren(L"areadescription", {L"ID", L"location", L"ID2"});
    EXPECT_EQ(root, top);
    std::vector<std::wstring> tags;
    tree.CollectChildren(top, tags);
    EXPECT_EQ(tags, (std::vector<std::wstring>{L"LOCATION", L"FINISH", L"ID", L"ID2"}));
}

TEST_F(AttributesTree, AddingAtTheSelectionAndEndingTheEdit) {
    tree.AddBlockItem(block);
    HTREEITEM tag = tree.AddTagItem(block, L"LOCATION");
    tree.AddValue(block, L"LOCATION", L"Roof");
    tree.ExpandAll();
    // On a block item nothing is added.
    dialog.Act("dlg choose 59204 AreaDescription");
    EXPECT_EQ(tree.AddValueAtSelection(L" "), nullptr);
    // On a value, its tag takes the new value, which opens for editing at once.
    dialog.Act("dlg choose 59204 AreaDescription/LOCATION/Roof");
    HTREEITEM added = tree.AddValueAtSelection(L" ");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(tree.GetParentItem(added), tag);
    EXPECT_EQ(tree.GetSelectedItem(), added);
    ASSERT_NE(tree.Editor(), nullptr);
    EXPECT_EQ(tree.Editor()->GetDlgCtrlID(), 99);
    dialog.Act("dlg set 99 Attic");
    dialog.Act("dlg key 99 enter");
    EXPECT_EQ(tree.Editor(), nullptr);
    EXPECT_EQ(valuesOf(block, L"LOCATION"), (std::vector<std::wstring>{L"Roof", L"Attic"}));

    // An emptied field and Esc both give the earlier text back.
    dialog.Act("dlg choose 59204 AreaDescription/LOCATION");
    tree.AddValueAtSelection(L"Cellar");
    dialog.Act("dlg set 99 ");
    dialog.Act("dlg key 99 enter");
    dialog.Act("dlg choose 59204 AreaDescription/LOCATION");
    tree.AddValueAtSelection(L"Shed");
    dialog.Act("dlg set 99 Garage");
    dialog.Act("dlg key 99 esc");
    EXPECT_EQ(valuesOf(block, L"LOCATION"),
              (std::vector<std::wstring>{L"Roof", L"Attic", L"Cellar", L"Shed"}));
    // Values under a copy of the tag count too.
    HTREEITEM copy = tree.InsertItem(L"location", tree.FindBlockItem(block), tag);
    tree.InsertItem(L"Loft", copy);
    EXPECT_EQ(valuesOf(block, L"LOCATION").back(), L"Loft");
}

} // namespace
} // namespace gantrel
