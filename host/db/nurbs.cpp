// B-spline basis functions and derivatives after the standard algorithms (span search, the
// triangular basis recurrence), evaluated in homogeneous coordinates for rational curves.
#include "nurbs.h"

#include <algorithm>
#include <cmath>

namespace gantrel::db::nurbs {

namespace {

constexpr int kMaxDegree = 32;

// The span index s with knots[s] <= t < knots[s+1], inside [degree, n-1].
int findSpan(const View& c, double t) {
    const int n = c.numControlPoints;
    if (t >= c.knots[n])
        return n - 1;
    if (t <= c.knots[c.degree])
        return c.degree;
    int lo = c.degree, hi = n;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (t < c.knots[mid])
            hi = mid;
        else
            lo = mid;
    }
    return lo;
}

// The non-zero basis functions N[s-p..s] at t (ders[0]) and their first derivatives (ders[1]).
void basisWithDerivatives(const View& c, int span, double t, double ders[2][kMaxDegree + 1]) {
    const int p = c.degree;
    double ndu[kMaxDegree + 1][kMaxDegree + 1];
    double left[kMaxDegree + 1], right[kMaxDegree + 1];
    ndu[0][0] = 1.0;
    for (int j = 1; j <= p; ++j) {
        left[j] = t - c.knots[span + 1 - j];
        right[j] = c.knots[span + j] - t;
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            ndu[j][r] = right[r + 1] + left[j - r]; // lower triangle: knot differences
            const double temp = ndu[j][r] != 0.0 ? ndu[r][j - 1] / ndu[j][r] : 0.0;
            ndu[r][j] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        ndu[j][j] = saved;
    }
    for (int j = 0; j <= p; ++j)
        ders[0][j] = ndu[j][p];
    // First derivative: p * (N[r, p-1] / (u[r+p] - u[r]) - N[r+1, p-1] / (u[r+p+1] - u[r+1])).
    for (int r = 0; r <= p; ++r) {
        double d = 0.0;
        if (r >= 1 && ndu[p][r - 1] != 0.0)
            d += ndu[r - 1][p - 1] / ndu[p][r - 1];
        if (r <= p - 1 && ndu[p][r] != 0.0)
            d -= ndu[r][p - 1] / ndu[p][r];
        ders[1][r] = p * d;
    }
}

} // namespace

bool View::isValid() const {
    if (degree < 1 || degree > kMaxDegree || !controlPoints || !knots)
        return false;
    if (numControlPoints < degree + 1 || numKnots != numControlPoints + degree + 1)
        return false;
    for (int i = 1; i < numKnots; ++i)
        if (!(knots[i] >= knots[i - 1]))
            return false;
    if (!(endParam() > startParam()))
        return false;
    if (weights)
        for (int i = 0; i < numControlPoints; ++i)
            if (!(weights[i] > 0.0))
                return false;
    return true;
}

ZcGePoint3d evaluate(const View& c, double t, ZcGeVector3d* deriv) {
    t = std::clamp(t, c.startParam(), c.endParam());
    const int span = findSpan(c, t);
    double ders[2][kMaxDegree + 1];
    basisWithDerivatives(c, span, t, ders);
    ZcGeVector3d a, da;
    double w = 0.0, dw = 0.0;
    for (int j = 0; j <= c.degree; ++j) {
        const int i = span - c.degree + j;
        const double wi = c.weights ? c.weights[i] : 1.0;
        const ZcGeVector3d p = c.controlPoints[i].asVector() * wi;
        a += p * ders[0][j];
        da += p * ders[1][j];
        w += wi * ders[0][j];
        dw += wi * ders[1][j];
    }
    const ZcGeVector3d point = a / w;
    if (deriv)
        *deriv = (da - point * dw) / w;
    return ZcGePoint3d::kOrigin + point;
}

std::vector<double> breakpoints(const View& c) {
    std::vector<double> out;
    const double lo = c.startParam(), hi = c.endParam();
    out.push_back(lo);
    for (int i = c.degree + 1; i < c.numControlPoints; ++i)
        if (c.knots[i] > out.back() && c.knots[i] < hi)
            out.push_back(c.knots[i]);
    out.push_back(hi);
    return out;
}

