// The orbiting no-fit polygon: contacts, candidate moves, sliding and whole orbits.
#include "nesting/geometry/Predicates.h"
#include "nesting/nfp/OrbitGeometry.h"
#include "nesting/nfp/OrbitingCalculator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace gantrel {

namespace {

NestPolygon Square(double x, double y, double size) {
    return NestPolygon{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
}

class RecordingSink : public DiagnosticSink {
public:
    void AddPolyline(const GePoints& points, bool closed, int) override {
        polylines.push_back(points);
        allClosed = allClosed && closed;
    }
    std::vector<GePoints> polylines;
    bool allClosed = true;
};

// A start shift that leaves B where it is.
class NoShift : public IStartShiftCalculator {
public:
    Edge Compute(const NestPolygon&, const NestPolygon& b) const override {
        return Edge(b[0], b[0]);
    }
};

} // namespace

TEST(FindTouching, VertexOnVertexIsOnlyKindZero) {
    const NestPolygon a = Square(0, 0, 2);
    const NestPolygon b = Square(2, 2, 1); // b[0] on a[2]
    const TouchingGroup touches = FindTouching(a, b);
    ASSERT_EQ(touches.Size(), 1);
    EXPECT_EQ(touches[0].indexA, 2);
    EXPECT_EQ(touches[0].indexB, 0);
    EXPECT_EQ(touches[0].kind, Touch::VertexOnVertex);
}

TEST(FindTouching, VerticesInsideEdgesGiveKindsOneAndTwo) {
    const NestPolygon a = Square(0, 0, 2);
    const NestPolygon b = Square(0.5, 2, 1); // b[0] and b[1] inside a's top edge (2 -> 3)
    const TouchingGroup touches = FindTouching(a, b);
    ASSERT_EQ(touches.Size(), 2);
    for (const Touch& t : touches) {
        EXPECT_EQ(t.kind, Touch::VertexOfBOnEdgeOfA);
        EXPECT_EQ(t.indexA, 2);
    }
    // The other way round: a's vertex inside b's bottom edge.
    const TouchingGroup reversed = FindTouching(Square(0.5, 2, 1), a);
    ASSERT_EQ(reversed.Size(), 2);
    EXPECT_EQ(reversed[0].kind, Touch::VertexOfAOnEdgeOfB);
}

TEST(SlideDistance, StopsAtTheFirstObstacleOfEitherPolygon) {
    const NestPolygon a = Square(0, 0, 2);
    const NestPolygon b = Square(-3, 0.5, 1);
    EXPECT_NEAR(SlideDistance(a, b, Vector(10, 0)), 2.0, 1e-12);
    // A's vertex runs into B's edge: B with a notch-free slanted left edge hits a's corner.
    const NestPolygon wedge{{3, 1.5}, {5, 1.5}, {5, 2.5}};
    EXPECT_NEAR(SlideDistance(a, wedge, Vector(-10, 0)), 1.0, 1e-12);
    // Nothing in the way: the full move.
    EXPECT_NEAR(SlideDistance(a, Square(-3, 5, 1), Vector(10, 0)), 10.0, 1e-12);
}

TEST(TranslationFinder, NeverChoosesAMoveBackAlongThePreviousOne) {
    const NestPolygon a = Square(0, 0, 2);
    const NestPolygon b = Square(0.5, 2, 1); // sliding along a's top edge, direction (-2, 0)
    const TouchingGroup touches = FindTouching(a, b);
    const PointOnEdgeTranslation previousLeft(Touch{2, 0, 1}, Vector(-2, 0));
    TranslationFinder withPrevious(a, b, touches, &previousLeft);
    const IPosibleTranslation* chosen = withPrevious.FindBest();
    ASSERT_NE(chosen, nullptr);
    EXPECT_LT(chosen->Vector().x, 0.0);
    // The same contacts after a move to the right: every candidate would reverse it.
    const PointOnEdgeTranslation previousRight(Touch{2, 0, 1}, Vector(2, 0));
    TranslationFinder reversed(a, b, touches, &previousRight);
    EXPECT_EQ(reversed.FindBest(), nullptr);
    EXPECT_TRUE(reversed.Candidates().empty());
}

TEST(TranslationFinder, LowestVertexOfAWinsAmongAcceptedCandidates) {
    // Two contacts that both accept each other's move: B's vertices on two collinear edges of
    // A (A has an extra vertex in the middle of its top edge).
    const NestPolygon a{{0, 0}, {4, 0}, {4, 2}, {2, 2}, {0, 2}};
    const NestPolygon b = Square(1, 2, 2); // b[0] inside edge 3 -> 4, b[1] inside edge 2 -> 3
    const TouchingGroup touches = FindTouching(a, b);
    TranslationFinder finder(a, b, touches, nullptr);
    const TranslationList candidates = finder.Candidates();
    ASSERT_GE(candidates.size(), 2u);
    const IPosibleTranslation* chosen = finder.FindBest();
    ASSERT_NE(chosen, nullptr);
    int lowest = 1 << 30;
    for (const auto& c : candidates) {
        lowest = std::min(lowest, c->Order());
    }
    EXPECT_EQ(chosen->Order(), lowest);
}

TEST(Orbit, TwoSquaresCloseWithinTheStepLimit) {
    const NestPolygon a = Square(0, 0, 2);
    const NestPolygon b = Square(5, 5, 1);
    const StartShiftMaxBToMinA startShift;
    MyOwnNoFitPolygonCalculator calculator(startShift);
    const Polygons nfp = calculator.Calculate(a, b);
    ASSERT_EQ(nfp.Size(), 1);
    const NestPolygon& loop = nfp[0];
    EXPECT_LE(loop.Size(), 10 * (4 + 4) + 1);
    EXPECT_TRUE(SamePoint(loop[0], loop.Last(), 0.001));
    // The loop of b's first vertex around a is the square [-1, 2] x [-1, 2].
    const BoundingBox box = BoundingBoxOf(loop);
    EXPECT_NEAR(box.Min().x, -1.0, 1e-9);
    EXPECT_NEAR(box.Min().y, -1.0, 1e-9);
    EXPECT_NEAR(box.Max().x, 2.0, 1e-9);
    EXPECT_NEAR(box.Max().y, 2.0, 1e-9);
    EXPECT_NEAR(std::fabs(SignedArea(loop)), 9.0, 1e-9);
}

TEST(Orbit, FailureIsEmptyAndDrawsPathAndShapes) {
    // Without a start shift B never touches A: no contact, so the orbit fails at once.
    const NestPolygon a = Square(0, 0, 2);
    const NestPolygon b = Square(5, 5, 1);
    const NoShift noShift;
    RecordingSink sink;
    MyOwnNoFitPolygonCalculator calculator(noShift, &sink);
    EXPECT_TRUE(calculator.Calculate(a, b).IsEmpty());
    ASSERT_EQ(sink.polylines.size(), 3u); // path, B, A
    EXPECT_TRUE(sink.allClosed);
    EXPECT_EQ(sink.polylines[0].Size(), 1);
    EXPECT_EQ(sink.polylines[2].Size(), a.Size());
}

TEST(Orbit, DegenerateShapesNeverStartAnOrbit) {
    const StartShiftMaxBToMinA startShift;
    RecordingSink sink;
    MyOwnNoFitPolygonCalculator calculator(startShift, &sink);
    const NestPolygon square = Square(0, 0, 1);
    EXPECT_TRUE(calculator.Calculate(square, NestPolygon{{0, 0}, {1, 0}}).IsEmpty());
    EXPECT_TRUE(calculator.Calculate(NestPolygon{{0, 0}, {1, 1}, {2, 2}}, square).IsEmpty());
    EXPECT_TRUE(sink.polylines.empty());
}

TEST(InnerOrbit, SlidingStartPutsTheSquareInsideAnLShapedSheet) {
    const NestPolygon sheet{{0, 0}, {10, 0}, {10, 4}, {4, 4}, {4, 10}, {0, 10}};
    const NestPolygon part = Square(20, 20, 2);
    const Edge shift = StartShiftBySliding().Compute(sheet, part);
    const NestPolygon placed = part.Translated(shift.direction);
    EXPECT_TRUE(Inside(placed, sheet));
}

TEST(InnerOrbit, TracesEveryPositionOfASquareInARectangle) {
    // A sheet that is a rectangle given with five points is not a rectangle for the shortcut.
    const NestPolygon sheet{{0, 0}, {5, 0}, {10, 0}, {10, 6}, {0, 6}};
    const NestPolygon part = Square(0, 0, 2);
    const StartShiftBySliding startShift;
    IFPCalculator calculator(startShift);
    const Polygons ifp = calculator.Calculate(sheet, part);
    ASSERT_EQ(ifp.Size(), 1);
    const BoundingBox box = BoundingBoxOf(ifp[0]);
    EXPECT_NEAR(box.Min().x, 0.0, 1e-9);
    EXPECT_NEAR(box.Min().y, 0.0, 1e-9);
    EXPECT_NEAR(box.Max().x, 8.0, 1e-9);
    EXPECT_NEAR(box.Max().y, 4.0, 1e-9);
}

} // namespace gantrel
