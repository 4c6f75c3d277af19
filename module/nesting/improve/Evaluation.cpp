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

// Every pair the placer looks up for an arrangement: inner-fit of each part, no-fit of each
// ordered pair (earlier fixed, later moving).
template <typename Visit>
void ForEachPair(const Polygons& arrangement, const NestPolygon& sheet, Visit visit) {
    for (int i = 0; i < arrangement.Size(); ++i) {
        visit(Pair::Of(sheet, arrangement[i], true));
    }
    for (int i = 0; i < arrangement.Size(); ++i) {
        for (int j = i + 1; j < arrangement.Size(); ++j) {
            visit(Pair::Of(arrangement[i], arrangement[j], false));
        }
    }
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

void EnsureNoFitPolygons(const std::vector<Polygons>& arrangements, const NestPolygon& sheet,
                         const NestSettings& settings, NfpCache& cache, Printer* printer) {
    Pairs missing;
    std::set<std::wstring> seen;
    for (const Polygons& arrangement : arrangements) {
        ForEachPair(arrangement, sheet, [&](const Pair& pair) {
            std::wstring key = pair.KeyText();
            if (!cache.Contains(key) && seen.insert(std::move(key)).second) {
                missing.Add(pair);
            }
        });
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
                    const NestingStopProvider* stopProvider, PlacementRule rule, double limitX) {
    NfpMap table;
    ForEachPair(arrangement, sheet, [&](const Pair& pair) {
        std::wstring key = pair.KeyText();
        Polygons loops = cache.Get(key);
        table.emplace(std::move(key), std::move(loops));
    });
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
    Evaluation evaluation;
    placer->PlaceAll(evaluation.result);
    const Polygons& placed = placer->PlacedParts();
    const Positions& positions = placer->PlacedPositions();
    evaluation.complete = stopProvider == nullptr || !stopProvider->ShouldStop();
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
