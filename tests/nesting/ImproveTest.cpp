// The improving search: never worse than the layout it starts from, which is the genetic
// search's best for the same seed; valid layouts; ends on a stop request, at its deadline and at
// a layout that cannot be bettered, each without timing (stop providers and clocks that count).
// Also its pieces: the bottom-left tie-break and the moves between arrangements.
#include "StripNesting.h"
#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/improve/BottomLeftPlacer.h"
#include "nesting/improve/ImprovingSearch.h"
#include "nesting/place/Ukladacz.h"
#include "nesting/search/ArrangementStep.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>
#include <random>
#include <set>

namespace gantrel {
namespace {

// Answers "stop" from the n-th question on; safe to ask from several threads.
class StopAfter : public NestingStopProvider {
public:
    explicit StopAfter(int n) : m_left(n) {}
    bool ShouldStop() const override { return m_left.fetch_sub(1) <= 0; }

private:
    mutable std::atomic<int> m_left;
};

NestPolygon Rectangle(const std::wstring& name, double x0, double y0, double x1, double y1) {
    NestPolygon p{GePoint(x0, y0), GePoint(x1, y0), GePoint(x1, y1), GePoint(x0, y1)};
    p.SetName(name);
    return p;
}

// A strip of height 10 and four rectangles that fill a length of exactly 10 when they are put
// two by two; the first arrangement of the genetic search leaves gaps.
testing::StripProblem TilingProblem() {
    testing::StripProblem problem;
    problem.name = "tiling";
    problem.stripHeight = 10.0;
    problem.sheet = Rectangle(L"-1", 0, 0, 40, 10);
    problem.parts = Polygons{Rectangle(L"a", 0, 0, 6, 6), Rectangle(L"b", 0, 0, 6, 4),
                             Rectangle(L"c", 0, 0, 4, 6), Rectangle(L"d", 0, 0, 4, 4)};
    problem.totalArea = TotalArea(problem.parts);
    return problem;
}

struct Improved {
    Result start;
    Result best;
    int evaluations = 0;
    ImprovingSearch::End end = ImprovingSearch::End::NotRun;
};

// The genetic search's best of `generations` arrangements for seed, then the improving search
// from it with stopProvider, clock and deadline.
Improved ImproveAfterSearch(const testing::StripProblem& problem, const NestSettings& settings,
                            unsigned seed, const NestingStopProvider* stopProvider,
                            ImprovingSearch::Clock clock = nullptr,
                            double deadline = std::numeric_limits<double>::infinity()) {
    Improved run;
    run.start = testing::RunStripSearch(problem, settings, 10, seed, false).best;
    NfpCache cache;
    ImprovingSearch search(problem.parts, problem.sheet, settings, cache, stopProvider);
    search.SetSeed(seed);
    search.SetClock(std::move(clock), deadline);
    run.best = search.Improve(run.start);
    run.evaluations = search.Evaluations();
    run.end = search.Ended();
    return run;
}

TEST(ImprovingSearch, NeverWorseThanTheGeneticSearchAndValidWithEveryPlacementRule) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("fu"), true);
    const NestSettings settings = testing::StripSettings(problem, true, 10);
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        const StopAfter stop(400);
        const Improved run = ImproveAfterSearch(problem, settings, seed, &stop);
        EXPECT_EQ(run.end, ImprovingSearch::End::Stop);
        EXPECT_GT(run.evaluations, 20);
        EXPECT_GE(run.best.rating, run.start.rating);
        ASSERT_FALSE(run.best.IsEmpty());
        EXPECT_EQ(run.best.PlacedCount(), problem.parts.Size());
        EXPECT_EQ(testing::CheckLayout(problem, run.best.sheets[0], "improve-fu"), "");
    }
    // The plain leftmost rule and pure descent as well: still never worse, still valid.
    const testing::SearchRun search = testing::RunStripSearch(problem, settings, 10, 4, false);
    for (PlacementRule rule : {PlacementRule::Leftmost, PlacementRule::BottomLeft}) {
        NfpCache cache;
        const StopAfter stop(300);
        ImprovingSearch improving(problem.parts, problem.sheet, settings, cache, &stop);
        improving.SetRule(rule);
        improving.SetAnnealing(false);
        const Result best = improving.Improve(search.best);
        EXPECT_GE(best.rating, search.best.rating);
        EXPECT_EQ(testing::CheckLayout(problem, best.sheets[0], "improve-fu-rule"), "");
    }
}

