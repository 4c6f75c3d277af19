// The data grid and its cell editors, operated as a user operates them.
#include "ui_test_support.h"

#include "ui/UI_Messages.h"

#include <gtest/gtest.h>

using namespace gantrel;
using ui_tests::ControlsDialog;

namespace {

class Grid : public ::testing::Test {
protected:
    // Four rows "r0".."r3" with the texts "a<row>" and "b<row>" in the other two columns.
    Grid() {
        for (int row = 0; row < 4; ++row) {
            const CString suffix = std::to_wstring(row);
            grid.InsertRow(row, L"r" + suffix);
            grid.SetItemText(row, 1, L"a" + suffix);
            grid.SetItemText(row, 2, L"b" + suffix);
        }
    }
    HWND Editor(int row, int column) {
        CWnd* editor = grid.CellEditor(row, column);
        return editor != nullptr ? editor->GetSafeHwnd() : nullptr;
    }

    ControlsDialog dialog;
    ui_tests::RecordingGrid& grid = dialog.grid;
};

using Heard = std::vector<std::string>;

TEST_F(Grid, CellEditorsAreNumberedByRowAndColumnAndArrowsAskForTheNeighbours) {
    ASSERT_TRUE(grid.AddEdit(2, 1));
    EXPECT_EQ(grid.CellEditor(2, 1)->GetDlgCtrlID(), 1201);
    EXPECT_EQ(grid.Cell(2, 1)->kind, kCellEdit);
    grid.heard.clear();
    // The caret stands after the text "a2": Right leaves the cell at once, Left walks inside
    // the text until its start, and Up and Down always leave.
    dialog.Act("dlg key 1201 right");
    dialog.Act("dlg key 1201 left");
    dialog.Act("dlg key 1201 left");
    dialog.Act("dlg key 1201 left");
    dialog.Act("dlg key 1201 up");
    dialog.Act("dlg key 1201 down");
    EXPECT_EQ(grid.heard, (Heard{"EDIT_ACTIVATED 0", "DG_SETACTIVE 1202", "DG_SETACTIVE 1200",
                                 "DG_SETACTIVE 1101", "DG_SETACTIVE 1301"}));
    grid.heard.clear();
    dialog.Act("dlg key 1201 enter");
    dialog.Act("dlg key 1201 esc");
    EXPECT_EQ(grid.heard, (Heard{"EDIT_KILL_FOCUS 1201", "EDIT_VK_ESCAPE 1201"}));
    EXPECT_TRUE(dialog.IsWindowVisible()) << "Enter and Esc stay in the editor";
}

TEST_F(Grid, DeleteRemovesTheSelectionOrTheCharacterAfterTheCaret) {
    ASSERT_TRUE(grid.AddEdit(0, 1));
    grid.SetCellText(0, 1, L"12345");
    dialog.Act("dlg key 1001 left"); // the caret stands at the start: Left leaves
    dialog.Act("dlg key 1001 right");
    dialog.Act("dlg key 1001 delete");
    EXPECT_EQ(grid.GetCellText(0, 1), CString(L"1345"));
    auto* edit = dynamic_cast<CEdit*>(grid.CellEditor(0, 1));
    ASSERT_NE(edit, nullptr);
    edit->SetSel(1, 3);
    dialog.Act("dlg key 1001 delete");
    EXPECT_EQ(grid.GetCellText(0, 1), CString(L"15"));
    EXPECT_EQ(edit->CharFromCaret(), 1);
}

TEST_F(Grid, NumericCellsKeepTheirInitialTextForWhatIsNotANumber) {
    ASSERT_TRUE(grid.AddNumericEdit(1, 1));
    ASSERT_TRUE(grid.AddNumericEdit(1, 2));
    auto* number = dynamic_cast<UI_DG_E_Numeric*>(grid.CellEditor(1, 1));
    ASSERT_NE(number, nullptr);
    dialog.Act("dlg set 1101 abc");
    EXPECT_EQ(number->GetValue(), CString(L"a1")) << "not a number: the initial text";
    dialog.Act("dlg click 1102"); // leaving the cell puts the initial text back
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"a1"));
    dialog.Act("dlg set 1101 ");
    EXPECT_EQ(number->GetValue(), CString(L"0.000"));
    dialog.Act("dlg set 1101 -3,5");
    dialog.Act("dlg click 1102");
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"-3,5"));

    double value = 0.0;
    EXPECT_TRUE(UI_DG_E_Numeric::IsNumber(L".5"));
    EXPECT_TRUE(UI_DG_E_Numeric::ReadNumber(L"-3,5", value));
    EXPECT_DOUBLE_EQ(value, -3.5);
    EXPECT_TRUE(UI_DG_E_Numeric::ReadNumber(L".5", value));
    EXPECT_DOUBLE_EQ(value, 0.5);
    // Passes the first-character rule, yet reads as no number.
    EXPECT_TRUE(UI_DG_E_Numeric::IsNumber(L"1,2,3"));
    EXPECT_FALSE(UI_DG_E_Numeric::ReadNumber(L"1,2,3", value));
    EXPECT_FALSE(UI_DG_E_Numeric::ReadNumber(L"0x10", value));
}

