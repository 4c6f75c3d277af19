#include "nesting/dialogs/PlaxenSettings_cmd.h"

#include "frame/HelpForDialog.h"
#include "frame/HelpMap.h"
#include "nesting/dialogs/Settings_dlg.h"
#include "nesting/settings/NestSettings.h"

#include <memory>

namespace gantrel {

namespace {

constexpr wchar_t kCommandName[] = L"Plaxen:Settings";
// The dialog's entry in the dialog-help map.
constexpr wchar_t kDialogHelpName[] = L"Settings_dlg";

} // namespace

std::wstring PlaxenSettings_cmd::GetGlobalName() {
    return kCommandName;
}

std::wstring PlaxenSettings_cmd::GetLocalName() {
    return kCommandName;
}

void PlaxenSettingsCommand() {
    NestSettings& moduleSettings = ModuleNestSettings();
    Settings_dlg dialog(moduleSettings);
    dialog.SetHelp(
        std::make_unique<PlaxenHelpForDialog>(LookUpHelpTopic(DialogHelpMap(), kDialogHelpName)));
    if (dialog.DoModal() == IDOK) {
        moduleSettings = dialog.Settings();
    }
}

} // namespace gantrel
