// The tab control: captions, the selected tab and its change notifications, geometry.
#include "tab_ctrl.h"
#include "window_state.h"

using namespace dialogs::detail;

namespace {

constexpr int kRowTop = 2;
constexpr int kRowHeight = 20;

bool ValidTab(const TabData& tabs, int item) {
    return item >= 0 && item < static_cast<int>(tabs.items.size());
}

} // namespace

namespace dialogs::detail {

bool SelectTab(HWND window, int index) {
    auto* tabs = DataOf<TabData>(window);
    if (tabs == nullptr || !ValidTab(*tabs, index)) {
        return false;
    }
    if (tabs->current == index) {
        return true;
    }
    NMHDR changing{};
    if (NotifyParent(window, changing, TCN_SELCHANGING) != 0) {
        return false; // the owner keeps the current tab
    }
    tabs = DataOf<TabData>(window);
    if (tabs == nullptr || !ValidTab(*tabs, index)) {
        return false;
    }
    tabs->current = index;
    NMHDR changed{};
    NotifyParent(window, changed, TCN_SELCHANGE);
    return true;
}

LRESULT TabProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* tabs = DataOf<TabData>(window);
    if (tabs == nullptr) {
        return 0;
    }
    if (message == WM_KEYDOWN && (wParam == VK_LEFT || wParam == VK_RIGHT)) {
        const int next = tabs->current + (wParam == VK_LEFT ? -1 : 1);
        SelectTab(window, next);
    } else if (message == WM_HELP) {
        const auto state = Find(window);
        return Deliver(state->parent, message, wParam, lParam);
    }
    return 0;
}

} // namespace dialogs::detail

BOOL CTabCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Tab), L"SysTabControl32", L"", style, rect, parentWnd,
                      id);
}

LONG CTabCtrl::InsertItem(int item, LPCWSTR caption, LPARAM param) {
    auto* tabs = DataOf<TabData>(m_hWnd);
    if (tabs == nullptr || item < 0) {
        return -1;
    }
    const auto at = std::min(static_cast<size_t>(item), tabs->items.size());
    tabs->items.insert(tabs->items.begin() + static_cast<std::ptrdiff_t>(at),
                       {caption != nullptr ? caption : L"", param});
    if (tabs->current < 0) {
        tabs->current = 0; // the first tab is selected as soon as there is one
    } else if (tabs->current >= static_cast<int>(at)) {
        ++tabs->current;
    }
    return static_cast<LONG>(at);
}

BOOL CTabCtrl::DeleteItem(int item) {
    auto* tabs = DataOf<TabData>(m_hWnd);
    if (tabs == nullptr || !ValidTab(*tabs, item)) {
        return FALSE;
    }
    tabs->items.erase(tabs->items.begin() + item);
    if (tabs->current == item) {
        tabs->current = -1;
    } else if (tabs->current > item) {
        --tabs->current;
    }
    return TRUE;
}

BOOL CTabCtrl::DeleteAllItems() {
    auto* tabs = DataOf<TabData>(m_hWnd);
    if (tabs == nullptr) {
        return FALSE;
    }
    tabs->items.clear();
    tabs->current = -1;
    return TRUE;
}

int CTabCtrl::GetItemCount() const {
    const auto* tabs = DataOf<TabData>(m_hWnd);
    return tabs == nullptr ? 0 : static_cast<int>(tabs->items.size());
}

CString CTabCtrl::GetItemText(int item) const {
    const auto* tabs = DataOf<TabData>(m_hWnd);
    return tabs != nullptr && ValidTab(*tabs, item) ? tabs->items[static_cast<size_t>(item)].text
                                                    : CString();
}

LPARAM CTabCtrl::GetItemParam(int item) const {
    const auto* tabs = DataOf<TabData>(m_hWnd);
    return tabs != nullptr && ValidTab(*tabs, item) ? tabs->items[static_cast<size_t>(item)].param
                                                    : 0;
}

int CTabCtrl::GetCurSel() const {
    const auto* tabs = DataOf<TabData>(m_hWnd);
    return tabs == nullptr ? -1 : tabs->current;
}

int CTabCtrl::SetCurSel(int item) {
    auto* tabs = DataOf<TabData>(m_hWnd);
    if (tabs == nullptr || !ValidTab(*tabs, item)) {
        return -1;
    }
    return std::exchange(tabs->current, item);
}

int CTabCtrl::GetCurFocus() const {
    return GetCurSel();
}

BOOL CTabCtrl::GetItemRect(int item, LPRECT rect) const {
    const auto* tabs = DataOf<TabData>(m_hWnd);
    if (tabs == nullptr || rect == nullptr || !ValidTab(*tabs, item)) {
        return FALSE;
    }
    int left = 2;
    for (int i = 0; i < item; ++i) {
        left += TextWidth(tabs->items[static_cast<size_t>(i)].text) + 12;
    }
    const int width = TextWidth(tabs->items[static_cast<size_t>(item)].text) + 12;
    *rect = CRect(left, kRowTop, left + width, kRowTop + kRowHeight);
    return TRUE;
}

void CTabCtrl::AdjustRect(BOOL larger, LPRECT rect) const {
    if (rect == nullptr) {
        return;
    }
    constexpr int top = kRowTop + kRowHeight + 2;
    if (larger) {
        rect->left -= 2;
        rect->right += 2;
        rect->top -= top;
        rect->bottom += 2;
    } else {
        rect->left += 2;
        rect->right -= 2;
        rect->top += top;
        rect->bottom -= 2;
    }
}
