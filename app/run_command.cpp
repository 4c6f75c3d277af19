#include "run_command.h"

#include <iostream>

#include "crt_random.h"
#include "drawing_file.h"
#include "exit_status.h"
#include "input.h"

namespace gantrel::app {

namespace {

// The script's lines until one of them is refused or a command fails: the lines after it were
// written for a state the host is not in, so none of them is fed (a prompt still waiting sees
// the end of the input, which cancels it).
class StoppingScript : public editor::InputSource {
public:
    StoppingScript(editor::ScriptInput& script, const editor::HostSession& session)
        : m_script(script), m_session(session) {}

    std::optional<editor::InputLine> next(const std::string& prompt) override {
        if (stopped())
            return std::nullopt;
        return m_script.next(prompt);
    }
    bool stopped() const { return m_session.refusedLines() > 0 || m_session.failedCommands() > 0; }

private:
    editor::ScriptInput& m_script;
    const editor::HostSession& m_session;
};

} // namespace

RunCommand::RunCommand(CLI::App& program)
    : Subcommand(program, "run", "Run a command script on a drawing") {
    m_command->add_option("DRAWING", m_drawing, "The drawing file (DXF)")->required();
    m_command->add_option("SCRIPT", m_script, "The script: one input per line (UTF-8)")->required();
    m_command->add_option("-o,--output", m_output, "Save the drawing here when the script ends");
    m_command->add_option("--seed", m_seed, "Seed of the random generator (default: tick count)");
    m_host.addTo(*m_command);
}

int RunCommand::run() const {
    std::string error;
    std::optional<editor::ScriptInput> script = editor::ScriptInput::load(m_script, error);
    if (!script) {
        std::cerr << "gantrel: " << error << '\n';
        return kExitUnreadableInput;
    }
    std::unique_ptr<ZcDbDatabase> db = openDrawing(m_drawing, error);
    if (!db) {
        std::cerr << "gantrel: " << error << '\n';
        return kExitUnreadableInput;
    }
    HostSetup setup;
    if (!setup.loadRegistry(m_host))
        return kExitUnreadableInput;

    int status = kExitDone;
    {
        editor::HostSession session;
        session.adoptDrawing(std::move(db), m_drawing);
        setup.loadModule(session);
        // After the module's own seeding at load, so that the given seed is the one used.
        if (m_seed)
            win::srand(*m_seed);
        StoppingScript input(*script, session);
        session.run(input);
        if (session.failedCommands() > 0) {
            std::cerr << "gantrel: " << m_script << ":" << script->lineNumber()
                      << ": a command failed; the script stopped here\n";
            status = kExitFailed;
        } else if (session.refusedLines() > 0) {
            std::cerr << "gantrel: " << m_script << ":" << script->lineNumber()
                      << ": the line was refused; the script stopped here\n";
            status = kExitUnreadableInput;
        } else if (!m_output.empty() && !session.saveDrawing(m_output, error)) {
            std::cerr << "gantrel: " << error << '\n';
            status = kExitFailed;
        }
        // The modules hear of the end in the transcript, which then ends its last line.
        session.modules().unloadAll(session.commands());
        if (!session.transcript().atLineStart())
            session.transcript().write(std::string_view("\n"));
    }
    return status;
}

} // namespace gantrel::app
