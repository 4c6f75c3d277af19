// The registered window messages through which the module's controls talk to their owners.
// Their values are handed out by the window system when the module loads (RegisterUIMessages);
// until then they are 0 and nothing is sent.
#pragma once

#include "afxwin.h"

namespace gantrel {

// A grid combo's selection changed; wParam: its control identifier.
extern UINT WM_UI_DGITEM_ACTIVATED;
// An arrow key left a grid text edit; wParam: the identifier of the cell to activate.
extern UINT WM_UI_DG_SETACTIVE;
// A file button's file was chosen; wParam: its control identifier.
extern UINT WM_UI_FileSel_Changed;
extern UINT WM_FILTER_SIGNS;
// A check box lost the focus (sent once in its life).
extern UINT WM_UI_Check_KILL;
extern UINT WM_UI_ColSel_KILL;
extern UINT WM_UI_ColSel_SelChanged;
// Enter or Tab in a combo box (at most one closing message in its life).
extern UINT WM_UI_COMBO_KILL_FOCUS;
// Esc in a combo box.
extern UINT WM_UI_COMBO_VK_ESCAPE;
// A grid text edit became active (wParam 0) or its content changed (wParam: its identifier).
extern UINT WM_UI_EDIT_ACTIVATED;
extern UINT WM_UI_EDIT_UPDATEVALUE;
// A text edit lost the focus or took Enter; wParam: its control identifier.
extern UINT WM_UI_EDIT_KILL_FOCUS;
// Esc in a text edit; wParam: its control identifier.
extern UINT WM_UI_EDIT_VK_ESCAPE;

// Registers all thirteen messages; calling it again gives the same values.
void RegisterUIMessages();

// The window an editor reports to: given at construction, otherwise its parent. It is kept by
// handle, so that a report to an owner that has gone away reaches nobody.
class UI_OwnerLink {
public:
    explicit UI_OwnerLink(CWnd* owner)
        : m_owner(owner != nullptr ? owner->GetSafeHwnd() : nullptr) {}

    // Takes the parent as owner when none was given; called once the editor has its window.
    void AttachOwner(CWnd& editor);
    HWND OwnerWindow() const { return m_owner; }
    // Sends `message` to the owner while it exists; 0 otherwise (and for an unregistered
    // message).
    LRESULT NotifyOwner(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

private:
    HWND m_owner;
};

} // namespace gantrel
