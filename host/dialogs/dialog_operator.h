// The person in front of a modal dialog: user actions, where they come from, and the `dlg` lines
// that write them down. The module never sees this header; the editor, the shell and tests do.
//
//   dlg set ID TEXT      type TEXT into an edit or a drop-down combo (replacing what is there)
//   dlg click ID         click a button (a check box toggles); other controls take the focus
//   dlg key ID KEY       press enter, esc, tab, left, right, up, down, delete or f1 in a control
//   dlg slide ID POS     drag a slider to POS (it stops at the ends of its range)
//   dlg choose ID ITEM   choose a list, combo or tab item by its text, a tree item by its path
//                        of texts separated by "/" ("a/b/c")
//   dlg show             print every control with its identifier, kind, text and state
//
// An action on a control that is not in the dialog, hidden or disabled is refused with a
// message, and the dialog stays open.
#pragma once

#include "afx_types.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class CDialog;

namespace dialogs {

struct DialogAction {
    enum class Kind { Set, Click, Key, Slide, Choose, Show, ResizeColumn };
    Kind kind = Kind::Show;
    int control = 0;
    std::wstring text; // Set: what to type; Choose: the item or path
    UINT key = 0;      // Key: the virtual-key code
    int number = 0;    // Slide: the position; ResizeColumn: the new width
    int column = 0;    // ResizeColumn: the column whose divider is dragged (no script line)
};

// True for a line whose first word is "dlg" (any letter case).
bool IsDialogLine(std::string_view line);
// Parses one `dlg` line (UTF-8); nothing and a message in `error` when it cannot be read.
std::optional<DialogAction> ParseDialogLine(std::string_view line, std::string& error);
// The key names of `dlg key` and their codes; 0 for an unknown name.
UINT KeyFromName(std::string_view name);
std::string KeyName(UINT key);

struct NextInput {
    enum class Kind {
        Action,    // do `action`
        Wait,      // nothing yet; ask again after `wait` (or sooner, when a message arrives)
        Exhausted, // nothing will ever come: the dialog is cancelled
    };
    Kind kind = Kind::Exhausted;
    DialogAction action;
    std::chrono::milliseconds wait{0};
};

// Where a modal dialog's user actions come from, and where what the user is told goes.
class DialogOperator {
public:
    virtual ~DialogOperator() = default;
    virtual NextInput Next(const CDialog& dialog) = 0;
    // Refusals and `dlg show` output, one text per call (UTF-8, lines separated by "\n").
    virtual void Tell(const std::string& text) = 0;
};

// The operator of modal dialogs run on the calling thread (nullptr: none of its own).
void SetThreadDialogOperator(DialogOperator* dialogOperator);
// The operator of threads that have none of their own, such as UI threads (nullptr: none).
// Without either, a modal dialog has no input and is cancelled at once.
void SetDefaultDialogOperator(DialogOperator* dialogOperator);
DialogOperator* CurrentDialogOperator();

// Actions in order, for tests and for the shell's own keys (Ctrl-C pressing a stop button).
// While open and empty it asks the dialog to wait; once closed and empty it is exhausted.
// Any thread may push; what the dialogs were told is kept.
class ActionQueue : public DialogOperator {
public:
    ActionQueue() = default;
    // A closed queue of these lines; a line that cannot be parsed throws std::invalid_argument.
    explicit ActionQueue(const std::vector<std::string>& lines);

    void Push(DialogAction action);
    void PushLine(std::string_view line);
    void Close();

    NextInput Next(const CDialog& dialog) override;
    void Tell(const std::string& text) override;
    std::vector<std::string> Told() const;
    // Everything told, joined with "\n".
    std::string Transcript() const;

private:
    mutable std::mutex m_mutex;
    std::deque<DialogAction> m_actions;
    bool m_closed = false;
    std::vector<std::string> m_told;
};

// An operator over a source of lines (a script or the shell's command line): each `dlg` line is
// one action. A line that is not a `dlg` line, or a `dlg` line that cannot be read, is told and
// skipped, since a dialog can only be answered with `dlg` lines; the end of the lines (nothing
// from `nextLine`) cancels the dialog. Blank lines and comments (";") are skipped silently.
class LineOperator : public DialogOperator {
public:
    LineOperator(std::function<std::optional<std::string>()> nextLine,
                 std::function<void(const std::string&)> tell)
        : m_nextLine(std::move(nextLine)), m_tell(std::move(tell)) {}

    NextInput Next(const CDialog& dialog) override;
    void Tell(const std::string& text) override { m_tell(text); }

private:
    std::function<std::optional<std::string>()> m_nextLine;
    std::function<void(const std::string&)> m_tell;
};

// What `dlg show` prints for a dialog: its caption and template, then every visible control.
std::string DescribeDialog(const CDialog& dialog);

// Carries out one user action on a dialog; refusals are told to `dialogOperator`.
void ApplyAction(CDialog& dialog, const DialogAction& action, DialogOperator& dialogOperator);

} // namespace dialogs
