// Growing a part so that it covers everything within the spacing, shrinking a sheet so that it
// keeps only what lies that far inside, reducing points without crossing either limit, and the
// outlines a part may not be nested with.
#include "nesting/geometry/NestPolygon.h"
#include "nesting/geometry/OutlineRepair.h"
#include "nesting/geometry/PointsReducer.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/settings/NestSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gantrel {

namespace {

double PointToEdges(const GePoint& p, const GePoints& polygon) {
    double best = 1e300;
    for (int i = 0; i < polygon.Size(); ++i) {
        const GePoint& a = polygon[i];
        const Vector ab = polygon.NextPoint(i) - a;
        const double t = std::clamp(Dot(p - a, ab) / Dot(ab, ab), 0.0, 1.0);
        best = std::min(best, Distance(p, a + ab * t));
    }
    return best;
}

// The distance between the boundaries of two outlines that do not cross.
double BoundaryGap(const GePoints& a, const GePoints& b) {
    double best = 1e300;
    for (const GePoint& p : a)
        best = std::min(best, PointToEdges(p, b));
    for (const GePoint& p : b)
        best = std::min(best, PointToEdges(p, a));
    return best;
}

NestPolygon Disc(double radius, int points) {
    NestPolygon disc;
    for (int i = 0; i < points; ++i) {
        const double a = 2.0 * std::numbers::pi * i / points;
        disc.AddXY(radius * std::cos(a), radius * std::sin(a));
    }
    return disc;
}

std::vector<NestPolygon> Shapes() {
    return {NestPolygon{{0, 0}, {10, 0}, {10, 10}, {0, 10}},
            // A sliver of a triangle: a corner far sharper than the mitre limit.
            NestPolygon{{0, 0}, {100, 0}, {0, 8}},
            // An L: one reflex corner.
            NestPolygon{{0, 0}, {300, 0}, {300, 100}, {100, 100}, {100, 200}, {0, 200}},
            Disc(150, 24)};
}

bool Inside(const GePoints& outer, const GePoint& p) {
    NestPolygon ring;
    ring.AddPoints(outer);
    return Contains(ring, p);
}

} // namespace

TEST(Grow, APartGrownCoversEverythingWithinTheDistanceWhereRoundJoinsFallShort) {
    const NestSettings settings;
    for (const double d : {0.5, 5.0}) {
        for (const NestPolygon& shape : Shapes()) {
            NestPolygon grown = shape;
            ASSERT_TRUE(grown.Grow(d, settings));
            for (const GePoint& p : shape)
                EXPECT_TRUE(Inside(grown, p));
            EXPECT_GE(BoundaryGap(grown, shape), d - 1e-6) << d << " " << shape.Size();
        }
        // Round joins cut the corners of a square inside the grown shape.
        NestPolygon round = Shapes()[0];
        ASSERT_TRUE(round.Offset(d, settings));
        EXPECT_LT(BoundaryGap(round, Shapes()[0]), d - 1e-3);
    }
}

TEST(Grow, ASheetShrunkKeepsOnlyWhatLiesTheDistanceInside) {
    const NestSettings settings;
    for (const double d : {0.5, 5.0}) {
        for (const NestPolygon& shape : Shapes()) {
            NestPolygon shrunk = shape;
            ASSERT_TRUE(shrunk.Grow(-d, settings));
            if (shrunk.Size() == 0)
                continue; // the sliver has nothing that far inside
            for (const GePoint& p : shrunk)
                EXPECT_TRUE(Inside(shape, p));
            EXPECT_GE(BoundaryGap(shrunk, shape), d - 1e-6) << d << " " << shape.Size();
        }
    }
    NestPolygon sliver = Shapes()[1];
    ASSERT_TRUE(sliver.Grow(-5.0, settings));
    EXPECT_EQ(sliver.Size(), 0);
}

