// The command-line transcript: everything printed, every prompt and every scripted answer, in
// the order the user would see them. Text goes out as UTF-8.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace gantrel::editor {

class Transcript {
public:
    using Sink = std::function<void(std::string_view)>;

    // Writes to stdout until another sink is set.
    Transcript();
    // Replaces the destination (a null sink restores stdout).
    void setSink(Sink sink);

    // Text exactly as given.
    void write(std::string_view utf8);
    void write(std::wstring_view text);
    // The answer given to the prompt just shown, ending its line.
    void echo(std::string_view answer);
    // A message of the host on a line of its own.
    void message(std::string_view text);
    bool atLineStart() const { return m_atLineStart; }
    // Another writer (the terminal's line editor) ended the line on the same output.
    void markLineStart() { m_atLineStart = true; }

private:
    Sink m_sink;
    bool m_atLineStart = true;
};

} // namespace gantrel::editor
