// CDialog: creation from a template, data exchange, the dialog's keys and the end of a dialog.
#include "dialog.h"
#include "data_exchange.h"
#include "dialog_templates.h"
#include "window_state.h"

#include <algorithm>

using namespace dialogs::detail;

CDialog::CDialog(UINT templateId, CWnd* parentWnd)
    : m_templateId(templateId), m_pParentWnd(parentWnd) {}

BOOL CDialog::CreateFromTemplate(CWnd* parentWnd, bool modal) {
    const auto resource = FindDialogResource(m_templateId);
    if (!resource || m_hWnd != nullptr) {
        return FALSE;
    }
    DWORD style = resource->style;
    const bool child = !modal && (style & WS_CHILD) != 0 && parentWnd != nullptr;
    if (!child) {
        style = (style & ~WS_CHILD) | WS_POPUP | WS_CAPTION;
    }
    if (modal) {
        style |= WS_VISIBLE;
    }
    const HWND parent = child ? parentWnd->m_hWnd : nullptr;
    if (CreateWindowRecord(this, Kind::Dialog, L"#32770", resource->caption.c_str(), style,
                           resource->rect, parent, 0) == nullptr) {
        return FALSE;
    }
    if (!child) {
        HWND owner = parentWnd != nullptr ? parentWnd->m_hWnd : nullptr;
        auto& modalDialogs = CurrentThread().modal;
        for (auto at = modalDialogs.rbegin(); owner == nullptr && at != modalDialogs.rend(); ++at) {
            if (*at != this) {
                owner = (*at)->m_hWnd; // the dialog that was active when this one opened
            }
        }
        Find(m_hWnd)->owner = owner;
    }
    for (const StoredItem& item : resource->items) {
        if (!CreateTemplateControl(item, *this)) {
            Destroy(m_hWnd);
            return FALSE;
        }
    }
    const HWND focusBefore = ::GetFocus();
    const LRESULT setFocus = Deliver(m_hWnd, WM_INITDIALOG, 0, 0);
    if (!IsWindow(m_hWnd)) {
        return FALSE;
    }
    // TRUE from OnInitDialog asks for the focus on the first control with a tab stop.
    if (!child && setFocus != 0 && ::GetFocus() == focusBefore) {
        NextDlgCtrl();
    }
    return TRUE;
}

INT_PTR CDialog::DoModal() {
    if (m_running) {
        return -1;
    }
    auto& thread = CurrentThread();
    const HWND focusBefore = thread.focus;
    m_ended = false;
    m_result = IDCANCEL;
    thread.modal.push_back(this);
    m_running = true;
    CWnd* owner = m_pParentWnd;
    const bool disableOwner = owner != nullptr && owner->IsWindowEnabled();
    if (disableOwner) {
        owner->EnableWindow(FALSE); // the owner takes no input while the dialog is open
    }
    const BOOL made = CreateFromTemplate(m_pParentWnd, true);
    if (made) {
        RunModalLoop();
    }
    std::erase(thread.modal, this);
    m_running = false;
    if (disableOwner && IsWindow(owner->m_hWnd)) {
        owner->EnableWindow(TRUE);
    }
    if (m_hWnd != nullptr) {
        Destroy(m_hWnd);
    }
    if (IsWindow(focusBefore) && thread.focus == nullptr) {
        MoveFocus(focusBefore);
    }
    return made ? m_result : -1;
}

BOOL CDialog::Create(UINT templateId, CWnd* parentWnd) {
    m_templateId = templateId;
    m_pParentWnd = parentWnd;
    return CreateFromTemplate(parentWnd, false);
}

void CDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    if (!m_running && m_hWnd != nullptr) {
        ShowWindow(SW_HIDE);
    }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CUserException&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange* /*dx*/) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return; // the message was shown; the dialog stays open on the bad value
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnClose() {
    // Closing a dialog is pressing its Cancel.
    SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IDCANCEL), BN_CLICKED), 0);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (CWnd::OnCommand(wParam, lParam)) {
        return TRUE; // the control handled its own notification
    }
    if (HIWORD(wParam) != BN_CLICKED) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOK();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

