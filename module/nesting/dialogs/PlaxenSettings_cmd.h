// The command "Plaxen:Settings": its command class, which alone names it, and its handler, which
// edits the module's nesting settings in the settings dialog.
#pragma once

#include "frame/Commands.h"

#include <string>

namespace gantrel {

class PlaxenSettings_cmd : public Plaxen_cmd {
public:
    std::wstring GetGlobalName() override;
    std::wstring GetLocalName() override;
};

// Opens the settings dialog on a copy of the module's settings, with the dialog help of
// "Settings_dlg"; the copy replaces the module's settings only when the dialog ends with OK.
void PlaxenSettingsCommand();

} // namespace gantrel
