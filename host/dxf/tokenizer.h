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
    // As next(), and the value read as the number its code stores where it is one (see
    // parseNumber): a real or integer value is read in the same pass that finds its line end.
    bool nextParsed(Group& group);
    // Makes next() return the last group again.
    void unread() { m_pushedBack = true; }
    // Line of the last group read (0 before the first).
    std::size_t line() const { return m_last.line; }

private:
    std::string_view nextLine();
    // The group code of the next group, its line and the pushed-back group; false at the end.
    bool nextCode(Group& group);
    bool readGroup(Group& group, bool parseNumbers);
    // A value line holding just a real or integer as the group's code stores it, read in one
    // pass; false (having read nothing) for any other line.
    bool numberLine(Group& group);

    std::string_view m_data;
    std::size_t m_pos = 0;
    std::size_t m_lineNo = 0;
    Group m_last;
    bool m_pushedBack = false;
};

} // namespace gantrel::dxf
