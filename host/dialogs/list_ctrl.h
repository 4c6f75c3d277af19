// The list control in report view, with its column header.
//
// Geometry: the header is 20 pixels high (none with LVS_NOCOLUMNHEADER); every row is as high
// as the font's height plus 4, or as the small-image list's images when they are higher; rows do
// not scroll vertically, columns scroll horizontally with Scroll.
#pragma once

#include "controls.h"

inline constexpr int LVCFMT_LEFT = 0;
inline constexpr int LVCFMT_RIGHT = 1;
inline constexpr int LVCFMT_CENTER = 2;
inline constexpr UINT LVIS_FOCUSED = 0x1;
inline constexpr UINT LVIS_SELECTED = 0x2;
inline constexpr int LVNI_ALL = 0x0;
inline constexpr int LVNI_SELECTED = 0x2;
inline constexpr UINT LVIF_STATE = 0x8;
inline constexpr UINT LVIR_BOUNDS = 0;
inline constexpr UINT LVIR_ICON = 1;
inline constexpr UINT LVIR_LABEL = 2;

class CHeaderCtrl : public CWnd {
public:
    int GetItemCount() const;
    BOOL GetItemRect(int index, LPRECT rect) const;
};

class CListCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);
    CHeaderCtrl* GetHeaderCtrl() const;

    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD style);
    // A small-image list sets the row height; the control does not own it.
    CImageList* SetImageList(CImageList* images, int which);
    int GetRowHeight() const;

    int InsertColumn(int column, LPCWSTR heading, int format = LVCFMT_LEFT, int width = -1,
                     int subItem = -1);
    BOOL DeleteColumn(int column);
    int GetColumnWidth(int column) const;
    BOOL SetColumnWidth(int column, int width);

    int GetItemCount() const;
    int InsertItem(int item, LPCWSTR text);
    BOOL DeleteItem(int item);
    BOOL DeleteAllItems();
    CString GetItemText(int item, int subItem) const;
    BOOL SetItemText(int item, int subItem, LPCWSTR text);
    DWORD_PTR GetItemData(int item) const;
    BOOL SetItemData(int item, DWORD_PTR data);
    UINT GetItemState(int item, UINT mask) const;
    BOOL SetItemState(int item, UINT state, UINT mask);
    int GetNextItem(int start, int flags) const;
    UINT GetSelectedCount() const;
    int GetSelectionMark() const;
    int SetSelectionMark(int item);

    BOOL GetItemRect(int item, LPRECT rect, UINT code) const;
    BOOL GetSubItemRect(int item, int subItem, int code, CRect& rect) const;
    BOOL Scroll(CSize size);
    int GetScrollPos(int bar) const;
    BOOL EnsureVisible(int item, BOOL partialOk);
};
