// Windows of the headless window system and the calls that reach them by handle.
//
// A window is a record in the process's window table (identifier, text, style, rectangle,
// parent, owner, the thread that made it, and the control's own data); a CWnd object is the
// behaviour attached to that record. Messages are delivered by calling the object's virtual
// WindowProc, which hands the common messages to virtual On... handlers: message maps are
// replaced by overriding those handlers, and by overriding WindowProc for registered messages.
//
// A window is used by the thread that created it; only IsWindow, PostMessage and
// RegisterWindowMessage may be called from any thread.
#pragma once

#include "afx_types.h"

class CWnd;

class CObject {
public:
    virtual ~CObject() = default;
};

class CCmdTarget : public CObject {};

// Fonts carry only a height: text is measured with one fixed-pitch metric (see CWnd::TextWidth).
class CFont : public CObject {
public:
    int m_height = 13;
};

class CWnd : public CCmdTarget {
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; } // NOLINT: the framework's conversion
    // The object attached to a window; nullptr for a window that does not exist.
    static CWnd* FromHandle(HWND window);

    // --- Creation and destruction ---
    // A plain window (no control behaviour); `className` is kept for `dlg show`.
    BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                CWnd* parentWnd, UINT id);
    virtual BOOL DestroyWindow();
    // Attaches this object to an existing window (a control made from a dialog template), so
    // that messages reach this object's handlers from now on.
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parentWnd);
    HWND UnsubclassWindow();

    // --- State ---
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int id);
    void SetWindowText(LPCWSTR text);
    void GetWindowText(CString& text) const;
    int GetWindowText(LPWSTR buffer, int maxCount) const;
    int GetWindowTextLength() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    DWORD GetStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    void MoveWindow(const RECT* rect, BOOL repaint = TRUE);
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    // The window's rectangle in screen coordinates; the client area starts at 0,0 (windows
    // have no borders or captions here).
    void GetWindowRect(LPRECT rect) const;
    void GetClientRect(LPRECT rect) const;
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    CWnd* GetParent() const;
    // The owner when one was set, else the parent.
    CWnd* GetOwner() const;
    void SetOwner(CWnd* owner);
    CWnd* GetDlgItem(int id) const;
    void SetDlgItemText(int id, LPCWSTR text);
    int GetDlgItemText(int id, CString& text) const;
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    void Invalidate(BOOL erase = TRUE) { static_cast<void>(erase); }
    void UpdateWindow() {}
    // Pixel width of `text` in the window's font: 6 pixels a character, as every window measures.
    static int TextWidth(const CString& text) { return 6 * text.GetLength(); }

    // --- Focus, messages, timers ---
    CWnd* SetFocus();
    static CWnd* GetFocus();
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* timerProc);
    BOOL KillTimer(UINT_PTR id);
    int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);

    // --- Behaviour ---
    // Called for every queued or typed message aimed at this window or one of its children,
    // from the target up to the dialog, before the dialog's own key handling and before the
    // message is dispatched; TRUE consumes the message.
    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The built-in behaviour of the window's kind (an edit moves its caret on Left, ...).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_COMMAND and WM_NOTIFY from children. By default they are reflected to the child that
    // sent them (its OnChildNotify); TRUE means handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this window sent, reflected back by its parent; TRUE means handled.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called after the window is gone; the place for `delete this`.
    virtual void PostNcDestroy() {}
    // Called when this object is attached to its window, by Create before WM_CREATE and by
    // SubclassWindow: the place for style changes a control wants whichever way it was made.
    virtual void PreSubclassWindow() {}

protected:
    virtual int OnCreate(LPCREATESTRUCT createStruct);
    virtual void OnDestroy();
    virtual void OnTimer(UINT_PTR id);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual void OnSetFocus(CWnd* oldWnd);
    virtual void OnKillFocus(CWnd* newWnd);
    // Sliders report to their parent here; `control` is the slider.
    virtual void OnHScroll(UINT code, UINT pos, CWnd* control);
    virtual void OnVScroll(UINT code, UINT pos, CWnd* control);
    virtual BOOL OnHelpInfo(HELPINFO* info);
    virtual void OnClose();
    // The default handling of the message being processed.
    LRESULT Default();

    // Creates the window record for this object; used by every control's Create.
    BOOL CreateKind(int kind, LPCWSTR className, LPCWSTR text, DWORD style, const RECT& rect,
                    CWnd* parentWnd, UINT id);

    friend struct WindowAccess;
};

class CScrollBar : public CWnd {};

// --- Calls by handle ----------------------------------------------------------------------------

// Unique values from 0xC000 up; the same name (in any letter case) always gives the same value.
UINT RegisterWindowMessageW(LPCWSTR name);
inline UINT RegisterWindowMessage(LPCWSTR name) {
    return RegisterWindowMessageW(name);
}
BOOL IsWindow(HWND window);
// Delivered at once on the calling thread; a window that does not exist gets nothing (0).
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessageW(window, message, wParam, lParam);
}
// Queued for the window's thread and delivered by its message loop; FALSE when the window does
// not exist. Any thread may post.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
inline BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return PostMessageW(window, message, wParam, lParam);
}
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, void* timerProc);
BOOL KillTimer(HWND window, UINT_PTR id);
HWND GetFocus();
HWND SetFocus(HWND window);

// The application's name, the caption of the framework's own message boxes.
LPCWSTR AfxGetAppName();
void AfxSetAppName(LPCWSTR name);
// A message box owned by the calling thread's active dialog, captioned with the app's name.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