TEST(Reduce, PointsGoOnlyWhereTheOutlineMovesToTheAllowedSide) {
    // A fine disc: every corner convex, every triangle far below the threshold.
    const NestPolygon disc = Disc(40, 400);
    NestPolygon any = disc;
    any.Reduce(2.0);
    EXPECT_LT(any.Size(), 100) << "the plain reduction cuts across the curve";
    NestPolygon outside = disc;
    outside.Reduce(2.0, ReductionSide::Outside);
    EXPECT_EQ(outside.Size(), disc.Size());

    // A saw-tooth edge: the outward reduction bridges the notches, the inward one cuts the teeth.
    NestPolygon saw{{0, 0}, {100, 0}, {100, 50}};
    for (int i = 0; i < 40; ++i) {
        saw.AddXY(98.5 - 1.5 * i, i % 2 == 0 ? 51.0 : 50.0);
    }
    saw.AddXY(0, 50);
    NestPolygon grown = saw;
    grown.Reduce(2.0, ReductionSide::Outside);
    NestPolygon shrunk = saw;
    shrunk.Reduce(2.0, ReductionSide::Inside);
    EXPECT_LT(grown.Size(), saw.Size());
    EXPECT_LT(shrunk.Size(), saw.Size());
    for (const GePoint& p : saw) {
        EXPECT_TRUE(Inside(grown, p) || PointToEdges(p, grown) < 1e-9) << p.x << "," << p.y;
    }
    for (const GePoint& p : shrunk) {
        EXPECT_TRUE(Inside(saw, p) || PointToEdges(p, saw) < 1e-9) << p.x << "," << p.y;
    }
}

TEST(RepairOutline, TellsWhyAnOutlineCannotBeNestedAndJoinsOneThatFoldsOverItself) {
    const double scale = NestSettings().integerScale;
    EXPECT_EQ(RepairOutline(GePoints{{0, 0}, {1, 1}}, scale).fault, OutlineFault::TooFewPoints);
    EXPECT_EQ(RepairOutline(GePoints{{0, 0}, {0, 1e-7}, {1e-7, 0}, {0, 0}}, scale).fault,
              OutlineFault::TooFewPoints);
    EXPECT_EQ(RepairOutline(GePoints{{0, 0}, {5, 0}, {10, 0}, {5, 0}}, scale).fault,
              OutlineFault::NoArea);
    // A bow-tie encloses two triangles.
    EXPECT_EQ(RepairOutline(GePoints{{0, 0}, {6, 6}, {6, 0}, {0, 6}}, scale).fault,
              OutlineFault::CrossesItself);

    // Far from the origin, a plain ring is kept as read, repeated points aside.
    const double far = 1e11;
    const RepairedOutline plain = RepairOutline(GePoints{{far, far},
                                                         {far + 10, far},
                                                         {far + 10, far},
                                                         {far + 10, far + 5},
                                                         {far, far + 5},
                                                         {far, far}},
                                                scale);
    ASSERT_EQ(plain.fault, OutlineFault::None);
    EXPECT_EQ(plain.outline.Size(), 4);
    EXPECT_EQ(plain.outline[3].y, far + 5);

    // A corner folded over the outline: the union is one outline, with the fold's area.
    const GePoints folded{{0, 0}, {60, 0}, {60, 40}, {50, 40}, {65, 30}, {70, 45}, {0, 40}};
    const RepairedOutline joined = RepairOutline(folded, scale);
    ASSERT_EQ(joined.fault, OutlineFault::None);
    EXPECT_TRUE(IsUsableOutline(joined.outline));
    EXPECT_GT(std::fabs(SignedArea(joined.outline)), 60.0 * 40.0);
    for (const GePoint& p : folded)
        EXPECT_TRUE(Inside(joined.outline, p) || PointToEdges(p, joined.outline) < 1e-6);
    EXPECT_EQ(OutlineFaultText(OutlineFault::NoArea), L"its outline encloses no area");
}

} // namespace gantrel
