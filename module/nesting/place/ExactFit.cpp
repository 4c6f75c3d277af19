#include "nesting/place/ExactFit.h"

#include <algorithm>
#include <cmath>

namespace gantrel {

namespace {

__extension__ typedef __int128 Wide;

struct Box {
    std::int64_t minX, minY, maxX, maxY;

    bool Overlaps(const Box& o, std::int64_t slack) const {
        return minX <= o.maxX + slack && o.minX <= maxX + slack && minY <= o.maxY + slack &&
               o.minY <= maxY + slack;
    }
};

Box BoxOf(const IntegerPoint& a, const IntegerPoint& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

Box BoxOf(const IntegerPath& loop) {
    Box box = BoxOf(loop.front(), loop.front());
    for (const IntegerPoint& p : loop) {
        box.minX = std::min(box.minX, p.x);
        box.minY = std::min(box.minY, p.y);
        box.maxX = std::max(box.maxX, p.x);
        box.maxY = std::max(box.maxY, p.y);
    }
    return box;
}

// (b - a) x (p - a), exact.
Wide Cross(const IntegerPoint& a, const IntegerPoint& b, const IntegerPoint& p) {
    return static_cast<Wide>(b.x - a.x) * (p.y - a.y) - static_cast<Wide>(b.y - a.y) * (p.x - a.x);
}

bool NearSegment(const IntegerPoint& a, const IntegerPoint& b, const IntegerPoint& p) {
    const long double dx = static_cast<long double>(b.x - a.x);
    const long double dy = static_cast<long double>(b.y - a.y);
    const long double px = static_cast<long double>(p.x - a.x);
    const long double py = static_cast<long double>(p.y - a.y);
    const long double length2 = dx * dx + dy * dy;
    long double t = length2 > 0 ? (px * dx + py * dy) / length2 : 0;
    t = std::clamp(t, static_cast<long double>(0), static_cast<long double>(1));
    const long double ex = px - t * dx;
    const long double ey = py - t * dy;
    return ex * ex + ey * ey <= static_cast<long double>(kBoundarySlack * kBoundarySlack);
}

struct LoopEdge {
    IntegerPoint a;
    IntegerPoint b;
    Box box;
};

// The crossing of two segments, when they cross at one point.
std::optional<std::pair<long double, long double>> Crossing(const LoopEdge& e, const LoopEdge& f) {
    const Wide d = static_cast<Wide>(e.b.x - e.a.x) * (f.b.y - f.a.y) -
                   static_cast<Wide>(e.b.y - e.a.y) * (f.b.x - f.a.x);
    if (d == 0) {
        return std::nullopt;
    }
    const Wide tNum = static_cast<Wide>(f.a.x - e.a.x) * (f.b.y - f.a.y) -
                      static_cast<Wide>(f.a.y - e.a.y) * (f.b.x - f.a.x);
    const Wide uNum = static_cast<Wide>(f.a.x - e.a.x) * (e.b.y - e.a.y) -
                      static_cast<Wide>(f.a.y - e.a.y) * (e.b.x - e.a.x);
    const bool positive = d > 0;
    const auto within = [&](Wide n) { return positive ? (n >= 0 && n <= d) : (n <= 0 && n >= d); };
    if (!within(tNum) || !within(uNum)) {
        return std::nullopt;
    }
    const long double t = static_cast<long double>(tNum) / static_cast<long double>(d);
    return std::make_pair(
        static_cast<long double>(e.a.x) + t * static_cast<long double>(e.b.x - e.a.x),
        static_cast<long double>(e.a.y) + t * static_cast<long double>(e.b.y - e.a.y));
}

void AddEdges(const IntegerPath& loop, std::vector<LoopEdge>& edges, const Box& window) {
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const IntegerPoint& a = loop[i];
        const IntegerPoint& b = loop[(i + 1) % loop.size()];
        const Box box = BoxOf(a, b);
        if (box.Overlaps(window, static_cast<std::int64_t>(kBoundarySlack))) {
            edges.push_back({a, b, box});
        }
    }
}

} // namespace

PointLocation Locate(const IntegerPoint& p, const IntegerPath& loop) {
    constexpr auto kSlack = static_cast<std::int64_t>(kBoundarySlack);
    bool inside = false;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const IntegerPoint& a = loop[i];
        const IntegerPoint& b = loop[(i + 1) % loop.size()];
        // A point farther than the slack from the edge's box is not near the edge.
        if (p.x >= std::min(a.x, b.x) - kSlack && p.x <= std::max(a.x, b.x) + kSlack &&
            p.y >= std::min(a.y, b.y) - kSlack && p.y <= std::max(a.y, b.y) + kSlack &&
            NearSegment(a, b, p)) {
            return PointLocation::OnBoundary;
        }
        if ((a.y > p.y) != (b.y > p.y)) {
            const Wide c = Cross(a, b, p);
            if ((b.y > a.y) ? c > 0 : c < 0) {
                inside = !inside;
            }
        }
    }
    return inside ? PointLocation::Inside : PointLocation::Outside;
}