TEST(ImprovingSearch, AStopRequestEndsItAtOnceWithTheBestSoFar) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("jakobs1"), true);
    const NestSettings settings = testing::StripSettings(problem, true, 10);
    for (int questions : {0, 1, 7, 60}) {
        SCOPED_TRACE(questions);
        const StopAfter stop(questions);
        const Improved run = ImproveAfterSearch(problem, settings, 1, &stop);
        EXPECT_EQ(run.end, ImprovingSearch::End::Stop);
        // Every placement asks before it starts, so none starts after the first "stop".
        EXPECT_LE(run.evaluations, questions);
        EXPECT_GE(run.best.rating, run.start.rating);
        EXPECT_EQ(testing::CheckLayout(problem, run.best.sheets[0], "improve-stop"), "");
    }
}

TEST(ImprovingSearch, EndsWithinASecondOfItsDeadline) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("dighe2"), false);
    const NestSettings settings = testing::StripSettings(problem, false, 10);
    // A clock that moves a quarter of a second each time it is read.
    double now = 100.0;
    const auto clock = [&now] { return now += 0.25; };
    const Improved run = ImproveAfterSearch(problem, settings, 1, nullptr, clock, 110.0);
    ASSERT_NE(run.end, ImprovingSearch::End::Stop);
    if (run.end == ImprovingSearch::End::Time) {
        EXPECT_LT(now, 111.0);
        EXPECT_GT(run.evaluations, 5);
    }
    EXPECT_GE(run.best.rating, run.start.rating);

    // A deadline already passed: nothing is placed and the start comes back.
    double late = 200.0;
    const Improved none = ImproveAfterSearch(
        problem, settings, 1, nullptr, [&late] { return late; }, 150.0);
    EXPECT_EQ(none.end, ImprovingSearch::End::Time);
    EXPECT_EQ(none.evaluations, 0);
    EXPECT_EQ(none.best.rating, none.start.rating);
}

TEST(ImprovingSearch, ALayoutAtTheLowerBoundEndsTheSearch) {
    const testing::StripProblem problem = TilingProblem();
    const NestSettings settings = testing::StripSettings(problem, false, 10);
    NfpCache cache;
    const StopAfter stop(20000);
    ImprovingSearch search(problem.parts, problem.sheet, settings, cache, &stop);
    // The shrinking alone gets there (the exact fill would find it at once).
    search.SetExactFill(false);
    EXPECT_DOUBLE_EQ(search.Moves().LowerBound(), 10.0); // area 100 over height 10
    const testing::SearchRun start = testing::RunStripSearch(problem, settings, 1, 1, false);
    ASSERT_GT(search.UsedWidthOf(start.best), 10.0 + 1e-9);
    const Result best = search.Improve(start.best);
    EXPECT_EQ(search.Ended(), ImprovingSearch::End::LowerBound);
    EXPECT_TRUE(search.AtLowerBound(best));
    EXPECT_NEAR(testing::UsedLength(problem, best.sheets[0]), 10.0, 1e-6);
    EXPECT_EQ(testing::CheckLayout(problem, best.sheets[0], "improve-tiling"), "");

    // Started from that layout it places nothing.
    ImprovingSearch again(problem.parts, problem.sheet, settings, cache, &stop);
    again.Improve(best);
    EXPECT_EQ(again.Ended(), ImprovingSearch::End::LowerBound);
    EXPECT_EQ(again.Evaluations(), 0);
}

