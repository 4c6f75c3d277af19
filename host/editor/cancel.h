// A request to cancel, made from outside the thread that runs commands (Ctrl-C at the terminal,
// a signal handler) and polled by whatever runs long: a stop mechanism of a long command, the
// dialog of a user-interface thread. Setting and reading it is safe in a signal handler.
#pragma once

#include <chrono>

#include "dialog_operator.h"

namespace gantrel::editor {

// Asks whatever runs to stop (async-signal-safe).
void RequestCancel() noexcept;
// Whether a cancel was asked for and not yet taken back.
bool CancelRequested() noexcept;
// Takes the request back; the party that acted on it (or a new command) calls this.
void ClearCancelRequest() noexcept;

// The operator of dialogs that have no input source of their own (those of user-interface
// threads, such as a stop dialog of a long run): it leaves the dialog alone until a cancel is
// requested, then presses the dialog's default button (a stop dialog's stop button), or Esc
// when it has none enabled, and takes the request back.
class CancelWatcher : public dialogs::DialogOperator {
public:
    explicit CancelWatcher(std::chrono::milliseconds poll = std::chrono::milliseconds(50))
        : m_poll(poll) {}
    dialogs::NextInput Next(const CDialog& dialog) override;
    // What the dialog tells its user goes nowhere: nobody reads these dialogs line by line.
    void Tell(const std::string&) override {}

private:
    std::chrono::milliseconds m_poll;
};

} // namespace gantrel::editor
