#include "nesting/geometry/PointsReducer.h"

#include <cmath>
#include <cstddef>

namespace gantrel {

namespace {

double EffectiveArea(const DblPoint& a, const DblPoint& b, const DblPoint& c) {
    const double ax = a.x.value, ay = a.y.value;
    const double bx = b.x.value, by = b.y.value;
    const double cx = c.x.value, cy = c.y.value;
    return 0.5 * std::fabs(ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
}

} // namespace

std::vector<DblPoint>
VisvalingamWhyattPointsReducer::Reduce(const std::vector<DblPoint>& points) const {
    std::vector<DblPoint> result = points;
    // Every pass recomputes all areas; outlines are short enough for the quadratic cost.
    while (result.size() >= 3) {
        std::size_t best = 0;
        double bestArea = 0.0;
        for (std::size_t i = 1; i + 1 < result.size(); ++i) {
            const double area = EffectiveArea(result[i - 1], result[i], result[i + 1]);
            if (best == 0 || area < bestArea) {
                best = i;
                bestArea = area;
            }
        }
        if (!(bestArea < m_threshold)) {
            break;
        }
        result.erase(result.begin() + static_cast<std::ptrdiff_t>(best));
    }
    return result;
}

GePoints VisvalingamWhyattPointsReducer::Reduce(const GePoints& points) const {
    if (points.IsEmpty()) {
        return points;
    }
    std::vector<DblPoint> in;
    in.reserve(static_cast<std::size_t>(points.Size()));
    for (const GePoint& p : points) {
        in.emplace_back(p.x, p.y);
    }
    GePoints out;
    for (const DblPoint& p : Reduce(in)) {
        out.AddXY(p.x.value, p.y.value);
    }
    return out;
}

} // namespace gantrel
