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
#include <tuple>
#include <utility>

namespace gantrel {

namespace {

// Every pair the placer looks up for an arrangement placed from part `from` on: the inner-fit
// set of each of those parts (fixed -1), the no-fit set of each ordered pair whose later
// (moving) part is one of them. Indexes into the arrangement.
template <typename Visit> void ForEachPair(int size, Visit visit, int from = 0) {
    for (int i = from; i < size; ++i) {
        visit(-1, i);
    }
    for (int i = 0; i < size; ++i) {
        for (int j = std::max(i + 1, from); j < size; ++j) {
            visit(i, j);
        }
    }
}

bool SamePart(const NestPolygon& a, const NestPolygon& b) {
    if (a.Name() != b.Name() || a.Rotation() != b.Rotation() || !IdenticalPoints(a, b) ||
        a.HoleCount() != b.HoleCount()) {
        return false;
    }
    for (int h = 0; h < a.HoleCount(); ++h) {
        if (!IdenticalPoints((*a.Holes())[h], (*b.Holes())[h])) {
            return false;
        }
    }
    return true;
}

// A placer that finds its polygons through the index and whose sheet ends at limitX: a part
// whose right edge would pass it stays out.
template <typename Base> class CandidatePlacer : public Base {
public:
    template <typename... Args>
    CandidatePlacer(const NfpIndex& index, double limitX, Args&&... args)
        : Base(std::forward<Args>(args)...), m_index(index), m_limitX(limitX) {}

    bool PlaceOne(const NestPolygon& part, Position& position) override {
        if (!Base::PlaceOne(part, position) || !position.placed) {
            return false;
        }
        const BoundingBox box = BoundingBoxOf(part);
        if (std::isfinite(m_limitX) && box.IsSet() &&
            box.Max().x + position.translation.x > m_limitX) {
            position.placed = false;
            return false;
        }
        return true;
    }

protected:
    const Polygons* InnerFitOf(const NestPolygon& part) const override {
        const Polygons* set = m_index.InnerFit(m_index.Find(part));
        return set != nullptr ? set : m_index.Cache().Find(InnerFitKey(m_index.Sheet(), part));
    }

    const Polygons* NoFitOf(int placed, const NestPolygon& part) const override {
        // The placed parts only grow during a placement: their handles are found once each.
        const Polygons& placedParts = this->PlacedParts();
        while (static_cast<int>(m_placedHandles.size()) <= placed) {
            m_placedHandles.push_back(
                m_index.Find(placedParts[static_cast<int>(m_placedHandles.size())]));
        }
        const Polygons* set =
            m_index.NoFit(m_placedHandles[static_cast<std::size_t>(placed)], m_index.Find(part));
        return set != nullptr ? set : m_index.Cache().Find(NoFitKey(placedParts[placed], part));
    }

private:
    const NfpIndex& m_index;
    double m_limitX;
    mutable std::vector<int> m_placedHandles;
};

} // namespace

int CommonHead(const Polygons& a, const Polygons& b) {
    int k = 0;
    while (k < a.Size() && k < b.Size() && SamePart(a[k], b[k])) {
        ++k;
    }
    return k;
}

void EnsureNoFitPolygons(const std::vector<Polygons>& arrangements, const NestSettings& settings,
                         NfpIndex& index, Printer* printer, const std::vector<int>* heads) {
    Pairs missing;
    std::set<std::wstring> seen;
    // Pairs the cache lacks, remembered in the index once computed.
    std::vector<std::tuple<int, int, std::wstring>> pending;
    const NestPolygon& sheet = index.Sheet();
    for (std::size_t a = 0; a < arrangements.size(); ++a) {
        const Polygons& arrangement = arrangements[a];
        std::vector<int> handles;
        for (const NestPolygon& part : arrangement) {
            handles.push_back(index.Handle(part));
        }
        const int from = heads != nullptr && a < heads->size() ? (*heads)[a] : 0;
        ForEachPair(
            arrangement.Size(),
            [&](int i, int j) {
                const int fixed = i < 0 ? -1 : handles[static_cast<std::size_t>(i)];
                const int moving = handles[static_cast<std::size_t>(j)];
                if ((i < 0 ? index.InnerFit(moving) : index.NoFit(fixed, moving)) != nullptr) {
                    return;
                }
                const NestPolygon& other = i < 0 ? sheet : arrangement[i];
                std::wstring key =
                    i < 0 ? InnerFitKey(other, arrangement[j]) : NoFitKey(other, arrangement[j]);
                if (index.Remember(fixed, moving, key) || !seen.insert(key).second) {
                    return;
                }
                missing.Add(Pair::Of(other, arrangement[j], i < 0));
                pending.emplace_back(fixed, moving, std::move(key));
            },
            from);
    }
    if (missing.IsEmpty()) {
        return;
    }
    NfpCachCalculator calculator(settings, false);
    calculator.SetPrinter(printer);
    calculator.SetSharedResults(&index.Cache().Shared());
    index.Cache().Merge(calculator.Calculate(missing));
    for (const auto& [fixed, moving, key] : pending) {
        index.Remember(fixed, moving, key);
    }
}

Evaluation Evaluate(const Polygons& arrangement, const NestSettings& settings,
                    const NfpIndex& index, const NestingStopProvider* stopProvider,
                    PlacementRule rule, double limitX, const Evaluation* previous) {
    const NestPolygon& sheet = index.Sheet();
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
    // The placers find their polygons through the index: their own tables stay empty.
    std::unique_ptr<Ukladacz> placer;
    if (rule != PlacementRule::Leftmost) {
        placer = std::make_unique<CandidatePlacer<BottomLeftPlacer>>(
            index, limitX, sheet, arrangement, NfpMap(), settings, stopProvider,
            rule == PlacementRule::BottomLeft);
    } else {
        placer = std::make_unique<CandidatePlacer<Ukladacz>>(index, limitX, sheet, arrangement,
                                                             NfpMap(), settings, stopProvider);
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
    // The search keeps many layouts and needs none of the unions the parts were placed against.
    if (!evaluation.result.sheets.IsEmpty()) {
        for (Position& position : evaluation.result.sheets[0]) {
            position.paths = IntegerPaths();
        }
    }
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
