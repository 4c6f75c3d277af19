// The command-line transcript.
#include "transcript.h"

#include <cstdio>

#include "winhost.h"

namespace gantrel::editor {

namespace {

void toStdout(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

} // namespace

Transcript::Transcript() : m_sink(toStdout) {}

void Transcript::setSink(Sink sink) {
    m_sink = sink ? std::move(sink) : Sink(toStdout);
}

void Transcript::write(std::string_view utf8) {
    if (utf8.empty())
        return;
    m_sink(utf8);
    m_atLineStart = utf8.back() == '\n';
}

void Transcript::write(std::wstring_view text) {
    write(win::Narrow(std::wstring(text)));
}

void Transcript::echo(std::string_view answer) {
    std::string line(answer);
    line += '\n';
    write(line);
}

void Transcript::message(std::string_view text) {
    std::string line = m_atLineStart ? std::string() : std::string("\n");
    line += text;
    line += '\n';
    write(line);
}

} // namespace gantrel::editor
