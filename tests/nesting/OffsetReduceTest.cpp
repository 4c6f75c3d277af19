// Offsetting through the integer arithmetic and Visvalingam-Whyatt reduction.
#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/ClipperConversion.h"
#include "nesting/geometry/PointsReducer.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/settings/NestSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace gantrel {

namespace {

NestPolygon Square(double x, double y, double size) {
    return NestPolygon{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
}

double MinDistanceToPolygon(const GePoint& p, const GePoints& polygon) {
    double best = 1e300;
    for (int i = 0; i < polygon.Size(); ++i) {
        const GePoint& a = polygon[i];
        const GePoint& b = polygon.NextPoint(i);
        const Vector ab = b - a;
        double t = Dot(p - a, ab) / Dot(ab, ab);
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, Distance(p, a + ab * t));
    }
    return best;
}

} // namespace

TEST(Offset, GrowsWithRoundCornersAndShrinksHoles) {
    const NestSettings settings;
    NestPolygon part = Square(0, 0, 10);
    part.AddHole(Square(4, 4, 2));
    ASSERT_TRUE(part.Offset(1.0, settings));
    // A square grown by d: (s + 2d)^2 minus the corners' (4 - pi) d^2 for true arcs. The arc
    // tolerance of 0.3 (limited by the arithmetic to d / 4) leaves one chord per corner, which
    // cuts 2 d^2 in all; finer tolerances approach the arcs.
    const double roundArea = 144.0 - (4.0 - std::numbers::pi);
    EXPECT_NEAR(std::fabs(SignedArea(part)), 142.0, 1e-6);
    NestSettings fine;
    fine.arcTolerance = 0.001;
    NestPolygon finePart = Square(0, 0, 10);
    ASSERT_TRUE(finePart.Offset(1.0, fine));
    EXPECT_NEAR(std::fabs(SignedArea(finePart)), roundArea, 0.01);
    EXPECT_LT(std::fabs(SignedArea(finePart)), roundArea);
    // Every outline point lies at distance d from the original square.
    for (const GePoint& p : part) {
        EXPECT_NEAR(MinDistanceToPolygon(p, Square(0, 0, 10)), 1.0, 1e-6);
    }
    ASSERT_EQ(part.HoleCount(), 1);
    EXPECT_NEAR(std::fabs(SignedArea((*part.Holes())[0])), 0.0, 1e-9); // a 2x2 hole shrunk by 1

    NestPolygon sheet = Square(0, 0, 10);
    ASSERT_TRUE(sheet.Offset(-0.5, settings));
    EXPECT_NEAR(std::fabs(SignedArea(sheet)), 81.0, 1e-6);
}

TEST(Offset, CloseIntegerPointsAreMovedApart) {
    // 5e-8 drawing units is 5 integer units at the default scale: the second point moves by 11.
    NestPolygon p{{0, 0}, {5e-8, 5e-8}, {10, 0}, {10, 10}};
    const ClipperLib::Path path = ToIntegerPath(p, 1e8, kClipperRange);
    ASSERT_EQ(path.size(), 4u);
    EXPECT_EQ(path[1].X, 5 + 11);
    EXPECT_EQ(path[1].Y, 5 + 11);
    EXPECT_EQ(path[2].X, 1000000000);
    // Truncation toward zero.
    const ClipperLib::Path negative =
        ToIntegerPath(NestPolygon{{-1.23456789e-7, 2.9e-8}}, 1e8, kClipperRange);
    EXPECT_EQ(negative[0].X, -12);
    EXPECT_EQ(negative[0].Y, 2);
}

TEST(Offset, DegenerateOrOutOfRangeOutlineIsLeftUnchanged) {
    const NestSettings settings;
    NestPolygon line{{0, 0}, {1, 1}, {2, 2}};
    EXPECT_FALSE(line.Offset(1.0, settings));
    EXPECT_EQ(line.Size(), 3);
    NestPolygon huge = Square(0, 0, 1e12); // 1e20 integer units: beyond the arithmetic's range
    EXPECT_FALSE(huge.Offset(1.0, settings));
    EXPECT_EQ(huge[2].x, 1e12);
    EXPECT_THROW(OffsetOutline(Square(0, 0, 1e12), 1.0, 1e8, 0.3), PolygonArithmeticError);
}

TEST(Offset, ShrinkingAwayLeavesAnEmptyOutline) {
    const NestSettings settings;
    NestPolygon small = Square(0, 0, 1);
    EXPECT_TRUE(small.Offset(-1.0, settings));
    EXPECT_EQ(small.Size(), 0);
}

TEST(Reduce, RemovesSmallTrianglesFirstAndKeepsEnds) {
    const VisvalingamWhyattPointsReducer reducer(0.5);
    // Point 1 makes a triangle of area 0.05, point 3 one of area 0.25, point 2 a large one.
    GePoints points{{0, 0}, {1, 0.1}, {2, 0}, {3, 5}, {4, 0}};
    const GePoints reduced = reducer.Reduce(points);
    ASSERT_EQ(reduced.Size(), 4);
    EXPECT_EQ(reduced[1].x, 2.0);
    // Ends stay even when their neighbours are collinear.
    const GePoints line = reducer.Reduce(GePoints{{0, 0}, {1, 0}, {2, 0}, {3, 0}});
    ASSERT_EQ(line.Size(), 2);
    EXPECT_EQ(line[0].x, 0.0);
    EXPECT_EQ(line[1].x, 3.0);
}

TEST(Reduce, EqualAreasRemoveTheLowestIndexFirst) {
    // Every interior point starts with area 1; taking the lowest index each time leaves the
    // points at x = 0, 3, 4 (the highest index first would leave 0, 1, 4).
    const VisvalingamWhyattPointsReducer reducer(1.5);
    const GePoints reduced = reducer.Reduce(GePoints{{0, 0}, {1, 1}, {2, 0}, {3, 1}, {4, 0}});
    std::vector<double> xs;
    for (const GePoint& p : reduced) {
        xs.push_back(p.x);
    }
    EXPECT_EQ(xs, (std::vector<double>{0, 3, 4}));
}

TEST(Reduce, ShortListsAreUnchanged) {
    const VisvalingamWhyattPointsReducer reducer(100.0);
    EXPECT_EQ(reducer.Reduce(GePoints()).Size(), 0);
    EXPECT_EQ(reducer.Reduce(GePoints{{0, 0}, {1, 1}}).Size(), 2);
}

TEST(Reduce, PolygonDropsAClosingPointAndKeepsItsShape) {
    NestPolygon p{{0, 0}, {5, 0.001}, {10, 0}, {10, 10}, {0, 10}, {0, 1e-6}};
    p.SetName(L"keep");
    p.Reduce(2.0);
    EXPECT_EQ(p.Name(), L"keep");
    ASSERT_EQ(p.Size(), 4);
    EXPECT_NEAR(std::fabs(SignedArea(p)), 100.0, 1e-9);
}

} // namespace gantrel
