#include "ui/Tabs.h"

namespace gantrel {

Tabs::~Tabs() {
    if (m_hWnd != nullptr) {
        DestroyWindow();
    }
    m_pages.clear();
}

void Tabs::OnDestroy() {
    for (const auto& page : m_pages) {
        page->DestroyWindow();
    }
    CTabCtrl::OnDestroy();
}

CWnd* Tabs::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[static_cast<size_t>(index)].get() : nullptr;
}

void Tabs::AddPage(CWnd* page, const CString& caption) {
    if (page == nullptr) {
        return;
    }
    m_pages.emplace_back(page);
    InsertItem(PageCount() - 1, caption);
    if (m_shown < 0) {
        m_shown = 0;
    }
    PlacePages();
}

void Tabs::PlacePages() {
    CRect item;
    if (!GetItemRect(0, &item)) {
        return;
    }
    CRect client;
    GetClientRect(&client);
    CRect area(item.left + 1, item.bottom + 2, client.right - 1, client.bottom - 2);
    for (int i = 0; i < PageCount(); ++i) {
        CWnd* page = Page(i);
        // The area is in this control's client coordinates; a page whose window another
        // window holds is placed in that window's coordinates.
        CRect place = area;
        if (CWnd* parent = page->GetParent(); parent != nullptr && parent != this) {
            ClientToScreen(&place);
            parent->ScreenToClient(&place);
        }
        page->MoveWindow(place.left, place.top, client.right - item.left - 2,
                         client.bottom - item.bottom - 4);
        page->ShowWindow(i == m_shown ? SW_SHOW : SW_HIDE);
    }
}

BOOL Tabs::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (message == WM_NOTIFY && header != nullptr && header->code == TCN_SELCHANGE) {
        OnSelChange();
        return FALSE; // the dialog may want to hear of it too
    }
    return CTabCtrl::OnChildNotify(message, wParam, lParam, result);
}

void Tabs::OnSelChange() {
    const int chosen = GetCurFocus();
    if (CWnd* shown = Page(m_shown)) {
        shown->ShowWindow(SW_HIDE);
    }
    if (CWnd* page = Page(chosen)) {
        page->ShowWindow(SW_SHOW);
        m_shown = chosen;
    }
}

} // namespace gantrel
