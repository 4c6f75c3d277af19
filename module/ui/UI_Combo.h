// Combo boxes placed over a grid cell or a tree item.
#pragma once

#include "ui/UI_Messages.h"

namespace gantrel {

// A combo box that shows `initial` when it is created and reports Enter or Tab
// (WM_UI_COMBO_KILL_FOCUS) and Esc (WM_UI_COMBO_VK_ESCAPE) to its owner, whether pressed as
// keys or typed as characters into the edit part; at most one of them in its life.
class UI_Combo : public CComboBox, protected UI_OwnerLink {
public:
    explicit UI_Combo(const CString& initial = CString(), CWnd* owner = nullptr);

    const CString& InitialText() const { return m_initial; }
    bool HasNotified() const { return m_notified; }
    using UI_OwnerLink::OwnerWindow;

    // Selects the item equal to `text` (without regard to case); in a drop-down that has no
    // such item the text is typed into the edit part. False when nothing could show it.
    bool ShowText(const CString& text);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    int OnCreate(LPCREATESTRUCT createStruct) override;

private:
    // The closing message for Enter, Tab (KILL_FOCUS) or Esc; FALSE for any other key.
    BOOL CloseOnKey(WPARAM key);

    CString m_initial;
    bool m_notified = false;
};

// A grid cell's combo box: every change of its selection is reported with its identifier.
class UI_DG_Combo : public UI_Combo {
public:
    using UI_Combo::UI_Combo;

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};

} // namespace gantrel