HWND CDialog::DefaultButton() const {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return nullptr;
    }
    if (m_defId != 0) {
        CWnd* item = GetDlgItem(static_cast<int>(m_defId));
        return item != nullptr ? item->m_hWnd : nullptr;
    }
    for (HWND child : state->children) {
        const auto button = Find(child);
        if (button != nullptr && button->kind == Kind::Button &&
            (button->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            return child;
        }
    }
    return nullptr;
}

void CDialog::SetDefID(UINT id) {
    m_defId = id;
}

DWORD CDialog::GetDefID() const {
    if (m_defId != 0) {
        return m_defId;
    }
    const auto button = Find(DefaultButton());
    return button != nullptr ? static_cast<DWORD>(button->id) : static_cast<DWORD>(IDOK);
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
    // A dialog inside another window (a tab page) leaves the keys to the dialog around it.
    if (msg->message != WM_KEYDOWN || (GetStyle() & WS_CHILD) != 0 ||
        (msg->hwnd != m_hWnd && !IsDescendant(msg->hwnd, m_hWnd))) {
        return FALSE;
    }
    switch (msg->wParam) {
    case VK_RETURN: {
        const auto target = Find(msg->hwnd);
        if (target != nullptr && target->kind == Kind::Button && msg->hwnd != m_hWnd &&
            ((target->style & BS_TYPEMASK) == BS_PUSHBUTTON ||
             (target->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)) {
            if ((target->style & WS_DISABLED) == 0) {
                ClickButton(msg->hwnd); // Enter on a push button presses that button
            }
            return TRUE;
        }
        const auto id = static_cast<WORD>(GetDefID());
        CWnd* button = GetDlgItem(id);
        if (button == nullptr || button->IsWindowEnabled()) {
            Deliver(m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(button != nullptr ? button->m_hWnd : nullptr));
        }
        return TRUE;
    }
    case VK_ESCAPE: {
        CWnd* cancel = GetDlgItem(IDCANCEL);
        if (cancel == nullptr || cancel->IsWindowEnabled()) {
            Deliver(m_hWnd, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IDCANCEL), BN_CLICKED),
                    reinterpret_cast<LPARAM>(cancel != nullptr ? cancel->m_hWnd : nullptr));
        }
        return TRUE;
    }
    case VK_TAB:
        NextDlgCtrl();
        return TRUE;
    default:
        return FALSE;
    }
}

void CDialog::MoveFocusInTabOrder(bool forward) {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return;
    }
    std::vector<HWND> stops;
    for (HWND child : state->children) {
        const auto control = Find(child);
        constexpr DWORD wanted = WS_TABSTOP | WS_VISIBLE;
        if (control != nullptr && (control->style & (wanted | WS_DISABLED)) == wanted) {
            stops.push_back(child);
        }
    }
    if (stops.empty()) {
        return;
    }
    // The direct child that holds the focus, if any.
    HWND current = ::GetFocus();
    while (current != nullptr && Find(current) != nullptr && Find(current)->parent != m_hWnd) {
        current = Find(current)->parent;
    }
    const auto at = std::find(stops.begin(), stops.end(), current);
    HWND next = nullptr;
    if (at == stops.end()) {
        next = forward ? stops.front() : stops.back();
    } else if (forward) {
        next = at + 1 == stops.end() ? stops.front() : *(at + 1);
    } else {
        next = at == stops.begin() ? stops.back() : *(at - 1);
    }
    MoveFocus(next);
}

void CDialog::NextDlgCtrl() {
    MoveFocusInTabOrder(true);
}

void CDialog::PrevDlgCtrl() {
    MoveFocusInTabOrder(false);
}

void CDialog::GotoDlgCtrl(CWnd* control) {
    if (control != nullptr) {
        control->SetFocus();
    }
}
