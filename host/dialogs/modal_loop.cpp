// The modal loop: posted and cross-thread messages first, then due timers, then the user's next
// action; with nothing to do it sleeps until a message arrives, a timer is due or the operator
// wants to be asked again.
#include "dialog.h"
#include "dialog_operator.h"
#include "window_state.h"

#include <algorithm>
#include <optional>

using namespace dialogs::detail;

namespace {

std::optional<QueuedMessage> TakeQueued(MessageQueue& queue) {
    std::lock_guard lock(queue.mutex);
    if (queue.messages.empty()) {
        return std::nullopt;
    }
    QueuedMessage item = std::move(queue.messages.front());
    queue.messages.pop_front();
    return item;
}

// Longer than any dialog is ever left waiting by an operator: treated as "until woken".
constexpr auto kForever = std::chrono::hours(24);

} // namespace

void CDialog::RunModalLoop() {
    auto& thread = CurrentThread();
    while (!m_ended && IsWindow(m_hWnd)) {
        if (auto item = TakeQueued(*thread.queue)) {
            if (item->reply != nullptr) {
                item->reply->set_value(
                    Deliver(item->msg.hwnd, item->msg.message, item->msg.wParam, item->msg.lParam));
            } else {
                Process(item->msg, m_hWnd);
            }
            continue;
        }
        if (FireDueTimer()) {
            continue;
        }
        dialogs::DialogOperator* dialogOperator = dialogs::CurrentDialogOperator();
        const dialogs::NextInput next =
            dialogOperator != nullptr ? dialogOperator->Next(*this) : dialogs::NextInput{};
        switch (next.kind) {
        case dialogs::NextInput::Kind::Action:
            dialogs::ApplyAction(*this, next.action, *dialogOperator);
            break;
        case dialogs::NextInput::Kind::Wait:
            WaitForMessages(next.wait);
            break;
        case dialogs::NextInput::Kind::Exhausted:
            CloseForLackOfInput(dialogOperator);
            break;
        }
    }
}

bool CDialog::FireDueTimer() {
    auto& timers = CurrentThread().timers;
    const auto now = std::chrono::steady_clock::now();
    const auto due = std::min_element(timers.begin(), timers.end(),
                                      [](const Timer& a, const Timer& b) { return a.due < b.due; });
    if (due == timers.end() || due->due > now) {
        return false;
    }
    // Missed periods are not made up: one WM_TIMER, and the next one a period from now.
    due->due = now + due->period;
    MSG tick{due->window, WM_TIMER, static_cast<WPARAM>(due->id), 0, 0, {0, 0}};
    Process(tick, m_hWnd);
    return true;
}

void CDialog::WaitForMessages(std::chrono::milliseconds wait) {
    auto& thread = CurrentThread();
    auto deadline = std::chrono::steady_clock::time_point::max();
    if (wait < kForever) {
        deadline = std::chrono::steady_clock::now() + std::max(wait, std::chrono::milliseconds(1));
    }
    for (const Timer& timer : thread.timers) {
        deadline = std::min(deadline, timer.due);
    }
    auto& queue = *thread.queue;
    std::unique_lock lock(queue.mutex);
    const auto ready = [&queue] { return !queue.messages.empty(); };
    if (deadline == std::chrono::steady_clock::time_point::max()) {
        queue.wake.wait(lock, ready);
    } else {
        queue.wake.wait_until(lock, deadline, ready);
    }
}

void CDialog::CloseForLackOfInput(dialogs::DialogOperator* dialogOperator) {
    // The user has gone: Esc where the focus is, as a person leaving would press it.
    HWND target = ::GetFocus();
    if (target == nullptr || !IsDescendant(target, m_hWnd)) {
        target = m_hWnd;
    }
    MSG escape{target, WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
    Process(escape, m_hWnd);
    if (!m_ended && IsWindow(m_hWnd)) {
        // A control kept the Esc for itself: close the dialog as its close box would.
        Deliver(m_hWnd, WM_CLOSE, 0, 0);
    }
    if (!m_ended && IsWindow(m_hWnd)) {
        // A dialog that refuses Cancel would wait for input that never comes.
        if (dialogOperator != nullptr) {
            dialogOperator->Tell("dlg: dialog " + std::to_string(m_templateId) +
                                 " does not close on Cancel and has no more input; closed");
        }
        EndDialog(IDCANCEL);
    }
}
