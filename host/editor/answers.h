// The answer forms of the command line, parsed from one input line. Pure functions: they know
// nothing of the drawing.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "zcge.h"

namespace gantrel::editor {

// "x,y" or "x,y,z" (blanks around the numbers allowed); z is 0 when absent.
std::optional<ZcGePoint3d> parsePoint(std::string_view text);
// A finite decimal number.
std::optional<double> parseReal(std::string_view text);
// A whole number in the host's 16-bit integer range.
std::optional<int> parseShort(std::string_view text);
// "#HANDLE" with hexadecimal digits: the handle text upper-cased, without "#".
std::optional<std::string> parseHandleToken(std::string_view text);

struct SelectionItem {
    enum Kind { Handle, All, Last, Window, Crossing, Pick };
    Kind kind = Pick;
    std::string handle;        // Handle
    ZcGePoint3d first, second; // Window and Crossing corners; Pick uses first
};

struct ParsedSelection {
    std::vector<SelectionItem> items;
    std::string error; // empty when the whole line was understood
};

// Items separated by blanks: #HANDLE, all, last, w P1 P2, c P1 P2, P (a pick). The words are
// matched without regard to case. An empty line gives no items.
ParsedSelection parseSelection(std::string_view text);

// Splits at runs of blanks.
std::vector<std::string> splitWords(std::string_view text);
std::string upperAscii(std::string_view text);

} // namespace gantrel::editor
