#include "takeoff/MDist_cmd.h"

#include "drawing/UserInput.h"
#include "frame/Printer.h"
#include "frame/TextProvider.h"
#include "takeoff/TakeoffSettings.h"
#include "takeoff/UnitNames.h"

#include <cwchar>

#include "zcutil.h"

namespace gantrel {

namespace {

constexpr wchar_t kCommandName[] = L"Tallimo:MDist";
constexpr unsigned kFirstPointPrompt = 40103;
constexpr unsigned kNextPointPrompt = 52008;
constexpr unsigned kTotalLabel = 40401;

} // namespace

std::wstring MDist_cmd::GetGlobalName() {
    return kCommandName;
}

std::wstring MDist_cmd::GetLocalName() {
    return kCommandName;
}

double DrawingToReportFactor() {
    const std::wstring target = LoadSettings().GetValue(L"Drawing", L"Units");
    const std::wstring drawing = UnitName(ZWVariable(L"INSUNITS").GetInt());
    double factor = 1.0;
    // A unit the host cannot convert (none, or a name it does not know) leaves the factor at 1.
    zcutCvUnit(1.0, drawing.c_str(), target.c_str(), &factor);
    return factor;
}

int MDist_cmd::Run() {
    if (const int status = GetPointFromUser(m_last, GetPackText(kFirstPointPrompt));
        status != RTNORM) {
        return status;
    }
    m_total = 0.0;
    m_factor = DrawingToReportFactor();
    const std::wstring label = GetPackText(kTotalLabel);
    for (;;) {
        ZcGePoint3d next;
        if (const int status = GetPointFromUser(next, GetPackText(kNextPointPrompt), &m_last);
            status != RTNORM) {
            return status;
        }
        m_total += m_last.distanceTo(next);
        m_last = next;
        wchar_t value[512];
        std::swprintf(value, sizeof value / sizeof value[0], L"%0.4f", m_total * m_factor);
        PrintOnCommandLine(label + L" " + value, false);
    }
}

void MDistCommand() {
    MDist_cmd command;
    if (command.Start() != 0) {
        return;
    }
    command.Run();
}

} // namespace gantrel
