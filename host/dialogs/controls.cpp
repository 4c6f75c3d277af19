// Label, button, edit, combo box, slider and image list: their calls and built-in behaviour.
#include "controls.h"
#include "window_state.h"

#include <algorithm>
#include <cwctype>

using namespace dialogs::detail;

namespace {

std::shared_ptr<WindowState> StateWith(HWND window, Kind kind) {
    auto state = Find(window);
    return state != nullptr && state->kind == kind ? state : nullptr;
}

void ClampSelection(const WindowState& state, EditData& edit) {
    const int length = static_cast<int>(state.text.size());
    edit.selStart = std::clamp(edit.selStart, 0, length);
    edit.selEnd = std::clamp(edit.selEnd, 0, length);
}

// Replaces the selection with `text`; the caret ends after the inserted text.
void ReplaceSelection(HWND window, WindowState& state, EditData& edit, const std::wstring& text) {
    ClampSelection(state, edit);
    const int from = std::min(edit.selStart, edit.selEnd);
    const int to = std::max(edit.selStart, edit.selEnd);
    state.text.replace(static_cast<size_t>(from), static_cast<size_t>(to - from), text);
    edit.selStart = edit.selEnd = from + static_cast<int>(text.size());
    NotifyParentCommand(window, EN_CHANGE);
}

} // namespace

// --- Label
// ----------------------------------------------------------------------------------------

BOOL CStatic::Create(LPCWSTR text, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Label), L"STATIC", text, style, rect, parentWnd, id);
}

// --- Button
// ---------------------------------------------------------------------------------------

BOOL CButton::Create(LPCWSTR caption, DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Button), L"BUTTON", caption, style, rect, parentWnd,
                      id);
}

int CButton::GetCheck() const {
    const auto* button = DataOf<ButtonData>(m_hWnd);
    return button == nullptr ? BST_UNCHECKED : button->check;
}

void CButton::SetCheck(int check) {
    if (auto* button = DataOf<ButtonData>(m_hWnd)) {
        button->check = check;
    }
}

namespace dialogs::detail {

void ClickButton(HWND window) {
    const auto state = StateWith(window, Kind::Button);
    if (state == nullptr) {
        return;
    }
    if ((state->style & BS_TYPEMASK) == BS_AUTOCHECKBOX) {
        auto& button = std::get<ButtonData>(state->data);
        button.check = button.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    }
    NotifyParentCommand(window, BN_CLICKED);
}

LRESULT ButtonProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static_cast<void>(wParam);
    static_cast<void>(lParam);
    if (message == WM_HELP) {
        const auto state = Find(window);
        return state == nullptr ? 0 : Deliver(state->parent, message, wParam, lParam);
    }
    return 0;
}

// --- Edit
// -----------------------------------------------------------------------------------------

LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto state = StateWith(window, Kind::Edit);
    if (state == nullptr) {
        return 0;
    }
    auto& edit = std::get<EditData>(state->data);
    ClampSelection(*state, edit);
    const int length = static_cast<int>(state->text.size());
    const bool readOnly = (state->style & ES_READONLY) != 0;
    switch (message) {
    case WM_KEYDOWN:
        switch (wParam) {
        case VK_LEFT:
            edit.selStart = edit.selEnd = std::max(0, edit.selEnd - 1);
            break;
        case VK_RIGHT:
            edit.selStart = edit.selEnd = std::min(length, edit.selEnd + 1);
            break;
        case VK_HOME:
            edit.selStart = edit.selEnd = 0;
            break;
        case VK_END:
            edit.selStart = edit.selEnd = length;
            break;
        case VK_DELETE:
            if (readOnly) {
                break;
            }
            if (edit.selStart == edit.selEnd) {
                if (edit.selEnd >= length) {
                    break;
                }
                edit.selEnd = edit.selStart + 1;
            }
            ReplaceSelection(window, *state, edit, L"");
            break;
        default:
            break;
        }
        return 0;
    case WM_CHAR: {
        const auto ch = static_cast<wchar_t>(wParam);
        if (readOnly) {
            return 0;
        }
        if (ch == L'\b') {
            if (edit.selStart == edit.selEnd && edit.selEnd > 0) {
                edit.selStart = edit.selEnd - 1;
            }
            ReplaceSelection(window, *state, edit, L"");
            return 0;
        }
        if (ch < L' ' || ((state->style & ES_NUMBER) != 0 && !std::iswdigit(ch))) {
            return 0; // control characters and, in a numbers-only edit, anything but digits
        }
        ReplaceSelection(window, *state, edit, std::wstring(1, ch));
        return 0;
    }
    case WM_SETFOCUS:
        NotifyParentCommand(window, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyParentCommand(window, EN_KILLFOCUS);
        return 0;
    case WM_HELP:
        return Deliver(state->parent, message, wParam, lParam);
    default:
        return 0;
    }
}

} // namespace dialogs::detail

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Edit), L"EDIT", L"", style, rect, parentWnd, id);
}

