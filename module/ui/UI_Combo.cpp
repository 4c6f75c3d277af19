#include "ui/UI_Combo.h"

namespace gantrel {

UI_Combo::UI_Combo(const CString& initial, CWnd* owner) : UI_OwnerLink(owner), m_initial(initial) {}

int UI_Combo::OnCreate(LPCREATESTRUCT createStruct) {
    if (CComboBox::OnCreate(createStruct) == -1) {
        return -1;
    }
    AttachOwner(*this);
    if (CWnd* owner = CWnd::FromHandle(OwnerWindow())) {
        SetFont(owner->GetFont());
    }
    SetWindowText(m_initial);
    return 0;
}

bool UI_Combo::ShowText(const CString& text) {
    const int index = FindStringExact(-1, text);
    if (index >= 0) {
        SetCurSel(index);
        return true;
    }
    if ((GetStyle() & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
        return false;
    }
    SetCurSel(-1);
    SetWindowText(text);
    return true;
}

BOOL UI_Combo::CloseOnKey(WPARAM key) {
    UINT message = 0;
    if (key == VK_RETURN || key == VK_TAB) {
        message = WM_UI_COMBO_KILL_FOCUS;
    } else if (key == VK_ESCAPE) {
        message = WM_UI_COMBO_VK_ESCAPE;
    } else {
        return FALSE;
    }
    if (!m_notified) {
        m_notified = true;
        // The owner may delete this combo while it handles the message.
        NotifyOwner(message);
    }
    return TRUE;
}

BOOL UI_Combo::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd == m_hWnd) {
        if (msg->message == WM_KEYDOWN) {
            if (CloseOnKey(msg->wParam)) {
                return TRUE;
            }
        } else if (msg->message == WM_CHAR) {
            // The characters Enter, Tab and Esc produce in the edit part.
            const WPARAM key = msg->wParam == L'\r'   ? VK_RETURN
                               : msg->wParam == L'\t' ? VK_TAB
                               : msg->wParam == 0x1B  ? VK_ESCAPE
                                                      : 0;
            if (key != 0 && CloseOnKey(key)) {
                return TRUE;
            }
        }
    }
    return CComboBox::PreTranslateMessage(msg);
}

BOOL UI_DG_Combo::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
        NotifyOwner(WM_UI_DGITEM_ACTIVATED, static_cast<WPARAM>(GetDlgCtrlID()));
    }
    return UI_Combo::OnChildNotify(message, wParam, lParam, result);
}

} // namespace gantrel
