#include "nesting/nfp/StartShift.h"

#include "nesting/geometry/Predicates.h"
#include "nesting/geometry/Tolerances.h"
#include "nesting/nfp/OrbitGeometry.h"
#include "nesting/nfp/PossibleTranslation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace gantrel {

namespace {

constexpr double kListTolerance = 1e-8;

int BottomVertex(const NestPolygon& a) {
    if (a.Size() < 2) {
        return 0;
    }
    int best = 0;
    for (int i = 1; i < a.Size(); ++i) {
        const GePoint& p = a[i];
        const GePoint& q = a[best];
        if (AlmostEqual(p.y, q.y, kPredicateTolerance) ? p.x < q.x : p.y < q.y) {
            best = i;
        }
    }
    return best;
}

int TopVertex(const NestPolygon& b) {
    int best = 0;
    for (int i = 1; i < b.Size(); ++i) {
        if (b[i].y > b[best].y) {
            best = i;
        }
    }
    return best;
}

// The sweep band of polygon `other` along d: the vertices p with cross(d, p) between the
// extremes of the other polygon's vertices (bounds included, 1e-8).
struct SweepBand {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();

    SweepBand(const NestPolygon& other, const Vector& d) {
        for (const GePoint& p : other) {
            const double c = Cross(d, Vector(p.x, p.y));
            low = std::min(low, c);
            high = std::max(high, c);
        }
    }
    bool Holds(const GePoint& p, const Vector& d) const {
        const double c = Cross(d, Vector(p.x, p.y));
        return NonNegativeCross(c - low) && NonNegativeCross(high - c);
    }
};

// Vectors from every vertex of `from` (inside the band of `target`) along d to the points where
// that segment meets an edge of `target`, without near-duplicates and near-zero vectors.
void AddHits(const NestPolygon& from, const NestPolygon& target, const Vector& d,
             std::vector<Vector>& out) {
    const SweepBand band(target, d);
    std::vector<Vector> found;
    for (const GePoint& p : from) {
        if (!band.Holds(p, d)) {
            continue;
        }
        const GePoint end = p + d;
        for (int j = 0; j < target.Size(); ++j) {
            const DblPoint hit = SegmentIntersection(p, end, target[j], target.NextPoint(j));
            if (!hit.HasValue()) {
                continue;
            }
            const Vector v = hit.ToGePoint() - p;
            if (v.Length() < kPredicateTolerance) {
                continue;
            }
            const bool listed = std::any_of(found.begin(), found.end(), [&v](const Vector& w) {
                return std::fabs(w.x - v.x) < kListTolerance &&
                       std::fabs(w.y - v.y) < kListTolerance;
            });
            if (!listed) {
                found.push_back(v);
            }
        }
    }
    out.insert(out.end(), found.begin(), found.end());
}

} // namespace

Edge StartShiftMaxBToMinA::Compute(const NestPolygon& a, const NestPolygon& b) const {
    if (a.IsEmpty() || b.IsEmpty()) {
        return Edge();
    }
    return Edge(b[TopVertex(b)], a[BottomVertex(a)]);
}

Edge StartShiftBySliding::Compute(const NestPolygon& a, const NestPolygon& b) const {
    if (a.IsEmpty() || b.IsEmpty()) {
        return Edge();
    }
    const GePoint origin = b[0];
    // A slide that keeps being shortened ends after this many moves, so that a slide that
    // makes no headway cannot run forever.
    const int moveLimit = 10 * (a.Size() + b.Size());
    for (int m = 0; m < a.Size(); ++m) {
        const Vector d = a.NextPoint(m) - a[m];
        for (int k = 0; k < b.Size(); ++k) {
            const Vector shift = a[m] - b[k];
            const NestPolygon placed = b.Translated(shift);
            if (Inside(placed, a)) {
                return Edge(origin, origin + shift);
            }
            std::vector<Vector> candidates;
            AddHits(placed, a, d, candidates);
            AddHits(a, placed, d, candidates);
            bool found = false;
            Vector best;
            for (const Vector& c : candidates) {
                const double length = c.Length();
                NestPolygon current = placed;
                Vector total = shift;
                for (int move = 0; move < moveLimit; ++move) {
                    const double slide = SlideDistance(a, current, c);
                    if (!(slide > kPredicateTolerance)) {
                        break;
                    }
                    const Vector step = c * (slide / length);
                    current = current.Translated(step);
                    total = total + step;
                    if (Inside(current, a)) {
                        if (!found || total.Length() < best.Length()) {
                            best = total;
                            found = true;
                        }
                        break;
                    }
                    if (!(slide < length)) {
                        break;
                    }
                }
            }
            if (found) {
                return Edge(origin, origin + best);
            }
        }
    }
    return Edge(origin, origin);
}

} // namespace gantrel