void CEdit::SetSel(int start, int end, BOOL /*noScroll*/) {
    const auto state = StateWith(m_hWnd, Kind::Edit);
    if (state == nullptr) {
        return;
    }
    auto& edit = std::get<EditData>(state->data);
    const int length = static_cast<int>(state->text.size());
    edit.selStart = start < 0 ? length : start;
    edit.selEnd = end < 0 ? length : end;
    if (start == -1) {
        edit.selStart = edit.selEnd; // -1 as start removes the selection
    }
    ClampSelection(*state, edit);
}

void CEdit::GetSel(int& start, int& end) const {
    const auto* edit = DataOf<EditData>(m_hWnd);
    start = edit == nullptr ? 0 : std::min(edit->selStart, edit->selEnd);
    end = edit == nullptr ? 0 : std::max(edit->selStart, edit->selEnd);
}

void CEdit::ReplaceSel(LPCWSTR text, BOOL /*canUndo*/) {
    if (const auto state = StateWith(m_hWnd, Kind::Edit)) {
        ReplaceSelection(m_hWnd, *state, std::get<EditData>(state->data), text ? text : L"");
    }
}

void CEdit::Clear() {
    ReplaceSel(L"");
}

void CEdit::SetReadOnly(BOOL readOnly) {
    ModifyStyle(readOnly ? 0 : ES_READONLY, readOnly ? ES_READONLY : 0);
}

int CEdit::CharFromCaret() const {
    const auto* edit = DataOf<EditData>(m_hWnd);
    return edit == nullptr ? 0 : edit->selEnd;
}

// --- Combo box
// ------------------------------------------------------------------------------------

namespace {

// Shows the current item in the edit part (a drop-down list reads its text from the selection).
void ShowCurrent(WindowState& state, const ComboData& combo) {
    state.text =
        combo.current >= 0 ? combo.items[static_cast<size_t>(combo.current)].text : CString();
}

} // namespace

namespace dialogs::detail {

void SelectComboItem(HWND window, int index) {
    const auto state = StateWith(window, Kind::Combo);
    if (state == nullptr) {
        return;
    }
    auto& combo = std::get<ComboData>(state->data);
    if (index < 0 || index >= static_cast<int>(combo.items.size())) {
        return;
    }
    combo.current = index;
    ShowCurrent(*state, combo);
    NotifyParentCommand(window, CBN_SELCHANGE);
}

LRESULT ComboProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto state = StateWith(window, Kind::Combo);
    if (state == nullptr) {
        return 0;
    }
    auto& combo = std::get<ComboData>(state->data);
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_UP && combo.current > 0) {
            SelectComboItem(window, combo.current - 1);
        } else if (wParam == VK_DOWN && combo.current + 1 < static_cast<int>(combo.items.size())) {
            SelectComboItem(window, combo.current + 1);
        }
        return 0;
    case WM_CHAR:
        if ((state->style & CBS_TYPEMASK) == CBS_DROPDOWN && static_cast<wchar_t>(wParam) >= L' ') {
            state->text.push_back(static_cast<wchar_t>(wParam));
            NotifyParentCommand(window, CBN_EDITCHANGE);
        }
        return 0;
    case WM_SETFOCUS:
        NotifyParentCommand(window, CBN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        NotifyParentCommand(window, CBN_KILLFOCUS);
        return 0;
    case WM_HELP:
        return Deliver(state->parent, message, wParam, lParam);
    default:
        return 0;
    }
}

} // namespace dialogs::detail

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Combo), L"COMBOBOX", L"", style, rect, parentWnd, id);
}

int CComboBox::AddString(LPCWSTR text) {
    auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr) {
        return CB_ERR;
    }
    combo->items.push_back({text != nullptr ? text : L"", 0});
    return static_cast<int>(combo->items.size()) - 1;
}

