// Dialogs: made from a registered dialog template, run modally (DoModal) or shown inside another
// window (Create), with data exchange and the dialog's own keyboard handling: Enter presses the
// focused push button or else the default button, Esc presses Cancel, Tab moves the focus. These
// keys are handled in the dialog's PreTranslateMessage, which the controls' PreTranslateMessage
// precede, so a control can keep them for itself.
//
// A modal dialog is operated by the input source of its thread (dialog_operator.h); its loop
// also delivers posted messages and timers.
#pragma once

#include "cwnd.h"

#include <chrono>

namespace dialogs {
class DialogOperator;
}

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId = 0, CWnd* parentWnd = nullptr);

    // IDOK, IDCANCEL or the value given to EndDialog; -1 when there is no template or the
    // dialog cannot be made.
    virtual INT_PTR DoModal();
    // A modeless dialog from the template; a child of `parentWnd` when the template says so.
    BOOL Create(UINT templateId, CWnd* parentWnd = nullptr);
    void EndDialog(int result);
    // Runs DoDataExchange; FALSE when a value failed validation (its message has been shown
    // and the control has the focus).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    void NextDlgCtrl();
    void PrevDlgCtrl();
    void GotoDlgCtrl(CWnd* control);
    void SetDefID(UINT id);
    DWORD GetDefID() const;
    UINT GetTemplateId() const { return m_templateId; }
    bool IsModalRunning() const { return m_running; }

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DoDataExchange(CDataExchange* dx);
    void OnClose() override;

    UINT m_templateId;
    CWnd* m_pParentWnd;

private:
    BOOL CreateFromTemplate(CWnd* parentWnd, bool modal);
    void RunModalLoop();
    bool FireDueTimer();
    void WaitForMessages(std::chrono::milliseconds wait);
    void CloseForLackOfInput(dialogs::DialogOperator* dialogOperator);
    HWND DefaultButton() const;
    void MoveFocusInTabOrder(bool forward);

    UINT m_defId = 0; // 0: the BS_DEFPUSHBUTTON button, else IDOK
    bool m_running = false;
    bool m_ended = false;
    int m_result = IDCANCEL;
};

class CDialogEx : public CDialog {
public:
    explicit CDialogEx(UINT templateId = 0, CWnd* parentWnd = nullptr)
        : CDialog(templateId, parentWnd) {}
};

// The host family's dialog base; the resource module handle is accepted and not needed, since
// templates are registered by identifier.
class CZdUiDialog : public CDialog {
public:
    explicit CZdUiDialog(UINT templateId, CWnd* parentWnd = nullptr,
                         HINSTANCE dialogResource = nullptr)
        : CDialog(templateId, parentWnd) {
        static_cast<void>(dialogResource);
    }
};
