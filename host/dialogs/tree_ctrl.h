// The tree control.
//
// Geometry: items are laid out top to bottom in display order (the children of expanded items
// only), each row GetItemHeight() high, without vertical scrolling. An item of level L starts at
// x = L * indent (one indent more with TVS_LINESATROOT); its label is as wide as its text plus 4.
#pragma once

#include "controls.h"

#define TVI_ROOT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x10000)))
#define TVI_FIRST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFF)))
#define TVI_LAST (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFE)))
#define TVI_SORT (reinterpret_cast<HTREEITEM>(static_cast<ULONG_PTR>(-0x0FFFD)))

inline constexpr UINT TVE_COLLAPSE = 0x1;
inline constexpr UINT TVE_EXPAND = 0x2;
inline constexpr UINT TVE_TOGGLE = 0x3;
inline constexpr UINT TVIS_SELECTED = 0x2;
inline constexpr UINT TVIS_EXPANDED = 0x20;
inline constexpr UINT TVGN_ROOT = 0x0;
inline constexpr UINT TVGN_NEXT = 0x1;
inline constexpr UINT TVGN_PREVIOUS = 0x2;
inline constexpr UINT TVGN_PARENT = 0x3;
inline constexpr UINT TVGN_CHILD = 0x4;
inline constexpr UINT TVGN_NEXTVISIBLE = 0x6;
inline constexpr UINT TVGN_CARET = 0x9;
inline constexpr UINT TVC_UNKNOWN = 0x0;
inline constexpr UINT TVC_BYMOUSE = 0x1;
inline constexpr UINT TVC_BYKEYBOARD = 0x2;

class CTreeCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);

    // Inserts under `parent` (TVI_ROOT: a top item) after `after` (TVI_FIRST, TVI_LAST,
    // TVI_SORT or a sibling); nullptr when the parent or the sibling is not an item here.
    HTREEITEM InsertItem(LPCWSTR text, HTREEITEM parent = TVI_ROOT, HTREEITEM after = TVI_LAST);
    BOOL DeleteItem(HTREEITEM item);
    BOOL DeleteAllItems();
    UINT GetCount() const;

    CString GetItemText(HTREEITEM item) const;
    BOOL SetItemText(HTREEITEM item, LPCWSTR text);
    DWORD_PTR GetItemData(HTREEITEM item) const;
    BOOL SetItemData(HTREEITEM item, DWORD_PTR data);

    HTREEITEM GetRootItem() const;
    HTREEITEM GetParentItem(HTREEITEM item) const;
    HTREEITEM GetChildItem(HTREEITEM item) const;
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const;
    HTREEITEM GetPrevSiblingItem(HTREEITEM item) const;
    HTREEITEM GetNextVisibleItem(HTREEITEM item) const;
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const;
    BOOL ItemHasChildren(HTREEITEM item) const;

    BOOL Expand(HTREEITEM item, UINT code);
    UINT GetItemState(HTREEITEM item, UINT mask) const;
    BOOL SelectItem(HTREEITEM item);
    HTREEITEM GetSelectedItem() const;
    BOOL EnsureVisible(HTREEITEM item);

    // FALSE when the item is not shown (a collapsed ancestor).
    BOOL GetItemRect(HTREEITEM item, LPRECT rect, BOOL textOnly) const;
    int GetItemHeight() const;
    int SetItemHeight(int height);
    UINT GetIndent() const;
};
