// Where the answers to prompts come from: a script, a queue (tests), or the terminal (which
// implements InputSource in the gantrel program).
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace gantrel::editor {

struct InputLine {
    std::string text;    // UTF-8, blanks around it removed
    std::string origin;  // where it came from, for messages: "FILE:LINE"
    bool cancel = false; // Esc ("^C" in a script, Ctrl-C at the terminal)
};

class InputSource {
public:
    virtual ~InputSource() = default;
    // The next line, or nothing at the end of the input. prompt is the text just shown (UTF-8),
    // for a source that shows its own prompt.
    virtual std::optional<InputLine> next(const std::string& prompt) = 0;
    // Whether the transcript shows each answer after its prompt (a terminal shows the typed text
    // by itself).
    virtual bool echoes() const { return true; }
    // Whether a person answers (the terminal): questions a script answers by default, such as
    // message boxes, are then asked.
    virtual bool interactive() const { return false; }
};

// Script lines with their numbers. "^C" is Esc.
class ScriptInput : public InputSource {
public:
    ScriptInput(std::string name, std::vector<std::string> lines);
    // Reads a UTF-8 script file (a byte-order mark and CR line ends are accepted). Nothing, with
    // the reason in error ("FILE: ..." or "FILE:LINE: ..."), when it cannot be read.
    static std::optional<ScriptInput> load(const std::string& path, std::string& error);
    std::optional<InputLine> next(const std::string& prompt) override;
    // The number of the line last returned (0 before the first).
    int lineNumber() const { return static_cast<int>(m_pos); }

private:
    std::string m_name;
    std::vector<std::string> m_lines;
    std::size_t m_pos = 0;
};

// Answers queued by a test, numbered in the order they were pushed.
class QueueInput : public InputSource {
public:
    explicit QueueInput(std::string name = "input") : m_name(std::move(name)) {}
    QueueInput& push(std::string line);
    QueueInput& pushCancel();
    std::size_t pending() const { return m_lines.size(); }
    std::optional<InputLine> next(const std::string& prompt) override;

private:
    std::string m_name;
    std::deque<InputLine> m_lines;
    int m_count = 0;
};

// Blanks (spaces, tabs, CR) removed from both ends.
std::string trimBlanks(std::string_view text);

} // namespace gantrel::editor
