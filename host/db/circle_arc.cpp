// Circles (parameter 0 to 2 pi) and arcs (start angle to end angle, the end above the start),
// both measured counter-clockwise from the x axis of the object coordinate system.
#include <algorithm>
#include <cmath>

#include "database_impl.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbCircle, ZcDbCurve, L"CIRCLE")
ZCRX_DEFINE_MEMBERS(ZcDbArc, ZcDbCurve, L"ARC")

using namespace gantrel::db;

namespace {

double circleTolerance(const ZcGePoint3d& center, double radius) {
    return pointTolerance(magnitudeOf(center) + radius);
}

// The in-plane angle of a point about a circle and whether it lies on the circle.
bool angleOnCircle(const ZcGePoint3d& point, const ZcGePoint3d& center, double radius,
                   const Ocs& ocs, double& angle) {
    const ZcGeVector3d v = point - center;
    const double tol = circleTolerance(center, radius);
    const double height = v.dotProduct(ocs.z);
    const ZcGeVector3d inPlane = v - ocs.z * height;
    if (std::abs(height) > tol || std::abs(inPlane.length() - radius) > tol)
        return false;
    angle = ocs.angleOf(inPlane);
    return true;
}

// The image of a circle's center, radius and normal under a transform that keeps its plane
// undistorted; false for a transform that would make it an ellipse.
bool transformCircle(const ZcGeMatrix3d& xform, ZcGePoint3d& center, double& radius,
                     ZcGeVector3d& normal, double& thickness) {
    const Ocs ocs = ocsOf(normal);
    double scale = 1.0;
    if (!isSimilarityInPlane(xform, ocs.x, ocs.y, scale))
        return false;
    center.transformBy(xform);
    radius *= scale;
    thickness *= (xform * ocs.z).length();
    normal = transformNormal(xform, normal);
    return true;
}

} // namespace

// --- circle ----------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDbCircle::setCenter(const ZcGePoint3d& c) {
    return setField(m_center, c);
}

Zcad::ErrorStatus ZcDbCircle::setRadius(double r) {
    return setField(m_radius, r, r > 0.0);
}

Zcad::ErrorStatus ZcDbCircle::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbCircle::setThickness(double t) {
    return setField(m_thickness, t);
}

