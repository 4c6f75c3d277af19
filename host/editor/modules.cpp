// Loading modules with dlopen.
#include "modules.h"

#include <dlfcn.h>

#include <algorithm>

#include "command_stack.h"
#include "winhost.h"

namespace gantrel::editor {

namespace {

std::string dlMessage() {
    const char* text = dlerror();
    return text ? text : "unknown error";
}

std::string hex(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08X", static_cast<unsigned>(value));
    return buffer;
}

} // namespace

ModuleSet::~ModuleSet() {
    for (auto& m : m_modules)
        if (m->handle)
            dlclose(m->handle);
}

LoadedModule* ModuleSet::load(const std::string& path, std::string& error) {
    dlerror();
    // RTLD_LOCAL: a module resolves the host interface from the program, and its own symbols
    // stay its own.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        error = path + ": cannot be loaded: " + dlMessage();
        return nullptr;
    }
    auto version = reinterpret_cast<ZcRxGetApiVersionFn>(dlsym(handle, "zcrxGetApiVersion"));
    auto entry = reinterpret_cast<ZcRxEntryPointFn>(dlsym(handle, "zcrxEntryPoint"));
    if (!version || !entry) {
        error = path + ": not a module (zcrxGetApiVersion and zcrxEntryPoint are required)";
        dlclose(handle);
        return nullptr;
    }
    int api = version();
    if (api != ZCRX_API_VERSION) {
        error = path + ": built for interface version " + hex(api) + ", this host has " +
                hex(ZCRX_API_VERSION);
        dlclose(handle);
        return nullptr;
    }
    auto module = std::make_unique<LoadedModule>();
    module->path = path;
    std::size_t slash = path.find_last_of('/');
    module->fileName = win::Widen(slash == std::string::npos ? path : path.substr(slash + 1));
    module->handle = handle;
    module->entry = entry;
    LoadedModule* raw = module.get();
    m_modules.push_back(std::move(module));
    send(*raw, ZcRx::kInitAppMsg);
    return raw;
}

void ModuleSet::send(LoadedModule& module, ZcRx::AppMsgCode message) {
    module.entry(message, &module);
}

void ModuleSet::sendAll(ZcRx::AppMsgCode message) {
    for (LoadedModule* m : list())
        send(*m, message);
}

void ModuleSet::unload(LoadedModule* module, CommandStack& commands) {
    auto it = std::find_if(m_modules.begin(), m_modules.end(),
                           [&](const auto& m) { return m.get() == module; });
    if (it == m_modules.end())
        return;
    send(*module, ZcRx::kUnloadAppMsg);
    // Commands whose functions lie in the module must not outlive its code.
    Dl_info moduleInfo{};
    if (dladdr(reinterpret_cast<void*>(module->entry), &moduleInfo) && moduleInfo.dli_fbase) {
        void* base = moduleInfo.dli_fbase;
        const std::vector<std::wstring> left = commands.removeIf([base](ZcRxFunctionPtr f) {
            Dl_info info{};
            return dladdr(reinterpret_cast<void*>(f), &info) && info.dli_fbase == base;
        });
        if (!left.empty() && onReport) {
            std::string names;
            for (const std::wstring& name : left)
                names += (names.empty() ? "" : ", ") + win::Narrow(name);
            onReport(win::Narrow(module->fileName) +
                     " left commands registered at unload: " + names);
        }
    }
    dlclose(module->handle);
    m_modules.erase(it);
}

void ModuleSet::unloadAll(CommandStack& commands) {
    while (!m_modules.empty())
        unload(m_modules.back().get(), commands);
}

LoadedModule* ModuleSet::find(const void* appId) const {
    for (const auto& m : m_modules)
        if (m.get() == appId)
            return m.get();
    return nullptr;
}

LoadedModule* ModuleSet::findByName(const std::wstring& fileName) const {
    for (const auto& m : m_modules)
        if (sameName(m->fileName, fileName))
            return m.get();
    return nullptr;
}

std::vector<LoadedModule*> ModuleSet::list() const {
    std::vector<LoadedModule*> out;
    for (const auto& m : m_modules)
        out.push_back(m.get());
    return out;
}

} // namespace gantrel::editor
