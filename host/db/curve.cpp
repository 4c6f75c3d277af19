// The generic curve answers, by numeric methods over getPointAtParam and getFirstDeriv: they
// serve curves without closed forms (splines, ellipses, leaders) and are overridden where exact
// answers exist. Pieces between sample parameters are assumed smooth and free of loops.
#include <algorithm>
#include <cmath>
#include <limits>

#include "database_impl.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbCurve, ZcDbEntity, nullptr)

using namespace gantrel::db;

namespace {

// Gauss-Legendre nodes and weights of order 5 on [-1, 1].
constexpr double kGaussX[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                               0.9061798459386640};
constexpr double kGaussW[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665,
                               0.2369268850561891, 0.2369268850561891};

double rangeTolerance(double start, double end) {
    return 1e-9 * std::max({1.0, std::abs(start), std::abs(end)});
}

struct CurveMath {
    const ZcDbCurve& curve;

    double speed(double t) const {
        ZcGeVector3d d;
        return curve.getFirstDeriv(t, d) == Zcad::eOk ? d.length() : 0.0;
    }
    double gauss(double a, double b) const {
        const double half = 0.5 * (b - a), mid = 0.5 * (a + b);
        double sum = 0.0;
        for (int i = 0; i < 5; ++i)
            sum += kGaussW[i] * speed(mid + half * kGaussX[i]);
        return sum * half;
    }
    // Adaptive: halves until the halves agree with the whole.
    double length(double a, double b, double whole, int depth = 0) const {
        const double m = 0.5 * (a + b);
        const double left = gauss(a, m), right = gauss(m, b);
        if (depth >= 18 || std::abs(left + right - whole) <= 1e-13 * std::max(1.0, whole))
            return left + right;
        return length(a, m, left, depth + 1) + length(m, b, right, depth + 1);
    }
    double length(double a, double b) const { return a == b ? 0.0 : length(a, b, gauss(a, b)); }

    double distSq(double t, const ZcGePoint3d& p) const {
        ZcGePoint3d q;
        curve.getPointAtParam(t, q);
        return (q - p).lengthSqrd();
    }
    // (C(t) - P) . C'(t): zero at a local closest point.
    double slope(double t, const ZcGePoint3d& p) const {
        ZcGePoint3d q;
        ZcGeVector3d d;
        curve.getPointAtParam(t, q);
        curve.getFirstDeriv(t, d);
        return (q - p).dotProduct(d);
    }
    // The local minimum of the distance inside [a, b]: golden section to a narrow bracket,
    // then Newton on the slope for full precision.
    double refine(double a, double b, const ZcGePoint3d& p) const {
        constexpr double kRatio = 0.6180339887498949;
        double x1 = b - kRatio * (b - a), x2 = a + kRatio * (b - a);
        double f1 = distSq(x1, p), f2 = distSq(x2, p);
        for (int i = 0; i < 40 && b - a > 1e-14 * std::max(1.0, std::abs(a)); ++i) {
            if (f1 < f2) {
                b = x2;
                x2 = x1;
                f2 = f1;
                x1 = b - kRatio * (b - a);
                f1 = distSq(x1, p);
            } else {
                a = x1;
                x1 = x2;
                f1 = f2;
                x2 = a + kRatio * (b - a);
                f2 = distSq(x2, p);
            }
        }
        double t = 0.5 * (a + b);
        double best = distSq(t, p);
        const double lo = a - (b - a), hi = b + (b - a);
        for (int i = 0; i < 8; ++i) {
            const double h = 1e-7 * std::max(1e-3, hi - lo);
            const double g = slope(t, p);
            const double dg = (slope(t + h, p) - slope(t - h, p)) / (2 * h);
            if (!(dg > 0.0))
                break;
            const double next = std::clamp(t - g / dg, lo, hi);
            const double value = distSq(next, p);
            if (!(value <= best))
                break;
            best = value;
            t = next;
        }
        return t;
    }
};

} // namespace

std::vector<double> ZcDbCurve::sampleParams() const {
    double s = 0.0, e = 0.0;
    if (getStartParam(s) != Zcad::eOk || getEndParam(e) != Zcad::eOk || !(e >= s))
        return {};
    constexpr int kPieces = 128;
    std::vector<double> params(kPieces + 1);
    for (int i = 0; i <= kPieces; ++i)
        params[i] = s + (e - s) * i / kPieces;
    params.back() = e;
    return params;
}

