// The character cipher of embedded SAT lines: blanks stay, '@' and '_' swap, the characters
// 'A' to '^' are mirrored within that range (an 'A' is written as '^' and a blank), and every
// other character is XORed with 0x5F.
#include "sat.h"

namespace gantrel::dxf {

std::string decodeSatLine(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c == 0x20) {
            out += ' ';
        } else if (c == 0x40) {
            out += '_';
        } else if (c == 0x5F) {
            out += '@';
        } else if (c >= 0x41 && c <= 0x5E) {
            out += static_cast<char>(0x41 + (0x5E - c));
            if (c == 0x5E && i + 1 < line.size() && line[i + 1] == ' ')
                ++i; // the blank after an encoded 'A'
        } else {
            out += static_cast<char>(c ^ 0x5F);
        }
    }
    return out;
}

std::string encodeSatLine(std::string_view line) {
    std::string out;
    out.reserve(line.size() + 8);
    for (char ch : line) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == 0x20) {
            out += ' ';
        } else if (c == '_') {
            out += '@';
        } else if (c == '@') {
            out += '_';
        } else if (c >= 0x41 && c <= 0x5E) {
            out += static_cast<char>(0x5E - (c - 0x41));
            if (c == 'A')
                out += ' ';
        } else {
            out += static_cast<char>(c ^ 0x5F);
        }
    }
    return out;
}

} // namespace gantrel::dxf
