// Invariants of hatches and regions:
// - a loop's area is exact for lines, circular arcs (bulges) and elliptic arcs, whichever way
//   the loop runs; a loop inside an odd number of others is a hole (hatch styles decide how
//   deep nesting counts);
// - transforms scale areas by the square of the scale and keep them under mirroring;
// - a region explodes into one line, arc or circle per edge, in loop order;
// - createFromCurves makes one region per closed curve or closed chain of curves (whatever the
//   order and direction of the pieces) and nothing at all when a chain stays open.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "curve_checks.h"
#include "zcdball.h"

using curve_checks::near;

namespace {

ZcDbLoop squareLoop(double x0, double y0, double size) {
    ZcDbLoop loop;
    const ZcGePoint2d c[4] = {{x0, y0}, {x0 + size, y0}, {x0 + size, y0 + size}, {x0, y0 + size}};
    for (int i = 0; i < 4; ++i) {
        ZcDbLoopEdge e;
        e.start = c[i];
        e.end = c[(i + 1) % 4];
        loop.edges.push_back(e);
    }
    return loop;
}

ZcDbLoop circleLoop(ZcGePoint2d center, double radius, bool ccw = true) {
    ZcDbLoop loop;
    ZcDbLoopEdge e;
    e.kind = ZcDbLoopEdge::kCircularArc;
    e.center = center;
    e.radius = radius;
    e.startAngle = 0.0;
    e.endAngle = 2 * kPi;
    e.counterClockwise = ccw;
    loop.edges.push_back(e);
    return loop;
}

double areaOf(const ZcDbHatch& hatch) {
    double area = -1.0;
    EXPECT_EQ(hatch.getArea(area), Zcad::eOk);
    return area;
}

std::vector<std::unique_ptr<ZcDbEntity>> owned(const ZcDbVoidPtrArray& set) {
    std::vector<std::unique_ptr<ZcDbEntity>> out;
    for (void* p : set)
        out.emplace_back(static_cast<ZcDbEntity*>(p));
    return out;
}

TEST(HatchArea, HolesAndIslandsCountByNestingAndStyle) {
    ZcDbHatch hatch;
    ASSERT_EQ(hatch.appendLoop(squareLoop(0, 0, 10)), Zcad::eOk);
    ASSERT_EQ(hatch.appendLoop(circleLoop({5, 5}, 2, false)), Zcad::eOk);
    EXPECT_NEAR(areaOf(hatch), 100 - 4 * kPi, 1e-9) << "the circle is a hole";
    ASSERT_EQ(hatch.appendLoop(squareLoop(4.5, 4.5, 1)), Zcad::eOk);
    EXPECT_NEAR(areaOf(hatch), 100 - 4 * kPi + 1, 1e-9) << "an island in the hole is filled";
    hatch.setHatchStyle(ZcDbHatch::kOuter);
    EXPECT_NEAR(areaOf(hatch), 100 - 4 * kPi, 1e-9);
    hatch.setHatchStyle(ZcDbHatch::kIgnore);
    EXPECT_NEAR(areaOf(hatch), 100, 1e-9);

    // Two separate outer loops add up.
    ZcDbHatch pair;
    pair.appendLoop(squareLoop(0, 0, 2));
    pair.appendLoop(squareLoop(5, 0, 3));
    EXPECT_NEAR(areaOf(pair), 13, 1e-12);
}

TEST(HatchArea, PolylinePathsAndArcEdgesAreExactEitherWayRound) {
    ZcDbHatch hatch;
    ZcDbLoop path;
    path.flags = 2;
    path.vertices = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    path.bulges = {1.0, 0, 0, 0};
    ASSERT_EQ(hatch.appendLoop(path), Zcad::eOk);
    EXPECT_NEAR(areaOf(hatch), 100 + 12.5 * kPi, 1e-9);

    // A half disc: the diameter, then the upper half circle back; and the same reversed.
    ZcDbLoop d;
    ZcDbLoopEdge diameter;
    diameter.start = {-1, 0};
    diameter.end = {1, 0};
    ZcDbLoopEdge arc;
    arc.kind = ZcDbLoopEdge::kCircularArc;
    arc.radius = 1;
    arc.startAngle = 0;
    arc.endAngle = kPi;
    d.edges = {diameter, arc};
    ZcDbLoop reversed;
    std::swap(diameter.start, diameter.end);
    std::swap(arc.startAngle, arc.endAngle);
    arc.counterClockwise = false;
    reversed.edges = {arc, diameter};
    for (const ZcDbLoop& loop : {d, reversed}) {
        ZcDbHatch half;
        ASSERT_EQ(half.appendLoop(loop), Zcad::eOk);
        EXPECT_NEAR(areaOf(half), kPi / 2, 1e-12);
        ZcDbExtents ext;
        ASSERT_EQ(half.getGeomExtents(ext), Zcad::eOk);
        EXPECT_TRUE(near(ext.minPoint(), {-1, 0, 0}, 1e-12));
        EXPECT_TRUE(near(ext.maxPoint(), {1, 1, 0}, 1e-12));
    }

    // An ellipse edge: pi a b.
    ZcDbLoop oval;
    ZcDbLoopEdge e;
    e.kind = ZcDbLoopEdge::kEllipticArc;
    e.center = {3, 3};
    e.majorAxis = {0, 4};
    e.radius = 0.25;
    e.startAngle = 0;
    e.endAngle = 2 * kPi;
    oval.edges = {e};
    ZcDbHatch ellipse;
    ASSERT_EQ(ellipse.appendLoop(oval), Zcad::eOk);
    EXPECT_NEAR(areaOf(ellipse), kPi * 4 * 1, 1e-12);
}

TEST(HatchArea, TransformScalesAreaAndMirrorKeepsIt) {
    ZcDbHatch hatch;
    hatch.setPattern(L"ANSI31");
    hatch.setPatternAngle(0.25);
    hatch.appendLoop(squareLoop(0, 0, 10));
    hatch.appendLoop(circleLoop({5, 5}, 2));
    const double area = areaOf(hatch);
    ASSERT_EQ(hatch.transformBy(ZcGeMatrix3d::scaling(2.0, {1, 1, 0}) *
                                ZcGeMatrix3d::rotation(0.5, ZcGeVector3d::kZAxis)),
              Zcad::eOk);
    EXPECT_NEAR(areaOf(hatch), 4 * area, 1e-9);
    EXPECT_NEAR(hatch.patternScale(), 2.0, 1e-12);
    EXPECT_NEAR(hatch.patternAngle(), 0.75, 1e-12);
    ASSERT_EQ(hatch.transformBy(ZcGeMatrix3d::mirroring({0, 0, 0}, {1, 3, 0})), Zcad::eOk);
    EXPECT_NEAR(areaOf(hatch), 4 * area, 1e-9);
    EXPECT_EQ(hatch.transformBy(ZcGeMatrix3d::scaling(ZcGeScale3d(1, 2, 1))), Zcad::eNotApplicable)
        << "the circular hole would become elliptical";
    EXPECT_NEAR(areaOf(hatch), 4 * area, 1e-9);
}

TEST(HatchArea, UnusableLoopsAreRefused) {
    ZcDbHatch hatch;
    EXPECT_EQ(hatch.appendLoop(ZcDbLoop()), Zcad::eInvalidInput);
    ZcDbLoop flat = circleLoop({0, 0}, 0.0);
    EXPECT_EQ(hatch.appendLoop(flat), Zcad::eInvalidInput);
    ZcDbLoop path;
    path.flags = 2;
    path.vertices = {{0, 0}, {1, 0}, {1, 1}};
    path.bulges = {0.5};
    EXPECT_EQ(hatch.appendLoop(path), Zcad::eInvalidInput) << "one bulge per vertex";
    EXPECT_EQ(hatch.numLoops(), 0);
}

// --- regions ---------------------------------------------------------------------------------

TEST(Region, TriangleExplodesIntoItsThreeSides) {
    ZcDbLine a({0, 0, 0}, {4, 0, 0}), b({4, 0, 0}, {0, 3, 0}), c({0, 3, 0}, {0, 0, 0});
    // Pieces out of order and one of them backwards still close the chain.
    ZcDbLine backwards({0, 3, 0}, {4, 0, 0});
    ZcDbVoidPtrArray curves, regions;
    curves.append(&c);
    curves.append(&a);
    curves.append(&backwards);
    ASSERT_EQ(ZcDbRegion::createFromCurves(curves, regions), Zcad::eOk);
    const auto made = owned(regions);
    ASSERT_EQ(made.size(), 1u);
    const auto* region = ZcDbRegion::cast(made[0].get());
    double area = 0.0, perimeter = 0.0;
    ASSERT_EQ(region->getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 6.0, 1e-12);
    ASSERT_EQ(region->getPerimeter(perimeter), Zcad::eOk);
    EXPECT_NEAR(perimeter, 12.0, 1e-12);

    ZcDbVoidPtrArray set;
    ASSERT_EQ(region->explode(set), Zcad::eOk);
    const auto sides = owned(set);
    ASSERT_EQ(sides.size(), 3u);
    std::vector<ZcGePoint3d> corners;
    for (const auto& side : sides) {
        const auto* line = ZcDbLine::cast(side.get());
        ASSERT_NE(line, nullptr);
        corners.push_back(line->startPoint());
        EXPECT_TRUE(near(line->endPoint(),
                         ZcDbLine::cast(sides[(&side - &sides[0] + 1) % 3].get())->startPoint(),
                         1e-12))
            << "the sides follow each other round the loop";
    }
    for (const ZcGePoint3d& corner :
         {ZcGePoint3d(0, 0, 0), ZcGePoint3d(4, 0, 0), ZcGePoint3d(0, 3, 0)})
        EXPECT_TRUE(std::any_of(corners.begin(), corners.end(),
                                [&](const ZcGePoint3d& p) { return near(p, corner, 1e-12); }));
}

TEST(Region, ClosedCurvesEachMakeARegionOfTheirArea) {
    ZcDbCircle circle({10, 0, 5}, ZcGeVector3d::kZAxis, 3);
    ZcDbPolyline pl;
    pl.addVertexAt(0, {0, 0}, 1.0);
    pl.addVertexAt(1, {10, 0});
    pl.addVertexAt(2, {10, 10});
    pl.addVertexAt(3, {0, 10});
    pl.setClosed(true);
    ZcDbEllipse ellipse({0, 0, 0}, ZcGeVector3d::kZAxis, {5, 0, 0}, 0.4);
    ZcDbVoidPtrArray curves, regions;
    curves.append(&circle);
    curves.append(&pl);
    curves.append(&ellipse);
    ASSERT_EQ(ZcDbRegion::createFromCurves(curves, regions), Zcad::eOk);
    const auto made = owned(regions);
    ASSERT_EQ(made.size(), 3u);
    double area = 0.0, expected = 0.0, perimeter = 0.0, length = 0.0;
    const auto* round = ZcDbRegion::cast(made[0].get());
    round->getArea(area);
    EXPECT_NEAR(area, 9 * kPi, 1e-12);
    EXPECT_NEAR(round->elevation(), 5.0, 1e-12) << "the region lies in the circle's plane";
    ZcDbVoidPtrArray set;
    ASSERT_EQ(round->explode(set), Zcad::eOk);
    const auto pieces = owned(set);
    ASSERT_EQ(pieces.size(), 1u);
    const auto* back = ZcDbCircle::cast(pieces[0].get());
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(near(back->center(), circle.center(), 1e-12));

    const auto* shaped = ZcDbRegion::cast(made[1].get());
    shaped->getArea(area);
    pl.getArea(expected);
    EXPECT_NEAR(area, expected, 1e-9);
    shaped->getPerimeter(perimeter);
    pl.getDistAtParam(4.0, length);
    EXPECT_NEAR(perimeter, length, 1e-9);

    ZcDbRegion::cast(made[2].get())->getArea(area);
    EXPECT_NEAR(area, kPi * 5 * 2, 1e-9);
}

TEST(Region, ArcAndChordMakeAHalfDiscWhicheverWayTheArcTurns) {
    for (const ZcGeVector3d& normal : {ZcGeVector3d::kZAxis, -ZcGeVector3d::kZAxis}) {
        ZcDbArc arc({0, 0, 0}, 2.0, 0.0, kPi);
        arc.setNormal(normal);
        ZcGePoint3d s, e;
        arc.getStartPoint(s);
        arc.getEndPoint(e);
        ZcDbLine chord(e, s);
        ZcDbVoidPtrArray curves, regions;
        curves.append(&arc);
        curves.append(&chord);
        ASSERT_EQ(ZcDbRegion::createFromCurves(curves, regions), Zcad::eOk);
        const auto made = owned(regions);
        ASSERT_EQ(made.size(), 1u);
        double area = 0.0;
        ZcDbRegion::cast(made[0].get())->getArea(area);
        EXPECT_NEAR(area, 2 * kPi, 1e-12);
        ZcDbVoidPtrArray set;
        ASSERT_EQ(made[0]->explode(set), Zcad::eOk);
        const auto pieces = owned(set);
        ASSERT_EQ(pieces.size(), 2u);
        const auto* back = ZcDbArc::cast(pieces[0].get());
        ASSERT_NE(back, nullptr);
        ZcGePoint3d bs, be;
        back->getStartPoint(bs);
        back->getEndPoint(be);
        EXPECT_TRUE((near(bs, s, 1e-12) && near(be, e, 1e-12)) ||
                    (near(bs, e, 1e-12) && near(be, s, 1e-12)));
    }
}

TEST(Region, OpenOrBrokenInputMakesNothing) {
    ZcDbLine a({0, 0, 0}, {4, 0, 0}), b({4, 0, 0}, {0, 3, 0});
    ZcDbCircle circle({0, 0, 0}, ZcGeVector3d::kZAxis, 1);
    ZcDbVoidPtrArray curves, regions;
    curves.append(&circle);
    curves.append(&a);
    curves.append(&b);
    EXPECT_EQ(ZcDbRegion::createFromCurves(curves, regions), Zcad::eInvalidInput);
    EXPECT_TRUE(regions.isEmpty()) << "no region for the circle either: nothing half done";

    // A closed chain of four lines whose last corner leaves the plane of the others.
    const ZcGePoint3d corner[4] = {{0, 0, 0}, {4, 0, 0}, {4, 3, 0}, {0, 3, 2}};
    ZcDbLine sides[4];
    curves.removeAll();
    for (int i = 0; i < 4; ++i) {
        sides[i].setStartPoint(corner[i]);
        sides[i].setEndPoint(corner[(i + 1) % 4]);
        curves.append(&sides[i]);
    }
    ZcDbVoidPtrArray none;
    EXPECT_EQ(ZcDbRegion::createFromCurves(curves, none), Zcad::eNotApplicable);
    curves.removeAll();
    ZcDbPoint point({0, 0, 0});
    curves.append(&point);
    EXPECT_EQ(ZcDbRegion::createFromCurves(curves, none), Zcad::eInvalidInput);
    curves.removeAll();
    curves.append(nullptr);
    EXPECT_EQ(ZcDbRegion::createFromCurves(curves, none), Zcad::eNullEntityPointer);
    EXPECT_TRUE(none.isEmpty());
}

TEST(Region, HolesAndTransformsKeepAreasTrue) {
    ZcDbRegion region;
    ASSERT_EQ(region.appendLoop(squareLoop(0, 0, 10)), Zcad::eOk);
    ASSERT_EQ(region.appendLoop(circleLoop({5, 5}, 3)), Zcad::eOk);
    double area = 0.0, perimeter = 0.0;
    ASSERT_EQ(region.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 100 - 9 * kPi, 1e-9);
    ASSERT_EQ(region.transformBy(ZcGeMatrix3d::scaling(3.0) *
                                 ZcGeMatrix3d::rotation(1.0, ZcGeVector3d::kZAxis)),
              Zcad::eOk);
    region.getArea(area);
    EXPECT_NEAR(area, 9 * (100 - 9 * kPi), 1e-8);
    region.getPerimeter(perimeter);
    EXPECT_NEAR(perimeter, 3 * (40 + 6 * kPi), 1e-8);
    ZcDbVoidPtrArray set;
    ASSERT_EQ(region.explode(set), Zcad::eOk);
    EXPECT_EQ(owned(set).size(), 5u);

    ZcDbRegion undecoded;
    undecoded.setRawData({"1 0 1 0", "body $-1 -1 ..."});
    EXPECT_EQ(undecoded.getArea(area), Zcad::eNotApplicable);
    EXPECT_EQ(undecoded.explode(set), Zcad::eNotApplicable);
    EXPECT_EQ(undecoded.transformBy(ZcGeMatrix3d::translation({1, 0, 0})), Zcad::eNotApplicable);
}

} // namespace
