// The controls' tests: a modeless dialog holding a grid, a tree and a tab control, operated
// one `dlg` line at a time as a user operates it, with every message of the controls that
// reaches the grid or the dialog written down.
#pragma once

#include "afxwin.h"
#include "dialog_operator.h"
#include "ui/Tabs.h"
#include "ui/UI_DataGrid.h"
#include "ui/UI_Tree.h"

#include <string>
#include <vector>

namespace ui_tests {

inline constexpr UINT kDialogId = 9701;
inline constexpr UINT kPageId = 9702;
inline constexpr int kGridId = 1000;
inline constexpr int kTreeId = 2000;
inline constexpr int kTabsId = 3000;
inline constexpr int kPageEditId = 3100;

// The name of a registered message of the controls and its parameter ("EDIT_KILL_FOCUS 1201").
std::string Describe(UINT message, WPARAM wParam);

// Writes down the controls' messages it receives.
class RecordingGrid : public gantrel::UI_DataGrid_2 {
public:
    std::vector<std::string> heard;
    std::vector<std::string> filesChosen; // "row,column: path"
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnFileSelChanged(int row, int column, gantrel::UI_DG_B_FileSelector& button) override;
};

class RecordingTree : public gantrel::UI_Tree {
public:
    std::vector<std::string> handed; // what SetSelectedText got
    void SetSelectedText(const CString& text) override;
};

// Grid 1000 (three columns of 100 pixels, 300 pixels wide), tree 2000 and tab control 3000.
class ControlsDialog : public CDialog {
public:
    ControlsDialog();
    ~ControlsDialog() override;

    // Carries out one `dlg` line; what the user was told, joined with "\n".
    std::string Act(const std::string& line);

    RecordingGrid grid;
    RecordingTree tree;
    gantrel::Tabs tabs;

protected:
    BOOL OnInitDialog() override;
};

// Registers the templates and the controls' messages once per test program.
void RegisterOnce();

} // namespace ui_tests
