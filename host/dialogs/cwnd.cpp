// CWnd: the behaviour side of a window, and its access to the window record.
#include "dialog.h"
#include "window_state.h"
#include "winstandin.h"

#include <algorithm>
#include <cwchar>

using namespace dialogs::detail;

namespace {

std::wstring& AppName() {
    static std::wstring name = L"Gantrel";
    return name;
}

CFont& DefaultFont() {
    static CFont font;
    return font;
}

} // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    // A window whose object goes away goes with it, as when a dialog member is destroyed.
    if (const auto state = Find(m_hWnd); state != nullptr && state->object == this) {
        Destroy(m_hWnd);
    }
}

CWnd* CWnd::FromHandle(HWND window) {
    const auto state = Find(window);
    return state == nullptr ? nullptr : state->object;
}

BOOL CWnd::Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Window), className != nullptr ? className : L"",
                      windowName != nullptr ? windowName : L"", style, rect, parentWnd, id);
}

BOOL CWnd::CreateKind(int kind, LPCWSTR className, LPCWSTR text, DWORD style, const RECT& rect,
                      CWnd* parentWnd, UINT id) {
    const HWND parent = parentWnd != nullptr ? parentWnd->m_hWnd : nullptr;
    if (parentWnd != nullptr && parent == nullptr) {
        return FALSE;
    }
    return CreateWindowRecord(this, static_cast<Kind>(kind), className,
                              text != nullptr ? text : L"", style, rect, parent, id) != nullptr
               ? TRUE
               : FALSE;
}

BOOL CWnd::DestroyWindow() {
    return Destroy(m_hWnd) ? TRUE : FALSE;
}

BOOL CWnd::SubclassWindow(HWND window) {
    const auto state = Find(window);
    if (state == nullptr || m_hWnd != nullptr || state->thread != CurrentThread().id) {
        return FALSE;
    }
    state->object = this;
    m_hWnd = window;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parentWnd) {
    CWnd* item = parentWnd != nullptr ? parentWnd->GetDlgItem(static_cast<int>(id)) : nullptr;
    return item != nullptr ? SubclassWindow(item->m_hWnd) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    const auto state = Find(m_hWnd);
    const HWND window = m_hWnd;
    if (state != nullptr && state->object == this) {
        state->object = state->builtIn.get();
    }
    m_hWnd = nullptr;
    return window;
}

int CWnd::GetDlgCtrlID() const {
    const auto state = Find(m_hWnd);
    return state == nullptr ? 0 : state->id;
}

int CWnd::SetDlgCtrlID(int id) {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return 0;
    }
    return std::exchange(state->id, id);
}

void CWnd::SetWindowText(LPCWSTR text) {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return;
    }
    CString value = text != nullptr ? text : L"";
    if (state->kind == Kind::Combo) {
        // Only a drop-down has an edit part; a drop-down list shows its selection.
        if ((state->style & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
            return;
        }
    }
    state->text = value;
    if (auto* edit = std::get_if<EditData>(&state->data)) {
        edit->selStart = edit->selEnd = 0;
        NotifyParentCommand(m_hWnd, EN_CHANGE);
    }
}

void CWnd::GetWindowText(CString& text) const {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        text.Empty();
        return;
    }
    if (const auto* combo = std::get_if<ComboData>(&state->data);
        combo != nullptr && (state->style & CBS_TYPEMASK) == CBS_DROPDOWNLIST) {
        text = combo->current >= 0 ? combo->items[static_cast<size_t>(combo->current)].text
                                   : CString();
        return;
    }
    text = state->text;
}

int CWnd::GetWindowText(LPWSTR buffer, int maxCount) const {
    if (buffer == nullptr || maxCount <= 0) {
        return 0;
    }
    CString text;
    GetWindowText(text);
    const int count = std::min(text.GetLength(), maxCount - 1);
    std::wmemcpy(buffer, text.c_str(), static_cast<size_t>(count));
    buffer[count] = L'\0';
    return count;
}

int CWnd::GetWindowTextLength() const {
    CString text;
    GetWindowText(text);
    return text.GetLength();
}

BOOL CWnd::EnableWindow(BOOL enable) {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return FALSE;
    }
    const BOOL wasDisabled = (state->style & WS_DISABLED) != 0 ? TRUE : FALSE;
    if (enable) {
        state->style &= ~WS_DISABLED;
    } else {
        state->style |= WS_DISABLED;
        // A disabled window cannot keep the keyboard focus.
        if (GetFocus() != nullptr && IsDescendant(::GetFocus(), m_hWnd)) {
            MoveFocus(nullptr);
        }
    }
    return wasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    const auto state = Find(m_hWnd);
    return state != nullptr && (state->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

BOOL CWnd::ShowWindow(int command) {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return FALSE;
    }
    const BOOL wasVisible = (state->style & WS_VISIBLE) != 0 ? TRUE : FALSE;
    if (command == SW_HIDE) {
        state->style &= ~WS_VISIBLE;
    } else {
        state->style |= WS_VISIBLE;
    }
    return wasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    // Visible when it and every ancestor carry WS_VISIBLE.
    for (auto state = Find(m_hWnd); state != nullptr; state = Find(state->parent)) {
        if ((state->style & WS_VISIBLE) == 0) {
            return FALSE;
        }
        if (state->parent == nullptr) {
            return TRUE;
        }
    }
    return FALSE;
}

