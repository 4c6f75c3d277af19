#include "nesting/improve/ImprovingSearch.h"

#include "common/ParallelFor.h"
#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/place/ResultRater.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
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
// The shrinking: the first cut of the sheet below the best used width, the least cut it is
// halved down to, the rounds without a layout that fits before it is halved, the weight of the
// mass term, and the starting temperature per part (on the share of area left out).
constexpr double kShrinkStep = 0.01;
constexpr double kLeastShrinkStep = 0.001;
constexpr int kShrinkPatience = 300;
constexpr double kShrinkMassWeight = 1e-3;
constexpr double kShrinkTemperature = 0.1;
// The share of the candidates on a cut sheet that move a part left out to an earlier place.
constexpr double kOutMove = 0.5;
// Relative slack of the lower-bound test.
constexpr double kBoundSlack = 1e-9;
// The search for an exact fill: its share of the time to the deadline, and its steps when the
// search has no deadline.
constexpr double kExactFillShare = 0.025;
constexpr std::int64_t kExactFillSteps = 20000;
// The share of the time the order search shrinks alone before the overlap search joins it, and
// the length of the slices the two then run side by side, in seconds.
constexpr double kOverlapStart = 0.1;
constexpr double kSliceSeconds = 0.25;

} // namespace

ImprovingSearch::ImprovingSearch(const Polygons& parts, const NestPolygon& sheet,
                                 const NestSettings& settings, NfpCache& cache,
                                 const NestingStopProvider* stopProvider)
    : m_parts(parts), m_sheet(sheet), m_settings(settings), m_index(cache, sheet),
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
    m_overlapMoves = 0;
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
    if (std::optional<Result> filled = FillExactly(startTime)) {
        if (filled->rating > best.rating) {
            best = std::move(*filled);
            if (m_report) {
                m_report(best, true);
            }
        }
        if (AtLowerBound(best)) {
            return finish(End::LowerBound);
        }
    }
    if (StopRequested()) {
        return finish(End::Stop);
    }

    // The starting arrangement under this search's placement rule.
    double currentCost = 0.0;
    // The current arrangement's placement, from which the candidates start after the head they
    // share with it; and the best arrangement's, for the return to the best.
    Evaluation currentEvaluation;
    Evaluation bestEvaluation;
    {
        const Polygons arrangement = m_neighbourhood.ArrangementOf(current);
        EnsureNoFitPolygons({arrangement}, m_settings, m_index, m_printer);
        if (StopRequested()) {
            return finish(End::Stop);
        }
        const Evaluation first = Evaluate(arrangement, m_settings, m_index, m_stopProvider, m_rule);
        ++m_evaluations;
        if (!first.complete) {
            return finish(End::Stop);
        }
        currentCost = Cost(first);
        currentEvaluation = first;
        bestEvaluation = first;
        if (first.result.rating > best.rating) {
            best = first.result;
            if (m_report) {
                m_report(best, true);
            }
        }
    }
    if (m_shrinking && best.PlacedCount() == m_parts.Size()) {
        return Shrink(best, m_neighbourhood.FromResult(best), startTime);
    }
    double bestCost = currentCost;
    const double startTemperature = kStartTemperature * std::max(currentCost, 1e-12);
    double lastReport = startTime;
    int roundsSinceBest = 0;

    while (true) {
        double now = 0.0;
        if (const std::optional<End> end = EndBeforeRound(best, now)) {
            return finish(*end);
        }
        std::vector<Sequence> candidates;
        for (int b = 0; b < m_batch; ++b) {
            candidates.push_back(m_neighbourhood.Neighbour(current, m_random));
        }
        std::vector<Evaluation> evaluations;
        if (!EvaluateBatch(candidates, std::numeric_limits<double>::infinity(), &currentEvaluation,
                           evaluations)) {
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
                bestEvaluation = evaluations[b];
                improved = true;
            }
        }
        if (Accepts(costs[chosen] - currentCost, startTemperature, startTime, now)) {
            current = candidates[chosen];
            currentCost = costs[chosen];
            currentEvaluation = std::move(evaluations[chosen]);
        }
        if (improved) {
            roundsSinceBest = 0;
            Tell(best, true, lastReport);
            continue;
        }
        if (++roundsSinceBest >= kRoundsBeforeReturn) {
            roundsSinceBest = 0;
            current = bestSequence;
            currentCost = bestCost;
            currentEvaluation = bestEvaluation;
        }
        Tell(best, false, lastReport);
    }
}

