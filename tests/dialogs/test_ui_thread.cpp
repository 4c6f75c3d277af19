// A UI thread created suspended runs a modal stop dialog with a 500 ms timer: the dialog closes
// at the first tick after a named event is signalled, and its button sets an atomic flag that
// the main thread reads. The timing checks are generous: only a hang or a missed event fails.
#include "dialog_test_support.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>

namespace {

constexpr UINT kStopDialog = 9007;
constexpr DWORD kLongWait = 20000;

const DialogItem kStopItems[] = {
    {.id = 1, .kind = DialogItemKind::DefPushButton, .text = L"_stop", .rect = {10, 10, 110, 34}},
};

struct StopShared {
    std::atomic<bool> stop{false};
    std::atomic<int> ticks{0};
    std::atomic<int> result{0};
};

class StopDialog : public CDialog {
public:
    StopDialog(StopShared& shared, HANDLE event)
        : CDialog(kStopDialog), m_shared(shared), m_event(event) {}

protected:
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetTimer(1, 500, nullptr);
        SetDlgItemText(1, L"Stop nesting");
        return TRUE;
    }
    void OnTimer(UINT_PTR id) override {
        if (id != 1) {
            return;
        }
        ++m_shared.ticks;
        if (WaitForSingleObject(m_event, 0) == WAIT_OBJECT_0) {
            KillTimer(1);
            EndDialog(IDCANCEL);
        }
    }
    void OnOK() override {
        m_shared.stop = true;
        EndDialog(IDOK);
    }

private:
    StopShared& m_shared;
    HANDLE m_event;
};

class StopThread : public CWinThread {
    DECLARE_DYNCREATE(StopThread)
public:
    StopShared* shared = nullptr;

    BOOL InitInstance() override {
        HANDLE event = OpenEventW(SYNCHRONIZE, FALSE, L"CONABORTEDEVENT");
        StopDialog dialog(*shared, event);
        m_pMainWnd = &dialog;
        shared->result = static_cast<int>(dialog.DoModal());
        m_pMainWnd = nullptr;
        CloseHandle(event);
        return FALSE; // the thread ends with its dialog
    }
    int ExitInstance() override { return 7; }
};
IMPLEMENT_DYNCREATE(StopThread, CWinThread)

// Starts the stop thread as the nesting command does: suspended, given its data, resumed.
CWinThread* StartStopThread(StopShared& shared) {
    RegisterDialogResource(
        {.id = kStopDialog, .caption = L"Stop", .rect = {0, 0, 120, 44}, .items = kStopItems});
    auto* thread = dynamic_cast<StopThread*>(
        AfxBeginThread(RUNTIME_CLASS(StopThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED));
    if (thread == nullptr) {
        return nullptr;
    }
    thread->shared = &shared;
    thread->m_bAutoDelete = FALSE; // the test waits on the handle, then deletes the object
    EXPECT_EQ(WaitForSingleObject(thread->m_hThread, 0), WAIT_TIMEOUT); // suspended
    thread->ResumeThread();
    return thread;
}

// Waits until `ticks` reaches `count`: the dialog is running its loop and timer.
bool WaitForTicks(const StopShared& shared, int count) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLongWait);
    while (shared.ticks < count) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        Sleep(5);
    }
    return true;
}

} // namespace

TEST(UiThread, StopDialogClosesAtTheTickAfterTheEventIsSignalled) {
    dialogs::ActionQueue nobodyClicks; // open and empty: the dialog waits for its user
    dialogs::SetDefaultDialogOperator(&nobodyClicks);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, L"CONABORTEDEVENT");
    ASSERT_NE(event, nullptr);
    StopShared shared;
    CWinThread* thread = StartStopThread(shared);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(WaitForTicks(shared, 1));
    const int ticksBefore = shared.ticks;
    ASSERT_TRUE(SetEvent(event));
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kLongWait), WAIT_OBJECT_0);
    // The tick under way when the event was set may see it unset; the one after must close.
    dialogs::SetDefaultDialogOperator(nullptr);
    EXPECT_LE(shared.ticks - ticksBefore, 2);
    EXPECT_EQ(shared.result, IDCANCEL);
    EXPECT_FALSE(shared.stop);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
    EXPECT_EQ(code, 7u);
    delete thread;
    CloseHandle(event);
}

TEST(UiThread, StopButtonSetsTheFlagTheMainThreadReads) {
    dialogs::ActionQueue stopButton; // the user of the UI thread's dialog
    dialogs::SetDefaultDialogOperator(&stopButton);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, L"CONABORTEDEVENT");
    StopShared shared;
    CWinThread* thread = StartStopThread(shared);
    ASSERT_NE(thread, nullptr);
    ASSERT_TRUE(WaitForTicks(shared, 1));
    EXPECT_FALSE(shared.stop);
    stopButton.PushLine("dlg click 1");
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kLongWait), WAIT_OBJECT_0);
    dialogs::SetDefaultDialogOperator(nullptr);
    EXPECT_TRUE(shared.stop);
    EXPECT_EQ(shared.result, IDOK);
    EXPECT_TRUE(stopButton.Told().empty());
    // The main thread signals and closes the event after the run, whether or not the dialog is
    // still there.
    EXPECT_TRUE(SetEvent(event));
    CloseHandle(event);
    delete thread;
}

TEST(UiThread, AThreadWhoseInitInstanceFailsEndsAtOnceAndDeletesItself) {
    class Refusing : public CWinThread {
    public:
        BOOL InitInstance() override { return FALSE; }
        int ExitInstance() override { return 3; }
    };
    auto* thread = new Refusing;
    thread->m_bAutoDelete = FALSE;
    ASSERT_TRUE(thread->CreateThread(CREATE_SUSPENDED));
    thread->ResumeThread();
    ASSERT_EQ(WaitForSingleObject(thread->m_hThread, kLongWait), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
    EXPECT_EQ(code, 3u);
    delete thread;
    EXPECT_EQ(AfxBeginThread(static_cast<CRuntimeClass*>(nullptr)), nullptr);
}
