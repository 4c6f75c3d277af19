// DXF groups: a group code with its value line, the value type a code implies, and the parsing
// of values. A group's value is a view into the file's text and lives as long as the text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace gantrel::dxf {

// A group's value as the number its code stores, read once where the group is tokenised.
enum class Parsed : std::uint8_t { No, Real, Integer, Handle };

// Members are ordered so that a group takes 40 bytes: readers go through millions of them.
struct Group {
    std::string_view value;
    std::uint64_t number = 0; // the bits of the double, integer or handle
    // Line of the group code (1-based); the value is on the next line.
    std::size_t line = 0;
    int code = 0;
    // The value read as its number (No when it was not read, or is not a valid number of its
    // kind: its text is then parsed where it is used, and fails there with its line).
    Parsed parsed = Parsed::No;
};

// How the value of a group code is stored.
enum class ValueType : std::uint8_t { Text, Real, Int16, Int32, Int64, Bool, Handle, Binary };
ValueType valueType(int code);
inline bool isNumeric(ValueType t) {
    return t == ValueType::Real || t == ValueType::Int16 || t == ValueType::Int32 ||
           t == ValueType::Int64 || t == ValueType::Bool;
}

// A drawing file that cannot be read: the line it failed at and why.
class ReadError : public std::runtime_error {
public:
    ReadError(std::size_t line, const std::string& what) : std::runtime_error(what), m_line(line) {}
    std::size_t line() const { return m_line; }

private:
    std::size_t m_line;
};

// The value without blanks or a carriage return around it.
inline std::string_view trim(std::string_view s) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}
// Numbers as DXF writes them: blanks around, an optional sign; reals in fixed or exponent form.
bool parseReal(std::string_view text, double& value);
bool parseInteger(std::string_view text, std::int64_t& value);
// Hexadecimal handle text; "0" and empty text give 0.
bool parseHandle(std::string_view text, std::uint64_t& value);
// Reads a group's value as the number its code stores (reals, integers, handles), when valid.
void parseNumber(Group& group);

// A record whose structure cannot be understood (counts that do not match its groups): the
// record is kept as raw data rather than refusing the file.
class RecordError : public ReadError {
public:
    using ReadError::ReadError;
};

// The groups of one record (from after its 0 group to before the next), read in order.
class GroupCursor {
public:
    explicit GroupCursor(std::span<const Group> groups) : m_groups(groups) {}
    bool done() const { return m_pos >= m_groups.size(); }
    const Group& peek() const { return m_groups[m_pos]; }
    const Group& take() { return m_groups[m_pos++]; }
    std::size_t position() const { return m_pos; }
    void seek(std::size_t pos) { m_pos = pos; }
    std::span<const Group> all() const { return m_groups; }

private:
    std::span<const Group> m_groups;
    std::size_t m_pos = 0;
};

} // namespace gantrel::dxf
