// Invariants of lightweight and 2-D polylines:
// - a polyline with n segments runs over parameters 0..n, segment i on [i, i+1]; a bulged
//   segment is an exact circular arc whose parameter maps linearly to its angle, so the
//   distance at the end of a bulged segment is its arc length;
// - the area is the polygon area plus the circular segments of the bulges (signed by their
//   turn), independent of the direction of travel; an open polyline is closed by its chord;
// - explode gives one line or arc per segment, meeting at the vertices;
// - 2-D polyline vertices are objects of their own: pending until the polyline joins a
//   database, then resident, owned by the polyline, erased and unerased with it.
#include "DrawingBuild.h"
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "curve_checks.h"
#include "zcdball.h"

using curve_checks::near;
using curve_checks::pointAt;

namespace {

using gantrel::testing::AppendToModelSpace;

// 0,0 -> 10,0 as a half circle below the chord (bulge 1), then 10,10 and 0,10, closed.
std::unique_ptr<ZcDbPolyline> bulgedSquare(bool closed = true) {
    auto pl = std::make_unique<ZcDbPolyline>();
    pl->addVertexAt(0, {0, 0}, 1.0);
    pl->addVertexAt(1, {10, 0});
    pl->addVertexAt(2, {10, 10});
    pl->addVertexAt(3, {0, 10});
    pl->setClosed(closed);
    return pl;
}

std::vector<std::unique_ptr<ZcDbEntity>> own(const ZcDbVoidPtrArray& set) {
    std::vector<std::unique_ptr<ZcDbEntity>> out;
    for (void* p : set)
        out.emplace_back(static_cast<ZcDbEntity*>(p));
    return out;
}

TEST(LightweightPolyline, SegmentsSetTheParameterRange) {
    auto pl = bulgedSquare(false);
    EXPECT_DOUBLE_EQ(curve_checks::endParam(*pl), 3.0);
    pl->setClosed(true);
    EXPECT_DOUBLE_EQ(curve_checks::endParam(*pl), 4.0);
    EXPECT_TRUE(near(pointAt(*pl, 3.5), {0, 5, 0}));
    EXPECT_TRUE(near(pointAt(*pl, 4.0), {0, 0, 0}));

    ZcDbPolyline single;
    single.addVertexAt(0, {3, 4});
    EXPECT_DOUBLE_EQ(curve_checks::endParam(single), 0.0);
    ZcDbPolyline empty;
    double t = 0.0;
    EXPECT_EQ(empty.getEndParam(t), Zcad::eDegenerateGeometry);
}

TEST(LightweightPolyline, BulgedSegmentIsAnExactArc) {
    auto pl = bulgedSquare();
    double d = 0.0;
    ASSERT_EQ(pl->getDistAtParam(1.0, d), Zcad::eOk);
    EXPECT_NEAR(d, 5.0 * kPi, 1e-12) << "half circle of radius 5";
    EXPECT_TRUE(near(pointAt(*pl, 0.5), {5, -5, 0}, 1e-12)) << "the apex sits at mid-parameter";
    EXPECT_TRUE(near(pointAt(*pl, 0.25), {5 - 5 * std::sqrt(0.5), -5 * std::sqrt(0.5), 0}, 1e-12))
        << "a quarter of the parameter is a quarter of the angle";

    // A quarter circle: bulge tan(pi / 8).
    ZcDbPolyline quarter;
    quarter.addVertexAt(0, {1, 0}, std::tan(kPi / 8));
    quarter.addVertexAt(1, {0, 1});
    ASSERT_EQ(quarter.getDistAtParam(1.0, d), Zcad::eOk);
    EXPECT_NEAR(d, kPi / 2, 1e-12);
    for (double t = 0.0; t <= 1.0; t += 0.125)
        EXPECT_NEAR(pointAt(quarter, t).distanceTo({0, 0, 0}), 1.0, 1e-12);
}

TEST(LightweightPolyline, ParamAtPointAndClosestPointHoldOnArcsAndLines) {
    auto pl = bulgedSquare();
    double t = 0.0;
    ASSERT_EQ(pl->getParamAtPoint({5, -5, 0}, t), Zcad::eOk);
    EXPECT_NEAR(t, 0.5, 1e-12);
    ASSERT_EQ(pl->getParamAtPoint({10, 4, 0}, t), Zcad::eOk);
    EXPECT_NEAR(t, 1.4, 1e-12);
    EXPECT_EQ(pl->getParamAtPoint({5, 5, 0}, t), Zcad::eInvalidInput);
    curve_checks::checkCurveProperties(*pl, 10.0);

    // Clockwise bulges and an open path.
    ZcDbPolyline zigzag;
    zigzag.addVertexAt(0, {-8, 0}, -0.4);
    zigzag.addVertexAt(1, {-2, 3}, 0.7);
    zigzag.addVertexAt(2, {4, -1}, 0.0);
    zigzag.addVertexAt(3, {9, 6}, -2.0);
    zigzag.addVertexAt(4, {9, -6});
    curve_checks::checkCurveProperties(zigzag, 10.0, 11);
}

TEST(LightweightPolyline, ExtendContinuesTheEndSegmentsOfAnOpenPath) {
    ZcDbPolyline pl;
    pl.addVertexAt(0, {0, 0});
    pl.addVertexAt(1, {10, 0});
    ZcGePoint3d c;
    ASSERT_EQ(pl.getClosestPointTo({15, 2, 0}, c), Zcad::eOk);
    EXPECT_TRUE(near(c, {10, 0, 0}));
    ASSERT_EQ(pl.getClosestPointTo({15, 2, 0}, c, true), Zcad::eOk);
    EXPECT_TRUE(near(c, {15, 0, 0}));
    ASSERT_EQ(pl.getClosestPointTo({-4, -2, 0}, c, true), Zcad::eOk);
    EXPECT_TRUE(near(c, {-4, 0, 0}));
}

TEST(LightweightPolyline, AreaCountsBulgesAndIgnoresDirection) {
    auto pl = bulgedSquare();
    double area = 0.0;
    ASSERT_EQ(pl->getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 100.0 + 12.5 * kPi, 1e-9) << "the half circle bulges out of the square";

    // The same outline travelled the other way: vertices reversed, bulges negated and moved.
    ZcDbPolyline reversed;
    reversed.addVertexAt(0, {0, 10});
    reversed.addVertexAt(1, {10, 10});
    reversed.addVertexAt(2, {10, 0}, -1.0);
    reversed.addVertexAt(3, {0, 0});
    reversed.setClosed(true);
    double other = 0.0;
    ASSERT_EQ(reversed.getArea(other), Zcad::eOk);
    EXPECT_NEAR(other, area, 1e-9);

    // A bulge into the square removes its half disc.
    pl->setBulgeAt(0, -1.0);
    ASSERT_EQ(pl->getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 100.0 - 12.5 * kPi, 1e-9);

    auto open = bulgedSquare(false);
    ASSERT_EQ(open->getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 100.0 + 12.5 * kPi, 1e-9) << "closed by the chord from the end to the start";

    // Far from the origin the area keeps its digits.
    ZcDbPolyline far;
    for (const ZcGePoint2d& p : {ZcGePoint2d(1e7, 1e7), ZcGePoint2d(1e7 + 1, 1e7),
                                 ZcGePoint2d(1e7 + 1, 1e7 + 1), ZcGePoint2d(1e7, 1e7 + 1)})
        far.addVertexAt(far.numVerts(), p);
    far.setClosed(true);
    ASSERT_EQ(far.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 1.0, 1e-9);
}

TEST(LightweightPolyline, VerticesSetAtOnceAreCheckedAsOneByOne) {
    ZcDbPolyline p;
    ZcDbPolyline::Vertex a, b;
    a.point = ZcGePoint2d(0, 0);
    a.bulge = 0.5;
    a.startWidth = -1.0; // the default: no width of its own
    b.point = ZcGePoint2d(10, 0);
    b.endWidth = 2.0;
    ASSERT_EQ(p.setVertices({a, b}), Zcad::eOk);
    ASSERT_EQ(p.numVerts(), 2u);
    double bulge = 0, start = -1, end = -1;
    p.getBulgeAt(0, bulge);
    p.getWidthsAt(0, start, end);
    EXPECT_EQ(bulge, 0.5);
    EXPECT_EQ(start, 0.0);
    p.getWidthsAt(1, start, end);
    EXPECT_EQ(end, 2.0);
    // A vertex that is not finite refuses all of them and leaves the polyline as it was.
    ZcDbPolyline::Vertex bad;
    bad.point = ZcGePoint2d(std::nan(""), 0);
    EXPECT_EQ(p.setVertices({b, bad}), Zcad::eInvalidInput);
    EXPECT_EQ(p.numVerts(), 2u);
    EXPECT_EQ(p.vertices()[0].point, ZcGePoint2d(0, 0));
}

TEST(LightweightPolyline, ExtentsReachTheBulgeApex) {
    auto pl = bulgedSquare();
    ZcDbExtents ext;
    ASSERT_EQ(pl->getGeomExtents(ext), Zcad::eOk);
    EXPECT_TRUE(near(ext.minPoint(), {0, -5, 0}, 1e-12));
    EXPECT_TRUE(near(ext.maxPoint(), {10, 10, 0}, 1e-12));
}

TEST(LightweightPolyline, ExplodeGivesLinesAndArcsMeetingAtTheVertices) {
    auto pl = bulgedSquare();
    pl->setLayer(L"Parts");
    pl->setColorIndex(3);
    ZcDbVoidPtrArray set;
    ASSERT_EQ(pl->explode(set), Zcad::eOk);
    const auto pieces = own(set);
    ASSERT_EQ(pieces.size(), 4u);
    const auto* arc = ZcDbArc::cast(pieces[0].get());
    ASSERT_NE(arc, nullptr);
    EXPECT_NEAR(arc->radius(), 5.0, 1e-12);
    double length = 0.0, total = 0.0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const auto* curve = ZcDbCurve::cast(pieces[i].get());
        ASSERT_NE(curve, nullptr);
        EXPECT_EQ(curve->layer(), L"Parts");
        EXPECT_EQ(curve->colorIndex(), 3);
        ZcGePoint3d s, e, vertex;
        curve->getStartPoint(s);
        curve->getEndPoint(e);
        pl->getPointAt(static_cast<unsigned>(i), vertex);
        ZcGePoint3d next;
        pl->getPointAt(static_cast<unsigned>((i + 1) % 4), next);
        // Arcs run counter-clockwise, so a clockwise segment's arc runs from its end.
        EXPECT_TRUE((near(s, vertex, 1e-9) && near(e, next, 1e-9)) ||
                    (near(e, vertex, 1e-9) && near(s, next, 1e-9)));
        curve->getDistAtParam(curve_checks::endParam(*curve), length);
        total += length;
    }
    double plLength = 0.0;
    pl->getDistAtParam(4.0, plLength);
    EXPECT_NEAR(total, plLength, 1e-9);
}

