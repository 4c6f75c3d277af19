#include "ui/UI_Buttons.h"

#include "winstandin.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace gantrel {

namespace {

void TakeOwnerFont(CWnd& control, HWND owner) {
    if (CWnd* window = CWnd::FromHandle(owner)) {
        control.SetFont(window->GetFont());
    }
}

// The names of the host's standard colours 1 to 7.
constexpr std::array<const wchar_t*, 7> kColourNames = {L"red",  L"yellow",  L"green", L"cyan",
                                                        L"blue", L"magenta", L"white"};

} // namespace

int UI_Button::OnCreate(LPCREATESTRUCT createStruct) {
    if (CButton::OnCreate(createStruct) == -1) {
        return -1;
    }
    AttachOwner(*this);
    TakeOwnerFont(*this, OwnerWindow());
    return 0;
}

// --- UI_CheckBox --------------------------------------------------------------------------------

int UI_CheckBox::OnCreate(LPCREATESTRUCT createStruct) {
    if (CButton::OnCreate(createStruct) == -1) {
        return -1;
    }
    AttachOwner(*this);
    TakeOwnerFont(*this, OwnerWindow());
    return 0;
}

CString UI_CheckBox::GetText() const {
    return GetCheck() == BST_CHECKED ? L"+" : L"-";
}

void UI_CheckBox::SetText(const CString& text) {
    SetCheck(text == L"+" ? BST_CHECKED : BST_UNCHECKED);
}

void UI_CheckBox::OnKillFocus(CWnd* newWnd) {
    CButton::OnKillFocus(newWnd);
    if (!m_notified) {
        m_notified = true;
        NotifyOwner(WM_UI_Check_KILL); // the owner may delete this box meanwhile
    }
}

// --- UI_DG_B_FileSelector -----------------------------------------------------------------------

const wchar_t* const UI_DG_B_FileSelector::kFilter =
    L"Drawings (*.dwg;*.dxf)\0*.dwg;*.dxf\0DXF drawings (*.dxf)\0*.dxf\0\0";

int UI_DG_B_FileSelector::OnCreate(LPCREATESTRUCT createStruct) {
    if (CButton::OnCreate(createStruct) == -1) {
        return -1;
    }
    AttachOwner(*this);
    TakeOwnerFont(*this, OwnerWindow());
    return 0;
}

BOOL UI_DG_B_FileSelector::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT* result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        ChooseFile();
        return TRUE;
    }
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

void UI_DG_B_FileSelector::ChooseFile() {
    std::array<wchar_t, 1024> file{};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_hWnd;
    ofn.lpstrFilter = kFilter;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
    if (!GetOpenFileNameW(&ofn)) {
        return;
    }
    m_path = file.data();
    m_changed = true;
    NotifyOwner(WM_UI_FileSel_Changed, static_cast<WPARAM>(GetDlgCtrlID()));
}

// --- UI_ColSel_btn ------------------------------------------------------------------------------

// The drop-down list of colours; it reports to its button and is hidden, not destroyed, when a
// choice is made, since that happens inside its own notification.
class UI_ColSel_btn::ColourList : public UI_Combo {
public:
    ColourList(int colour, UI_ColSel_btn& button)
        : UI_Combo(ColourText(colour), &button), m_button(button) {}

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
            CString text;
            GetLBText(GetCurSel(), text);
            m_button.CloseList(ColourOfText(text));
            return TRUE;
        }
        return UI_Combo::OnChildNotify(message, wParam, lParam, result);
    }
    BOOL PreTranslateMessage(MSG* msg) override {
        if (msg->hwnd == m_hWnd && msg->message == WM_KEYDOWN &&
            (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE || msg->wParam == VK_TAB)) {
            m_button.CloseList(0);
            return TRUE;
        }
        return UI_Combo::PreTranslateMessage(msg);
    }

private:
    UI_ColSel_btn& m_button;
};

UI_ColSel_btn::UI_ColSel_btn(int colour, CWnd* owner)
    : UI_Button(owner), m_colour(colour >= 1 && colour <= 255 ? colour : 7) {}

UI_ColSel_btn::~UI_ColSel_btn() {
    if (m_hWnd != nullptr) {
        DestroyWindow(); // while this is still a colour button, so that OnDestroy runs
    }
    delete m_list;
}

CString UI_ColSel_btn::ColourText(int colour) {
    CString text = std::to_wstring(colour);
    if (colour >= 1 && colour <= static_cast<int>(kColourNames.size())) {
        text += CString(L" ") + kColourNames[static_cast<size_t>(colour - 1)];
    }
    return text;
}

int UI_ColSel_btn::ColourOfText(const CString& text) {
    CString name = text;
    name.Trim();
    if (name.IsEmpty()) {
        return 0;
    }
    if (std::iswdigit(static_cast<wint_t>(name.GetAt(0))) != 0) {
        size_t digits = 0;
        while (digits < name.size() && std::iswdigit(static_cast<wint_t>(name[digits])) != 0) {
            ++digits;
        }
        if (digits > 3) {
            return 0;
        }
        const int colour = std::stoi(name.substr(0, digits));
        const CString rest = name.Mid(static_cast<int>(digits)).Trim();
        if (colour < 1 || colour > 255 ||
            (!rest.IsEmpty() && ColourText(colour).CompareNoCase(name) != 0)) {
            return 0;
        }
        return colour;
    }
    for (size_t i = 0; i < kColourNames.size(); ++i) {
        if (name.CompareNoCase(kColourNames[i]) == 0) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

bool UI_ColSel_btn::SetColour(int colour) {
    if (colour < 1 || colour > 255) {
        return false;
    }
    m_colour = colour;
    SetWindowText(ColourText(colour));
    return true;
}

int UI_ColSel_btn::OnCreate(LPCREATESTRUCT createStruct) {
    if (UI_Button::OnCreate(createStruct) == -1) {
        return -1;
    }
    SetWindowText(ColourText(m_colour));
    return 0;
}

void UI_ColSel_btn::OnDestroy() {
    if (m_list != nullptr) {
        m_list->DestroyWindow();
    }
    UI_Button::OnDestroy();
}

BOOL UI_ColSel_btn::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        OpenList();
        return TRUE;
    }
    return UI_Button::OnChildNotify(message, wParam, lParam, result);
}

void UI_ColSel_btn::OpenList() {
    CWnd* parent = GetParent();
    if (parent == nullptr) {
        return;
    }
    if (m_list == nullptr || m_list->GetSafeHwnd() == nullptr) {
        delete m_list;
        m_list = new ColourList(m_colour, *this);
        CRect place;
        GetWindowRect(&place);
        parent->ScreenToClient(&place);
        place.bottom = place.top + std::max<int>(place.Height(), 20);
        if (!m_list->Create(WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, place, parent,
                            static_cast<UINT>(GetDlgCtrlID()))) {
            delete m_list;
            m_list = nullptr;
            return;
        }
        for (int colour = 1; colour <= 255; ++colour) {
            m_list->AddString(ColourText(colour));
        }
        m_list->SetDroppedHeight(m_list->GetItemHeight(0) * 10);
    }
    m_list->SetCurSel(m_colour - 1);
    ShowWindow(SW_HIDE);
    m_list->ShowWindow(SW_SHOW);
    m_list->SetFocus();
}

void UI_ColSel_btn::CloseList(int chosen) {
    if (chosen != 0) {
        SetColour(chosen);
    }
    if (m_list != nullptr) {
        m_list->ShowWindow(SW_HIDE);
    }
    ShowWindow(SW_SHOW);
    SetFocus();
}

} // namespace gantrel
