// What `gantrel nest` types at the host's command line: the sheet and the parts it picks by
// default, and the script lines that answer the settings dialog and the nesting command as a
// user would.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "zcdb.h"

namespace gantrel::app {

// The settings the command line changes; the others keep the module's values.
struct NestSettingsFlags {
    std::optional<double> spacing;
    std::optional<int> population;
    std::optional<double> rotationStep;
    std::optional<int> mutationRate;
    std::optional<int> arcPrecision;
    std::optional<int> maxTime;
    std::optional<int> generations;
    // Keep improving the best layout until the maximum time.
    bool improve = false;
    // The spacing the run keeps: the flag's, else the module's default of one drawing unit.
    double spacingOrDefault() const { return spacing.value_or(1.0); }
    bool any() const {
        return spacing || population || rotationStep || mutationRate || arcPrecision || maxTime ||
               generations || improve;
    }
};

// One line of the script and, for messages, what it stands for on the command line.
struct NestScriptLine {
    std::string text;
    std::string meaning;
};

// The closed polyline (lightweight or 2-D) of largest area in model space; null when there is
// none.
ZcDbObjectId largestClosedPolyline(ZcDbDatabase& db);

// The handles of every entity of model space but the sheet, in drawing order.
std::vector<std::string> otherEntityHandles(ZcDbDatabase& db, ZcDbObjectId sheet);

// The lines: "Plaxen:Settings" with the dialog's answers when a setting is given (on a module
// just loaded, so the dialog opens with the default settings, rotation not allowed), then
// "Plaxen" with the sheet pick and the parts selection.
std::vector<NestScriptLine> nestScript(const NestSettingsFlags& settings, const std::string& sheet,
                                       const std::vector<std::string>& parts);

} // namespace gantrel::app
