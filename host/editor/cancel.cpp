// The cancel request and the watcher of user-interface threads' dialogs.
#include "cancel.h"

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

dialogs::NextInput CancelWatcher::Next(const CDialog&) {
    dialogs::NextInput next;
    if (g_cancelRequested.exchange(false)) {
        // No more input from this user: the modal loop presses Esc where the focus is, which
        // is what a person pressing the dialog's Cancel (or stop) would do.
        next.kind = dialogs::NextInput::Kind::Exhausted;
        return next;
    }
    next.kind = dialogs::NextInput::Kind::Wait;
    next.wait = m_poll;
    return next;
}

} // namespace gantrel::editor
