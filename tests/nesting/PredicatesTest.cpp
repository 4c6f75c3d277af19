// Predicates and measures of the nesting geometry at their tolerances.
#include "nesting/geometry/Predicates.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace gantrel {

namespace {

NestPolygon Square(double x, double y, double size) {
    return NestPolygon{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
}

} // namespace

TEST(OnSegment, ExcludesBothEndsOnEveryKindOfSegment) {
    const GePoint vertical[2] = {{1, 0}, {1, 4}};
    const GePoint horizontal[2] = {{0, 2}, {4, 2}};
    const GePoint slanted[2] = {{0, 0}, {4, 2}};
    for (const auto* seg : {vertical, horizontal, slanted}) {
        EXPECT_FALSE(OnSegment(seg[0], seg[1], seg[0]));
        EXPECT_FALSE(OnSegment(seg[0], seg[1], seg[1]));
        const GePoint mid(0.5 * (seg[0].x + seg[1].x), 0.5 * (seg[0].y + seg[1].y));
        EXPECT_TRUE(OnSegment(seg[0], seg[1], mid));
        EXPECT_TRUE(OnClosedSegment(seg[0], seg[1], seg[1]));
    }
    // Within the tolerance of an end counts as the end.
    EXPECT_FALSE(OnSegment(GePoint(0, 0), GePoint(4, 2), GePoint(4 - 5e-8, 2 - 2.5e-8)));
    // Beyond the segment and beside the line.
    EXPECT_FALSE(OnSegment(GePoint(0, 0), GePoint(4, 2), GePoint(6, 3)));
    EXPECT_FALSE(OnSegment(GePoint(0, 0), GePoint(4, 2), GePoint(2, 1.001)));
    EXPECT_FALSE(OnSegment(GePoint(1, 0), GePoint(1, 4), GePoint(1, 5)));
}

TEST(LineIntersection, ParallelLinesAndMissedSegmentsGiveNoValue) {
    EXPECT_FALSE(LineIntersection(GePoint(0, 0), GePoint(1, 0), GePoint(0, 1), GePoint(1, 1), true)
                     .HasValue());
    const GePoint infinite =
        LineIntersection(GePoint(0, 0), GePoint(1, 0), GePoint(3, -1), GePoint(3, 1), true);
    ASSERT_TRUE(infinite.HasValue());
    EXPECT_DOUBLE_EQ(infinite.x, 3.0);
    EXPECT_DOUBLE_EQ(infinite.y, 0.0);
    EXPECT_FALSE(SegmentIntersection(GePoint(0, 0), GePoint(1, 0), GePoint(3, -1), GePoint(3, 1))
                     .HasValue());
    // Segments meeting at an end point intersect there.
    const DblPoint atEnd =
        SegmentIntersection(GePoint(0, 0), GePoint(2, 0), GePoint(2, 0), GePoint(2, 5));
    ASSERT_TRUE(atEnd.HasValue());
    EXPECT_DOUBLE_EQ(atEnd.x.value, 2.0);
}

TEST(SignedArea, PositiveClockwiseNegativeCounterClockwise) {
    NestPolygon square = Square(0, 0, 2);
    EXPECT_DOUBLE_EQ(SignedArea(square), -4.0);
    square.Reverse();
    EXPECT_DOUBLE_EQ(SignedArea(square), 4.0);
    EXPECT_EQ(SignedArea(NestPolygon()), 0.0);
    Polygons both;
    both.Add(square);
    both.Add(Square(5, 5, 1));
    EXPECT_DOUBLE_EQ(TotalArea(both), 5.0);
}

TEST(Contains, BoundaryIsOutsideAndPositionShifts) {
    NestPolygon square = Square(0, 0, 2);
    EXPECT_TRUE(Contains(square, GePoint(1, 1)));
    EXPECT_FALSE(Contains(square, GePoint(0, 0)));   // vertex
    EXPECT_FALSE(Contains(square, GePoint(1, 0)));   // edge
    EXPECT_FALSE(Contains(square, GePoint(2, 1.5))); // vertical edge
    EXPECT_FALSE(Contains(square, GePoint(3, 1)));
    square.SetPosition(10, 0);
    EXPECT_FALSE(Contains(square, GePoint(1, 1)));
    EXPECT_TRUE(Contains(square, GePoint(11, 1)));
}

TEST(Contains, SkipsEdgesOfRepeatedPoints) {
    NestPolygon square{{0, 0}, {2, 0}, {2, 0}, {2, 2}, {0, 2}};
    EXPECT_TRUE(Contains(square, GePoint(1, 1)));
    EXPECT_FALSE(Contains(square, GePoint(3, 1)));
}

TEST(IsRectangle, FourCornersOnlyAndAxisAligned) {
    EXPECT_TRUE(IsRectangle(Square(1, 1, 3)));
    NestPolygon closed = Square(1, 1, 3);
    closed.Add(closed[0]); // a repeated closing point
    EXPECT_FALSE(IsRectangle(closed));
    EXPECT_FALSE(IsRectangle(Square(0, 0, 1).RotatedAbout(30, GePoint(0, 0))));
    EXPECT_FALSE(IsRectangle(NestPolygon{{0, 0}, {2, 0}, {2, 1}, {1, 2}}));
}

TEST(BoundingBox, GrowsContainsWithSlackAndInflates) {
    BoundingBox box;
    EXPECT_FALSE(box.IsSet());
    box.Add(GePoint(1, 2));
    EXPECT_EQ(box.Width(), 0.0);
    box.Add(GePoint(-1, 5));
    EXPECT_DOUBLE_EQ(box.Width(), 2.0);
    EXPECT_DOUBLE_EQ(box.Height(), 3.0);
    EXPECT_TRUE(box.Contains(GePoint(1 + 5e-7, 5)));
    EXPECT_FALSE(box.Contains(GePoint(1 + 2e-6, 5)));
    box.Inflate(1);
    EXPECT_DOUBLE_EQ(box.Min().x, -2.0);
    EXPECT_DOUBLE_EQ(box.Max().y, 6.0);
}

TEST(Equality, NamesRotationsPointsAndHoles) {
    NestPolygon a = Square(0, 0, 1);
    a.SetName(L"Part");
    NestPolygon b = a;
    b.SetName(L"PART");
    EXPECT_TRUE(IsSame(a, b));
    EXPECT_TRUE(Differs(a, b)); // case-sensitive
    b.SetName(L"Part");
    b[2].x += 5e-6; // not Apart
    EXPECT_FALSE(Differs(a, b));
    b[2].x += 1e-4;
    EXPECT_FALSE(IsSame(a, b));
    NestPolygon c = a;
    c.SetRotation(1e-9);
    EXPECT_FALSE(IsSame(a, c));
    NestPolygon d = a;
    d.AddHole(Square(0.2, 0.2, 0.1));
    EXPECT_FALSE(IsSame(a, d));
}

TEST(IsUsableOutline, RejectsDegenerateOutlines) {
    EXPECT_TRUE(IsUsableOutline(Square(0, 0, 1)));
    EXPECT_FALSE(IsUsableOutline(NestPolygon()));
    EXPECT_FALSE(IsUsableOutline(NestPolygon{{0, 0}, {1, 0}}));
    EXPECT_FALSE(IsUsableOutline(NestPolygon{{0, 0}, {1, 1}, {2, 2}}));         // zero area
    EXPECT_FALSE(IsUsableOutline(NestPolygon{{0, 0}, {1, 0}, {1, 1}, {0, 0}})); // repeated
    EXPECT_FALSE(IsUsableOutline(NestPolygon{{0, 0}, {1, 0}, {1, 0}, {1, 1}})); // consecutive
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_FALSE(IsUsableOutline(NestPolygon{{0, 0}, {1, 0}, {nan, 1}}));
}

} // namespace gantrel
