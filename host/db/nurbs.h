// NURBS evaluation and cubic interpolation, on plain arrays, for splines and spline edges.
#pragma once

#include <vector>

#include "zcge.h"

namespace gantrel::db::nurbs {

// A view of one NURBS curve. weights is null for a non-rational curve.
struct View {
    int degree = 3;
    const ZcGePoint3d* controlPoints = nullptr;
    int numControlPoints = 0;
    const double* knots = nullptr;
    int numKnots = 0;
    const double* weights = nullptr;

    // Degree at least 1, enough control points, numKnots = numControlPoints + degree + 1,
    // knots non-decreasing with a non-empty range, weights positive.
    bool isValid() const;
    double startParam() const { return knots[degree]; }
    double endParam() const { return knots[numControlPoints]; }
};

// The point at parameter t (clamped to the range) and, when deriv is given, the first
// derivative there: the rational quotient of the homogeneous curve and its derivative.
ZcGePoint3d evaluate(const View& curve, double t, ZcGeVector3d* deriv = nullptr);

// The distinct knot values inside the parameter range, start and end included.
std::vector<double> breakpoints(const View& curve);

// Clamped uniform knots for a curve of the given degree and control point count.
std::vector<double> clampedUniformKnots(int degree, int numControlPoints);

// The C2 cubic through the fit points with chord-length parameters (knots at the cumulative
// chord lengths, so the parameter is close to arc length). End tangents are used by direction
// when given (non-zero), otherwise estimated from the parabola through the first (last) three
// points; a closed set of fit points gets one shared tangent at the seam. Consecutive duplicate
// points are dropped first. False when fewer than two distinct points remain.
bool interpolateCubic(const std::vector<ZcGePoint3d>& fitPoints, const ZcGeVector3d& startTangent,
                      const ZcGeVector3d& endTangent, std::vector<ZcGePoint3d>& controlPoints,
                      std::vector<double>& knots);

} // namespace gantrel::db::nurbs
