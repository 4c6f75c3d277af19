// UI threads over the Windows stand-in's threads.
#include "ui_thread.h"
#include "window_state.h"
#include "winstandin.h"

#include <optional>

using namespace dialogs::detail;

CWinThread::~CWinThread() {
    if (m_hThread != nullptr) {
        CloseHandle(m_hThread);
    }
}

BOOL CWinThread::CreateThread(DWORD flags, UINT stackSize, LPSECURITY_ATTRIBUTES security) {
    if (m_hThread != nullptr) {
        return FALSE;
    }
    // Made suspended so the handle and id are stored before the thread can look at them.
    DWORD id = 0;
    HANDLE thread =
        ::CreateThread(security, stackSize, &CWinThread::Start, this, CREATE_SUSPENDED, &id);
    if (thread == nullptr) {
        return FALSE;
    }
    m_hThread = thread;
    m_nThreadID = id;
    if ((flags & CREATE_SUSPENDED) == 0) {
        ResumeThread();
    }
    return TRUE;
}

DWORD CWinThread::ResumeThread() {
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::SetThreadPriority(int /*priority*/) {
    return m_hThread != nullptr ? TRUE : FALSE; // one priority for every thread here
}

BOOL CWinThread::InitInstance() {
    return FALSE;
}

int CWinThread::ExitInstance() {
    return 0;
}

int CWinThread::Run() {
    auto& thread = CurrentThread();
    for (;;) {
        if (WindowsOfThread(thread.id).empty() ||
            (m_pMainWnd != nullptr && !IsWindow(m_pMainWnd->m_hWnd))) {
            break;
        }
        std::optional<QueuedMessage> item;
        {
            std::unique_lock lock(thread.queue->mutex);
            auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
            for (const Timer& timer : thread.timers) {
                deadline = std::min(deadline, timer.due);
            }
            thread.queue->wake.wait_until(lock, deadline,
                                          [&] { return !thread.queue->messages.empty(); });
            if (!thread.queue->messages.empty()) {
                item = std::move(thread.queue->messages.front());
                thread.queue->messages.pop_front();
            }
        }
        if (item) {
            if (item->msg.message == WM_QUIT) {
                break;
            }
            const LRESULT result =
                item->reply != nullptr || item->msg.hwnd != nullptr
                    ? Deliver(item->msg.hwnd, item->msg.message, item->msg.wParam, item->msg.lParam)
                    : 0;
            if (item->reply != nullptr) {
                item->reply->set_value(result);
            }
            continue;
        }
        const auto now = std::chrono::steady_clock::now();
        for (auto& timer : thread.timers) {
            if (timer.due <= now) {
                timer.due = now + timer.period;
                Deliver(timer.window, WM_TIMER, static_cast<WPARAM>(timer.id), 0);
                break; // the handler may have changed the timers
            }
        }
    }
    return ExitInstance();
}

DWORD CWinThread::Start(LPVOID self) {
    auto* thread = static_cast<CWinThread*>(self);
    int code = 0;
    if (thread->m_pfnThreadProc != nullptr) {
        code = static_cast<int>(thread->m_pfnThreadProc(thread->m_pThreadParams));
    } else if (!thread->InitInstance()) {
        code = thread->ExitInstance();
    } else {
        code = thread->Run();
    }
    // Like the platform, a thread's windows end with it.
    DestroyThreadWindows();
    if (thread->m_bAutoDelete) {
        delete thread;
    }
    return static_cast<DWORD>(code);
}

CWinThread* AfxBeginThread(CRuntimeClass* threadClass, int priority, UINT stackSize, DWORD flags,
                           LPSECURITY_ATTRIBUTES security) {
    CObject* object = threadClass != nullptr ? threadClass->CreateObject() : nullptr;
    auto* thread = dynamic_cast<CWinThread*>(object);
    if (thread == nullptr) {
        delete object;
        return nullptr;
    }
    if (!thread->CreateThread(flags | CREATE_SUSPENDED, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if ((flags & CREATE_SUSPENDED) == 0) {
        thread->ResumeThread();
    }
    return thread;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                           DWORD flags, LPSECURITY_ATTRIBUTES security) {
    if (proc == nullptr) {
        return nullptr;
    }
    auto* thread = new CWinThread(proc, param);
    if (!thread->CreateThread(flags | CREATE_SUSPENDED, stackSize, security)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(priority);
    if ((flags & CREATE_SUSPENDED) == 0) {
        thread->ResumeThread();
    }
    return thread;
}
