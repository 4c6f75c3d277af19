#include "nesting/dwg/Nest_cmd.h"

#include "drawing/Entity.h"
#include "drawing/EntityList.h"
#include "drawing/UserInput.h"
#include "drawing/ZWDrawer.h"
#include "drawing/ZWProgressBar.h"
#include "frame/HelpMap.h"
#include "frame/TextProvider.h"
#include "nesting/dwg/OutputObservers.h"
#include "nesting/run/ByDialogStopProvider.h"
#include "nesting/run/ProgressObservers.h"
#include "nesting/run/StopNesting.h"
#include "nesting/settings/NestSettings.h"

#include "zcadstatus.h"
#include "zced.h"

namespace gantrel {

namespace {

constexpr wchar_t kCommandName[] = L"Plaxen";
constexpr unsigned kSheetPrompt = 30301;
constexpr unsigned kPartsPrompt = 30302;
constexpr unsigned kStopButton = 30316;
constexpr std::int64_t kRegenInterval = 10;

} // namespace

Nest_cmd::Nest_cmd(const NestSettings& settings) : m_nest(settings) {}

std::wstring Nest_cmd::GetGlobalName() {
    return kCommandName;
}

std::wstring Nest_cmd::GetLocalName() {
    return kCommandName;
}

std::wstring Nest_cmd::GetHelpTopic() {
    return LookUpHelpTopic(DialogHelpMap(), kCommandName);
}

int Nest_cmd::Execute() {
    m_sheet = PickPolyline(L"\n" + GetPackText(kSheetPrompt));
    if (m_sheet.isNull()) {
        return RTCAN;
    }
    Entity(m_sheet).Highlight(1);
    m_nest.LoadSheet(m_sheet);

    int status = RTNORM;
    m_parts = SelectIds(GetPackText(kPartsPrompt));
    if (m_parts.empty()) {
        status = kNoPartsSelected;
    } else {
        // The sheet picked again among the parts is no part.
        if (const int at = Find(m_parts, m_sheet); at >= 0) {
            m_parts.erase(m_parts.begin() + at);
        }
        NestEntities parts;
        for (const ZcDbObjectId& id : m_parts) {
            parts.Add({id});
        }
        m_nest.LoadParts(parts);
        RunNesting();
    }
    Entity(m_sheet).Highlight(0);
    return status;
}

void Nest_cmd::RunNesting() {
    // Attached in this order, the end of the run draws the best layout, prints the summary over
    // it, sets down the pieces that did not fit, erases the working copies, restores the status
    // bar and regenerates the drawing.
    const Polygons& parts = m_nest.Parts();
    ZcDbDatabase* db = WorkingDatabase();
    PlacementEvaluator placement(parts, db);
    NestStatusPrinter status(parts, m_sheet, placement);
    UnUsedPlacer unused(m_sheet, parts);
    UsedEraser eraser(parts, db);
    ZWProgressBarObserver progress(ZcDbObjectId::kNull, parts);
    TimeBoxedRegenObserver regen(ZcDbObjectId::kNull, parts, kRegenInterval);
    for (Observer* observer : std::initializer_list<Observer*>{&placement, &status, &unused,
                                                               &eraser, &progress, &regen}) {
        m_nest.Attach(observer);
    }
    ByDialogStopProvider stop;
    m_nest.SetStopProvider(&stop);
    {
        NestingStopDialog dialog(GetPackText(kStopButton), stop.Flag());
        m_nest.Prepare();
        m_nest.Run();
        m_nest.Finish();
        dialog.Close();
    }
    ZWProgressBar().Finish();
    for (Observer* observer : std::initializer_list<Observer*>{&placement, &status, &unused,
                                                               &eraser, &progress, &regen}) {
        m_nest.Detach(observer);
    }
    m_nest.SetStopProvider(nullptr);
}

void PlaxenCommand() {
    Nest_cmd command(ModuleNestSettings());
    if (command.Start() != 0) {
        return;
    }
    command.Execute();
}

} // namespace gantrel
