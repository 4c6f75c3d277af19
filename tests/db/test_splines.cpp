// Invariants of splines:
// - a spline runs over its knot range [knot[degree], knot[numControlPoints]], whatever the knot
//   values are;
// - rational splines reproduce conics exactly (the rational quadratic quarter circle);
// - the first derivative is the derivative of the curve (agrees with differences of points);
// - a spline made from fit points passes through every fit point, starts along a given start
//   tangent, and its parameter is the cumulative chord length;
// - invalid NURBS data is refused and leaves the spline as it was.
#include <gtest/gtest.h>

#include <cmath>

#include "curve_checks.h"
#include "zcdball.h"

using curve_checks::near;
using curve_checks::pointAt;

namespace {

template <typename T> ZcArray<T> arrayOf(std::initializer_list<T> items) {
    ZcArray<T> out;
    for (const T& item : items)
        out.append(item);
    return out;
}

// A full circle of radius r about the origin: four rational quadratic quarters.
ZcDbSpline circleSpline(double r) {
    const double w = std::sqrt(0.5);
    return ZcDbSpline(2,
                      arrayOf<ZcGePoint3d>({{r, 0, 0},
                                            {r, r, 0},
                                            {0, r, 0},
                                            {-r, r, 0},
                                            {-r, 0, 0},
                                            {-r, -r, 0},
                                            {0, -r, 0},
                                            {r, -r, 0},
                                            {r, 0, 0}}),
                      arrayOf<double>({0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4}),
                      arrayOf<double>({1, w, 1, w, 1, w, 1, w, 1}));
}

TEST(SplineCurve, RunsOverItsKnotRange) {
    const ZcDbSpline cubic(
        3, arrayOf<ZcGePoint3d>({{0, 0, 0}, {1, 2, 0}, {3, 2, 0}, {4, 0, 0}, {6, 1, 0}}),
        arrayOf<double>({2, 2, 2, 2, 3.5, 5, 5, 5, 5}));
    EXPECT_DOUBLE_EQ(curve_checks::startParam(cubic), 2.0);
    EXPECT_DOUBLE_EQ(curve_checks::endParam(cubic), 5.0);
    EXPECT_TRUE(near(pointAt(cubic, 2.0), {0, 0, 0}, 1e-12))
        << "clamped: starts at the first point";
    EXPECT_TRUE(near(pointAt(cubic, 5.0), {6, 1, 0}, 1e-12));
    ZcGePoint3d outside;
    EXPECT_EQ(cubic.getPointAtParam(1.0, outside), Zcad::eInvalidInput);
    curve_checks::checkCurveProperties(cubic, 6.0);
}

TEST(SplineCurve, BezierSegmentMatchesTheBernsteinForm) {
    const ZcGePoint3d p[4] = {{0, 0, 0}, {1, 3, 1}, {4, 3, -1}, {5, 0, 0}};
    const ZcDbSpline bezier(3, arrayOf<ZcGePoint3d>({p[0], p[1], p[2], p[3]}),
                            arrayOf<double>({0, 0, 0, 0, 1, 1, 1, 1}));
    for (double t = 0.0; t <= 1.0; t += 0.1) {
        const double s = 1.0 - t;
        const ZcGeVector3d expected =
            p[0].asVector() * (s * s * s) + p[1].asVector() * (3 * s * s * t) +
            p[2].asVector() * (3 * s * t * t) + p[3].asVector() * (t * t * t);
        EXPECT_TRUE(near(pointAt(bezier, t), ZcGePoint3d::kOrigin + expected, 1e-12)) << t;
        ZcGeVector3d d;
        ASSERT_EQ(bezier.getFirstDeriv(t, d), Zcad::eOk);
        const ZcGeVector3d expectedDeriv =
            (p[1] - p[0]) * (3 * s * s) + (p[2] - p[1]) * (6 * s * t) + (p[3] - p[2]) * (3 * t * t);
        EXPECT_TRUE(near(ZcGePoint3d::kOrigin + d, ZcGePoint3d::kOrigin + expectedDeriv, 1e-12))
            << t;
    }
}

TEST(SplineCurve, RationalSplineDrawsAnExactCircle) {
    const ZcDbSpline circle = circleSpline(2.0);
    EXPECT_TRUE(circle.isRational());
    EXPECT_TRUE(circle.isClosed());
    for (double t = 0.0; t <= 4.0; t += 0.05)
        EXPECT_NEAR(pointAt(circle, t).distanceTo(ZcGePoint3d::kOrigin), 2.0, 1e-12) << t;
    // The derivative of a rational curve: compare with a central difference.
    for (double t = 0.3; t < 4.0; t += 0.7) {
        ZcGeVector3d d;
        ASSERT_EQ(circle.getFirstDeriv(t, d), Zcad::eOk);
        const ZcGeVector3d diff = (pointAt(circle, t + 1e-6) - pointAt(circle, t - 1e-6)) / 2e-6;
        EXPECT_LT((d - diff).length(), 1e-6 * d.length()) << t;
    }
    double length = 0.0, area = 0.0;
    ASSERT_EQ(circle.getDistAtParam(4.0, length), Zcad::eOk);
    EXPECT_NEAR(length, 4 * kPi, 1e-9);
    ASSERT_EQ(circle.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 4 * kPi, 1e-9);
    ZcDbExtents ext;
    ASSERT_EQ(circle.getGeomExtents(ext), Zcad::eOk);
    EXPECT_TRUE(near(ext.minPoint(), {-2, -2, 0}, 1e-9));
    EXPECT_TRUE(near(ext.maxPoint(), {2, 2, 0}, 1e-9));
    curve_checks::checkCurveProperties(circle, 2.0);
}

TEST(SplineCurve, FitPointsAreInterpolatedWithChordLengthParameters) {
    const ZcGePoint3dArray fit =
        arrayOf<ZcGePoint3d>({{0, 0, 0}, {3, 4, 0}, {7, 1, 0}, {10, 5, 0}, {14, 5, 0}});
    const ZcDbSpline spline(fit);
    EXPECT_EQ(spline.degree(), 3);
    EXPECT_EQ(spline.numFitPoints(), 5);
    double chord = 0.0;
    for (int i = 1; i < fit.length(); ++i)
        chord += fit[i].distanceTo(fit[i - 1]);
    EXPECT_DOUBLE_EQ(curve_checks::endParam(spline), chord);
    for (const ZcGePoint3d& p : fit) {
        double t = 0.0;
        ASSERT_EQ(spline.getParamAtPoint(p, t), Zcad::eOk);
        EXPECT_TRUE(near(pointAt(spline, t), p, 1e-9));
    }
    // Knots sit at the fit points: the point at each cumulative chord length is a fit point.
    double u = 0.0;
    for (int i = 0; i < fit.length(); ++i) {
        if (i > 0)
            u += fit[i].distanceTo(fit[i - 1]);
        EXPECT_TRUE(near(pointAt(spline, u), fit[i], 1e-9)) << i;
    }
    curve_checks::checkCurveProperties(spline, 14.0);
}

TEST(SplineCurve, EndTangentsSteerTheInterpolation) {
    ZcDbSpline spline;
    const ZcGePoint3dArray fit = arrayOf<ZcGePoint3d>({{0, 0, 0}, {5, 0, 0}, {10, 0, 0}});
    ASSERT_EQ(spline.setFitData(fit, 3, 0.0, {0, 1, 0}, {0, -1, 0}), Zcad::eOk);
    ZcGeVector3d d;
    ASSERT_EQ(spline.getFirstDeriv(curve_checks::startParam(spline), d), Zcad::eOk);
    EXPECT_NEAR(d.normal().dotProduct({0, 1, 0}), 1.0, 1e-12);
    ASSERT_EQ(spline.getFirstDeriv(curve_checks::endParam(spline), d), Zcad::eOk);
    EXPECT_NEAR(d.normal().dotProduct({0, -1, 0}), 1.0, 1e-12);
    EXPECT_GT(pointAt(spline, 2.5).y, 0.0) << "the curve leaves upwards";

    ZcGePoint3dArray got;
    int degree = 0;
    double tol = 1.0;
    bool tangents = false;
    ZcGeVector3d st, et;
    ASSERT_EQ(spline.getFitData(got, degree, tol, tangents, st, et), Zcad::eOk);
    EXPECT_EQ(got, fit);
    EXPECT_TRUE(tangents);

    // A closed set of fit points joins smoothly at the seam.
    ZcDbSpline ring(
        arrayOf<ZcGePoint3d>({{1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}, {1, 0, 0}}));
    EXPECT_TRUE(ring.isClosed());
    ZcGeVector3d d0, d1;
    ring.getFirstDeriv(curve_checks::startParam(ring), d0);
    ring.getFirstDeriv(curve_checks::endParam(ring), d1);
    EXPECT_NEAR(d0.normal().dotProduct(d1.normal()), 1.0, 1e-12);
}

TEST(SplineCurve, InvalidDataIsRefusedAndChangesNothing) {
    ZcDbSpline spline = circleSpline(1.0);
    const ZcGePoint3dArray pts = arrayOf<ZcGePoint3d>({{0, 0, 0}, {1, 1, 0}, {2, 0, 0}});
    // Too few knots for three control points of degree 2.
    EXPECT_EQ(spline.setNurbsData(2, false, false, false, pts, arrayOf<double>({0, 0, 1, 1}), {}),
              Zcad::eInvalidInput);
    // Decreasing knots.
    EXPECT_EQ(
        spline.setNurbsData(2, false, false, false, pts, arrayOf<double>({0, 0, 2, 1, 3, 3}), {}),
        Zcad::eInvalidInput);
    // A rational spline without its weights, or with a weight of zero.
    EXPECT_EQ(spline.setNurbsData(2, true, false, false, pts, arrayOf<double>({0, 0, 0, 1, 1, 1}),
                                  arrayOf<double>({1, 1})),
              Zcad::eInvalidInput);
    EXPECT_EQ(spline.setNurbsData(2, true, false, false, pts, arrayOf<double>({0, 0, 0, 1, 1, 1}),
                                  arrayOf<double>({1, 0, 1})),
              Zcad::eInvalidInput);
    EXPECT_EQ(spline.numControlPoints(), 9);
    EXPECT_NEAR(pointAt(spline, 0.5).distanceTo(ZcGePoint3d::kOrigin), 1.0, 1e-12);

    ZcDbSpline fromOnePoint(arrayOf<ZcGePoint3d>({{1, 1, 0}, {1, 1, 0}}));
    double t = 0.0;
    EXPECT_EQ(fromOnePoint.getEndParam(t), Zcad::eDegenerateGeometry);
}

TEST(SplineCurve, FlagsDescribeTheShape) {
    EXPECT_EQ(circleSpline(1.0).splineFlags(), 1 | 4 | 8);
    const ZcDbSpline straight(1, arrayOf<ZcGePoint3d>({{0, 0, 0}, {1, 1, 1}, {3, 3, 3}}), {});
    EXPECT_EQ(straight.splineFlags() & 16, 16);
    const ZcDbSpline twisted(3, arrayOf<ZcGePoint3d>({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 1, 1}}),
                             {});
    EXPECT_EQ(twisted.splineFlags() & (8 | 16), 0);
}

} // namespace
