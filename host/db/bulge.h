// One segment of a polyline path in its plane: a straight line, or a circular arc given by a
// bulge (the tangent of a quarter of its included angle; positive turns counter-clockwise).
// The segment parameter u runs from 0 at the start to 1 at the end, proportional to the arc
// angle (and so to the length).
#pragma once

#include "geom_util.h"

namespace gantrel::db {

struct BulgeSegment {
    ZcGePoint2d start, end;
    double bulge = 0.0;
    bool isArc = false;
    ZcGePoint2d center;
    double radius = 0.0;
    double startAngle = 0.0; // angle of the start point about the center
    double sweep = 0.0;      // signed included angle, 4 atan(bulge)

    BulgeSegment(const ZcGePoint2d& a, const ZcGePoint2d& b, double segmentBulge);

    bool isDegenerate() const { return start == end; }
    double length() const;
    ZcGePoint2d pointAt(double u) const;
    // d point / du.
    ZcGeVector2d derivAt(double u) const;
    // The u of the closest point to p. With extendBefore / extendAfter u may leave [0, 1]: a
    // line continues straight, an arc round its circle.
    double closestParam(const ZcGePoint2d& p, bool extendBefore = false,
                        bool extendAfter = false) const;
    // This segment's share of the signed area of a closed path: the chord's shoelace term plus
    // the circular segment between chord and arc.
    double areaTerm() const;
    // Adds the segment, placed in the plane of ocs at elevation, to world extents.
    void addExtents(ZcDbExtents& extents, const Ocs& ocs, double elevation) const;
};

} // namespace gantrel::db
