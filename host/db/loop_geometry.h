// Geometry of hatch and region boundary loops, in the 2-D object coordinates of their entity:
// edge evaluation, exact areas (Green's theorem) and lengths, polygons for containment tests,
// extents, transforms and the nesting of loops into outer boundaries and holes.
#pragma once

#include <vector>

#include "geom_util.h"
#include "zcdbregion.h"

namespace gantrel::db {

// The edges of a loop in order; a polyline path becomes its line and arc edges.
std::vector<ZcDbLoopEdge> edgesOf(const ZcDbLoop& loop);

// Edges of the two kinds built from plain values.
ZcDbLoopEdge lineEdge(const ZcGePoint2d& start, const ZcGePoint2d& end);
ZcDbLoopEdge arcEdge(const ZcGePoint2d& center, double radius, double startAngle, double endAngle,
                     bool counterClockwise);

// The swept parameter range of a curved edge, in (0, 2 pi].
double edgeSweep(const ZcDbLoopEdge& edge);
// The point at u in [0, 1] along the edge, in its direction.
ZcGePoint2d edgePointAt(const ZcDbLoopEdge& edge, double u);
double edgeLength(const ZcDbLoopEdge& edge);
// The same edge run the other way.
ZcDbLoopEdge reversedEdge(const ZcDbLoopEdge& edge);
bool isCurved(const ZcDbLoopEdge& edge);
// Edges are usable: arcs with a positive radius, ellipses with a ratio in (0, 1] and a
// non-zero axis, splines with valid NURBS data.
bool isValidEdge(const ZcDbLoopEdge& edge);

// Signed area (counter-clockwise positive) and length of a loop.
double loopSignedArea(const ZcDbLoop& loop);
double loopLength(const ZcDbLoop& loop);
// The loop as a dense polygon (arcs in steps of at most 1.5 degrees), for containment tests.
std::vector<ZcGePoint2d> loopPolygon(const ZcDbLoop& loop);
bool pointInPolygon(const ZcGePoint2d& p, const std::vector<ZcGePoint2d>& polygon);

// Adds the loop, placed in the plane of ocs at elevation, to world extents.
void addLoopExtents(ZcDbExtents& extents, const ZcDbLoop& loop, const Ocs& ocs, double elevation);

// The area enclosed by a set of loops nested by geometry: a loop inside an even number of
// others bounds material, inside an odd number a hole. Loops deeper than maxDepth are ignored
// (0: outermost loops only; 1: outer loops and their holes).
double nestedArea(const std::vector<ZcDbLoop>& loops, int maxDepth = 1 << 30);

// Moves loops from the plane (from, fromElevation) through xform into the plane
// (to, toElevation). Curved edges need a transform without distortion in the plane: the
// caller checks that (and passes the scale), as well as whether it mirrors.
void transformLoop(ZcDbLoop& loop, const ZcGeMatrix3d& xform, const Ocs& from, double fromElevation,
                   const Ocs& to, double scale, bool mirror);

} // namespace gantrel::db
