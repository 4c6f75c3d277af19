// The nesting run without a drawing: what Prepare makes of sheet and parts, how many arrangements
// Run evaluates (population, generations, time limit), and the order in which observers hear of
// the run.
#include "RunSupport.h"
#include "common/Random.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/nfp/NfpCache.h"
#include "nesting/run/ByDialogStopProvider.h"

#include <gtest/gtest.h>

#include <cmath>

namespace gantrel::testing {
namespace {

NestSettings Quick() {
    NestSettings settings;
    settings.spacing = 0.0;
    return settings;
}

Polygons ThreeParts() {
    return Polygons{Rectangle(L"a", 30, 20), Rectangle(L"b", 40, 10), Rectangle(L"c", 10, 10)};
}

TEST(NestRun, ObserversHearOfTheRunInAttachmentOrder) {
    std::vector<std::string> log;
    LoggingResultObserver a("A", log);
    LoggingObserver c("C", log);
    LoggingPartsObserver b("B", log);
    ByDialogStopProvider neverStopped;
    RecordingNest nest(Quick());
    nest.SetSheet(Rectangle(L"sheet", 200, 100));
    nest.SetParts(ThreeParts());
    nest.Attach(&a);
    nest.Attach(&c);
    nest.Attach(&b);
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();
    nest.Run();
    nest.Finish();

    // Three parts are within the exhaustive-order limit: every order once.
    std::vector<std::string> expected{"A.SetTotal", "B.SetTotal", "A.Start", "C.Start", "B.Start"};
    for (int i = 0; i < 6; ++i) {
        expected.insert(expected.end(),
                        {"A.SetResult", "B.SetResult", "A.Update", "C.Update", "B.Update"});
    }
    expected.insert(expected.end(), {"A.SetResult", "B.SetResult", "B.SetParts", "A.Finish",
                                     "C.Finish", "B.Finish"});
    EXPECT_EQ(log, expected);
    EXPECT_EQ(b.totals, std::vector<int>{6});
    ASSERT_EQ(nest.EvaluatedCount(), 6);
    // The last result handed over is the best of the run (the first of the best rating among
    // every result the observers saw); every part fits the sheet.
    double bestSeen = kEmptyRating;
    for (std::size_t i = 0; i + 1 < b.results.size(); ++i) {
        bestSeen = std::max(bestSeen, b.results[i].rating);
    }
    EXPECT_EQ(b.results.back().rating, bestSeen);
    EXPECT_EQ(nest.Best().rating, bestSeen);
    EXPECT_EQ(b.LatestResult().PlacedCount(), 3);
    EXPECT_EQ(b.parts.Size(), 3);
    EXPECT_TRUE(nest.messages.empty());
}

TEST(NestRun, PrepareCleansOrientsAndSortsSheetAndParts) {
    NestSettings settings = Quick();
    NestPolygon clockwiseSheet{GePoint(0, 0), GePoint(0, 100), GePoint(200, 100), GePoint(200, 0)};
    clockwiseSheet.SetName(L"sheet");
    NestPolygon closed{GePoint(0, 0), GePoint(10, 0), GePoint(10, 10), GePoint(0, 10),
                       GePoint(0, 0)};
    closed.SetName(L"closed");
    NestPolygon clockwisePart{GePoint(0, 0), GePoint(0, 30), GePoint(40, 30), GePoint(40, 0)};
    clockwisePart.SetName(L"big");
    ByDialogStopProvider neverStopped;
    RecordingNest nest(settings);
    nest.SetSheet(clockwiseSheet);
    // The sheet outline was selected among the parts.
    nest.SetParts(Polygons{closed, clockwiseSheet, clockwisePart, Rectangle(L"mid", 20, 20)});
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();

    const Polygons& parts = nest.Parts();
    ASSERT_EQ(parts.Size(), 3);
    EXPECT_EQ(parts[0].Name(), L"big");
    EXPECT_EQ(parts[1].Name(), L"mid");
    EXPECT_EQ(parts[2].Name(), L"closed");
    EXPECT_EQ(parts[2].Size(), 4); // the repeated closing point is gone
    for (const NestPolygon& part : parts) {
        EXPECT_LT(SignedArea(part), 0.0) << "counter-clockwise";
    }
    // Spacing 0 leaves the parts as drawn.
    EXPECT_NEAR(std::fabs(SignedArea(parts[0])), 1200.0, 1e-6);
    EXPECT_EQ(nest.Sheet().Name(), L"-1");
    EXPECT_LT(SignedArea(nest.Sheet()), 0.0);
    EXPECT_NEAR(std::fabs(SignedArea(nest.Sheet())), 20000.0, 1e-6);
    ASSERT_NE(nest.Search(), nullptr);
    EXPECT_EQ(nest.Total(), 6);
}

TEST(NestRun, SpacingGrowsThePartsAndShrinksTheSheetByHalfEach) {
    NestSettings settings;
    settings.spacing = 4.0;
    ByDialogStopProvider neverStopped;
    RecordingNest nest(settings);
    nest.SetSheet(Rectangle(L"sheet", 200, 100));
    nest.SetParts(Polygons{Rectangle(L"a", 40, 30)});
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();
    const BoundingBox sheet = BoundingBoxOf(nest.Sheet());
    EXPECT_NEAR(sheet.Width(), 196.0, 1e-3);
    EXPECT_NEAR(sheet.Height(), 96.0, 1e-3);
    const BoundingBox part = BoundingBoxOf(nest.Parts()[0]);
    EXPECT_NEAR(part.Width(), 44.0, 1e-2);
    EXPECT_NEAR(part.Height(), 34.0, 1e-2);
}

TEST(NestRun, WithoutStopProviderPartsOrUsableSheetNothingIsEvaluated) {
    ByDialogStopProvider neverStopped;
    const auto runOf = [&](const NestPolygon& sheet, const Polygons& parts, bool provider) {
        std::vector<std::string> log;
        LoggingPartsObserver observer("O", log);
        RecordingNest nest(Quick());
        nest.SetSheet(sheet);
        nest.SetParts(parts);
        nest.Attach(&observer);
        if (provider) {
            nest.SetStopProvider(&neverStopped);
        }
        nest.Prepare();
        nest.Run();
        nest.Finish();
        EXPECT_EQ(nest.Search(), nullptr);
        EXPECT_EQ(nest.EvaluatedCount(), 0);
        EXPECT_TRUE(observer.LatestResult().IsEmpty());
        EXPECT_EQ(observer.LatestResult().rating, kEmptyRating);
        return log;
    };
    const std::vector<std::string> onlyTheEnd{"O.SetResult", "O.SetParts", "O.Finish"};
    EXPECT_EQ(runOf(Rectangle(L"s", 200, 100), ThreeParts(), false), onlyTheEnd);
    EXPECT_EQ(runOf(Rectangle(L"s", 200, 100), Polygons(), true), onlyTheEnd);
    EXPECT_EQ(runOf(NestPolygon(), ThreeParts(), true), onlyTheEnd);
    // A sheet drawn as a line collapses when it is cleaned.
    NestPolygon line{GePoint(0, 0), GePoint(100, 0), GePoint(200, 0)};
    EXPECT_EQ(runOf(line, ThreeParts(), true), onlyTheEnd);
}

TEST(NestRun, GenerationsMultiplyTheArrangementsOfOneRun) {
    NestSettings settings = Quick();
    settings.population = 4;
    settings.exhaustiveOrderLimit = 2; // three parts: random start of four layouts
    for (int generations : {1, 3}) {
        settings.generations = generations;
        srand(7);
        ByDialogStopProvider neverStopped;
        RecordingNest nest(settings);
        nest.SetSheet(Rectangle(L"sheet", 200, 100));
        nest.SetParts(ThreeParts());
        nest.SetStopProvider(&neverStopped);
        nest.Prepare();
        ASSERT_NE(nest.Search(), nullptr);
        ASSERT_EQ(nest.Search()->Count(), 4);
        EXPECT_EQ(nest.Total(), 4 * generations);
        nest.Run();
        EXPECT_EQ(nest.EvaluatedCount(), 4 * generations);
        EXPECT_GT(nest.Best().rating, kEmptyRating);
    }
}

TEST(NestRun, TheMaximumCalculationTimeEndsTheRun) {
    NestSettings settings = Quick();
    settings.generations = 1000;
    settings.maxCalculationTime = 1; // minutes
    ByDialogStopProvider neverStopped;
    RecordingNest nest(settings);
    double now = 0.0;
    nest.SetClock([&now] {
        const double t = now;
        now += 30.0;
        return t;
    });
    nest.SetSheet(Rectangle(L"sheet", 200, 100));
    nest.SetParts(ThreeParts());
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();
    nest.Run();
    // Started at 0; 30 s after the first step, 60 s after the second: the limit is reached.
    EXPECT_EQ(nest.EvaluatedCount(), 2);
}

TEST(NestRun, AStopBeforePrepareEndsLeavesTheObserversUnstartedAndEvaluatesNothing) {
    std::vector<std::string> log;
    LoggingPartsObserver observer("O", log);
    ByDialogStopProvider stopped;
    stopped.RequestStop();
    NfpCache::Process().Merge(NfpMap{{L"kept", Polygons{Rectangle(L"x", 1, 1)}}});
    RecordingNest nest(Quick());
    nest.SetSheet(Rectangle(L"sheet", 200, 100));
    nest.SetParts(ThreeParts());
    nest.Attach(&observer);
    nest.SetStopProvider(&stopped);
    nest.Prepare();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(NfpCache::Process().Contains(L"kept")); // the cache is emptied only by a start
    nest.Run();
    nest.Finish();
    EXPECT_EQ(nest.EvaluatedCount(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"O.SetResult", "O.SetParts", "O.Finish"}));
    NfpCache::Process().Clear();
}

TEST(NestRun, PrepareEmptiesTheProcessCacheWhichThenServesLaterArrangements) {
    NfpCache::Process().Merge(NfpMap{{L"stale", Polygons{Rectangle(L"x", 1, 1)}}});
    ByDialogStopProvider neverStopped;
    RecordingNest nest(Quick());
    nest.SetSheet(Rectangle(L"sheet", 200, 100));
    nest.SetParts(ThreeParts());
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();
    EXPECT_EQ(NfpCache::Process().Size(), 0);
    nest.Step();
    // Three inner-fit polygons and three ordered pairs.
    const int afterFirst = NfpCache::Process().Size();
    EXPECT_EQ(afterFirst, 6);
    nest.Run();
    // Six orders of three parts need each of the six ordered pairs once more at most.
    EXPECT_EQ(NfpCache::Process().Size(), 9);
    NfpCache::Process().Clear();
}

} // namespace
} // namespace gantrel::testing

