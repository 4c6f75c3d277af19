// Buttons placed over a grid cell or a tree item: the check box, the file button and the
// colour button.
#pragma once

#include "ui/UI_Combo.h"

namespace gantrel {

// A push button that knows its owner.
class UI_Button : public CButton, protected UI_OwnerLink {
public:
    explicit UI_Button(CWnd* owner = nullptr) : UI_OwnerLink(owner) {}
    using UI_OwnerLink::OwnerWindow;

protected:
    int OnCreate(LPCREATESTRUCT createStruct) override;
};

// A check box without caption (create it with BS_AUTOCHECKBOX, so that a click toggles it).
// As text it reads "+" when ticked and "-" otherwise; losing the focus is reported once.
class UI_CheckBox : public CButton, protected UI_OwnerLink {
public:
    explicit UI_CheckBox(CWnd* owner = nullptr) : UI_OwnerLink(owner) {}
    using UI_OwnerLink::OwnerWindow;

    CString GetText() const;
    // "+" ticks the box, anything else clears it.
    void SetText(const CString& text);
    bool HasNotified() const { return m_notified; }

protected:
    int OnCreate(LPCREATESTRUCT createStruct) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    bool m_notified = false;
};

// The "..." button of a grid cell: a click asks for an existing drawing file; once one is
// chosen the button keeps its path and tells its owner (WM_UI_FileSel_Changed).
class UI_DG_B_FileSelector : public CButton, protected UI_OwnerLink {
public:
    explicit UI_DG_B_FileSelector(CWnd* owner = nullptr) : UI_OwnerLink(owner) {}
    using UI_OwnerLink::OwnerWindow;

    // The patterns offered: DWG and DXF drawings together, then DXF alone.
    static const wchar_t* const kFilter;

    const CString& GetPath() const { return m_path; }
    bool IsChanged() const { return m_changed; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    int OnCreate(LPCREATESTRUCT createStruct) override;

private:
    void ChooseFile();

    CString m_path;
    bool m_changed = false;
};

// A button that chooses one of the host's colour indexes 1 to 255 for its owner. It shows the
// chosen colour; a click replaces it, in the same place and under the same identifier, by a
// drop-down list of every index (the seven standard colours with their names, "1 red" ...
// "7 white"); choosing an entry sets the colour, Enter or Esc keeps the old one, and the
// button comes back.
class UI_ColSel_btn : public UI_Button {
public:
    explicit UI_ColSel_btn(int colour = 7, CWnd* owner = nullptr);
    ~UI_ColSel_btn() override;

    int GetColour() const { return m_colour; }
    // Indexes outside 1..255 are refused.
    bool SetColour(int colour);
    // "3 green" for a standard colour, else the number.
    static CString ColourText(int colour);
    // The index a text names: "3", "3 green" or "green" (any case); 0 when it names none.
    static int ColourOfText(const CString& text);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    int OnCreate(LPCREATESTRUCT createStruct) override;
    void OnDestroy() override;

private:
    class ColourList;
    void OpenList();
    void CloseList(int chosen);

    int m_colour;
    ColourList* m_list = nullptr;
};

} // namespace gantrel
