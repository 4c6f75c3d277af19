// Writes a failing geometric case as an SVG picture for inspection.
#pragma once

#include "nesting/geometry/Polygons.h"

#include <string>
#include <vector>

namespace gantrel::testing {

struct SvgShape {
    GePoints points;
    std::string colour;
};

// Writes the shapes (y axis up) to <build folder or /tmp>/<name>.svg and returns the path.
std::string WriteSvg(const std::string& name, const std::vector<SvgShape>& shapes);

} // namespace gantrel::testing
