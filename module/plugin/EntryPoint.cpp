// The two functions the host's module loader calls, and the module's reaction to the host's
// application messages.
#include "frame/HelpMap.h"
#include "frame/ServiceCommands.h"
#include "frame/TextProvider.h"
#include "frame/VelmarkApp.h"
#include "plugin/CommandTable.h"
#include "resources/NestingResources.h"
#include "resources/TakeoffResources.h"
#include "ui/UI_Messages.h"

#include "common/Random.h"

#include "winstandin.h"
#include "zcrxapp.h"

namespace gantrel {

namespace {

constexpr int kApiVersion = 132710410;

ZcEdCommandStack* CommandStack() {
    return ZcEdCommandStack::cast(zcrxSysRegistry()->at(ZCRX_COMMAND_DOCK));
}

// The module is unlocked so that it can be unloaded later, and works with every open drawing.
// The runtime generator is seeded once, before any command runs; the controls' messages and
// the dialog templates are registered.
void OnInitialised(void* appId) {
    if (auto* linker = ZcRxDynamicLinker::cast(zcrxSysRegistry()->at(ZCRX_DYNAMIC_LINKER))) {
        linker->unlockApplication(appId);
    }
    zcrxRegisterAppMDIAware(appId);
    srand(static_cast<unsigned>(GetTickCount()));
    RegisterUIMessages();
    RegisterNestingDialogs();
    RegisterTakeoffDialogs();
}

// Runs for every drawing the host loads: the whole sequence again, every command added again
// (the stack keeps the first of a name).
void OnDrawingLoaded() {
    PrintVersionBanner();
    LoadLanguagePack();
    RefreshToolsHelpMap();
    CreateSharedTexts();
    if (ZcEdCommandStack* commands = CommandStack()) {
        for (const CommandRow& row : CommandTable()) {
            commands->addCommand(row.group.c_str(), row.globalName.c_str(), row.localName.c_str(),
                                 row.flags, row.handler);
        }
    }
    Velmark2027App().Load();
}

void OnUnloaded() {
    DeleteSharedTexts();
    if (ZcEdCommandStack* commands = CommandStack()) {
        for (const wchar_t* group : kCommandGroups) {
            commands->removeGroup(group);
        }
    }
    UnloadLanguagePack();
}

} // namespace

} // namespace gantrel

extern "C" __attribute__((visibility("default"))) ZcRx::AppRetCode
zcrxEntryPoint(ZcRx::AppMsgCode msg, void* appId) {
    switch (msg) {
    case ZcRx::kInitAppMsg:
        gantrel::OnInitialised(appId);
        break;
    case ZcRx::kLoadDwgMsg:
        gantrel::OnDrawingLoaded();
        break;
    case ZcRx::kUnloadAppMsg:
        gantrel::OnUnloaded();
        break;
    default:
        break;
    }
    return ZcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int zcrxGetApiVersion() {
    return gantrel::kApiVersion;
}
