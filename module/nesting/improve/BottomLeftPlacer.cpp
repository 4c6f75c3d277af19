#include "nesting/improve/BottomLeftPlacer.h"

#include "nesting/place/ExactFit.h"

#include <algorithm>

namespace gantrel {

BottomLeftPlacer::BottomLeftPlacer(const NestPolygon& sheet, Polygons parts, NfpMap table,
                                   const NestSettings& settings,
                                   const NestingStopProvider* stopProvider, bool exactFits)
    : Ukladacz(sheet, std::move(parts), std::move(table), settings, stopProvider),
      m_exactFits(exactFits) {}

namespace {

struct Box {
    std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    bool Holds(const IntegerPoint& p, std::int64_t slack) const {
        return p.x >= minX - slack && p.x <= maxX + slack && p.y >= minY - slack &&
               p.y <= maxY + slack;
    }
};

Box BoxOf(const IntegerPaths& loops) {
    Box box;
    bool any = false;
    for (const IntegerPath& loop : loops) {
        for (const IntegerPoint& p : loop) {
            box = any ? Box{std::min(box.minX, p.x), std::min(box.minY, p.y),
                            std::max(box.maxX, p.x), std::max(box.maxY, p.y)}
                      : Box{p.x, p.y, p.x, p.y};
            any = true;
        }
    }
    return box;
}

} // namespace

std::optional<IntegerPoint> LeftmostFreeVertex(const IntegerPaths& innerFit,
                                               const std::vector<IntegerPaths>& forbidden,
                                               std::int64_t beforeX) {
    // A candidate and the forbidden region it is a vertex of (none for the inner-fit loops'):
    // a vertex lies on its own region's boundary, so that region never blocks it.
    struct Candidate {
        IntegerPoint point;
        std::size_t region;
    };
    const std::size_t none = forbidden.size();
    std::vector<Candidate> candidates;
    const auto collect = [&](const IntegerPaths& loops, std::size_t region) {
        for (const IntegerPath& loop : loops) {
            for (const IntegerPoint& p : loop) {
                if (p.x < beforeX) {
                    candidates.push_back({p, region});
                }
            }
        }
    };
    collect(innerFit, none);
    for (std::size_t r = 0; r < forbidden.size(); ++r) {
        collect(forbidden[r], r);
    }
    if (candidates.empty()) {
        return std::nullopt;
    }
    std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
        return a.point.x != b.point.x ? a.point.x < b.point.x : a.point.y < b.point.y;
    });
    std::vector<Box> boxes;
    boxes.reserve(forbidden.size());
    for (const IntegerPaths& region : forbidden) {
        boxes.push_back(BoxOf(region));
    }
    // Regions are prepared when first asked: the search mostly ends after a few candidates.
    std::vector<std::optional<PreparedRegion>> prepared(forbidden.size());
    const auto interior = [&](std::size_t r, const IntegerPoint& p) {
        if (!prepared[r]) {
            prepared[r].emplace(forbidden[r]);
        }
        return prepared[r]->Interior(p);
    };
    const auto slack = static_cast<std::int64_t>(kBoundarySlack);
    std::size_t lastBlocker = none;
    const IntegerPoint* previous = nullptr;
    for (const Candidate& candidate : candidates) {
        const IntegerPoint& c = candidate.point;
        if (previous != nullptr && previous->x == c.x && previous->y == c.y) {
            continue;
        }
        previous = &c;
        const bool inInnerFit =
            std::any_of(innerFit.begin(), innerFit.end(), [&c](const IntegerPath& loop) {
                return !loop.empty() && Locate(c, loop) != PointLocation::Outside;
            });
        if (!inInnerFit) {
            continue;
        }
        // Neighbouring candidates mostly lie in the same region: the one that blocked the last
        // candidate is asked first.
        const auto blocks = [&](std::size_t r) {
            return r != candidate.region && boxes[r].Holds(c, slack) && interior(r, c);
        };
        bool blocked = lastBlocker < none && blocks(lastBlocker);
        for (std::size_t r = 0; r < none && !blocked; ++r) {
            if (r != lastBlocker && blocks(r)) {
                blocked = true;
                lastBlocker = r;
            }
        }
        if (!blocked) {
            return c;
        }
    }
    return std::nullopt;
}

const IntegerPoint* BottomLeftVertex(const IntegerPaths& loops, std::int64_t tie) {
    const IntegerPoint* leftmost = nullptr;
    for (const IntegerPath& loop : loops) {
        for (const IntegerPoint& v : loop) {
            if (leftmost == nullptr || v.x < leftmost->x) {
                leftmost = &v;
            }
        }
    }
    if (leftmost == nullptr) {
        return nullptr;
    }
    const std::int64_t limit = leftmost->x + tie;
    const IntegerPoint* best = leftmost;
    for (const IntegerPath& loop : loops) {
        for (const IntegerPoint& v : loop) {
            if (v.x <= limit && (v.y < best->y || (v.y == best->y && v.x < best->x))) {
                best = &v;
            }
        }
    }
    return best;
}

Position BottomLeftPlacer::BestPosition(const NestPolygon& part) {
    // The base fills the record (name, rotation, the union); only the spot changes.
    Position position = Ukladacz::BestPosition(part);
    const IntegerPoint* vertex = BottomLeftVertex(FeasibleRegion(), kTieUnits);
    if (!position.placed || vertex == nullptr) {
        return position;
    }
    IntegerPoint spot = *vertex;
    if (m_exactFits) {
        const std::optional<IntegerPoint> free =
            LeftmostFreeVertex(InnerFitPaths(), NoFitRegions(), spot.x - kTieUnits);
        if (free) {
            spot = *free;
        }
    }
    const double factor = 1.0 / Scale();
    const Position moved = PositionAt(
        part, GePoint(static_cast<double>(spot.x) * factor, static_cast<double>(spot.y) * factor));
    position.translation = moved.translation;
    return position;
}

Position BottomLeftPlacer::FirstPosition(const NestPolygon& part) {
    const Polygons* innerFit = InnerFitOf(part);
    if (innerFit == nullptr || part.IsEmpty()) {
        return Ukladacz::FirstPosition(part);
    }
    // The inner-fit vertices are taken as they are, not through integers, so that the first
    // part touches the sheet's edges exactly.
    const GePoint* leftmost = nullptr;
    for (const NestPolygon& loop : *innerFit) {
        for (const GePoint& v : loop) {
            if (leftmost == nullptr || v.x < leftmost->x) {
                leftmost = &v;
            }
        }
    }
    if (leftmost == nullptr) {
        return Ukladacz::FirstPosition(part);
    }
    const double limit = leftmost->x + static_cast<double>(kTieUnits) / Scale();
    const GePoint* best = leftmost;
    for (const NestPolygon& loop : *innerFit) {
        for (const GePoint& v : loop) {
            if (v.x <= limit && (v.y < best->y || (v.y == best->y && v.x < best->x))) {
                best = &v;
            }
        }
    }
    return PositionAt(part, *best);
}

} // namespace gantrel
