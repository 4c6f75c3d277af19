// Modules loaded with dlopen: the interface-version check and the application messages.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "zcrxapp.h"

namespace gantrel::editor {

class CommandStack;

struct LoadedModule {
    std::string path;      // as loaded (UTF-8, native separators)
    std::wstring fileName; // without folder
    void* handle = nullptr;
    ZcRxEntryPointFn entry = nullptr;
    bool locked = true; // until the module unlocks itself
    bool mdiAware = false;
};

class ModuleSet {
public:
    ModuleSet() = default;
    ModuleSet(const ModuleSet&) = delete;
    ModuleSet& operator=(const ModuleSet&) = delete;
    ~ModuleSet();

    // Opens the file, reads zcrxGetApiVersion before anything else and refuses a module of
    // another interface version; then sends it kInitAppMsg. Null with the reason in error.
    LoadedModule* load(const std::string& path, std::string& error);
    // Sends kUnloadAppMsg, removes and reports commands the module left registered, and closes
    // the file.
    void unload(LoadedModule* module, CommandStack& commands);
    // Unloads every module, last loaded first.
    void unloadAll(CommandStack& commands);
    void send(LoadedModule& module, ZcRx::AppMsgCode message);
    void sendAll(ZcRx::AppMsgCode message);

    LoadedModule* find(const void* appId) const;
    // By file name without folder, any case.
    LoadedModule* findByName(const std::wstring& fileName) const;
    std::vector<LoadedModule*> list() const;

    // Receives the host's reports on modules, such as commands a module left registered when
    // it was unloaded.
    std::function<void(const std::string&)> onReport;

private:
    std::vector<std::unique_ptr<LoadedModule>> m_modules;
};

} // namespace gantrel::editor
