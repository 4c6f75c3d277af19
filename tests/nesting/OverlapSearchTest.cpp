// The overlap search: every layout it reports places every part at an allowed angle, validly,
// each narrower than the one before; it closes the gaps a row of rectangles leaves; it refuses a
// start it cannot work from; and the improving search hands over to it and still ends on time.
#include "nesting/improve/OverlapSearch.h"
#include "StripNesting.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/improve/Evaluation.h"
#include "nesting/improve/ImprovingSearch.h"
#include "nesting/improve/Neighbourhood.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

namespace gantrel {
namespace {

std::vector<std::vector<double>> FittingAngles(const Neighbourhood& moves) {
    std::vector<std::vector<double>> angles;
    for (int p = 0; p < moves.Size(); ++p) {
        angles.push_back(moves.FittingAnglesOf(p));
    }
    return angles;
}

struct Shrunk {
    std::vector<Positions> found;
    std::vector<double> widths;
    std::int64_t moves = 0;
    bool usable = false;
};

// Runs the overlap search from start for up to `moves` moves.
Shrunk RunOverlapSearch(const testing::StripProblem& problem, const NestSettings& settings,
                        const Positions& start, std::int64_t moves, std::uint64_t seed) {
    const Neighbourhood neighbourhood(problem.parts, problem.sheet, settings);
    const std::vector<std::vector<double>> angles = FittingAngles(neighbourhood);
    NfpCache cache;
    NfpIndex index(cache, problem.sheet);
    EnsureNoFitPolygons({OverlapSearch::Shapes(problem.parts, angles)}, settings, index, nullptr);
    OverlapSearch search(problem.parts, angles, start, index, problem.sheet, seed);
    Shrunk run;
    run.usable = search.Usable();
    search.Run([&] { return search.Moves() >= moves; },
               [&run](const Positions& positions, double width) {
                   run.found.push_back(positions);
                   run.widths.push_back(width);
               });
    run.moves = search.Moves();
    return run;
}

// Every part once, at one of the angles it may take.
void ExpectEveryPartAtAnAllowedAngle(const testing::StripProblem& problem,
                                     const NestSettings& settings, const Positions& positions) {
    const Neighbourhood moves(problem.parts, problem.sheet, settings);
    ASSERT_EQ(positions.Size(), problem.parts.Size());
    for (int p = 0; p < problem.parts.Size(); ++p) {
        const auto it = std::find_if(positions.begin(), positions.end(), [&](const Position& at) {
            return at.name == problem.parts[p].Name();
        });
        ASSERT_NE(it, positions.end());
        const std::vector<double>& allowed = moves.FittingAnglesOf(p);
        EXPECT_NE(std::find(allowed.begin(), allowed.end(), it->rotation), allowed.end());
    }
}

TEST(OverlapSearch, EveryLayoutFoundIsWholeValidAndNarrowerThanTheOneBefore) {
    for (const char* name : {"fu", "jakobs1"}) {
        SCOPED_TRACE(name);
        const testing::StripProblem problem =
            testing::MakeStripProblem(testing::LoadEsicup(name), true);
        const NestSettings settings = testing::StripSettings(problem, true, 10);
        const testing::SearchRun start = testing::RunStripSearch(problem, settings, 10, 1, false);
        ASSERT_EQ(start.best.PlacedCount(), problem.parts.Size());
        const Shrunk run = RunOverlapSearch(problem, settings, start.best.sheets[0], 3000, 1);
        ASSERT_TRUE(run.usable);
        ASSERT_FALSE(run.found.empty());
        double width = testing::UsedLength(problem, start.best.sheets[0]);
        for (std::size_t k = 0; k < run.found.size(); ++k) {
            ExpectEveryPartAtAnAllowedAngle(problem, settings, run.found[k]);
            EXPECT_EQ(testing::CheckLayout(problem, run.found[k], "overlap-search"), "");
            const double next = testing::UsedLength(problem, run.found[k]);
            EXPECT_NEAR(next, run.widths[k], 1e-9 * width);
            // At least the least cut (0.1 %) below the layout before.
            EXPECT_LT(next, width * (1.0 - 0.001) + 1e-9 * width);
            width = next;
        }
    }
}

TEST(OverlapSearch, ARowOfRectanglesClosesUpToTheirArea) {
    // Four rectangles that tile a 10 by 10 square, started in a row 20 long with gaps: the search
    // moves them over each other and apart until they stand two by two.
    testing::StripProblem problem;
    problem.name = "row";
    problem.stripHeight = 10.0;
    problem.sheet = testing::NamedRectangle(L"-1", 40.0, 10.0);
    problem.parts =
        Polygons{testing::NamedRectangle(L"a", 6, 6), testing::NamedRectangle(L"b", 6, 4),
                 testing::NamedRectangle(L"c", 4, 6), testing::NamedRectangle(L"d", 4, 4)};
    problem.totalArea = TotalArea(problem.parts);
    const NestSettings settings = testing::StripSettings(problem, false, 10);
    Positions row;
    double x = 0.0;
    for (const NestPolygon& part : problem.parts) {
        Position at;
        at.name = part.Name();
        at.translation = GePoint(x, 0.0);
        at.placed = true;
        row.Add(at);
        x += (part.Name() == L"a" || part.Name() == L"b" ? 6.0 : 4.0) + 1.0;
    }
    ASSERT_EQ(testing::CheckLayout(problem, row, "overlap-row-start"), "");
    const Shrunk run = RunOverlapSearch(problem, settings, row, 20000, 3);
    ASSERT_TRUE(run.usable);
    ASSERT_FALSE(run.found.empty());
    EXPECT_LT(run.widths.back(), 10.0 * 1.01);
    EXPECT_EQ(testing::CheckLayout(problem, run.found.back(), "overlap-row"), "");
}

TEST(OverlapSearch, AStartItCannotWorkFromIsRefused) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("fu"), true);
    const NestSettings settings = testing::StripSettings(problem, true, 10);
    const testing::SearchRun start = testing::RunStripSearch(problem, settings, 10, 1, false);
    ASSERT_EQ(start.best.PlacedCount(), problem.parts.Size());
    const Neighbourhood neighbourhood(problem.parts, problem.sheet, settings);
    const std::vector<std::vector<double>> angles = FittingAngles(neighbourhood);
    NfpCache cache;
    NfpIndex index(cache, problem.sheet);

