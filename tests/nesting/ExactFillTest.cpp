// The search for exact fills: jigsaw sets come back as whole layouts of the least width, valid on
// the parts' own coordinates; sets that cannot fill the strip are searched to the end or until
// the caller gives up; and the improving search hands a fill on as a layout at the lower bound.
#include "nesting/improve/ExactFill.h"
#include "StripNesting.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/improve/ImprovingSearch.h"
#include "nesting/improve/Neighbourhood.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace gantrel {
namespace {

NestPolygon Rectangle(const std::wstring& name, double width, double height) {
    NestPolygon p{GePoint(0, 0), GePoint(width, 0), GePoint(width, height), GePoint(0, height)};
    p.SetName(name);
    return p;
}

testing::StripProblem Strip(double height, Polygons parts) {
    testing::StripProblem problem;
    problem.name = "strip";
    problem.stripHeight = height;
    problem.sheet = Rectangle(L"-1", 100.0, height);
    problem.parts = std::move(parts);
    problem.totalArea = TotalArea(problem.parts);
    return problem;
}

std::vector<std::vector<double>> AnglesOf(const Neighbourhood& moves) {
    std::vector<std::vector<double>> angles;
    for (int p = 0; p < moves.Size(); ++p) {
        angles.push_back(moves.AnglesOf(p));
    }
    return angles;
}

// Every part once, each at one of its allowed angles.
void ExpectEveryPartOnce(const testing::StripProblem& problem, const Neighbourhood& moves,
                         const Positions& positions) {
    std::set<std::wstring> names;
    for (const Position& position : positions) {
        EXPECT_TRUE(position.placed);
        names.insert(position.name);
        for (int p = 0; p < problem.parts.Size(); ++p) {
            if (problem.parts[p].Name() == position.name) {
                const std::vector<double>& allowed = moves.AnglesOf(p);
                EXPECT_NE(std::find(allowed.begin(), allowed.end(), position.rotation),
                          allowed.end());
            }
        }
    }
    EXPECT_EQ(static_cast<int>(names.size()), problem.parts.Size());
    EXPECT_EQ(positions.Size(), problem.parts.Size());
}

TEST(ExactFill, JigsawSetsFillTheStripToTheirLeastWidth) {
    for (const std::string name : {"dighe1", "dighe2"}) {
        SCOPED_TRACE(name);
        const testing::StripProblem problem =
            testing::MakeStripProblem(testing::LoadEsicup(name), false);
        const NestSettings settings = testing::StripSettings(problem, false, 10);
        const Neighbourhood moves(problem.parts, problem.sheet, settings);
        ExactFill fill(problem.parts, AnglesOf(moves), problem.sheet, settings, moves.LowerBound());
        ASSERT_TRUE(fill.Applies());
        const std::optional<Positions> positions = fill.Search(nullptr);
        ASSERT_TRUE(positions.has_value());
        ExpectEveryPartOnce(problem, moves, *positions);
        EXPECT_NEAR(testing::UsedLength(problem, *positions), problem.stripHeight, 1e-9);
        EXPECT_EQ(testing::CheckLayout(problem, *positions, "exact-fill-" + name), "");
    }
}

TEST(ExactFill, SetsThatCannotFillTheStripAreSearchedToTheEndOrUntilGivenUp) {
    // A 6 by 6 square and a 4 by 6 upright rectangle fill a 6 by 10 strip only when the
    // rectangle may lie on its side.
    const Polygons parts{Rectangle(L"square", 6, 6), Rectangle(L"bar", 4, 6)};
    testing::StripProblem problem = Strip(10.0, parts);
    problem.rotationCount = 4;
    for (const bool turning : {false, true}) {
        SCOPED_TRACE(turning);
        for (NestPolygon& part : problem.parts) {
            part.SetRotatable(turning);
        }
        const NestSettings settings = testing::StripSettings(problem, turning, 10);
        const Neighbourhood moves(problem.parts, problem.sheet, settings);
        ASSERT_DOUBLE_EQ(moves.LowerBound(), 6.0);
        ExactFill fill(problem.parts, AnglesOf(moves), problem.sheet, settings, moves.LowerBound());
        ASSERT_TRUE(fill.Applies());
        const std::optional<Positions> positions = fill.Search(nullptr);
        EXPECT_EQ(positions.has_value(), turning);
        EXPECT_EQ(fill.Exhausted(), !turning);
        if (positions) {
            ExpectEveryPartOnce(problem, moves, *positions);
            EXPECT_NEAR(testing::UsedLength(problem, *positions), 6.0, 1e-12);
            EXPECT_EQ(testing::CheckLayout(problem, *positions, "exact-fill-turned"), "");
        }
    }

    // A part with a hole, or area that is not the strip's, rules a fill out before any search.
    NestPolygon framed = Rectangle(L"framed", 6, 6);
    framed.AddHole(NestPolygon{GePoint(2, 2), GePoint(3, 2), GePoint(3, 3), GePoint(2, 3)});
    const testing::StripProblem holed = Strip(10.0, Polygons{framed, Rectangle(L"bar", 6, 4)});
    const NestSettings plain = testing::StripSettings(holed, false, 10);
    const Neighbourhood holedMoves(holed.parts, holed.sheet, plain);
    EXPECT_FALSE(ExactFill(holed.parts, AnglesOf(holedMoves), holed.sheet, plain,
                           TotalArea(holed.parts) / 10.0)
                     .Applies());
    EXPECT_FALSE(ExactFill(parts, AnglesOf(holedMoves), holed.sheet, plain, 7.0).Applies());

    // fu cannot fill its least width; the caller's answer ends the search.
    const testing::StripProblem fu = testing::MakeStripProblem(testing::LoadEsicup("fu"), true);
    const NestSettings fuSettings = testing::StripSettings(fu, true, 10);
    const Neighbourhood fuMoves(fu.parts, fu.sheet, fuSettings);
    ExactFill fuFill(fu.parts, AnglesOf(fuMoves), fu.sheet, fuSettings, fuMoves.LowerBound());
    ASSERT_TRUE(fuFill.Applies());
    int asked = 0;
    EXPECT_FALSE(fuFill.Search([&asked] { return ++asked > 3; }).has_value());
    EXPECT_EQ(asked, 4);
    EXPECT_FALSE(fuFill.Exhausted());
}

TEST(ExactFill, TheImprovingSearchEndsAtTheLowerBoundWithTheFill) {
    const testing::StripProblem problem =
        testing::MakeStripProblem(testing::LoadEsicup("dighe1"), false);
    const NestSettings settings = testing::StripSettings(problem, false, 10);
    const testing::SearchRun start = testing::RunStripSearch(problem, settings, 10, 1, false);
    NfpCache cache;
    ImprovingSearch search(problem.parts, problem.sheet, settings, cache, nullptr);
    int reports = 0;
    search.SetReport([&reports](const Result&, bool improved) { reports += improved ? 1 : 0; });
    const Result best = search.Improve(start.best);
    EXPECT_EQ(search.Ended(), ImprovingSearch::End::LowerBound);
    EXPECT_GT(search.ExactFillSteps(), 0);
    EXPECT_EQ(reports, 1);
    EXPECT_GT(best.rating, start.best.rating);
    ASSERT_EQ(best.PlacedCount(), problem.parts.Size());
    EXPECT_EQ(testing::CheckLayout(problem, best.sheets[0], "exact-fill-improve"), "");
}

} // namespace
} // namespace gantrel