std::optional<Result> ImprovingSearch::FillExactly(double startTime) {
    m_exactFillSteps = 0;
    if (!m_exactFill) {
        return std::nullopt;
    }
    std::vector<std::vector<double>> angles;
    for (int p = 0; p < m_parts.Size(); ++p) {
        angles.push_back(m_neighbourhood.FittingAnglesOf(p));
    }
    ExactFill fill(m_parts, angles, m_sheet, m_settings, m_neighbourhood.LowerBound());
    if (!fill.Applies()) {
        return std::nullopt;
    }
    const bool timed = std::isfinite(m_deadline);
    const double until = startTime + kExactFillShare * (m_deadline - startTime);
    const std::optional<Positions> positions = fill.Search([&] {
        return StopRequested() || (timed ? Now() >= until : fill.Steps() >= kExactFillSteps);
    });
    m_exactFillSteps = fill.Steps();
    if (!positions) {
        return std::nullopt;
    }
    return Rated(*positions);
}

Result ImprovingSearch::Rated(const Positions& positions) const {
    // Rated as the run's placer rates a layout: the parts as placed, turned but not moved.
    Polygons placed;
    for (const Position& position : positions) {
        for (const NestPolygon& part : m_parts) {
            if (part.Name() == position.name) {
                NestPolygon turned = part;
                turned.SetRotation(position.rotation);
                NestPolygon rotated = turned.Rotated();
                rotated.SetRotation(position.rotation);
                placed.Add(std::move(rotated));
                break;
            }
        }
    }
    Result result;
    result.sheets.Add(positions);
    result.rating = ResultRater(placed, positions, m_sheet, ResultRater::AreaStep(m_parts)).Rate();
    return result;
}

std::unique_ptr<OverlapSearch> ImprovingSearch::MakeOverlapSearch(const Result& best) {
    if (best.sheets.IsEmpty()) {
        return nullptr;
    }
    std::vector<std::vector<double>> angles;
    for (int p = 0; p < m_parts.Size(); ++p) {
        angles.push_back(m_neighbourhood.FittingAnglesOf(p));
    }
    EnsureNoFitPolygons({OverlapSearch::Shapes(m_parts, angles)}, m_settings, m_index, m_printer);
    auto search = std::make_unique<OverlapSearch>(m_parts, angles, best.sheets[0], m_index, m_sheet,
                                                  m_random());
    return search->Usable() ? std::move(search) : nullptr;
}

std::optional<ImprovingSearch::End> ImprovingSearch::EndBeforeRound(const Result& best,
                                                                    double& now) const {
    if (AtLowerBound(best)) {
        return End::LowerBound;
    }
    if (StopRequested()) {
        return End::Stop;
    }
    now = Now();
    if (now >= m_deadline) {
        return End::Time;
    }
    return std::nullopt;
}

bool ImprovingSearch::Accepts(double worse, double startTemperature, double startTime, double now) {
    if (worse <= 0.0) {
        return true;
    }
    if (!m_annealing) {
        return false;
    }
    const double temperature = startTemperature * std::pow(kEndFactor, Elapsed(startTime, now));
    return std::uniform_real_distribution<double>(0.0, 1.0)(m_random) <
           std::exp(-worse / temperature);
}

double ImprovingSearch::Elapsed(double startTime, double now) const {
    return std::isfinite(m_deadline) && m_deadline > startTime
               ? std::clamp((now - startTime) / (m_deadline - startTime), 0.0, 1.0)
               : 0.0;
}

void ImprovingSearch::Tell(const Result& best, bool improved, double& lastReport) {
    const double now = Now();
    if (!improved && now - lastReport < 1.0) {
        return;
    }
    lastReport = now;
    if (m_report) {
        m_report(best, improved);
    }
}

