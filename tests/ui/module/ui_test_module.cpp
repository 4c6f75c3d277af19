// A module of the controls' tests: its command "UiTest" opens a dialog holding a grid with
// every kind of cell editor and an editable tree, and prints every cell and item when the
// dialog ends with OK, so that a script shows where each edit landed.
#include "afxwin.h"
#include "dialog_resources.h"
#include "ui/UI_DataGrid.h"
#include "ui/UI_Messages.h"
#include "ui/UI_Tree.h"
#include "zced.h"
#include "zcrxapp.h"
#include "zcutil.h"

namespace {

constexpr UINT kDialogId = 9801;
constexpr int kGridId = 1000;
constexpr int kTreeId = 2000;

const DialogItem kItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 330, 80, 350}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 330, 160, 350}},
    {.id = kGridId, .kind = DialogItemKind::ListReport, .rect = {10, 10, 330, 180}},
    {.id = kTreeId,
     .kind = DialogItemKind::Tree,
     .rect = {10, 190, 330, 320},
     .style = TVS_HASBUTTONS | TVS_HASLINES},
};

// A grid that shows a chosen file in the value column of the button's row.
class SettingsGrid : public gantrel::UI_DataGrid_2 {
protected:
    void OnFileSelChanged(int row, int /*column*/, gantrel::UI_DG_B_FileSelector& button) override {
        SetCellText(row, 1, button.GetPath());
    }
};

class ControlsDialog : public CZdUiDialog {
public:
    ControlsDialog() : CZdUiDialog(kDialogId) {}

protected:
    BOOL OnInitDialog() override {
        CZdUiDialog::OnInitDialog();
        m_grid.SubclassDlgItem(kGridId, this);
        m_tree.SubclassDlgItem(kTreeId, this);
        m_grid.m_lock = 1;
        m_grid.InsertColumn(0, L"Key", LVCFMT_LEFT, 80);
        m_grid.InsertColumn(1, L"Value", LVCFMT_LEFT, 200);
        m_grid.InsertColumn(2, L"", LVCFMT_LEFT, 20);
        const wchar_t* keys[] = {L"Name", L"Width", L"Units", L"Layer", L"Visible", L"Template"};
        for (int row = 0; row < 6; ++row) {
            m_grid.InsertRow(row, keys[row]);
        }
        m_grid.SetRowHeight(22);
        m_grid.SetItemText(0, 1, L"Door");
        m_grid.SetItemText(1, 1, L"0,9");
        m_grid.SetItemText(2, 1, L"mm");
        m_grid.AddEdit(0, 1);
        m_grid.AddNumericEdit(1, 1);
        m_grid.AddCombo(2, 1, {L"mm", L"cm", L"m"}, false);
        m_grid.AddCombo(3, 1, {L"0", L"Walls"}, true);
        m_grid.AddCheckBox(4, 1, false);
        m_grid.AddFileButton(5, 2);

        HTREEITEM door = m_tree.InsertItem(L"Door");
        HTREEITEM width = m_tree.InsertItem(L"Width:12", door);
        HTREEITEM frame = m_tree.InsertItem(L"Frame", door);
        HTREEITEM lock = m_tree.InsertItem(L"Lock", door);
        HTREEITEM colour = m_tree.InsertItem(L"Colour:1 red", door);
        m_tree.Record(width)->labelEdit = 1;
        m_tree.Record(frame)->comboEdit = 1;
        m_tree.Record(frame)->choices = {L"wood", L"steel"};
        m_tree.Record(lock)->checkEdit = 1;
        m_tree.Record(colour)->colourEdit = 1;
        m_tree.Expand(door, TVE_EXPAND);
        m_grid.SetFocus();
        return FALSE;
    }

    // Choosing a tree item starts the edit its record asks for.
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header != nullptr && header->idFrom == kTreeId && header->code == TVN_SELCHANGED) {
            m_tree.ActivateItem(reinterpret_cast<const NMTREEVIEW*>(lParam)->itemNew);
            return TRUE;
        }
        return CZdUiDialog::OnNotify(wParam, lParam, result);
    }

    void OnOK() override {
        for (int row = 0; row < m_grid.GetItemCount(); ++row) {
            zcutPrintf(L"\n%s = %s", m_grid.GetCellText(row, 0).c_str(),
                       m_grid.GetCellText(row, 1).c_str());
        }
        for (HTREEITEM item = m_tree.GetChildItem(m_tree.GetRootItem()); item != nullptr;
             item = m_tree.GetNextSiblingItem(item)) {
            const gantrel::UI_TreeItem* record = m_tree.Record(item);
            zcutPrintf(L"\n%s (check %d)", m_tree.Path(item).c_str(),
                       record != nullptr ? record->checkState : -1);
        }
        if (const gantrel::UI_ColSel_btn* button = m_tree.OpenColourButton()) {
            zcutPrintf(L"\ncolour %d", button->GetColour());
        }
        CZdUiDialog::OnOK();
    }

private:
    SettingsGrid m_grid;
    gantrel::UI_Tree m_tree;
};

void UiTest() {
    ControlsDialog dialog;
    const INT_PTR result = dialog.DoModal();
    zcutPrintf(L"\nUiTest: %s", result == IDOK ? L"OK" : L"cancelled");
}

} // namespace

extern "C" __attribute__((visibility("default"))) ZcRx::AppRetCode
zcrxEntryPoint(ZcRx::AppMsgCode msg, void* appId) {
    auto* commands = ZcEdCommandStack::cast(zcrxSysRegistry()->at(ZCRX_COMMAND_DOCK));
    switch (msg) {
    case ZcRx::kInitAppMsg:
        zcrxRegisterAppMDIAware(appId);
        gantrel::RegisterUIMessages();
        RegisterDialogResource(
            {.id = kDialogId, .caption = L"Controls", .rect = {0, 0, 340, 360}, .items = kItems});
        break;
    case ZcRx::kLoadDwgMsg:
        if (commands != nullptr) {
            commands->addCommand(L"UiTest", L"UiTest", L"UiTest", ZCRX_CMD_MODAL, UiTest);
        }
        break;
    case ZcRx::kUnloadAppMsg:
        if (commands != nullptr) {
            commands->removeGroup(L"UiTest");
        }
        UnregisterDialogResource(kDialogId);
        break;
    default:
        break;
    }
    return ZcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int zcrxGetApiVersion() {
    return 132710410;
}
