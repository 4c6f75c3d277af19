// User-interface threads: a CWinThread object made from its runtime class, started suspended or
// at once, whose InitInstance typically runs a modal dialog and returns FALSE so the thread ends.
#pragma once

#include "cwnd.h"

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    CObject* (*m_pfnCreateObject)();
    CObject* CreateObject() const {
        return m_pfnCreateObject != nullptr ? m_pfnCreateObject() : nullptr;
    }
};

// The class's runtime record and its factory; the class needs a default constructor.
#define DECLARE_DYNCREATE(class_name)                                                              \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    static CObject* CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    CRuntimeClass class_name::class##class_name = {                                                \
        #class_name, static_cast<int>(sizeof(class_name)), &class_name::CreateObject};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

inline constexpr int THREAD_PRIORITY_NORMAL = 0;
inline constexpr int THREAD_PRIORITY_BELOW_NORMAL = -1;
inline constexpr int THREAD_PRIORITY_ABOVE_NORMAL = 1;

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
public:
    CWinThread() = default;
    // A worker thread running `proc(param)`.
    CWinThread(AFX_THREADPROC proc, LPVOID param) : m_pfnThreadProc(proc), m_pThreadParams(param) {}
    ~CWinThread() override; // closes the thread handle
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // The thread deletes this object when it ends. Set FALSE before resuming to wait on
    // m_hThread and delete the object yourself.
    BOOL m_bAutoDelete = TRUE;
    CWnd* m_pMainWnd = nullptr;

    BOOL CreateThread(DWORD flags = 0, UINT stackSize = 0,
                      LPSECURITY_ATTRIBUTES security = nullptr);
    DWORD ResumeThread();
    BOOL SetThreadPriority(int priority);

    // FALSE ends the thread at once (after ExitInstance); TRUE runs Run.
    virtual BOOL InitInstance();
    // Delivers the thread's messages and timers until it has no windows left or WM_QUIT is
    // posted to one of them; returns ExitInstance().
    virtual int Run();
    // The thread's exit code.
    virtual int ExitInstance();

private:
    static DWORD Start(LPVOID self);

    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;
};

// A UI thread of `threadClass` (a CWinThread class with DECLARE_DYNCREATE); nullptr when it
// cannot be made. With CREATE_SUSPENDED it waits for ResumeThread.
CWinThread* AfxBeginThread(CRuntimeClass* threadClass, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD flags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
