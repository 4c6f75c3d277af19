// Layouts of every ESICUP instance (spacing 0, rotations as each instance allows, fixed seed):
// every placed part inside the strip and no two overlapping, checked on the placed outlines
// without the placer; the same seed gives the same layout; the parallel and the sequential
// no-fit routes give the same layout.
#include "StripNesting.h"
#include "nesting/place/Ukladacz.h"
#include "nesting/search/ArrangementStep.h"

#include <gtest/gtest.h>

#include <iostream>

namespace gantrel::testing {
namespace {

constexpr unsigned kSeed = 20240601;
// Arrangements evaluated per run: the input order and one mutation of it.
constexpr int kEvaluations = 2;

void ExpectSameLayouts(const SearchRun& a, const SearchRun& b) {
    ASSERT_EQ(a.results.Size(), b.results.Size());
    for (int r = 0; r < a.results.Size(); ++r) {
        EXPECT_EQ(a.results[r].rating, b.results[r].rating);
        const Positions& pa = a.results[r].sheets[0];
        const Positions& pb = b.results[r].sheets[0];
        ASSERT_EQ(pa.Size(), pb.Size());
        for (int i = 0; i < pa.Size(); ++i) {
            EXPECT_EQ(pa[i].name, pb[i].name);
            EXPECT_EQ(pa[i].rotation, pb[i].rotation);
            EXPECT_EQ(pa[i].translation.x, pb[i].translation.x);
            EXPECT_EQ(pa[i].translation.y, pb[i].translation.y);
        }
    }
}

class EsicupLayout : public ::testing::TestWithParam<std::string> {};

TEST_P(EsicupLayout, PlacedPartsStayInsideAndApartAndRunsRepeat) {
    const StripProblem problem = MakeStripProblem(LoadEsicup(GetParam()), true);
    const NestSettings settings = StripSettings(problem, true, 10);
    ASSERT_GE(problem.stripHeight, 1000.0);
    ASSERT_LE(problem.stripHeight, 10000.0);

    const SearchRun first = RunStripSearch(problem, settings, kEvaluations, kSeed, true);
    ASSERT_EQ(first.evaluated, kEvaluations);
    for (int r = 0; r < first.results.Size(); ++r) {
        const Result& result = first.results[r];
        ASSERT_EQ(result.sheets.Size(), 1);
        // The strip takes every piece in a row, so every piece must find a place.
        EXPECT_EQ(result.PlacedCount(), problem.parts.Size()) << "arrangement " << r;
        EXPECT_EQ(CheckLayout(problem, result.sheets[0], GetParam() + "-" + std::to_string(r)), "");
        EXPECT_GT(result.rating, 0.0);
    }
    std::cout << GetParam() << ": length " << UsedLength(problem, first.best.sheets[0])
              << " for strip height " << problem.stripHeight << "\n";

    const SearchRun again = RunStripSearch(problem, settings, kEvaluations, kSeed, true);
    ExpectSameLayouts(first, again);
    const SearchRun parallel = RunStripSearch(problem, settings, kEvaluations, kSeed, false);
    ExpectSameLayouts(first, parallel);
}

INSTANTIATE_TEST_SUITE_P(AllInstances, EsicupLayout, ::testing::ValuesIn(AllEsicupNames()),
                         [](const auto& instance) { return instance.param; });

// Jigsaw instances fill the strip exactly at length 100 (strip height 100); with spacing 0 the
// pieces touch along whole edges, so these are the exact fits the sliver removal would refuse.
TEST(Dighe, EveryPieceIsPlacedAndTheBestLengthIsReported) {
    for (const std::string name : {"dighe1", "dighe2"}) {
        const StripProblem problem = MakeStripProblem(LoadEsicup(name), false);
        const NestSettings settings = StripSettings(problem, false, 10);
        const SearchRun run = RunStripSearch(problem, settings, 20, kSeed, false);
        ASSERT_FALSE(run.best.IsEmpty());
        const Positions& best = run.best.sheets[0];
        EXPECT_EQ(best.Size(), problem.parts.Size()) << name;
        EXPECT_EQ(CheckLayout(problem, best, name + "-best"), "");
        const double length = UsedLength(problem, best) / problem.scale;
        // The optimum is 100; a leftmost-first placement of a good order stays well under the
        // length of all pieces in a row.
        EXPECT_GE(length, 100.0 - 1e-6) << name;
        EXPECT_LT(length, 200.0) << name;
        std::cout << name << ": best length " << length << " (optimum 100) after " << run.evaluated
                  << " arrangements\n";
    }
}

// Puts every piece but one where the known optimum puts it; the one left is placed by the
// placer itself. In the optimum's square sheet its only place is then the exact hole.
class ReplayPlacer : public Ukladacz {
public:
    ReplayPlacer(const StripProblem& problem, const Polygons& arrangement, NfpMap table,
                 const NestSettings& settings, std::wstring placedByPlacer, bool exactFits)
        : Ukladacz(problem.sheet, arrangement, std::move(table), settings, nullptr),
          m_problem(problem), m_placedByPlacer(std::move(placedByPlacer)), m_exactFits(exactFits) {}

