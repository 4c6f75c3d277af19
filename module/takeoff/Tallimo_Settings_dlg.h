// The settings editor of "Tallimo:Settings" (dialog 59105): one tab per settings section over
// a copy of the effective settings, saved as the drawing's entry on OK.
#pragma once

#include "takeoff/SettingsTabs.h"

#include "afxwin.h"

namespace gantrel {

class Tallimo_Settings_dlg : public CDialogEx {
public:
    Tallimo_Settings_dlg();

    BOOL OnInitDialog() override;

protected:
    void OnOK() override;

private:
    SettingsTabs m_tabs;
};

// The handler of "Tallimo:Settings": the editor, shown modally.
void SettingsCommand();

} // namespace gantrel