int CComboBox::InsertString(int index, LPCWSTR text) {
    auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr || index > static_cast<int>(combo->items.size())) {
        return CB_ERR;
    }
    const auto at = index < 0 ? combo->items.size() : static_cast<size_t>(index);
    combo->items.insert(combo->items.begin() + static_cast<std::ptrdiff_t>(at),
                        {text != nullptr ? text : L"", 0});
    if (combo->current >= static_cast<int>(at)) {
        ++combo->current;
    }
    return static_cast<int>(at);
}

int CComboBox::DeleteString(UINT index) {
    auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr || index >= combo->items.size()) {
        return CB_ERR;
    }
    combo->items.erase(combo->items.begin() + static_cast<std::ptrdiff_t>(index));
    if (combo->current == static_cast<int>(index)) {
        combo->current = -1;
    } else if (combo->current > static_cast<int>(index)) {
        --combo->current;
    }
    return static_cast<int>(combo->items.size());
}

void CComboBox::ResetContent() {
    if (const auto state = StateWith(m_hWnd, Kind::Combo)) {
        auto& combo = std::get<ComboData>(state->data);
        combo.items.clear();
        combo.current = -1;
        state->text.Empty();
    }
}

int CComboBox::GetCount() const {
    const auto* combo = DataOf<ComboData>(m_hWnd);
    return combo == nullptr ? CB_ERR : static_cast<int>(combo->items.size());
}

int CComboBox::GetCurSel() const {
    const auto* combo = DataOf<ComboData>(m_hWnd);
    return combo == nullptr ? CB_ERR : combo->current;
}

int CComboBox::SetCurSel(int index) {
    const auto state = StateWith(m_hWnd, Kind::Combo);
    if (state == nullptr) {
        return CB_ERR;
    }
    auto& combo = std::get<ComboData>(state->data);
    if (index < -1 || index >= static_cast<int>(combo.items.size())) {
        combo.current = -1;
        return CB_ERR;
    }
    combo.current = index;
    ShowCurrent(*state, combo);
    return index < 0 ? CB_ERR : index;
}

int CComboBox::GetLBText(int index, CString& text) const {
    const auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr || index < 0 || index >= static_cast<int>(combo->items.size())) {
        text.Empty();
        return CB_ERR;
    }
    text = combo->items[static_cast<size_t>(index)].text;
    return text.GetLength();
}

int CComboBox::GetLBTextLen(int index) const {
    CString text;
    return GetLBText(index, text);
}

int CComboBox::FindStringExact(int startAfter, LPCWSTR text) const {
    const auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr || text == nullptr) {
        return CB_ERR;
    }
    // Searches the whole list once, starting after `startAfter`, without regard to case.
    const int count = static_cast<int>(combo->items.size());
    for (int step = 1; step <= count; ++step) {
        const int index = ((startAfter < 0 ? -1 : startAfter) + step) % count;
        if (combo->items[static_cast<size_t>(index)].text.CompareNoCase(text) == 0) {
            return index;
        }
    }
    return CB_ERR;
}

int CComboBox::SelectString(int startAfter, LPCWSTR text) {
    const auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr || text == nullptr) {
        return CB_ERR;
    }
    // The platform selects the first item that begins with the text, ignoring case.
    const CString prefix(text);
    const int count = static_cast<int>(combo->items.size());
    for (int step = 1; step <= count; ++step) {
        const int index = ((startAfter < 0 ? -1 : startAfter) + step) % count;
        const CString& item = combo->items[static_cast<size_t>(index)].text;
        if (item.Left(prefix.GetLength()).CompareNoCase(prefix) == 0) {
            return SetCurSel(index);
        }
    }
    return CB_ERR;
}

DWORD_PTR CComboBox::GetItemData(int index) const {
    const auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr || index < 0 || index >= static_cast<int>(combo->items.size())) {
        return static_cast<DWORD_PTR>(CB_ERR);
    }
    return combo->items[static_cast<size_t>(index)].data;
}

int CComboBox::SetItemData(int index, DWORD_PTR data) {
    auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr || index < 0 || index >= static_cast<int>(combo->items.size())) {
        return CB_ERR;
    }
    combo->items[static_cast<size_t>(index)].data = data;
    return 0;
}

