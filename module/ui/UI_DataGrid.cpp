#include "ui/UI_DataGrid.h"

#include <memory>

namespace gantrel {

// --- UI_DataGrid --------------------------------------------------------------------------------

void UI_DataGrid::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    SetExtendedStyle(GetExtendedStyle() | LVS_EX_GRIDLINES);
}

BOOL UI_DataGrid::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (m_lock == 1 && header != nullptr &&
        (header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA)) {
        *result = TRUE; // the drag of a column divider never starts
        return TRUE;
    }
    return CListCtrl::OnNotify(wParam, lParam, result);
}

BOOL UI_DataGrid::DeleteAllRows() {
    return DeleteAllItems();
}

// --- UI_DataGrid_2: rows ------------------------------------------------------------------------

UI_DataGrid_2::~UI_DataGrid_2() {
    if (m_hWnd != nullptr) {
        DestroyWindow(); // while this is still a grid, so that OnDestroy frees the rows
    }
}

void UI_DataGrid_2::OnDestroy() {
    DeleteAllRows();
    UI_DataGrid::OnDestroy();
}

int UI_DataGrid_2::HeaderColumns() const {
    const CHeaderCtrl* header = GetHeaderCtrl();
    return header != nullptr ? header->GetItemCount() : 0;
}

UI_DataGrid_2::Row* UI_DataGrid_2::RowOf(int row) const {
    if (row < 0 || row >= GetItemCount()) {
        return nullptr;
    }
    return reinterpret_cast<Row*>(GetItemData(row));
}

UI_CellRecord* UI_DataGrid_2::CellOf(int row, int column) const {
    Row* cells = RowOf(row);
    if (cells == nullptr || column < 0 || column >= HeaderColumns() ||
        column >= static_cast<int>(cells->size())) {
        return nullptr;
    }
    return &(*cells)[static_cast<size_t>(column)];
}

const UI_CellRecord* UI_DataGrid_2::Cell(int row, int column) const {
    return CellOf(row, column);
}

CWnd* UI_DataGrid_2::CellEditor(int row, int column) const {
    const UI_CellRecord* cell = CellOf(row, column);
    return cell != nullptr && IsWindow(cell->control) ? cell->editor : nullptr;
}

int UI_DataGrid_2::InsertRow(int row, const CString& text) {
    const int at = InsertItem(row, text);
    if (at < 0) {
        return -1;
    }
    auto cells = std::make_unique<Row>(static_cast<size_t>(std::max(0, HeaderColumns())));
    if (!SetItemData(at, reinterpret_cast<DWORD_PTR>(cells.get()))) {
        DeleteItem(at);
        return -1;
    }
    cells.release(); // now the row's
    PlaceEditors(at + 1);
    return at;
}

void UI_DataGrid_2::DropEditor(UI_CellRecord& cell) {
    CWnd* editor = cell.editor;
    cell.editor = nullptr;
    cell.control = nullptr;
    if (editor != nullptr) {
        editor->DestroyWindow();
        delete editor;
    }
}

BOOL UI_DataGrid_2::DeleteRow(int row) {
    if (row < 0 || row >= GetItemCount()) {
        return FALSE;
    }
    if (Row* cells = RowOf(row)) {
        SetItemData(row, 0);
        for (auto& cell : *cells) {
            DropEditor(cell);
        }
        delete cells;
    }
    const BOOL deleted = DeleteItem(row);
    PlaceEditors(row);
    return deleted;
}

void UI_DataGrid_2::DeleteSelectedRows() {
    // Deleting a row clears the selection mark; the next selected row is then looked up, so
    // that a selection of several rows is deleted whole and the loop always ends.
    while (GetSelectedCount() > 0) {
        int row = GetSelectionMark();
        if (row < 0 || GetItemState(row, LVIS_SELECTED) == 0) {
            row = GetNextItem(-1, LVNI_SELECTED);
        }
        if (row < 0 || !DeleteRow(row)) {
            break;
        }
    }
}

BOOL UI_DataGrid_2::DeleteAllRows() {
    for (int row = GetItemCount() - 1; row >= 0; --row) {
        DeleteRow(row);
    }
    return DeleteAllItems();
}

// --- UI_DataGrid_2: geometry --------------------------------------------------------------------

int UI_DataGrid_2::CellId(int row, int column) const {
    return GetDlgCtrlID() + 100 * row + column;
}

bool UI_DataGrid_2::CellRect(int row, int column, CRect& rect) const {
    if (CellOf(row, column) == nullptr || !GetItemRect(row, &rect, LVIR_BOUNDS)) {
        return false;
    }
    int offset = 0;
    for (int i = 0; i < column; ++i) {
        offset += GetColumnWidth(i);
    }
    rect.left += offset + 2;
    rect.right = rect.left + GetColumnWidth(column) - 4;
    rect.bottom += 1;
    return true;
}

