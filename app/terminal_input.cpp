#include "terminal_input.h"

// Readline's headers use FILE without including stdio.h.
#include <cstdio>

#include <readline/history.h>
#include <readline/readline.h>
#include <sys/select.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <iostream>

#include "cancel.h"

namespace gantrel::app {

namespace {

struct sigaction g_previousInterrupt;

extern "C" void onInterrupt(int) {
    // Only a lock-free flag: the prompt loop and whatever runs long look at it.
    editor::RequestCancel();
}

// The line handed over by readline's callback (the callback interface keeps select() in our
// hands, so that Ctrl-C interrupts the wait).
std::optional<std::string> g_line;
bool g_lineDone = false;

extern "C" void takeLine(char* line) {
    g_lineDone = true;
    if (line) {
        g_line = line;
        std::free(line);
    } else {
        g_line.reset(); // Ctrl-D on an empty line: the end of the input
    }
    rl_callback_handler_remove();
}

} // namespace

TerminalInput::TerminalInput(editor::HostSession& session, std::string historyFile)
    : m_session(session), m_historyFile(std::move(historyFile)),
      m_terminal(::isatty(STDIN_FILENO) != 0) {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: Ctrl-C must end the wait for a key
    sigaction(SIGINT, &action, &g_previousInterrupt);
    if (m_terminal) {
        rl_catch_signals = 0;
        rl_readline_name = "gantrel";
        using_history();
        if (!m_historyFile.empty())
            read_history(m_historyFile.c_str());
    }
}

TerminalInput::~TerminalInput() {
    sigaction(SIGINT, &g_previousInterrupt, nullptr);
    if (m_terminal && !m_historyFile.empty())
        write_history(m_historyFile.c_str());
}

editor::InputLine TerminalInput::makeLine(std::string text) {
    editor::InputLine line;
    line.text = editor::trimBlanks(text);
    line.origin = "line " + std::to_string(++m_count);
    line.cancel = line.text == "^C";
    return line;
}

std::optional<editor::InputLine> TerminalInput::next(const std::string& prompt) {
    // A Ctrl-C pressed while a command ran cancels the command's next prompt; one pressed
    // between commands has nothing left to cancel.
    if (!m_session.commandActive())
        editor::ClearCancelRequest();
    else if (editor::CancelRequested()) {
        editor::ClearCancelRequest();
        editor::InputLine line = makeLine("^C");
        line.cancel = true;
        return line;
    }
    return m_terminal ? readTerminal(prompt) : readPipe();
}

std::optional<editor::InputLine> TerminalInput::readPipe() {
    std::string text;
    if (!std::getline(std::cin, text))
        return std::nullopt;
    return makeLine(std::move(text));
}

std::optional<editor::InputLine> TerminalInput::readTerminal(const std::string& prompt) {
    // Readline redraws only the prompt's last line: line breaks before it are printed here.
    std::size_t start = prompt.find_first_not_of('\n');
    std::string shown = start == std::string::npos ? std::string() : prompt.substr(start);
    if (start != 0 && !m_session.transcript().atLineStart())
        m_session.transcript().write(std::string_view("\n"));
    g_lineDone = false;
    g_line.reset();
    rl_callback_handler_install(shown.c_str(), takeLine);
    while (!g_lineDone) {
        fd_set input;
        FD_ZERO(&input);
        FD_SET(STDIN_FILENO, &input);
        const int ready = ::select(STDIN_FILENO + 1, &input, nullptr, nullptr, nullptr);
        if (ready < 0 && errno == EINTR && editor::CancelRequested()) {
            // Ctrl-C: the line typed so far is dropped and the prompt answered with Esc.
            editor::ClearCancelRequest();
            std::FILE* out = rl_outstream ? rl_outstream : stdout;
            std::fputs("^C\n", out);
            std::fflush(out);
            rl_free_line_state();
            rl_callback_sigcleanup();
            rl_callback_handler_remove();
            m_session.transcript().markLineStart();
            editor::InputLine line = makeLine("^C");
            line.cancel = true;
            return line;
        }
        if (ready > 0)
            rl_callback_read_char();
    }
    if (!g_line) {
        std::fputs("\n", stdout);
        std::fflush(stdout);
        m_session.transcript().markLineStart();
        return std::nullopt;
    }
    editor::InputLine line = makeLine(*g_line);
    if (!line.text.empty()) {
        HIST_ENTRY* last =
            history_length > 0 ? history_get(history_base + history_length - 1) : nullptr;
        if (!last || line.text != last->line)
            add_history(line.text.c_str());
    }
    // The typed line ended with Enter on the terminal.
    m_session.transcript().markLineStart();
    return line;
}

} // namespace gantrel::app