bool ImprovingSearch::EvaluateBatch(const std::vector<Sequence>& candidates, double limitX,
                                    const Evaluation* previous,
                                    std::vector<Evaluation>& evaluations) {
    std::vector<Polygons> arrangements;
    // The previous arrangement went through EnsureNoFitPolygons: the pairs among the parts a
    // candidate begins with alike are in the cache.
    std::vector<int> heads;
    for (const Sequence& candidate : candidates) {
        arrangements.push_back(m_neighbourhood.ArrangementOf(candidate));
        heads.push_back(previous != nullptr && previous->steps
                            ? CommonHead(arrangements.back(), previous->steps->arrangement)
                            : 0);
    }
    EnsureNoFitPolygons(arrangements, m_settings, m_index, m_printer, &heads);
    if (StopRequested()) {
        return false;
    }
    // Each candidate on its own placer; the cache and the index are only read meanwhile.
    evaluations.assign(candidates.size(), Evaluation());
    std::vector<char> placed(candidates.size(), 0);
    ParallelFor(
        0, static_cast<int>(candidates.size()),
        [&](int b) {
            if (StopRequested()) {
                return;
            }
            evaluations[b] = Evaluate(arrangements[b], m_settings, m_index, m_stopProvider, m_rule,
                                      limitX, previous);
            placed[b] = 1;
        },
        false);
    bool whole = true;
    for (std::size_t b = 0; b < candidates.size(); ++b) {
        m_evaluations += placed[b];
        whole = whole && placed[b] != 0 && evaluations[b].complete;
    }
    return whole;
}

