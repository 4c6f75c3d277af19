#include "ui/UI_Edit.h"

#include <cerrno>
#include <cstdlib>

namespace gantrel {

UI_Edit::UI_Edit(const CString& initial, CWnd* owner) : UI_OwnerLink(owner), m_initial(initial) {}

int UI_Edit::OnCreate(LPCREATESTRUCT createStruct) {
    if (CEdit::OnCreate(createStruct) == -1) {
        return -1;
    }
    AttachOwner(*this);
    if (CWnd* owner = CWnd::FromHandle(OwnerWindow())) {
        SetFont(owner->GetFont());
    }
    SetWindowText(m_initial);
    SetSel(0, -1);
    return 0;
}

CString UI_Edit::GetValue() const {
    CString text;
    GetWindowText(text);
    return text;
}

void UI_Edit::SendKillFocus() {
    m_notified = true;
    // The owner may destroy and delete this edit while it handles the message: nothing of
    // this object is touched afterwards.
    NotifyOwner(WM_UI_EDIT_KILL_FOCUS, static_cast<WPARAM>(GetDlgCtrlID()));
}

BOOL UI_Edit::PreTranslateMessage(MSG* msg) {
    if (msg->message != WM_KEYDOWN || msg->hwnd != m_hWnd) {
        return CEdit::PreTranslateMessage(msg);
    }
    int start = 0;
    int end = 0;
    GetSel(start, end);
    const int caret = CharFromCaret();
    const int length = GetWindowTextLength();
    switch (msg->wParam) {
    case VK_RETURN:
        SendKillFocus();
        return TRUE;
    case VK_ESCAPE:
        NotifyOwner(WM_UI_EDIT_VK_ESCAPE, static_cast<WPARAM>(GetDlgCtrlID()));
        return TRUE;
    case VK_LEFT:
        if (caret > 0) {
            SetSel(caret - 1, caret - 1);
            return TRUE;
        }
        return OnArrowOutside(VK_LEFT);
    case VK_RIGHT:
        if (caret < length) {
            SetSel(caret + 1, caret + 1);
            return TRUE;
        }
        return OnArrowOutside(VK_RIGHT);
    case VK_UP:
    case VK_DOWN:
        return OnArrowOutside(static_cast<UINT>(msg->wParam));
    case VK_DELETE:
        if (start == end) {
            if (end >= length) {
                return TRUE;
            }
            SetSel(start, start + 1);
        }
        Clear();
        SetSel(start, start);
        return TRUE;
    default:
        return CEdit::PreTranslateMessage(msg);
    }
}

BOOL UI_Edit::OnArrowOutside(UINT /*key*/) {
    return FALSE;
}

void UI_Edit::OnKillFocus(CWnd* newWnd) {
    CEdit::OnKillFocus(newWnd);
    SendKillFocus();
}

// --- UI_DG_Edit ---------------------------------------------------------------------------------

void UI_DG_Edit::OnSetFocus(CWnd* oldWnd) {
    UI_Edit::OnSetFocus(oldWnd);
    NotifyOwner(WM_UI_EDIT_ACTIVATED, 0);
}

BOOL UI_DG_Edit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        NotifyOwner(WM_UI_EDIT_ACTIVATED, static_cast<WPARAM>(GetDlgCtrlID()));
    }
    return UI_Edit::OnChildNotify(message, wParam, lParam, result);
}

BOOL UI_DG_Edit::OnArrowOutside(UINT key) {
    const int id = GetDlgCtrlID();
    int next = id;
    switch (key) {
    case VK_LEFT:
        next = id - 1;
        break;
    case VK_RIGHT:
        next = id + 1;
        break;
    case VK_UP:
        next = id - 100;
        break;
    case VK_DOWN:
        next = id + 100;
        break;
    default:
        return FALSE;
    }
    NotifyOwner(WM_UI_DG_SETACTIVE, static_cast<WPARAM>(next));
    return TRUE;
}

// --- UI_DG_E_Numeric ----------------------------------------------------------------------------

bool UI_DG_E_Numeric::IsNumber(const CString& text) {
    return text.IsEmpty() || CString(L"0123456789.,-").Find(text.GetAt(0)) >= 0;
}

bool UI_DG_E_Numeric::ReadNumber(const CString& text, double& value) {
    std::wstring dotted = text;
    for (auto& ch : dotted) {
        if (ch == L',') {
            ch = L'.';
        }
    }
    // Digits, signs, one decimal mark and an exponent: no "inf", "nan" or hexadecimal.
    if (dotted.empty() || dotted.find_first_not_of(L"0123456789.-+eE") != std::wstring::npos) {
        return false;
    }
    wchar_t* end = nullptr;
    errno = 0;
    const double read = std::wcstod(dotted.c_str(), &end);
    if (end == nullptr || *end != L'\0' || errno == ERANGE) {
        return false;
    }
    value = read;
    return true;
}

CString UI_DG_E_Numeric::GetValue() const {
    const CString text = UI_DG_Edit::GetValue();
    if (text.IsEmpty()) {
        return L"0.000";
    }
    return IsNumber(text) ? text : m_initial;
}

void UI_DG_E_Numeric::OnKillFocus(CWnd* newWnd) {
    CString text;
    GetWindowText(text);
    if (!IsNumber(text)) {
        SetWindowText(m_initial);
    }
    UI_DG_Edit::OnKillFocus(newWnd);
}

} // namespace gantrel
