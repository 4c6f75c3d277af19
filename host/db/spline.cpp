// NURBS splines: evaluation over the knot range [knot[degree], knot[numControlPoints]];
// splines given by fit points are the interpolating cubic through them.
#include <algorithm>
#include <cmath>

#include "database_impl.h"
#include "geom_util.h"
#include "nurbs.h"

ZCRX_DEFINE_MEMBERS(ZcDbSpline, ZcDbCurve, L"SPLINE")

using namespace gantrel::db;

namespace {

nurbs::View viewOf(int degree, const ZcGePoint3dArray& points, const ZcGeDoubleArray& knots,
                   const ZcGeDoubleArray& weights) {
    return {degree,          points.asArrayPtr(),
            points.length(), knots.asArrayPtr(),
            knots.length(),  weights.isEmpty() ? nullptr : weights.asArrayPtr()};
}

ZcGePoint3dArray toArray(const std::vector<ZcGePoint3d>& v) {
    ZcGePoint3dArray out;
    for (const ZcGePoint3d& p : v)
        out.append(p);
    return out;
}

// The normal of the best plane through the points (Newell's method over the polygon they
// form), or the zero vector when they are collinear.
ZcGeVector3d planeNormal(const ZcGePoint3dArray& pts, bool& collinear) {
    collinear = true;
    ZcGeVector3d normal;
    if (pts.isEmpty())
        return normal;
    const ZcGePoint3d& o = pts[0];
    double size = 0.0;
    for (int i = 1; i < pts.length(); ++i) {
        size = std::max(size, pts[i].distanceTo(o));
        if (i + 1 < pts.length())
            normal += (pts[i] - o).crossProduct(pts[i + 1] - o);
    }
    if (normal.length() > 1e-12 * std::max(1.0, size * size))
        collinear = false;
    // Collinear points may still bend: check the distances from the first chord.
    if (collinear && pts.length() > 2) {
        const ZcGeVector3d dir = (pts.last() - o).normal();
        for (const ZcGePoint3d& p : pts) {
            const ZcGeVector3d v = p - o;
            if ((v - dir * v.dotProduct(dir)).length() > 1e-9 * std::max(1.0, size))
                collinear = false;
        }
    }
    return normal;
}

} // namespace

ZcDbSpline::ZcDbSpline(int degree, const ZcGePoint3dArray& controlPoints,
                       const ZcGeDoubleArray& knots, const ZcGeDoubleArray& weights, bool periodic)
    : m_degree(degree), m_periodic(periodic), m_controlPoints(controlPoints), m_knots(knots),
      m_weights(weights) {
    if (m_knots.isEmpty() && degree >= 1)
        for (double k : nurbs::clampedUniformKnots(degree, controlPoints.length()))
            m_knots.append(k);
}

ZcDbSpline::ZcDbSpline(const ZcGePoint3dArray& fitPoints, int degree, double fitTolerance) {
    // A set of fit points that cannot be interpolated leaves an empty spline, which answers
    // eDegenerateGeometry to every geometric question.
    setFitData(fitPoints, degree, fitTolerance, ZcGeVector3d(), ZcGeVector3d());
}

