// Named events, threads, waiting and the clocks, over the C++ standard library.
#include "win_internal.h"
#include "winstandin.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <ctime>
#include <map>
#include <mutex>
#include <thread>

namespace {

// Thread ids are handed out from one counter, so a thread created suspended knows its id before
// it runs and ids are never reused.
std::atomic<DWORD> g_nextThreadId{1000};
thread_local DWORD t_threadId = 0;

// Waits on `condition` until `ready()` holds or the time runs out; INFINITE never runs out.
template <class Ready>
bool WaitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
               DWORD milliseconds, Ready ready) {
    if (milliseconds == INFINITE) {
        condition.wait(lock, ready);
        return true;
    }
    return condition.wait_for(lock, std::chrono::milliseconds(milliseconds), ready);
}

class EventObject : public win::detail::KernelObject {
public:
    EventObject(bool manualReset, bool signalled) : m_manual(manualReset), m_signalled(signalled) {}

    DWORD Wait(DWORD milliseconds) override {
        std::unique_lock lock(m_mutex);
        if (!WaitUntil(m_condition, lock, milliseconds, [this] { return m_signalled; })) {
            return WAIT_TIMEOUT;
        }
        if (!m_manual) {
            m_signalled = false; // an auto-reset event releases one waiter per signal
        }
        return WAIT_OBJECT_0;
    }

    void Set() {
        {
            std::lock_guard lock(m_mutex);
            m_signalled = true;
        }
        if (m_manual) {
            m_condition.notify_all();
        } else {
            m_condition.notify_one();
        }
    }

    void Reset() {
        std::lock_guard lock(m_mutex);
        m_signalled = false;
    }

private:
    const bool m_manual;
    bool m_signalled;
    std::mutex m_mutex;
    std::condition_variable m_condition;
};

// Names of events with at least one open handle; the name goes when the last handle closes.
struct EventNames {
    std::mutex mutex;
    std::map<std::wstring, std::weak_ptr<EventObject>> events;
};

EventNames& Names() {
    // Never destroyed: a thread that is never joined may still open or close events at exit.
    static auto* names = new EventNames;
    return *names;
}

// A handle to a named event shares the event; the handle table holds these.
class EventHandle : public win::detail::KernelObject {
public:
    explicit EventHandle(std::shared_ptr<EventObject> event) : event(std::move(event)) {}
    DWORD Wait(DWORD milliseconds) override { return event->Wait(milliseconds); }
    std::shared_ptr<EventObject> event;
};

class ThreadObject : public win::detail::KernelObject {
public:
    DWORD Wait(DWORD milliseconds) override {
        std::unique_lock lock(mutex);
        return WaitUntil(condition, lock, milliseconds, [this] { return finished; }) ? WAIT_OBJECT_0
                                                                                     : WAIT_TIMEOUT;
    }

    std::mutex mutex;
    std::condition_variable condition;
    bool started = false;
    bool finished = false;
    DWORD exitCode = STILL_ACTIVE;
    DWORD id = 0;
    LPTHREAD_START_ROUTINE start = nullptr;
    LPVOID parameter = nullptr;
};

void RunThread(const std::shared_ptr<ThreadObject>& thread) {
    t_threadId = thread->id;
    const DWORD code = thread->start(thread->parameter);
    {
        std::lock_guard lock(thread->mutex);
        thread->finished = true;
        thread->exitCode = code;
    }
    thread->condition.notify_all();
}

bool Launch(const std::shared_ptr<ThreadObject>& thread) {
    try {
        std::thread([thread] { RunThread(thread); }).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

} // namespace

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES /*security*/, BOOL manualReset, BOOL initialState,
                    LPCWSTR name) {
    if (name == nullptr || *name == L'\0') {
        SetLastError(ERROR_SUCCESS);
        return win::detail::AddHandle(std::make_shared<EventHandle>(
            std::make_shared<EventObject>(manualReset != FALSE, initialState != FALSE)));
    }
    auto& names = Names();
    std::lock_guard lock(names.mutex);
    auto& slot = names.events[name];
    if (auto existing = slot.lock()) {
        // An existing event is opened as it is; its reset kind and state stay.
        SetLastError(ERROR_ALREADY_EXISTS);
        return win::detail::AddHandle(std::make_shared<EventHandle>(existing));
    }
    auto event = std::make_shared<EventObject>(manualReset != FALSE, initialState != FALSE);
    slot = event;
    SetLastError(ERROR_SUCCESS);
    return win::detail::AddHandle(std::make_shared<EventHandle>(event));
}

HANDLE OpenEventW(DWORD /*access*/, BOOL /*inheritHandle*/, LPCWSTR name) {
    if (name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto& names = Names();
    std::lock_guard lock(names.mutex);
    const auto found = names.events.find(name);
    auto existing = found == names.events.end() ? nullptr : found->second.lock();
    if (existing == nullptr) {
        if (found != names.events.end()) {
            names.events.erase(found);
        }
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return win::detail::AddHandle(std::make_shared<EventHandle>(existing));
}

BOOL SetEvent(HANDLE event) {
    const auto handle = win::detail::FindHandleOf<EventHandle>(event);
    if (handle == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    handle->event->Set();
    return TRUE;
}

BOOL ResetEvent(HANDLE event) {
    const auto handle = win::detail::FindHandleOf<EventHandle>(event);
    if (handle == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    handle->event->Reset();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    const auto object = win::detail::FindHandle(handle);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    // The object stays alive while waited on even when another thread closes its handle.
    return object->Wait(milliseconds);
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES /*security*/, SIZE_T /*stackSize*/,
                    LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags, LPDWORD threadId) {
    if (start == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto thread = std::make_shared<ThreadObject>();
    thread->start = start;
    thread->parameter = parameter;
    thread->id = g_nextThreadId++;
    HANDLE handle = win::detail::AddHandle(thread);
    if (threadId != nullptr) {
        *threadId = thread->id;
    }
    if ((flags & CREATE_SUSPENDED) == 0) {
        thread->started = true;
        if (!Launch(thread)) {
            win::detail::RemoveHandle(handle);
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    return handle;
}

DWORD ResumeThread(HANDLE thread) {
    const auto object = win::detail::FindHandleOf<ThreadObject>(thread);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return static_cast<DWORD>(-1);
    }
    {
        std::lock_guard lock(object->mutex);
        if (object->started) {
            return 0; // previous suspend count: it was running
        }
        object->started = true;
    }
    if (!Launch(object)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return static_cast<DWORD>(-1);
    }
    return 1;
}

BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode) {
    const auto object = win::detail::FindHandleOf<ThreadObject>(thread);
    if (object == nullptr || exitCode == nullptr) {
        SetLastError(object == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard lock(object->mutex);
    *exitCode = object->exitCode;
    return TRUE;
}

DWORD GetCurrentThreadId() {
    if (t_threadId == 0) {
        t_threadId = g_nextThreadId++;
    }
    return t_threadId;
}

void Sleep(DWORD milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

ULONGLONG GetTickCount64() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<ULONGLONG>(now.tv_sec) * 1000u +
           static_cast<ULONGLONG>(now.tv_nsec) / 1000000u;
}

DWORD GetTickCount() {
    // Milliseconds since the system started, wrapping after 49.7 days like the platform's.
    return static_cast<DWORD>(GetTickCount64() & 0xFFFFFFFFu);
}

std::int64_t _time64(std::int64_t* result) {
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    if (result != nullptr) {
        *result = now;
    }
    return now;
}
