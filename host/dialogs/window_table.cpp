// The window table, each thread's message queue and focus, and message delivery.
#include "dialog.h"
#include "window_state.h"
#include "winstandin.h"

#include <algorithm>
#include <cwctype>
#include <map>

namespace dialogs::detail {

namespace {

struct WindowTable {
    std::mutex mutex;
    std::unordered_map<HWND, std::shared_ptr<WindowState>> windows;
    ULONG_PTR next = 0x10010; // handles are never reused, so a stale one is simply unknown
    std::map<DWORD, std::weak_ptr<MessageQueue>> queues;
};

WindowTable& Table() {
    // Never destroyed: UI threads that are never joined may still post at exit.
    static auto* table = new WindowTable;
    return *table;
}

struct ThreadSlot {
    ThreadState state;
    ThreadSlot() {
        state.id = GetCurrentThreadId();
        auto& table = Table();
        std::lock_guard lock(table.mutex);
        table.queues[state.id] = state.queue;
    }
    ~ThreadSlot() {
        auto& table = Table();
        std::lock_guard lock(table.mutex);
        table.queues.erase(state.id);
    }
    ThreadSlot(const ThreadSlot&) = delete;
    ThreadSlot& operator=(const ThreadSlot&) = delete;
};

} // namespace

ThreadState& CurrentThread() {
    thread_local ThreadSlot slot;
    return slot.state;
}

std::shared_ptr<MessageQueue> QueueOfThread(DWORD thread) {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    const auto found = table.queues.find(thread);
    return found == table.queues.end() ? nullptr : found->second.lock();
}

std::shared_ptr<WindowState> Find(HWND window) {
    if (window == nullptr) {
        return nullptr;
    }
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    const auto found = table.windows.find(window);
    return found == table.windows.end() ? nullptr : found->second;
}

HWND Register(std::shared_ptr<WindowState> state) {
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    table.next += 2;
    state->handle = reinterpret_cast<HWND>(table.next);
    const HWND handle = state->handle;
    table.windows.emplace(handle, std::move(state));
    return handle;
}

void Unregister(HWND window) {
    std::shared_ptr<WindowState> released; // destroyed outside the lock
    auto& table = Table();
    std::lock_guard lock(table.mutex);
    const auto found = table.windows.find(window);
    if (found != table.windows.end()) {
        released = std::move(found->second);
        table.windows.erase(found);
    }
}

std::vector<HWND> WindowsOfThread(DWORD thread) {
    std::vector<std::pair<ULONG_PTR, HWND>> found;
    auto& table = Table();
    {
        std::lock_guard lock(table.mutex);
        for (const auto& [handle, state] : table.windows) {
            if (state->thread == thread) {
                found.emplace_back(reinterpret_cast<ULONG_PTR>(handle), handle);
            }
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<HWND> result;
    for (const auto& entry : found) {
        result.push_back(entry.second);
    }
    return result;
}

bool IsDescendant(HWND window, HWND ancestor) {
    for (auto state = Find(window); state != nullptr; state = Find(state->parent)) {
        if (state->handle == ancestor) {
            return true;
        }
    }
    return false;
}

HWND CreateWindowRecord(CWnd* object, Kind kind, LPCWSTR className, LPCWSTR text, DWORD style,
                        const RECT& rect, HWND parent, UINT id) {
    if (object == nullptr || object->m_hWnd != nullptr) {
        return nullptr; // one window per object
    }
    auto parentState = Find(parent);
    if (parent != nullptr && (parentState == nullptr || parentState->destroying)) {
        return nullptr;
    }
    auto state = std::make_shared<WindowState>();
    state->kind = kind;
    state->className = className;
    state->object = object;
    state->id = static_cast<int>(id);
    state->text = text;
    state->style = style;
    state->rect = rect;
    state->parent = parent;
    state->thread = CurrentThread().id;
    state->font = parentState != nullptr ? parentState->font : nullptr;
    switch (kind) {
    case Kind::Edit:
        state->data = EditData{};
        break;
    case Kind::Button:
        state->data = ButtonData{};
        break;
    case Kind::Combo:
        state->data = ComboData{};
        break;
    case Kind::List:
        state->data = ListData{};
        break;
    case Kind::Tree:
        state->data = TreeData{};
        break;
    case Kind::Tab:
        state->data = TabData{};
        break;
    case Kind::Slider:
        state->data = SliderData{};
        break;
    default:
        break;
    }
    const HWND handle = Register(state);
    object->m_hWnd = handle;
    if (parentState != nullptr) {
        parentState->children.push_back(handle);
    }
    object->PreSubclassWindow();
    CREATESTRUCTW create{};
    create.hwndParent = parent;
    create.x = rect.left;
    create.y = rect.top;
    create.cx = rect.right - rect.left;
    create.cy = rect.bottom - rect.top;
    create.style = static_cast<LONG>(style);
    create.lpszName = text;
    if (Deliver(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        Destroy(handle);
        return nullptr;
    }
    return handle;
}

bool Destroy(HWND window) {
    const auto state = Find(window);
    if (state == nullptr || state->destroying || state->thread != CurrentThread().id) {
        return false;
    }
    state->destroying = true;
    auto& thread = CurrentThread();
    if (thread.focus != nullptr && IsDescendant(thread.focus, window)) {
        thread.focus = nullptr;
    }
    // The window hears of its end before its children, as on the platform.
    Deliver(window, WM_DESTROY, 0, 0);
    const std::vector<HWND> children = state->children;
    for (HWND child : children) {
        Destroy(child);
    }
    std::erase_if(thread.timers, [window](const Timer& timer) { return timer.window == window; });
    if (const auto parent = Find(state->parent)) {
        std::erase(parent->children, window);
    }
    Unregister(window);
    CWnd* object = state->object;
    if (state->builtIn != nullptr) {
        state->builtIn->m_hWnd = nullptr;
    }
    if (object != nullptr) {
        object->m_hWnd = nullptr;
        object->PostNcDestroy(); // may delete the object
    }
    state->builtIn.reset();
    return true;
}

void DestroyThreadWindows() {
    for (HWND window : WindowsOfThread(CurrentThread().id)) {
        const auto state = Find(window);
        if (state != nullptr && state->parent == nullptr) {
            Destroy(window);
        }
    }
    for (HWND window : WindowsOfThread(CurrentThread().id)) {
        Destroy(window); // children whose parent belonged to another thread
    }
}

LRESULT Deliver(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto state = Find(window);
    if (state == nullptr || state->object == nullptr) {
        return 0;
    }
    if (state->thread != CurrentThread().id) {
        const auto queue = QueueOfThread(state->thread);
        if (queue == nullptr) {
            return 0;
        }
        QueuedMessage item;
        item.msg = MSG{window, message, wParam, lParam, GetTickCount(), {0, 0}};
        item.reply = std::make_shared<std::promise<LRESULT>>();
        auto answer = item.reply->get_future();
        {
            std::lock_guard lock(queue->mutex);
            queue->messages.push_back(std::move(item));
        }
        queue->wake.notify_all();
        try {
            return answer.get();
        } catch (const std::future_error&) {
            return 0; // the window's thread ended without answering
        }
    }
    return state->object->WindowProc(message, wParam, lParam);
}

void Process(MSG& msg, HWND stop) {
    for (HWND window = msg.hwnd; window != nullptr;) {
        const auto state = Find(window);
        if (state == nullptr) {
            return; // the target went away while the message was on its way
        }
        if (state->object != nullptr && state->object->PreTranslateMessage(&msg)) {
            return;
        }
        if (window == stop) {
            break;
        }
        window = state->parent;
    }
    Deliver(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

HWND MoveFocus(HWND window) {
    auto& thread = CurrentThread();
    const HWND old = thread.focus;
    if (old == window) {
        return old;
    }
    thread.focus = window;
    if (IsWindow(old)) {
        Deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    }
    // The old window may have moved the focus again while losing it.
    if (thread.focus == window && IsWindow(window)) {
        Deliver(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}

LRESULT NotifyParentCommand(HWND control, UINT code) {
    const auto state = Find(control);
    if (state == nullptr) {
        return 0;
    }
    return Deliver(state->parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(state->id), code),
                   reinterpret_cast<LPARAM>(control));
}

LRESULT NotifyParent(HWND control, NMHDR& header, UINT code) {
    const auto state = Find(control);
    if (state == nullptr) {
        return 0;
    }
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(state->id);
    header.code = code;
    return Deliver(state->parent, WM_NOTIFY, static_cast<WPARAM>(state->id),
                   reinterpret_cast<LPARAM>(&header));
}

} // namespace dialogs::detail

using namespace dialogs::detail;

UINT RegisterWindowMessageW(LPCWSTR name) {
    static std::mutex mutex;
    static std::map<std::wstring, UINT> names;
    if (name == nullptr || *name == L'\0') {
        return 0;
    }
    std::wstring key = name;
    for (auto& ch : key) {
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    std::lock_guard lock(mutex);
    const auto [entry, added] = names.emplace(key, 0);
    if (added) {
        entry->second = 0xC000u + static_cast<UINT>(names.size() - 1);
    }
    return entry->second;
}

BOOL IsWindow(HWND window) {
    return Find(window) != nullptr ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Deliver(window, message, wParam, lParam);
}

BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto state = Find(window);
    if (state == nullptr) {
        return FALSE;
    }
    const auto queue = QueueOfThread(state->thread);
    if (queue == nullptr) {
        return FALSE;
    }
    {
        std::lock_guard lock(queue->mutex);
        queue->messages.push_back(
            {MSG{window, message, wParam, lParam, GetTickCount(), {0, 0}}, {}});
    }
    queue->wake.notify_all();
    return TRUE;
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, void* /*timerProc*/) {
    const auto state = Find(window);
    auto& thread = CurrentThread();
    if (state == nullptr || state->thread != thread.id) {
        return 0;
    }
    // The platform's minimum period; a new period for an existing timer restarts it.
    const auto period = std::chrono::milliseconds(std::max<UINT>(elapse, 10));
    std::erase_if(thread.timers,
                  [&](const Timer& timer) { return timer.window == window && timer.id == id; });
    thread.timers.push_back({window, id, period, std::chrono::steady_clock::now() + period});
    return id;
}

BOOL KillTimer(HWND window, UINT_PTR id) {
    auto& thread = CurrentThread();
    const auto removed = std::erase_if(thread.timers, [&](const Timer& timer) {
        return timer.window == window && timer.id == id;
    });
    return removed > 0 ? TRUE : FALSE;
}

HWND GetFocus() {
    return CurrentThread().focus;
}

HWND SetFocus(HWND window) {
    if (window != nullptr) {
        const auto state = Find(window);
        if (state == nullptr || state->thread != CurrentThread().id) {
            return nullptr;
        }
    }
    return MoveFocus(window);
}
