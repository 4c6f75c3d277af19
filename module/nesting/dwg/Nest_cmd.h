// The command "Plaxen": the user picks a sheet polyline and selects parts; the parts are nested
// on the sheet with a stop dialog on screen, and the outcome is drawn as copies.
#pragma once

#include "frame/Commands.h"
#include "nesting/dwg/NestDWG.h"

#include "zcdb.h"

#include <string>
#include <vector>

namespace gantrel {

// Status of a command ended because the user selected no part.
inline constexpr int kNoPartsSelected = -5004;

class Nest_cmd : public Plaxen_cmd {
public:
    // The run gets a copy of the settings.
    explicit Nest_cmd(const NestSettings& settings);

    std::wstring GetGlobalName() override;
    std::wstring GetLocalName() override;
    // The topic of "Plaxen" in the dialog-help map.
    std::wstring GetHelpTopic() override;

    // Asks for the sheet (only a polyline is taken; Esc ends) and the parts, nests them and
    // draws the outcome. The sheet is highlighted while the command works on it. RTCAN after Esc
    // at the sheet prompt, kNoPartsSelected after an empty selection, else RTNORM.
    virtual int Execute();

    ZcDbObjectId Sheet() const { return m_sheet; }
    const std::vector<ZcDbObjectId>& SelectedParts() const { return m_parts; }

protected:
    // Attaches the output observers in the order their work depends on, runs with the stop
    // dialog on screen, and restores the status bar.
    virtual void RunNesting();

private:
    ZcDbObjectId m_sheet;
    std::vector<ZcDbObjectId> m_parts;
    NestDWG m_nest;
};

// The handler of "Plaxen": a Nest_cmd over the module's nesting settings, started (which binds
// its help) and executed.
void PlaxenCommand();

} // namespace gantrel