namespace gantrel::testing {
namespace {

NestPolygon Moved(const NestPolygon& polygon, double dx, double dy) {
    NestPolygon moved = polygon;
    for (GePoint& p : moved) {
        p = GePoint(p.x + dx, p.y + dy);
    }
    return moved;
}

// The best layout of a seeded run on the sheet and parts moved by (dx, dy): each piece's
// placed lower-left corner, relative to the moved sheet.
std::vector<GePoint> PlacedCorners(double dx, double dy, std::vector<std::wstring>& messages) {
    NestSettings settings = Quick();
    settings.spacing = 2.0;
    settings.rotationAllowed = true;
    settings.rotationCount = 4;
    srand(11);
    ByDialogStopProvider neverStopped;
    RecordingNest nest(settings);
    nest.SetSheet(Moved(Rectangle(L"sheet", 200, 100), dx, dy));
    Polygons parts;
    for (const NestPolygon& part : ThreeParts()) {
        parts.Add(Moved(part, dx + 300.0, dy));
    }
    nest.SetParts(parts);
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();
    nest.Run();
    messages = nest.messages;
    std::vector<GePoint> corners;
    const Result best = nest.Best();
    for (const Positions& sheet : best.sheets) {
        for (const Position& position : sheet) {
            for (const NestPolygon& part : parts) {
                if (part.Name() != position.name) {
                    continue;
                }
                NestPolygon turned = part;
                turned.SetRotation(position.rotation);
                const BoundingBox box = BoundingBoxOf(turned.Rotated());
                corners.emplace_back(box.Min().x + position.translation.x - dx,
                                     box.Min().y + position.translation.y - dy);
            }
        }
    }
    return corners;
}

TEST(NestRun, ADrawingFarFromTheOriginNestsAsAtTheOrigin) {
    std::vector<std::wstring> messages;
    const std::vector<GePoint> atOrigin = PlacedCorners(0, 0, messages);
    ASSERT_EQ(atOrigin.size(), 3u);
    for (const auto& [dx, dy] : {std::pair{1e9, -1e9}, std::pair{1e11, 1e11}}) {
        const std::vector<GePoint> far = PlacedCorners(dx, dy, messages);
        EXPECT_TRUE(messages.empty());
        ASSERT_EQ(far.size(), atOrigin.size()) << dx;
        for (std::size_t i = 0; i < far.size(); ++i) {
            EXPECT_NEAR(far[i].x, atOrigin[i].x, 1e-3) << dx;
            EXPECT_NEAR(far[i].y, atOrigin[i].y, 1e-3) << dx;
        }
    }
    // A part beyond the arithmetic's reach from the sheet is left out, with a word.
    const double reach = Nest::Reach(Quick());
    ByDialogStopProvider neverStopped;
    RecordingNest nest(Quick());
    nest.SetSheet(Rectangle(L"sheet", 200, 100));
    nest.SetParts(
        Polygons{Rectangle(L"near", 10, 10), Moved(Rectangle(L"far", 10, 10), 2 * reach, 0)});
    nest.SetStopProvider(&neverStopped);
    nest.Prepare();
    ASSERT_EQ(nest.Parts().Size(), 1);
    EXPECT_EQ(nest.Parts()[0].Name(), L"near");
    ASSERT_EQ(nest.messages.size(), 1u);
    EXPECT_NE(nest.messages[0].find(L"far lies beyond the range"), std::string::npos)
        << nest.messages[0];
}

} // namespace
} // namespace gantrel::testing
