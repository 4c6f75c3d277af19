// The report-view list control: columns, rows, sub-items, selection, geometry and the header's
// column-resize notifications.
#include "list_ctrl.h"
#include "window_state.h"

#include <algorithm>
#include <numeric>

using namespace dialogs::detail;

namespace {

constexpr int kHeaderHeight = 20;

struct ListRef {
    std::shared_ptr<WindowState> state;
    ListData* list = nullptr;
    explicit operator bool() const { return list != nullptr; }
};

ListRef ListOf(HWND window) {
    auto state = Find(window);
    auto* list = state == nullptr ? nullptr : std::get_if<ListData>(&state->data);
    return {std::move(state), list};
}

bool ValidRow(const ListData& list, int item) {
    return item >= 0 && item < static_cast<int>(list.rows.size());
}

int RowHeight(const WindowState& state, const ListData& list) {
    const int text = (state.font != nullptr ? state.font->m_height : CFont().m_height) + 4;
    return std::max(text, list.imageHeight);
}

int HeaderHeight(const WindowState& state) {
    return (state.style & LVS_NOCOLUMNHEADER) != 0 ? 0 : kHeaderHeight;
}

void ChangeState(HWND window, ListData& list, int item, UINT newState) {
    auto& row = list.rows[static_cast<size_t>(item)];
    if (row.state == newState) {
        return;
    }
    NMLISTVIEW change{};
    change.iItem = item;
    change.uOldState = row.state;
    change.uNewState = newState;
    change.uChanged = LVIF_STATE;
    change.lParam = static_cast<LPARAM>(row.data);
    row.state = newState;
    NotifyParent(window, change.hdr, LVN_ITEMCHANGED);
}

} // namespace

namespace dialogs::detail {

void SelectListRow(HWND window, int item) {
    auto ref = ListOf(window);
    if (!ref || !ValidRow(*ref.list, item)) {
        return;
    }
    for (int i = 0; i < static_cast<int>(ref.list->rows.size()); ++i) {
        if (i != item) {
            ChangeState(window, *ref.list, i, 0);
        }
    }
    ref.list->selectionMark = item;
    ChangeState(window, *ref.list, item, LVIS_SELECTED | LVIS_FOCUSED);
    NMHDR click{};
    NotifyParent(window, click, NM_CLICK);
}

bool ResizeColumn(HWND window, int column, int width) {
    auto ref = ListOf(window);
    if (!ref || ref.list->header == nullptr || column < 0 ||
        column >= static_cast<int>(ref.list->columns.size())) {
        return false;
    }
    const HWND header = ref.list->header;
    NMHEADERW track{};
    track.iItem = column;
    track.newWidth = width;
    // The list (or a grid deriving from it) may swallow the start of the drag.
    if (NotifyParent(header, track.hdr, HDN_BEGINTRACKW) != 0) {
        return false;
    }
    ref = ListOf(window);
    if (!ref || column >= static_cast<int>(ref.list->columns.size())) {
        return false;
    }
    ref.list->columns[static_cast<size_t>(column)].width = std::max(0, width);
    NMHEADERW done{};
    done.iItem = column;
    done.newWidth = width;
    NotifyParent(header, done.hdr, HDN_ENDTRACKW);
    return true;
}

bool ListCellAt(const WindowState& state, POINT point, int& row, int& column) {
    const auto* list = std::get_if<ListData>(&state.data);
    if (list == nullptr) {
        return false;
    }
    const int height = RowHeight(state, *list);
    const int y = point.y - HeaderHeight(state);
    if (y < 0 || height <= 0 || y / height >= static_cast<int>(list->rows.size())) {
        return false;
    }
    int left = -list->scrollX;
    for (size_t i = 0; i < list->columns.size(); ++i) {
        const int right = left + list->columns[i].width;
        if (point.x >= left && point.x < right) {
            row = y / height;
            column = static_cast<int>(i);
            return true;
        }
        left = right;
    }
    return false;
}

LRESULT ListProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto ref = ListOf(window);
    if (!ref) {
        return 0;
    }
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN)) {
        const int count = static_cast<int>(ref.list->rows.size());
        const int from = ref.list->selectionMark;
        const int to = wParam == VK_UP ? std::max(0, from - 1) : std::min(count - 1, from + 1);
        if (count > 0 && to != from) {
            SelectListRow(window, to);
        }
    } else if (message == WM_HELP) {
        return Deliver(ref.state->parent, message, wParam, lParam);
    } else if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
        NMHDR focus{};
        NotifyParent(window, focus, message == WM_SETFOCUS ? NM_SETFOCUS : NM_KILLFOCUS);
    }
    return 0;
}

} // namespace dialogs::detail

