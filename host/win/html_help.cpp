// HTML Help: every call is recorded (file, command, topic) and shown through the answerer.
#include "win_internal.h"
#include "winhost.h"
#include "winstandin.h"

#include <mutex>

namespace {

struct HelpLog {
    std::mutex mutex;
    std::vector<win::HelpRequest> calls;
};

HelpLog& Log() {
    static auto* log = new HelpLog; // outlives threads still running at exit
    return *log;
}

// The viewer window handed back for a shown topic; it is never a real window.
struct HelpViewer {
} g_viewer;

} // namespace

HWND HtmlHelpW(HWND /*caller*/, LPCWSTR file, UINT command, DWORD_PTR data) {
    win::HelpRequest request;
    request.file = file != nullptr ? file : L"";
    request.command = command;
    if (command == HH_DISPLAY_TOPIC && data != 0) {
        request.topic = reinterpret_cast<LPCWSTR>(data);
    }
    {
        auto& log = Log();
        std::lock_guard lock(log.mutex);
        log.calls.push_back(request);
    }
    if (command == HH_CLOSE_ALL) {
        return nullptr;
    }
    win::detail::TellHelp(request);
    return reinterpret_cast<HWND>(&g_viewer);
}

namespace win {

std::vector<HelpRequest> HelpCalls() {
    auto& log = Log();
    std::lock_guard lock(log.mutex);
    return log.calls;
}

void ClearHelpCalls() {
    auto& log = Log();
    std::lock_guard lock(log.mutex);
    log.calls.clear();
}

} // namespace win