PreparedRegion::PreparedRegion(const IntegerPaths& region) {
    double outlineArea = 0.0;
    std::vector<double> areas;
    for (const IntegerPath& loop : region) {
        if (loop.size() < 3) {
            continue;
        }
        const double area = LoopArea(loop);
        if (std::fabs(area) > std::fabs(outlineArea)) {
            outlineArea = area;
        }
        m_loops.push_back(&loop);
        const Box box = BoxOf(loop);
        m_boxes.push_back({box.minX, box.minY, box.maxX, box.maxY});
        areas.push_back(area);
    }
    for (double area : areas) {
        m_signs.push_back((area > 0) == (outlineArea > 0) ? 1 : -1);
    }
}

bool PreparedRegion::Interior(const IntegerPoint& p) const {
    const auto slack = static_cast<std::int64_t>(kBoundarySlack);
    int depth = 0;
    for (std::size_t i = 0; i < m_loops.size(); ++i) {
        const LoopBox& box = m_boxes[i];
        if (p.x < box.minX - slack || p.x > box.maxX + slack || p.y < box.minY - slack ||
            p.y > box.maxY + slack) {
            continue;
        }
        const PointLocation where = Locate(p, *m_loops[i]);
        if (where == PointLocation::OnBoundary) {
            return false;
        }
        if (where == PointLocation::Inside) {
            depth += m_signs[i];
        }
    }
    return depth > 0;
}

bool InInterior(const IntegerPoint& p, const IntegerPaths& loops) {
    return PreparedRegion(loops).Interior(p);
}

std::optional<IntegerPoint> LeftmostFreePoint(const IntegerPaths& innerFit,
                                              const std::vector<IntegerPaths>& forbidden) {
    struct Candidate {
        IntegerPoint point;
        std::size_t order;
    };
    std::vector<Candidate> candidates;
    const auto add = [&candidates](const IntegerPoint& p) {
        candidates.push_back({p, candidates.size()});
    };

    bool haveWindow = false;
    Box window{};
    for (const IntegerPath& loop : innerFit) {
        if (loop.empty()) {
            continue;
        }
        const Box box = BoxOf(loop);
        window = haveWindow ? Box{std::min(window.minX, box.minX), std::min(window.minY, box.minY),
                                  std::max(window.maxX, box.maxX), std::max(window.maxY, box.maxY)}
                            : box;
        haveWindow = true;
        for (const IntegerPoint& p : loop) {
            add(p);
        }
    }
    if (!haveWindow) {
        return std::nullopt;
    }
    // Only edges near the inner-fit region can give free points.
    std::vector<LoopEdge> innerEdges;
    std::vector<LoopEdge> forbiddenEdges;
    for (const IntegerPath& loop : innerFit) {
        AddEdges(loop, innerEdges, window);
    }
    for (const IntegerPaths& region : forbidden) {
        for (const IntegerPath& loop : region) {
            AddEdges(loop, forbiddenEdges, window);
        }
    }
    for (const LoopEdge& e : forbiddenEdges) {
        add(e.a);
    }
    const auto addCrossing = [&](const LoopEdge& e, const LoopEdge& f) {
        if (!e.box.Overlaps(f.box, 0)) {
            return;
        }
        if (const auto c = Crossing(e, f)) {
            const auto fx = static_cast<std::int64_t>(std::floor(c->first));
            const auto fy = static_cast<std::int64_t>(std::floor(c->second));
            add({std::llround(c->first), std::llround(c->second)});
            for (const IntegerPoint& p : {IntegerPoint{fx, fy}, IntegerPoint{fx + 1, fy},
                                          IntegerPoint{fx, fy + 1}, IntegerPoint{fx + 1, fy + 1}}) {
                add(p);
            }
        }
    };
    for (std::size_t i = 0; i < forbiddenEdges.size(); ++i) {
        for (const LoopEdge& f : innerEdges) {
            addCrossing(forbiddenEdges[i], f);
        }
        for (std::size_t j = i + 1; j < forbiddenEdges.size(); ++j) {
            addCrossing(forbiddenEdges[i], forbiddenEdges[j]);
        }
    }

    std::vector<PreparedRegion> regions;
    regions.reserve(forbidden.size());
    for (const IntegerPaths& region : forbidden) {
        regions.emplace_back(region);
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.point.x < b.point.x; });
    for (const Candidate& c : candidates) {
        const bool inInnerFit =
            std::any_of(innerFit.begin(), innerFit.end(), [&c](const IntegerPath& loop) {
                return !loop.empty() && Locate(c.point, loop) != PointLocation::Outside;
            });
        if (!inInnerFit) {
            continue;
        }
        const bool blocked =
            std::any_of(regions.begin(), regions.end(),
                        [&c](const PreparedRegion& region) { return region.Interior(c.point); });
        if (!blocked) {
            return c.point;
        }
    }
    return std::nullopt;
}

} // namespace gantrel
