// The group writer.
#include "group_writer.h"
#include "winhost.h"

#include <charconv>
#include <cmath>
#include <string>

#include "text_codec.h"

namespace gantrel::dxf {

GroupWriter::GroupWriter(std::ostream& out) : m_out(&out), m_buffer(m_own) {
    m_buffer.reserve(kFlushSize + 4096);
}

GroupWriter::GroupWriter(std::string& out) : m_out(nullptr), m_buffer(out) {}

GroupWriter::~GroupWriter() {
    flush();
}

bool GroupWriter::flush() {
    if (!m_out)
        return true;
    if (!m_buffer.empty()) {
        m_out->write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
        m_buffer.clear();
    }
    return static_cast<bool>(*m_out);
}

namespace {

// The code lines of the codes below 1072, made once.
struct CodeLines {
    std::string text[1072];
    CodeLines() {
        for (int c = 0; c < 1072; ++c) {
            std::string digits = std::to_string(c);
            text[c] = std::string(digits.size() < 3 ? 3 - digits.size() : 0, ' ') + digits + "\n";
        }
    }
};

const CodeLines& codeLines() {
    static const CodeLines lines;
    return lines;
}

} // namespace

void GroupWriter::code(int code) {
    ++m_groups;
    if (code >= 0 && code < 1072) {
        m_buffer += codeLines().text[code];
        return;
    }
    char buf[16];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, code);
    const auto len = static_cast<std::size_t>(end - buf);
    if (len < 3)
        m_buffer.append(3 - len, ' ');
    m_buffer.append(buf, len);
    m_buffer += '\n';
}

void GroupWriter::text(int c, std::string_view utf8) {
    code(c);
    if (utf8.find_first_of("\n\r\t^") == std::string_view::npos)
        m_buffer.append(utf8);
    else
        appendEscaped(m_buffer, utf8);
    m_buffer += '\n';
    maybeFlush();
}

void GroupWriter::text(int c, std::wstring_view wide) {
    bool ascii = true;
    for (wchar_t w : wide)
        if (w >= 0x80 || w == L'\n' || w == L'\r' || w == L'\t' || w == L'^') {
            ascii = false;
            break;
        }
    if (ascii) {
        code(c);
        for (wchar_t w : wide)
            m_buffer += static_cast<char>(w);
        m_buffer += '\n';
        maybeFlush();
        return;
    }
    text(c, std::string_view(::win::Narrow(wide)));
}

void GroupWriter::verbatim(int c, std::string_view value) {
    code(c);
    m_buffer.append(value);
    m_buffer += '\n';
    maybeFlush();
}

void appendReal(std::string& out, double value) {
    char buf[40];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17);
    const std::string_view text(buf, static_cast<std::size_t>(end - buf));
    out.append(text);
    if (std::isfinite(value) && text.find_first_of(".e") == std::string_view::npos)
        out += ".0";
}

std::string formatReal(double value) {
    std::string out;
    appendReal(out, value);
    return out;
}

void GroupWriter::real(int c, double value) {
    code(c);
    appendReal(m_buffer, value);
    m_buffer += '\n';
    maybeFlush();
}

void GroupWriter::point(int c, const ZcGePoint3d& p) {
    real(c, p.x);
    real(c + 10, p.y);
    real(c + 20, p.z);
}

void GroupWriter::point2(int c, double x, double y) {
    real(c, x);
    real(c + 10, y);
}

void GroupWriter::integer(int c, std::int64_t value) {
    code(c);
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    m_buffer.append(buf, static_cast<std::size_t>(end - buf));
    m_buffer += '\n';
    maybeFlush();
}

void GroupWriter::handle(int c, std::uint64_t h) {
    code(c);
    char buf[24];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, h, 16);
    for (char* p = buf; p != end; ++p)
        if (*p >= 'a' && *p <= 'f')
            *p = static_cast<char>(*p - 32);
    m_buffer.append(buf, static_cast<std::size_t>(end - buf));
    m_buffer += '\n';
    maybeFlush();
}

} // namespace gantrel::dxf
