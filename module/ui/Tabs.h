// Tab pages: a tab control that owns one page window per tab and shows the page of the chosen
// tab.
#pragma once

#include "afxwin.h"

#include <memory>
#include <vector>

namespace gantrel {

// A page: a dialog without frame shown inside a Tabs control. Its template must say WS_CHILD.
// Enter and Esc in a page do not end it (the dialog around it decides).
class Tab : public CDialog {
public:
    explicit Tab(UINT templateId) : CDialog(templateId) {}

    // Makes the page's window inside the tab control.
    BOOL CreatePage(CWnd* tabs) { return Create(m_templateId, tabs); }

protected:
    void OnOK() override {}
    void OnCancel() override {}
};

class Tabs : public CTabCtrl {
public:
    Tabs() = default;
    ~Tabs() override;

    // Takes the page (made with `new`, its window a child of this control) and adds a tab
    // with the caption; the first page added is shown, later ones stay hidden until their tab
    // is chosen. Every page is placed in the display area below the tabs.
    void AddPage(CWnd* page, const CString& caption);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    CWnd* Page(int index) const;
    // The index of the shown page; -1 when none is.
    int ShownPage() const { return m_shown; }

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void OnDestroy() override;
    // Hides the shown page and shows the page of the tab with the focus.
    virtual void OnSelChange();

private:
    void PlacePages();

    std::vector<std::unique_ptr<CWnd>> m_pages;
    int m_shown = -1;
};

} // namespace gantrel
