// Invariants of transforms:
// - after transformBy(M) every image M * P of a point P of the old curve lies on the new curve,
//   and the new extents are the tight box of those images;
// - mirroring keeps arcs counter-clockwise about their normal: the start and end trade places;
// - a transform that would turn a circle, arc or bulge into an ellipse is refused with
//   eNotApplicable and leaves the entity unchanged; ellipses and splines take any affine map.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "curve_checks.h"
#include "zcdball.h"

using curve_checks::near;
using curve_checks::pointAt;

namespace {

constexpr double kDeg = kPi / 180.0;

std::vector<std::unique_ptr<ZcDbCurve>> sampleCurves() {
    std::vector<std::unique_ptr<ZcDbCurve>> out;
    out.emplace_back(new ZcDbLine({1, 2, 0}, {7, -3, 0}));
    out.emplace_back(new ZcDbCircle({2, 3, 0}, ZcGeVector3d::kZAxis, 4.0));
    out.emplace_back(new ZcDbArc({-1, 1, 0}, 3.0, 300 * kDeg, 120 * kDeg));
    out.emplace_back(new ZcDbEllipse({0, 0, 0}, ZcGeVector3d::kZAxis, {3, 1, 0}, 0.4, 0.5, 4.0));
    auto* pl = new ZcDbPolyline;
    pl->addVertexAt(0, {0, 0}, 0.5);
    pl->addVertexAt(1, {6, 0}, -0.3);
    pl->addVertexAt(2, {6, 5});
    pl->setClosed(true);
    out.emplace_back(pl);
    ZcGePoint3dArray fit;
    for (const ZcGePoint3d& p :
         {ZcGePoint3d(0, 0, 0), ZcGePoint3d(2, 3, 0), ZcGePoint3d(5, -1, 0), ZcGePoint3d(8, 2, 0)})
        fit.append(p);
    out.emplace_back(new ZcDbSpline(fit));
    auto* leader = new ZcDbLeader;
    leader->appendVertex({0, 0, 0});
    leader->appendVertex({4, 4, 0});
    leader->appendVertex({9, 4, 0});
    out.emplace_back(leader);
    return out;
}

// Transforms a copy and checks the images of the old points against the new curve.
void checkImage(const ZcDbCurve& curve, const ZcGeMatrix3d& xform, double scale) {
    SCOPED_TRACE(curve.isA()->name());
    std::unique_ptr<ZcDbCurve> moved(static_cast<ZcDbCurve*>(curve.clone()));
    ASSERT_EQ(moved->transformBy(xform), Zcad::eOk);
    for (const ZcGePoint3d& p : curve_checks::samples(curve, 60)) {
        const ZcGePoint3d image = xform * p;
        double t = 0.0;
        ASSERT_EQ(moved->getParamAtPoint(image, t), Zcad::eOk);
        EXPECT_TRUE(near(pointAt(*moved, t), image, 1e-7 * scale));
    }
    ZcDbExtents ext;
    ASSERT_EQ(moved->getGeomExtents(ext), Zcad::eOk);
    curve_checks::expectTightExtents(ext, curve_checks::sampledBox(curve, xform), 1e-4 * scale);
}

TEST(TransformCurves, RotationScaleAndTranslationMoveEveryPoint) {
    const ZcGeMatrix3d xform = ZcGeMatrix3d::translation({100, -40, 5}) *
                               ZcGeMatrix3d::rotation(37 * kDeg, ZcGeVector3d::kZAxis) *
                               ZcGeMatrix3d::scaling(1.7);
    for (const auto& curve : sampleCurves())
        checkImage(*curve, xform, 150.0);
}

TEST(TransformCurves, MirrorsAndTiltsMoveEveryPoint) {
    const ZcGeMatrix3d mirror = ZcGeMatrix3d::mirroring({3, 0, 0}, {1, 2, 0});
    const ZcGeMatrix3d tilt = ZcGeMatrix3d::rotation(50 * kDeg, {1, 1, 0}, {2, 2, 0});
    for (const auto& curve : sampleCurves()) {
        checkImage(*curve, mirror, 20.0);
        checkImage(*curve, tilt, 20.0);
    }
}

TEST(TransformCurves, MirroredArcSwapsItsEnds) {
    ZcDbArc arc({0, 0, 0}, 2.0, 0.0, 90 * kDeg);
    ZcGePoint3d oldStart, oldEnd;
    arc.getStartPoint(oldStart);
    arc.getEndPoint(oldEnd);
    const ZcGeMatrix3d mirror = ZcGeMatrix3d::mirroring(ZcGePoint3d::kOrigin, ZcGeVector3d::kYAxis);
    ASSERT_EQ(arc.transformBy(mirror), Zcad::eOk);
    EXPECT_TRUE(near(ZcGePoint3d::kOrigin + arc.normal(), {0, 0, 1})) << "the normal stays up";
    EXPECT_NEAR(arc.startAngle(), 90 * kDeg, 1e-12);
    EXPECT_NEAR(arc.endAngle(), 180 * kDeg, 1e-12);
    ZcGePoint3d s, e;
    arc.getStartPoint(s);
    arc.getEndPoint(e);
    EXPECT_TRUE(near(s, mirror * oldEnd, 1e-12));
    EXPECT_TRUE(near(e, mirror * oldStart, 1e-12));
}

TEST(TransformCurves, MirroredPolylineNegatesItsBulgesAndKeepsItsParameters) {
    ZcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 0.6);
    pl.addVertexAt(1, {4, 1}, -0.2);
    pl.addVertexAt(2, {5, 5});
    const ZcDbPolyline before(pl);
    const ZcGeMatrix3d mirror = ZcGeMatrix3d::mirroring({1, 1, 0}, {1, 0, 0});
    ASSERT_EQ(pl.transformBy(mirror), Zcad::eOk);
    EXPECT_DOUBLE_EQ(pl.vertices()[0].bulge, -0.6);
    for (double t = 0.0; t <= 2.0; t += 0.125)
        EXPECT_TRUE(near(pointAt(pl, t), mirror * pointAt(before, t), 1e-12)) << t;
}

