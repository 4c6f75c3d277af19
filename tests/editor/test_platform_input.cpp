// The session's input source behind the platform: relative points and the user coordinate
// system at prompts and in zcedTrans, message boxes, file dialogs and `dlg` lines from the
// same source as every other answer, and the cancel request polled by dialogs of other threads.
#include <filesystem>
#include <fstream>
#include <thread>

#include <unistd.h>

#include "afxwin.h"
#include "cancel.h"
#include "dialog_resources.h"
#include "drawing_fixture.h"
#include "ucs.h"
#include "winhost.h"
#include "winstandin.h"
#include "zced.h"
#include "zcutil.h"

namespace {

using gantrel::editor::UserSystem;

void expectPoint(const zds_point p, double x, double y, double z) {
    EXPECT_NEAR(p[0], x, 1e-12);
    EXPECT_NEAR(p[1], y, 1e-12);
    EXPECT_NEAR(p[2], z, 1e-12);
}

class PointPromptTest : public SessionTest {
protected:
    int ask(zds_point p) { return zcedGetPoint(nullptr, L"\nPoint: ", p); }
};

TEST_F(PointPromptTest, RelativePointsStartFromTheLastPointGiven) {
    input.push("10,20").push("@5,-2").push("@").push("@1,1,4").push("@x,1").push("@1,2,3,4");
    input.push("3,3");
    zds_point p;
    ASSERT_EQ(ask(p), RTNORM);
    expectPoint(p, 10, 20, 0);
    ASSERT_EQ(ask(p), RTNORM);
    expectPoint(p, 15, 18, 0);
    ASSERT_EQ(ask(p), RTNORM); // "@" alone: the last point again
    expectPoint(p, 15, 18, 0);
    ASSERT_EQ(ask(p), RTNORM);
    expectPoint(p, 16, 19, 4);
    // Both broken relative points are refused and the prompt takes the next line.
    ASSERT_EQ(ask(p), RTNORM);
    expectPoint(p, 3, 3, 0);
    EXPECT_TRUE(transcriptHas("answers:5: \"@x,1\" is not a relative point"));
    EXPECT_TRUE(transcriptHas("answers:6: \"@1,2,3,4\" is not a relative point"));
    EXPECT_EQ(session.refusedLines(), 2);
}

TEST_F(PointPromptTest, TransBetweenWorldAndUserFollowsTheDrawingsUserSystem) {
    resbuf world{}, user{}, display{};
    world.restype = user.restype = display.restype = RTSHORT;
    user.resval.rint = 1;
    display.resval.rint = 2;
    zds_point p = {1, 2, 3}, q;
    // Without a user system in the drawing, user coordinates are world coordinates.
    ASSERT_EQ(zcedTrans(p, &world, &user, 0, q), RTNORM);
    expectPoint(q, 1, 2, 3);

    // A system turned a quarter turn about Z with its origin at (100,50,0).
    session.database()->setHeaderVar(L"UCSORG", ZcGePoint3d(100, 50, 0));
    session.database()->setHeaderVar(L"UCSXDIR", ZcGePoint3d(0, 1, 0));
    session.database()->setHeaderVar(L"UCSYDIR", ZcGePoint3d(-1, 0, 0));
    ASSERT_EQ(zcedTrans(p, &user, &world, 0, q), RTNORM);
    expectPoint(q, 98, 51, 3);
    zds_point back;
    ASSERT_EQ(zcedTrans(q, &world, &user, 0, back), RTNORM);
    expectPoint(back, 1, 2, 3);
    // A displacement turns but does not move.
    ASSERT_EQ(zcedTrans(p, &user, &world, 1, q), RTNORM);
    expectPoint(q, -2, 1, 3);
    // The display is the world's plan view.
    ASSERT_EQ(zcedTrans(p, &world, &display, 0, q), RTNORM);
    expectPoint(q, 1, 2, 3);

    // A point typed at a pick prompt is a user point: user (-45,78) is world (22,5), on the
    // circle's right edge.
    input.push("-45,78");
    zds_name e;
    zds_point pick;
    ASSERT_EQ(zcedEntSel(L"\nPick: ", e, pick), RTNORM);
    EXPECT_EQ(idOf(e), drawing.circle);
}

TEST(UserSystemTest, SkewedOrDegenerateAxesAreMadeUsable) {
    gantrel::editor::SystemVariables variables;
    ZcDbDatabase db;
    db.setHeaderVar(L"UCSXDIR", ZcGePoint3d(2, 0, 0));
    db.setHeaderVar(L"UCSYDIR", ZcGePoint3d(1, 1, 0)); // not at right angles to X
    UserSystem ucs = gantrel::editor::userSystem(variables, &db);
    EXPECT_NEAR(ucs.y.x, 0, 1e-12);
    EXPECT_NEAR(ucs.y.y, 1, 1e-12);
    EXPECT_NEAR(ucs.z.z, 1, 1e-12);
    db.setHeaderVar(L"UCSYDIR", ZcGePoint3d(3, 0, 0)); // parallel to X: the world's axes
    ucs = gantrel::editor::userSystem(variables, &db);
    EXPECT_NEAR(ucs.x.x, 1, 1e-12);
    EXPECT_NEAR(ucs.y.y, 1, 1e-12);
}

constexpr UINT kTestDialog = 9200;
const DialogItem kTestItems[] = {
    {.id = IDOK, .kind = DialogItemKind::DefPushButton, .text = L"OK", .rect = {10, 70, 80, 94}},
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Cancel",
     .rect = {90, 70, 160, 94}},
    {.id = 1001, .kind = DialogItemKind::Edit, .text = L"", .rect = {10, 10, 200, 30}},
    {.id = 1002,
     .kind = DialogItemKind::PushButton,
     .text = L"Hidden",
     .rect = {10, 40, 80, 60},
     .visible = false},
};

