// The tab control.
//
// Geometry: tab items sit in one row at the top, 20 pixels high starting 2 pixels down, each as
// wide as its caption plus 12; the display area below them starts 2 pixels under the row.
#pragma once

#include "controls.h"

class CTabCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);
    LONG InsertItem(int item, LPCWSTR caption, LPARAM param = 0);
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    int GetItemCount() const;
    CString GetItemText(int item) const;
    LPARAM GetItemParam(int item) const;
    int GetCurSel() const;
    // Selects a tab without notifications; the previous index, or -1.
    int SetCurSel(int item);
    // The tab with the focus, which is the selected tab here.
    int GetCurFocus() const;
    BOOL GetItemRect(int item, LPRECT rect) const;
    // larger FALSE: the display area for a window rectangle; TRUE: the reverse.
    void AdjustRect(BOOL larger, LPRECT rect) const;
};