// --- Header
// ---------------------------------------------------------------------------------------

int CHeaderCtrl::GetItemCount() const {
    const auto state = Find(m_hWnd);
    const auto ref = state == nullptr ? ListRef{} : ListOf(state->parent);
    return ref ? static_cast<int>(ref.list->columns.size()) : -1;
}

BOOL CHeaderCtrl::GetItemRect(int index, LPRECT rect) const {
    const auto state = Find(m_hWnd);
    const auto ref = state == nullptr ? ListRef{} : ListOf(state->parent);
    if (!ref || rect == nullptr || index < 0 ||
        index >= static_cast<int>(ref.list->columns.size())) {
        return FALSE;
    }
    int left = -ref.list->scrollX;
    for (int i = 0; i < index; ++i) {
        left += ref.list->columns[static_cast<size_t>(i)].width;
    }
    *rect =
        CRect(left, 0, left + ref.list->columns[static_cast<size_t>(index)].width, kHeaderHeight);
    return TRUE;
}

// --- List
// -----------------------------------------------------------------------------------------

BOOL CListCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    if (!CreateKind(static_cast<int>(Kind::List), L"SysListView32", L"", style, rect, parentWnd,
                    id)) {
        return FALSE;
    }
    if ((style & LVS_NOCOLUMNHEADER) == 0) {
        auto header = std::make_unique<CHeaderCtrl>();
        const CRect headerRect(0, 0, rect.right - rect.left, kHeaderHeight);
        const HWND handle = CreateWindowRecord(header.get(), Kind::Header, L"SysHeader32", L"",
                                               WS_CHILD | WS_VISIBLE, headerRect, m_hWnd, 0);
        if (handle != nullptr) {
            Find(handle)->builtIn = std::move(header);
            ListOf(m_hWnd).list->header = handle;
        }
    }
    return TRUE;
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
    const auto ref = ListOf(m_hWnd);
    return ref ? dynamic_cast<CHeaderCtrl*>(FromHandle(ref.list->header)) : nullptr;
}

DWORD CListCtrl::GetExtendedStyle() const {
    const auto ref = ListOf(m_hWnd);
    return ref ? ref.list->extendedStyle : 0;
}

DWORD CListCtrl::SetExtendedStyle(DWORD style) {
    auto ref = ListOf(m_hWnd);
    return ref ? std::exchange(ref.list->extendedStyle, style) : 0;
}

CImageList* CListCtrl::SetImageList(CImageList* images, int which) {
    auto ref = ListOf(m_hWnd);
    if (ref && which == LVSIL_SMALL) {
        ref.list->imageHeight = images != nullptr ? images->Height() : 0;
    }
    return nullptr;
}

int CListCtrl::GetRowHeight() const {
    const auto ref = ListOf(m_hWnd);
    return ref ? RowHeight(*ref.state, *ref.list) : 0;
}

int CListCtrl::InsertColumn(int column, LPCWSTR heading, int format, int width, int /*subItem*/) {
    auto ref = ListOf(m_hWnd);
    if (!ref || column < 0) {
        return -1;
    }
    auto& columns = ref.list->columns;
    const auto at = std::min(static_cast<size_t>(column), columns.size());
    const CString text = heading != nullptr ? heading : L"";
    columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at),
                   {text, width < 0 ? TextWidth(text) + 12 : width, format});
    for (auto& row : ref.list->rows) {
        // Sub-item texts stay with their columns; the item's own text stays first.
        const auto textAt = std::min(at, row.texts.size());
        row.texts.insert(row.texts.begin() + static_cast<std::ptrdiff_t>(textAt), CString());
    }
    return static_cast<int>(at);
}

BOOL CListCtrl::DeleteColumn(int column) {
    auto ref = ListOf(m_hWnd);
    if (!ref || column < 0 || column >= static_cast<int>(ref.list->columns.size())) {
        return FALSE;
    }
    ref.list->columns.erase(ref.list->columns.begin() + column);
    for (auto& row : ref.list->rows) {
        if (column < static_cast<int>(row.texts.size())) {
            row.texts.erase(row.texts.begin() + column);
        }
    }
    return TRUE;
}

