// Dialog data exchange: reading and writing controls, and the framework's own messages for
// values that cannot be read or lie outside their range.
#include "data_exchange.h"
#include "controls.h"
#include "window_state.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cwchar>
#include <cwctype>
#include <string>

using namespace dialogs::detail;

namespace {

// "%.*g" with the digits the type keeps, as the framework shows and reads floating values.
std::wstring FormatFloat(double value, int digits) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.*g", digits, value);
    return buffer;
}

std::wstring ReplacePlaceholders(std::wstring text, const std::wstring& first,
                                 const std::wstring& second = {}) {
    if (const auto at = text.find(L"%1"); at != std::wstring::npos) {
        text.replace(at, 2, first);
    }
    if (const auto at = text.find(L"%2"); at != std::wstring::npos) {
        text.replace(at, 2, second);
    }
    return text;
}

[[noreturn]] void FailWith(CDataExchange* dx, const std::wstring& message) {
    AfxMessageBox(message.c_str(), MB_ICONEXCLAMATION);
    dx->Fail();
}

CWnd* ControlOf(HWND window) {
    return CWnd::FromHandle(window);
}

// True when the text is blanks, `value`'s text, then blanks.
bool Whole(const wchar_t* end) {
    while (*end != L'\0' && std::iswspace(static_cast<wint_t>(*end))) {
        ++end;
    }
    return *end == L'\0';
}

bool HasText(const CString& text) {
    for (wchar_t ch : text) {
        if (!std::iswspace(static_cast<wint_t>(ch))) {
            return true;
        }
    }
    return false;
}

bool ParseLong(const CString& text, long long& value) {
    if (!HasText(text)) {
        return false;
    }
    wchar_t* end = nullptr;
    errno = 0;
    value = std::wcstoll(text.c_str(), &end, 10);
    return errno == 0 && end != text.c_str() && Whole(end);
}

bool ParseDouble(const CString& text, double& value) {
    if (!HasText(text)) {
        return false;
    }
    wchar_t* end = nullptr;
    errno = 0;
    value = std::wcstod(text.c_str(), &end);
    return errno == 0 && end != text.c_str() && Whole(end);
}

CString TextOf(HWND window) {
    CString text;
    if (CWnd* control = ControlOf(window)) {
        control->GetWindowText(text);
    }
    return text;
}

void SetTextOf(HWND window, const std::wstring& text) {
    if (CWnd* control = ControlOf(window)) {
        control->SetWindowText(text.c_str());
    }
}

} // namespace

CDataExchange::CDataExchange(CWnd* dialog, BOOL saveAndValidate)
    : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

HWND CDataExchange::PrepareCtrl(int id) {
    CWnd* control = m_pDlgWnd != nullptr ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    m_idLastControl = id;
    m_bEditLastControl = FALSE;
    return control != nullptr ? control->m_hWnd : nullptr;
}

HWND CDataExchange::PrepareEditCtrl(int id) {
    const HWND control = PrepareCtrl(id);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail() {
    if (m_bSaveAndValidate && m_pDlgWnd != nullptr) {
        if (CWnd* control = m_pDlgWnd->GetDlgItem(m_idLastControl)) {
            control->SetFocus();
            if (m_bEditLastControl) {
                if (auto* edit = DataOf<EditData>(control->m_hWnd)) {
                    edit->selStart = 0;
                    edit->selEnd = control->GetWindowTextLength();
                }
            }
        }
    }
    throw CUserException();
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
    if (control.m_hWnd != nullptr) {
        return;
    }
    const HWND window = dx->PrepareCtrl(id);
    if (window != nullptr) {
        control.SubclassWindow(window);
    }
}

void DDX_Text(CDataExchange* dx, int id, CString& value) {
    const HWND window = dx->PrepareEditCtrl(id);
    if (dx->m_bSaveAndValidate) {
        value = TextOf(window);
    } else {
        SetTextOf(window, value);
    }
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
    const HWND window = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        SetTextOf(window, std::to_wstring(value));
        return;
    }
    long long parsed = 0;
    if (!ParseLong(TextOf(window), parsed) || parsed < INT_MIN || parsed > INT_MAX) {
        FailWith(dx, L"Enter an integer.");
    }
    value = static_cast<int>(parsed);
}

