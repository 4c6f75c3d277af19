// Value types of group codes and the parsing of group values.
#include "groups.h"

#include <array>
#include <bit>
#include <charconv>

namespace gantrel::dxf {

namespace {

constexpr ValueType typeOf(int code) {
    if (code >= 10 && code <= 59)
        return ValueType::Real;
    if ((code >= 60 && code <= 79) || (code >= 170 && code <= 179) ||
        (code >= 270 && code <= 289) || (code >= 370 && code <= 389) ||
        (code >= 400 && code <= 409) || (code >= 1060 && code <= 1070))
        return ValueType::Int16;
    if ((code >= 90 && code <= 99) || (code >= 420 && code <= 429) ||
        (code >= 440 && code <= 459) || code == 1071)
        return ValueType::Int32;
    if (code >= 160 && code <= 169)
        return ValueType::Int64;
    if ((code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
        (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059))
        return ValueType::Real;
    if (code >= 290 && code <= 299)
        return ValueType::Bool;
    if (code == 105 || (code >= 320 && code <= 369) || (code >= 390 && code <= 399) ||
        (code >= 480 && code <= 481) || code == 1005)
        return ValueType::Handle;
    if ((code >= 310 && code <= 319) || code == 1004)
        return ValueType::Binary;
    return ValueType::Text;
}

// Every group's type is looked up: the codes up to the last of extended data, in a table.
constexpr auto kTypes = [] {
    std::array<ValueType, 1072> types{};
    for (std::size_t code = 0; code < types.size(); ++code)
        types[code] = typeOf(static_cast<int>(code));
    return types;
}();

} // namespace

ValueType valueType(int code) {
    return code >= 0 && static_cast<std::size_t>(code) < kTypes.size()
               ? kTypes[static_cast<std::size_t>(code)]
               : typeOf(code);
}

bool parseReal(std::string_view text, double& value) {
    text = trim(text);
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parseInteger(std::string_view text, std::int64_t& value) {
    text = trim(text);
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

bool parseHandle(std::string_view text, std::uint64_t& value) {
    text = trim(text);
    value = 0;
    if (text.empty())
        return true;
    if (text.size() > 16)
        return false;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, 16);
    return ec == std::errc() && ptr == end;
}

void parseNumber(Group& group) {
    switch (valueType(group.code)) {
    case ValueType::Real:
        if (double v; parseReal(group.value, v)) {
            group.parsed = Parsed::Real;
            group.number = std::bit_cast<std::uint64_t>(v);
        }
        break;
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool:
        if (std::int64_t v; parseInteger(group.value, v)) {
            group.parsed = Parsed::Integer;
            group.number = static_cast<std::uint64_t>(v);
        }
        break;
    case ValueType::Handle:
        if (std::uint64_t v; parseHandle(group.value, v)) {
            group.parsed = Parsed::Handle;
            group.number = v;
        }
        break;
    case ValueType::Text:
        // Handles of records are text by their code's range.
        if (std::uint64_t v;
            (group.code == 5 || group.code == 105) && parseHandle(group.value, v)) {
            group.parsed = Parsed::Handle;
            group.number = v;
        }
        break;
    case ValueType::Binary:
        break;
    }
}

} // namespace gantrel::dxf
