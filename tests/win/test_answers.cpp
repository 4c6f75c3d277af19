#include "temp_folder.h"
#include "winhost.h"
#include "winstandin.h"

#include <deque>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

// Answers from queues and keeps every request, as the editor's test queue does.
class QueueAnswerer : public win::Answerer {
public:
    int AnswerMessageBox(const win::MessageBoxRequest& request) override {
        boxes.push_back(request);
        if (buttons.empty()) {
            return request.defaultButton;
        }
        const int answer = buttons.front();
        buttons.pop_front();
        return answer;
    }
    std::optional<std::wstring> AnswerFileDialog(const win::FileDialogRequest& request) override {
        dialogs.push_back(request);
        if (names.empty()) {
            return std::nullopt;
        }
        auto answer = names.front();
        names.pop_front();
        return answer;
    }
    void ShowHelp(const win::HelpRequest& request) override { help.push_back(request); }

    std::deque<int> buttons;
    std::deque<std::optional<std::wstring>> names;
    std::vector<win::MessageBoxRequest> boxes;
    std::vector<win::FileDialogRequest> dialogs;
    std::vector<win::HelpRequest> help;
};

class Answers : public ::testing::Test {
protected:
    void SetUp() override { win::SetAnswerer(&answerer); }
    void TearDown() override { win::SetAnswerer(nullptr); }

    // The save dialog as the coordinate export sets it up.
    BOOL SaveCsv(wchar_t (&file)[MAX_PATH]) {
        const std::wstring filter = win::PipeFilterToPairs(L" (*.csv)|*.csv||");
        file[0] = L'\0';
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.lpstrFilter = filter.c_str();
        ofn.lpstrFile = file;
        ofn.nMaxFile = MAX_PATH;
        ofn.lpstrDefExt = L"*.csv";
        ofn.Flags = OFN_OVERWRITEPROMPT;
        const std::wstring dir = win::Widen(folder.path());
        ofn.lpstrInitialDir = dir.c_str();
        return GetSaveFileNameW(&ofn);
    }

    QueueAnswerer answerer;
    TempFolder folder;
};

} // namespace

TEST_F(Answers, MessageBoxesShowCaptionTextAndButtonsAndTakeTheAnswer) {
    EXPECT_EQ(MessageBoxW(nullptr, L"To se ne da!", nullptr, MB_OK), IDOK);
    answerer.buttons = {IDNO, IDRETRY};
    EXPECT_EQ(MessageBoxW(nullptr, L"Replace?", L"Confirm", MB_YESNOCANCEL | MB_DEFBUTTON3), IDNO);
    // An answer the box does not offer counts as the default button.
    EXPECT_EQ(MessageBoxW(nullptr, L"x", L"y", MB_YESNO | MB_DEFBUTTON2), IDNO);

    ASSERT_EQ(answerer.boxes.size(), 3u);
    EXPECT_EQ(answerer.boxes[0].caption, L"Error"); // no caption: the platform's own
    EXPECT_EQ(answerer.boxes[0].text, L"To se ne da!");
    EXPECT_THAT(answerer.boxes[1].buttons, ElementsAre(IDYES, IDNO, IDCANCEL));
    EXPECT_EQ(answerer.boxes[1].defaultButton, IDCANCEL);
    EXPECT_EQ(win::MessageBoxDefaultButton(MB_OK | MB_DEFBUTTON3), IDOK);
}

TEST_F(Answers, TheDefaultAnswererPrintsTheBoxAndAnswersItsDefaultButton) {
    win::SetAnswerer(nullptr);
    ::testing::internal::CaptureStdout();
    const int answer = MessageBoxW(nullptr, L"C:\\out.csv is locked.", L"!", MB_OKCANCEL);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_EQ(answer, IDOK);
    EXPECT_EQ(printed, "!\nC:\\out.csv is locked.\n[OK]\n");
}

