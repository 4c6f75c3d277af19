// The one door to the integer polygon arithmetic (Clipper).
//
// Outlines are converted to integer paths at the settings' scale (truncation toward zero; a
// point within 10 integer units of the previous one on both axes is moved by 11 units on both
// axes so that consecutive integer points stay apart), checked against the arithmetic's
// coordinate range before any call, and converted back with the factor 1 / scale. Every failure
// of the arithmetic arrives as PolygonArithmeticError.
#pragma once

#include "nesting/geometry/GePoints.h"

#include <stdexcept>
#include <vector>

namespace gantrel {

class PolygonArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The outline grown by delta (drawing units) with round joins, as closed loops.
std::vector<GePoints> OffsetOutline(const GePoints& outline, double delta, double scale,
                                    double arcTolerance);

// The outline grown by delta (shrunk for negative delta) with mitred joins (square where a
// mitre would reach farther than twice delta): the result covers every point within delta of
// the outline, and when shrunk keeps only points at least |delta| inside it, up to the integer
// rounding.
std::vector<GePoints> CoveringOffsetOutline(const GePoints& outline, double delta, double scale);

// The Minkowski sum of a and the point reflection of b, as closed loops: the outline and the
// holes that are true cavities (positions of b inside a concavity of a).
std::vector<GePoints> MinkowskiSumWithNegated(const GePoints& a, const GePoints& b, double scale);

// Area of the intersection of two outlines (non-zero fill), in square drawing units.
double IntersectionArea(const GePoints& a, const GePoints& b, double scale);

} // namespace gantrel
