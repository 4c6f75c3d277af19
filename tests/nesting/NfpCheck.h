// Property checks of no-fit and inner-fit polygons, shared by the tests.
#pragma once

#include "nesting/geometry/Polygons.h"

#include <string>

namespace gantrel::testing {

// Integer scale of the intersection areas; the default of the settings record.
inline constexpr double kCheckScale = 1e8;

// Tolerances, relative to D = the sum of the two shapes' bounding-box diagonals:
// - touching: the intersection area of A and B placed at a vertex is at most 1e-9 D^2
//   (the integer arithmetic places vertices to 1e-8 drawing units), and the outlines are at
//   most 1e-6 D apart;
// - inside: a point 1e-3 D (at most a quarter of the edge) inside an edge's midpoint must give
//   an intersection area above the touching tolerance.
double ShapeSize(const GePoints& a, const GePoints& b);

// Empty when every vertex of the first loop of nfp makes a and b (b's first vertex at the
// vertex) touch without overlap and every tested point just inside makes them overlap;
// otherwise a description, and an SVG of the first failing case is written.
std::string CheckOuterNfp(const NestPolygon& a, const NestPolygon& b, const Polygons& nfp,
                          const std::string& caseName);

// Empty when every vertex of every loop keeps b inside the sheet (area of b outside the sheet at
// most 1e-9 D^2); otherwise a description, and an SVG is written.
std::string CheckInnerFit(const NestPolygon& sheet, const NestPolygon& b, const Polygons& ifp,
                          const std::string& caseName);

// The largest distance from a vertex of one loop to the boundary of the other, both ways.
double LoopDistance(const GePoints& p, const GePoints& q);
// The same, one way: from the vertices of p to the boundary of q.
double VertexDistance(const GePoints& p, const GePoints& q);
// Area of the symmetric difference of the regions the two loops bound.
double RegionDifference(const GePoints& p, const GePoints& q);

} // namespace gantrel::testing
