#include "nesting/improve/OverlapSearch.h"

#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Predicates.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace gantrel {

namespace {

// Spots drawn per move over the whole strip and near the part's place, and how many of the best
// are refined.
constexpr int kGlobalSamples = 32;
constexpr int kLocalSamples = 32;
constexpr int kRefined = 3;
// The spread of the spots near the part's place, in part sizes; the share of them at another
// angle.
constexpr double kLocalSpread = 0.2;
constexpr double kLocalTurn = 0.2;
// The refinement's first step and least step, in part sizes, and its evaluations at most.
constexpr double kFirstStep = 0.1;
constexpr double kLeastStep = 1e-4;
constexpr int kRefineEvaluations = 80;
// The first cut below the best width, the least cut, and the sweeps without less overlap before
// the search gives up on a width.
constexpr double kFirstCut = 0.01;
constexpr double kLeastCut = 0.001;
constexpr int kStaleSweeps = 60;
// Guided local search: an overlapping pair's weight is multiplied by a factor from kLowGrowth
// (the shallowest overlap) to kHighGrowth (the deepest); the others decay by kDecay towards 1.
constexpr double kLowGrowth = 1.2;
constexpr double kHighGrowth = 2.0;
constexpr double kDecay = 0.95;
// Overlap depth still taken as touching, relative to the strip height.
constexpr double kTouching = 1e-10;

double SegmentDistance(const GePoint& p, const GePoint& a, const GePoint& b, GePoint* nearest) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0.0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const GePoint q(a.x + t * dx, a.y + t * dy);
    if (nearest != nullptr) {
        *nearest = q;
    }
    return std::hypot(p.x - q.x, p.y - q.y);
}

// Winding number of the loop around p.
int Winding(const std::vector<GePoint>& loop, const GePoint& p) {
    int winding = 0;
    const std::size_t n = loop.size();
    for (std::size_t i = 0; i < n; ++i) {
        const GePoint& a = loop[i];
        const GePoint& b = loop[(i + 1) % n];
        const double side = (b.x - a.x) * (p.y - a.y) - (p.x - a.x) * (b.y - a.y);
        if (a.y <= p.y) {
            if (b.y > p.y && side > 0.0) {
                ++winding;
            }
        } else if (b.y <= p.y && side < 0.0) {
            --winding;
        }
    }
    return winding;
}

} // namespace

Polygons OverlapSearch::Shapes(const Polygons& parts,
                               const std::vector<std::vector<double>>& angles) {
    Polygons shapes;
    for (int k = 0; k < parts.Size(); ++k) {
        for (const double angle : angles[static_cast<std::size_t>(k)]) {
            NestPolygon shape = parts[k];
            shape.SetRotation(angle);
            shapes.Add(std::move(shape));
        }
    }
    return shapes;
}

