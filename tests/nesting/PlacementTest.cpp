// The placer on small hand-made cases: the first position and its tie rule, parts that do not
// fit, the empty sheet, stopping, exact fits with spacing 0, and the exact-fit point search.
#include "StripNesting.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/place/ExactFit.h"
#include "nesting/place/PositionRater.h"
#include "nesting/place/Ukladacz.h"
#include "nesting/search/ArrangementStep.h"

#include <gtest/gtest.h>

namespace gantrel {
namespace {

NestPolygon Rectangle(const std::wstring& name, double x, double y, double w, double h) {
    NestPolygon p{GePoint(x, y), GePoint(x + w, y), GePoint(x + w, y + h), GePoint(x, y + h)};
    p.SetName(name);
    return p;
}

Polygons Squares(int n, double side) {
    Polygons parts;
    for (int i = 0; i < n; ++i) {
        parts.Add(Rectangle(L"sq" + std::to_wstring(i), 0, 0, side, side));
    }
    return parts;
}

NestSettings ExactSettings() {
    NestSettings settings;
    settings.spacing = 0.0;
    return settings;
}

Result Place(const NestPolygon& sheet, const Polygons& parts,
             const NestingStopProvider* stop = nullptr) {
    NfpCache cache;
    const NestSettings settings = ExactSettings();
    return PlaceArrangement(parts, sheet, BuildNfpTable(parts, sheet, settings, cache, true),
                            settings, stop);
}

// The layout as a strip problem, for the independent check.
testing::StripProblem AsProblem(const NestPolygon& sheet, const Polygons& parts) {
    testing::StripProblem problem;
    problem.sheet = sheet;
    problem.parts = parts;
    problem.stripHeight = BoundingBoxOf(sheet).Height();
    return problem;
}

class StopAfterFirst : public NestingStopProvider {
public:
    bool ShouldStop() const override { return true; }
};

TEST(Ukladacz, FirstPartGoesToTheLeftmostInnerFitVertexFirstMetOnTies) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    // The reference point is the part's first point, its top right corner here.
    NestPolygon part{GePoint(50, 40), GePoint(0, 40), GePoint(0, 0), GePoint(50, 0)};
    part.SetName(L"p");
    const Result result = Place(sheet, Polygons{part});
    ASSERT_EQ(result.PlacedCount(), 1);
    const Position& position = result.sheets[0][0];
    // Bottom-left and top-left inner-fit vertices share the smallest x; the bottom one comes
    // first in the loop.
    EXPECT_DOUBLE_EQ(position.translation.x, 0.0);
    EXPECT_DOUBLE_EQ(position.translation.y, 0.0);
    EXPECT_FALSE(position.translation.noValue);
    EXPECT_TRUE(position.placed);
    EXPECT_EQ(position.name, L"p");
    EXPECT_TRUE(position.paths.empty());
}

TEST(Ukladacz, SecondPartGoesLeftmostWithoutOverlapAndCarriesTheUnion) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    const Polygons parts{Rectangle(L"a", 0, 0, 100, 80), Rectangle(L"b", 0, 0, 60, 60)};
    NfpCache cache;
    Ukladacz placer(sheet, parts, BuildNfpTable(parts, sheet, ExactSettings(), cache, true),
                    ExactSettings(), nullptr);
    Result result;
    placer.PlaceAll(result);
    ASSERT_EQ(result.PlacedCount(), 2);
    const Position& second = result.sheets[0][1];
    // Above the first part: the free stretch x 0, y 80 to 140. Its two ends share the smallest
    // x; the one met first in the feasible region's path order wins.
    EXPECT_NEAR(second.translation.x, 0.0, 1e-6);
    const IntegerPoint* first = nullptr;
    for (const IntegerPath& path : placer.FeasibleRegion()) {
        for (const IntegerPoint& v : path) {
            if (first == nullptr || v.x < first->x) {
                first = &v;
            }
        }
    }
    ASSERT_NE(first, nullptr);
    EXPECT_NEAR(second.translation.y, static_cast<double>(first->y) * 1e-8, 1e-6);
    EXPECT_TRUE(second.translation.y == 80.0 || second.translation.y == 140.0);
    EXPECT_FALSE(second.paths.empty());
    EXPECT_EQ(testing::CheckLayout(AsProblem(sheet, parts), result.sheets[0], "second-part"), "");
}

