// The search for exact fills: jigsaw sets (the ESICUP ones, and rectangles cut along slanted
// lines) come back as whole layouts of the least width, valid on the parts' own coordinates; sets
// that cannot fill the strip are searched to the end or until the caller gives up; and the
// improving search hands a fill on as a layout at the lower bound.
#include "nesting/improve/ExactFill.h"
#include "StripNesting.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/improve/ImprovingSearch.h"
#include "nesting/improve/Neighbourhood.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
#include <random>
#include <set>

namespace gantrel {
namespace {

testing::StripProblem Strip(double height, Polygons parts) {
    testing::StripProblem problem;
    problem.name = "strip";
    problem.stripHeight = height;
    problem.sheet = testing::NamedRectangle(L"-1", 10.0 * height, height);
    problem.parts = std::move(parts);
    problem.totalArea = TotalArea(problem.parts);
    return problem;
}

// The angles a fill may use: those at which each part fits the sheet.
std::vector<std::vector<double>> AnglesOf(const Neighbourhood& moves) {
    std::vector<std::vector<double>> angles;
    for (int p = 0; p < moves.Size(); ++p) {
        angles.push_back(moves.FittingAnglesOf(p));
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
                const std::vector<double>& allowed = moves.FittingAnglesOf(p);
                EXPECT_NE(std::find(allowed.begin(), allowed.end(), position.rotation),
                          allowed.end());
            }
        }
    }
    EXPECT_EQ(static_cast<int>(names.size()), problem.parts.Size());
    EXPECT_EQ(positions.Size(), problem.parts.Size());
}

// Cuts the convex outline along the line through p in direction (cos a, sin a); the two sides,
// or nothing when the line misses it.
std::vector<std::vector<GePoint>> Split(const std::vector<GePoint>& outline, const GePoint& p,
                                        double a) {
    const double dx = std::cos(a);
    const double dy = std::sin(a);
    const auto side = [&](const GePoint& q) { return dx * (q.y - p.y) - dy * (q.x - p.x); };
    std::vector<GePoint> left;
    std::vector<GePoint> right;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const GePoint& q = outline[i];
        const GePoint& r = outline[(i + 1) % outline.size()];
        const double sq = side(q);
        const double sr = side(r);
        (sq >= 0.0 ? left : right).push_back(q);
        if ((sq > 0.0 && sr < 0.0) || (sq < 0.0 && sr > 0.0)) {
            const double t = sq / (sq - sr);
            const GePoint cut(q.x + t * (r.x - q.x), q.y + t * (r.y - q.y));
            left.push_back(cut);
            right.push_back(cut);
        }
    }
    if (left.size() < 3 || right.size() < 3) {
        return {};
    }
    return {left, right};
}

double Area(const std::vector<GePoint>& outline) {
    double twice = 0.0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const GePoint& q = outline[i];
        const GePoint& r = outline[(i + 1) % outline.size()];
        twice += q.x * r.y - r.x * q.y;
    }
    return 0.5 * std::fabs(twice);
}

// A width by height rectangle cut into count convex pieces by lines at any angle through a
// piece's centre, each piece
// kept at least 1/150 of the rectangle's area and moved to the origin.
Polygons RandomJigsaw(double width, double height, int count, std::mt19937_64& random) {
    std::vector<std::vector<GePoint>> pieces{
        {GePoint(0, 0), GePoint(width, 0), GePoint(width, height), GePoint(0, height)}};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    while (static_cast<int>(pieces.size()) < count) {
        const std::size_t k =
            std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random);
        const std::vector<GePoint>& piece = pieces[k];
        GePoint centre(0, 0);
        for (const GePoint& q : piece) {
            centre = GePoint(centre.x + q.x / piece.size(), centre.y + q.y / piece.size());
        }
        const std::vector<std::vector<GePoint>> halves =
            Split(piece, centre, unit(random) * std::numbers::pi);
        if (halves.empty() || Area(halves[0]) < width * height / 150.0 ||
            Area(halves[1]) < width * height / 150.0) {
            continue;
        }
        pieces[k] = halves[0];
        pieces.push_back(halves[1]);
    }
    Polygons parts;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        NestPolygon part;
        for (const GePoint& q : pieces[k]) {
            part.Add(GePoint(q.x - pieces[k][0].x, q.y - pieces[k][0].y));
        }
        part.SetName(L"piece" + std::to_wstring(k));
        parts.Add(part);
    }
    return parts;
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

