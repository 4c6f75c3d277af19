// The two service commands of the "Gantrel" group: the version banner and the updater
// launcher.
#pragma once

#include <string>

namespace gantrel {

// The banner printed by the command "Gantrel" and at every drawing load.
std::wstring VersionBanner();
// Command "Gantrel".
void PrintVersionBanner();
// Command "Gantrel_Update": starts "GantrelUpdater_2027.exe" from the suite folder, with that
// folder as working directory, or reports the path followed by " missing !".
void LaunchUpdater();

} // namespace gantrel
