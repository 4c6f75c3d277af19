// The geometry shared by lightweight and 2-D polylines: a path of vertices with bulges in the
// plane of an object coordinate system at an elevation. Segment i runs over parameters
// [i, i+1]; a bulged segment's parameter maps linearly to its arc angle.
#pragma once

#include <vector>

#include "bulge.h"
#include "zcdbents.h"

namespace gantrel::db {

struct PolylinePath {
    Ocs ocs = ocsOf(ZcGeVector3d::kZAxis);
    double elevation = 0.0;
    bool closed = false;
    std::vector<ZcGePoint2d> points;
    std::vector<double> bulges; // one per point; the last one is used only when closed

    int numSegments() const;
    BulgeSegment segment(int i) const;
    // The absolute tolerance for "on the path" at the path's coordinate magnitude.
    double tolerance() const;

    Zcad::ErrorStatus pointAtParam(double param, ZcGePoint3d& point) const;
    Zcad::ErrorStatus paramAtPoint(const ZcGePoint3d& point, double& param) const;
    Zcad::ErrorStatus distAtParam(double param, double& dist) const;
    Zcad::ErrorStatus paramAtDist(double dist, double& param) const;
    Zcad::ErrorStatus firstDeriv(double param, ZcGeVector3d& deriv) const;
    // With extend, an open path continues beyond its first and last segments.
    Zcad::ErrorStatus closestPoint(const ZcGePoint3d& given, bool extend, ZcGePoint3d& closest,
                                   double& param) const;
    // The area enclosed (an open path closed by the chord from its end to its start).
    Zcad::ErrorStatus area(double& value) const;
    Zcad::ErrorStatus extents(ZcDbExtents& ext) const;
    // Moves the path into the transform's image plane. Bulged paths need a transform without
    // distortion in their plane (eNotApplicable otherwise); widthScale receives the factor
    // for widths.
    Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform, double& widthScale);
    // New lines and arcs, one per segment of non-zero length, with the properties of source.
    Zcad::ErrorStatus explode(const ZcDbEntity& source, ZcDbVoidPtrArray& entitySet) const;
};

} // namespace gantrel::db