TEST(ImprovingSearch, ShrinkingReportsEverNarrowerWholeLayoutsAndAnnealingWithoutItStillWorks) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("fu"), true);
    const NestSettings settings = testing::StripSettings(problem, true, 10);
    const testing::SearchRun start = testing::RunStripSearch(problem, settings, 10, 2, false);
    ASSERT_EQ(start.best.PlacedCount(), problem.parts.Size());
    NfpCache cache;
    const StopAfter stop(3000);
    ImprovingSearch search(problem.parts, problem.sheet, settings, cache, &stop);
    search.SetSeed(2);
    std::vector<Result> reported;
    search.SetReport([&reported](const Result& best, bool improved) {
        if (improved) {
            reported.push_back(best);
        }
    });
    const Result best = search.Improve(start.best);
    EXPECT_GT(search.Shrinks(), 0);
    ASSERT_FALSE(reported.empty());
    // Each new best places every part, validly, at a width below the one before it by at least
    // the least cut of the sheet (0.1 %), less the rounding slack.
    double width = search.UsedWidthOf(start.best);
    for (const Result& layout : reported) {
        ASSERT_EQ(layout.PlacedCount(), problem.parts.Size());
        EXPECT_EQ(testing::CheckLayout(problem, layout.sheets[0], "shrink-fu"), "");
        const double next = search.UsedWidthOf(layout);
        EXPECT_LT(next, width * (1.0 - 0.001) + 1e-6);
        width = next;
    }
    EXPECT_EQ(best.rating, reported.back().rating);
    EXPECT_GT(best.rating, start.best.rating);

    // Without shrinking the search anneals on the width: never worse, valid.
    NfpCache other;
    const StopAfter stopOther(300);
    ImprovingSearch plain(problem.parts, problem.sheet, settings, other, &stopOther);
    plain.SetShrinking(false);
    const Result annealed = plain.Improve(start.best);
    EXPECT_EQ(plain.Shrinks(), 0);
    EXPECT_GE(annealed.rating, start.best.rating);
    EXPECT_EQ(testing::CheckLayout(problem, annealed.sheets[0], "anneal-fu"), "");
}

TEST(Evaluate, APartPastTheCutStaysOutAndTheLaterOnesStillGoIn) {
    const testing::StripProblem problem = TilingProblem();
    const NestSettings settings = testing::StripSettings(problem, false, 10);
    NfpCache cache;
    NfpIndex index(cache, problem.sheet);
    // 6 x 6, 4 x 6, 6 x 4, 4 x 4: with the sheet cut at 7 the 6 x 6 goes to the corner, the
    // 4 x 6 would reach x = 10 and stays out, the 6 x 4 fits exactly above the first part, and
    // the 4 x 4 has no room left of the cut.
    const Polygons arrangement{problem.parts[0], problem.parts[2], problem.parts[1],
                               problem.parts[3]};
    EnsureNoFitPolygons({arrangement}, settings, index, nullptr);
    const Evaluation cut =
        Evaluate(arrangement, settings, index, nullptr, PlacementRule::BottomLeft, 7.0);
    ASSERT_EQ(cut.result.PlacedCount(), 2);
    EXPECT_EQ(cut.result.sheets[0][0].name, L"a");
    EXPECT_EQ(cut.result.sheets[0][1].name, L"b");
    EXPECT_NEAR(cut.unplacedArea, 40.0, 1e-9);
    EXPECT_NEAR(cut.usedWidth, 6.0, 1e-6);
    EXPECT_EQ(testing::CheckLayout(problem, cut.result.sheets[0], "cut"), "");

    for (PlacementRule rule : {PlacementRule::BottomLeft, PlacementRule::Leftmost}) {
        SCOPED_TRACE(static_cast<int>(rule));
        // The run's own placer looks at the exact fit above the first part only when nothing
        // else is left, so it may leave out more; neither passes the cut.
        const Evaluation limited = Evaluate(arrangement, settings, index, nullptr, rule, 7.0);
        EXPECT_GE(limited.result.PlacedCount(), 1);
        EXPECT_LE(limited.usedWidth, 7.0);
        EXPECT_NEAR(limited.placedArea + limited.unplacedArea, 100.0, 1e-9);
    }

    // Cut at 10 every part fits, as on the whole sheet.
    const Evaluation exact =
        Evaluate(arrangement, settings, index, nullptr, PlacementRule::BottomLeft, 10.0 + 1e-6);
    const Evaluation whole =
        Evaluate(arrangement, settings, index, nullptr, PlacementRule::BottomLeft);
    EXPECT_EQ(exact.result.PlacedCount(), 4);
    EXPECT_EQ(exact.unplacedArea, 0.0);
    EXPECT_EQ(exact.result.rating, whole.result.rating);
}