void DDX_Text(CDataExchange* dx, int id, UINT& value) {
    const HWND window = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        SetTextOf(window, std::to_wstring(value));
        return;
    }
    long long parsed = 0;
    if (!ParseLong(TextOf(window), parsed) || parsed < 0 || parsed > UINT_MAX) {
        FailWith(dx, L"Enter a positive integer.");
    }
    value = static_cast<UINT>(parsed);
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
    const HWND window = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        SetTextOf(window, FormatFloat(value, DBL_DIG));
        return;
    }
    double parsed = 0.0;
    if (!ParseDouble(TextOf(window), parsed)) {
        FailWith(dx, L"Enter a number.");
    }
    value = parsed;
}

void DDX_Text(CDataExchange* dx, int id, float& value) {
    const HWND window = dx->PrepareEditCtrl(id);
    if (!dx->m_bSaveAndValidate) {
        SetTextOf(window, FormatFloat(value, FLT_DIG));
        return;
    }
    double parsed = 0.0;
    if (!ParseDouble(TextOf(window), parsed) || parsed > FLT_MAX || parsed < -FLT_MAX) {
        FailWith(dx, L"Enter a number.");
    }
    value = static_cast<float>(parsed);
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
    const HWND window = dx->PrepareCtrl(id);
    auto* button = DataOf<ButtonData>(window);
    if (button == nullptr) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = button->check;
    } else {
        button->check = value;
    }
}

void DDX_Slider(CDataExchange* dx, int id, int& value) {
    auto* slider = dynamic_cast<CSliderCtrl*>(ControlOf(dx->PrepareCtrl(id)));
    if (slider == nullptr) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = slider->GetPos();
    } else {
        slider->SetPos(value);
    }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
    auto* combo = dynamic_cast<CComboBox*>(ControlOf(dx->PrepareCtrl(id)));
    if (combo == nullptr) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        index = combo->GetCurSel();
    } else {
        combo->SetCurSel(index);
    }
}

void DDX_CBString(CDataExchange* dx, int id, CString& value) {
    auto* combo = dynamic_cast<CComboBox*>(ControlOf(dx->PrepareCtrl(id)));
    if (combo == nullptr) {
        return;
    }
    if (dx->m_bSaveAndValidate) {
        combo->GetWindowText(value);
    } else if (combo->SelectString(-1, value) == CB_ERR) {
        combo->SetWindowText(value); // a drop-down shows the text even when no item matches
    }
}

void DDV_MinMaxInt(CDataExchange* dx, int value, int min, int max) {
    if (dx->m_bSaveAndValidate && (value < min || value > max)) {
        FailWith(dx, ReplacePlaceholders(L"Enter an integer between %1 and %2.",
                                         std::to_wstring(min), std::to_wstring(max)));
    }
}

void DDV_MinMaxUInt(CDataExchange* dx, UINT value, UINT min, UINT max) {
    if (dx->m_bSaveAndValidate && (value < min || value > max)) {
        FailWith(dx, ReplacePlaceholders(L"Enter a positive integer between %1 and %2.",
                                         std::to_wstring(min), std::to_wstring(max)));
    }
}

void DDV_MinMaxDouble(CDataExchange* dx, const double& value, double min, double max) {
    if (dx->m_bSaveAndValidate && !(value >= min && value <= max)) {
        FailWith(dx, ReplacePlaceholders(L"Enter a number between %1 and %2.",
                                         FormatFloat(min, DBL_DIG), FormatFloat(max, DBL_DIG)));
    }
}

void DDV_MinMaxFloat(CDataExchange* dx, const float& value, float min, float max) {
    if (dx->m_bSaveAndValidate && !(value >= min && value <= max)) {
        FailWith(dx, ReplacePlaceholders(L"Enter a number between %1 and %2.",
                                         FormatFloat(min, FLT_DIG), FormatFloat(max, FLT_DIG)));
    }
}

void DDV_MaxChars(CDataExchange* dx, const CString& value, int count) {
    if (dx->m_bSaveAndValidate && value.GetLength() > count) {
        FailWith(dx,
                 ReplacePlaceholders(L"Enter no more than %1 characters.", std::to_wstring(count)));
    }
}