TEST_F(Grid, ComboAndCheckBoxSendTheirClosingMessageOnce) {
    ASSERT_TRUE(grid.AddCombo(0, 1, {L"mm", L"cm", L"m"}, false));
    ASSERT_TRUE(grid.AddCheckBox(0, 2, true));
    EXPECT_EQ(grid.GetCellText(0, 1), CString()) << "\"a0\" is not one of the choices";
    dialog.Act("dlg choose 1001 cm");
    dialog.Act("dlg key 1001 enter");
    dialog.Act("dlg key 1001 tab");
    dialog.Act("dlg key 1001 esc");
    dialog.Act("dlg click 1002");
    dialog.Act("dlg click 1001");
    dialog.Act("dlg click 1002");
    dialog.Act("dlg click 1001");
    // The check box took the focus when it was added and loses it for the first time when the
    // combo is chosen from.
    EXPECT_EQ(grid.heard, (Heard{"Check_KILL 0", "DGITEM_ACTIVATED 1001", "COMBO_KILL_FOCUS 0"}));
    EXPECT_EQ(grid.GetCellText(0, 1), CString(L"cm"));
    EXPECT_EQ(grid.GetCellText(0, 2), CString(L"+")) << "clicked twice";
    grid.SetCellText(0, 2, L"-");
    EXPECT_EQ(grid.GetCellText(0, 2), CString(L"-"));
    grid.SetCellText(0, 2, L"+");
    EXPECT_EQ(grid.GetCellText(0, 2), CString(L"+"));
}

TEST_F(Grid, ComboChoicesAndTexts) {
    ASSERT_TRUE(grid.AddCombo(1, 1, {L"x", L"a1"}, false));
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"a1")) << "the cell's text is chosen";
    EXPECT_EQ(grid.GetChoice(1, 1, 1), CString(L"a1"));
    EXPECT_EQ(grid.GetChoice(1, 1, 2), CString());
    ASSERT_TRUE(grid.AddChoice(1, 1, L"y"));
    EXPECT_TRUE(grid.SelectComboText(1, 1, L"y"));
    EXPECT_FALSE(grid.SelectComboText(1, 1, L"zz")) << "a drop-down list takes no typing";
    ASSERT_TRUE(grid.SetComboChoices(1, 1, {L"y", L"z"}));
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"y")) << "still one of the choices";
    EXPECT_TRUE(grid.SelectComboIndex(1, 1, 1));
    EXPECT_EQ(grid.GetCellText(1, 1), CString(L"z"));
    ASSERT_TRUE(grid.AddCombo(2, 1, {L"p"}, true));
    EXPECT_TRUE(grid.SelectComboText(2, 1, L"typed"));
    EXPECT_EQ(grid.GetCellText(2, 1), CString(L"typed"));
    auto* combo = dynamic_cast<CComboBox*>(grid.CellEditor(2, 1));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->GetStyle() & CBS_TYPEMASK, CBS_DROPDOWN);
}

TEST_F(Grid, OperationsOnCellsThatDoNotExistDoNothing) {
    EXPECT_FALSE(grid.AddEdit(4, 0));
    EXPECT_FALSE(grid.AddEdit(0, 3));
    EXPECT_FALSE(grid.AddCheckBox(-1, 0, true));
    EXPECT_FALSE(grid.SetCellText(9, 1, L"x"));
    EXPECT_EQ(grid.GetCellText(0, 5), CString());
    EXPECT_EQ(grid.GetCellText(3, 2), CString(L"b3")) << "no editor: the list's text";
    EXPECT_FALSE(grid.SetCheck(0, 1, true)) << "no check box there";
    CRect rect;
    EXPECT_FALSE(grid.GetCellRect(0, 3, rect));
}

