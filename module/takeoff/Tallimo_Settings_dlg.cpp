#include "takeoff/Tallimo_Settings_dlg.h"

#include "drawing/ZWDrawer.h"
#include "frame/TextProvider.h"
#include "resources/TakeoffResources.h"
#include "takeoff/TakeoffSettings.h"

namespace gantrel {

Tallimo_Settings_dlg::Tallimo_Settings_dlg() : CDialogEx(IDD_TAKEOFF_SETTINGS) {}

BOOL Tallimo_Settings_dlg::OnInitDialog() {
    CDialogEx::OnInitDialog();
    SetWindowText(GetPackText(51000).c_str());
    SetDlgItemText(IDOK, GetPackText(30005).c_str());
    SetDlgItemText(IDCANCEL, GetPackText(30004).c_str());
    m_tabs.SubclassDlgItem(IDC_SETTINGS_TABS, this);
    const INI settings = LoadSettings();
    m_tabs.Fill(settings);
    return TRUE;
}

void Tallimo_Settings_dlg::OnOK() {
    const INI settings = m_tabs.Collect();
    SettingsSaver_DictionaryXData(WorkingDatabase()).Save(settings);
    CDialogEx::OnOK();
}

void SettingsCommand() {
    Tallimo_Settings_dlg dialog;
    dialog.DoModal();
}

} // namespace gantrel
