// A module for the editor's tests: it reports every application message on the command line
// and registers commands that ask every kind of prompt, open a dialog, a message box and a file
// dialog, and print what they got.
#include "afxwin.h"
#include "dialog_resources.h"
#include "winstandin.h"
#include "zcdbhost.h"
#include "zced.h"
#include "zcrxapp.h"
#include "zcutil.h"

#include <stdexcept>

#ifndef TEST_MODULE_API_VERSION
#define TEST_MODULE_API_VERSION 132710410
#endif

namespace {

void printHandle(const zds_name name) {
    ZcDbObjectId id;
    if (zcdbGetObjectId(id, name) == Zcad::eOk)
        zcutPrintf(L" #%s", id.handle().text().c_str());
    else
        zcutPrintf(L" (no id)");
}

void printPoint(const zds_point p) {
    zcutPrintf(L" %g,%g,%g", p[0], p[1], p[2]);
}

// Asks each prompt once, whatever the earlier ones answered, and prints status and value.
void askAll() {
    zds_point p, base = {1, 1, 0};
    int rc = zcedGetPoint(nullptr, L"\nPoint: ", p);
    zcutPrintf(L"\npoint %d", rc);
    if (rc == RTNORM)
        printPoint(p);
    rc = zcedGetCorner(base, L"\nCorner: ", p);
    zcutPrintf(L"\ncorner %d", rc);
    if (rc == RTNORM)
        printPoint(p);
    int i = 0;
    rc = zcedGetInt(L"\nInteger: ", &i);
    zcutPrintf(L"\ninteger %d %d", rc, i);
    double r = 0;
    rc = zcedGetReal(L"\nReal: ", &r);
    zcutPrintf(L"\nreal %d %.3f", rc, r);
    wchar_t text[64] = L"";
    rc = zcedGetString(1, L"\nText: ", text, 64);
    zcutPrintf(L"\ntext %d [%s]", rc, text);
    zds_name e;
    rc = zcedEntSel(L"\nPick: ", e, p);
    zcutPrintf(L"\npick %d", rc);
    if (rc == RTNORM) {
        printHandle(e);
        printPoint(p);
    }
    zds_matrix xform;
    resbuf* containers = nullptr;
    rc = zcedNEntSelP(L"\nNested pick: ", e, p, 0, xform, &containers);
    zcutPrintf(L"\nnested %d", rc);
    if (rc == RTNORM) {
        printHandle(e);
        zcutPrintf(L" at %g,%g in", xform[0][3], xform[1][3]);
        for (resbuf* c = containers; c; c = c->rbnext)
            printHandle(c->resval.rlname);
        zcutRelRb(containers);
    }
    zds_name ss;
    rc = zcedSSGet(nullptr, nullptr, nullptr, nullptr, ss);
    zcutPrintf(L"\nselection %d", rc);
    if (rc == RTNORM) {
        std::int32_t n = 0;
        zcedSSLength(ss, &n);
        for (std::int32_t k = 0; k < n; ++k) {
            zcedSSName(ss, k, e);
            printHandle(e);
        }
        zcedSSFree(ss);
    }
    zcutPrintf(L"\n");
}

// A dialog with a name field and a check box; on OK it keeps what they hold.
constexpr UINT kNameDialog = 9100;
constexpr int kNameEdit = 1001;
constexpr int kCheck = 1002;

const DialogItem kNameItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 70, 80, 94}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 70, 160, 94}},
    {.id = kNameEdit, .kind = DialogItemKind::Edit, .text = L"Plate", .rect = {10, 10, 200, 30}},
    {.id = kCheck, .kind = DialogItemKind::CheckBox, .text = L"Mirror", .rect = {10, 40, 200, 60}},
};

class NameDialog : public CDialog {
public:
    NameDialog() : CDialog(kNameDialog) {}
    CString name;
    UINT checked = 0;

protected:
    void OnOK() override {
        GetDlgItem(kNameEdit)->GetWindowText(name);
        checked = IsDlgButtonChecked(kCheck);
        CDialog::OnOK();
    }
};

void askInDialog() {
    NameDialog dialog;
    INT_PTR rc = dialog.DoModal();
    zcutPrintf(L"\ndialog %d [%s] %u\n", static_cast<int>(rc), dialog.name.GetString(),
               dialog.checked);
}

void askInBoxes() {
    int answer = MessageBoxW(nullptr, L"Keep the parts?", L"Test", MB_YESNO | MB_DEFBUTTON2);
    zcutPrintf(L"\nbox %d", answer);
    wchar_t file[260] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 260;
    ofn.lpstrTitle = L"Export to";
    ofn.lpstrDefExt = L"csv";
    if (GetSaveFileNameW(&ofn))
        zcutPrintf(L"\nfile [%s]\n", file);
    else
        zcutPrintf(L"\nfile cancelled\n");
}

// A command that fails inside the host, as a command with a fault would.
void failHard() {
    throw std::runtime_error("broken on purpose");
}

void greet() {
    zcutPrintf(L"\nGr\u00fc\u00dfe %s, %d%% done, %.2f mm, %hs", L"\u0141\u00f3d\u017a", 50, 2.5,
               "narrow");
}

} // namespace

extern "C" __attribute__((visibility("default"))) ZcRx::AppRetCode
zcrxEntryPoint(ZcRx::AppMsgCode msg, void* appId) {
    zcutPrintf(L"\n[message %d]", static_cast<int>(msg));
    ZcEdCommandStack* commands = zcedRegCmds;
    switch (msg) {
    case ZcRx::kInitAppMsg:
        if (ZcRxDynamicLinker* linker = zcrxDynamicLinker)
            linker->unlockApplication(appId);
        zcrxRegisterAppMDIAware(appId);
        RegisterDialogResource(
            {.id = kNameDialog, .caption = L"Name", .rect = {0, 0, 220, 100}, .items = kNameItems});
        break;
    case ZcRx::kLoadDwgMsg:
        if (commands) {
            commands->addCommand(L"EDTEST", L"AskAll", L"AskAll", ZCRX_CMD_MODAL, askAll);
            commands->addCommand(L"EDTEST", L"Greet", L"Gruss", ZCRX_CMD_TRANSPARENT, greet);
            commands->addCommand(L"EDTEST", L"AskDialog", L"AskDialog", ZCRX_CMD_MODAL,
                                 askInDialog);
            commands->addCommand(L"EDTEST", L"AskBoxes", L"AskBoxes", ZCRX_CMD_MODAL, askInBoxes);
            commands->addCommand(L"EDTEST", L"Fail", L"Fail", ZCRX_CMD_MODAL, failHard);
        }
        break;
    case ZcRx::kUnloadAppMsg:
        if (commands)
            commands->removeGroup(L"EDTEST");
        UnregisterDialogResource(kNameDialog);
        break;
    default:
        break;
    }
    return ZcRx::kRetOK;
}

extern "C" __attribute__((visibility("default"))) int zcrxGetApiVersion() {
    return TEST_MODULE_API_VERSION;
}
