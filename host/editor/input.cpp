// Script and queue input.
#include "input.h"

#include <fstream>
#include <sstream>

namespace gantrel::editor {

std::string trimBlanks(std::string_view text) {
    const char* blanks = " \t\r\n\f\v";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

namespace {

InputLine makeLine(std::string_view raw, std::string origin) {
    InputLine line;
    line.text = trimBlanks(raw);
    line.origin = std::move(origin);
    line.cancel = line.text == "^C";
    return line;
}

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not valid UTF-8.
std::size_t utf8SequenceLength(const std::string& s, std::size_t i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = byte(i);
    std::size_t n = c < 0x80           ? 1
                    : (c >> 5) == 0x6  ? 2
                    : (c >> 4) == 0xE  ? 3
                    : (c >> 3) == 0x1E ? 4
                                       : 0;
    if (n == 0 || i + n > s.size() || (n == 2 && c < 0xC2))
        return 0;
    for (std::size_t k = 1; k < n; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    return n;
}

bool isValidUtf8(const std::string& s) {
    for (std::size_t i = 0; i < s.size();) {
        std::size_t n = utf8SequenceLength(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

} // namespace

ScriptInput::ScriptInput(std::string name, std::vector<std::string> lines)
    : m_name(std::move(name)), m_lines(std::move(lines)) {}

std::optional<ScriptInput> ScriptInput::load(const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    std::ostringstream buffer;
    buffer << file.rdbuf();
    if (file.bad()) {
        error = path + ": cannot be read";
        return std::nullopt;
    }
    std::string text = buffer.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0)
        text.erase(0, 3);
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.find('\0') != std::string::npos || !isValidUtf8(line)) {
            error = path + ":" + std::to_string(lines.size() + 1) + ": not UTF-8 text";
            return std::nullopt;
        }
        lines.push_back(std::move(line));
    }
    return ScriptInput(path, std::move(lines));
}

std::optional<InputLine> ScriptInput::next(const std::string&) {
    if (m_pos >= m_lines.size())
        return std::nullopt;
    const std::string& raw = m_lines[m_pos++];
    return makeLine(raw, m_name + ":" + std::to_string(m_pos));
}

QueueInput& QueueInput::push(std::string line) {
    ++m_count;
    m_lines.push_back(makeLine(line, m_name + ":" + std::to_string(m_count)));
    return *this;
}

QueueInput& QueueInput::pushCancel() {
    return push("^C");
}

std::optional<InputLine> QueueInput::next(const std::string&) {
    if (m_lines.empty())
        return std::nullopt;
    InputLine line = std::move(m_lines.front());
    m_lines.pop_front();
    return line;
}

} // namespace gantrel::editor