TEST(ExactFill, RectanglesCutAlongSlantedLinesComeBackWhole) {
    // 8 to 30 pieces; cut points fall anywhere, so the pieces' coordinates are not on the integer
    // grid, and corners as sharp as a few degrees occur. The pieces come shuffled, and in every
    // second case turned by a quarter (each may then take any quarter turn; a piece as tall as
    // the strip must take the one that stands it upright).
    std::mt19937_64 random(7);
    for (int c = 0; c < 100; ++c) {
        SCOPED_TRACE(c);
        const bool turned = c % 2 == 1;
        Polygons parts = RandomJigsaw(3000.0, 2000.0, 8 + c % 23, random);
        std::vector<int> order(static_cast<std::size_t>(parts.Size()));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random);
        Polygons shuffled;
        for (int k : order) {
            NestPolygon part = turned ? parts[k].RotatedAbout(90.0, GePoint(0, 0)) : parts[k];
            part.SetName(parts[k].Name());
            part.SetRotatable(turned);
            shuffled.Add(part);
        }
        testing::StripProblem problem = Strip(2000.0, shuffled);
        problem.rotationCount = turned ? 4 : 1;
        const NestSettings settings = testing::StripSettings(problem, turned, 10);
        const Neighbourhood moves(problem.parts, problem.sheet, settings);
        ASSERT_NEAR(moves.LowerBound(), 3000.0, 1e-6);
        ExactFill fill(problem.parts, AnglesOf(moves), problem.sheet, settings, moves.LowerBound());
        ASSERT_TRUE(fill.Applies());
        const std::optional<Positions> positions = fill.Search(nullptr);
        ASSERT_TRUE(positions.has_value());
        ExpectEveryPartOnce(problem, moves, *positions);
        EXPECT_NEAR(testing::UsedLength(problem, *positions), 3000.0, 1e-6);
        EXPECT_EQ(testing::CheckLayout(problem, *positions, "exact-fill-cut"), "");
    }
}

TEST(ExactFill, SetsThatCannotFillTheStripAreSearchedToTheEndOrUntilGivenUp) {
    // A 6 by 6 square and a 4 by 6 upright rectangle fill a 6 by 10 strip only when the
    // rectangle may lie on its side.
    const Polygons parts{testing::NamedRectangle(L"square", 6, 6),
                         testing::NamedRectangle(L"bar", 4, 6)};
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
    NestPolygon framed = testing::NamedRectangle(L"framed", 6, 6);
    framed.AddHole(NestPolygon{GePoint(2, 2), GePoint(3, 2), GePoint(3, 3), GePoint(2, 3)});
    const testing::StripProblem holed =
        Strip(10.0, Polygons{framed, testing::NamedRectangle(L"bar", 6, 4)});
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

TEST(ExactFill, APartAsTallAsTheStripStandsUprightInTheFillAndInTheLeastWidth) {
    // A 10 by 1 bar in a strip 10 high: upright it touches both edges, which the order search's
    // angles leave out, but the fill and the least width count it.
    NestPolygon bar = testing::NamedRectangle(L"bar", 10, 1);
    bar.SetRotatable(true);
    testing::StripProblem problem = Strip(10.0, Polygons{bar});
    problem.rotationCount = 4;
    const NestSettings settings = testing::StripSettings(problem, true, 10);
    const Neighbourhood moves(problem.parts, problem.sheet, settings);
    EXPECT_EQ(moves.AnglesOf(0), (std::vector<double>{0.0, 180.0}));
    EXPECT_EQ(moves.FittingAnglesOf(0), (std::vector<double>{0.0, 90.0, 180.0, 270.0}));
    EXPECT_NEAR(moves.LowerBound(), 1.0, 1e-12);
    ExactFill fill(problem.parts, AnglesOf(moves), problem.sheet, settings, moves.LowerBound());
    const std::optional<Positions> positions = fill.Search(nullptr);
    ASSERT_TRUE(positions.has_value());
    EXPECT_TRUE((*positions)[0].rotation == 90.0 || (*positions)[0].rotation == 270.0);
    EXPECT_NEAR(testing::UsedLength(problem, *positions), 1.0, 1e-9);
    EXPECT_EQ(testing::CheckLayout(problem, *positions, "exact-fill-upright"), "");
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
