// The group tokenizer: two lines a group, the first a decimal group code.
#include "tokenizer.h"

#include <bit>
#include <charconv>
#include <cstring>
#include <string>

namespace gantrel::dxf {

std::string_view Tokenizer::nextLine() {
    const char* begin = m_data.data() + m_pos;
    const std::size_t left = m_data.size() - m_pos;
    const void* nl = std::memchr(begin, '\n', left);
    std::size_t len = nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - begin) : left;
    m_pos += nl ? len + 1 : len;
    ++m_lineNo;
    if (len > 0 && begin[len - 1] == '\r')
        --len;
    return {begin, len};
}

namespace {

// Group codes are short decimal numbers, possibly with blanks around them.
bool parseCode(std::string_view text, int& code) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && text[i] == '-') {
        negative = true;
        ++i;
    }
    const std::size_t digitsBegin = i;
    int value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i] - '0');
        if (value > 99999)
            return false;
        ++i;
    }
    if (i == digitsBegin)
        return false;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i != text.size())
        return false;
    code = negative ? -value : value;
    return true;
}

std::string printable(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 40)) {
        const auto u = static_cast<unsigned char>(c);
        out += (u < 0x20 || u == 0x7F) ? '?' : c;
    }
    if (text.size() > 40)
        out += "...";
    return out;
}

} // namespace

std::size_t findRecordStart(std::string_view text, std::size_t from) {
    std::size_t pos = from;
    if (pos > 0) { // from the start of the line after the one `from` is in
        pos = text.find('\n', pos - 1);
        if (pos == std::string_view::npos)
            return pos;
        ++pos;
    }
    auto lineAt = [&](std::size_t begin) {
        const std::size_t end = text.find('\n', begin);
        return text.substr(begin,
                           end == std::string_view::npos ? text.size() - begin : end - begin);
    };
    int code = 0;
    while (pos < text.size()) {
        const std::string_view line = lineAt(pos);
        const std::size_t nextLine = pos + line.size() + 1;
        if (trim(line) == "0" && nextLine < text.size()) {
            const std::string_view name = trim(lineAt(nextLine));
            if (!name.empty() && !parseCode(name, code))
                return pos;
        }
        pos = nextLine;
    }
    return std::string_view::npos;
}

bool Tokenizer::nextCode(Group& group) {
    // Blank lines at the very end of a file are common; anywhere else they are group codes.
    std::size_t codeLine = 0;
    std::string_view codeText;
    for (;;) {
        if (m_pos >= m_data.size())
            return false;
        codeText = nextLine();
        codeLine = m_lineNo;
        if (!trim(codeText).empty())
            break;
        if (!m_moreFollows &&
            trim(m_data.substr(m_pos)).find_first_not_of("\r\n \t") == std::string_view::npos)
            return false;
        throw ReadError(codeLine, "expected a group code, found an empty line");
    }
    int code = 0;
    if (!parseCode(codeText, code))
        throw ReadError(codeLine, "expected a group code, found \"" + printable(codeText) + "\"");
    if (m_pos >= m_data.size())
        throw ReadError(codeLine,
                        "the file ends after group code " + std::to_string(code) + " (truncated)");
    group.code = code;
    group.line = codeLine;
    group.parsed = Parsed::No;
    return true;
}

bool Tokenizer::next(Group& group) {
    return readGroup(group, false);
}

bool Tokenizer::nextParsed(Group& group) {
    return readGroup(group, true);
}

bool Tokenizer::readGroup(Group& group, bool parseNumbers) {
    if (m_pushedBack) {
        m_pushedBack = false;
        group = m_pushed;
        return true;
    }
    if (!nextCode(group))
        return false;
    if (!parseNumbers || !numberLine(group)) {
        group.value = nextLine();
        if (parseNumbers)
            parseNumber(group);
    }
    m_lastLine = group.line;
    return true;
}

bool Tokenizer::numberLine(Group& group) {
    const ValueType type = valueType(group.code);
    const bool integer = type == ValueType::Int16 || type == ValueType::Int32 ||
                         type == ValueType::Int64 || type == ValueType::Bool;
    if (type != ValueType::Real && !integer)
        return false;
    const char* begin = m_data.data() + m_pos;
    const char* end = m_data.data() + m_data.size();
    const char* p = begin;
    while (p < end && (*p == ' ' || *p == '\t'))
        ++p;
    if (p < end && *p == '+')
        ++p;
    std::from_chars_result result;
    std::uint64_t number = 0;
    if (type == ValueType::Real) {
        double v = 0.0;
        result = std::from_chars(p, end, v);
        number = std::bit_cast<std::uint64_t>(v);
    } else {
        std::int64_t v = 0;
        result = std::from_chars(p, end, v);
        number = static_cast<std::uint64_t>(v);
    }
    if (result.ec != std::errc() || result.ptr == p)
        return false;
    const char* lineEnd = result.ptr;
    while (lineEnd < end && (*lineEnd == ' ' || *lineEnd == '\t' || *lineEnd == '\r'))
        ++lineEnd;
    if (lineEnd < end && *lineEnd != '\n')
        return false;
    // The value as nextLine() gives it: without the line end and one carriage return.
    std::size_t len = static_cast<std::size_t>(lineEnd - begin);
    m_pos += lineEnd < end ? len + 1 : len;
    ++m_lineNo;
    if (len > 0 && begin[len - 1] == '\r')
        --len;
    group.value = {begin, len};
    group.parsed = type == ValueType::Real ? Parsed::Real : Parsed::Integer;
    group.number = number;
    return true;
}

} // namespace gantrel::dxf
