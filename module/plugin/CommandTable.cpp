#include "plugin/CommandTable.h"

#include "frame/ServiceCommands.h"
#include "frame/TextProvider.h"
#include "nesting/dialogs/PlaxenSettings_cmd.h"
#include "nesting/dwg/Nest_cmd.h"
#include "nesting/settings/NestSettings.h"
#include "plugin/ToolCommands.h"
#include "takeoff/AttrVals_cmd.h"
#include "takeoff/AttrVals_dlg.h"
#include "takeoff/MDist_cmd.h"
#include "takeoff/Tallimo_Settings_dlg.h"

#include <memory>

namespace gantrel {

namespace {

std::unique_ptr<TTxt>& TextsSlot() {
    static std::unique_ptr<TTxt> texts;
    return texts;
}

// A row whose names are literals (the drawing tools and the module's service commands).
CommandRow Literal(const wchar_t* group, const wchar_t* name, int flags, ZcRxFunctionPtr handler) {
    return {group, name, name, flags, handler};
}

// A row named by an object of its command class, so the class is the only place the name is
// written.
CommandRow Named(const wchar_t* group, Gantrel_cmd&& command, int flags, ZcRxFunctionPtr handler) {
    return {group, command.GetGlobalName(), command.GetLocalName(), flags, handler};
}

} // namespace

std::vector<CommandRow> CommandTable() {
    return {
        Literal(L"Gantrel", L"T_LZS", ZCRX_CMD_TRANSPARENT, &ArrowsCommand),
        Literal(L"Gantrel", L"T_SumSubPoly", ZCRX_CMD_TRANSPARENT, &SumSubLengthsCommand),
        Literal(L"Gantrel", L"T_PtExport", ZCRX_CMD_TRANSPARENT, &ExportCoordinatesCommand),
        Literal(L"Gantrel", L"Kraty", ZCRX_CMD_TRANSPARENT, &GridCommand),
        Literal(L"Gantrel", L"QuickBlock", ZCRX_CMD_TRANSPARENT, &QuickBlockCommand),
        Literal(L"Gantrel", L"AddToBlock", ZCRX_CMD_TRANSPARENT, &AddToBlockCommand),
        Literal(L"Gantrel", L"RemoveFromBlock", ZCRX_CMD_TRANSPARENT, &RemoveFromBlockCommand),
        Literal(L"Gantrel", L"AttManager", ZCRX_CMD_TRANSPARENT, &AttManagerCommand),
        Literal(L"Gantrel", L"Gantrel", ZCRX_CMD_TRANSPARENT, &PrintVersionBanner),
        Literal(L"Gantrel", L"Gantrel_Update", ZCRX_CMD_TRANSPARENT, &LaunchUpdater),
        Named(L"Plaxen", Nest_cmd(ModuleNestSettings()), ZCRX_CMD_TRANSPARENT, &PlaxenCommand),
        Named(L"Plaxen", PlaxenSettings_cmd(), ZCRX_CMD_MODAL, &PlaxenSettingsCommand),
        Named(L"Tallimo", MDist_cmd(), ZCRX_CMD_TRANSPARENT, &MDistCommand),
        Named(L"Tallimo", AttrVals_cmd(), ZCRX_CMD_TRANSPARENT, &AttrValsCommand),
        Named(L"Tallimo", Settings_cmd(), ZCRX_CMD_TRANSPARENT, &SettingsCommand),
    };
}

TextProvider* SharedTexts() {
    return TextsSlot().get();
}

void CreateSharedTexts() {
    if (!TextsSlot()) {
        TextsSlot() = std::make_unique<TTxt>();
    }
}

void DeleteSharedTexts() {
    TextsSlot().reset();
}

} // namespace gantrel