TEST(TransformCurves, DistortingCirclesArcsAndBulgesIsRefused) {
    const ZcGeMatrix3d stretch = ZcGeMatrix3d::scaling(ZcGeScale3d(2, 1, 1));
    ZcDbCircle circle({1, 1, 0}, ZcGeVector3d::kZAxis, 2.0);
    EXPECT_EQ(circle.transformBy(stretch), Zcad::eNotApplicable);
    EXPECT_EQ(circle.center(), ZcGePoint3d(1, 1, 0));
    EXPECT_EQ(circle.radius(), 2.0);
    ZcDbArc arc({0, 0, 0}, 1.0, 0.0, 1.0);
    EXPECT_EQ(arc.transformBy(stretch), Zcad::eNotApplicable);
    EXPECT_EQ(arc.radius(), 1.0);
    ZcDbPolyline bulged;
    bulged.addVertexAt(0, {0, 0}, 1.0);
    bulged.addVertexAt(1, {1, 0});
    EXPECT_EQ(bulged.transformBy(stretch), Zcad::eNotApplicable);
    EXPECT_EQ(bulged.vertices()[1].point, ZcGePoint2d(1, 0));

    // Scaling along the circle's normal leaves its plane undistorted.
    EXPECT_EQ(circle.transformBy(ZcGeMatrix3d::scaling(ZcGeScale3d(1, 1, 3))), Zcad::eOk);
}

TEST(TransformCurves, EllipsesAndSplinesTakeAnyAffineMap) {
    const ZcGeMatrix3d shear = [] {
        ZcGeMatrix3d m = ZcGeMatrix3d::scaling(ZcGeScale3d(2.0, 0.5, 1.0));
        m.entry[0][1] = 0.7;
        return m;
    }();
    ZcDbEllipse ellipse({1, 0, 0}, ZcGeVector3d::kZAxis, {3, 0, 0}, 0.5);
    double before = 0.0, after = 0.0;
    ellipse.getArea(before);
    checkImage(ellipse, shear, 10.0);
    ASSERT_EQ(ellipse.transformBy(shear), Zcad::eOk);
    ellipse.getArea(after);
    EXPECT_NEAR(after, before * std::abs(shear.det()), 1e-9) << "areas scale by the determinant";
    EXPECT_LE(ellipse.radiusRatio(), 1.0);

    ZcDbEllipse arcPiece({0, 0, 0}, ZcGeVector3d::kZAxis, {2, 1, 0}, 0.3, 1.0, 2.5);
    checkImage(arcPiece, shear, 10.0);
    checkImage(arcPiece, ZcGeMatrix3d::mirroring({0, 0, 0}, {0, 1, 0}) * shear, 10.0);

    for (const auto& curve : sampleCurves())
        if (ZcDbSpline::cast(curve.get())) {
            std::unique_ptr<ZcDbCurve> moved(static_cast<ZcDbCurve*>(curve->clone()));
            ASSERT_EQ(moved->transformBy(shear), Zcad::eOk);
            for (double t = 0.0; t <= curve_checks::endParam(*curve); t += 0.5)
                EXPECT_TRUE(near(pointAt(*moved, t), shear * pointAt(*curve, t), 1e-12));
        }
}

TEST(TransformText, RotationAndHeightFollowTheTransform) {
    ZcDbText text({1, 1, 0}, L"ABC", 2.0, 10 * kDeg);
    const ZcGeMatrix3d xform =
        ZcGeMatrix3d::rotation(90 * kDeg, ZcGeVector3d::kZAxis) * ZcGeMatrix3d::scaling(3.0);
    ASSERT_EQ(text.transformBy(xform), Zcad::eOk);
    EXPECT_NEAR(text.height(), 6.0, 1e-12);
    EXPECT_NEAR(text.rotation(), 100 * kDeg, 1e-12);
    EXPECT_TRUE(near(text.position(), xform * ZcGePoint3d(1, 1, 0), 1e-12));
    EXPECT_NEAR(text.widthFactor(), 1.0, 1e-12);

    ZcDbMText mtext;
    mtext.setContents(L"Hello");
    mtext.setLocation({2, 0, 0});
    ASSERT_EQ(mtext.transformBy(xform), Zcad::eOk);
    EXPECT_NEAR(mtext.rotation(), 90 * kDeg, 1e-12);
    EXPECT_NEAR(mtext.textHeight(), 7.5, 1e-12);
}

} // namespace
