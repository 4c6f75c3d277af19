// The stop dialog of a nesting run and the user-interface thread it runs on. The run never
// waits for the dialog: the dialog sets the stop flag the run polls, and closes itself at the
// first timer tick after the run has signalled its end through a named event.
#pragma once

#include "afxwin.h"

#include <atomic>
#include <string>

namespace gantrel {

// The name of the event the main thread signals when the run ends.
inline constexpr const wchar_t* kNestingEndedEvent = L"CONABORTEDEVENT";
// Period of the dialog's look at the event, in milliseconds.
inline constexpr UINT kStopDialogTick = 500;

// One button: pressing it sets the stop flag and closes the dialog.
class StopNesting_dlg : public CZdUiDialog {
public:
    explicit StopNesting_dlg(CWnd* parent = nullptr);

    void SetButtonText(const std::wstring& text) { m_buttonText = text; }
    // Not owned; may be null (the dialog then only watches the event).
    void SetEvent(HANDLE event) { m_event = event; }
    // Not owned; set to true when the user presses the button.
    void SetStopFlag(std::atomic<bool>* flag) { m_stopFlag = flag; }

protected:
    BOOL OnInitDialog() override;
    void OnTimer(UINT_PTR id) override;
    void OnOK() override;

private:
    std::wstring m_buttonText;
    HANDLE m_event = nullptr;
    std::atomic<bool>* m_stopFlag = nullptr;
};

// The thread of the stop dialog: runs the dialog modally and ends with it.
class CAbortThread : public CWinThread {
    DECLARE_DYNCREATE(CAbortThread)
public:
    // Set before the thread is resumed.
    std::wstring buttonText;
    std::wstring eventName;
    std::atomic<bool>* stopFlag = nullptr;

    // Opens the event by its name, runs the dialog and returns FALSE so the thread ends.
    BOOL InitInstance() override;
};

// The stop dialog of one run, as the nesting command sets it up: the named event (manual reset,
// not signalled) and the dialog's thread, started suspended, given its data and resumed. When
// the thread cannot be started the user is told "To se ne da!" and the run goes on without a
// way to stop it.
class NestingStopDialog {
public:
    // keepThread: keep the thread object so that WaitUntilClosed can wait for the dialog to go
    // (the thread otherwise deletes itself when the dialog closes and is never joined).
    NestingStopDialog(const std::wstring& buttonText, std::atomic<bool>* stopFlag,
                      bool keepThread = false);
    // Signals the end of the run when Close was not called.
    ~NestingStopDialog();
    NestingStopDialog(const NestingStopDialog&) = delete;
    NestingStopDialog& operator=(const NestingStopDialog&) = delete;

    // Whether the dialog's thread was started.
    bool Started() const { return m_started; }
    // Signals the event (when not yet signalled) and closes it; the dialog closes at its next
    // tick. Later calls do nothing.
    void Close();
    // With keepThread: waits up to milliseconds for the dialog's thread to end; true when it
    // has ended (or was never started).
    bool WaitUntilClosed(DWORD milliseconds);

private:
    HANDLE m_event = nullptr;
    CWinThread* m_thread = nullptr; // kept only with keepThread
    bool m_started = false;
};

} // namespace gantrel
