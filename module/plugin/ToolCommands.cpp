#include "plugin/ToolCommands.h"

#include <memory>

#include "frame/Commands.h"
#include "plugin/CommandTable.h"
#include "tools/Arrows_cmd.h"
#include "tools/AttManager_cmd.h"
#include "tools/BlockCommands.h"
#include "tools/ExportCoordinates_cmd.h"
#include "tools/Grid_cmd.h"
#include "tools/SumSubLengths_cmd.h"

namespace gantrel {

namespace {

// The command object lives on the stack for one run, with the shared texts and the F1 help of
// its name, which it outlives.
template <class Command> void RunDrawingTool(const wchar_t* name) {
    GantrelHelpFactory factory;
    const std::unique_ptr<CommandHelp> help = factory.CreateHelp(name);
    Command command(SharedTexts(), help.get(), name);
    command.Run();
}

} // namespace

void ArrowsCommand() {
    RunDrawingTool<Arrows_cmd>(L"T_LZS");
}

void SumSubLengthsCommand() {
    RunDrawingTool<SumSubLengths_cmd>(L"T_SumSubPoly");
}

void ExportCoordinatesCommand() {
    RunDrawingTool<ExportCoordinates_cmd>(L"T_PtExport");
}

void GridCommand() {
    RunDrawingTool<Grid_cmd>(L"Kraty");
}

void QuickBlockCommand() {
    RunDrawingTool<QuickBlock_cmd>(L"QuickBlock");
}

void AddToBlockCommand() {
    RunDrawingTool<AddToBlock_cmd>(L"AddToBlock");
}

void RemoveFromBlockCommand() {
    RunDrawingTool<RemoveFromBlock_cmd>(L"RemoveFromBlock");
}

void AttManagerCommand() {
    RunDrawingTool<AttManager_cmd>(L"AttManager");
}

} // namespace gantrel