BOOL UI_DataGrid_2::GetCellRect(int row, int column, CRect& rect) {
    if (!CellRect(row, column, rect)) {
        return FALSE;
    }
    CRect client;
    GetClientRect(&client);
    const int left = rect.left - 2;
    if (left < 0 || left + GetColumnWidth(column) > client.right) {
        Scroll(CSize(left, 0)); // bring the cell's left edge to the client's
        CellRect(row, column, rect);
    }
    return TRUE;
}

CRect UI_DataGrid_2::EditorRect(int kind, const CRect& cell) {
    CRect rect = cell;
    switch (kind) {
    case kCellEdit:
    case kCellNumeric:
        rect.top += 2;
        rect.right -= 2;
        rect.bottom -= 2;
        break;
    case kCellCombo:
        rect.DeflateRect(1, 1);
        break;
    default:
        break;
    }
    return rect;
}

void UI_DataGrid_2::PlaceEditors(int first) {
    for (int row = std::max(0, first); row < GetItemCount(); ++row) {
        Row* cells = RowOf(row);
        if (cells == nullptr) {
            continue;
        }
        for (int column = 0; column < static_cast<int>(cells->size()); ++column) {
            UI_CellRecord& cell = (*cells)[static_cast<size_t>(column)];
            CRect rect;
            if (cell.editor == nullptr || !IsWindow(cell.control) || !CellRect(row, column, rect)) {
                continue;
            }
            cell.editor->SetDlgCtrlID(CellId(row, column));
            cell.editor->MoveWindow(EditorRect(cell.kind, rect));
        }
    }
}

void UI_DataGrid_2::SetRowHeight(int height) {
    if (!m_rowHeightImages.Create(1, height, ILC_COLOR32 | ILC_MASK, 1, 1)) {
        return;
    }
    SetImageList(&m_rowHeightImages, LVSIL_SMALL);
    PlaceEditors(0);
}

// --- UI_DataGrid_2: editors ---------------------------------------------------------------------

bool UI_DataGrid_2::Host(int row, int column, int kind, CWnd* editor, bool created) {
    UI_CellRecord* cell = CellOf(row, column);
    if (!created || cell == nullptr) {
        delete editor;
        return false;
    }
    cell->kind = kind;
    cell->editor = editor;
    cell->control = editor->GetSafeHwnd();
    return true;
}

bool UI_DataGrid_2::AddEdit(int row, int column) {
    UI_CellRecord* cell = CellOf(row, column);
    if (cell == nullptr || column >= 100) {
        return false;
    }
    const CString text = GetCellText(row, column);
    DropEditor(*cell);
    cell->kind = kCellEdit;
    CRect rect;
    GetCellRect(row, column, rect);
    auto* edit = new UI_DG_Edit(text, this);
    const bool created = edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                      EditorRect(kCellEdit, rect), this, CellId(row, column));
    return Host(row, column, kCellEdit, edit, created);
}

bool UI_DataGrid_2::AddNumericEdit(int row, int column) {
    UI_CellRecord* cell = CellOf(row, column);
    if (cell == nullptr || column >= 100) {
        return false;
    }
    const CString text = GetCellText(row, column);
    DropEditor(*cell);
    cell->kind = kCellNumeric;
    CRect rect;
    GetCellRect(row, column, rect);
    auto* edit = new UI_DG_E_Numeric(text, this);
    const bool created = edit->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL,
                                      EditorRect(kCellNumeric, rect), this, CellId(row, column));
    return Host(row, column, kCellNumeric, edit, created);
}

