// Text editors placed over a grid cell or a tree item: the plain in-place edit, the grid edit
// that asks its owner to move to a neighbouring cell, and the grid edit for numbers.
#pragma once

#include "ui/UI_Messages.h"

namespace gantrel {

// An edit that shows `initial` selected when it is created and reports Enter, Esc and the
// loss of the focus to its owner. Left and Right move the caret inside the text; at the start
// (Left) or the end (Right) they are passed on (OnArrowOutside).
class UI_Edit : public CEdit, protected UI_OwnerLink {
public:
    explicit UI_Edit(const CString& initial = CString(), CWnd* owner = nullptr);

    virtual CString GetValue() const;
    const CString& InitialText() const { return m_initial; }
    // Whether the edit has sent its closing message (Enter or the loss of the focus).
    bool HasNotified() const { return m_notified; }
    using UI_OwnerLink::OwnerWindow;

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    int OnCreate(LPCREATESTRUCT createStruct) override;
    void OnKillFocus(CWnd* newWnd) override;
    // An arrow key the text has no use for; TRUE when it was dealt with.
    virtual BOOL OnArrowOutside(UINT key);
    void SendKillFocus();

    CString m_initial;

private:
    bool m_notified = false;
};

// A grid cell's edit: tells its owner when it becomes active and when its content changes,
// and asks for the neighbouring cell (identifier -1, +1, -100, +100) when an arrow key leaves
// the text.
class UI_DG_Edit : public UI_Edit {
public:
    using UI_Edit::UI_Edit;

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void OnSetFocus(CWnd* oldWnd) override;
    BOOL OnArrowOutside(UINT key) override;
};

// A grid cell's edit for a number. A text counts as a number when it is empty or starts with
// one of "0123456789.,-"; anything else shows the initial text again when the edit loses the
// focus.
class UI_DG_E_Numeric : public UI_DG_Edit {
public:
    using UI_DG_Edit::UI_DG_Edit;

    static bool IsNumber(const CString& text);
    // The value of a number text, with "." or "," as the decimal mark (as a European keyboard
    // types it); false for a text that does not read as a whole number.
    static bool ReadNumber(const CString& text, double& value);

    // "0.000" for an empty text, the initial text for one that is not a number.
    CString GetValue() const override;

protected:
    void OnKillFocus(CWnd* newWnd) override;
};

} // namespace gantrel
