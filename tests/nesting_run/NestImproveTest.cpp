// The run with the improving search switched on: the generations are exactly those of the run
// without it, the best layout is never worse, a stop request or the time limit ends it (told by
// stop providers and clocks that count, not by timing), and the observers hear of every better
// layout and of the end as before.
#include "RunSupport.h"
#include "nesting/run/ByDialogStopProvider.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <vector>

namespace gantrel {
namespace {

using testing::LoggingPartsObserver;
using testing::RecordingNest;
using testing::Rectangle;

// Answers "stop" from the n-th question on; safe to ask from several threads.
class StopAfter : public NestingStopProvider {
public:
    explicit StopAfter(int n) : m_left(n) {}
    bool ShouldStop() const override { return m_left.fetch_sub(1) <= 0; }
    // How many questions were answered "stop".
    int StopsAnswered() const { return std::max(0, -m_left.load()); }

private:
    mutable std::atomic<int> m_left;
};

// Seven rectangles and an L-shaped part on a 100-high sheet; no arrangement fills it exactly.
Polygons Parts() {
    Polygons parts;
    const double sides[][2] = {{30, 50}, {45, 20}, {25, 25}, {60, 15},
                               {35, 40}, {20, 70}, {15, 15}};
    int i = 0;
    for (const auto& side : sides) {
        parts.Add(Rectangle(L"R" + std::to_wstring(i++), side[0], side[1]));
    }
    NestPolygon l{GePoint(0, 0),   GePoint(40, 0),  GePoint(40, 10),
                  GePoint(10, 10), GePoint(10, 40), GePoint(0, 40)};
    l.SetName(L"L");
    parts.Add(l);
    return parts;
}

NestSettings Settings(bool improve) {
    NestSettings settings;
    settings.spacing = 0.0;
    settings.population = 6;
    settings.exhaustiveOrderLimit = 2;
    settings.generations = 3;
    settings.rotationAllowed = true;
    settings.rotationCount = 4;
    settings.maxCalculationTime = 1;
    settings.improve = improve;
    return settings;
}

struct RunRecord {
    // Every result the observers were given, in order.
    std::vector<Result> results;
    Result best;
    std::vector<std::string> log;
    int total = 0;
    double clockAtEnd = 0.0;
};

// A run for seed with a clock that moves `tick` seconds each time it is read.
RunRecord RunWith(bool improve, unsigned seed, const NestingStopProvider& stop, double tick) {
    RunRecord run;
    LoggingPartsObserver observer("O", run.log);
    RecordingNest nest(Settings(improve));
    double now = 0.0;
    nest.SetClock([&now, tick] { return now += tick; });
    nest.SetSheet(Rectangle(L"sheet", 400, 100));
    nest.SetParts(Parts());
    nest.Attach(&observer);
    nest.SetStopProvider(const_cast<NestingStopProvider*>(&stop));
    srand(seed);
    nest.Prepare();
    run.total = nest.Total();
    nest.Run();
    nest.Finish();
    run.results = observer.results;
    run.best = nest.Best();
    run.clockAtEnd = now;
    return run;
}

bool SameLayout(const Result& a, const Result& b) {
    if (a.rating != b.rating || a.PlacedCount() != b.PlacedCount()) {
        return false;
    }
    for (int i = 0; i < a.PlacedCount(); ++i) {
        const Position& p = a.sheets[0][i];
        const Position& q = b.sheets[0][i];
        if (p.name != q.name || p.rotation != q.rotation || p.translation.x != q.translation.x ||
            p.translation.y != q.translation.y) {
            return false;
        }
    }
    return true;
}

TEST(NestImprove, TheGenerationsAreUnchangedAndTheBestIsNeverWorse) {
    for (unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE(seed);
        ByDialogStopProvider never;
        const RunRecord plain = RunWith(false, seed, never, 0.5);
        const RunRecord improved = RunWith(true, seed, never, 0.5);
        // One result per arrangement, then the best once more as the run finishes.
        ASSERT_EQ(static_cast<int>(plain.results.size()), plain.total + 1);
        ASSERT_GE(static_cast<int>(improved.results.size()), plain.total);
        for (int i = 0; i < plain.total; ++i) {
            EXPECT_TRUE(SameLayout(plain.results[i], improved.results[i])) << i;
        }
        EXPECT_GE(improved.best.rating, plain.best.rating);
        // The layout drawn at the end is the best one.
        ASSERT_FALSE(improved.log.empty());
        EXPECT_EQ(improved.log.back(), "O.Finish");
    }
}

TEST(NestImprove, AStopRequestDuringTheImprovementEndsTheRunAtOnce) {
    ByDialogStopProvider never;
    const RunRecord plain = RunWith(false, 1, never, 0.0);
    // Enough answers for the generations (each placement asks after every placed part, the run
    // after each arrangement), then a few for the improving search.
    for (int extra : {1, 10, 50}) {
        SCOPED_TRACE(extra);
        const StopAfter stop(plain.total * 10 + extra);
        const RunRecord improved = RunWith(true, 1, stop, 0.0); // the clock stands still
        EXPECT_GE(improved.best.rating, plain.best.rating);
        ASSERT_FALSE(improved.log.empty());
        EXPECT_EQ(improved.log.back(), "O.Finish");
        // Once told to stop, nobody goes on asking: the driving thread and each placement
        // running at that moment hear "stop" once.
        EXPECT_GE(stop.StopsAnswered(), 1);
        EXPECT_LE(stop.StopsAnswered(), 4);
    }
}

TEST(NestImprove, TheMaximumCalculationTimeEndsTheImprovement) {
    // A clock that moves 1 s each time it is read: the one-minute limit is passed after about
    // sixty readings, whatever the machine's speed, and the run ends within a second of it.
    ByDialogStopProvider never;
    const RunRecord run = RunWith(true, 1, never, 1.0);
    EXPECT_EQ(run.log.back(), "O.Finish");
    EXPECT_GE(run.clockAtEnd, 60.0);
    EXPECT_LE(run.clockAtEnd, 62.0);
    EXPECT_GT(static_cast<int>(run.results.size()), run.total - 1);
}

} // namespace
} // namespace gantrel