class NameDialog : public CDialog {
public:
    NameDialog() : CDialog(kTestDialog) {
        RegisterDialogResource(
            {.id = kTestDialog, .caption = L"Name", .rect = {0, 0, 220, 100}, .items = kTestItems});
    }
    CString name;

protected:
    void OnOK() override {
        GetDlgItem(1001)->GetWindowText(name);
        CDialog::OnOK();
    }
};

using PlatformInputTest = SessionTest;

TEST_F(PlatformInputTest, DlgLinesOperateTheDialogAndOtherLinesAreRefused) {
    input.push("dlg set 1001 Sheet A")
        .push("Sheet B")        // not a dlg line
        .push("dlg click")      // no control
        .push("dlg click 1002") // hidden
        .push("; a comment")
        .push("dlg click 1");
    NameDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(std::wstring(dialog.name.GetString()), L"Sheet A");
    EXPECT_TRUE(transcriptHas("answers:2: dialog 9200 is open and takes only dlg lines"));
    EXPECT_TRUE(transcriptHas("answers:3: dlg: click needs a control identifier"));
    EXPECT_TRUE(transcriptHas("answers:4: dlg: "));
    EXPECT_EQ(session.refusedLines(), 3);
    EXPECT_EQ(input.pending(), 0u);

    // Esc, and the end of the input, close the dialog as Cancel does.
    input.push("dlg set 1001 x").pushCancel().push("Greet");
    NameDialog second;
    EXPECT_EQ(second.DoModal(), IDCANCEL);
    EXPECT_EQ(input.pending(), 1u); // the line after Esc is not the dialog's
    NameDialog third;
    input.next("");
    EXPECT_EQ(third.DoModal(), IDCANCEL);
}

