// The platform's questions answered from the session's input source.
#include "platform_input.h"

#include "answers.h"
#include "dialog.h"
#include "session.h"

namespace gantrel::editor {

PlatformInput::PlatformInput(HostSession& session)
    : m_session(session), m_thread(std::this_thread::get_id()) {}

int PlatformInput::AnswerMessageBox(const win::MessageBoxRequest& request) {
    Transcript& out = m_session.transcript();
    out.message(win::Narrow(request.caption) + ": " + win::Narrow(request.text));
    std::string buttons;
    for (int button : request.buttons) {
        std::string name = win::Narrow(win::ButtonName(button));
        buttons += (buttons.empty() ? "" : "/") +
                   (button == request.defaultButton ? "<" + name + ">" : name);
    }
    InputSource* source = m_session.input();
    // Only a person answers, or a script where the box belongs to a dialog it answers; other
    // scripts, and a box shown from another thread, get the default.
    const bool answers = source && (source->interactive() || request.answeredByScript);
    if (!answers || !onSessionThread() || m_session.answersPending()) {
        out.message("[" + win::Narrow(win::ButtonName(request.defaultButton)) + "]");
        return request.defaultButton;
    }
    while (true) {
        std::optional<InputLine> line = m_session.readLine("[" + buttons + "]: ");
        if (!line || line->cancel) {
            for (int button : request.buttons)
                if (button == IDCANCEL)
                    return IDCANCEL;
            return request.defaultButton;
        }
        if (line->text.empty())
            return request.defaultButton;
        for (int button : request.buttons)
            if (upperAscii(win::Narrow(win::ButtonName(button))) == upperAscii(line->text))
                return button;
        m_session.refuse(line->origin,
                         "\"" + line->text + "\" is not a button of this box (" + buttons + ")");
    }
}

std::optional<std::wstring> PlatformInput::AnswerFileDialog(const win::FileDialogRequest& request) {
    if (!onSessionThread())
        return std::nullopt;
    std::string prompt = win::Narrow(request.title);
    if (!request.initialName.empty())
        prompt += " <" + win::Narrow(request.initialName) + ">";
    prompt += ": ";
    std::optional<InputLine> line =
        m_session.readLine(m_session.transcript().atLineStart() ? prompt : "\n" + prompt);
    if (!line || line->cancel)
        return std::nullopt;
    if (line->text.empty()) {
        if (request.initialName.empty())
            return std::nullopt;
        return request.initialName;
    }
    return win::Widen(line->text);
}

void PlatformInput::ShowHelp(const win::HelpRequest& request) {
    InputSource* source = m_session.input();
    if (!source || !source->interactive())
        return;
    std::string text = "Help: " + win::Narrow(request.file);
    if (!request.topic.empty())
        text += " topic " + win::Narrow(request.topic);
    m_session.transcript().message(text);
}

dialogs::NextInput PlatformInput::Next(const CDialog& dialog) {
    dialogs::NextInput next; // exhausted: Esc, as a person leaving would press it
    if (!onSessionThread())
        return next;
    const std::string prompt = "Dialog " + std::to_string(dialog.GetTemplateId()) + ": ";
    while (true) {
        std::optional<InputLine> line =
            m_session.readLine(m_session.transcript().atLineStart() ? prompt : "\n" + prompt);
        if (!line || line->cancel)
            return next;
        if (line->text.empty())
            continue;
        if (!dialogs::IsDialogLine(line->text)) {
            m_session.refuse(line->origin, "dialog " + std::to_string(dialog.GetTemplateId()) +
                                               " is open and takes only dlg lines");
            continue;
        }
        std::string error;
        std::optional<dialogs::DialogAction> action = dialogs::ParseDialogLine(line->text, error);
        if (!action) {
            m_session.refuse(line->origin, error);
            continue;
        }
        m_lastOrigin = line->origin;
        next.kind = dialogs::NextInput::Kind::Action;
        next.action = std::move(*action);
        return next;
    }
}

void PlatformInput::Tell(const std::string& text) {
    if (text.rfind("dlg: ", 0) == 0)
        m_session.refuse(m_lastOrigin, text);
    else
        m_session.transcript().message(text);
}

} // namespace gantrel::editor
