// The interface of every no-fit-polygon calculator.
#pragma once

#include "nesting/geometry/Polygons.h"

namespace gantrel {

class NoFitPolygon_Calculator {
public:
    virtual ~NoFitPolygon_Calculator() = default;
    // The positions of b's first vertex at which b touches a without overlapping it (outer
    // calculators) or lies inside it (inner calculators). Empty on failure.
    virtual Polygons Calculate(const NestPolygon& a, const NestPolygon& b) = 0;
};

} // namespace gantrel