// Two evaluations give the same layout, field by field and bit for bit.
void ExpectSameEvaluation(const Evaluation& full, const Evaluation& reused) {
    ASSERT_EQ(full.result.PlacedCount(), reused.result.PlacedCount());
    for (int i = 0; i < full.result.PlacedCount(); ++i) {
        const Position& a = full.result.sheets[0][i];
        const Position& b = reused.result.sheets[0][i];
        ASSERT_EQ(a.name, b.name) << i;
        EXPECT_EQ(a.rotation, b.rotation) << i;
        EXPECT_EQ(a.translation.x, b.translation.x) << i;
        EXPECT_EQ(a.translation.y, b.translation.y) << i;
        EXPECT_EQ(a.paths, b.paths) << i;
    }
    EXPECT_EQ(full.result.rating, reused.result.rating);
    EXPECT_EQ(full.usedWidth, reused.usedWidth);
    EXPECT_EQ(full.placedArea, reused.placedArea);
    EXPECT_EQ(full.unplacedArea, reused.unplacedArea);
    EXPECT_EQ(full.massRight, reused.massRight);
    ASSERT_TRUE(full.steps && reused.steps);
    EXPECT_EQ(full.steps->placedBefore, reused.steps->placedBefore);
}

TEST(Evaluate, StartingAfterTheSharedHeadGivesTheLayoutOfAFullPlacement) {
    // A walk through random neighbours, each placed once from the first part and once after the
    // head it shares with the previous arrangement (itself placed that way); on the whole sheet
    // and on a sheet cut short, where parts stay out, with both placers.
    struct Case {
        const char* instance;
        PlacementRule rule;
        double cut; // the cut sheet's length over the first layout's used width; 0: whole sheet
    };
    for (const Case& c :
         {Case{"jakobs1", PlacementRule::BottomLeft, 0.0},
          Case{"jakobs1", PlacementRule::BottomLeft, 0.9}, Case{"fu", PlacementRule::Leftmost, 0.0},
          Case{"shapes0", PlacementRule::BottomLeftNoExactFits, 0.85}}) {
        SCOPED_TRACE(std::string(c.instance) + " cut " + std::to_string(c.cut));
        const testing::StripProblem problem =
            testing::MakeStripProblem(testing::LoadEsicup(c.instance), true);
        const NestSettings settings = testing::StripSettings(problem, true, 10);
        const Neighbourhood moves(problem.parts, problem.sheet, settings);
        NfpCache cache;
        NfpIndex index(cache, problem.sheet);
        Sequence sequence = moves.FromResult(Result());
        Polygons arrangement = moves.ArrangementOf(sequence);
        EnsureNoFitPolygons({arrangement}, settings, index, nullptr);
        double limitX = std::numeric_limits<double>::infinity();
        if (c.cut > 0.0) {
            const Evaluation whole = Evaluate(arrangement, settings, index, nullptr, c.rule);
            limitX = BoundingBoxOf(problem.sheet).Min().x + c.cut * whole.usedWidth;
        }
        Evaluation previous = Evaluate(arrangement, settings, index, nullptr, c.rule, limitX);
        std::mt19937_64 random(11);
        int reused = 0;
        int leftOut = 0;
        for (int step = 0; step < 40; ++step) {
            sequence = moves.Neighbour(sequence, random);
            arrangement = moves.ArrangementOf(sequence);
            EnsureNoFitPolygons({arrangement}, settings, index, nullptr);
            const Evaluation full = Evaluate(arrangement, settings, index, nullptr, c.rule, limitX);
            const Evaluation fromHead =
                Evaluate(arrangement, settings, index, nullptr, c.rule, limitX, &previous);
            EXPECT_EQ(full.reusedParts, 0);
            EXPECT_EQ(fromHead.reusedParts,
                      std::min(CommonHead(arrangement, previous.steps->arrangement),
                               arrangement.Size() - 1));
            ExpectSameEvaluation(full, fromHead);
            reused += fromHead.reusedParts;
            leftOut += full.result.PlacedCount() < problem.parts.Size() ? 1 : 0;
            previous = fromHead;
        }
        EXPECT_GT(reused, 0);
        if (c.cut > 0.0) {
            EXPECT_GT(leftOut, 0);
        }

        // Another rule or another cut places from the first part.
        const Evaluation otherCut =
            Evaluate(arrangement, settings, index, nullptr, c.rule,
                     std::isfinite(limitX) ? limitX * 0.95 : BoundingBoxOf(problem.sheet).Max().x,
                     &previous);
        EXPECT_EQ(otherCut.reusedParts, 0);
        const PlacementRule otherRule =
            c.rule == PlacementRule::Leftmost ? PlacementRule::BottomLeft : PlacementRule::Leftmost;
        EXPECT_EQ(Evaluate(arrangement, settings, index, nullptr, otherRule, limitX, &previous)
                      .reusedParts,
                  0);
    }
}

