// The simple controls: label, button (push button and check box), edit, combo box, slider, and
// the image list that gives a list control its row height.
#pragma once

#include "cwnd.h"

inline constexpr int CB_ERR = -1;

class CStatic : public CWnd {
public:
    BOOL Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id = 0xFFFF);
};

class CButton : public CWnd {
public:
    BOOL Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
};

class CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);
    // Selects characters start..end (end -1: to the end of the text); the caret goes to end.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    // Replaces the selection with `text` (typing) and puts the caret after it.
    void ReplaceSel(LPCWSTR text, BOOL canUndo = FALSE);
    void Clear();
    void SetReadOnly(BOOL readOnly = TRUE);
    // The caret's character position.
    int CharFromCaret() const;
};

class CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);
    int AddString(LPCWSTR text);
    int InsertString(int index, LPCWSTR text);
    int DeleteString(UINT index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    // Selects an item (-1: none) and shows its text in the edit part; no notification.
    int SetCurSel(int index);
    int GetLBText(int index, CString& text) const;
    int GetLBTextLen(int index) const;
    int FindStringExact(int startAfter, LPCWSTR text) const;
    int SelectString(int startAfter, LPCWSTR text);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    int GetItemHeight(int index) const;
    int GetDroppedHeight() const;
    int SetDroppedHeight(int height);
};

class CSliderCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id);
    void SetRange(int min, int max, BOOL redraw = FALSE);
    void GetRange(int& min, int& max) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    // Kept inside the range.
    void SetPos(int pos);
    int GetPos() const;
    int SetLineSize(int size);
    int SetPageSize(int size);
};

inline constexpr UINT ILC_COLOR32 = 0x20;
inline constexpr UINT ILC_MASK = 0x1;
inline constexpr int LVSIL_NORMAL = 0;
inline constexpr int LVSIL_SMALL = 1;

class CImageList : public CObject {
public:
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

private:
    int m_cx = 0;
    int m_cy = 0;
};
