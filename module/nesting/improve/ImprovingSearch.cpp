#include "nesting/improve/ImprovingSearch.h"

#include "common/ParallelFor.h"
#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Predicates.h"

#include <algorithm>
#include <cmath>
#include <thread>

namespace gantrel {

namespace {

// The temperature falls from kStartTemperature of the starting cost to kEndFactor of that by the
// deadline; rounds without a new best before the search goes back to the best arrangement.
constexpr double kStartTemperature = 0.01;
constexpr double kEndFactor = 1e-3;
constexpr int kRoundsBeforeReturn = 400;
// Weight of the mass term against the used width.
constexpr double kMassWeight = 0.1;
// Relative slack of the lower-bound test.
constexpr double kBoundSlack = 1e-9;

} // namespace

ImprovingSearch::ImprovingSearch(const Polygons& parts, const NestPolygon& sheet,
                                 const NestSettings& settings, NfpCache& cache,
                                 const NestingStopProvider* stopProvider)
    : m_parts(parts), m_sheet(sheet), m_settings(settings), m_cache(cache),
      m_stopProvider(stopProvider), m_neighbourhood(parts, sheet, settings),
      m_batch(std::max(2, static_cast<int>(std::thread::hardware_concurrency()))) {}

double ImprovingSearch::UsedWidthOf(const Result& result) const {
    BoundingBox box;
    if (!result.IsEmpty()) {
        for (const Position& position : result.sheets[0]) {
            for (const NestPolygon& part : m_parts) {
                if (part.Name() != position.name) {
                    continue;
                }
                NestPolygon turned = part;
                turned.SetRotation(position.rotation);
                const BoundingBox partBox = BoundingBoxOf(turned.Rotated());
                if (partBox.IsSet()) {
                    const Vector shift(position.translation.x, position.translation.y);
                    box.Add(partBox.Min() + shift);
                    box.Add(partBox.Max() + shift);
                }
                break;
            }
        }
    }
    return box.IsSet() ? box.Width() : 0.0;
}

bool ImprovingSearch::AtLowerBound(const Result& result) const {
    if (result.PlacedCount() != m_parts.Size() || m_parts.IsEmpty()) {
        return false;
    }
    const double bound = m_neighbourhood.LowerBound();
    return UsedWidthOf(result) <= bound * (1.0 + kBoundSlack) + kBoundSlack;
}

double ImprovingSearch::Cost(const Evaluation& evaluation) const {
    const double height = BoundingBoxOf(m_sheet).Height();
    // A part left out costs more than any width it could add.
    const double leftOut =
        evaluation.unplacedArea > 0.0
            ? m_neighbourhood.LowerBound() + 4.0 * evaluation.unplacedArea / std::max(height, 1e-12)
            : 0.0;
    return evaluation.usedWidth + kMassWeight * evaluation.massRight + leftOut;
}

Result ImprovingSearch::Improve(const Result& start) {
    m_evaluations = 0;
    Result best = start;
    Sequence current = m_neighbourhood.FromResult(start);
    Sequence bestSequence = current;
    const auto finish = [&](End end) {
        m_end = end;
        return best;
    };
    if (m_parts.IsEmpty() || m_sheet.IsEmpty()) {
        return finish(End::NotRun);
    }
    if (AtLowerBound(best)) {
        return finish(End::LowerBound);
    }
    if (StopRequested()) {
        return finish(End::Stop);
    }
    const double startTime = Now();
    if (startTime >= m_deadline) {
        return finish(End::Time);
    }

    // The starting arrangement under this search's placement rule.
    double currentCost = 0.0;
    {
        const Polygons arrangement = m_neighbourhood.ArrangementOf(current);
        EnsureNoFitPolygons({arrangement}, m_sheet, m_settings, m_cache, m_printer);
        if (StopRequested()) {
            return finish(End::Stop);
        }
        const Evaluation first =
            Evaluate(arrangement, m_sheet, m_settings, m_cache, m_stopProvider, m_rule);
        ++m_evaluations;
        if (!first.complete) {
            return finish(End::Stop);
        }
        currentCost = Cost(first);
        if (first.result.rating > best.rating) {
            best = first.result;
            if (m_report) {
                m_report(best, true);
            }
        }
    }
    double bestCost = currentCost;
    const double startTemperature = kStartTemperature * std::max(currentCost, 1e-12);
    double lastReport = startTime;
    int roundsSinceBest = 0;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);

    while (true) {
        if (AtLowerBound(best)) {
            return finish(End::LowerBound);
        }
        if (StopRequested()) {
            return finish(End::Stop);
        }
        const double now = Now();
        if (now >= m_deadline) {
            return finish(End::Time);
        }
        std::vector<Sequence> candidates;
        std::vector<Polygons> arrangements;
        for (int b = 0; b < m_batch; ++b) {
            candidates.push_back(m_neighbourhood.Neighbour(current, m_random));
            arrangements.push_back(m_neighbourhood.ArrangementOf(candidates.back()));
        }
        EnsureNoFitPolygons(arrangements, m_sheet, m_settings, m_cache, m_printer);
        if (StopRequested()) {
            return finish(End::Stop);
        }
        // Each candidate on its own placer and table; the cache is only read meanwhile.
        std::vector<Evaluation> evaluations(candidates.size());
        std::vector<char> placed(candidates.size(), 0);
        ParallelFor(
            0, static_cast<int>(candidates.size()),
            [&](int b) {
                if (StopRequested()) {
                    return;
                }
                evaluations[b] =
                    Evaluate(arrangements[b], m_sheet, m_settings, m_cache, m_stopProvider, m_rule);
                placed[b] = 1;
            },
            false);
        bool whole = true;
        for (std::size_t b = 0; b < candidates.size(); ++b) {
            m_evaluations += placed[b];
            whole = whole && placed[b] != 0 && evaluations[b].complete;
        }
        if (!whole) {
            // A stop came while the batch was placed: what it left is not a whole layout.
            return finish(End::Stop);
        }

        std::size_t chosen = 0;
        std::vector<double> costs;
        bool improved = false;
        for (std::size_t b = 0; b < candidates.size(); ++b) {
            costs.push_back(Cost(evaluations[b]));
            if (costs[b] < costs[chosen]) {
                chosen = b;
            }
            if (evaluations[b].result.rating > best.rating) {
                best = evaluations[b].result;
                bestSequence = candidates[b];
                bestCost = costs[b];
                improved = true;
            }
        }
        const double fraction =
            std::isfinite(m_deadline) && m_deadline > startTime
                ? std::clamp((now - startTime) / (m_deadline - startTime), 0.0, 1.0)
                : 0.0;
        const double temperature = startTemperature * std::pow(kEndFactor, fraction);
        const double worse = costs[chosen] - currentCost;
        if (worse <= 0.0 || (m_annealing && uniform(m_random) < std::exp(-worse / temperature))) {
            current = candidates[chosen];
            currentCost = costs[chosen];
        }
        if (improved) {
            roundsSinceBest = 0;
            lastReport = Now();
            if (m_report) {
                m_report(best, true);
            }
            continue;
        }
        if (++roundsSinceBest >= kRoundsBeforeReturn) {
            roundsSinceBest = 0;
            current = bestSequence;
            currentCost = bestCost;
        }
        const double later = Now();
        if (later - lastReport >= 1.0) {
            lastReport = later;
            if (m_report) {
                m_report(best, false);
            }
        }
    }
}

} // namespace gantrel
