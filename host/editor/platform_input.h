// The session's input source behind the platform's questions: message boxes, file dialogs and
// HTML Help (the Windows stand-in's answerer), and the `dlg` lines that operate a modal dialog
// opened on the thread that runs commands (the dialog framework's operator).
#pragma once

#include <string>
#include <thread>

#include "dialog_operator.h"
#include "winhost.h"

namespace gantrel::editor {

class HostSession;

class PlatformInput : public win::Answerer, public dialogs::DialogOperator {
public:
    explicit PlatformInput(HostSession& session);

    // A script gets the default button and the transcript shows caption, text and the answer;
    // a person at the terminal types a button's name (Enter: the default; Esc: Cancel when the
    // box has it).
    int AnswerMessageBox(const win::MessageBoxRequest& request) override;
    // The file name is the answer line itself; Esc cancels; an empty line takes the proposed
    // name, or cancels when there is none.
    std::optional<std::wstring> AnswerFileDialog(const win::FileDialogRequest& request) override;
    // Shown on the command line of the interactive shell; recorded in any case.
    void ShowHelp(const win::HelpRequest& request) override;

    // One `dlg` line per action; Esc or the end of the input closes the dialog as Esc would.
    // Other lines are refused, naming where they came from.
    dialogs::NextInput Next(const CDialog& dialog) override;
    // Refusals of an action are refusals of the line that asked for it; `dlg show` output goes
    // to the transcript as it is.
    void Tell(const std::string& text) override;

private:
    bool onSessionThread() const { return std::this_thread::get_id() == m_thread; }

    HostSession& m_session;
    std::thread::id m_thread;
    std::string m_lastOrigin; // of the `dlg` line being carried out
};

} // namespace gantrel::editor
