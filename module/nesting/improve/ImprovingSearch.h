// The improving search: starting from the best layout of the genetic search, keeps bettering it
// until a deadline, a stop request, or a layout that cannot be bettered.
#pragma once

#include "nesting/improve/Evaluation.h"
#include "nesting/improve/ExactFill.h"
#include "nesting/improve/Neighbourhood.h"
#include "nesting/improve/OverlapSearch.h"

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <vector>

namespace gantrel {

// Simulated annealing over the order and the rotations of the parts. Each round draws a batch of
// neighbours of the current arrangement, computes the no-fit polygons they lack into the cache
// (on the calling thread, the polygons themselves on the worker threads), places the batch in
// parallel, each candidate with its own placer, and moves to the batch's best
// candidate when the annealing accepts it.
//
// When the start places every part, the search shrinks: the used width alone is flat for most
// moves, so the sheet is cut a little (1 %) short of the best width and the objective becomes
// the share of the parts' area that no longer fits, which most moves do change. A candidate that
// places every part on the cut sheet is the new best and the sheet is cut again below it; after
// many rounds without one the cut is halved (down to 0.1 %), and then the search starts over
// from the best with the first cut. Half the candidates move a part that was left out to an
// earlier place in the order. Otherwise (parts left out even on the whole sheet, or shrinking
// off) the objective is the used width, with the parts left out counted heavily and a small
// pull of the parts' mass to the left. While it shrinks, an OverlapSearch on the other core
// shrinks the best layout by moving overlapping parts apart (see SetOverlap). The best layout is
// kept by the run's own rating (strictly higher replaces it) and is never lost: the search
// returns it whatever ends it.
class ImprovingSearch {
public:
    // Seconds since some fixed moment.
    using Clock = std::function<double()>;
    // Told the best layout, on the calling thread: each time it improves (improved true), and
    // otherwise about once per second of the clock, so that progress keeps moving.
    using Report = std::function<void(const Result& best, bool improved)>;

    enum class End {
        NotRun,
        // The deadline passed.
        Time,
        // The stop provider answered "stop".
        Stop,
        // Every part placed and the used width at its lower bound.
        LowerBound,
    };

    // parts and sheet: as the run prepared them (the sheet named as the inner-fit keys name it).
    // The stop provider may be null; it is asked from the worker threads too.
    ImprovingSearch(const Polygons& parts, const NestPolygon& sheet, const NestSettings& settings,
                    NfpCache& cache, const NestingStopProvider* stopProvider);

    void SetClock(Clock clock, double deadline) {
        m_clock = std::move(clock);
        m_deadline = deadline;
    }
    void SetReport(Report report) { m_report = std::move(report); }
    void SetPrinter(Printer* printer) { m_printer = printer; }
    void SetRule(PlacementRule rule) { m_rule = rule; }
    void SetSeed(std::uint64_t seed) { m_random.seed(seed); }
    // Candidates placed per round (at least 1); by default the number of hardware threads, at
    // least 2.
    void SetBatchSize(int size) { m_batch = size < 1 ? 1 : size; }
    // Without annealing only candidates at least as good as the current one are taken.
    void SetAnnealing(bool on) { m_annealing = on; }
    // With shrinking on (the default), a start that places every part is bettered by shrinking:
    // the sheet is cut to a little less than the best used width and the search looks for an
    // arrangement that still places every part there; each one found is the new best, and the
    // sheet is cut again. Off, the search anneals on the used width itself.
    void SetShrinking(bool on) { m_shrinking = on; }
    // With exact fills on (the default), parts whose area fills a rectangular strip exactly up
    // to the lower bound are first searched for such a fill (ExactFill), for a fortieth of the
    // time at most.
    void SetExactFill(bool on) { m_exactFill = on; }
    // With the overlap search on (the default), an OverlapSearch joins the shrinking once a tenth
    // of the time has passed: the two run side by side, each on a core, and each goes on below
    // the better layout of the two.
    void SetOverlap(bool on) { m_overlap = on; }