int CListCtrl::GetColumnWidth(int column) const {
    const auto ref = ListOf(m_hWnd);
    if (!ref || column < 0 || column >= static_cast<int>(ref.list->columns.size())) {
        return 0;
    }
    return ref.list->columns[static_cast<size_t>(column)].width;
}

BOOL CListCtrl::SetColumnWidth(int column, int width) {
    auto ref = ListOf(m_hWnd);
    if (!ref || column < 0 || column >= static_cast<int>(ref.list->columns.size())) {
        return FALSE;
    }
    ref.list->columns[static_cast<size_t>(column)].width = std::max(0, width);
    return TRUE;
}

int CListCtrl::GetItemCount() const {
    const auto ref = ListOf(m_hWnd);
    return ref ? static_cast<int>(ref.list->rows.size()) : 0;
}

int CListCtrl::InsertItem(int item, LPCWSTR text) {
    auto ref = ListOf(m_hWnd);
    if (!ref || item < 0) {
        return -1;
    }
    auto& rows = ref.list->rows;
    const auto at = std::min(static_cast<size_t>(item), rows.size());
    ListRow row;
    row.texts.resize(std::max<size_t>(1, ref.list->columns.size()));
    row.texts[0] = text != nullptr ? text : L"";
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), std::move(row));
    if (ref.list->selectionMark >= static_cast<int>(at)) {
        ++ref.list->selectionMark;
    }
    return static_cast<int>(at);
}

BOOL CListCtrl::DeleteItem(int item) {
    auto ref = ListOf(m_hWnd);
    if (!ref || !ValidRow(*ref.list, item)) {
        return FALSE;
    }
    ref.list->rows.erase(ref.list->rows.begin() + item);
    if (ref.list->selectionMark == item) {
        ref.list->selectionMark = -1;
    } else if (ref.list->selectionMark > item) {
        --ref.list->selectionMark;
    }
    return TRUE;
}

BOOL CListCtrl::DeleteAllItems() {
    auto ref = ListOf(m_hWnd);
    if (!ref) {
        return FALSE;
    }
    ref.list->rows.clear();
    ref.list->selectionMark = -1;
    return TRUE;
}

CString CListCtrl::GetItemText(int item, int subItem) const {
    const auto ref = ListOf(m_hWnd);
    if (!ref || !ValidRow(*ref.list, item) || subItem < 0) {
        return {};
    }
    const auto& texts = ref.list->rows[static_cast<size_t>(item)].texts;
    return subItem < static_cast<int>(texts.size()) ? texts[static_cast<size_t>(subItem)]
                                                    : CString();
}

BOOL CListCtrl::SetItemText(int item, int subItem, LPCWSTR text) {
    auto ref = ListOf(m_hWnd);
    if (!ref || !ValidRow(*ref.list, item) || subItem < 0 ||
        (subItem > 0 && subItem >= static_cast<int>(ref.list->columns.size()))) {
        return FALSE;
    }
    auto& texts = ref.list->rows[static_cast<size_t>(item)].texts;
    if (subItem >= static_cast<int>(texts.size())) {
        texts.resize(static_cast<size_t>(subItem) + 1);
    }
    texts[static_cast<size_t>(subItem)] = text != nullptr ? text : L"";
    return TRUE;
}

DWORD_PTR CListCtrl::GetItemData(int item) const {
    const auto ref = ListOf(m_hWnd);
    return ref && ValidRow(*ref.list, item) ? ref.list->rows[static_cast<size_t>(item)].data : 0;
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data) {
    auto ref = ListOf(m_hWnd);
    if (!ref || !ValidRow(*ref.list, item)) {
        return FALSE;
    }
    ref.list->rows[static_cast<size_t>(item)].data = data;
    return TRUE;
}

UINT CListCtrl::GetItemState(int item, UINT mask) const {
    const auto ref = ListOf(m_hWnd);
    return ref && ValidRow(*ref.list, item) ? ref.list->rows[static_cast<size_t>(item)].state & mask
                                            : 0;
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask) {
    auto ref = ListOf(m_hWnd);
    if (!ref || !ValidRow(*ref.list, item)) {
        return FALSE;
    }
    const UINT old = ref.list->rows[static_cast<size_t>(item)].state;
    ChangeState(m_hWnd, *ref.list, item, (old & ~mask) | (state & mask));
    if ((state & mask & LVIS_SELECTED) != 0) {
        ref.list->selectionMark = item;
    }
    return TRUE;
}