OverlapSearch::OverlapSearch(const Polygons& parts, const std::vector<std::vector<double>>& angles,
                             const Positions& start, const NfpIndex& index,
                             const NestPolygon& sheet, std::uint64_t seed)
    : m_random(seed) {
    const int n = parts.Size();
    const BoundingBox sheetBox = BoundingBoxOf(sheet);
    if (n < 2 || static_cast<int>(angles.size()) != n || !sheetBox.IsSet() || !IsRectangle(sheet)) {
        return;
    }
    m_x0 = sheetBox.Min().x;
    m_y0 = sheetBox.Min().y;
    m_y1 = sheetBox.Max().y;
    m_tolerance = kTouching * sheetBox.Height();

    // The parts' shapes, their handles, and where the start puts them.
    std::vector<int> handles;
    m_places.assign(static_cast<std::size_t>(n), Place());
    std::vector<char> placed(static_cast<std::size_t>(n), 0);
    for (int k = 0; k < n; ++k) {
        m_names.push_back(parts[k].Name());
        m_firstShape.push_back(static_cast<int>(m_shapes.size()));
        m_shapeCount.push_back(static_cast<int>(angles[static_cast<std::size_t>(k)].size()));
        if (m_shapeCount.back() == 0) {
            return;
        }
        double size = 0.0;
        for (const double angle : angles[static_cast<std::size_t>(k)]) {
            NestPolygon turned = parts[k];
            turned.SetRotation(angle);
            const int handle = index.Find(turned);
            const NestPolygon rotated = turned.Rotated();
            const BoundingBox box = BoundingBoxOf(rotated);
            if (handle < 0 || rotated.IsEmpty() || !box.IsSet()) {
                return;
            }
            Shape shape;
            shape.rotation = angle;
            shape.reference = rotated[0];
            shape.minX = box.Min().x;
            shape.minY = box.Min().y;
            shape.maxX = box.Max().x;
            shape.maxY = box.Max().y;
            size = std::max({size, box.Width(), box.Height()});
            m_shapes.push_back(shape);
            handles.push_back(handle);
        }
        m_size.push_back(size);
    }
    for (const Position& position : start) {
        for (int k = 0; k < n; ++k) {
            if (placed[static_cast<std::size_t>(k)] == 0 &&
                m_names[static_cast<std::size_t>(k)] == position.name) {
                const std::vector<double>& own = angles[static_cast<std::size_t>(k)];
                const auto it = std::find(own.begin(), own.end(), position.rotation);
                if (!position.placed || it == own.end()) {
                    return;
                }
                m_places[static_cast<std::size_t>(k)] = {static_cast<int>(it - own.begin()),
                                                         position.translation};
                placed[static_cast<std::size_t>(k)] = 1;
                break;
            }
        }
    }
    if (std::find(placed.begin(), placed.end(), 0) != placed.end()) {
        return;
    }

    // The no-fit sets of every pair of shapes, each distinct set copied once.
    std::map<const Polygons*, int> copied;
    for (int a = 0; a < n; ++a) {
        for (int b = a + 1; b < n; ++b) {
            std::vector<int> sets;
            for (int sa = 0; sa < m_shapeCount[static_cast<std::size_t>(a)]; ++sa) {
                for (int sb = 0; sb < m_shapeCount[static_cast<std::size_t>(b)]; ++sb) {
                    const Polygons* set =
                        index.NoFit(handles[static_cast<std::size_t>(
                                        m_firstShape[static_cast<std::size_t>(a)] + sa)],
                                    handles[static_cast<std::size_t>(
                                        m_firstShape[static_cast<std::size_t>(b)] + sb)]);
                    if (set == nullptr || set->IsEmpty()) {
                        return;
                    }
                    const auto [it, added] = copied.emplace(set, static_cast<int>(m_sets.size()));
                    if (added) {
                        NoFitSet copy;
                        bool any = false;
                        for (const NestPolygon& loop : *set) {
                            Loop points;
                            for (const GePoint& p : loop) {
                                points.points.emplace_back(p.x, p.y);
                            }
                            const BoundingBox box = BoundingBoxOf(loop);
                            if (points.points.size() < 3 || !box.IsSet()) {
                                continue;
                            }
                            points.minX = box.Min().x;
                            points.minY = box.Min().y;
                            points.maxX = box.Max().x;
                            points.maxY = box.Max().y;
                            copy.minX = any ? std::min(copy.minX, points.minX) : points.minX;
                            copy.minY = any ? std::min(copy.minY, points.minY) : points.minY;
                            copy.maxX = any ? std::max(copy.maxX, points.maxX) : points.maxX;
                            copy.maxY = any ? std::max(copy.maxY, points.maxY) : points.maxY;
                            any = true;
                            copy.loops.push_back(std::move(points));
                        }
                        m_sets.push_back(std::move(copy));
                    }
                    sets.push_back(it->second);
                }
            }
            m_pairSets.push_back(std::move(sets));
        }
    }
    m_weights.assign(m_pairSets.size(), 1.0);
    m_width = WidthNow();
    m_bestPlaces = m_places;
    m_bestWidth = m_width;
    m_cut = kFirstCut;
    m_usable = true;
}

std::size_t OverlapSearch::PairSlot(int a, int b) const {
    const std::size_t n = m_places.size();
    const auto i = static_cast<std::size_t>(a);
    const auto j = static_cast<std::size_t>(b);
    return i * n - i * (i + 1) / 2 + (j - i - 1);
}

OverlapSearch::Relative OverlapSearch::RelativeOf(int m, const Place& p, int j) const {
    // The part of lower index is the fixed one of the pair's no-fit set.
    const bool mFixed = m < j;
    const Place& q = m_places[static_cast<std::size_t>(j)];
    const int b = mFixed ? j : m;
    const Place& fixed = mFixed ? p : q;
    const Place& moving = mFixed ? q : p;
    const std::size_t shapes = static_cast<std::size_t>(
        fixed.shape * m_shapeCount[static_cast<std::size_t>(b)] + moving.shape);
    const GePoint& reference = ShapeOf(b, moving.shape).reference;
    return {&m_sets[static_cast<std::size_t>(m_pairSets[PairSlot(std::min(m, j), b)][shapes])],
            GePoint(reference.x + moving.at.x - fixed.at.x, reference.y + moving.at.y - fixed.at.y),
            mFixed};
}