Zcad::ErrorStatus ZcDbSpline::getNurbsData(int& degree, bool& rational, bool& closed,
                                           bool& periodic, ZcGePoint3dArray& controlPoints,
                                           ZcGeDoubleArray& knots, ZcGeDoubleArray& weights,
                                           double& controlPtTol, double& knotTol) const {
    degree = m_degree;
    rational = isRational();
    closed = isClosed();
    periodic = m_periodic;
    controlPoints = m_controlPoints;
    knots = m_knots;
    weights = m_weights;
    controlPtTol = m_controlPtTol;
    knotTol = m_knotTol;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                           const ZcGePoint3dArray& controlPoints,
                                           const ZcGeDoubleArray& knots,
                                           const ZcGeDoubleArray& weights, double controlPtTol,
                                           double knotTol) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (rational && weights.length() != controlPoints.length())
        return Zcad::eInvalidInput;
    const ZcGeDoubleArray usedWeights = rational ? weights : ZcGeDoubleArray();
    if (!viewOf(degree, controlPoints, knots, usedWeights).isValid())
        return Zcad::eInvalidInput;
    m_degree = degree;
    m_closed = closed;
    m_periodic = periodic;
    m_controlPoints = controlPoints;
    m_knots = knots;
    m_weights = usedWeights;
    m_controlPtTol = controlPtTol;
    m_knotTol = knotTol;
    m_fitPoints.removeAll();
    m_startTangent = m_endTangent = ZcGeVector3d();
    m_fitTolerance = 0.0;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getFitData(ZcGePoint3dArray& fitPoints, int& degree,
                                         double& fitTolerance, bool& tangentsExist,
                                         ZcGeVector3d& startTangent,
                                         ZcGeVector3d& endTangent) const {
    if (m_fitPoints.isEmpty())
        return Zcad::eNotApplicable;
    fitPoints = m_fitPoints;
    degree = m_degree;
    fitTolerance = m_fitTolerance;
    tangentsExist = !m_startTangent.isZeroLength() || !m_endTangent.isZeroLength();
    startTangent = m_startTangent;
    endTangent = m_endTangent;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setFitData(const ZcGePoint3dArray& fitPoints, int degree,
                                         double fitTolerance, const ZcGeVector3d& startTangent,
                                         const ZcGeVector3d& endTangent) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (degree < 1 || !(fitTolerance >= 0.0))
        return Zcad::eInvalidInput;
    std::vector<ZcGePoint3d> fit(fitPoints.begin(), fitPoints.end());
    std::vector<ZcGePoint3d> ctrl;
    std::vector<double> knots;
    // Interpolation always yields a cubic: the curve passes through every fit point.
    if (!nurbs::interpolateCubic(fit, startTangent, endTangent, ctrl, knots))
        return Zcad::eInvalidInput;
    m_degree = 3;
    m_controlPoints = toArray(ctrl);
    m_knots.removeAll();
    for (double k : knots)
        m_knots.append(k);
    m_weights.removeAll();
    m_fitPoints = fitPoints;
    m_startTangent = startTangent;
    m_endTangent = endTangent;
    m_fitTolerance = fitTolerance;
    m_periodic = false;
    m_closed = fitPoints.length() > 2 && fitPoints.first().isEqualTo(fitPoints.last());
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

std::int16_t ZcDbSpline::splineFlags() const {
    std::int16_t flags = 0;
    if (isClosed())
        flags |= 1;
    if (m_periodic)
        flags |= 2;
    if (isRational())
        flags |= 4;
    bool collinear = true;
    const ZcGeVector3d normal = planeNormal(m_controlPoints, collinear);
    bool planar = true;
    if (!collinear) {
        const ZcGeVector3d n = normal.normal();
        double size = 0.0;
        for (const ZcGePoint3d& p : m_controlPoints)
            size = std::max(size, p.distanceTo(m_controlPoints[0]));
        for (const ZcGePoint3d& p : m_controlPoints)
            if (std::abs((p - m_controlPoints[0]).dotProduct(n)) > 1e-9 * std::max(1.0, size))
                planar = false;
    }
    if (planar)
        flags |= 8;
    if (collinear)
        flags |= 16;
    return flags;
}

bool ZcDbSpline::isClosed() const {
    if (m_closed)
        return true;
    const nurbs::View v = viewOf(m_degree, m_controlPoints, m_knots, m_weights);
    if (!v.isValid())
        return false;
    const ZcGePoint3d a = nurbs::evaluate(v, v.startParam());
    const ZcGePoint3d b = nurbs::evaluate(v, v.endParam());
    return a.distanceTo(b) <= pointTolerance(magnitudeOf(a));
}

Zcad::ErrorStatus ZcDbSpline::getStartParam(double& param) const {
    const nurbs::View v = viewOf(m_degree, m_controlPoints, m_knots, m_weights);
    if (!v.isValid())
        return Zcad::eDegenerateGeometry;
    param = v.startParam();
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getEndParam(double& param) const {
    const nurbs::View v = viewOf(m_degree, m_controlPoints, m_knots, m_weights);
    if (!v.isValid())
        return Zcad::eDegenerateGeometry;
    param = v.endParam();
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getPointAtParam(double param, ZcGePoint3d& point) const {
    const nurbs::View v = viewOf(m_degree, m_controlPoints, m_knots, m_weights);
    if (!v.isValid())
        return Zcad::eDegenerateGeometry;
    const double tol = 1e-9 * std::max({1.0, std::abs(v.startParam()), std::abs(v.endParam())});
    if (param < v.startParam() - tol || param > v.endParam() + tol)
        return Zcad::eInvalidInput;
    point = nurbs::evaluate(v, param);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    const nurbs::View v = viewOf(m_degree, m_controlPoints, m_knots, m_weights);
    if (!v.isValid())
        return Zcad::eDegenerateGeometry;
    const double tol = 1e-9 * std::max({1.0, std::abs(v.startParam()), std::abs(v.endParam())});
    if (param < v.startParam() - tol || param > v.endParam() + tol)
        return Zcad::eInvalidInput;
    nurbs::evaluate(v, param, &deriv);
    return Zcad::eOk;
}

std::vector<double> ZcDbSpline::sampleParams() const {
    const nurbs::View v = viewOf(m_degree, m_controlPoints, m_knots, m_weights);
    if (!v.isValid())
        return {};
    const std::vector<double> breaks = nurbs::breakpoints(v);
    constexpr int kPerSpan = 8;
    std::vector<double> out;
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i)
        for (int k = 0; k < kPerSpan; ++k)
            out.push_back(breaks[i] + (breaks[i + 1] - breaks[i]) * k / kPerSpan);
    out.push_back(breaks.back());
    return out;
}

Zcad::ErrorStatus ZcDbSpline::getArea(double& area) const {
    return ZcDbCurve::getArea(area);
}

Zcad::ErrorStatus ZcDbSpline::getGeomExtents(ZcDbExtents& extents) const {
    const nurbs::View v = viewOf(m_degree, m_controlPoints, m_knots, m_weights);
    extents = ZcDbExtents();
    if (!v.isValid())
        return Zcad::eInvalidExtents;
    // Samples bracket every extreme of a coordinate by a sign change of its derivative, which
    // bisection then pins down.
    std::vector<double> ts = sampleParams();
    std::vector<ZcGeVector3d> ds(ts.size());
    for (std::size_t i = 0; i < ts.size(); ++i)
        extents.addPoint(nurbs::evaluate(v, ts[i], &ds[i]));
    auto component = [](const ZcGeVector3d& d, int k) { return k == 0 ? d.x : k == 1 ? d.y : d.z; };
    for (std::size_t i = 0; i + 1 < ts.size(); ++i)
        for (int k = 0; k < 3; ++k) {
            double lo = ts[i], hi = ts[i + 1];
            double flo = component(ds[i], k);
            if (flo * component(ds[i + 1], k) >= 0.0)
                continue;
            for (int iter = 0; iter < 60; ++iter) {
                const double mid = 0.5 * (lo + hi);
                ZcGeVector3d d;
                nurbs::evaluate(v, mid, &d);
                if ((component(d, k) < 0.0) == (flo < 0.0)) {
                    lo = mid;
                    flo = component(d, k);
                } else {
                    hi = mid;
                }
            }
            extents.addPoint(nurbs::evaluate(v, 0.5 * (lo + hi)));
        }
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSpline::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // NURBS are affinely invariant: moving the control points moves the curve.
    for (ZcGePoint3d& p : m_controlPoints)
        p.transformBy(xform);
    for (ZcGePoint3d& p : m_fitPoints)
        p.transformBy(xform);
    m_startTangent.transformBy(xform);
    m_endTangent.transformBy(xform);
    m_normal = transformNormal(xform, m_normal);
    return Zcad::eOk;
}

void ZcDbSpline::listFields(std::wstring& out) const {
    appendField(out, L"Degree", std::to_wstring(m_degree));
    appendField(out, L"Closed", isClosed() ? L"Yes" : L"No");
    appendField(out, L"Rational", isRational() ? L"Yes" : L"No");
    appendField(out, L"Control points", std::to_wstring(m_controlPoints.length()));
    if (!m_fitPoints.isEmpty())
        appendField(out, L"Fit points", std::to_wstring(m_fitPoints.length()));
    ZcGePoint3d p;
    if (getStartPoint(p) == Zcad::eOk)
        appendField(out, L"Start point", formatPoint(p));
    if (getEndPoint(p) == Zcad::eOk)
        appendField(out, L"End point", formatPoint(p));
    double end = 0.0, length = 0.0;
    if (getEndParam(end) == Zcad::eOk && getDistAtParam(end, length) == Zcad::eOk)
        appendField(out, L"Length", formatNumber(length));
}
