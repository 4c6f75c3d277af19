#include "host_setup.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "dialog_operator.h"
#include "winhost.h"

namespace gantrel::app {

std::string programFolder() {
    char exe[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
    if (length <= 0)
        return ".";
    return std::filesystem::path(std::string(exe, static_cast<std::size_t>(length)))
        .parent_path()
        .string();
}

std::string chooseModuleFile() {
    if (const char* env = std::getenv("GANTREL_MODULE"); env != nullptr && *env != '\0')
        return env;
    return (std::filesystem::path(programFolder()) / ".." / "lib" / "gantrel" / "Gantrel.zrx")
        .lexically_normal()
        .string();
}

void HostOptions::addTo(CLI::App& command) {
    command.add_option("--registry", registry,
                       "The registry file (.reg); else $GANTREL_REGISTRY, else the installed "
                       "share/gantrel/registry.reg");
}

HostSetup::HostSetup() {
    dialogs::SetDefaultDialogOperator(&m_watcher);
}

HostSetup::~HostSetup() {
    dialogs::SetDefaultDialogOperator(nullptr);
}

bool HostSetup::loadRegistry(const HostOptions& options) {
    const std::string path = win::ChooseRegistryFile(options.registry);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        std::cerr << "gantrel: registry file " << path << " cannot be read";
        if (!options.registry.empty()) {
            std::cerr << '\n';
            return false;
        }
        std::cerr << "; running with an empty registry\n";
        win::ClearRegistry();
        return true;
    }
    const win::RegistryLoadResult result = win::LoadRegistryFile(path);
    for (const std::string& message : result.messages)
        std::cerr << "gantrel: " << message << '\n';
    if (!result.ok && result.messages.empty() && !options.registry.empty()) {
        std::cerr << "gantrel: registry file " << path << " cannot be read\n";
        return false;
    }
    return true;
}

void HostSetup::loadModule(editor::HostSession& session) {
    const std::string path = chooseModuleFile();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        std::cerr << "gantrel: module " << path << " not found; running without it\n";
        return;
    }
    std::string error;
    if (!session.loadModule(path, error))
        std::cerr << "gantrel: " << error << "; running without it\n";
}

} // namespace gantrel::app
