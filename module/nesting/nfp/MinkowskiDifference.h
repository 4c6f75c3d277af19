// No-fit polygon through the Minkowski sum of A and the point reflection of B.
#pragma once

#include "nesting/nfp/NoFitPolygonCalculator.h"

namespace gantrel {

// The outline of A (+) (-B) (the loop with the smallest signed area: the outer one), moved by
// B's first vertex so that it holds positions of that vertex. Holes of A and B take no part.
// Empty for degenerate input or when the integer arithmetic fails.
class MinkowskiDifference : public NoFitPolygon_Calculator {
public:
    explicit MinkowskiDifference(double scale) : m_scale(scale) {}

    Polygons Calculate(const NestPolygon& a, const NestPolygon& b) override;

private:
    double m_scale;
};

} // namespace gantrel