int CComboBox::GetItemHeight(int /*index*/) const {
    return GetFont()->m_height + 3;
}

int CComboBox::GetDroppedHeight() const {
    const auto* combo = DataOf<ComboData>(m_hWnd);
    return combo == nullptr ? 0 : combo->droppedHeight;
}

int CComboBox::SetDroppedHeight(int height) {
    auto* combo = DataOf<ComboData>(m_hWnd);
    if (combo == nullptr) {
        return CB_ERR;
    }
    combo->droppedHeight = height;
    return height;
}

// --- Slider
// ---------------------------------------------------------------------------------------

namespace dialogs::detail {

void SetSliderPosition(HWND window, int pos, UINT code) {
    const auto state = StateWith(window, Kind::Slider);
    if (state == nullptr) {
        return;
    }
    auto& slider = std::get<SliderData>(state->data);
    slider.pos = std::clamp(pos, slider.min, std::max(slider.min, slider.max));
    const auto position = static_cast<WORD>(slider.pos);
    const UINT scroll = (state->style & 0x2) != 0 ? WM_VSCROLL : WM_HSCROLL; // TBS_VERT
    Deliver(state->parent, scroll, MAKEWPARAM(static_cast<WORD>(code), position),
            reinterpret_cast<LPARAM>(window));
    Deliver(state->parent, scroll, MAKEWPARAM(static_cast<WORD>(TB_ENDTRACK), 0),
            reinterpret_cast<LPARAM>(window));
}

LRESULT SliderProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto state = StateWith(window, Kind::Slider);
    if (state == nullptr) {
        return 0;
    }
    const auto& slider = std::get<SliderData>(state->data);
    if (message == WM_KEYDOWN) {
        if (wParam == VK_LEFT || wParam == VK_UP) {
            SetSliderPosition(window, slider.pos - slider.line, TB_LINEUP);
        } else if (wParam == VK_RIGHT || wParam == VK_DOWN) {
            SetSliderPosition(window, slider.pos + slider.line, TB_LINEDOWN);
        }
    } else if (message == WM_HELP) {
        return Deliver(state->parent, message, wParam, lParam);
    }
    return 0;
}

} // namespace dialogs::detail

BOOL CSliderCtrl::Create(DWORD style, const RECT& rect, CWnd* parentWnd, UINT id) {
    return CreateKind(static_cast<int>(Kind::Slider), L"msctls_trackbar32", L"", style, rect,
                      parentWnd, id);
}

void CSliderCtrl::SetRange(int min, int max, BOOL /*redraw*/) {
    if (auto* slider = DataOf<SliderData>(m_hWnd)) {
        slider->min = min;
        slider->max = max;
        slider->pos = std::clamp(slider->pos, min, std::max(min, max));
    }
}

void CSliderCtrl::GetRange(int& min, int& max) const {
    min = GetRangeMin();
    max = GetRangeMax();
}

int CSliderCtrl::GetRangeMin() const {
    const auto* slider = DataOf<SliderData>(m_hWnd);
    return slider == nullptr ? 0 : slider->min;
}

int CSliderCtrl::GetRangeMax() const {
    const auto* slider = DataOf<SliderData>(m_hWnd);
    return slider == nullptr ? 0 : slider->max;
}

void CSliderCtrl::SetPos(int pos) {
    if (auto* slider = DataOf<SliderData>(m_hWnd)) {
        slider->pos = std::clamp(pos, slider->min, std::max(slider->min, slider->max));
    }
}

int CSliderCtrl::GetPos() const {
    const auto* slider = DataOf<SliderData>(m_hWnd);
    return slider == nullptr ? 0 : slider->pos;
}

int CSliderCtrl::SetLineSize(int size) {
    auto* slider = DataOf<SliderData>(m_hWnd);
    return slider == nullptr ? 0 : std::exchange(slider->line, size);
}

int CSliderCtrl::SetPageSize(int size) {
    auto* slider = DataOf<SliderData>(m_hWnd);
    return slider == nullptr ? 0 : std::exchange(slider->page, size);
}

// --- Image list
// -----------------------------------------------------------------------------------

BOOL CImageList::Create(int cx, int cy, UINT /*flags*/, int /*initial*/, int /*grow*/) {
    if (cx <= 0 || cy <= 0) {
        return FALSE;
    }
    m_cx = cx;
    m_cy = cy;
    return TRUE;
}
