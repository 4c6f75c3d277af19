// Ellipses and elliptical arcs, parameterised by the eccentric angle:
// P(t) = center + cos(t) major + sin(t) minor, minor = ratio * (normal x major).
#include <algorithm>
#include <cmath>

#include "database_impl.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbEllipse, ZcDbCurve, L"ELLIPSE")

using namespace gantrel::db;

namespace {

struct ParamRange {
    double start, end;
    double sweep() const { return end - start; }
};

// The end parameter lies above the start by at most a full turn; equal ends are a full turn.
ParamRange rangeOf(double start, double end) {
    double sweep = end - start;
    if (sweep > kTwoPi + 1e-12 || sweep <= 1e-12)
        sweep = sweepAngle(start, end);
    return {start, start + std::min(sweep, kTwoPi)};
}

} // namespace

ZcGeVector3d ZcDbEllipse::minorAxis() const {
    return m_normal.normal().crossProduct(m_majorAxis) * m_ratio;
}

Zcad::ErrorStatus ZcDbEllipse::set(const ZcGePoint3d& center, const ZcGeVector3d& normal,
                                   const ZcGeVector3d& majorAxis, double radiusRatio,
                                   double startParam, double endParam) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (normal.isZeroLength() || majorAxis.isZeroLength() || !(radiusRatio > 0.0) ||
        radiusRatio > 1.0 + 1e-12)
        return Zcad::eInvalidInput;
    if (std::abs(normal.normal().dotProduct(majorAxis.normal())) > 1e-9)
        return Zcad::eInvalidInput; // the major axis must lie in the ellipse's plane
    m_center = center;
    m_normal = normal.normal();
    m_majorAxis = majorAxis;
    m_ratio = std::min(radiusRatio, 1.0);
    m_startParam = startParam;
    m_endParam = endParam;
    return Zcad::eOk;
}

bool ZcDbEllipse::isClosed() const {
    return rangeOf(m_startParam, m_endParam).sweep() >= kTwoPi - 1e-9;
}

Zcad::ErrorStatus ZcDbEllipse::getStartParam(double& param) const {
    param = m_startParam;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getEndParam(double& param) const {
    param = rangeOf(m_startParam, m_endParam).end;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getPointAtParam(double param, ZcGePoint3d& point) const {
    const ParamRange r = rangeOf(m_startParam, m_endParam);
    if (param < r.start - 1e-9 || param > r.end + 1e-9)
        return Zcad::eInvalidInput;
    point = m_center + m_majorAxis * std::cos(param) + minorAxis() * std::sin(param);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    const ParamRange r = rangeOf(m_startParam, m_endParam);
    if (param < r.start - 1e-9 || param > r.end + 1e-9)
        return Zcad::eInvalidInput;
    deriv = m_majorAxis * -std::sin(param) + minorAxis() * std::cos(param);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
    const ZcGeVector3d minor = minorAxis();
    const double aa = m_majorAxis.lengthSqrd(), bb = minor.lengthSqrd();
    if (!(aa > 0.0) || !(bb > 0.0))
        return Zcad::eDegenerateGeometry;
    const ZcGeVector3d v = point - m_center;
    const double t = std::atan2(v.dotProduct(minor) / bb, v.dotProduct(m_majorAxis) / aa);
    const double tol = pointTolerance(magnitudeOf(m_center) + std::sqrt(aa));
    const ZcGePoint3d onCurve = m_center + m_majorAxis * std::cos(t) + minor * std::sin(t);
    if (onCurve.distanceTo(point) > tol)
        return Zcad::eInvalidInput;
    const ParamRange r = rangeOf(m_startParam, m_endParam);
    const double angleTol = tol / std::sqrt(bb);
    double offset = normalizeAngle(t - r.start);
    if (offset > r.sweep() + angleTol && kTwoPi - offset <= angleTol)
        offset = 0.0;
    if (offset > r.sweep() + angleTol)
        return Zcad::eInvalidInput;
    param = r.start + std::min(offset, r.sweep());
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                                 bool extend) const {
    double t = 0.0;
    if (!extend || isClosed())
        return closestParam(given, false, t, closest);
    const ZcDbEllipse full(m_center, m_normal, m_majorAxis, m_ratio, 0.0, kTwoPi);
    return full.closestParam(given, false, t, closest);
}

Zcad::ErrorStatus ZcDbEllipse::getArea(double& area) const {
    // An affine image of a circular segment: (a b / 2)(sweep - sin sweep), pi a b when closed.
    const double ab = m_majorAxis.length() * minorAxis().length();
    const double sweep = rangeOf(m_startParam, m_endParam).sweep();
    area = isClosed() ? kPi * ab : 0.5 * ab * (sweep - std::sin(sweep));
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::getGeomExtents(ZcDbExtents& extents) const {
    const ParamRange r = rangeOf(m_startParam, m_endParam);
    extents = ZcDbExtents();
    addArcExtents(extents, m_center, m_majorAxis, minorAxis(), r.start, r.sweep());
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbEllipse::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // The images of the semi-axes are conjugate semi-diameters of the image ellipse; its
    // principal axes sit at the parameter t0 where |P(t) - center| is largest.
    const ZcGeVector3d a = xform * m_majorAxis, b = xform * minorAxis();
    const double t0 = 0.5 * std::atan2(2.0 * a.dotProduct(b), a.lengthSqrd() - b.lengthSqrd());
    const ZcGeVector3d major = a * std::cos(t0) + b * std::sin(t0);
    ZcGeVector3d minor = a * -std::sin(t0) + b * std::cos(t0);
    if (major.isZeroLength() || minor.isZeroLength())
        return Zcad::eNotApplicable;
    const ZcGeVector3d normal = transformNormal(xform, m_normal);
    const ParamRange r = rangeOf(m_startParam, m_endParam);
    const bool closed = isClosed();
    double start = r.start - t0, end = r.end - t0;
    // Keep the normal on the side the transform takes it to; a mirrored ellipse then runs the
    // other way round, so its parameters reverse.
    if (major.crossProduct(minor).dotProduct(normal) < 0.0) {
        minor = -minor;
        start = t0 - r.end;
        end = t0 - r.start;
    }
    m_center.transformBy(xform);
    m_normal = normal;
    m_majorAxis = major;
    m_ratio = std::min(1.0, minor.length() / major.length());
    if (closed) {
        m_startParam = 0.0;
        m_endParam = kTwoPi;
    } else {
        m_startParam = normalizeAngle(start);
        m_endParam = m_startParam + (end - start);
    }
    return Zcad::eOk;
}

void ZcDbEllipse::listFields(std::wstring& out) const {
    appendField(out, L"Center", formatPoint(m_center));
    appendField(out, L"Major axis", formatPoint(ZcGePoint3d::kOrigin + m_majorAxis));
    appendField(out, L"Minor axis", formatPoint(ZcGePoint3d::kOrigin + minorAxis()));
    appendField(out, L"Radius ratio", formatNumber(m_ratio));
    if (!isClosed()) {
        appendField(out, L"Start angle", formatAngle(m_startParam));
        appendField(out, L"End angle", formatAngle(rangeOf(m_startParam, m_endParam).end));
    }
}