bool UI_DataGrid_2::AddCombo(int row, int column, const UI_StringArray& choices, bool editable) {
    UI_CellRecord* cell = CellOf(row, column);
    if (cell == nullptr || column >= 100) {
        return false;
    }
    const CString text = GetCellText(row, column);
    DropEditor(*cell);
    cell->kind = kCellCombo;
    cell->choices = choices;
    cell->editable = editable ? 1 : 0;
    CRect rect;
    GetCellRect(row, column, rect);
    auto* combo = new UI_DG_Combo(text, this);
    const DWORD style =
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | (editable ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
    if (!combo->Create(style, EditorRect(kCellCombo, rect), this, CellId(row, column))) {
        return Host(row, column, kCellCombo, combo, false);
    }
    for (int i = 0; i < choices.GetSize(); ++i) {
        combo->AddString(choices[i]);
        combo->SetDroppedHeight(combo->GetDroppedHeight() + combo->GetItemHeight(0));
    }
    // A drop-down list shows its text only through a chosen item.
    if (!editable && !text.IsEmpty()) {
        combo->ShowText(text);
    }
    return Host(row, column, kCellCombo, combo, true);
}

bool UI_DataGrid_2::SetComboChoices(int row, int column, const UI_StringArray& choices) {
    UI_CellRecord* cell = CellOf(row, column);
    auto* combo = dynamic_cast<UI_Combo*>(CellEditor(row, column));
    if (cell == nullptr || combo == nullptr) {
        return false;
    }
    CString shown;
    combo->GetWindowText(shown);
    combo->ResetContent();
    cell->choices = choices;
    for (int i = 0; i < choices.GetSize(); ++i) {
        combo->AddString(choices[i]);
    }
    if (!shown.IsEmpty()) {
        combo->ShowText(shown); // the value stays when the new choices hold it
    }
    return true;
}

bool UI_DataGrid_2::SelectComboIndex(int row, int column, int index) {
    auto* combo = dynamic_cast<UI_Combo*>(CellEditor(row, column));
    return combo != nullptr && combo->SetCurSel(index) != CB_ERR;
}

bool UI_DataGrid_2::SelectComboText(int row, int column, const CString& text) {
    auto* combo = dynamic_cast<UI_Combo*>(CellEditor(row, column));
    return combo != nullptr && combo->ShowText(text);
}

bool UI_DataGrid_2::AddCheckBox(int row, int column, bool state) {
    UI_CellRecord* cell = CellOf(row, column);
    if (cell == nullptr || column >= 100) {
        return false;
    }
    DropEditor(*cell);
    cell->kind = kCellCheckBox;
    CRect rect;
    GetCellRect(row, column, rect);
    auto* box = new UI_CheckBox(this);
    if (!box->Create(L"", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, EditorRect(kCellCheckBox, rect),
                     this, CellId(row, column))) {
        return Host(row, column, kCellCheckBox, box, false);
    }
    box->SetCheck(state ? BST_CHECKED : BST_UNCHECKED);
    Host(row, column, kCellCheckBox, box, true);
    box->SetFocus();
    return true;
}

bool UI_DataGrid_2::SetCheck(int row, int column, bool value) {
    auto* box = dynamic_cast<UI_CheckBox*>(CellEditor(row, column));
    if (box == nullptr) {
        return false;
    }
    box->SetCheck(value ? BST_CHECKED : BST_UNCHECKED);
    return true;
}

bool UI_DataGrid_2::AddFileButton(int row, int column) {
    UI_CellRecord* cell = CellOf(row, column);
    if (cell == nullptr || column >= 100) {
        return false;
    }
    DropEditor(*cell);
    cell->kind = kCellFileButton;
    CRect rect;
    GetCellRect(row, column, rect);
    auto* button = new UI_DG_B_FileSelector(this);
    const bool created =
        button->Create(L"...", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                       EditorRect(kCellFileButton, rect), this, CellId(row, column));
    return Host(row, column, kCellFileButton, button, created);
}

// --- UI_DataGrid_2: texts and choices -----------------------------------------------------------

CString UI_DataGrid_2::GetCellText(int row, int column) const {
    if (CellOf(row, column) == nullptr) {
        return {};
    }
    CWnd* editor = CellEditor(row, column);
    if (editor == nullptr) {
        return GetItemText(row, column);
    }
    if (const auto* box = dynamic_cast<const UI_CheckBox*>(editor)) {
        return box->GetText();
    }
    CString text;
    editor->GetWindowText(text);
    return text;
}

bool UI_DataGrid_2::SetCellText(int row, int column, const CString& text) {
    if (CellOf(row, column) == nullptr) {
        return false;
    }
    CWnd* editor = CellEditor(row, column);
    if (editor == nullptr) {
        return SetItemText(row, column, text) != FALSE;
    }
    if (auto* box = dynamic_cast<UI_CheckBox*>(editor)) {
        box->SetText(text);
    } else if (auto* combo = dynamic_cast<UI_Combo*>(editor)) {
        return combo->ShowText(text);
    } else {
        editor->SetWindowText(text);
    }
    return true;
}

CString UI_DataGrid_2::GetChoice(int row, int column, int index) const {
    const UI_CellRecord* cell = CellOf(row, column);
    if (cell == nullptr || index < 0 || index >= cell->choices.GetSize()) {
        return {};
    }
    return cell->choices[index];
}

bool UI_DataGrid_2::AddChoice(int row, int column, const CString& text) {
    UI_CellRecord* cell = CellOf(row, column);
    if (cell == nullptr) {
        return false;
    }
    cell->choices.Add(text);
    if (auto* combo = dynamic_cast<UI_Combo*>(CellEditor(row, column))) {
        combo->AddString(text);
    }
    return true;
}

// --- UI_DataGrid_2: messages from the editors ---------------------------------------------------

LRESULT UI_DataGrid_2::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != 0 && message == WM_UI_FileSel_Changed) {
        const int offset = static_cast<int>(wParam) - GetDlgCtrlID();
        const int row = offset / 100;
        const int column = offset % 100;
        if (offset >= 0) {
            if (auto* button = dynamic_cast<UI_DG_B_FileSelector*>(CellEditor(row, column))) {
                OnFileSelChanged(row, column, *button);
            }
        }
        return 0;
    }
    return UI_DataGrid::WindowProc(message, wParam, lParam);
}

void UI_DataGrid_2::OnFileSelChanged(int /*row*/, int /*column*/,
                                     UI_DG_B_FileSelector& /*button*/) {}

} // namespace gantrel