TEST(Evaluate, ThroughTheIndexPlacesAsTheRunsOwnPlacerDoesWithItsTable) {
    // Random arrangements of instances with and without rotations: placed by the run's own
    // placer on a table built the run's way, and through the index under the same rule, with
    // the pairs remembered by EnsureNoFitPolygons and, in a second index over the same cache,
    // remembered nowhere (found by key text). The same layout every time.
    for (const char* instance : {"jakobs1", "fu"}) {
        SCOPED_TRACE(instance);
        const testing::StripProblem problem =
            testing::MakeStripProblem(testing::LoadEsicup(instance), true);
        const NestSettings settings = testing::StripSettings(problem, true, 10);
        const Neighbourhood moves(problem.parts, problem.sheet, settings);
        NfpCache cache;
        NfpIndex index(cache, problem.sheet);
        NfpIndex unremembered(cache, problem.sheet);
        Sequence sequence = moves.FromResult(Result());
        std::mt19937_64 random(5);
        for (int step = 0; step < 6; ++step) {
            sequence = moves.Neighbour(sequence, random);
            const Polygons arrangement = moves.ArrangementOf(sequence);
            Ukladacz own(problem.sheet, arrangement,
                         BuildNfpTable(arrangement, problem.sheet, settings, cache, true), settings,
                         nullptr);
            Result expected;
            own.PlaceAll(expected);
            EnsureNoFitPolygons({arrangement}, settings, index, nullptr);
            for (const NfpIndex* through : {&index, &unremembered}) {
                const Evaluation evaluation =
                    Evaluate(arrangement, settings, *through, nullptr, PlacementRule::Leftmost);
                ASSERT_EQ(evaluation.result.PlacedCount(), expected.PlacedCount());
                EXPECT_EQ(evaluation.result.rating, expected.rating);
                for (int i = 0; i < expected.PlacedCount(); ++i) {
                    const Position& a = expected.sheets[0][i];
                    const Position& b = evaluation.result.sheets[0][i];
                    EXPECT_EQ(a.name, b.name) << i;
                    EXPECT_EQ(a.rotation, b.rotation) << i;
                    EXPECT_EQ(a.translation.x, b.translation.x) << i;
                    EXPECT_EQ(a.translation.y, b.translation.y) << i;
                    // The search keeps no unions; the run's placer still hands them out.
                    EXPECT_TRUE(b.paths.empty()) << i;
                    EXPECT_EQ(a.paths.empty(), i == 0) << i;
                }
            }
        }
    }
}

TEST(NfpIndex, OneHandlePerNameAndRotationAndOnlyStoredSetsRemembered) {
    NfpCache cache;
    const NestPolygon sheet = Rectangle(L"-1", 0, 0, 40, 10);
    NfpIndex index(cache, sheet);
    NestPolygon a = Rectangle(L"a", 0, 0, 2, 1);
    NestPolygon turned = a;
    turned.SetRotation(90.0);
    const NestPolygon b = Rectangle(L"b", 0, 0, 2, 1);
    EXPECT_EQ(index.Find(a), -1);
    const int ha = index.Handle(a);
    const int hTurned = index.Handle(turned);
    const int hb = index.Handle(b);
    EXPECT_EQ(index.Handle(a), ha);
    EXPECT_EQ(index.Find(turned), hTurned);
    EXPECT_EQ(std::set<int>({ha, hTurned, hb}).size(), 3u);

    // Nothing is remembered that the cache does not hold; a stored set is found by its handles,
    // in its direction only, and a merge that replaces it is seen through the index.
    EXPECT_FALSE(index.Remember(ha, hb, NoFitKey(a, b)));
    EXPECT_EQ(index.NoFit(ha, hb), nullptr);
    cache.Merge({{NoFitKey(a, b), Polygons{a}}, {InnerFitKey(sheet, turned), Polygons{b, b}}});
    EXPECT_TRUE(index.Remember(ha, hb, NoFitKey(a, b)));
    EXPECT_TRUE(index.Remember(-1, hTurned, InnerFitKey(sheet, turned)));
    ASSERT_NE(index.NoFit(ha, hb), nullptr);
    EXPECT_EQ(index.NoFit(hb, ha), nullptr);
    EXPECT_EQ(index.InnerFit(hTurned)->Size(), 2);
    EXPECT_EQ(index.InnerFit(ha), nullptr);
    cache.Merge({{NoFitKey(a, b), Polygons{a, b, a}}});
    EXPECT_EQ(index.NoFit(ha, hb)->Size(), 3);
}

