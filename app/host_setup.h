// What the subcommands that run the host share: the registry file, the module to load, and
// the operator of dialogs on user-interface threads.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

#include "cancel.h"
#include "session.h"

namespace gantrel::app {

// The folder of the running program (bin/ in the build tree and in the installation).
std::string programFolder();

// The module the host loads: $GANTREL_MODULE, else lib/gantrel/Gantrel.zrx beside the folder
// of the program (<prefix>/bin/gantrel loads <prefix>/lib/gantrel/Gantrel.zrx).
std::string chooseModuleFile();

// Options common to the subcommands that run the host (--registry FILE).
struct HostOptions {
    std::string registry;
    void addTo(CLI::App& command);
};

// Everything a run of the host sets up around its session, and takes down again.
class HostSetup {
public:
    HostSetup();
    ~HostSetup();
    HostSetup(const HostSetup&) = delete;
    HostSetup& operator=(const HostSetup&) = delete;

    // Reads the registry file (--registry, else $GANTREL_REGISTRY, else the installed one).
    // Refused lines are reported on stderr and skipped. False (with a message) only when a file
    // named with --registry cannot be read; otherwise the host runs with an empty registry.
    bool loadRegistry(const HostOptions& options);
    // Loads the module into the session; a missing or unloadable module is reported on stderr
    // and the host runs without it.
    void loadModule(editor::HostSession& session);

private:
    // Dialogs of user-interface threads (a stop dialog) wait until Ctrl-C asks them to cancel.
    editor::CancelWatcher m_watcher;
};

} // namespace gantrel::app
