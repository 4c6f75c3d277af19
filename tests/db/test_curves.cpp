// Invariants of the curve answers, checked against closed forms and by properties:
// - parameters follow the host family: a line from 0 to its length, an arc from its start to
//   its end angle (end above start), a circle from 0 to 2 pi, an ellipse over its eccentric
//   angles, a leader from 0 at its first vertex to n - 1 at its last;
// - the point at the parameter of a point on the curve is that point, off the curve the
//   parameter is refused;
// - distances run from 0 at the start to the length at the end, and invert;
// - the closest point lies on the curve and no sample of the curve is nearer; with extend, a
//   line continues straight and an arc round its circle.
#include <gtest/gtest.h>

#include <cmath>

#include "curve_checks.h"
#include "zcdball.h"

using curve_checks::near;
using curve_checks::pointAt;

namespace {

constexpr double kDeg = kPi / 180.0;

TEST(LineCurve, RunsFromZeroToItsLength) {
    const ZcDbLine line({1, 2, 0}, {4, 6, 0});
    EXPECT_DOUBLE_EQ(curve_checks::startParam(line), 0.0);
    EXPECT_DOUBLE_EQ(curve_checks::endParam(line), 5.0);
    EXPECT_TRUE(near(pointAt(line, 2.5), {2.5, 4, 0}));

    double t = 0.0, d = 0.0;
    ASSERT_EQ(line.getParamAtPoint({3.4, 5.2, 0}, t), Zcad::eOk);
    EXPECT_NEAR(t, 4.0, 1e-12);
    EXPECT_EQ(line.getParamAtPoint({3, 3, 0}, t), Zcad::eInvalidInput) << "off the line";
    EXPECT_EQ(line.getParamAtPoint({7, 10, 0}, t), Zcad::eInvalidInput) << "beyond the end";
    ZcGePoint3d beyond;
    EXPECT_EQ(line.getPointAtParam(6.0, beyond), Zcad::eInvalidInput);
    ASSERT_EQ(line.getDistAtPoint({4, 6, 0}, d), Zcad::eOk);
    EXPECT_DOUBLE_EQ(d, 5.0);
}

TEST(LineCurve, ClosestPointClampsUnlessExtended) {
    const ZcDbLine line({0, 0, 0}, {10, 0, 0});
    ZcGePoint3d c;
    ASSERT_EQ(line.getClosestPointTo({14, 3, 0}, c), Zcad::eOk);
    EXPECT_TRUE(near(c, {10, 0, 0}));
    ASSERT_EQ(line.getClosestPointTo({14, 3, 0}, c, true), Zcad::eOk);
    EXPECT_TRUE(near(c, {14, 0, 0}));
    ASSERT_EQ(line.getClosestPointTo({-2, -3, 5}, c, true), Zcad::eOk);
    EXPECT_TRUE(near(c, {-2, 0, 0}));
}

TEST(CircleCurve, EndParameterIsTwoPiAndDistancesAreArcLengths) {
    const ZcDbCircle circle({5, 5, 0}, ZcGeVector3d::kZAxis, 3.0);
    EXPECT_DOUBLE_EQ(curve_checks::endParam(circle), 2 * kPi);
    EXPECT_TRUE(circle.isClosed());
    EXPECT_TRUE(near(pointAt(circle, kPi / 2), {5, 8, 0}));
    double d = 0.0, t = 0.0, area = 0.0;
    ASSERT_EQ(circle.getDistAtParam(kPi, d), Zcad::eOk);
    EXPECT_DOUBLE_EQ(d, 3.0 * kPi);
    ASSERT_EQ(circle.getParamAtPoint({2, 5, 0}, t), Zcad::eOk);
    EXPECT_NEAR(t, kPi, 1e-12);
    ASSERT_EQ(circle.getParamAtPoint({5, 2, 0}, t), Zcad::eOk);
    EXPECT_NEAR(t, 1.5 * kPi, 1e-12) << "parameters below the x axis are above pi, not negative";
    EXPECT_EQ(circle.getParamAtPoint({5, 5, 0}, t), Zcad::eInvalidInput);
    ASSERT_EQ(circle.getArea(area), Zcad::eOk);
    EXPECT_DOUBLE_EQ(area, kPi * 9.0);
    curve_checks::checkCurveProperties(circle, 10.0);
}

TEST(CircleCurve, TiltedCircleLivesInItsOwnPlane) {
    const ZcGeVector3d normal = ZcGeVector3d(1, 1, 1).normal();
    const ZcDbCircle circle({1, 2, 3}, normal, 2.0);
    for (double t = 0.0; t < 2 * kPi; t += 0.3) {
        const ZcGePoint3d p = pointAt(circle, t);
        EXPECT_NEAR((p - ZcGePoint3d(1, 2, 3)).dotProduct(normal), 0.0, 1e-12);
        EXPECT_NEAR(p.distanceTo({1, 2, 3}), 2.0, 1e-12);
    }
    ZcDbExtents ext;
    ASSERT_EQ(circle.getGeomExtents(ext), Zcad::eOk);
    curve_checks::expectTightExtents(ext, curve_checks::sampledBox(circle), 1e-5);
}

TEST(ArcCurve, EndParameterLiesAboveTheStartAcrossZero) {
    const ZcDbArc arc({0, 0, 0}, 2.0, 350 * kDeg, 10 * kDeg);
    const double s = curve_checks::startParam(arc), e = curve_checks::endParam(arc);
    EXPECT_NEAR(s, 350 * kDeg, 1e-12);
    EXPECT_NEAR(e, 370 * kDeg, 1e-12);
    EXPECT_NEAR(arc.totalAngle(), 20 * kDeg, 1e-12);
    double d = 0.0, t = 0.0;
    ASSERT_EQ(arc.getDistAtParam(e, d), Zcad::eOk);
    EXPECT_NEAR(d, 2.0 * 20 * kDeg, 1e-12);
    ASSERT_EQ(arc.getParamAtPoint({2 * std::cos(5 * kDeg), 2 * std::sin(5 * kDeg), 0}, t),
              Zcad::eOk);
    EXPECT_NEAR(t, 365 * kDeg, 1e-12) << "a point past 0 degrees reads above the start";
    EXPECT_EQ(arc.getParamAtPoint({-2, 0, 0}, t), Zcad::eInvalidInput) << "outside the sweep";
    curve_checks::checkCurveProperties(arc, 2.0);
}

TEST(ArcCurve, ClosestPointOutsideTheSweepIsTheNearerEnd) {
    const ZcDbArc arc({0, 0, 0}, 1.0, 0.0, kPi / 2);
    ZcGePoint3d c;
    ASSERT_EQ(arc.getClosestPointTo({1, -3, 0}, c), Zcad::eOk);
    EXPECT_TRUE(near(c, {1, 0, 0}));
    ASSERT_EQ(arc.getClosestPointTo({-3, 0.2, 0}, c), Zcad::eOk);
    EXPECT_TRUE(near(c, {0, 1, 0}, 1e-12));
    ASSERT_EQ(arc.getClosestPointTo({-3, 0, 0}, c, true), Zcad::eOk);
    EXPECT_TRUE(near(c, {-1, 0, 0}, 1e-12)) << "extended round the circle";
}

TEST(ArcCurve, AreaIsTheCircularSegment) {
    const ZcDbArc semicircle({0, 0, 0}, 2.0, 0.0, kPi);
    double area = 0.0;
    ASSERT_EQ(semicircle.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 2 * kPi, 1e-12);
    const ZcDbArc quarter({0, 0, 0}, 2.0, kPi / 2, kPi);
    ASSERT_EQ(quarter.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, kPi - 2.0, 1e-12) << "quarter disc minus its triangle";
}

TEST(EllipseCurve, ParametersAreEccentricAnglesAndAreasClosedForms) {
    const ZcDbEllipse full({1, 1, 0}, ZcGeVector3d::kZAxis, {4, 0, 0}, 0.5);
    EXPECT_TRUE(full.isClosed());
    EXPECT_DOUBLE_EQ(curve_checks::endParam(full), 2 * kPi);
    EXPECT_TRUE(near(pointAt(full, kPi / 2), {1, 3, 0}));
    double area = 0.0;
    ASSERT_EQ(full.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, kPi * 4 * 2, 1e-12);
    curve_checks::checkCurveProperties(full, 5.0);

    const ZcDbEllipse half({0, 0, 0}, ZcGeVector3d::kZAxis, {0, 3, 0}, 0.5, 0.0, kPi);
    EXPECT_FALSE(half.isClosed());
    ASSERT_EQ(half.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 0.5 * kPi * 3 * 1.5, 1e-12);
    double generic = 0.0;
    ASSERT_EQ(half.ZcDbCurve::getArea(generic), Zcad::eOk);
    EXPECT_NEAR(generic, area, 1e-6) << "the numeric area agrees with the closed form";
    curve_checks::checkCurveProperties(half, 3.0);

    ZcGePoint3d c;
    ASSERT_EQ(half.getClosestPointTo({0.5, 5, 0}, c), Zcad::eOk);
    EXPECT_TRUE(near(c, {0, 3, 0}, 1e-9)) << "the half ellipse lies left of its axis";
    ASSERT_EQ(half.getClosestPointTo({2, 0, 0}, c, true), Zcad::eOk);
    EXPECT_TRUE(near(c, {1.5, 0, 0}, 1e-9)) << "extended to the full ellipse";
}

TEST(LeaderCurve, VerticesSitAtWholeParameters) {
    ZcDbLeader leader;
    leader.appendVertex({0, 0, 0});
    leader.appendVertex({3, 4, 0});
    leader.appendVertex({3, 10, 0});
    EXPECT_DOUBLE_EQ(curve_checks::endParam(leader), 2.0);
    EXPECT_TRUE(near(pointAt(leader, 1.5), {3, 7, 0}));
    double d = 0.0;
    ASSERT_EQ(leader.getDistAtParam(2.0, d), Zcad::eOk);
    EXPECT_NEAR(d, 11.0, 1e-9);
    curve_checks::checkCurveProperties(leader, 10.0);
}

TEST(CurveEnds, StartAndEndPointsFollowTheParameters) {
    const ZcDbArc arc({0, 0, 0}, 1.0, kPi / 2, 0.0);
    ZcGePoint3d s, e;
    ASSERT_EQ(arc.getStartPoint(s), Zcad::eOk);
    ASSERT_EQ(arc.getEndPoint(e), Zcad::eOk);
    EXPECT_TRUE(near(s, {0, 1, 0}, 1e-12));
    EXPECT_TRUE(near(e, {1, 0, 0}, 1e-12));
    EXPECT_NEAR(arc.totalAngle(), 1.5 * kPi, 1e-12) << "counter-clockwise from 90 to 0 degrees";
}

} // namespace
