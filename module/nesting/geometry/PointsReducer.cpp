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

// Twice the signed area of the triangle a, b, c: positive when it turns left.
double Turn(const DblPoint& a, const DblPoint& b, const DblPoint& c) {
    return (b.x.value - a.x.value) * (c.y.value - a.y.value) -
           (b.y.value - a.y.value) * (c.x.value - a.x.value);
}

double RingOrientation(const std::vector<DblPoint>& points) {
    double twiceArea = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const DblPoint& p = points[i];
        const DblPoint& q = points[(i + 1) % points.size()];
        twiceArea += p.x.value * q.y.value - q.x.value * p.y.value;
    }
    return twiceArea >= 0.0 ? 1.0 : -1.0;
}

// Whether p lies in the closed triangle a, b, c.
bool InTriangle(const DblPoint& p, const DblPoint& a, const DblPoint& b, const DblPoint& c) {
    const double d1 = Turn(a, b, p);
    const double d2 = Turn(b, c, p);
    const double d3 = Turn(c, a, p);
    const bool negative = d1 < 0.0 || d2 < 0.0 || d3 < 0.0;
    const bool positive = d1 > 0.0 || d2 > 0.0 || d3 > 0.0;
    return !(negative && positive);
}

} // namespace

bool VisvalingamWhyattPointsReducer::Removable(const std::vector<DblPoint>& points, std::size_t i,
                                               double orientation) const {
    if (m_side == ReductionSide::Any) {
        return true;
    }
    const DblPoint& a = points[i - 1];
    const DblPoint& b = points[i];
    const DblPoint& c = points[i + 1];
    // A left turn on a counter-clockwise outline is a convex corner.
    const double turn = orientation * Turn(a, b, c);
    if (turn == 0.0) {
        return true;
    }
    if ((m_side == ReductionSide::Outside) != (turn < 0.0)) {
        return false;
    }
    // The new edge a-c must not pass over another part of the outline.
    for (std::size_t k = 0; k < points.size(); ++k) {
        if (k + 1 != i && k != i && k != i + 1 && InTriangle(points[k], a, b, c)) {
            return false;
        }
    }
    return true;
}

std::vector<DblPoint>
VisvalingamWhyattPointsReducer::Reduce(const std::vector<DblPoint>& points) const {
    std::vector<DblPoint> result = points;
    if (result.size() < 3) {
        return result;
    }
    const double orientation = RingOrientation(result);
    // Points that may not go, as long as their neighbours stay.
    std::vector<bool> kept(result.size(), false);
    // Every pass recomputes all areas; outlines are short enough for the quadratic cost.
    while (result.size() >= 3) {
        std::size_t best = 0;
        double bestArea = 0.0;
        for (std::size_t i = 1; i + 1 < result.size(); ++i) {
            if (kept[i]) {
                continue;
            }
            const double area = EffectiveArea(result[i - 1], result[i], result[i + 1]);
            if (best == 0 || area < bestArea) {
                best = i;
                bestArea = area;
            }
        }
        if (best == 0 || !(bestArea < m_threshold)) {
            break;
        }
        if (!Removable(result, best, orientation)) {
            kept[best] = true;
            continue;
        }
        result.erase(result.begin() + static_cast<std::ptrdiff_t>(best));
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(best));
        // The neighbours' corners changed.
        kept[best - 1] = false;
        if (best < kept.size()) {
            kept[best] = false;
        }
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
