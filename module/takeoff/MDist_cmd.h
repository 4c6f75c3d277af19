// "Tallimo:MDist": a running distance measure. Each picked point adds its distance from the
// previous one to a total, printed in the unit the takeoff settings report quantities in.
#pragma once

#include "frame/Commands.h"

#include "zcge.h"

#include <string>

namespace gantrel {

class MDist_cmd : public Tallimo_cmd {
public:
    std::wstring GetGlobalName() override;
    std::wstring GetLocalName() override;

    // Asks for points until an answer is no point; -5001 (RTERROR) then, as every run ends.
    int Run();
    double Total() const { return m_total; }
    double Factor() const { return m_factor; }

private:
    ZcGePoint3d m_last;
    double m_total = 0.0;
    double m_factor = 1.0;
};

// The factor from the drawing's unit (INSUNITS) to the settings' "Drawing"/"Units"; 1 when
// the host cannot convert between them.
double DrawingToReportFactor();

// The command's handler: binds the help and runs.
void MDistCommand();

} // namespace gantrel