TEST(Ukladacz, APartLargerThanTheSheetIsSkippedAndTheNextPlaced) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    const Polygons parts{Rectangle(L"big", 0, 0, 400, 50), Rectangle(L"tall", 0, 0, 50, 250),
                         Rectangle(L"small", 0, 0, 50, 50)};
    const Result result = Place(sheet, parts);
    ASSERT_EQ(result.PlacedCount(), 1);
    EXPECT_EQ(result.sheets[0][0].name, L"small");
    EXPECT_GT(result.rating, 0.0);
}

TEST(Ukladacz, NoPartFittingGivesAnEmptyLayoutAndTheEmptySheetTheEmptyResult) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    const Result none = Place(sheet, Polygons{Rectangle(L"big", 0, 0, 400, 50)});
    ASSERT_EQ(none.sheets.Size(), 1);
    EXPECT_EQ(none.PlacedCount(), 0);
    EXPECT_EQ(none.rating, 0.0); // no area, no width

    NestPolygon empty;
    empty.SetName(L"-1");
    Ukladacz placer(empty, Squares(2, 10), NfpMap(), ExactSettings(), nullptr);
    Result result;
    placer.PlaceAll(result);
    EXPECT_TRUE(result.IsEmpty());
    EXPECT_EQ(result.rating, kEmptyRating);
}

TEST(Ukladacz, AMissingNoFitPolygonLeavesThePartOut) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    const Polygons parts = Squares(3, 50);
    NfpCache cache;
    NfpMap table = BuildNfpTable(parts, sheet, ExactSettings(), cache, true);
    table.erase(NoFitKey(parts[0], parts[2]));
    const Result result = PlaceArrangement(parts, sheet, table, ExactSettings(), nullptr);
    ASSERT_EQ(result.PlacedCount(), 2);
    EXPECT_EQ(result.sheets[0][1].name, L"sq1");
}

TEST(Ukladacz, AStopRequestEndsAfterTheNextSuccessfulPlacement) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    Polygons parts = Squares(4, 50);
    parts.Insert(0, Rectangle(L"big", 0, 0, 400, 50)); // not placed, so no stop question
    const StopAfterFirst stop;
    const Result result = Place(sheet, parts, &stop);
    ASSERT_EQ(result.PlacedCount(), 1);
    EXPECT_EQ(result.sheets[0][0].name, L"sq0");
}

TEST(Ukladacz, SquaresTileTheSheetExactlyWithSpacingZero) {
    // 3 x 2 squares fill the sheet; the seventh has no place left.
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    const Polygons parts = Squares(7, 100);
    const Result result = Place(sheet, parts);
    ASSERT_EQ(result.PlacedCount(), 6);
    EXPECT_EQ(testing::CheckLayout(AsProblem(sheet, parts), result.sheets[0], "tiled-squares"), "");
    EXPECT_NEAR(result.rating, 6 * 100.0 * 100.0 - 300.0, 1e-6);
}

TEST(Ukladacz, PartsAsHighAsTheStripFollowEachOther) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 1000, 100);
    const Polygons parts = Squares(4, 100);
    const Result result = Place(sheet, parts);
    ASSERT_EQ(result.PlacedCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(result.sheets[0][i].translation.x, 100.0 * i, 1e-6);
        EXPECT_NEAR(result.sheets[0][i].translation.y, 0.0, 1e-6);
    }
}

// Without the exact-fit search, the sliver removal refuses the exact fits.
class SliverOnlyPlacer : public Ukladacz {
public:
    using Ukladacz::Ukladacz;
    bool ExactFitPosition(const NestPolygon&, Position&) override { return false; }
};

TEST(Ukladacz, WithoutTheExactFitSearchExactFitsWouldBeRefused) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    const Polygons parts = Squares(6, 100);
    NfpCache cache;
    SliverOnlyPlacer placer(sheet, parts, BuildNfpTable(parts, sheet, ExactSettings(), cache, true),
                            ExactSettings(), nullptr);
    Result result;
    placer.PlaceAll(result);
    EXPECT_LT(result.PlacedCount(), 6);
}