int CListCtrl::GetNextItem(int start, int flags) const {
    const auto ref = ListOf(m_hWnd);
    if (!ref) {
        return -1;
    }
    for (int i = std::max(0, start + 1); i < static_cast<int>(ref.list->rows.size()); ++i) {
        if ((flags & LVNI_SELECTED) == 0 ||
            (ref.list->rows[static_cast<size_t>(i)].state & LVIS_SELECTED) != 0) {
            return i;
        }
    }
    return -1;
}

UINT CListCtrl::GetSelectedCount() const {
    const auto ref = ListOf(m_hWnd);
    if (!ref) {
        return 0;
    }
    return static_cast<UINT>(
        std::count_if(ref.list->rows.begin(), ref.list->rows.end(),
                      [](const ListRow& row) { return (row.state & LVIS_SELECTED) != 0; }));
}

int CListCtrl::GetSelectionMark() const {
    const auto ref = ListOf(m_hWnd);
    return ref ? ref.list->selectionMark : -1;
}

int CListCtrl::SetSelectionMark(int item) {
    auto ref = ListOf(m_hWnd);
    return ref ? std::exchange(ref.list->selectionMark, item) : -1;
}

BOOL CListCtrl::GetItemRect(int item, LPRECT rect, UINT code) const {
    const auto ref = ListOf(m_hWnd);
    if (!ref || !ValidRow(*ref.list, item) || rect == nullptr) {
        return FALSE;
    }
    const auto& columns = ref.list->columns;
    const int total = std::accumulate(columns.begin(), columns.end(), 0,
                                      [](int sum, const ListColumn& c) { return sum + c.width; });
    const int height = RowHeight(*ref.state, *ref.list);
    const int top = HeaderHeight(*ref.state) + item * height;
    const int left = -ref.list->scrollX;
    const int first = columns.empty() ? total : columns.front().width;
    const int icon = ref.list->imageHeight > 0 ? 1 : 0; // the small images are 1 pixel wide here
    switch (code) {
    case LVIR_ICON:
        *rect = CRect(left, top, left + icon, top + height);
        break;
    case LVIR_LABEL:
        *rect = CRect(left + icon, top, left + first, top + height);
        break;
    default:
        *rect = CRect(left, top, left + total, top + height);
        break;
    }
    return TRUE;
}

BOOL CListCtrl::GetSubItemRect(int item, int subItem, int code, CRect& rect) const {
    const auto ref = ListOf(m_hWnd);
    if (!ref || subItem < 0 || subItem >= std::max<int>(1, ref.list->columns.size()) ||
        !GetItemRect(item, &rect, LVIR_BOUNDS)) {
        return FALSE;
    }
    if (subItem == 0 && code == static_cast<int>(LVIR_BOUNDS)) {
        return TRUE; // the whole row, as the platform answers for sub-item 0
    }
    int left = rect.left;
    for (int i = 0; i < subItem; ++i) {
        left += ref.list->columns[static_cast<size_t>(i)].width;
    }
    const int width =
        ref.list->columns.empty() ? 0 : ref.list->columns[static_cast<size_t>(subItem)].width;
    rect.left = left;
    rect.right = left + width;
    return TRUE;
}

BOOL CListCtrl::Scroll(CSize size) {
    auto ref = ListOf(m_hWnd);
    if (!ref) {
        return FALSE;
    }
    const auto& columns = ref.list->columns;
    const int total = std::accumulate(columns.begin(), columns.end(), 0,
                                      [](int sum, const ListColumn& c) { return sum + c.width; });
    const int widest = std::max(0, total - ref.state->rect.Width());
    const int old = ref.list->scrollX;
    ref.list->scrollX = std::clamp(old + static_cast<int>(size.cx), 0, widest);
    // The rows' contents move, and with them the windows placed over cells (in-place editors);
    // the header stays where it is.
    const int moved = ref.list->scrollX - old;
    for (HWND child : ref.state->children) {
        if (const auto inner = Find(child); inner != nullptr && child != ref.list->header) {
            inner->rect.OffsetRect(-moved, 0);
        }
    }
    return TRUE;
}

int CListCtrl::GetScrollPos(int bar) const {
    const auto ref = ListOf(m_hWnd);
    return ref && bar == 0 ? ref.list->scrollX : 0; // SB_HORZ
}

BOOL CListCtrl::EnsureVisible(int item, BOOL /*partialOk*/) {
    const auto ref = ListOf(m_hWnd);
    return ref && ValidRow(*ref.list, item) ? TRUE : FALSE;
}
