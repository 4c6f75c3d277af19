// ACIS SAT text of regions, as DXF files from AC1015 to AC1024 embed it: the character cipher
// of the embedded lines, and the translation between SAT and the loops of a planar region
// (straight and circular edges) in the object coordinates of the region's normal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zcdbregion.h"

namespace gantrel::dxf {

// The cipher of SAT lines in DXF groups 1 and 3 (its own inverse apart from 'A').
std::string decodeSatLine(std::string_view line);
std::string encodeSatLine(std::string_view line);

struct PlanarLoops {
    std::vector<ZcDbLoop> loops;
    ZcGeVector3d normal = ZcGeVector3d::kZAxis;
    double elevation = 0.0;
};

// Reads the faces of decoded SAT lines. False (with the reason) for data that is not a planar
// region bounded by straight and circular edges.
bool satToLoops(const std::vector<std::string>& lines, PlanarLoops& out, std::string& why);

// SAT version 700 lines of a region with these loops: one face for each outer loop, with the
// loops inside it as holes.
std::vector<std::string> loopsToSat(const PlanarLoops& region);

} // namespace gantrel::dxf
