// Geometry helpers shared by the entity classes: object coordinate systems, angles, tolerances,
// transforms of normals, extents of arcs, and the text formatting of listings.
#pragma once

#include <string>

#include "zcge.h"

namespace gantrel::db {

constexpr double kTwoPi = 2.0 * kPi;

// An object coordinate system: the axes the host family derives from an entity's normal
// (the "arbitrary axis" rule), orthonormal and right-handed.
struct Ocs {
    ZcGeVector3d x, y, z;
    ZcGePoint3d toWorld(double px, double py, double pz) const {
        return ZcGePoint3d::kOrigin + x * px + y * py + z * pz;
    }
    ZcGePoint3d toWorld(const ZcGePoint2d& p, double elevation) const {
        return toWorld(p.x, p.y, elevation);
    }
    // Coordinates of a world point in this system.
    ZcGePoint3d toLocal(const ZcGePoint3d& p) const {
        const ZcGeVector3d v = p.asVector();
        return {v.dotProduct(x), v.dotProduct(y), v.dotProduct(z)};
    }
    ZcGePoint2d toLocal2d(const ZcGePoint3d& p) const {
        const ZcGePoint3d l = toLocal(p);
        return {l.x, l.y};
    }
    // The angle of a world direction within the system's xy plane.
    double angleOf(const ZcGeVector3d& v) const;
    // The unit direction at an angle within the system's xy plane.
    ZcGeVector3d direction(double angle) const;
};

// The object coordinate system of a normal (a zero normal counts as the z axis).
Ocs ocsOf(const ZcGeVector3d& normal);

// The image of a plane normal under a transform (inverse transpose), of unit length; the input
// when the transform is singular.
ZcGeVector3d transformNormal(const ZcGeMatrix3d& xform, const ZcGeVector3d& normal);

// True when the transform maps the plane spanned by u and v (orthonormal) to a plane without
// distortion: the images of u and v stay perpendicular and of equal length. scale receives
// that length.
bool isSimilarityInPlane(const ZcGeMatrix3d& xform, const ZcGeVector3d& u, const ZcGeVector3d& v,
                         double& scale);

// True when the transform reverses orientation (negative determinant of its linear part).
inline bool isMirroring(const ZcGeMatrix3d& xform) {
    return xform.det() < 0.0;
}

// An angle in [0, 2 pi).
double normalizeAngle(double angle);
// The counter-clockwise sweep from start to end, in (0, 2 pi]; equal angles sweep a full turn.
double sweepAngle(double start, double end);

// Tolerance for "the point lies on the curve" tests at a given coordinate magnitude: relative,
// so that drawings far from the origin and in large units behave like small ones.
double pointTolerance(double magnitude);
inline double magnitudeOf(const ZcGePoint3d& p) {
    return std::abs(p.x) + std::abs(p.y) + std::abs(p.z);
}

// Adds the points center + cos(a) xAxis + sin(a) yAxis for a in [start, start + sweep]
// (sweep >= 0) to extents, exactly: the end points and every axis extreme inside the range.
// Circles and arcs pass radius-scaled orthonormal axes, ellipses their two semi-axes.
void addArcExtents(ZcDbExtents& extents, const ZcGePoint3d& center, const ZcGeVector3d& xAxis,
                   const ZcGeVector3d& yAxis, double start, double sweep);

// Adds the four corners origin + u * [u0, u1] + v * [v0, v1] to extents.
void addBox(ZcDbExtents& extents, const ZcGePoint3d& origin, const ZcGeVector3d& u,
            const ZcGeVector3d& v, double u0, double u1, double v0, double v1);

// The image of a text's frame under a transform: the new normal, the new reading direction
// (reversed under mirroring, so that the text stays readable rather than mirrored), and the
// scale factors along the direction (width) and across it (height).
struct TextFrame {
    ZcGeVector3d normal, direction;
    double alongScale = 1.0, acrossScale = 1.0;
};
TextFrame transformTextFrame(const ZcGeMatrix3d& xform, const ZcGeVector3d& normal,
                             const ZcGeVector3d& direction);

// The stand-in has no font metrics: a character is taken as this fraction of the text height
// wide, a fair average for the usual drawing fonts.
constexpr double kCharWidthRatio = 0.6;

// Listing text: numbers with four decimals, points as "x, y, z", one "name: value" a line.
std::wstring formatNumber(double value);
std::wstring formatPoint(const ZcGePoint3d& p);
std::wstring formatAngle(double radians);
void appendField(std::wstring& out, const wchar_t* name, const std::wstring& value);

} // namespace gantrel::db
