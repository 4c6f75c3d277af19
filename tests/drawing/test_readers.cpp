// Coordinate readers against closed-form geometry.
//
// Invariants checked here:
// - samplers advance their parameter or distance by repeated addition of the step and sample
//   while it is below the end value; arcs and curves read by parameter end with their end point,
//   circles have no closing point;
// - every sampled point lies on its curve;
// - a division count of 0 or below reads the end points only and never loops;
// - readers leave no object open and add nothing to the drawing.
#include <cmath>

#include "DrawingTest.h"
#include "drawing/CoordinateReaders.h"
#include "drawing/RegionCoordinatesReader.h"
#include "zcdball.h"

using namespace gantrel;

namespace {

class ReaderTest : public DrawingTest {
protected:
    int modelSpaceCount() {
        ZcDbBlockTableRecord* model = nullptr;
        EXPECT_EQ(zcdbOpenObject(model, db().modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
        const int n = static_cast<int>(model->entityIds().size());
        model->close();
        return n;
    }
};

void ExpectPoint(const ZcGePoint3d& actual, double x, double y, double tol = 1e-9) {
    EXPECT_NEAR(actual.x, x, tol);
    EXPECT_NEAR(actual.y, y, tol);
}

} // namespace

TEST_F(ReaderTest, LineGivesItsTwoEnds) {
    Points points;
    EXPECT_EQ(ReadLineCoordinates(addLine(1, 2, 3, 4), points), 0);
    ASSERT_EQ(points.length(), 2);
    ExpectPoint(points[0], 1, 2, 0);
    ExpectPoint(points[1], 3, 4, 0);
    // Appends to what the list holds.
    EXPECT_EQ(ReadLineCoordinates(addLine(5, 5, 6, 6), points), 0);
    EXPECT_EQ(points.length(), 4);
    EXPECT_EQ(ReadLineCoordinates(addCircle(0, 0, 1), points), 21);
    EXPECT_EQ(points.length(), 4);
}

TEST_F(ReaderTest, CircleWithTwentyAndTwentyFourDivisions) {
    const ZcDbObjectId circle = addCircle(3, 4, 2);
    Points twenty;
    EXPECT_EQ(ReadCircleCoordinates(circle, twenty, 20), 0);
    ASSERT_EQ(twenty.length(), 20);
    for (int i = 0; i < 20; ++i) {
        const double a = 2 * kPi * i / 20;
        ExpectPoint(twenty[i], 3 + 2 * std::cos(a), 4 + 2 * std::sin(a));
    }
    // 24 additions of 2 pi / 24 stay just below 2 pi: a 25th point lands next to the first.
    double t = 0;
    int expected = 0;
    for (; t < 2 * kPi; t += 2 * kPi / 24) {
        ++expected;
    }
    ASSERT_EQ(expected, 25);
    Points twentyFour;
    EXPECT_EQ(ReadCircleCoordinates(circle, twentyFour, 24), 0);
    ASSERT_EQ(twentyFour.length(), 25);
    EXPECT_LT(twentyFour[24].distanceTo(twentyFour[0]), 1e-9);
    EXPECT_GT(twentyFour[1].distanceTo(twentyFour[0]), 0.5);
}

TEST_F(ReaderTest, ArcEndsWithItsEndPoint) {
    // Quarter arc of radius 2 from angle 0 to pi/2: length pi.
    const ZcDbObjectId arc = addArc(0, 0, 2, 0, kPi / 2);
    Points points;
    EXPECT_EQ(ReadArcCoordinates(arc, points, 3), 0);
    ASSERT_EQ(points.length(), 4);
    for (int i = 0; i < 3; ++i) {
        const double a = kPi / 2 * i / 3;
        ExpectPoint(points[i], 2 * std::cos(a), 2 * std::sin(a));
    }
    ExpectPoint(points.last(), 0, 2);
    EXPECT_EQ(ReadArcCoordinates(addLine(0, 0, 1, 0), points, 3), 21);
}

TEST_F(ReaderTest, CurveByParamStepsByEndParameterOverN) {
    // A straight spline of degree 1 with parameters 1 to 3: x = t - 1.
    ZcGePoint3dArray control;
    control.append({0, 0, 0});
    control.append({1, 0, 0});
    control.append({2, 0, 0});
    ZcGeDoubleArray knots;
    for (double k : {1.0, 1.0, 2.0, 3.0, 3.0}) {
        knots.append(k);
    }
    const ZcDbObjectId spline = add(new ZcDbSpline(1, control, knots));
    Points points;
    EXPECT_EQ(ReadCurveByParam(spline, points, 4), 0);
    // The step is E/n = 0.75 from S = 1: parameters 1, 1.75, 2.5, then the end 3.
    ASSERT_EQ(points.length(), 4);
    ExpectPoint(points[0], 0, 0);
    ExpectPoint(points[1], 0.75, 0);
    ExpectPoint(points[2], 1.5, 0);
    ExpectPoint(points[3], 2, 0);
    // The dispatching reader reads a spline the same way.
    Points again;
    EXPECT_EQ(ReadCurveCoordinates(spline, again, 4), 0);
    EXPECT_EQ(again, points);
}

TEST_F(ReaderTest, NoDivisionsReadsEndPointsOnly) {
    const ZcDbObjectId arc = addArc(0, 0, 1, 0, kPi);
    const ZcDbObjectId circle = addCircle(0, 0, 1);
    const ZcDbObjectId bulged = addPolyline({{0, 0, 1}, {2, 0, 0}}, false);
    for (double n : {0.0, -3.0, std::nan("")}) {
        Points a, c, s, p;
        EXPECT_EQ(ReadArcCoordinates(arc, a, n), 0);
        ASSERT_EQ(a.length(), 2);
        ExpectPoint(a[0], 1, 0);
        ExpectPoint(a[1], -1, 0);
        EXPECT_EQ(ReadCircleCoordinates(circle, c, n), 0);
        ASSERT_EQ(c.length(), 1);
        ExpectPoint(c[0], 1, 0);
        EXPECT_EQ(ReadCurveByParam(arc, s, n), 0);
        EXPECT_EQ(s.length(), 2);
        PolylineCoordinatesReader_byParam reader(bulged);
        EXPECT_EQ(reader.Read(p, n), 0);
        EXPECT_EQ(p.length(), 2);
    }
    // Counts beyond a million samples per curve, whose steps would stall the running value,
    // read the end points too.
    Points tiny, tinyArc, tinySpline;
    EXPECT_EQ(ReadCircleCoordinates(circle, tiny, 1e300), 0);
    EXPECT_EQ(tiny.length(), 1);
    EXPECT_EQ(ReadArcCoordinates(arc, tinyArc, 1e17), 0);
    EXPECT_EQ(tinyArc.length(), 2);
    EXPECT_EQ(ReadCurveByParam(arc, tinySpline, 1e7), 0);
    EXPECT_EQ(tinySpline.length(), 2);
    Points many;
    // Large counts below the limit are sampled as usual: as many points as additions stay below
    // the end parameter.
    int additions = 0;
    for (double t = 0; t < 2 * kPi; t += 2 * kPi / 1000) {
        ++additions;
    }
    EXPECT_EQ(ReadCircleCoordinates(circle, many, 1000), 0);
    EXPECT_EQ(many.length(), additions);
    EXPECT_GE(additions, 1000);
}

TEST_F(ReaderTest, BulgedPolylineGivesVerticesAndArcSamplesWithoutDuplicates) {
    // A half circle below the x axis from (0,0) to (2,0) (bulge 1), then a line to (4,0).
    const ZcDbObjectId id = addPolyline({{0, 0, 1}, {2, 0, 0}, {4, 0, 0}}, false);
    PolylineCoordinatesReader_byParam reader(id);
    Points points;
    EXPECT_EQ(reader.Read(points, 4), 0);
    ASSERT_EQ(points.length(), 6);
    ExpectPoint(points[0], 0, 0);
    ExpectPoint(points[2], 1, -1);
    ExpectPoint(points[4], 2, 0);
    ExpectPoint(points[5], 4, 0);
    for (int i = 1; i < 4; ++i) {
        EXPECT_NEAR(points[i].distanceTo({1, 0, 0}), 1.0, 1e-9) << i;
    }
    for (int i = 0; i < points.length(); ++i) {
        for (int j = i + 1; j < points.length(); ++j) {
            EXPECT_GT(points[i].distanceTo(points[j]), 1e-5) << i << " " << j;
        }
    }
    // The closing segment of a closed polyline is sampled too, up to the first vertex.
    const ZcDbObjectId closed = addPolyline({{0, 0, 0}, {2, 0, 1}}, true);
    Points ring;
    EXPECT_EQ(PolylineCoordinatesReader_byParam(closed).Read(ring, 2), 0);
    ASSERT_EQ(ring.length(), 3);
    ExpectPoint(ring[2], 1, 1);
}

TEST_F(ReaderTest, SimplifiedPolylineDropsStraightInteriorPoints) {
    const ZcDbObjectId id =
        addPolyline({{0, 0, 0}, {1, 0, 0}, {2, 1e-6, 0}, {3, 0, 0}, {3, 2, 0}, {3, 4, 0}}, false);
    Points points;
    EXPECT_EQ(PolylineCoordinatesReader_byParam_Simplified(id).Read(points, 20), 0);
    ASSERT_EQ(points.length(), 3);
    ExpectPoint(points[0], 0, 0);
    ExpectPoint(points[1], 3, 0);
    ExpectPoint(points[2], 3, 4);

    // Directions are taken from the last kept point: a point that overshoots along the line
    // to the next one is dropped, one off the line stays.
    Points spike;
    spike.append({0, 0, 0});
    spike.append({2, 0, 0});
    spike.append({1, 0, 0});
    SimplifyPoints(spike);
    EXPECT_EQ(spike.length(), 2);
    Points corner;
    corner.append({0, 0, 0});
    corner.append({2, 0, 0});
    corner.append({2, 1e-3, 0});
    SimplifyPoints(corner);
    EXPECT_EQ(corner.length(), 3);
}

TEST_F(ReaderTest, TriangularRegionGivesItsThreeCorners) {
    const ZcDbObjectId region = addRegion({{0, 0}, {4, 0}, {0, 3}});
    const int before = modelSpaceCount();
    Points points;
    RegionCoordinatesReader reader(region);
    EXPECT_EQ(reader.Read(points, 20), 0);
    ASSERT_EQ(points.length(), 3);
    EXPECT_NEAR(ShoelaceArea(points), 6.0, 1e-12);
    for (const ZcGePoint3d& corner :
         {ZcGePoint3d(0, 0, 0), ZcGePoint3d(4, 0, 0), ZcGePoint3d(0, 3, 0)}) {
        int found = 0;
        for (const ZcGePoint3d& p : points) {
            found += p.distanceTo(corner) < 1e-12 ? 1 : 0;
        }
        EXPECT_EQ(found, 1);
    }
    // The exploded pieces were added only while they were read.
    EXPECT_EQ(modelSpaceCount(), before);
    EXPECT_EQ(RegionCoordinatesReader(addLine(0, 0, 1, 1)).Read(points, 20), 21);
}

TEST(JoinPiece, OrientsEachPieceByItsNearestEnds) {
    auto pts = [](std::initializer_list<std::pair<double, double>> xy) {
        Points p;
        for (auto [x, y] : xy) {
            p.append({x, y, 0});
        }
        return p;
    };
    Points chain;
    JoinPiece(chain, pts({{0, 0}, {1, 0}}));
    EXPECT_EQ(chain, pts({{0, 0}, {1, 0}}));
    // Shared end points stay doubled: joining keeps every point of every piece.
    JoinPiece(chain, pts({{1, 0}, {1, 1}})); // c: appended as it is
    EXPECT_EQ(chain, pts({{0, 0}, {1, 0}, {1, 0}, {1, 1}}));
    JoinPiece(chain, pts({{0, 2}, {1, 1}})); // d: appended reversed
    EXPECT_EQ(chain, pts({{0, 0}, {1, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 2}}));
    JoinPiece(chain, pts({{0, 0}, {-1, 0}})); // a: reversed in front
    EXPECT_EQ(chain.first(), ZcGePoint3d(-1, 0, 0));
    JoinPiece(chain, pts({{-2, 0}, {-1, 0}})); // b: in front as it is
    EXPECT_EQ(chain.first(), ZcGePoint3d(-2, 0, 0));
    EXPECT_EQ(chain.length(), 10);
    // Equal distances: the first of a, b, c, d wins (a: reversed in front).
    Points tie = pts({{0, 0}, {2, 0}});
    JoinPiece(tie, pts({{1, 1}, {1, -1}}));
    EXPECT_EQ(tie, pts({{1, -1}, {1, 1}, {0, 0}, {2, 0}}));
}
