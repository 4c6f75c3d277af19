// Readers that turn curves into point lists. Every reader appends to the caller's list. The
// divisions argument n sets the step of the samplers; the running parameter or distance starts
// at its first value and advances by repeated addition of the step while it stays below the end
// value. With n of 0 or below, or so large that one curve would give more than a million
// samples, only the end points are read.
#pragma once

#include "drawing/Curve.h"
#include "zcarray.h"

namespace gantrel {

using Points = ZcGePoint3dArray;

// Start point and end point of a line.
int ReadLineCoordinates(ZcDbObjectId line, Points& points);
// Points at distances 0, L/n, 2L/n ... below the arc's length L, then the point at L.
int ReadArcCoordinates(ZcDbObjectId arc, Points& points, double n);
// Points at parameters 0, E/n, 2E/n ... below the end parameter E; no closing point.
int ReadCircleCoordinates(ZcDbObjectId circle, Points& points, double n);
// Points at parameters S, S+E/n, S+2E/n ... below the end parameter E, then the point at E (the
// step is E/n, not (E-S)/n). For splines and any other curve.
int ReadCurveByParam(ZcDbObjectId curve, Points& points, double n);
// Dispatches on the class: line, lightweight polyline (by parameter), circle, spline, arc, any
// other curve by parameter. 21 for an object that is not a curve.
int ReadCurveCoordinates(ZcDbObjectId curve, Points& points, double n);

// Keeps the first and the last point and drops each interior point i where the vectors from
// the last kept point to point i and to point i+1 make an angle below 1e-4 radians.
void SimplifyPoints(Points& points);

class PolylineCoordinatesReader : public ZWPolyline {
public:
    using ZWPolyline::ZWPolyline;
    virtual int Read(Points& points, double n) = 0;
};

// Every vertex in order; after a vertex whose segment is an arc, the points at parameters i,
// i+1/n ... below i+1, each only when farther than 1e-5 from the last point added.
class PolylineCoordinatesReader_byParam : public PolylineCoordinatesReader {
public:
    using PolylineCoordinatesReader::PolylineCoordinatesReader;
    int Read(Points& points, double n) override;
};

// The byParam points, simplified with SimplifyPoints.
class PolylineCoordinatesReader_byParam_Simplified : public PolylineCoordinatesReader_byParam {
public:
    using PolylineCoordinatesReader_byParam::PolylineCoordinatesReader_byParam;
    int Read(Points& points, double n) override;
};

// Joins the points of a further piece to a chain: the smallest of the distances chain start to
// piece start (a), chain start to piece end (b), chain end to piece start (c), chain end to
// piece end (d) decides (ties within 1e-9 in that order): a puts the piece reversed in front,
// b in its own order in front, c appends it, d appends it reversed. An empty chain takes the
// piece as it is.
void JoinPiece(Points& chain, const Points& piece);

// The trapezoid (shoelace) rule: the enclosed area of a closed point ring, first point paired with
// the last.
double ShoelaceArea(const Points& points);

} // namespace gantrel
