#include "ui/UI_Messages.h"

namespace gantrel {

UINT WM_UI_DGITEM_ACTIVATED = 0;
UINT WM_UI_DG_SETACTIVE = 0;
UINT WM_UI_FileSel_Changed = 0;
UINT WM_FILTER_SIGNS = 0;
UINT WM_UI_Check_KILL = 0;
UINT WM_UI_ColSel_KILL = 0;
UINT WM_UI_ColSel_SelChanged = 0;
UINT WM_UI_COMBO_KILL_FOCUS = 0;
UINT WM_UI_COMBO_VK_ESCAPE = 0;
UINT WM_UI_EDIT_ACTIVATED = 0;
UINT WM_UI_EDIT_UPDATEVALUE = 0;
UINT WM_UI_EDIT_KILL_FOCUS = 0;
UINT WM_UI_EDIT_VK_ESCAPE = 0;

void RegisterUIMessages() {
    WM_UI_DGITEM_ACTIVATED = RegisterWindowMessage(L"WM_UI_DGITEM_ACTIVATED");
    WM_UI_DG_SETACTIVE = RegisterWindowMessage(L"WM_UI_DG_SETACTIVE");
    WM_UI_FileSel_Changed = RegisterWindowMessage(L"WM_UI_FileSel_Changed");
    WM_FILTER_SIGNS = RegisterWindowMessage(L"WM_FILTER_SIGNS");
    WM_UI_Check_KILL = RegisterWindowMessage(L"WM_UI_Check_KILL");
    WM_UI_ColSel_KILL = RegisterWindowMessage(L"WM_UI_ColSel_KILL");
    WM_UI_ColSel_SelChanged = RegisterWindowMessage(L"WM_UI_ColSel_SelChanged");
    WM_UI_COMBO_KILL_FOCUS = RegisterWindowMessage(L"WM_UI_COMBO_KILL_FOCUS");
    WM_UI_COMBO_VK_ESCAPE = RegisterWindowMessage(L"WM_UI_COMBO_VK_ESCAPE");
    WM_UI_EDIT_ACTIVATED = RegisterWindowMessage(L"WM_UI_EDIT_ACTIVATED");
    WM_UI_EDIT_UPDATEVALUE = RegisterWindowMessage(L"WM_UI_EDIT_UPDATEVALUE");
    WM_UI_EDIT_KILL_FOCUS = RegisterWindowMessage(L"WM_UI_EDIT_KILL_FOCUS");
    WM_UI_EDIT_VK_ESCAPE = RegisterWindowMessage(L"WM_UI_EDIT_VK_ESCAPE");
}

void UI_OwnerLink::AttachOwner(CWnd& editor) {
    if (m_owner == nullptr) {
        if (CWnd* parent = editor.GetParent()) {
            m_owner = parent->GetSafeHwnd();
        }
    }
    editor.SetOwner(CWnd::FromHandle(m_owner));
}

LRESULT UI_OwnerLink::NotifyOwner(UINT message, WPARAM wParam, LPARAM lParam) const {
    if (message == 0 || !IsWindow(m_owner)) {
        return 0;
    }
    return ::SendMessage(m_owner, message, wParam, lParam);
}

} // namespace gantrel