// --- 2-D polylines ---------------------------------------------------------------------------

std::unique_ptr<ZcDb2dPolyline> squarePolyline2d() {
    auto pl = std::make_unique<ZcDb2dPolyline>();
    pl->appendVertex(new ZcDb2dVertex({0, 0, 0}, 1.0));
    pl->appendVertex(new ZcDb2dVertex({10, 0, 0}));
    pl->appendVertex(new ZcDb2dVertex({10, 10, 0}));
    pl->appendVertex(new ZcDb2dVertex({0, 10, 0}));
    pl->setClosed(true);
    return pl;
}

TEST(Polyline2d, AnswersLikeTheLightweightPolylineOfItsVertices) {
    auto pl2 = squarePolyline2d();
    auto lw = bulgedSquare();
    EXPECT_DOUBLE_EQ(curve_checks::endParam(*pl2), 4.0);
    for (double t = 0.0; t <= 4.0; t += 0.25)
        EXPECT_TRUE(near(pointAt(*pl2, t), pointAt(*lw, t), 1e-12));
    double a = 0.0, b = 0.0;
    pl2->getArea(a);
    lw->getArea(b);
    EXPECT_DOUBLE_EQ(a, b);
    curve_checks::checkCurveProperties(*pl2, 10.0);

    // Frame control points of a spline-fit polyline are not part of the drawn path.
    auto frame = new ZcDb2dVertex({50, 50, 0});
    frame->setVertexFlags(16);
    pl2->appendVertex(frame);
    EXPECT_DOUBLE_EQ(curve_checks::endParam(*pl2), 4.0);
}

