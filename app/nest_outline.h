// The outlines of drawn pieces as polygons, for checking a nesting result: no two placed pieces
// overlap and every placed piece lies on the sheet.
#pragma once

#include <string>
#include <vector>

#include "zcdbents.h"

namespace gantrel::app {

struct Point2 {
    double x = 0.0, y = 0.0;
};

// An entity's drawing in the XY plane: the closed rings it encloses (read with the even-odd
// rule, so a ring inside another is a hole) and every sampled point, open curves included.
struct Outline {
    std::vector<std::vector<Point2>> rings;
    std::vector<Point2> points;
    bool empty() const { return points.empty(); }
};

// Samples the entity's curves finely (arcs and splines in many short chords); regions and block
// references are exploded into their curves. Kinds without curves (text, points) give nothing.
Outline sampleOutline(const ZcDbEntity& entity);

// The area an outline encloses, holes taken out.
double enclosedArea(const Outline& outline);

struct NamedOutline {
    std::string handle;
    Outline outline;
};

// What is wrong with the pieces placed on the sheet: a pair whose enclosed areas overlap by
// more than a millionth of the smaller one, and a piece with more than a millionth of its area
// (or, without area, any of its points) outside the sheet. One readable line per fault.
std::vector<std::string> findPlacementFaults(const Outline& sheet,
                                             const std::vector<NamedOutline>& pieces);

} // namespace gantrel::app