double OverlapSearch::Depth(int m, const Place& p, int j) const {
    const Place& q = m_places[static_cast<std::size_t>(j)];
    const Shape& sm = ShapeOf(m, p.shape);
    const Shape& sj = ShapeOf(j, q.shape);
    if (p.at.x + sm.maxX <= q.at.x + sj.minX || q.at.x + sj.maxX <= p.at.x + sm.minX ||
        p.at.y + sm.maxY <= q.at.y + sj.minY || q.at.y + sj.maxY <= p.at.y + sm.minY) {
        return 0.0;
    }
    const Relative relative = RelativeOf(m, p, j);
    const NoFitSet& set = *relative.set;
    const GePoint& r = relative.point;
    if (r.x <= set.minX || r.x >= set.maxX || r.y <= set.minY || r.y >= set.maxY) {
        return 0.0;
    }
    int winding = 0;
    for (const Loop& loop : set.loops) {
        if (r.x > loop.minX && r.x < loop.maxX && r.y > loop.minY && r.y < loop.maxY) {
            winding += Winding(loop.points, r);
        }
    }
    if (winding == 0) {
        return 0.0;
    }
    double depth = std::numeric_limits<double>::infinity();
    for (const Loop& loop : set.loops) {
        const std::size_t size = loop.points.size();
        for (std::size_t i = 0; i < size; ++i) {
            depth = std::min(
                depth, SegmentDistance(r, loop.points[i], loop.points[(i + 1) % size], nullptr));
        }
    }
    return depth;
}

double OverlapSearch::Cost(int m, const Place& p, double bound) const {
    const int n = static_cast<int>(m_places.size());
    double cost = 0.0;
    for (int j = 0; j < n && cost < bound; ++j) {
        if (j != m) {
            const double d = Depth(m, p, j);
            if (d > 0.0) {
                cost += m_weights[PairSlot(std::min(m, j), std::max(m, j))] * d;
            }
        }
    }
    return cost;
}

OverlapSearch::Place OverlapSearch::Clamp(int m, Place p) const {
    const Shape& s = ShapeOf(m, p.shape);
    const double loX = m_x0 - s.minX;
    const double hiX = std::max(loX, m_x0 + m_width - s.maxX);
    const double loY = m_y0 - s.minY;
    const double hiY = std::max(loY, m_y1 - s.maxY);
    p.at = GePoint(std::clamp(p.at.x, loX, hiX), std::clamp(p.at.y, loY, hiY));
    return p;
}

void OverlapSearch::Refine(int m, Place& p, double& c) const {
    const double size = m_size[static_cast<std::size_t>(m)];
    double step = kFirstStep * size;
    int evaluations = 0;
    static constexpr double kDirections[4][2] = {{-1, 0}, {0, -1}, {0, 1}, {1, 0}};
    while (step > kLeastStep * size && evaluations < kRefineEvaluations && c > 0.0) {
        bool better = false;
        for (const auto& direction : kDirections) {
            Place next = p;
            next.at = GePoint(p.at.x + step * direction[0], p.at.y + step * direction[1]);
            next = Clamp(m, next);
            const double cost = Cost(m, next, c);
            ++evaluations;
            if (cost < c) {
                p = next;
                c = cost;
                better = true;
                break;
            }
        }
        if (!better) {
            step *= 0.5;
        }
    }
    // Out of the deepest overlap onto the no-fit boundary, where the two parts touch exactly.
    const int n = static_cast<int>(m_places.size());
    for (int round = 0; round < 3 && c > 0.0; ++round) {
        int deepest = -1;
        double most = 0.0;
        for (int j = 0; j < n; ++j) {
            if (j != m) {
                const double d = Depth(m, p, j);
                if (d > most) {
                    most = d;
                    deepest = j;
                }
            }
        }
        if (deepest < 0) {
            break;
        }
        const Relative relative = RelativeOf(m, p, deepest);
        const GePoint& r = relative.point;
        GePoint boundary = r;
        double distance = std::numeric_limits<double>::infinity();
        for (const Loop& loop : relative.set->loops) {
            const std::size_t points = loop.points.size();
            for (std::size_t i = 0; i < points; ++i) {
                GePoint nearest;
                const double d =
                    SegmentDistance(r, loop.points[i], loop.points[(i + 1) % points], &nearest);
                if (d < distance) {
                    distance = d;
                    boundary = nearest;
                }
            }
        }
        // Moving the moving part by (boundary - r), or the fixed part by its opposite.
        const double dx = boundary.x - r.x;
        const double dy = boundary.y - r.y;
        Place out = p;
        out.at =
            relative.mFixed ? GePoint(p.at.x - dx, p.at.y - dy) : GePoint(p.at.x + dx, p.at.y + dy);
        out = Clamp(m, out);
        const double cost = Cost(m, out, c);
        if (cost >= c) {
            break;
        }
        p = out;
        c = cost;
    }
}