    // Improves on start, a layout of the run's parts (every part placed or not). Returns the best
    // layout found: start itself unless a strictly better rated one turned up.
    Result Improve(const Result& start);

    // Candidates placed to the end (the start included).
    int Evaluations() const { return m_evaluations; }
    // Layouts on a cut sheet that placed every part (each a new best).
    int Shrinks() const { return m_shrinks; }
    // Steps of the search for an exact fill (0 when it did not apply).
    std::int64_t ExactFillSteps() const { return m_exactFillSteps; }
    // Parts the overlap search moved.
    std::int64_t OverlapMoves() const { return m_overlapMoves; }
    End Ended() const { return m_end; }
    const Neighbourhood& Moves() const { return m_neighbourhood; }
    // Used width of a result's layout on this run's parts (0 without positions).
    double UsedWidthOf(const Result& result) const;
    // Whether result places every part at the least width possible.
    bool AtLowerBound(const Result& result) const;

private:
    bool StopRequested() const { return m_stopProvider != nullptr && m_stopProvider->ShouldStop(); }
    // Why the search ends before its next round, checked in this order: the best is at the lower
    // bound, a stop request, the deadline (now is read for it); none while it goes on.
    std::optional<End> EndBeforeRound(const Result& best, double& now) const;
    // Whether the search moves to a candidate that costs `worse` more than the current layout:
    // always when it costs no more; else, when annealing, with the probability exp(-worse / T),
    // T falling from startTemperature as the time runs out.
    bool Accepts(double worse, double startTemperature, double startTime, double now);
    double Cost(const Evaluation& evaluation) const;
    // Places the candidates in parallel, each part's right edge kept at or left of limitX, each
    // starting after the head it shares with previous (the current arrangement's evaluation; may
    // be null). False when a stop request cut the batch short.
    bool EvaluateBatch(const std::vector<Sequence>& candidates, double limitX,
                       const Evaluation* previous, std::vector<Evaluation>& evaluations);
    // The search for an exact fill, until a share of the time to the deadline (or a number of
    // steps without one) has passed; the layout found, rated as the run rates it.
    std::optional<Result> FillExactly(double startTime);
    // An overlap search from best (which places every part), its no-fit sets computed first;
    // null when it cannot work on best.
    std::unique_ptr<OverlapSearch> MakeOverlapSearch(const Result& best);
    // A layout of every part, rated as the run's placer rates it.
    Result Rated(const Positions& positions) const;
    // The shrinking search from best (which places every part) until it ends.
    Result Shrink(Result best, Sequence bestSequence, double startTime);
    // The fraction of the time from startTime to the deadline that has passed at now.
    double Elapsed(double startTime, double now) const;
    // The report of the best layout, if due: always when improved, else once a second.
    void Tell(const Result& best, bool improved, double& lastReport);
    double Now() const { return m_clock ? m_clock() : 0.0; }

    const Polygons& m_parts;
    const NestPolygon& m_sheet;
    NestSettings m_settings;
    // The run's cache, through handles.
    NfpIndex m_index;
    const NestingStopProvider* m_stopProvider;
    Neighbourhood m_neighbourhood;
    Clock m_clock;
    double m_deadline = std::numeric_limits<double>::infinity();
    Report m_report;
    Printer* m_printer = nullptr;
    PlacementRule m_rule = PlacementRule::BottomLeft;
    std::mt19937_64 m_random{1};
    int m_batch = 2;
    bool m_annealing = true;
    bool m_shrinking = true;
    bool m_exactFill = true;
    bool m_overlap = true;
    std::int64_t m_overlapMoves = 0;
    std::int64_t m_exactFillSteps = 0;
    int m_evaluations = 0;
    int m_shrinks = 0;
    End m_end = End::NotRun;
};

} // namespace gantrel
