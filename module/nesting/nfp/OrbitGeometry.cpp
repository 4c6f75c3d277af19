#include "nesting/nfp/OrbitGeometry.h"

#include "nesting/geometry/Predicates.h"
#include "nesting/geometry/Tolerances.h"

namespace gantrel {

namespace {

// Shortens v so that no vertex of q, moving along v, passes an edge of p.
Vector Trim(const NestPolygon& p, const NestPolygon& q, Vector v) {
    double len = v.Length();
    const int np = p.Size();
    for (const GePoint& from : q) {
        for (int j = 0; j < np; ++j) {
            const GePoint& s = p[j];
            const GePoint& e = p.NextPoint(j);
            if (SamePoint(e, from, kPredicateTolerance)) {
                continue;
            }
            const GePoint to = from + v;
            GePoint hit;
            if (OnClosedSegment(from, to, s)) {
                hit = s;
            } else if (OnClosedSegment(from, to, e)) {
                hit = e;
            } else {
                const DblPoint crossing = SegmentIntersection(from, to, s, e);
                if (!crossing.HasValue()) {
                    continue;
                }
                hit = crossing.ToGePoint();
            }
            const double dist = Distance(hit, from);
            if (kPredicateTolerance < dist && dist < len) {
                v = v * (dist / len);
                len = dist;
            }
        }
    }
    return v;
}

} // namespace

TouchingGroup FindTouching(const NestPolygon& a, const NestPolygon& b) {
    TouchingGroup touches;
    const int na = a.Size();
    const int nb = b.Size();
    for (int i = 0; i < na; ++i) {
        const GePoint& ai = a[i];
        const GePoint& an = a.NextPoint(i);
        for (int j = 0; j < nb; ++j) {
            const GePoint& bj = b[j];
            if (SamePoint(ai, bj, kPredicateTolerance)) {
                touches.Add({i, j, Touch::VertexOnVertex});
            }
            if (OnSegment(ai, an, bj)) {
                touches.Add({i, j, Touch::VertexOfBOnEdgeOfA});
            }
            if (OnSegment(bj, b.NextPoint(j), ai)) {
                touches.Add({i, j, Touch::VertexOfAOnEdgeOfB});
            }
        }
    }
    return touches;
}

double SlideDistance(const NestPolygon& a, const NestPolygon& b, const Vector& v) {
    const Vector t1 = Trim(a, b, v);
    const Vector t2 = Trim(b, a, -t1);
    return t2.Length();
}

bool Inside(const NestPolygon& b, const NestPolygon& a) {
    const auto strictlyOutsideA = [&a](const GePoint& p) {
        return !Contains(a, p) && !OnBoundary(a, p);
    };
    const int nb = b.Size();
    for (int i = 0; i < nb; ++i) {
        const GePoint& p = b[i];
        const GePoint& q = b.NextPoint(i);
        if (strictlyOutsideA(p) ||
            strictlyOutsideA(GePoint(0.5 * (p.x + q.x), 0.5 * (p.y + q.y)))) {
            return false;
        }
    }
    for (const GePoint& p : a) {
        // Contains counts boundary points as outside.
        if (Contains(b, GePoint(p.x + a.PositionX(), p.y + a.PositionY()))) {
            return false;
        }
    }
    return true;
}

} // namespace gantrel