    bool PlaceOne(const NestPolygon& part, Position& position) override {
        if (part.Name() == m_placedByPlacer) {
            return Ukladacz::PlaceOne(part, position);
        }
        position.translation = m_problem.solution.at(part.Name());
        position.name = part.Name();
        position.placed = true;
        return true;
    }
    bool ExactFitPosition(const NestPolygon& part, Position& position) override {
        return m_exactFits && Ukladacz::ExactFitPosition(part, position);
    }

private:
    const StripProblem& m_problem;
    std::wstring m_placedByPlacer;
    bool m_exactFits;
};

TEST(Dighe, TheLastPieceOfTheOptimumGoesIntoItsExactHole) {
    for (const std::string name : {"dighe1", "dighe2"}) {
        StripProblem problem = MakeStripProblem(LoadEsicup(name), false);
        ASSERT_EQ(problem.solution.size(), static_cast<std::size_t>(problem.parts.Size()));
        const double side = problem.stripHeight;
        problem.sheet =
            NestPolygon{GePoint(0, 0), GePoint(side, 0), GePoint(side, side), GePoint(0, side)};
        problem.sheet.SetName(L"-1");
        const NestSettings settings = StripSettings(problem, false, 10);
        NfpCache cache;
        int refusedWithoutExactFits = 0;
        for (int last = 0; last < problem.parts.Size(); ++last) {
            Polygons arrangement = problem.parts;
            const NestPolygon piece = arrangement[last];
            arrangement.RemoveAt(last);
            arrangement.Add(piece);
            const NfpMap table = BuildNfpTable(arrangement, problem.sheet, settings, cache, true);

            Result result;
            ReplayPlacer(problem, arrangement, table, settings, piece.Name(), true)
                .PlaceAll(result);
            ASSERT_EQ(result.PlacedCount(), problem.parts.Size()) << name << " piece " << last;
            const Position& placed = result.sheets[0].Last();
            const GePoint& expected = problem.solution.at(piece.Name());
            EXPECT_NEAR(placed.translation.x, expected.x, 1e-6 * side) << name << " " << last;
            EXPECT_NEAR(placed.translation.y, expected.y, 1e-6 * side) << name << " " << last;
            EXPECT_EQ(
                CheckLayout(problem, result.sheets[0], name + "-hole-" + std::to_string(last)), "");

            Result refused;
            ReplayPlacer(problem, arrangement, table, settings, piece.Name(), false)
                .PlaceAll(refused);
            refusedWithoutExactFits += problem.parts.Size() - refused.PlacedCount();
        }
        // The sliver removal alone finds no place for any of them.
        EXPECT_EQ(refusedWithoutExactFits, problem.parts.Size()) << name;
    }
}

} // namespace
} // namespace gantrel::testing
