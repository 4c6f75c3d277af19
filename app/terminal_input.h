// The terminal as the host's input source: a GNU Readline command line with history. Ctrl-C at
// a prompt answers it with Esc; Ctrl-C while a command runs asks the host to cancel. When
// standard input is no terminal (a pipe), lines are read plainly and echoed to the transcript.
#pragma once

#include <string>

#include "input.h"
#include "session.h"

namespace gantrel::app {

class TerminalInput : public editor::InputSource {
public:
    // Installs the Ctrl-C handler and reads the history file (when one is given).
    TerminalInput(editor::HostSession& session, std::string historyFile);
    // Restores Ctrl-C and writes the history file.
    ~TerminalInput() override;
    TerminalInput(const TerminalInput&) = delete;
    TerminalInput& operator=(const TerminalInput&) = delete;

    std::optional<editor::InputLine> next(const std::string& prompt) override;
    bool echoes() const override { return !m_terminal; }
    bool interactive() const override { return m_terminal; }

private:
    std::optional<editor::InputLine> readTerminal(const std::string& prompt);
    std::optional<editor::InputLine> readPipe();
    editor::InputLine makeLine(std::string text);

    editor::HostSession& m_session;
    std::string m_historyFile;
    bool m_terminal = false;
    int m_count = 0;
};

} // namespace gantrel::app
