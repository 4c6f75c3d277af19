// Tables and objects every drawing file has, written with defaults when the drawing has none
// of its own (a drawing made in the program rather than read from a file).
#pragma once

#include <string>

#include "contexts.h"
#include "group_writer.h"

namespace gantrel::dxf {

// Writes one of the tables VPORT, LTYPE, STYLE, VIEW, UCS and DIMSTYLE with its defaults, and
// the number of handles that takes (the table's and its records').
int defaultTableHandles(const std::string& name);
// Writes one of the tables VPORT, LTYPE, STYLE, VIEW, UCS and DIMSTYLE with its defaults.
void writeDefaultTable(const std::string& name, GroupWriter& w, WriteContext& ctx);

// The plot-style dictionary with its default entry, owned by the named-objects dictionary.
void writeDefaultPlotStyles(std::uint64_t dictionary, std::uint64_t placeholder,
                            std::uint64_t owner, GroupWriter& w);

// The classes of the objects a written drawing holds.
void writeDefaultClass(const std::string& name, GroupWriter& w);
inline constexpr const char* kDefaultClasses[] = {"ACDBDICTIONARYWDFLT", "ACDBPLACEHOLDER",
                                                  "LAYOUT"};

} // namespace gantrel::dxf
