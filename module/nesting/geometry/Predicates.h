// Exact predicates and measures of the nesting geometry, with their tolerances.
#pragma once

#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Polygons.h"

namespace gantrel {

// |b - a| < tol.
bool AlmostEqual(double a, double b, double tol);
// Both coordinates differ by less than tol.
bool SamePoint(const GePoint& p, const GePoint& q, double tol);
double Distance(const GePoint& p, const GePoint& q);
// Closer than 1e-5.
bool Coincident(const GePoint& p, const GePoint& q);
// Farther apart than 1e-5.
bool Apart(const GePoint& p, const GePoint& q);

// True only when p lies strictly inside the segment s-e (ends excluded), tolerance 1e-7.
bool OnSegment(const GePoint& s, const GePoint& e, const GePoint& p);
// OnSegment, or p within 1e-7 of either end.
bool OnClosedSegment(const GePoint& s, const GePoint& e, const GePoint& p);
// Intersection of the lines p1-p2 and p3-p4; with infiniteLines false the point must lie on
// both closed segments. A no-value point when there is none (parallel within 1e-7).
GePoint LineIntersection(const GePoint& p1, const GePoint& p2, const GePoint& p3, const GePoint& p4,
                         bool infiniteLines);
// Intersection of two closed segments; a DblPoint without value when there is none.
DblPoint SegmentIntersection(const GePoint& p1, const GePoint& p2, const GePoint& p3,
                             const GePoint& p4);

// Positive for clockwise order (y axis up), negative for counter-clockwise; holes do not count.
double SignedArea(const GePoints& polygon);
// Sum of the absolute areas.
double TotalArea(const Polygons& polygons);
BoundingBox BoundingBoxOf(const GePoints& points);

// Ray casting over the vertices shifted by the polygon's position. Points on a vertex or an
// edge are outside.
bool Contains(const NestPolygon& polygon, const GePoint& p);
// p lies on a vertex or an edge of the polygon (shifted by its position), tolerance 1e-7.
bool OnBoundary(const NestPolygon& polygon, const GePoint& p);
// Exactly four points, each on a corner of the bounding box (1e-7).
bool IsRectangle(const GePoints& polygon);
// Same points in the same order, compared exactly (no tolerance).
bool IdenticalPoints(const GePoints& a, const GePoints& b);

// Same point count, rotation within 1e-10, names equal ignoring case, holes pairwise not
// Differs, and no pair of corresponding points Apart.
bool IsSame(const NestPolygon& a, const NestPolygon& b);
// The negation of IsSame with a case-sensitive name comparison.
bool Differs(const NestPolygon& a, const NestPolygon& b);

// An outline the polygon arithmetic and the orbit can work with: at least three points, all
// finite, no two vertices Coincident, and an area that is not zero (not below 1e-12 of the
// bounding box's area).
bool IsUsableOutline(const GePoints& polygon);

} // namespace gantrel