bool OverlapSearch::Move(int m) {
    const Place current = m_places[static_cast<std::size_t>(m)];
    const double now = Cost(m, current, std::numeric_limits<double>::infinity());
    if (now <= 0.0) {
        return false;
    }
    ++m_moves;
    const double size = m_size[static_cast<std::size_t>(m)];
    const int shapes = m_shapeCount[static_cast<std::size_t>(m)];
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_int_distribution<int> anyShape(0, shapes - 1);
    std::normal_distribution<double> near(0.0, kLocalSpread * size);
    // The best few samples, kept sorted by cost.
    std::vector<std::pair<double, Place>> best{{now, current}};
    const auto consider = [&](const Place& p) {
        const double bound =
            best.size() < kRefined ? std::numeric_limits<double>::infinity() : best.back().first;
        const double cost = Cost(m, p, bound);
        if (cost >= bound) {
            return;
        }
        best.emplace_back(cost, p);
        std::sort(best.begin(), best.end(),
                  [](const auto& x, const auto& y) { return x.first < y.first; });
        if (best.size() > kRefined) {
            best.pop_back();
        }
    };
    for (int k = 0; k < kGlobalSamples; ++k) {
        Place p;
        p.shape = anyShape(m_random);
        const Shape& s = ShapeOf(m, p.shape);
        const double loX = m_x0 - s.minX;
        const double hiX = std::max(loX, m_x0 + m_width - s.maxX);
        const double loY = m_y0 - s.minY;
        const double hiY = std::max(loY, m_y1 - s.maxY);
        p.at = GePoint(loX + unit(m_random) * (hiX - loX), loY + unit(m_random) * (hiY - loY));
        consider(p);
    }
    for (int k = 0; k < kLocalSamples; ++k) {
        Place p = current;
        if (shapes > 1 && unit(m_random) < kLocalTurn) {
            p.shape = anyShape(m_random);
        }
        p.at = GePoint(current.at.x + near(m_random), current.at.y + near(m_random));
        consider(Clamp(m, p));
    }
    double chosenCost = now;
    Place chosen = current;
    for (auto [cost, p] : best) {
        Refine(m, p, cost);
        if (cost < chosenCost) {
            chosenCost = cost;
            chosen = p;
        }
    }
    if (chosenCost < now) {
        m_places[static_cast<std::size_t>(m)] = chosen;
        return true;
    }
    return false;
}

double OverlapSearch::Overlap(std::vector<std::pair<int, int>>* pairs,
                              std::vector<double>* depths) const {
    const int n = static_cast<int>(m_places.size());
    double total = 0.0;
    for (int b = 1; b < n; ++b) {
        for (int a = 0; a < b; ++a) {
            const double d = Depth(b, m_places[static_cast<std::size_t>(b)], a);
            if (d > m_tolerance) {
                total += d;
                if (pairs != nullptr) {
                    pairs->emplace_back(a, b);
                }
                if (depths != nullptr) {
                    depths->push_back(d);
                }
            }
        }
    }
    return total;
}

double OverlapSearch::WidthNow() const {
    double right = m_x0;
    for (std::size_t k = 0; k < m_places.size(); ++k) {
        right = std::max(right,
                         m_places[k].at.x + ShapeOf(static_cast<int>(k), m_places[k].shape).maxX);
    }
    return right - m_x0;
}