TEST(Ukladacz, PlacedPointsAndTheCandidateLayout) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    const Polygons parts{Rectangle(L"a", 0, 0, 100, 80)};
    NfpCache cache;
    Ukladacz placer(sheet, parts, BuildNfpTable(parts, sheet, ExactSettings(), cache, true),
                    ExactSettings(), nullptr);
    Result result;
    placer.PlaceAll(result);
    ASSERT_EQ(placer.PlacedParts().Size(), 1);
    const GePoints placed = placer.PlacedPoints();
    EXPECT_EQ(placed.Size(), 4);
    Position candidate;
    candidate.translation = GePoint(150, 0);
    const NestPolygon next = Rectangle(L"b", 0, 0, 20, 20);
    const GePoints layout = placer.LayoutPointsWith(next, candidate);
    ASSERT_EQ(layout.Size(), 8);
    EXPECT_DOUBLE_EQ(layout[4].x, 150.0);
    EXPECT_DOUBLE_EQ(PositionRater(layout, candidate).Rate(), 170.0);
}

TEST(Ukladacz, CleaningDropsNearDuplicatesAndSlivers) {
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 300, 200);
    Ukladacz placer(sheet, Polygons(), NfpMap(), ExactSettings(), nullptr);
    const std::int64_t s = 100000000;
    // A square of 1 x 1 units, a repeated point 5 integer units off, and a zero-area path.
    IntegerPaths paths{{{0, 0}, {5, 5}, {s, 0}, {s, s}, {0, s}}, {{0, 0}, {3 * s, 0}, {6 * s, 0}}};
    ASSERT_TRUE(placer.CleanFeasibleRegion(paths));
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].size(), 4u);
    // A region whose box has width + height below 2 units loses its first path, then is empty.
    IntegerPaths tiny{{{0, 0}, {s / 2, 0}, {s / 2, s / 2}, {0, s / 2}}};
    EXPECT_FALSE(placer.CleanFeasibleRegion(tiny));
}

TEST(ExactFit, BoundariesAreFreeInteriorsAreNot) {
    const IntegerPath square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    EXPECT_EQ(Locate({50, 50}, square), PointLocation::Inside);
    EXPECT_EQ(Locate({100, 50}, square), PointLocation::OnBoundary);
    EXPECT_EQ(Locate({105, 50}, square), PointLocation::OnBoundary); // within the slack
    EXPECT_EQ(Locate({150, 50}, square), PointLocation::Outside);
    // A hole (turning the other way) is not interior; its boundary neither.
    const IntegerPaths ring{{{-100, -100}, {200, -100}, {200, 200}, {-100, 200}},
                            {{0, 0}, {0, 100}, {100, 100}, {100, 0}}};
    EXPECT_FALSE(InInterior({50, 50}, ring));
    EXPECT_FALSE(InInterior({0, 50}, ring));
    EXPECT_TRUE(InInterior({-50, 50}, ring));
}

TEST(ExactFit, TheLeftmostFreePointOfASegmentBetweenTwoRegions) {
    // The inner-fit region is a segment x in [0, 1000] at y 0; two placed regions cover it but
    // for the point x 400 where they touch, and the stretch beyond 900.
    const IntegerPaths innerFit{{{0, 0}, {1000, 0}, {1000, 0}, {0, 0}}};
    const std::vector<IntegerPaths> forbidden{
        {{{-500, -100}, {400, -100}, {400, 100}, {-500, 100}}},
        {{{400, -100}, {900, -100}, {900, 100}, {400, 100}}}};
    const auto spot = LeftmostFreePoint(innerFit, forbidden);
    ASSERT_TRUE(spot.has_value());
    EXPECT_EQ(spot->x, 400);
    EXPECT_EQ(spot->y, 0);
    // Overlapping regions leave only the far stretch.
    const std::vector<IntegerPaths> overlapping{
        {{{-500, -100}, {450, -100}, {450, 100}, {-500, 100}}},
        {{{400, -100}, {900, -100}, {900, 100}, {400, 100}}}};
    const auto far = LeftmostFreePoint(innerFit, overlapping);
    ASSERT_TRUE(far.has_value());
    EXPECT_EQ(far->x, 900);
    const std::vector<IntegerPaths> covered{
        {{{-100, -100}, {2000, -100}, {2000, 100}, {-100, 100}}}};
    EXPECT_FALSE(LeftmostFreePoint(innerFit, covered).has_value());
}

} // namespace
} // namespace gantrel
