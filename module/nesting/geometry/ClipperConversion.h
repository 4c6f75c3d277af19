// Conversion between outlines and Clipper's integer paths. Only the adapter and the benchmarks
// that measure the bare arithmetic include this header.
#pragma once

#include "nesting/geometry/GePoints.h"

#include <polyclipping/clipper.hpp>

namespace gantrel {

// Truncates scale * coordinate toward zero and moves a point lying within 10 units of the
// previous one (both axes) by 11 units on both axes. Throws PolygonArithmeticError when a
// coordinate is not finite or scale * |coordinate| exceeds limit.
ClipperLib::Path ToIntegerPath(const GePoints& points, double scale, double limit);

// The inverse conversion with the factor 1 / scale.
GePoints FromIntegerPath(const ClipperLib::Path& path, double scale);

// The largest absolute coordinate Clipper accepts.
inline constexpr double kClipperRange = static_cast<double>(ClipperLib::hiRange);

} // namespace gantrel
