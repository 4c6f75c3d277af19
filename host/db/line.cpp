// Lines: parameter 0 at the start point to the length at the end point (unit speed).
#include <algorithm>
#include <cmath>

#include "database_impl.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbLine, ZcDbCurve, L"LINE")

using namespace gantrel::db;

namespace {

double lineTolerance(const ZcGePoint3d& a, const ZcGePoint3d& b) {
    return pointTolerance(std::max(magnitudeOf(a), magnitudeOf(b)) + a.distanceTo(b));
}

} // namespace

Zcad::ErrorStatus ZcDbLine::setStartPoint(const ZcGePoint3d& p) {
    return setField(m_start, p);
}

Zcad::ErrorStatus ZcDbLine::setEndPoint(const ZcGePoint3d& p) {
    return setField(m_end, p);
}

Zcad::ErrorStatus ZcDbLine::setThickness(double t) {
    return setField(m_thickness, t);
}

Zcad::ErrorStatus ZcDbLine::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbLine::getStartParam(double& param) const {
    param = 0.0;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getEndParam(double& param) const {
    param = m_start.distanceTo(m_end);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getPointAtParam(double param, ZcGePoint3d& point) const {
    const double length = m_start.distanceTo(m_end);
    const double tol = lineTolerance(m_start, m_end);
    if (param < -tol || param > length + tol)
        return Zcad::eInvalidInput;
    point = length > 0.0 ? m_start + (m_end - m_start) * (std::clamp(param, 0.0, length) / length)
                         : m_start;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
    const double length = m_start.distanceTo(m_end);
    const double tol = lineTolerance(m_start, m_end);
    double t = 0.0;
    if (length > 0.0)
        t = (point - m_start).dotProduct(m_end - m_start) / length;
    if (t < -tol || t > length + tol)
        return Zcad::eInvalidInput;
    t = std::clamp(t, 0.0, length);
    ZcGePoint3d onLine;
    getPointAtParam(t, onLine);
    if (onLine.distanceTo(point) > tol)
        return Zcad::eInvalidInput;
    param = t;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getDistAtParam(double param, double& dist) const {
    const double length = m_start.distanceTo(m_end);
    const double tol = lineTolerance(m_start, m_end);
    if (param < -tol || param > length + tol)
        return Zcad::eInvalidInput;
    dist = std::clamp(param, 0.0, length);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getParamAtDist(double dist, double& param) const {
    return getDistAtParam(dist, param);
}

Zcad::ErrorStatus ZcDbLine::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    const double length = m_start.distanceTo(m_end);
    if (!(length > 0.0))
        return Zcad::eDegenerateGeometry;
    const double tol = lineTolerance(m_start, m_end);
    if (param < -tol || param > length + tol)
        return Zcad::eInvalidInput;
    deriv = (m_end - m_start) / length;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                              bool extend) const {
    const ZcGeVector3d d = m_end - m_start;
    const double lengthSq = d.lengthSqrd();
    if (!(lengthSq > 0.0)) {
        closest = m_start;
        return Zcad::eOk;
    }
    double u = (given - m_start).dotProduct(d) / lengthSq;
    if (!extend)
        u = std::clamp(u, 0.0, 1.0);
    closest = m_start + d * u;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents(m_start, m_end);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLine::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    m_start.transformBy(xform);
    m_end.transformBy(xform);
    m_thickness *= (xform * m_normal).length();
    m_normal = transformNormal(xform, m_normal);
    return Zcad::eOk;
}

void ZcDbLine::listFields(std::wstring& out) const {
    const ZcGeVector3d d = m_end - m_start;
    appendField(out, L"From point", formatPoint(m_start));
    appendField(out, L"To point", formatPoint(m_end));
    appendField(out, L"Length", formatNumber(d.length()));
    appendField(out, L"Angle in XY plane", formatAngle(normalizeAngle(std::atan2(d.y, d.x))));
    appendField(out, L"Delta", formatPoint(ZcGePoint3d::kOrigin + d));
    if (m_thickness != 0.0)
        appendField(out, L"Thickness", formatNumber(m_thickness));
}