Positions OverlapSearch::PositionsNow() const {
    Positions positions;
    for (std::size_t k = 0; k < m_places.size(); ++k) {
        Position position;
        position.translation = m_places[k].at;
        position.rotation = ShapeOf(static_cast<int>(k), m_places[k].shape).rotation;
        position.name = m_names[k];
        position.placed = true;
        positions.Add(std::move(position));
    }
    return positions;
}

bool OverlapSearch::Adopt(const Positions& layout) {
    if (!m_usable || layout.Size() != static_cast<int>(m_places.size())) {
        return false;
    }
    std::vector<Place> places(m_places.size());
    std::vector<char> seen(m_places.size(), 0);
    for (const Position& position : layout) {
        const auto name = std::find(m_names.begin(), m_names.end(), position.name);
        const auto k = static_cast<std::size_t>(name - m_names.begin());
        if (!position.placed || name == m_names.end() || seen[k] != 0) {
            return false;
        }
        const int part = static_cast<int>(k);
        int shape = 0;
        while (shape < m_shapeCount[k] && ShapeOf(part, shape).rotation != position.rotation) {
            ++shape;
        }
        if (shape == m_shapeCount[k]) {
            return false;
        }
        places[k] = {shape, position.translation};
        seen[k] = 1;
    }
    const std::vector<Place> before = m_places;
    m_places = places;
    const double width = WidthNow();
    if (width >= m_bestWidth) {
        m_places = before;
        return false;
    }
    m_bestPlaces = std::move(places);
    m_bestWidth = width;
    m_cut = kFirstCut;
    m_separating = false;
    return true;
}

void OverlapSearch::StartCut() {
    // Cut the strip and push the parts past the cut back inside.
    const int n = static_cast<int>(m_places.size());
    m_width = m_bestWidth * (1.0 - m_cut);
    m_places = m_bestPlaces;
    for (int k = 0; k < n; ++k) {
        m_places[static_cast<std::size_t>(k)] = Clamp(k, m_places[static_cast<std::size_t>(k)]);
    }
    std::fill(m_weights.begin(), m_weights.end(), 1.0);
    m_least = std::numeric_limits<double>::infinity();
    m_stale = 0;
    m_separating = true;
}

void OverlapSearch::Sweep(const std::vector<std::pair<int, int>>& pairs,
                          const std::vector<double>& depths) {
    // The pairs that keep overlapping weigh more, the deepest most; the others decay.
    const double deepest = *std::max_element(depths.begin(), depths.end());
    std::vector<char> hit(m_weights.size(), 0);
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const std::size_t slot = PairSlot(pairs[k].first, pairs[k].second);
        m_weights[slot] *= kLowGrowth + (kHighGrowth - kLowGrowth) * depths[k] / deepest;
        hit[slot] = 1;
    }
    for (std::size_t w = 0; w < m_weights.size(); ++w) {
        if (hit[w] == 0) {
            m_weights[w] = std::max(1.0, m_weights[w] * kDecay);
        }
    }
    // Each overlapping part moved once, in random order.
    std::vector<int> order;
    for (const auto& [a, b] : pairs) {
        order.push_back(a);
        order.push_back(b);
    }
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    std::shuffle(order.begin(), order.end(), m_random);
    for (const int m : order) {
        Move(m);
    }
}

void OverlapSearch::Run(const std::function<bool()>& giveUp, const Found& found) {
    if (!m_usable) {
        return;
    }
    std::vector<std::pair<int, int>> pairs;
    std::vector<double> depths;
    while (!giveUp()) {
        if (!m_separating) {
            StartCut();
        }
        pairs.clear();
        depths.clear();
        const double total = Overlap(&pairs, &depths);
        if (pairs.empty()) {
            // A layout on the shorter strip: cut again below it.
            m_bestPlaces = m_places;
            m_bestWidth = WidthNow();
            m_separating = false;
            if (found) {
                found(PositionsNow(), m_bestWidth);
            }
            continue;
        }
        if (total < m_least * (1.0 - 1e-3)) {
            m_least = total;
            m_stale = 0;
        } else if (++m_stale > kStaleSweeps) {
            // The cut was too deep: a smaller one, down to the least, then the first again.
            m_cut = m_cut > kLeastCut ? std::max(kLeastCut, m_cut * 0.5) : kFirstCut;
            m_separating = false;
            continue;
        }
        Sweep(pairs, depths);
    }
}

} // namespace gantrel