std::vector<double> clampedUniformKnots(int degree, int numControlPoints) {
    std::vector<double> knots;
    const int spans = std::max(1, numControlPoints - degree);
    for (int i = 0; i <= degree; ++i)
        knots.push_back(0.0);
    for (int i = 1; i < spans; ++i)
        knots.push_back(static_cast<double>(i) / spans);
    for (int i = 0; i <= degree; ++i)
        knots.push_back(1.0);
    return knots;
}

bool interpolateCubic(const std::vector<ZcGePoint3d>& fitPoints, const ZcGeVector3d& startTangent,
                      const ZcGeVector3d& endTangent, std::vector<ZcGePoint3d>& controlPoints,
                      std::vector<double>& knots) {
    std::vector<ZcGePoint3d> q;
    for (const ZcGePoint3d& p : fitPoints)
        if (q.empty() || p.distanceTo(q.back()) > 1e-12 * std::max(1.0, p.asVector().length()))
            q.push_back(p);
    if (q.size() < 2)
        return false;
    const int n = static_cast<int>(q.size()) - 1;
    std::vector<double> u(n + 1, 0.0), h(n + 1, 0.0);
    for (int k = 1; k <= n; ++k) {
        h[k] = q[k].distanceTo(q[k - 1]);
        u[k] = u[k - 1] + h[k];
    }
    auto slope = [&](int k) { return (q[k] - q[k - 1]) / h[k]; }; // chord k, unit length
    ZcGeVector3d d0, dn;
    const bool closed = n >= 3 && q[0].distanceTo(q[n]) <= 1e-9 * std::max(1.0, u[n]);
    if (n == 1) {
        d0 = dn = slope(1);
    } else if (closed) {
        d0 = dn = (slope(n) * h[1] + slope(1) * h[n]) / (h[1] + h[n]);
    } else {
        d0 = slope(1) - (slope(2) - slope(1)) * (h[1] / (h[1] + h[2]));
        dn = slope(n) + (slope(n) - slope(n - 1)) * (h[n] / (h[n - 1] + h[n]));
    }
    // The parameter is close to arc length, so unit tangents give the natural speed.
    d0 = startTangent.isZeroLength() ? d0.normal() : startTangent.normal();
    dn = endTangent.isZeroLength() ? dn.normal() : endTangent.normal();

    knots.assign(4, 0.0);
    for (int k = 1; k < n; ++k)
        knots.push_back(u[k]);
    knots.insert(knots.end(), 4, u[n]);
    controlPoints.assign(n + 3, ZcGePoint3d());
    controlPoints[0] = q[0];
    controlPoints[1] = q[0] + d0 * (h[1] / 3.0);
    controlPoints[n + 1] = q[n] - dn * (h[n] / 3.0);
    controlPoints[n + 2] = q[n];
    if (n < 2)
        return true;

    // Interior conditions C(u_k) = Q_k: a_k P_k + b_k P_{k+1} + c_k P_{k+2} = Q_k, a tridiagonal
    // system in P_2..P_n solved by elimination without pivoting (chord-length parameters keep
    // it diagonally dominant).
    View view{3,      controlPoints.data(), n + 3, knots.data(), static_cast<int>(knots.size()),
              nullptr};
    std::vector<double> a(n), b(n), c(n);
    std::vector<ZcGeVector3d> r(n);
    for (int k = 1; k < n; ++k) {
        double ders[2][kMaxDegree + 1];
        basisWithDerivatives(view, 3 + k, u[k], ders);
        a[k] = ders[0][0];
        b[k] = ders[0][1];
        c[k] = ders[0][2];
        r[k] = q[k].asVector();
    }
    r[1] -= controlPoints[1].asVector() * a[1];
    r[n - 1] -= controlPoints[n + 1].asVector() * c[n - 1];
    for (int k = 2; k < n; ++k) {
        const double m = a[k] / b[k - 1];
        b[k] -= m * c[k - 1];
        r[k] -= r[k - 1] * m;
    }
    std::vector<ZcGeVector3d> x(n);
    x[n - 1] = r[n - 1] / b[n - 1];
    for (int k = n - 2; k >= 1; --k)
        x[k] = (r[k] - x[k + 1] * c[k]) / b[k];
    for (int k = 1; k < n; ++k)
        controlPoints[k + 1] = ZcGePoint3d::kOrigin + x[k];
    return true;
}

} // namespace gantrel::db::nurbs
