#include "nesting/improve/Evaluation.h"

#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/improve/BottomLeftPlacer.h"
#include "nesting/nfp/NfpCachCalculator.h"
#include "nesting/place/ResultRater.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <utility>

namespace gantrel {

namespace {

// Every pair the placer looks up for an arrangement placed from part `from` on: inner-fit of each
// of those parts, no-fit of each ordered pair whose later (moving) part is one of them.
template <typename Visit>
void ForEachPair(const Polygons& arrangement, const NestPolygon& sheet, Visit visit, int from = 0) {
    for (int i = from; i < arrangement.Size(); ++i) {
        visit(Pair::Of(sheet, arrangement[i], true));
    }
    for (int i = 0; i < arrangement.Size(); ++i) {
        for (int j = std::max(i + 1, from); j < arrangement.Size(); ++j) {
            visit(Pair::Of(arrangement[i], arrangement[j], false));
        }
    }
}

bool SamePoints(const GePoints& a, const GePoints& b) {
    if (a.Size() != b.Size()) {
        return false;
    }
    for (int i = 0; i < a.Size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y) {
            return false;
        }
    }
    return true;
}

bool SamePart(const NestPolygon& a, const NestPolygon& b) {
    if (a.Name() != b.Name() || a.Rotation() != b.Rotation() || !SamePoints(a, b) ||
        a.HoleCount() != b.HoleCount()) {
        return false;
    }
    for (int h = 0; h < a.HoleCount(); ++h) {
        if (!SamePoints((*a.Holes())[h], (*b.Holes())[h])) {
            return false;
        }
    }
    return true;
}

// A placer whose sheet ends at limitX: a part whose right edge would pass it stays out.
template <typename Base> class LimitedPlacer : public Base {
public:
    template <typename... Args>
    LimitedPlacer(double limitX, Args&&... args)
        : Base(std::forward<Args>(args)...), m_limitX(limitX) {}

    bool PlaceOne(const NestPolygon& part, Position& position) override {
        if (!Base::PlaceOne(part, position) || !position.placed) {
            return false;
        }
        const BoundingBox box = BoundingBoxOf(part);
        if (box.IsSet() && box.Max().x + position.translation.x > m_limitX) {
            position.placed = false;
            return false;
        }
        return true;
    }

private:
    double m_limitX;
};

} // namespace

int CommonHead(const Polygons& a, const Polygons& b) {
    int k = 0;
    while (k < a.Size() && k < b.Size() && SamePart(a[k], b[k])) {
        ++k;
    }
    return k;
}

void EnsureNoFitPolygons(const std::vector<Polygons>& arrangements, const NestPolygon& sheet,
                         const NestSettings& settings, NfpCache& cache, Printer* printer,
                         const std::vector<int>* heads) {
    Pairs missing;
    std::set<std::wstring> seen;
    for (std::size_t a = 0; a < arrangements.size(); ++a) {
        const int from = heads != nullptr && a < heads->size() ? (*heads)[a] : 0;
        ForEachPair(
            arrangements[a], sheet,
            [&](const Pair& pair) {
                std::wstring key = pair.KeyText();
                if (!cache.Contains(key) && seen.insert(std::move(key)).second) {
                    missing.Add(pair);
                }
            },
            from);
    }
    if (missing.IsEmpty()) {
        return;
    }
    NfpCachCalculator calculator(settings, false);
    calculator.SetPrinter(printer);
    calculator.SetSharedResults(&cache.Shared());
    cache.Merge(calculator.Calculate(missing));
}

