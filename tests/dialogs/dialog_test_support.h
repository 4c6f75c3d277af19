// Helpers of the dialog tests: an operator fed with `dlg` lines for the calling thread, and an
// answerer that records the message boxes a dialog shows.
#pragma once

#include "afxwin.h"
#include "dialog_operator.h"
#include "winhost.h"

#include <mutex>
#include <string>
#include <vector>

namespace dialog_tests {

// Feeds the calling thread's modal dialogs with `lines`, then leaves them without input.
class ScriptedUser {
public:
    explicit ScriptedUser(const std::vector<std::string>& lines) : m_queue(lines) {
        dialogs::SetThreadDialogOperator(&m_queue);
    }
    ~ScriptedUser() { dialogs::SetThreadDialogOperator(nullptr); }
    ScriptedUser(const ScriptedUser&) = delete;
    ScriptedUser& operator=(const ScriptedUser&) = delete;

    std::vector<std::string> Told() const { return m_queue.Told(); }
    std::string Transcript() const { return m_queue.Transcript(); }

private:
    dialogs::ActionQueue m_queue;
};

// Records every message box (caption and text) and answers it with its default button.
class RecordingAnswerer : public win::Answerer {
public:
    RecordingAnswerer() { win::SetAnswerer(this); }
    ~RecordingAnswerer() override { win::SetAnswerer(nullptr); }
    RecordingAnswerer(const RecordingAnswerer&) = delete;
    RecordingAnswerer& operator=(const RecordingAnswerer&) = delete;

    int AnswerMessageBox(const win::MessageBoxRequest& request) override {
        std::lock_guard lock(m_mutex);
        m_boxes.push_back(win::Narrow(request.caption) + ": " + win::Narrow(request.text));
        return request.defaultButton;
    }
    std::optional<std::wstring> AnswerFileDialog(const win::FileDialogRequest&) override {
        return std::nullopt;
    }
    void ShowHelp(const win::HelpRequest&) override {}

    std::vector<std::string> Boxes() const {
        std::lock_guard lock(m_mutex);
        return m_boxes;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_boxes;
};

} // namespace dialog_tests
