// `dlg` lines, the choice of operator per thread, and the queue of actions.
#include "dialog_operator.h"
#include "dialog.h"
#include "window_state.h"
#include "winhost.h"

#include <array>
#include <atomic>
#include <cctype>
#include <charconv>
#include <stdexcept>

namespace dialogs {

namespace {

std::atomic<DialogOperator*> g_defaultOperator{nullptr};

constexpr std::array<std::pair<std::string_view, UINT>, 9> kKeys{{
    {"enter", VK_RETURN},
    {"esc", VK_ESCAPE},
    {"tab", VK_TAB},
    {"left", VK_LEFT},
    {"right", VK_RIGHT},
    {"up", VK_UP},
    {"down", VK_DOWN},
    {"delete", VK_DELETE},
    {"f1", VK_F1},
}};

std::string Lower(std::string_view text) {
    std::string result(text);
    for (auto& ch : result) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return result;
}

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// Splits off the first word; `rest` keeps what follows it after one separating blank, so a
// typed text keeps its own leading and inner blanks.
std::string_view NextWord(std::string_view& rest) {
    while (!rest.empty() && IsBlank(rest.front())) {
        rest.remove_prefix(1);
    }
    size_t end = 0;
    while (end < rest.size() && !IsBlank(rest[end])) {
        ++end;
    }
    const std::string_view word = rest.substr(0, end);
    rest.remove_prefix(end);
    if (!rest.empty()) {
        rest.remove_prefix(1);
    }
    return word;
}

std::optional<int> ParseInt(std::string_view text) {
    int value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

} // namespace

bool IsDialogLine(std::string_view line) {
    std::string_view rest = Trim(line);
    return Lower(NextWord(rest)) == "dlg";
}

UINT KeyFromName(std::string_view name) {
    const std::string lower = Lower(name);
    for (const auto& [keyName, code] : kKeys) {
        if (lower == keyName) {
            return code;
        }
    }
    return 0;
}

std::string KeyName(UINT key) {
    for (const auto& [keyName, code] : kKeys) {
        if (code == key) {
            return std::string(keyName);
        }
    }
    return "key " + std::to_string(key);
}

std::optional<DialogAction> ParseDialogLine(std::string_view line, std::string& error) {
    std::string_view rest = Trim(line);
    if (Lower(NextWord(rest)) != "dlg") {
        error = "dlg: not a dialog line";
        return std::nullopt;
    }
    const std::string verb = Lower(NextWord(rest));
    DialogAction action;
    if (verb == "show") {
        if (!Trim(rest).empty()) {
            error = "dlg: show takes nothing after it";
            return std::nullopt;
        }
        action.kind = DialogAction::Kind::Show;
        return action;
    }
    if (verb == "set") {
        action.kind = DialogAction::Kind::Set;
    } else if (verb == "click") {
        action.kind = DialogAction::Kind::Click;
    } else if (verb == "key") {
        action.kind = DialogAction::Kind::Key;
    } else if (verb == "slide") {
        action.kind = DialogAction::Kind::Slide;
    } else if (verb == "choose") {
        action.kind = DialogAction::Kind::Choose;
    } else {
        error = verb.empty()
                    ? "dlg: an action is missing (set, click, key, slide, choose, show)"
                    : "dlg: unknown action \"" + verb + "\" (set, click, key, slide, choose, show)";
        return std::nullopt;
    }
    const std::string_view idText = NextWord(rest);
    const auto id = ParseInt(idText);
    if (!id) {
        error = "dlg: " + verb + " needs a control identifier" +
                (idText.empty() ? std::string() : ", not \"" + std::string(idText) + "\"");
        return std::nullopt;
    }
    action.control = *id;
    switch (action.kind) {
    case DialogAction::Kind::Set:
        action.text = win::Widen(std::string(rest)); // may be empty: clears the field
        break;
    case DialogAction::Kind::Click:
        if (!Trim(rest).empty()) {
            error = "dlg: click takes only a control identifier";
            return std::nullopt;
        }
        break;
    case DialogAction::Kind::Key: {
        const std::string_view name = Trim(rest);
        action.key = KeyFromName(name);
        if (action.key == 0) {
            error = "dlg: unknown key \"" + std::string(name) +
                    "\" (enter, esc, tab, left, right, up, down, delete, f1)";
            return std::nullopt;
        }
        break;
    }
    case DialogAction::Kind::Slide: {
        const auto pos = ParseInt(Trim(rest));
        if (!pos) {
            error = "dlg: slide needs a whole-number position";
            return std::nullopt;
        }
        action.number = *pos;
        break;
    }
    case DialogAction::Kind::Choose:
        if (Trim(rest).empty()) {
            error = "dlg: choose needs the text of an item";
            return std::nullopt;
        }
        action.text = win::Widen(std::string(Trim(rest)));
        break;
    default:
        break;
    }
    return action;
}

void SetThreadDialogOperator(DialogOperator* dialogOperator) {
    detail::CurrentThread().dialogOperator = dialogOperator;
}

void SetDefaultDialogOperator(DialogOperator* dialogOperator) {
    g_defaultOperator.store(dialogOperator);
}

DialogOperator* CurrentDialogOperator() {
    DialogOperator* own = detail::CurrentThread().dialogOperator;
    return own != nullptr ? own : g_defaultOperator.load();
}

ActionQueue::ActionQueue(const std::vector<std::string>& lines) {
    for (const auto& line : lines) {
        PushLine(line);
    }
    Close();
}

void ActionQueue::Push(DialogAction action) {
    std::lock_guard lock(m_mutex);
    m_actions.push_back(std::move(action));
}

void ActionQueue::PushLine(std::string_view line) {
    std::string error;
    auto action = ParseDialogLine(line, error);
    if (!action) {
        throw std::invalid_argument(error);
    }
    Push(std::move(*action));
}

void ActionQueue::Close() {
    std::lock_guard lock(m_mutex);
    m_closed = true;
}

NextInput ActionQueue::Next(const CDialog& /*dialog*/) {
    std::lock_guard lock(m_mutex);
    NextInput next;
    if (!m_actions.empty()) {
        next.kind = NextInput::Kind::Action;
        next.action = std::move(m_actions.front());
        m_actions.pop_front();
    } else if (!m_closed) {
        next.kind = NextInput::Kind::Wait;
        next.wait = std::chrono::milliseconds(10);
    }
    return next;
}

void ActionQueue::Tell(const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_told.push_back(text);
}

std::vector<std::string> ActionQueue::Told() const {
    std::lock_guard lock(m_mutex);
    return m_told;
}

std::string ActionQueue::Transcript() const {
    std::lock_guard lock(m_mutex);
    std::string all;
    for (const auto& text : m_told) {
        if (!all.empty()) {
            all += '\n';
        }
        all += text;
    }
    return all;
}

NextInput LineOperator::Next(const CDialog& dialog) {
    for (;;) {
        const auto line = m_nextLine();
        if (!line) {
            return {}; // exhausted
        }
        const std::string_view text = Trim(*line);
        if (text.empty() || text.front() == ';') {
            continue;
        }
        if (!IsDialogLine(text)) {
            m_tell("dlg: dialog " + std::to_string(dialog.GetTemplateId()) +
                   " is open and takes only dlg lines; skipped \"" + std::string(text) + "\"");
            continue;
        }
        std::string error;
        if (auto action = ParseDialogLine(text, error)) {
            NextInput next;
            next.kind = NextInput::Kind::Action;
            next.action = std::move(*action);
            return next;
        }
        m_tell(error);
    }
}

} // namespace dialogs
