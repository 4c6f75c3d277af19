// The data grid: a report list whose cells can host live editors (text, number, combo box,
// check box, file button).
//
// A hosted editor is a child of the grid with the identifier G + 100 * row + column, where G is
// the grid's own identifier, so an owner recovers the cell from any editor's message; a grid
// therefore hosts editors in its first 100 columns only. The editors report to the grid, which
// passes a chosen file on to OnFileSelChanged. Every operation on a cell first checks that the
// row exists and the column is below the header's column count, and otherwise does nothing
// (false, -1 or an empty text).
#pragma once

#include "ui/UI_Buttons.h"
#include "ui/UI_Edit.h"
#include "ui/UI_Values.h"

#include <cstdint>
#include <vector>

namespace gantrel {

// What a cell hosts.
enum UI_CellKind : int {
    kCellNone = -1,
    kCellEdit = 1,
    kCellFileButton = 2,
    kCellCheckBox = 3,
    kCellCombo = 4,
    kCellNumeric = 11,
};

// One cell of a row; every row of a UI_DataGrid_2 carries one per header column.
struct UI_CellRecord {
    int kind = kCellNone;
    int editable = 1; // a combo box: 1 the user may type, 0 choose only
    int reserved = -1;
    UI_StringArray choices; // a combo box's choices
    HWND control = nullptr; // the hosted editor's window
    CWnd* editor = nullptr; // the object behind `control`, owned by the grid
};

// The report list with grid lines whose columns can be locked against resizing.
class UI_DataGrid : public CListCtrl {
public:
    // 1: the user cannot drag the column dividers.
    std::int32_t m_lock = 0;

    virtual BOOL DeleteAllRows();

protected:
    void PreSubclassWindow() override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

class UI_DataGrid_2 : public UI_DataGrid {
public:
    UI_DataGrid_2() = default;
    ~UI_DataGrid_2() override;

    // Inserts a row with `text` in its first column; the new row's index or -1.
    int InsertRow(int row, const CString& text);
    // Destroys the row's editors, frees its cells and deletes it; the rows below move up with
    // their editors (which take their new cell identifiers).
    BOOL DeleteRow(int row);
    void DeleteSelectedRows();
    BOOL DeleteAllRows() override;

    // The cell's rectangle in the grid's client area, scrolling the grid sideways first when
    // the cell lies outside it.
    BOOL GetCellRect(int row, int column, CRect& rect);
    // The identifier of the editor a cell hosts (whether or not it hosts one).
    int CellId(int row, int column) const;

    // Each adder replaces an editor the cell hosts already; false (the cell keeps its kind)
    // when the editor cannot be made.
    bool AddEdit(int row, int column);
    bool AddNumericEdit(int row, int column);
    bool AddCombo(int row, int column, const UI_StringArray& choices, bool editable);
    bool SetComboChoices(int row, int column, const UI_StringArray& choices);
    bool SelectComboIndex(int row, int column, int index);
    bool SelectComboText(int row, int column, const CString& text);
    bool AddCheckBox(int row, int column, bool state);
    bool SetCheck(int row, int column, bool value);
    bool AddFileButton(int row, int column);

    // The hosted editor's text ("+" or "-" for a check box), else the list's own text.
    CString GetCellText(int row, int column) const;
    // Into the hosted editor, else into the list's own text.
    bool SetCellText(int row, int column, const CString& text);
    CString GetChoice(int row, int column, int index) const;
    // Appends to the cell's choices, and to its combo box when it hosts one.
    bool AddChoice(int row, int column, const CString& text);

    // Rows as high as `height` pixels (through a small-image list of 1-pixel-wide images).
    void SetRowHeight(int height);

    const UI_CellRecord* Cell(int row, int column) const;
    CWnd* CellEditor(int row, int column) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // A file was chosen with the file button of a cell. Nothing happens here; grids that show
    // the file somewhere override it. The row must not be deleted from here.
    virtual void OnFileSelChanged(int row, int column, UI_DG_B_FileSelector& button);
    void OnDestroy() override;

private:
    using Row = std::vector<UI_CellRecord>;
    Row* RowOf(int row) const;
    UI_CellRecord* CellOf(int row, int column) const;
    int HeaderColumns() const;
    // The cell rectangle without scrolling.
    bool CellRect(int row, int column, CRect& rect) const;
    static CRect EditorRect(int kind, const CRect& cell);
    // Gives a new editor its window in the cell; deletes it and answers false when that fails.
    bool Host(int row, int column, int kind, CWnd* editor, bool created);
    static void DropEditor(UI_CellRecord& cell);
    // Moves the editors of rows from `first` on to their cells, with their identifiers.
    void PlaceEditors(int first);

    CImageList m_rowHeightImages;
};

} // namespace gantrel