Evaluation Evaluate(const Polygons& arrangement, const NestPolygon& sheet,
                    const NestSettings& settings, const NfpCache& cache,
                    const NestingStopProvider* stopProvider, PlacementRule rule, double limitX,
                    const Evaluation* previous) {
    // The head shared with the previous evaluation, if it may be taken over.
    const PlacementSteps* before =
        previous != nullptr && previous->complete ? previous->steps.get() : nullptr;
    int start = 0;
    if (before != nullptr && before->rule == rule && before->limitX == limitX &&
        !previous->result.sheets.IsEmpty()) {
        start = CommonHead(arrangement, before->arrangement);
        // The whole arrangement alike still places its last part again, so that the placer
        // leaves a state to rate; a head whose placed parts are not all known is not taken.
        start = std::min(start, arrangement.Size() - 1);
        if (start < 0 || start >= static_cast<int>(before->placedBefore.size()) ||
            before->placedBefore[static_cast<std::size_t>(start)] >
                std::min(before->placed.Size(), previous->result.sheets[0].Size())) {
            start = 0;
        }
    } else {
        before = nullptr;
    }
    NfpMap table;
    ForEachPair(
        arrangement, sheet,
        [&](const Pair& pair) {
            std::wstring key = pair.KeyText();
            Polygons loops = cache.Get(key);
            table.emplace(std::move(key), std::move(loops));
        },
        start);
    std::unique_ptr<Ukladacz> placer;
    const bool limited = std::isfinite(limitX);
    if (rule != PlacementRule::Leftmost) {
        const bool exactFits = rule == PlacementRule::BottomLeft;
        placer = limited
                     ? std::make_unique<LimitedPlacer<BottomLeftPlacer>>(limitX, sheet, arrangement,
                                                                         std::move(table), settings,
                                                                         stopProvider, exactFits)
                     : std::make_unique<BottomLeftPlacer>(sheet, arrangement, std::move(table),
                                                          settings, stopProvider, exactFits);
    } else {
        placer = limited ? std::make_unique<LimitedPlacer<Ukladacz>>(
                               limitX, sheet, arrangement, std::move(table), settings, stopProvider)
                         : std::make_unique<Ukladacz>(sheet, arrangement, std::move(table),
                                                      settings, stopProvider);
    }
    std::vector<int> placedBefore;
    if (start > 0) {
        const int count = before->placedBefore[static_cast<std::size_t>(start)];
        const Positions& positions = previous->result.sheets[0];
        Polygons headParts;
        Positions headPositions;
        for (int i = 0; i < count; ++i) {
            headParts.Add(before->placed[i]);
            headPositions.Add(positions[i]);
        }
        placer->StartAfter(start, std::move(headParts), std::move(headPositions));
        placedBefore.assign(before->placedBefore.begin(), before->placedBefore.begin() + start);
    }
    Evaluation evaluation;
    placer->PlaceAll(evaluation.result);
    evaluation.reusedParts = start;
    const Polygons& placed = placer->PlacedParts();
    const Positions& positions = placer->PlacedPositions();
    evaluation.complete = stopProvider == nullptr || !stopProvider->ShouldStop();
    if (evaluation.complete) {
        auto steps = std::make_shared<PlacementSteps>();
        steps->arrangement = arrangement;
        steps->rule = rule;
        steps->limitX = limitX;
        steps->placed = placed;
        const std::vector<int>& tail = placer->PlacedBefore();
        placedBefore.insert(placedBefore.end(), tail.begin() + start, tail.end());
        steps->placedBefore = std::move(placedBefore);
        evaluation.steps = std::move(steps);
    }
    evaluation.usedWidth = ResultRater(placed, positions, sheet).UsedWidth();
    evaluation.placedArea = TotalArea(placed);
    evaluation.unplacedArea = std::max(0.0, TotalArea(arrangement) - evaluation.placedArea);

    double left = 0.0;
    double weighted = 0.0;
    bool any = false;
    std::vector<std::pair<double, double>> rights; // right edge, area
    for (int i = 0; i < placed.Size() && i < positions.Size(); ++i) {
        const BoundingBox box = BoundingBoxOf(placed[i]);
        if (!box.IsSet()) {
            continue;
        }
        const double shift = positions[i].translation.x;
        left = any ? std::min(left, box.Min().x + shift) : box.Min().x + shift;
        any = true;
        rights.emplace_back(box.Max().x + shift, std::fabs(SignedArea(placed[i])));
    }
    double area = 0.0;
    for (const auto& [right, partArea] : rights) {
        weighted += (right - left) * partArea;
        area += partArea;
    }
    evaluation.massRight = area > 0.0 ? weighted / area : 0.0;
    return evaluation;
}

} // namespace gantrel