TEST_F(Answers, SaveDialogAddsTheExtensionAndAsksBeforeReplacing) {
    wchar_t file[MAX_PATH];
    answerer.names = {L"points"};
    ASSERT_TRUE(SaveCsv(file));
    EXPECT_EQ(std::wstring(file), win::Widen(folder.file("points.csv")));
    ASSERT_EQ(answerer.dialogs.size(), 1u);
    const auto& request = answerer.dialogs[0];
    EXPECT_TRUE(request.save);
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].description, L" (*.csv)");
    EXPECT_EQ(request.filters[0].pattern, L"*.csv");
    EXPECT_EQ(request.defaultExtension, L"csv");

    // An existing file: No (the default) asks again, Yes takes it.
    folder.write("points.csv", "keep me");
    answerer.names = {L"points.csv", L"points.csv"};
    answerer.buttons = {};
    answerer.boxes.clear();
    answerer.buttons.push_back(IDNO);
    answerer.buttons.push_back(IDYES);
    ASSERT_TRUE(SaveCsv(file));
    ASSERT_EQ(answerer.boxes.size(), 2u);
    EXPECT_EQ(answerer.boxes[0].caption, L"Confirm Save As");
    EXPECT_EQ(answerer.boxes[0].text, L"points.csv already exists.\nDo you want to replace it?");
    EXPECT_EQ(answerer.boxes[0].defaultButton, IDNO);
    EXPECT_EQ(folder.read("points.csv"), "keep me"); // the dialog itself writes nothing

    // Cancelling, also after a refused name, gives FALSE without an error.
    answerer.names = {L"points.csv", std::nullopt};
    answerer.buttons = {};
    EXPECT_FALSE(SaveCsv(file));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(Answers, OpenDialogRequiresAnExistingFileAndPath) {
    folder.write("values.txt", "a\nb\n");
    const std::wstring filter = win::PipeFilterToPairs(L"(*.txt)|*.txt||");
    wchar_t file[MAX_PATH] = L"";
    wchar_t title[MAX_PATH] = L"";
    OPENFILENAMEW ofn{};
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file;
    ofn.nMaxFile = MAX_PATH;
    ofn.lpstrFileTitle = title;
    ofn.nMaxFileTitle = MAX_PATH;
    ofn.lpstrDefExt = L"*.txt";
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    const std::wstring base = win::Widen(folder.path());
    answerer.names = {base + L"\\nothere\\values.txt", base + L"\\absent", base + L"\\values"};
    ASSERT_TRUE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(std::wstring(file), base + L"\\values.txt");
    EXPECT_STREQ(title, L"values.txt");
    EXPECT_EQ(file + ofn.nFileOffset, std::wstring(L"values.txt"));
    EXPECT_EQ(file + ofn.nFileExtension, std::wstring(L"txt"));

    ASSERT_EQ(answerer.boxes.size(), 2u);
    EXPECT_THAT(win::Narrow(answerer.boxes[0].text), HasSubstr("Path does not exist."));
    EXPECT_THAT(win::Narrow(answerer.boxes[1].text), HasSubstr("absent.txt\nFile not found."));
    EXPECT_EQ(answerer.dialogs[0].title, L"Open");

    // A name longer than the caller's buffer is refused with the platform's error.
    wchar_t tiny[8] = L"";
    ofn.lpstrFile = tiny;
    ofn.nMaxFile = 8;
    ofn.lpstrFileTitle = nullptr;
    answerer.names = {base + L"/values.txt"};
    EXPECT_FALSE(GetOpenFileNameW(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
}

TEST_F(Answers, HelpCallsAreRecordedAndShown) {
    win::ClearHelpCalls();
    HtmlHelpW(nullptr, L"C:\\suite\\Orvendel.chm", HH_DISPLAY_TOPIC,
              reinterpret_cast<DWORD_PTR>(L"plaxen.htm"));
    ASSERT_EQ(answerer.help.size(), 1u);
    EXPECT_EQ(answerer.help[0].topic, L"plaxen.htm");
    ASSERT_EQ(win::HelpCalls().size(), 1u);
    EXPECT_EQ(win::HelpCalls()[0].file, L"C:\\suite\\Orvendel.chm");
}

TEST(FilterText, PipesBecomePairsEndedByAnEmptyString) {
    const std::wstring pairs = win::PipeFilterToPairs(L"Text (*.txt)|*.txt|All|*.*||");
    EXPECT_EQ(std::wstring(pairs.c_str()), L"Text (*.txt)");
    EXPECT_EQ(pairs.size(), std::wstring(L"Text (*.txt)|*.txt|All|*.*||").size());
    EXPECT_EQ(win::PipeFilterToPairs(L"a|b").back(), L'\0');
}