TEST_F(Grid, DeletingRowsDestroysTheirEditorsAndRenumbersTheRest) {
    ASSERT_TRUE(grid.AddEdit(1, 1));
    ASSERT_TRUE(grid.AddCheckBox(1, 2, false));
    ASSERT_TRUE(grid.AddFileButton(2, 2));
    ASSERT_TRUE(grid.AddNumericEdit(3, 1));
    const HWND edit = Editor(1, 1);
    const HWND box = Editor(1, 2);
    CRect before;
    grid.CellEditor(2, 2)->GetWindowRect(&before);
    ASSERT_TRUE(grid.DeleteRow(1));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_FALSE(IsWindow(box));
    // The rows below moved up one row, their editors with them.
    EXPECT_EQ(grid.CellEditor(1, 2)->GetDlgCtrlID(), 1102);
    EXPECT_EQ(grid.CellEditor(2, 1)->GetDlgCtrlID(), 1201);
    CRect after;
    grid.CellEditor(1, 2)->GetWindowRect(&after);
    EXPECT_EQ(before.top - after.top, grid.GetRowHeight());
    EXPECT_EQ(dialog.Act("dlg key 1301 up"), "dlg: no control 1301 in dialog 9701");

    grid.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    grid.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    const HWND numeric = Editor(2, 1);
    grid.DeleteSelectedRows();
    EXPECT_EQ(grid.GetItemCount(), 1);
    EXPECT_EQ(grid.GetItemText(0, 0), CString(L"r2"));
    EXPECT_FALSE(IsWindow(numeric));
    EXPECT_EQ(grid.CellEditor(0, 2)->GetDlgCtrlID(), 1002);
}

TEST_F(Grid, DestroyingTheGridDeletesEveryRowAndEditor) {
    ASSERT_TRUE(grid.AddEdit(0, 1));
    ASSERT_TRUE(grid.AddCombo(1, 1, {L"a"}, true));
    ASSERT_TRUE(grid.AddCheckBox(2, 1, true));
    ASSERT_TRUE(grid.AddFileButton(3, 2));
    const HWND editors[] = {Editor(0, 1), Editor(1, 1), Editor(2, 1), Editor(3, 2)};
    dialog.DestroyWindow(); // the grid goes with its dialog; the sanitizer checks the rest
    for (HWND editor : editors) {
        EXPECT_FALSE(IsWindow(editor));
    }
    EXPECT_EQ(grid.GetSafeHwnd(), nullptr);
}

TEST_F(Grid, ReplacingAnEditorDestroysTheOldOne) {
    ASSERT_TRUE(grid.AddEdit(0, 1));
    const HWND first = Editor(0, 1);
    ASSERT_TRUE(grid.AddCombo(0, 1, {L"a0"}, false));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(grid.GetCellText(0, 1), CString(L"a0"));
    EXPECT_EQ(grid.Cell(0, 1)->kind, kCellCombo);
}

TEST_F(Grid, CellsBeyondTheRightEdgeScrollIntoViewWithTheirEditors) {
    grid.InsertColumn(3, L"Far", LVCFMT_LEFT, 150);
    grid.InsertRow(4, L"r4"); // made after the column: it has a fourth cell
    ASSERT_TRUE(grid.AddEdit(4, 1));
    CRect edit;
    grid.CellEditor(4, 1)->GetWindowRect(&edit);
    CRect cell;
    ASSERT_TRUE(grid.GetCellRect(4, 3, cell));
    // The cell starts at 300 in a 300-pixel grid: it scrolls as far as the columns go (150).
    EXPECT_EQ(grid.GetScrollPos(0), 150);
    EXPECT_EQ(cell.left, 300 - 150 + 2);
    EXPECT_EQ(cell.Width(), 146);
    CRect moved;
    grid.CellEditor(4, 1)->GetWindowRect(&moved);
    EXPECT_EQ(edit.left - moved.left, 150);
    EXPECT_FALSE(grid.AddEdit(0, 3)) << "rows made before the column have no cell there";
}

TEST_F(Grid, RowHeightAndEditorPlaces) {
    grid.SetRowHeight(30);
    EXPECT_EQ(grid.GetRowHeight(), 30);
    ASSERT_TRUE(grid.AddEdit(2, 1));
    CRect edit;
    grid.CellEditor(2, 1)->GetWindowRect(&edit);
    grid.ScreenToClient(&edit);
    // Header 20, two rows of 30; the cell starts 2 right of column 1 and is 96 wide and 31
    // high; the edit sits 2 below its top and 2 inside its right and bottom.
    EXPECT_EQ(edit, CRect(102, 82, 196, 109));
}