TEST_F(PlatformInputTest, MessageBoxesTakeTheDefaultAndFileDialogsTheLine) {
    input.push("out.csv").push("").pushCancel();
    EXPECT_EQ(MessageBoxW(nullptr, L"Keep?", L"Parts", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_TRUE(transcriptHas("Parts: Keep?\n[No]\n"));
    EXPECT_EQ(input.pending(), 3u); // a script does not answer boxes with its lines

    wchar_t file[260] = L"proposed.csv";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 260;
    ofn.lpstrTitle = L"Export to";
    ASSERT_TRUE(GetSaveFileNameW(&ofn));
    EXPECT_TRUE(std::wstring(file).ends_with(L"out.csv"));
    EXPECT_TRUE(transcriptHas("Export to <proposed.csv>: out.csv"));
    std::wcscpy(file, L"proposed.csv");
    ASSERT_TRUE(GetSaveFileNameW(&ofn)); // Enter takes the proposed name
    EXPECT_TRUE(std::wstring(file).ends_with(L"proposed.csv"));
    EXPECT_FALSE(GetSaveFileNameW(&ofn)); // Esc
}

TEST_F(PlatformInputTest, TheScriptAnswersTheSaveDialogsOverwritePrompt) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("gantrel-overwrite-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "old.csv") << "kept";
    const std::string old = (folder / "old.csv").string();
    input.push(old).push("no").push(old).push("").push(old).push("yes");
    wchar_t file[260] = L"";
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.lpstrFile = file;
    ofn.nMaxFile = 260;
    ofn.Flags = OFN_OVERWRITEPROMPT;
    ASSERT_TRUE(GetSaveFileNameW(&ofn)); // "no", then Enter (No) ask again; "yes" replaces
    EXPECT_EQ(win::Narrow(file), old);
    EXPECT_EQ(input.pending(), 0u);
    std::size_t asked = 0;
    for (auto at = out.find("Confirm Save As: old.csv already exists."); at != std::string::npos;
         at = out.find("Confirm Save As: old.csv already exists.", at + 1))
        ++asked;
    EXPECT_EQ(asked, 3u) << out;
    std::filesystem::remove_all(folder);
}

TEST_F(PointPromptTest, ABasePointDrawsARubberBandWhileThePromptAsks) {
    struct Watcher : gantrel::editor::QueueInput {
        gantrel::editor::HostSession* session = nullptr;
        std::vector<std::optional<gantrel::editor::RubberBand>> seen;
        std::optional<gantrel::editor::InputLine> next(const std::string& prompt) override {
            seen.push_back(session->rubberBand);
            return QueueInput::next(prompt);
        }
    } watcher;
    watcher.session = &session;
    watcher.push("1,1").push("@30,20").push("@5,0");
    session.setInput(&watcher);
    zds_point p;
    ASSERT_EQ(ask(p), RTNORM);
    const zds_point corner = {10, 10, 0};
    ASSERT_EQ(zcedGetCorner(corner, L"\nOther corner: ", p), RTNORM);
    expectPoint(p, 40, 30, 0); // from the band's base, not from the last point (1,1)
    ASSERT_EQ(zcedGetPoint(corner, L"\nTo: ", p), RTNORM);
    expectPoint(p, 15, 10, 0);
    EXPECT_FALSE(session.rubberBand) << "no band between prompts";
    ASSERT_EQ(watcher.seen.size(), 3u);
    EXPECT_FALSE(watcher.seen[0]);
    ASSERT_TRUE(watcher.seen[1] && watcher.seen[2]);
    EXPECT_TRUE(watcher.seen[1]->rectangle);
    EXPECT_FALSE(watcher.seen[2]->rectangle);
    EXPECT_TRUE(watcher.seen[2]->base.isEqualTo({10, 10, 0}));
    session.setInput(&input);
}

// A person at the terminal: the same lines, but questions a script leaves at their default are
// asked.
class PersonInput : public gantrel::editor::QueueInput {
public:
    PersonInput() : QueueInput("terminal") {}
    bool interactive() const override { return true; }
};

TEST_F(PlatformInputTest, PersonChoosesTheButtonAndSeesHelpCalls) {
    PersonInput person;
    session.setInput(&person);
    person.push("maybe").push("yes").push("").pushCancel();
    EXPECT_EQ(MessageBoxW(nullptr, L"Keep?", L"Parts", MB_YESNO | MB_DEFBUTTON2), IDYES);
    EXPECT_TRUE(transcriptHas("[Yes/<No>]: "));
    EXPECT_TRUE(transcriptHas("terminal:1: \"maybe\" is not a button of this box (Yes/<No>)"));
    EXPECT_EQ(MessageBoxW(nullptr, L"Keep?", L"Parts", MB_YESNO | MB_DEFBUTTON2), IDNO); // Enter
    EXPECT_EQ(MessageBoxW(nullptr, L"Go on?", L"Parts", MB_YESNOCANCEL), IDCANCEL);      // Esc

    HtmlHelpW(nullptr, L"C:\\Suite\\Gantrel.chm", HH_DISPLAY_TOPIC,
              reinterpret_cast<DWORD_PTR>(L"Plaxen.htm"));
    EXPECT_TRUE(transcriptHas("Help: C:\\Suite\\Gantrel.chm topic Plaxen.htm\n"));
    // A script's run records the call but does not show it.
    session.setInput(&input);
    out.clear();
    HtmlHelpW(nullptr, L"Gantrel.chm", HH_DISPLAY_TOPIC, reinterpret_cast<DWORD_PTR>(L"x.htm"));
    EXPECT_EQ(out, "");
    session.setInput(nullptr);
}

constexpr UINT kCancelOnlyDialog = 9201;
const DialogItem kCancelOnlyItems[] = {
    {.id = IDCANCEL,
     .kind = DialogItemKind::PushButton,
     .text = L"Close",
     .rect = {90, 70, 160, 94}},
};

// Runs a dialog on a thread of its own under the watcher, asks for a cancel once the watcher has
// left it open, and gives the dialog's result.
INT_PTR ResultOfCancelOnAnotherThread(CDialog& dialog) {
    gantrel::editor::ClearCancelRequest();
    gantrel::editor::CancelWatcher watcher(std::chrono::milliseconds(1));
    dialogs::SetDefaultDialogOperator(&watcher);
    INT_PTR result = 0;
    std::atomic<bool> ended{false};
    std::thread ui([&] {
        result = dialog.DoModal();
        ended = true;
    });
    // The watcher keeps the dialog open as long as nobody asks for a cancel.
    std::this_thread::yield();
    EXPECT_FALSE(ended.load());
    gantrel::editor::RequestCancel();
    ui.join();
    dialogs::SetDefaultDialogOperator(nullptr);
    EXPECT_FALSE(gantrel::editor::CancelRequested()); // taken by the dialog it acted on
    return result;
}

TEST(CancelWatcherTest, ACancelPressesTheDefaultButtonOfADialogOfAnotherThread) {
    // A long run's stop dialog has its stop button as the default one.
    NameDialog named;
    EXPECT_EQ(ResultOfCancelOnAnotherThread(named), IDOK);
    // Without a default button the dialog gets Esc.
    RegisterDialogResource({.id = kCancelOnlyDialog,
                            .caption = L"Busy",
                            .rect = {0, 0, 220, 100},
                            .items = kCancelOnlyItems});
    CDialog closeOnly(kCancelOnlyDialog);
    EXPECT_EQ(ResultOfCancelOnAnotherThread(closeOnly), IDCANCEL);
}

} // namespace
