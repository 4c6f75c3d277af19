// Splits ASCII DXF text into groups: a group-code line and a value line each, with LF or CRLF
// line ends. The tokenizer checks only the form of the group code; values are left as text.
#pragma once

#include "groups.h"

namespace gantrel::dxf {

class Tokenizer {
public:
    explicit Tokenizer(std::string_view data) : m_data(data) {}
    // A part of a longer text: lines are counted on from linesBefore, and where more text
    // follows, blank lines at the end of the part are an error like blank lines anywhere else.
    Tokenizer(std::string_view data, std::size_t linesBefore, bool moreFollows)
        : m_data(data), m_lineNo(linesBefore), m_moreFollows(moreFollows) {}

    // The next group; false at the end of the text. Throws ReadError for a group-code line that
    // is not a number, or a group code without its value line (a truncated file).
    bool next(Group& group);
    // As next(), and the value read as the number its code stores where it is one (see
    // parseNumber): a real or integer value is read in the same pass that finds its line end.
    bool nextParsed(Group& group);
    // Makes next() return this group, the last one read, again.
    void unread(const Group& last) {
        m_pushed = last;
        m_pushedBack = true;
    }
    // Line of the last group read (0 before the first).
    std::size_t line() const { return m_lastLine; }
    // Lines read so far, counting those before the text.
    std::size_t linesRead() const { return m_lineNo; }

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
    std::size_t m_lastLine = 0;
    Group m_pushed;
    bool m_pushedBack = false;
    bool m_moreFollows = false;
};

// Where the first record at or after offset `from` begins: a line "0" followed by a line that
// is not a group code. In well-formed text only a 0 group and its record name look so, as the
// line after a value line is always a group code. npos when there is none.
std::size_t findRecordStart(std::string_view text, std::size_t from);

} // namespace gantrel::dxf
