// Parsing of the answer forms.
#include "answers.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "input.h"

namespace gantrel::editor {

std::vector<std::string> splitWords(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
            ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t')
            ++i;
        if (i > start)
            words.emplace_back(text.substr(start, i - start));
    }
    return words;
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::optional<double> parseReal(std::string_view text) {
    std::string s = trimBlanks(text);
    if (s.empty())
        return std::nullopt;
    // Only plain decimal notation: no hexadecimal floats, infinities or NaN.
    for (char c : s)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.' ||
              c == 'e' || c == 'E'))
            return std::nullopt;
    errno = 0;
    char* end = nullptr;
    double value = std::strtod(s.c_str(), &end);
    if (end != s.c_str() + s.size() || errno == ERANGE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseShort(std::string_view text) {
    std::string s = trimBlanks(text);
    if (s.empty())
        return std::nullopt;
    std::size_t i = (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (i == s.size() || s.size() - i > 6)
        return std::nullopt;
    for (std::size_t k = i; k < s.size(); ++k)
        if (!std::isdigit(static_cast<unsigned char>(s[k])))
            return std::nullopt;
    long value = std::strtol(s.c_str(), nullptr, 10);
    if (value < -32768 || value > 32767)
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<ZcGePoint3d> parsePoint(std::string_view text) {
    std::vector<double> coords;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = text.find(',', start);
        auto value = parseReal(text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (!value)
            return std::nullopt;
        coords.push_back(*value);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    if (coords.size() != 2 && coords.size() != 3)
        return std::nullopt;
    return ZcGePoint3d(coords[0], coords[1], coords.size() == 3 ? coords[2] : 0.0);
}

std::optional<std::string> parseHandleToken(std::string_view text) {
    if (text.size() < 2 || text[0] != '#' || text.size() > 17)
        return std::nullopt;
    std::string hex = upperAscii(text.substr(1));
    for (char c : hex)
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    return hex;
}

ParsedSelection parseSelection(std::string_view text) {
    ParsedSelection result;
    std::vector<std::string> words = splitWords(text);
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        std::string upper = upperAscii(word);
        SelectionItem item;
        if (word[0] == '#') {
            auto handle = parseHandleToken(word);
            if (!handle) {
                result.error = "\"" + word + "\" is not a handle";
                return result;
            }
            item.kind = SelectionItem::Handle;
            item.handle = *handle;
        } else if (upper == "ALL") {
            item.kind = SelectionItem::All;
        } else if (upper == "LAST") {
            item.kind = SelectionItem::Last;
        } else if (upper == "W" || upper == "C") {
            item.kind = upper == "W" ? SelectionItem::Window : SelectionItem::Crossing;
            std::optional<ZcGePoint3d> a, b;
            if (i + 2 < words.size()) {
                a = parsePoint(words[i + 1]);
                b = parsePoint(words[i + 2]);
            }
            if (!a || !b) {
                result.error = "\"" + word + "\" needs two corners: " + word + " x1,y1 x2,y2";
                return result;
            }
            item.first = *a;
            item.second = *b;
            i += 2;
        } else if (auto p = parsePoint(word)) {
            item.kind = SelectionItem::Pick;
            item.first = *p;
        } else {
            result.error = "\"" + word +
                           "\" is not a selection item (#HANDLE, all, last, w P1 P2, c P1 P2, x,y)";
            return result;
        }
        result.items.push_back(std::move(item));
    }
    return result;
}

} // namespace gantrel::editor