TEST_F(Grid, LockedColumnsCannotBeResized) {
    dialogs::ActionQueue told;
    dialogs::DialogAction drag;
    drag.kind = dialogs::DialogAction::Kind::ResizeColumn;
    drag.control = ui_tests::kGridId;
    drag.column = 1;
    drag.number = 50;
    dialogs::ApplyAction(dialog, drag, told);
    EXPECT_EQ(grid.GetColumnWidth(1), 50);
    grid.m_lock = 1;
    drag.number = 80;
    dialogs::ApplyAction(dialog, drag, told);
    EXPECT_EQ(grid.GetColumnWidth(1), 50);
    EXPECT_EQ(told.Transcript(), "dlg: column 1 of control 1000 cannot be resized");
    EXPECT_NE(grid.GetExtendedStyle() & LVS_EX_GRIDLINES, 0u);
}

TEST_F(Grid, ShowPrintsEachCellWithItsEditor) {
    grid.DeleteRow(3);
    grid.DeleteRow(2);
    ASSERT_TRUE(grid.AddNumericEdit(0, 1));
    ASSERT_TRUE(grid.AddCombo(1, 1, {L"a1", L"z"}, false));
    ASSERT_TRUE(grid.AddFileButton(1, 2));
    ASSERT_TRUE(grid.AddCheckBox(0, 2, true));
    const std::string show = dialog.Act("dlg show");
    EXPECT_NE(show.find("  1000   list\n"
                        "          columns: \"Name\" | \"Value\" | \"More\"\n"
                        "          row 0: \"r0\" | [edit 1001 \"a0\"] | [check box 1002 checked "
                        "focus]\n"
                        "          row 1: \"r1\" | [drop-down list 1101 \"a1\" of \"a1\", \"z\"] "
                        "| [push button 1102 \"...\"]\n"
                        "  2000   tree"),
              std::string::npos)
        << show;
}

} // namespace

namespace {

// A window that writes down the controls' messages it receives.
class RecordingOwner : public CWnd {
public:
    std::vector<std::string> heard;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (const std::string name = ui_tests::Describe(message, wParam); !name.empty()) {
            heard.push_back(name);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

TEST(Owner, AnEditorReportsToItsOwnerOnlyWhileTheOwnerExists) {
    ControlsDialog dialog;
    auto owner = std::make_unique<RecordingOwner>();
    ASSERT_TRUE(owner->Create(L"owner", L"", WS_CHILD, CRect(0, 0, 10, 10), &dialog, 500));
    UI_Edit edit(L"x", owner.get());
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 50, 20), &dialog, 501));
    EXPECT_EQ(edit.GetOwner(), owner.get()) << "the owner is not the parent";
    UI_CheckBox box(owner.get());
    ASSERT_TRUE(box.Create(L"", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(0, 30, 20, 50),
                           &dialog, 502));
    dialog.Act("dlg key 501 enter");
    EXPECT_EQ(owner->heard, (std::vector<std::string>{"EDIT_KILL_FOCUS 501"}));
    EXPECT_TRUE(edit.HasNotified());
    owner.reset(); // the owner's window goes with it
    dialog.Act("dlg key 501 esc");
    dialog.Act("dlg click 502"); // the edit loses the focus
    dialog.Act("dlg click 501"); // the check box loses it
    EXPECT_TRUE(box.HasNotified());
    EXPECT_EQ(edit.OwnerWindow() != nullptr, true);
    EXPECT_FALSE(IsWindow(edit.OwnerWindow()));
}

TEST(Owner, WithoutAnOwnerTheParentHearsTheEditor) {
    ControlsDialog dialog;
    RecordingOwner parent;
    ASSERT_TRUE(
        parent.Create(L"parent", L"", WS_CHILD | WS_VISIBLE, CRect(0, 0, 100, 100), &dialog, 600));
    UI_Combo combo(L"start");
    ASSERT_TRUE(
        combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(0, 0, 80, 20), &parent, 601));
    CString text;
    combo.GetWindowText(text);
    EXPECT_EQ(text, CString(L"start"));
    dialog.Act("dlg set 601 ab\x1b"); // Esc typed as a character into the edit part
    dialog.Act("dlg key 601 enter");
    EXPECT_EQ(parent.heard, (std::vector<std::string>{"COMBO_VK_ESCAPE 0"}));
}

} // namespace
