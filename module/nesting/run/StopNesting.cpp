#include "nesting/run/StopNesting.h"

#include "resources/NestingResources.h"

namespace gantrel {

StopNesting_dlg::StopNesting_dlg(CWnd* parent) : CZdUiDialog(IDD_STOP_NESTING, parent) {}

BOOL StopNesting_dlg::OnInitDialog() {
    CZdUiDialog::OnInitDialog();
    SetTimer(1, kStopDialogTick, nullptr);
    SetDlgItemText(IDC_STOP, m_buttonText.c_str());
    return TRUE;
}

void StopNesting_dlg::OnTimer(UINT_PTR id) {
    if (id != 1) {
        return;
    }
    if (m_event != nullptr && WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0) {
        KillTimer(1);
        EndDialog(IDCANCEL);
    }
}

void StopNesting_dlg::OnOK() {
    if (m_stopFlag != nullptr) {
        m_stopFlag->store(true, std::memory_order_release);
    }
    KillTimer(1);
    EndDialog(IDOK);
}

IMPLEMENT_DYNCREATE(CAbortThread, CWinThread)

BOOL CAbortThread::InitInstance() {
    StopNesting_dlg dialog(nullptr);
    HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, eventName.c_str());
    dialog.SetEvent(event);
    dialog.SetButtonText(buttonText);
    dialog.SetStopFlag(stopFlag);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    if (event != nullptr) {
        CloseHandle(event);
    }
    return FALSE;
}

NestingStopDialog::NestingStopDialog(const std::wstring& buttonText, std::atomic<bool>* stopFlag,
                                     bool keepThread) {
    RegisterNestingDialogs();
    m_event = CreateEventW(nullptr, TRUE, FALSE, kNestingEndedEvent);
    auto* thread = dynamic_cast<CAbortThread*>(
        AfxBeginThread(RUNTIME_CLASS(CAbortThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
    if (thread == nullptr) {
        MessageBoxW(nullptr, L"To se ne da!", nullptr, MB_OK);
        return;
    }
    thread->buttonText = buttonText;
    thread->eventName = kNestingEndedEvent;
    thread->stopFlag = stopFlag;
    if (keepThread) {
        thread->m_bAutoDelete = FALSE;
        m_thread = thread;
    }
    thread->ResumeThread();
    m_started = true;
}

NestingStopDialog::~NestingStopDialog() {
    Close();
    if (m_thread != nullptr) {
        // Only with keepThread: the dialog goes at its next tick.
        WaitForSingleObject(m_thread->m_hThread, INFINITE);
        delete m_thread;
    }
}

void NestingStopDialog::Close() {
    if (m_event == nullptr) {
        return;
    }
    if (WaitForSingleObject(m_event, 0) != WAIT_OBJECT_0) {
        SetEvent(m_event);
    }
    CloseHandle(m_event);
    m_event = nullptr;
}

bool NestingStopDialog::WaitUntilClosed(DWORD milliseconds) {
    if (m_thread == nullptr) {
        return true;
    }
    return WaitForSingleObject(m_thread->m_hThread, milliseconds) == WAIT_OBJECT_0;
}

} // namespace gantrel