TEST(BottomLeftPlacer, TiesOfTheLeftmostSpotGoToTheLowest) {
    const IntegerPaths loops{{{50, 900}, {0, 800}, {0, 100}, {500, 0}}, {{400, 20}, {900, 5}}};
    const IntegerPoint* spot = BottomLeftVertex(loops, 100);
    ASSERT_NE(spot, nullptr);
    EXPECT_EQ(spot->x, 0);
    EXPECT_EQ(spot->y, 100);
    const IntegerPoint* wider = BottomLeftVertex(loops, 500);
    EXPECT_EQ(wider->x, 500);
    EXPECT_EQ(wider->y, 0);
    EXPECT_EQ(BottomLeftVertex({}, 100), nullptr);

    // On a strip the first part goes to the bottom-left corner; the second fits above it, where
    // the spots x = 0 run from y = 4 to y = 6, and takes the lowest.
    const testing::StripProblem problem = TilingProblem();
    const NestSettings settings = testing::StripSettings(problem, false, 10);
    NfpCache cache;
    NfpIndex index(cache, problem.sheet);
    const Polygons arrangement{problem.parts[3], problem.parts[1]}; // 4 x 4, then 6 x 4
    EnsureNoFitPolygons({arrangement}, settings, index, nullptr);
    const Evaluation placed =
        Evaluate(arrangement, settings, index, nullptr, PlacementRule::BottomLeft);
    ASSERT_EQ(placed.result.PlacedCount(), 2);
    const Positions& positions = placed.result.sheets[0];
    EXPECT_NEAR(positions[0].translation.x, 0.0, 1e-9);
    EXPECT_NEAR(positions[0].translation.y, 0.0, 1e-9);
    EXPECT_NEAR(positions[1].translation.x, 0.0, 1e-6);
    EXPECT_NEAR(positions[1].translation.y, 4.0, 1e-6);
    EXPECT_NEAR(placed.usedWidth, 6.0, 1e-6);
    EXPECT_EQ(placed.unplacedArea, 0.0);
}

TEST(Neighbourhood, NeighboursKeepEveryPartOnceAtAnAllowedAngle) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("jakobs1"), true);
    const NestSettings settings = testing::StripSettings(problem, true, 10);
    const Neighbourhood moves(problem.parts, problem.sheet, settings);
    Result empty;
    Sequence sequence = moves.FromResult(empty);
    ASSERT_EQ(static_cast<int>(sequence.parts.size()), problem.parts.Size());
    std::mt19937_64 random(5);
    int changed = 0;
    for (int i = 0; i < 300; ++i) {
        const Sequence next = moves.Neighbour(sequence, random);
        changed += next == sequence ? 0 : 1;
        const std::set<int> distinct(next.parts.begin(), next.parts.end());
        ASSERT_EQ(distinct.size(), sequence.parts.size());
        for (std::size_t k = 0; k < next.parts.size(); ++k) {
            const std::vector<double>& allowed = moves.AnglesOf(next.parts[k]);
            ASSERT_NE(std::find(allowed.begin(), allowed.end(), next.angles[k]), allowed.end());
        }
        sequence = next;
    }
    EXPECT_GT(changed, 250);

    // A result's placed parts come first, in its order and at its rotations.
    Result result;
    Positions positions;
    Position p;
    p.name = problem.parts[4].Name();
    p.rotation = moves.AnglesOf(4).back();
    p.placed = true;
    positions.Add(p);
    result.sheets.Add(positions);
    const Sequence back = moves.FromResult(result);
    EXPECT_EQ(back.parts[0], 4);
    EXPECT_EQ(back.angles[0], p.rotation);
    EXPECT_EQ(back.parts[1], 0);
}

} // namespace
} // namespace gantrel