Zcad::ErrorStatus ZcDbCircle::getStartParam(double& param) const {
    param = 0.0;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getEndParam(double& param) const {
    param = kTwoPi;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getPointAtParam(double param, ZcGePoint3d& point) const {
    if (param < -1e-9 || param > kTwoPi + 1e-9)
        return Zcad::eInvalidInput;
    point = m_center + ocsOf(m_normal).direction(param) * m_radius;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
    double angle = 0.0;
    if (!angleOnCircle(point, m_center, m_radius, ocsOf(m_normal), angle))
        return Zcad::eInvalidInput;
    param = angle;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getDistAtParam(double param, double& dist) const {
    if (param < -1e-9 || param > kTwoPi + 1e-9)
        return Zcad::eInvalidInput;
    dist = m_radius * std::clamp(param, 0.0, kTwoPi);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getParamAtDist(double dist, double& param) const {
    const double length = kTwoPi * m_radius;
    if (!(m_radius > 0.0))
        return Zcad::eDegenerateGeometry;
    if (dist < -circleTolerance(m_center, m_radius) ||
        dist > length + circleTolerance(m_center, m_radius))
        return Zcad::eInvalidInput;
    param = std::clamp(dist / m_radius, 0.0, kTwoPi);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    if (param < -1e-9 || param > kTwoPi + 1e-9)
        return Zcad::eInvalidInput;
    deriv = ocsOf(m_normal).direction(param + kPi / 2) * m_radius;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                                bool) const {
    const Ocs ocs = ocsOf(m_normal);
    const ZcGeVector3d v = given - m_center;
    const ZcGeVector3d inPlane = v - ocs.z * v.dotProduct(ocs.z);
    // Every point is nearest to the center's projection; the start point stands for them.
    const ZcGeVector3d dir = inPlane.isZeroLength() ? ocs.x : inPlane.normal();
    closest = m_center + dir * m_radius;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getArea(double& area) const {
    area = kPi * m_radius * m_radius;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::getGeomExtents(ZcDbExtents& extents) const {
    const Ocs ocs = ocsOf(m_normal);
    extents = ZcDbExtents();
    addArcExtents(extents, m_center, ocs.x * m_radius, ocs.y * m_radius, 0.0, kTwoPi);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCircle::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    ZcGePoint3d center = m_center;
    double radius = m_radius, thickness = m_thickness;
    ZcGeVector3d normal = m_normal;
    if (!transformCircle(xform, center, radius, normal, thickness))
        return Zcad::eNotApplicable;
    m_center = center;
    m_radius = radius;
    m_normal = normal;
    m_thickness = thickness;
    return Zcad::eOk;
}

void ZcDbCircle::listFields(std::wstring& out) const {
    appendField(out, L"Center point", formatPoint(m_center));
    appendField(out, L"Radius", formatNumber(m_radius));
    appendField(out, L"Circumference", formatNumber(kTwoPi * m_radius));
    appendField(out, L"Area", formatNumber(kPi * m_radius * m_radius));
}

// --- arc -------------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDbArc::setCenter(const ZcGePoint3d& c) {
    return setField(m_center, c);
}

Zcad::ErrorStatus ZcDbArc::setRadius(double r) {
    return setField(m_radius, r, r > 0.0);
}

Zcad::ErrorStatus ZcDbArc::setStartAngle(double a) {
    return setField(m_startAngle, normalizeAngle(a));
}

Zcad::ErrorStatus ZcDbArc::setEndAngle(double a) {
    return setField(m_endAngle, normalizeAngle(a));
}

Zcad::ErrorStatus ZcDbArc::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbArc::setThickness(double t) {
    return setField(m_thickness, t);
}

double ZcDbArc::totalAngle() const {
    return sweepAngle(m_startAngle, m_endAngle);
}

Zcad::ErrorStatus ZcDbArc::getStartParam(double& param) const {
    param = normalizeAngle(m_startAngle);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getEndParam(double& param) const {
    param = normalizeAngle(m_startAngle) + totalAngle();
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getPointAtParam(double param, ZcGePoint3d& point) const {
    const double s = normalizeAngle(m_startAngle), e = s + totalAngle();
    if (param < s - 1e-9 || param > e + 1e-9)
        return Zcad::eInvalidInput;
    point = m_center + ocsOf(m_normal).direction(param) * m_radius;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
    double angle = 0.0;
    if (!angleOnCircle(point, m_center, m_radius, ocsOf(m_normal), angle))
        return Zcad::eInvalidInput;
    const double s = normalizeAngle(m_startAngle), sweep = totalAngle();
    const double angleTol = m_radius > 0.0 ? circleTolerance(m_center, m_radius) / m_radius : 1e-9;
    double offset = normalizeAngle(angle - s);
    // A point just before the start reads as almost a full turn after it.
    if (offset > sweep + angleTol && kTwoPi - offset <= angleTol)
        offset = 0.0;
    if (offset > sweep + angleTol)
        return Zcad::eInvalidInput;
    param = s + std::min(offset, sweep);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getDistAtParam(double param, double& dist) const {
    const double s = normalizeAngle(m_startAngle), e = s + totalAngle();
    if (param < s - 1e-9 || param > e + 1e-9)
        return Zcad::eInvalidInput;
    dist = m_radius * (std::clamp(param, s, e) - s);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getParamAtDist(double dist, double& param) const {
    if (!(m_radius > 0.0))
        return Zcad::eDegenerateGeometry;
    const double sweep = totalAngle(), tol = circleTolerance(m_center, m_radius);
    if (dist < -tol || dist > m_radius * sweep + tol)
        return Zcad::eInvalidInput;
    param = normalizeAngle(m_startAngle) + std::clamp(dist / m_radius, 0.0, sweep);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    const double s = normalizeAngle(m_startAngle), e = s + totalAngle();
    if (param < s - 1e-9 || param > e + 1e-9)
        return Zcad::eInvalidInput;
    deriv = ocsOf(m_normal).direction(param + kPi / 2) * m_radius;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                             bool extend) const {
    const Ocs ocs = ocsOf(m_normal);
    const ZcGeVector3d v = given - m_center;
    const ZcGeVector3d inPlane = v - ocs.z * v.dotProduct(ocs.z);
    const double s = normalizeAngle(m_startAngle), sweep = totalAngle();
    const double angle = inPlane.isZeroLength() ? s : ocs.angleOf(inPlane);
    const double offset = normalizeAngle(angle - s);
    if (extend || offset <= sweep) {
        closest = m_center + ocs.direction(angle) * m_radius;
        return Zcad::eOk;
    }
    // Outside the sweep the nearer end point is the closest point of the arc.
    const ZcGePoint3d a = m_center + ocs.direction(s) * m_radius;
    const ZcGePoint3d b = m_center + ocs.direction(s + sweep) * m_radius;
    closest = a.distanceTo(given) < b.distanceTo(given) ? a : b;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getArea(double& area) const {
    // The circular segment between the arc and its chord.
    const double sweep = totalAngle();
    area = 0.5 * m_radius * m_radius * (sweep - std::sin(sweep));
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::getGeomExtents(ZcDbExtents& extents) const {
    const Ocs ocs = ocsOf(m_normal);
    extents = ZcDbExtents();
    addArcExtents(extents, m_center, ocs.x * m_radius, ocs.y * m_radius,
                  normalizeAngle(m_startAngle), totalAngle());
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbArc::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    const Ocs ocs = ocsOf(m_normal);
    const double s = normalizeAngle(m_startAngle), sweep = totalAngle();
    const ZcGePoint3d startPt = xform * (m_center + ocs.direction(s) * m_radius);
    const ZcGePoint3d endPt = xform * (m_center + ocs.direction(s + sweep) * m_radius);
    ZcGePoint3d center = m_center;
    double radius = m_radius, thickness = m_thickness;
    ZcGeVector3d normal = m_normal;
    if (!transformCircle(xform, center, radius, normal, thickness))
        return Zcad::eNotApplicable;
    const Ocs image = ocsOf(normal);
    double a0 = image.angleOf(startPt - center), a1 = image.angleOf(endPt - center);
    // A mirrored arc runs clockwise about its normal: its ends trade places.
    if (isMirroring(xform))
        std::swap(a0, a1);
    if (sweep >= kTwoPi)
        a1 = a0;
    m_center = center;
    m_radius = radius;
    m_normal = normal;
    m_thickness = thickness;
    m_startAngle = a0;
    m_endAngle = a1;
    return Zcad::eOk;
}

void ZcDbArc::listFields(std::wstring& out) const {
    appendField(out, L"Center point", formatPoint(m_center));
    appendField(out, L"Radius", formatNumber(m_radius));
    appendField(out, L"Start angle", formatAngle(normalizeAngle(m_startAngle)));
    appendField(out, L"End angle", formatAngle(normalizeAngle(m_endAngle)));
    appendField(out, L"Length", formatNumber(m_radius * totalAngle()));
    appendField(out, L"Total angle", formatAngle(totalAngle()));
}
