#include "shell_command.h"

#include <cstdlib>
#include <iostream>

#include "drawing_file.h"
#include "exit_status.h"
#include "terminal_input.h"

namespace gantrel::app {

namespace {

// The history of earlier shells: $HOME/.gantrel_history, none without a home folder.
std::string historyFile() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/.gantrel_history" : std::string();
}

} // namespace

ShellCommand::ShellCommand(CLI::App& program)
    : Subcommand(program, "shell",
                 "Work at the host's command line (commands, prompts and dlg lines; Ctrl-C is "
                 "Esc, Ctrl-D ends)") {
    m_command->add_option("DRAWING", m_drawing, "The drawing file (DXF); else a new drawing");
    m_host.addTo(*m_command);
}

int ShellCommand::run() const {
    std::unique_ptr<ZcDbDatabase> db;
    if (!m_drawing.empty()) {
        std::string error;
        db = openDrawing(m_drawing, error);
        if (!db) {
            std::cerr << "gantrel: " << error << '\n';
            return kExitUnreadableInput;
        }
    }
    HostSetup setup;
    if (!setup.loadRegistry(m_host))
        return kExitUnreadableInput;
    editor::HostSession session;
    if (db)
        session.adoptDrawing(std::move(db), m_drawing);
    setup.loadModule(session);
    TerminalInput terminal(session, historyFile());
    session.run(terminal);
    session.modules().unloadAll(session.commands());
    if (!session.transcript().atLineStart())
        session.transcript().write(std::string_view("\n"));
    return kExitDone;
}

} // namespace gantrel::app