DWORD CWnd::GetStyle() const {
    const auto state = Find(m_hWnd);
    return state == nullptr ? 0 : state->style;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT /*flags*/) {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return FALSE;
    }
    state->style = (state->style & ~remove) | add;
    return TRUE;
}

void CWnd::MoveWindow(const RECT* rect, BOOL /*repaint*/) {
    if (const auto state = Find(m_hWnd); state != nullptr && rect != nullptr) {
        state->rect = *rect;
    }
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    const CRect rect(x, y, x + width, y + height);
    MoveWindow(&rect, repaint);
}

void CWnd::GetWindowRect(LPRECT rect) const {
    const auto state = Find(m_hWnd);
    if (rect == nullptr) {
        return;
    }
    if (state == nullptr) {
        *rect = CRect();
        return;
    }
    CRect screen = state->rect;
    if (CWnd* parent = GetParent()) {
        parent->ClientToScreen(&screen);
    }
    *rect = screen;
}

void CWnd::GetClientRect(LPRECT rect) const {
    const auto state = Find(m_hWnd);
    if (rect != nullptr) {
        *rect = state == nullptr ? CRect() : CRect(0, 0, state->rect.Width(), state->rect.Height());
    }
}

void CWnd::ClientToScreen(LPPOINT point) const {
    for (auto state = Find(m_hWnd); state != nullptr && point != nullptr;
         state = Find(state->parent)) {
        point->x += state->rect.left;
        point->y += state->rect.top;
    }
}

void CWnd::ClientToScreen(LPRECT rect) const {
    POINT origin{0, 0};
    ClientToScreen(&origin);
    if (rect != nullptr) {
        CRect moved(*rect);
        moved.OffsetRect(origin.x, origin.y);
        *rect = moved;
    }
}

void CWnd::ScreenToClient(LPPOINT point) const {
    POINT origin{0, 0};
    ClientToScreen(&origin);
    if (point != nullptr) {
        point->x -= origin.x;
        point->y -= origin.y;
    }
}

void CWnd::ScreenToClient(LPRECT rect) const {
    POINT origin{0, 0};
    ClientToScreen(&origin);
    if (rect != nullptr) {
        CRect moved(*rect);
        moved.OffsetRect(-origin.x, -origin.y);
        *rect = moved;
    }
}

CWnd* CWnd::GetParent() const {
    const auto state = Find(m_hWnd);
    return state == nullptr ? nullptr : FromHandle(state->parent);
}

CWnd* CWnd::GetOwner() const {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return nullptr;
    }
    return FromHandle(state->owner != nullptr ? state->owner : state->parent);
}

void CWnd::SetOwner(CWnd* owner) {
    if (const auto state = Find(m_hWnd)) {
        state->owner = owner != nullptr ? owner->m_hWnd : nullptr;
    }
}

CWnd* CWnd::GetDlgItem(int id) const {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return nullptr;
    }
    for (HWND child : state->children) {
        const auto childState = Find(child);
        if (childState != nullptr && childState->id == id) {
            return childState->object;
        }
    }
    return nullptr;
}

void CWnd::SetDlgItemText(int id, LPCWSTR text) {
    if (CWnd* item = GetDlgItem(id)) {
        item->SetWindowText(text);
    }
}

int CWnd::GetDlgItemText(int id, CString& text) const {
    text.Empty();
    if (CWnd* item = GetDlgItem(id)) {
        item->GetWindowText(text);
    }
    return text.GetLength();
}

void CWnd::CheckDlgButton(int id, UINT check) {
    if (CWnd* item = GetDlgItem(id)) {
        if (auto* button = DataOf<ButtonData>(item->m_hWnd)) {
            button->check = static_cast<int>(check);
        }
    }
}

UINT CWnd::IsDlgButtonChecked(int id) const {
    CWnd* item = GetDlgItem(id);
    const auto* button = item != nullptr ? DataOf<ButtonData>(item->m_hWnd) : nullptr;
    return button == nullptr ? 0u : static_cast<UINT>(button->check);
}

void CWnd::SetFont(CFont* font, BOOL /*redraw*/) {
    if (const auto state = Find(m_hWnd)) {
        state->font = font;
    }
}

