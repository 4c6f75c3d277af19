// Tolerances of the nesting geometry, in drawing units.
#pragma once

namespace gantrel {

// Geometric predicates: on-segment, same point, intersection denominators.
inline constexpr double kPredicateTolerance = 1e-7;
// Two points closer than this are one point.
inline constexpr double kCoincidentTolerance = 1e-5;
// Offsets smaller than this are not worth doing.
inline constexpr double kOffsetThreshold = 1e-4;

} // namespace gantrel
