// Message boxes and the answerer behind every platform call that asks the user something.
#include "win_internal.h"
#include "winhost.h"
#include "winstandin.h"

#include <atomic>
#include <iostream>
#include <mutex>

namespace win {

namespace {

class PrintingAnswerer : public Answerer {
public:
    int AnswerMessageBox(const MessageBoxRequest& request) override {
        std::cout << Narrow(request.caption) << '\n'
                  << Narrow(request.text) << '\n'
                  << '[' << Narrow(ButtonName(request.defaultButton)) << "]\n"
                  << std::flush;
        return request.defaultButton;
    }

    std::optional<std::wstring> AnswerFileDialog(const FileDialogRequest& request) override {
        std::cout << Narrow(request.title) << ": cancelled (no input)\n" << std::flush;
        return std::nullopt;
    }

    void ShowHelp(const HelpRequest& request) override {
        std::cout << "Help: " << Narrow(request.file);
        if (!request.topic.empty()) {
            std::cout << " topic " << Narrow(request.topic);
        }
        std::cout << '\n' << std::flush;
    }
};

std::atomic<Answerer*> g_answerer{nullptr};

std::recursive_mutex& AnswerMutex() {
    static auto* mutex = new std::recursive_mutex; // outlives threads still running at exit
    return *mutex;
}

Answerer& Current() {
    Answerer* answerer = g_answerer.load();
    return answerer != nullptr ? *answerer : DefaultAnswerer();
}

} // namespace

Answerer& DefaultAnswerer() {
    static auto* answerer = new PrintingAnswerer;
    return *answerer;
}

void SetAnswerer(Answerer* answerer) {
    std::lock_guard lock(AnswerMutex()); // not while another call is being answered
    g_answerer.store(answerer);
}

std::vector<int> MessageBoxButtons(UINT type) {
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE:
        return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL:
        return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO:
        return {IDYES, IDNO};
    case MB_RETRYCANCEL:
        return {IDRETRY, IDCANCEL};
    case MB_CANCELTRYCONTINUE:
        return {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
    default:
        return {IDOK};
    }
}

int MessageBoxDefaultButton(UINT type) {
    const auto buttons = MessageBoxButtons(type);
    const std::size_t index = (type & MB_DEFMASK) >> 8;
    // A default beyond the last button falls back to the first, as the platform does.
    return index < buttons.size() ? buttons[index] : buttons.front();
}

std::wstring ButtonName(int button) {
    switch (button) {
    case IDOK:
        return L"OK";
    case IDCANCEL:
        return L"Cancel";
    case IDABORT:
        return L"Abort";
    case IDRETRY:
        return L"Retry";
    case IDIGNORE:
        return L"Ignore";
    case IDYES:
        return L"Yes";
    case IDNO:
        return L"No";
    case IDTRYAGAIN:
        return L"Try Again";
    case IDCONTINUE:
        return L"Continue";
    default:
        return L"?";
    }
}

namespace detail {

int AskMessageBox(const MessageBoxRequest& request) {
    std::lock_guard lock(AnswerMutex());
    return Current().AnswerMessageBox(request);
}

std::optional<std::wstring> AskFileDialog(const FileDialogRequest& request) {
    std::lock_guard lock(AnswerMutex());
    return Current().AnswerFileDialog(request);
}

void TellHelp(const HelpRequest& request) {
    std::lock_guard lock(AnswerMutex());
    Current().ShowHelp(request);
}

} // namespace detail
} // namespace win

int MessageBoxW(HWND /*owner*/, LPCWSTR text, LPCWSTR caption, UINT type) {
    win::MessageBoxRequest request;
    request.caption = caption != nullptr ? caption : L"Error";
    request.text = text != nullptr ? text : L"";
    request.type = type;
    request.buttons = win::MessageBoxButtons(type);
    request.defaultButton = win::MessageBoxDefaultButton(type);
    const int answer = win::detail::AskMessageBox(request);
    for (const int button : request.buttons) {
        if (button == answer) {
            return answer;
        }
    }
    return request.defaultButton; // an answer the box does not offer counts as Enter
}
