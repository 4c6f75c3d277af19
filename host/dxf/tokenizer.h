// Splits ASCII DXF text into groups: a group-code line and a value line each, with LF or CRLF
// line ends. The tokenizer checks only the form of the group code; values are left as text.
#pragma once

#include "groups.h"

namespace gantrel::dxf {

class Tokenizer {
public:
    explicit Tokenizer(std::string_view data);

    // The next group; false at the end of the text. Throws ReadError for a group-code line that
    // is not a number, or a group code without its value line (a truncated file).
    bool next(Group& group);
    // Makes next() return the last group again.
    void unread() { m_pushedBack = true; }
    // Line of the last group read (0 before the first).
    std::size_t line() const { return m_last.line; }

private:
    std::string_view nextLine();

    std::string_view m_data;
    std::size_t m_pos = 0;
    std::size_t m_lineNo = 0;
    Group m_last;
    bool m_pushedBack = false;
};

} // namespace gantrel::dxf