TEST(Polyline2d, VerticesJoinTheDatabaseWithThePolylineAndEraseWithIt) {
    ZcDbDatabase db;
    auto pl = squarePolyline2d();
    EXPECT_TRUE(pl->vertexIds().empty()) << "pending vertices have no ids yet";
    ZcDb2dPolyline* raw = pl.release();
    const ZcDbObjectId id = AppendToModelSpace(db, raw);
    ZcDb2dPolyline* opened = nullptr;
    ASSERT_EQ(zcdbOpenObject(opened, id, ZcDb::kForWrite), Zcad::eOk);
    const std::vector<ZcDbObjectId> vertices = opened->vertexIds();
    ASSERT_EQ(vertices.size(), 4u);
    for (const ZcDbObjectId& v : vertices) {
        ZcDb2dVertex* vertex = nullptr;
        ASSERT_EQ(zcdbOpenObject(vertex, v, ZcDb::kForRead), Zcad::eOk);
        EXPECT_EQ(vertex->ownerId(), id);
        vertex->close();
    }
    // A vertex appended to a resident polyline is resident at once, left open for write.
    ZcDbObjectId added;
    auto* extra = new ZcDb2dVertex({-5, 5, 0});
    ASSERT_EQ(opened->appendVertex(added, extra), Zcad::eOk);
    EXPECT_FALSE(added.isNull());
    EXPECT_TRUE(extra->isWriteEnabled());
    extra->close();

    ASSERT_EQ(opened->erase(), Zcad::eOk);
    for (const ZcDbObjectId& v : vertices)
        EXPECT_TRUE(v.isErased());
    ASSERT_EQ(opened->erase(false), Zcad::eOk);
    for (const ZcDbObjectId& v : vertices)
        EXPECT_FALSE(v.isErased());
    opened->close();
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST(Polyline2d, LayerAndColourReachTheVerticesAndClonesOwnTheirVertices) {
    ZcDbDatabase db;
    const ZcDbObjectId id = AppendToModelSpace(db, squarePolyline2d().release());
    ZcDb2dPolyline* pl = nullptr;
    ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(pl->setColorIndex(5), Zcad::eOk);
    std::unique_ptr<ZcDb2dPolyline> copy(static_cast<ZcDb2dPolyline*>(pl->clone()));
    pl->close();
    EXPECT_TRUE(copy->vertexIds().empty()) << "a clone must not share resident vertices";
    ASSERT_EQ(copy->vertexData().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_TRUE(
            near(copy->vertexData()[i].position, squarePolyline2d()->vertexData()[i].position));

    ASSERT_EQ(zcdbOpenObject(pl, id, ZcDb::kForRead), Zcad::eOk);
    for (const ZcDbObjectId& v : pl->vertexIds()) {
        ZcDb2dVertex* vertex = nullptr;
        ASSERT_EQ(zcdbOpenObject(vertex, v, ZcDb::kForRead), Zcad::eOk);
        EXPECT_EQ(vertex->colorIndex(), 5);
        vertex->close();
    }
    pl->close();
}

} // namespace