    // No no-fit sets known yet.
    for (int k = 0; k < problem.parts.Size(); ++k) {
        index.Handle(OverlapSearch::Shapes(problem.parts, angles)[k]);
    }
    EXPECT_FALSE(OverlapSearch(problem.parts, angles, start.best.sheets[0], index, problem.sheet, 1)
                     .Usable());
    EnsureNoFitPolygons({OverlapSearch::Shapes(problem.parts, angles)}, settings, index, nullptr);
    EXPECT_TRUE(OverlapSearch(problem.parts, angles, start.best.sheets[0], index, problem.sheet, 1)
                    .Usable());

    // A part left out, a part at an angle it may not take, a sheet that is not a rectangle.
    Positions missing = start.best.sheets[0];
    missing[0].placed = false;
    EXPECT_FALSE(OverlapSearch(problem.parts, angles, missing, index, problem.sheet, 1).Usable());
    Positions askew = start.best.sheets[0];
    askew[0].rotation = 45.0;
    EXPECT_FALSE(OverlapSearch(problem.parts, angles, askew, index, problem.sheet, 1).Usable());
    NestPolygon notched{GePoint(0, 0), GePoint(40, 0), GePoint(40, 38), GePoint(20, 30),
                        GePoint(0, 38)};
    notched.SetName(L"-1");
    EXPECT_FALSE(
        OverlapSearch(problem.parts, angles, start.best.sheets[0], index, notched, 1).Usable());
}

TEST(OverlapSearch, TheImprovingSearchHandsOverAndStillEndsOnTimeWithAValidLayout) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("jakobs1"), true);
    const NestSettings settings = testing::StripSettings(problem, true, 10);
    const testing::SearchRun start = testing::RunStripSearch(problem, settings, 10, 2, false);
    NfpCache cache;
    ImprovingSearch search(problem.parts, problem.sheet, settings, cache, nullptr);
    search.SetSeed(2);
    search.SetOverlap(true);
    // A clock that moves half a second each time it is read: the order search has its share
    // alone, then the overlap search runs beside it until the deadline.
    double now = 0.0;
    search.SetClock([&now] { return now += 0.5; }, 20.0);
    const Result best = search.Improve(start.best);
    EXPECT_EQ(search.Ended(), ImprovingSearch::End::Time);
    EXPECT_LT(now, 21.0);
    EXPECT_GT(search.OverlapMoves(), 0);
    EXPECT_GE(best.rating, start.best.rating);
    ASSERT_EQ(best.PlacedCount(), problem.parts.Size());
    EXPECT_EQ(testing::CheckLayout(problem, best.sheets[0], "improve-overlap"), "");
}

} // namespace
} // namespace gantrel
