// A test dialog with one control of every kind, filled in OnInitDialog; it records the
// notifications it receives and, on OK, what the controls hold.
#pragma once

#include "dialog_test_support.h"

namespace dialog_tests {

inline constexpr UINT kEveryControlDialog = 9004;

// A grid that can lock its columns by swallowing the header's begin-resize notifications.
class LockedGrid : public CListCtrl {
public:
    bool locked = true;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (locked && (header->code == HDN_BEGINTRACKW || header->code == HDN_BEGINTRACKA)) {
            *result = TRUE;
            return TRUE;
        }
        return CListCtrl::OnNotify(wParam, lParam, result);
    }
};

class EveryControlDialog : public CDialog {
public:
    EveryControlDialog();

    std::vector<std::string> notifications;
    // Read on OK.
    CString dropDownText, dropListText, treeSelection, tabCaption;
    int listSelection = -1;
    int check = -1;
    int firstColumnWidth = -1;

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    LockedGrid m_grid;
    CTreeCtrl m_tree;
    CEdit m_valueEditor; // an in-place editor over a tree item
    CImageList m_rowHeight;
};

} // namespace dialog_tests