CFont* CWnd::GetFont() const {
    const auto state = Find(m_hWnd);
    return state != nullptr && state->font != nullptr ? state->font : &DefaultFont();
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return Deliver(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, void* timerProc) {
    return ::SetTimer(m_hWnd, id, elapse, timerProc);
}

BOOL CWnd::KillTimer(UINT_PTR id) {
    return ::KillTimer(m_hWnd, id);
}

int CWnd::MessageBox(LPCWSTR text, LPCWSTR caption, UINT type) {
    return MessageBoxW(m_hWnd, text, caption != nullptr ? caption : AfxGetAppName(), type);
}

BOOL CWnd::PreTranslateMessage(MSG* /*msg*/) {
    return FALSE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    auto& thread = CurrentThread();
    const MSG saved = thread.current;
    thread.current = MSG{m_hWnd, message, wParam, lParam, 0, {0, 0}};
    LRESULT result = 0;
    bool handled = true;
    switch (message) {
    case WM_CREATE:
        result = OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));
        break;
    case WM_DESTROY:
        OnDestroy();
        break;
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
                  HIWORD(static_cast<DWORD_PTR>(lParam)));
        break;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), LOWORD(static_cast<DWORD_PTR>(lParam)),
               HIWORD(static_cast<DWORD_PTR>(lParam)));
        break;
    case WM_SETFOCUS:
        OnSetFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case WM_KILLFOCUS:
        OnKillFocus(FromHandle(reinterpret_cast<HWND>(wParam)));
        break;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), FromHandle(reinterpret_cast<HWND>(lParam)));
        break;
    case WM_HELP:
        result = OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam));
        break;
    case WM_CLOSE:
        OnClose();
        break;
    case WM_COMMAND:
        handled = OnCommand(wParam, lParam) != FALSE;
        break;
    case WM_NOTIFY:
        handled = OnNotify(wParam, lParam, &result) != FALSE;
        break;
    default:
        handled = false;
        break;
    }
    if (!handled) {
        result = DefWindowProc(message, wParam, lParam);
    }
    thread.current = saved;
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto state = Find(m_hWnd);
    if (state == nullptr) {
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_F1) {
        // F1 asks for help on the focused control; unhandled, the request climbs to its parents.
        HELPINFO info{sizeof(HELPINFO), 1, state->id, m_hWnd, 0, {0, 0}};
        return Deliver(m_hWnd, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    }
    switch (state->kind) {
    case Kind::Edit:
        return EditProcedure(m_hWnd, message, wParam, lParam);
    case Kind::Button:
        return ButtonProcedure(m_hWnd, message, wParam, lParam);
    case Kind::Combo:
        return ComboProcedure(m_hWnd, message, wParam, lParam);
    case Kind::Slider:
        return SliderProcedure(m_hWnd, message, wParam, lParam);
    case Kind::List:
        return ListProcedure(m_hWnd, message, wParam, lParam);
    case Kind::Tree:
        return TreeProcedure(m_hWnd, message, wParam, lParam);
    case Kind::Tab:
        return TabProcedure(m_hWnd, message, wParam, lParam);
    default:
        break;
    }
    if (message == WM_HELP) {
        // Help not handled by a control goes to its parent, as on the platform.
        return Deliver(state->parent, WM_HELP, wParam, lParam);
    }
    return 0;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const HWND control = reinterpret_cast<HWND>(lParam);
    CWnd* child = FromHandle(control);
    if (child == nullptr || child == this || !IsDescendant(control, m_hWnd)) {
        return FALSE;
    }
    LRESULT result = 0;
    return child->OnChildNotify(WM_COMMAND, wParam, lParam, &result);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    CWnd* child = header != nullptr ? FromHandle(header->hwndFrom) : nullptr;
    if (child == nullptr || child == this || !IsDescendant(header->hwndFrom, m_hWnd)) {
        return FALSE;
    }
    return child->OnChildNotify(WM_NOTIFY, wParam, lParam, result);
}

BOOL CWnd::OnChildNotify(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/,
                         LRESULT* /*result*/) {
    return FALSE;
}

int CWnd::OnCreate(LPCREATESTRUCT /*createStruct*/) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnTimer(UINT_PTR /*id*/) {
    Default();
}
void CWnd::OnKeyDown(UINT /*key*/, UINT /*repeat*/, UINT /*flags*/) {
    Default();
}
void CWnd::OnChar(UINT /*ch*/, UINT /*repeat*/, UINT /*flags*/) {
    Default();
}
void CWnd::OnSetFocus(CWnd* /*oldWnd*/) {
    Default();
}
void CWnd::OnKillFocus(CWnd* /*newWnd*/) {
    Default();
}
void CWnd::OnHScroll(UINT /*code*/, UINT /*pos*/, CWnd* /*control*/) {
    Default();
}
void CWnd::OnVScroll(UINT /*code*/, UINT /*pos*/, CWnd* /*control*/) {
    Default();
}
BOOL CWnd::OnHelpInfo(HELPINFO* /*info*/) {
    return static_cast<BOOL>(Default());
}
void CWnd::OnClose() {
    Default();
}

LRESULT CWnd::Default() {
    const MSG current = CurrentThread().current;
    return DefWindowProc(current.message, current.wParam, current.lParam);
}

LPCWSTR AfxGetAppName() {
    return AppName().c_str();
}

void AfxSetAppName(LPCWSTR name) {
    AppName() = name != nullptr ? name : L"";
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT /*helpId*/) {
    auto& thread = CurrentThread();
    HWND owner = thread.modal.empty() ? nullptr : thread.modal.back()->m_hWnd;
    return MessageBoxW(owner, text, AfxGetAppName(), type);
}