Result ImprovingSearch::Shrink(Result best, Sequence bestSequence, double startTime) {
    const auto finish = [&](End end) {
        m_end = end;
        return best;
    };
    const BoundingBox sheetBox = BoundingBoxOf(m_sheet);
    const double totalArea = std::max(TotalArea(m_parts), 1e-300);
    const double bound = m_neighbourhood.LowerBound();
    // Rounding of the placed spots to the integer grid may put an exact fit a hair past the cut.
    const double slack = 16.0 / static_cast<double>(std::max(1, m_settings.integerScale));
    double bestWidth = UsedWidthOf(best);
    double cut = kShrinkStep;
    const auto limitX = [&] {
        return sheetBox.Min().x + std::max(bestWidth * (1.0 - cut), bound) + slack;
    };
    double limit = limitX();

    // The cost on a cut sheet: the share of the parts' area left out, and a trace of the mass
    // term so that equal shares still prefer layouts crowded to the left.
    const auto cost = [&](const Evaluation& evaluation) {
        return evaluation.unplacedArea / totalArea +
               kShrinkMassWeight * evaluation.massRight / std::max(bestWidth, 1e-300);
    };
    // Which places of a sequence the evaluation left out: the placer keeps the order.
    const auto leftOut = [](const Sequence& sequence, const Evaluation& evaluation,
                            const Polygons& parts) {
        std::vector<int> out;
        const Positions& positions =
            evaluation.result.sheets.IsEmpty() ? Positions() : evaluation.result.sheets[0];
        int next = 0;
        for (int k = 0; k < static_cast<int>(sequence.parts.size()); ++k) {
            if (next < positions.Size() &&
                positions[next].name == parts[sequence.parts[k]].Name()) {
                ++next;
            } else {
                out.push_back(k);
            }
        }
        return out;
    };

    Sequence current = bestSequence;
    double currentCost = std::numeric_limits<double>::infinity();
    std::vector<int> currentOut;
    Evaluation currentEvaluation;
    double lastReport = Now();
    int roundsSinceFit = 0;
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const double startTemperature = kShrinkTemperature / std::max(1, m_parts.Size());

    // A new best: the sheet is cut again below it, from its own arrangement.
    const auto restartFromBest = [&] {
        bestWidth = UsedWidthOf(best);
        limit = limitX();
        current = bestSequence;
        currentCost = std::numeric_limits<double>::infinity();
        currentOut.clear();
        currentEvaluation = Evaluation();
        roundsSinceFit = 0;
    };
    // One round of the order search at time now: true when it found a new best. Sets stopped
    // when a stop request cut the round short.
    bool stopped = false;
    const auto round = [&](double now) {
        std::vector<Sequence> candidates;
        for (int b = 0; b < m_batch; ++b) {
            Sequence next = m_neighbourhood.Neighbour(current, m_random);
            if (!currentOut.empty() && uniform(m_random) < kOutMove) {
                // A part left out goes earlier in the order, where there is still room.
                next = current;
                const int from = currentOut[std::uniform_int_distribution<std::size_t>(
                    0, currentOut.size() - 1)(m_random)];
                Neighbourhood::MovePart(next, from,
                                        std::uniform_int_distribution<int>(0, from)(m_random));
            }
            candidates.push_back(std::move(next));
        }
        std::vector<Evaluation> evaluations;
        if (!EvaluateBatch(candidates, limit, &currentEvaluation, evaluations)) {
            stopped = true;
            return false;
        }

        std::size_t chosen = 0;
        std::vector<double> costs;
        bool improved = false;
        for (std::size_t b = 0; b < candidates.size(); ++b) {
            costs.push_back(cost(evaluations[b]));
            if (costs[b] < costs[chosen]) {
                chosen = b;
            }
            if (evaluations[b].unplacedArea <= 0.0 &&
                evaluations[b].result.PlacedCount() == m_parts.Size() &&
                evaluations[b].result.rating > best.rating) {
                best = evaluations[b].result;
                bestSequence = candidates[b];
                improved = true;
            }
        }
        if (improved) {
            // Every part fits the cut sheet: cut again from the new best.
            ++m_shrinks;
            restartFromBest();
            return true;
        }
        if (Accepts(costs[chosen] - currentCost, startTemperature, startTime, now)) {
            current = candidates[chosen];
            currentCost = costs[chosen];
            currentOut = leftOut(current, evaluations[chosen], m_parts);
            currentEvaluation = std::move(evaluations[chosen]);
        }
        if (++roundsSinceFit >= kShrinkPatience) {
            // The cut was too deep: halve it, down to a least cut, then start over from the best
            // with the first cut.
            roundsSinceFit = 0;
            if (cut > kLeastShrinkStep) {
                cut = std::max(cut * 0.5, kLeastShrinkStep);
            } else {
                cut = kShrinkStep;
                current = bestSequence;
                currentOut.clear();
            }
            limit = limitX();
            currentCost = std::numeric_limits<double>::infinity();
            // Placed on the old cut: of no use on the new one.
            currentEvaluation = Evaluation();
        }
        return false;
    };

    // Once a share of the time has passed, the overlap search runs beside the order search, each
    // on a core, in slices of about kSliceSeconds; between slices the better layout of the two is
    // the best, and the other search goes on below it.
    std::unique_ptr<OverlapSearch> overlap;
    bool overlapTried = false;
    int sliceRounds = 1;
    std::int64_t sliceMoves = 1;
    while (true) {
        double now = 0.0;
        if (const std::optional<End> end = EndBeforeRound(best, now)) {
            return finish(*end);
        }
        if (m_overlap && !overlapTried && Elapsed(startTime, now) >= kOverlapStart) {
            overlapTried = true;
            overlap = MakeOverlapSearch(best);
        }
        if (!overlap) {
            const bool improved = round(now);
            if (stopped) {
                return finish(End::Stop);
            }
            Tell(best, improved, lastReport);
            continue;
        }

        bool orderImproved = false;
        std::optional<Positions> found;
        double orderSeconds = 0.0;
        double overlapSeconds = 0.0;
        ParallelFor(
            0, 2,
            [&](int side) {
                const auto begun = std::chrono::steady_clock::now();
                if (side == 0) {
                    for (int r = 0; r < sliceRounds && !stopped; ++r) {
                        orderImproved = round(now) || orderImproved;
                    }
                } else {
                    const std::int64_t until = overlap->Moves() + sliceMoves;
                    overlap->Run(
                        [&] { return overlap->Moves() >= until || StopRequested(); },
                        [&found](const Positions& positions, double) { found = positions; });
                }
                const std::chrono::duration<double> spent =
                    std::chrono::steady_clock::now() - begun;
                (side == 0 ? orderSeconds : overlapSeconds) = spent.count();
            },
            false);
        m_overlapMoves = overlap->Moves();
        if (stopped || StopRequested()) {
            return finish(End::Stop);
        }
        bool improved = orderImproved;
        if (found) {
            Result result = Rated(*found);
            if (result.rating > best.rating) {
                best = std::move(result);
                bestSequence = m_neighbourhood.FromResult(best);
                ++m_shrinks;
                restartFromBest();
                improved = true;
            }
        }
        if (orderImproved) {
            overlap->Adopt(best.sheets[0]);
        }
        // The next slice's rounds and moves, so that each side takes about a slice.
        const auto scaled = [](double count, double seconds) {
            return std::clamp(count * kSliceSeconds / std::max(seconds, 1e-4), 1.0, 1e6);
        };
        sliceRounds = static_cast<int>(scaled(sliceRounds, orderSeconds));
        sliceMoves =
            static_cast<std::int64_t>(scaled(static_cast<double>(sliceMoves), overlapSeconds));
        Tell(best, improved, lastReport);
    }
}

} // namespace gantrel
