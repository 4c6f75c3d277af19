// The cancel request and the watcher of user-interface threads' dialogs.
#include "cancel.h"

#include "afxwin.h"

#include <atomic>

namespace gantrel::editor {

namespace {

// A lock-free flag, so that a signal handler may set it.
std::atomic<bool> g_cancelRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

} // namespace

void RequestCancel() noexcept {
    g_cancelRequested.store(true);
}

bool CancelRequested() noexcept {
    return g_cancelRequested.load();
}

void ClearCancelRequest() noexcept {
    g_cancelRequested.store(false);
}

dialogs::NextInput CancelWatcher::Next(const CDialog& dialog) {
    dialogs::NextInput next;
    if (g_cancelRequested.exchange(false)) {
        // A dialog of a long run's own thread is its stop dialog, whose stop button is the
        // default one: pressing it is what the person who asked to cancel wants. A dialog
        // without an enabled default button gets Esc where the focus is.
        const CWnd* button = dialog.GetDlgItem(IDOK);
        if (button != nullptr && button->IsWindowEnabled()) {
            next.kind = dialogs::NextInput::Kind::Action;
            next.action.kind = dialogs::DialogAction::Kind::Click;
            next.action.control = IDOK;
            return next;
        }
        next.kind = dialogs::NextInput::Kind::Exhausted;
        return next;
    }
    next.kind = dialogs::NextInput::Kind::Wait;
    next.wait = m_poll;
    return next;
}

} // namespace gantrel::editor