Zcad::ErrorStatus ZcDbCurve::getStartPoint(ZcGePoint3d& point) const {
    double t = 0.0;
    if (auto es = getStartParam(t); es != Zcad::eOk)
        return es;
    return getPointAtParam(t, point);
}

Zcad::ErrorStatus ZcDbCurve::getEndPoint(ZcGePoint3d& point) const {
    double t = 0.0;
    if (auto es = getEndParam(t); es != Zcad::eOk)
        return es;
    return getPointAtParam(t, point);
}

Zcad::ErrorStatus ZcDbCurve::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    double s = 0.0, e = 0.0;
    if (getStartParam(s) != Zcad::eOk || getEndParam(e) != Zcad::eOk)
        return Zcad::eDegenerateGeometry;
    const double tol = rangeTolerance(s, e);
    if (param < s - tol || param > e + tol)
        return Zcad::eInvalidInput;
    // Central difference, one-sided at the ends.
    const double h = 1e-6 * std::max(e - s, 1e-9);
    const double t0 = std::max(s, param - h), t1 = std::min(e, param + h);
    if (!(t1 > t0))
        return Zcad::eDegenerateGeometry;
    ZcGePoint3d p0, p1;
    if (auto es = getPointAtParam(t0, p0); es != Zcad::eOk)
        return es;
    if (auto es = getPointAtParam(t1, p1); es != Zcad::eOk)
        return es;
    deriv = (p1 - p0) / (t1 - t0);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getDistAtParam(double param, double& dist) const {
    double s = 0.0, e = 0.0;
    if (getStartParam(s) != Zcad::eOk || getEndParam(e) != Zcad::eOk)
        return Zcad::eDegenerateGeometry;
    const double tol = rangeTolerance(s, e);
    if (param < s - tol || param > e + tol)
        return Zcad::eInvalidInput;
    param = std::clamp(param, s, e);
    const std::vector<double> samples = sampleParams();
    const CurveMath math{*this};
    dist = 0.0;
    for (std::size_t i = 0; i + 1 < samples.size() && samples[i] < param; ++i)
        dist += math.length(samples[i], std::min(samples[i + 1], param));
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getParamAtDist(double dist, double& param) const {
    const std::vector<double> samples = sampleParams();
    if (samples.size() < 2)
        return Zcad::eDegenerateGeometry;
    const CurveMath math{*this};
    std::vector<double> pieces(samples.size() - 1);
    double total = 0.0;
    for (std::size_t i = 0; i < pieces.size(); ++i)
        total += pieces[i] = math.length(samples[i], samples[i + 1]);
    const double tol = pointTolerance(total);
    if (dist < -tol || dist > total + tol)
        return Zcad::eInvalidInput;
    std::size_t i = 0;
    for (; i + 1 < pieces.size() && dist > pieces[i]; ++i)
        dist -= pieces[i];
    // Newton on the length of the piece up to t, kept inside the piece by bisection.
    double lo = samples[i], hi = samples[i + 1];
    double t = pieces[i] > 0.0 ? lo + (hi - lo) * std::clamp(dist / pieces[i], 0.0, 1.0) : lo;
    for (int iter = 0; iter < 60; ++iter) {
        const double f = math.length(samples[i], t) - dist;
        if (std::abs(f) <= 1e-13 * std::max(1.0, total))
            break;
        (f > 0 ? hi : lo) = t;
        const double v = math.speed(t);
        double next = v > 0.0 ? t - f / v : 0.5 * (lo + hi);
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        t = next;
    }
    param = t;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::closestParam(const ZcGePoint3d& given, bool extend, double& param,
                                          ZcGePoint3d& point) const {
    const std::vector<double> samples = sampleParams();
    if (samples.size() < 2)
        return Zcad::eDegenerateGeometry;
    // Coarse search over the sample pieces, each cut in four.
    constexpr int kCuts = 4;
    std::vector<double> ts;
    for (std::size_t i = 0; i + 1 < samples.size(); ++i)
        for (int k = 0; k < kCuts; ++k)
            ts.push_back(samples[i] + (samples[i + 1] - samples[i]) * k / kCuts);
    ts.push_back(samples.back());
    const CurveMath math{*this};
    std::vector<double> d(ts.size());
    for (std::size_t i = 0; i < ts.size(); ++i)
        d[i] = math.distSq(ts[i], given);
    // Refine the few best local minima of the coarse distances: the global one may sit next to
    // a sample that was not the nearest.
    std::vector<std::size_t> minima;
    for (std::size_t i = 0; i < ts.size(); ++i)
        if ((i == 0 || d[i] <= d[i - 1]) && (i + 1 == ts.size() || d[i] <= d[i + 1]))
            minima.push_back(i);
    std::sort(minima.begin(), minima.end(), [&](auto a, auto b) { return d[a] < d[b]; });
    minima.resize(std::min<std::size_t>(minima.size(), 4));
    double bestT = ts[minima.front()], best = d[minima.front()];
    for (std::size_t i : minima) {
        const double a = ts[i == 0 ? 0 : i - 1], b = ts[std::min(i + 1, ts.size() - 1)];
        const double t = std::clamp(math.refine(a, b, given), ts.front(), ts.back());
        const double value = math.distSq(t, given);
        if (value < best) {
            best = value;
            bestT = t;
        }
    }
    param = bestT;
    if (auto es = getPointAtParam(param, point); es != Zcad::eOk)
        return es;
    if (!extend || isClosed())
        return Zcad::eOk;
    // Extension along the end tangents.
    for (int end = 0; end < 2; ++end) {
        const double t = end == 0 ? ts.front() : ts.back();
        ZcGePoint3d base;
        ZcGeVector3d tangent;
        if (getPointAtParam(t, base) != Zcad::eOk || getFirstDeriv(t, tangent) != Zcad::eOk ||
            tangent.isZeroLength())
            continue;
        const double speed = tangent.length();
        const ZcGeVector3d dir = (end == 0 ? -tangent : tangent) / speed;
        const double along = (given - base).dotProduct(dir);
        if (along <= 0.0)
            continue;
        const ZcGePoint3d candidate = base + dir * along;
        if ((candidate - given).lengthSqrd() < (point - given).lengthSqrd()) {
            point = candidate;
            param = end == 0 ? t - along / speed : t + along / speed;
        }
    }
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                               bool extend) const {
    double t = 0.0;
    return closestParam(given, extend, t, closest);
}

Zcad::ErrorStatus ZcDbCurve::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
    ZcGePoint3d closest;
    double t = 0.0;
    if (auto es = closestParam(point, false, t, closest); es != Zcad::eOk)
        return es;
    ZcDbExtents ext;
    double size = magnitudeOf(point);
    if (getGeomExtents(ext) == Zcad::eOk)
        size = std::max(size, ext.minPoint().distanceTo(ext.maxPoint()));
    if (closest.distanceTo(point) > pointTolerance(size))
        return Zcad::eInvalidInput;
    param = t;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbCurve::getDistAtPoint(const ZcGePoint3d& point, double& dist) const {
    double t = 0.0;
    if (auto es = getParamAtPoint(point, t); es != Zcad::eOk)
        return es;
    return getDistAtParam(t, dist);
}

Zcad::ErrorStatus ZcDbCurve::getArea(double& area) const {
    // The curve closed by the chord from its end to its start. Green's theorem in vector form:
    // half the integral of (C - C0) x C' is the area vector of the closed curve, whatever plane
    // it lies in; Gauss-Legendre on each sample piece makes it exact to rounding for smooth
    // pieces.
    const std::vector<double> samples = sampleParams();
    if (samples.size() < 2)
        return Zcad::eDegenerateGeometry;
    ZcGePoint3d origin;
    if (getPointAtParam(samples.front(), origin) != Zcad::eOk)
        return Zcad::eDegenerateGeometry;
    ZcGeVector3d sum;
    constexpr int kCuts = 4;
    for (std::size_t i = 0; i + 1 < samples.size(); ++i)
        for (int k = 0; k < kCuts; ++k) {
            const double a = samples[i] + (samples[i + 1] - samples[i]) * k / kCuts;
            const double b = samples[i] + (samples[i + 1] - samples[i]) * (k + 1) / kCuts;
            const double half = 0.5 * (b - a), mid = 0.5 * (a + b);
            for (int g = 0; g < 5; ++g) {
                const double t = mid + half * kGaussX[g];
                ZcGePoint3d p;
                ZcGeVector3d d;
                if (getPointAtParam(t, p) != Zcad::eOk || getFirstDeriv(t, d) != Zcad::eOk)
                    return Zcad::eDegenerateGeometry;
                sum += (p - origin).crossProduct(d) * (kGaussW[g] * half);
            }
        }
    // The closing chord from the end back to the start adds nothing: relative to the start it
    // runs along itself.
    area = 0.5 * sum.length();
    return Zcad::eOk;
}
