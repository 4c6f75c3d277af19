// The editable tree: item records, in-place edits with identifier 99 and their ends.
#include "ui_test_support.h"

#include <gtest/gtest.h>

using namespace gantrel;
using ui_tests::ControlsDialog;

namespace {

class Tree : public ::testing::Test {
protected:
    // "Door" with the children "Width:12" (a label edit), "Frame" (a combo) and "Lock" (a
    // check box); "Legend" beside it.
    Tree() {
        door = tree.InsertItem(L"Door");
        width = tree.InsertItem(L"Width:12", door);
        frame = tree.InsertItem(L"Frame", door);
        lock = tree.InsertItem(L"Lock", door);
        legend = tree.InsertItem(L"Legend");
        tree.Record(width)->labelEdit = 1;
        tree.Record(frame)->comboEdit = 1;
        tree.Record(frame)->editable = 0;
        tree.Record(frame)->choices = {L"Frame", L"wood", L"steel"};
        tree.Record(lock)->checkEdit = 1;
        tree.Expand(door, TVE_EXPAND);
    }

    ControlsDialog dialog;
    ui_tests::RecordingTree& tree = dialog.tree;
    HTREEITEM door, width, frame, lock, legend;
};

TEST_F(Tree, ItemsCarryRecordsWithKeysLevelsAndPaths) {
    ASSERT_NE(tree.Record(width), nullptr);
    EXPECT_EQ(tree.Record(width)->text, CString(L"Width:12"));
    EXPECT_TRUE(tree.SetItemKey(door, L"1F"));
    EXPECT_EQ(tree.GetItemKey(door), CString(L"1F"));
    EXPECT_EQ(tree.Level(door), 0);
    EXPECT_EQ(tree.Level(width), 1);
    EXPECT_EQ(tree.Path(width), CString(L"Door/Width:12"));
    tree.SetItemText(legend, L"Key");
    EXPECT_EQ(tree.Record(legend)->text, CString(L"Key"));
    EXPECT_FALSE(tree.StartEdit(legend)) << "its record asks for no edit";
}

TEST_F(Tree, TheLabelEditTakesTheValueAfterTheColon) {
    ASSERT_TRUE(tree.ActivateItem(width));
    ASSERT_NE(tree.OpenEdit(), nullptr);
    EXPECT_EQ(tree.OpenEdit()->GetDlgCtrlID(), 99);
    EXPECT_EQ(tree.GetItemText(width), CString(L"Width"));
    EXPECT_EQ(tree.OpenEdit()->GetValue(), CString(L"12"));
    // The edit opens to the right of the cut label.
    CRect label;
    tree.GetItemRect(width, &label, TRUE);
    CRect edit;
    tree.OpenEdit()->GetWindowRect(&edit);
    tree.ScreenToClient(&edit);
    EXPECT_EQ(edit.left, label.right);
    EXPECT_EQ(edit.top, label.top);
    EXPECT_EQ(dialog.Act("dlg set 99 15"), "");
    dialog.Act("dlg key 99 enter");
    EXPECT_EQ(tree.OpenEdit(), nullptr);
    EXPECT_EQ(tree.GetItemText(width), CString(L"Width:15"));
    EXPECT_EQ(tree.handed, (std::vector<std::string>{":15"}));
    EXPECT_TRUE(dialog.IsWindowVisible()) << "Enter in the tree never closes the dialog";
}

TEST_F(Tree, EscRestoresTheSavedLabelAndLosingTheFocusKeepsTheEdit) {
    tree.StartEdit(width);
    dialog.Act("dlg set 99 99");
    dialog.Act("dlg key 99 esc");
    EXPECT_EQ(tree.GetItemText(width), CString(L"Width:12"));
    EXPECT_EQ(tree.handed, (std::vector<std::string>{"Width:12"}));
    EXPECT_EQ(tree.OpenEdit(), nullptr);
    tree.StartEdit(width);
    dialog.Act("dlg set 99 7");
    dialog.Act("dlg click 1"); // the focus goes to OK, which is not pressed by a click here
    EXPECT_EQ(tree.GetItemText(width), CString(L"Width:7"));
    EXPECT_EQ(tree.handed.back(), ":7");
}

TEST_F(Tree, EditKindsTakePrecedenceInOrderAndOneEditClosesTheOther) {
    tree.Record(frame)->labelEdit = 1; // both: the label edit wins
    tree.StartEdit(frame);
    EXPECT_NE(tree.OpenEdit(), nullptr);
    EXPECT_EQ(tree.OpenCombo(), nullptr);
    tree.Record(frame)->labelEdit = 0;
    tree.Record(frame)->checkEdit = 1; // combo before check box
    tree.StartEdit(frame);
    EXPECT_EQ(tree.OpenEdit(), nullptr) << "closed as its kill-focus would";
    EXPECT_EQ(tree.handed, (std::vector<std::string>{":"}));
    ASSERT_NE(tree.OpenCombo(), nullptr);
    EXPECT_EQ(tree.OpenCombo()->GetStyle() & CBS_TYPEMASK, CBS_DROPDOWNLIST);
    dialog.Act("dlg choose 99 steel");
    dialog.Act("dlg key 99 enter");
    EXPECT_EQ(tree.OpenCombo(), nullptr);
    EXPECT_EQ(tree.GetItemText(frame), CString(L"Frame")) << "a combo writes nothing";

    tree.StartEdit(lock);
    ASSERT_NE(tree.OpenCheckBox(), nullptr);
    dialog.Act("dlg click 99");
    dialog.Act("dlg click 2000"); // the box loses the focus and closes
    EXPECT_EQ(tree.OpenCheckBox(), nullptr);
    EXPECT_EQ(tree.Record(lock)->checkState, 1);
    EXPECT_TRUE(dialog.IsWindowVisible());
}

TEST_F(Tree, ColourItemsOpenAColourButtonWithTheColourAfterTheColon) {
    HTREEITEM colour = tree.InsertItem(L"Colour:3", door);
    tree.Record(colour)->colourEdit = 1;
    ASSERT_TRUE(tree.StartEdit(colour));
    ASSERT_NE(tree.OpenColourButton(), nullptr);
    EXPECT_EQ(tree.OpenColourButton()->GetColour(), 3);
    dialog.Act("dlg click 99");
    EXPECT_EQ(dialog.Act("dlg choose 99 5 blue"), "");
    EXPECT_EQ(tree.OpenColourButton()->GetColour(), 5);
    CString caption;
    tree.OpenColourButton()->GetWindowText(caption);
    EXPECT_EQ(caption, CString(L"5 blue"));
    EXPECT_EQ(UI_ColSel_btn::ColourOfText(L"GREEN"), 3);
    EXPECT_EQ(UI_ColSel_btn::ColourOfText(L"255"), 255);
    EXPECT_EQ(UI_ColSel_btn::ColourOfText(L"256"), 0);
    EXPECT_EQ(UI_ColSel_btn::ColourOfText(L"3 red"), 0);
}

TEST_F(Tree, ShowMarksTheItemWhoseEditorIsOpen) {
    tree.StartEdit(width);
    const std::string show = dialog.Act("dlg show");
    EXPECT_NE(show.find("  2000   tree\n"
                        "          [-] \"Door\"\n"
                        "                  \"Width\"  editing: edit 99 \"12\" focus\n"
                        "                  \"Frame\"\n"),
              std::string::npos)
        << show;
}

TEST_F(Tree, DestroyingTheTreeWithAnEditorOpenDeletesItAndEveryRecord) {
    tree.StartEdit(width);
    const HWND edit = tree.OpenEdit()->GetSafeHwnd();
    dialog.DestroyWindow(); // the sanitizer's leak check sees the records and the editor
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(tree.OpenEdit(), nullptr);
    EXPECT_TRUE(tree.handed.empty()) << "nothing is handed over when the dialog closes";
}

TEST_F(Tree, DeletingAnItemClosesTheEditorFirst) {
    tree.StartEdit(lock);
    const HWND box = tree.OpenCheckBox()->GetSafeHwnd();
    EXPECT_TRUE(tree.DeleteItem(door));
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(tree.GetCount(), 1u);
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
}

// A modal dialog: Enter and Esc pressed in the tree do not end it.
class TreeDialog : public CDialog {
public:
    TreeDialog() : CDialog(ui_tests::kDialogId) {}
    ui_tests::RecordingTree tree;

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        tree.SubclassDlgItem(ui_tests::kTreeId, this);
        HTREEITEM item = tree.InsertItem(L"Name:x");
        tree.Record(item)->labelEdit = 1;
        return TRUE;
    }
};

TEST(TreeKeys, EnterEscAndLeftControlStayInTheTree) {
    ui_tests::RegisterOnce();
    dialogs::ActionQueue user({"dlg key 2000 enter", "dlg key 2000 esc", "dlg choose 2000 Name:x",
                               "dlg key 2000 enter", "dlg click 2"});
    dialogs::SetThreadDialogOperator(&user);
    TreeDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    dialogs::SetThreadDialogOperator(nullptr);
    EXPECT_EQ(user.Transcript(), "");
}

} // namespace
