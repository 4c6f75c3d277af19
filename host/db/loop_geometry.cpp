#include "loop_geometry.h"

#include <algorithm>
#include <cmath>

#include "bulge.h"
#include "nurbs.h"

namespace gantrel::db {

namespace {

std::vector<ZcGePoint3d> controlPoints3d(const ZcDbLoopEdge& e) {
    std::vector<ZcGePoint3d> out;
    for (const ZcGePoint2d& p : e.controlPoints)
        out.push_back({p.x, p.y, 0.0});
    return out;
}

nurbs::View splineView(const ZcDbLoopEdge& e, const std::vector<ZcGePoint3d>& pts) {
    const bool rational = e.weights.size() == e.controlPoints.size() && !e.weights.empty();
    return {e.degree,
            pts.data(),
            static_cast<int>(pts.size()),
            e.knots.data(),
            static_cast<int>(e.knots.size()),
            rational ? e.weights.data() : nullptr};
}

// The minor semi-axis of an elliptic edge: the major one turned a quarter counter-clockwise.
ZcGeVector2d minorOf(const ZcDbLoopEdge& e) {
    return {-e.majorAxis.y * e.radius, e.majorAxis.x * e.radius};
}

double direction(const ZcDbLoopEdge& e) {
    return e.counterClockwise ? 1.0 : -1.0;
}

// Samples per edge for polygons and numeric integrals.
int sampleCount(const ZcDbLoopEdge& e) {
    switch (e.kind) {
    case ZcDbLoopEdge::kLine:
        return 1;
    case ZcDbLoopEdge::kSpline:
        return 32 * std::max<int>(1, static_cast<int>(e.knots.size()) - 2 * e.degree - 1);
    default:
        return std::max(4, static_cast<int>(std::ceil(edgeSweep(e) / (kPi / 120.0))));
    }
}

double cross(const ZcGeVector2d& a, const ZcGeVector2d& b) {
    return a.x * b.y - a.y * b.x;
}

} // namespace

ZcDbLoopEdge lineEdge(const ZcGePoint2d& start, const ZcGePoint2d& end) {
    ZcDbLoopEdge e;
    e.kind = ZcDbLoopEdge::kLine;
    e.start = start;
    e.end = end;
    return e;
}

ZcDbLoopEdge arcEdge(const ZcGePoint2d& center, double radius, double startAngle, double endAngle,
                     bool counterClockwise) {
    ZcDbLoopEdge e;
    e.kind = ZcDbLoopEdge::kCircularArc;
    e.center = center;
    e.radius = radius;
    e.startAngle = startAngle;
    e.endAngle = endAngle;
    e.counterClockwise = counterClockwise;
    return e;
}

std::vector<ZcDbLoopEdge> edgesOf(const ZcDbLoop& loop) {
    if (!loop.isPolyline())
        return loop.edges;
    std::vector<ZcDbLoopEdge> out;
    const std::size_t n = loop.vertices.size();
    const std::size_t segments = loop.closed ? n : (n > 0 ? n - 1 : 0);
    for (std::size_t i = 0; i < segments && n > 1; ++i) {
        const double bulge = i < loop.bulges.size() ? loop.bulges[i] : 0.0;
        const BulgeSegment seg(loop.vertices[i], loop.vertices[(i + 1) % n], bulge);
        if (seg.isDegenerate())
            continue;
        if (seg.isArc)
            out.push_back(arcEdge(seg.center, seg.radius, normalizeAngle(seg.startAngle),
                                  normalizeAngle(seg.startAngle + seg.sweep), seg.sweep > 0.0));
        else
            out.push_back(lineEdge(seg.start, seg.end));
    }
    return out;
}

double edgeSweep(const ZcDbLoopEdge& e) {
    return e.counterClockwise ? sweepAngle(e.startAngle, e.endAngle)
                              : sweepAngle(e.endAngle, e.startAngle);
}

bool isCurved(const ZcDbLoopEdge& e) {
    return e.kind == ZcDbLoopEdge::kCircularArc || e.kind == ZcDbLoopEdge::kEllipticArc;
}

bool isValidEdge(const ZcDbLoopEdge& e) {
    switch (e.kind) {
    case ZcDbLoopEdge::kLine:
        return true;
    case ZcDbLoopEdge::kCircularArc:
        return e.radius > 0.0;
    case ZcDbLoopEdge::kEllipticArc:
        return e.radius > 0.0 && e.radius <= 1.0 + 1e-12 &&
               (e.majorAxis.x != 0.0 || e.majorAxis.y != 0.0);
    case ZcDbLoopEdge::kSpline: {
        const std::vector<ZcGePoint3d> pts = controlPoints3d(e);
        return splineView(e, pts).isValid();
    }
    }
    return false;
}

ZcGePoint2d edgePointAt(const ZcDbLoopEdge& e, double u) {
    switch (e.kind) {
    case ZcDbLoopEdge::kCircularArc: {
        const double a = e.startAngle + direction(e) * edgeSweep(e) * u;
        return {e.center.x + e.radius * std::cos(a), e.center.y + e.radius * std::sin(a)};
    }
    case ZcDbLoopEdge::kEllipticArc: {
        const double t = e.startAngle + direction(e) * edgeSweep(e) * u;
        const ZcGeVector2d b = minorOf(e);
        return {e.center.x + e.majorAxis.x * std::cos(t) + b.x * std::sin(t),
                e.center.y + e.majorAxis.y * std::cos(t) + b.y * std::sin(t)};
    }
    case ZcDbLoopEdge::kSpline: {
        const std::vector<ZcGePoint3d> pts = controlPoints3d(e);
        const nurbs::View v = splineView(e, pts);
        if (!v.isValid())
            return e.controlPoints.empty() ? ZcGePoint2d() : e.controlPoints.front();
        const ZcGePoint3d p =
            nurbs::evaluate(v, v.startParam() + (v.endParam() - v.startParam()) * u);
        return {p.x, p.y};
    }
    default:
        return {e.start.x + (e.end.x - e.start.x) * u, e.start.y + (e.end.y - e.start.y) * u};
    }
}

double edgeLength(const ZcDbLoopEdge& e) {
    if (e.kind == ZcDbLoopEdge::kLine)
        return std::hypot(e.end.x - e.start.x, e.end.y - e.start.y);
    if (e.kind == ZcDbLoopEdge::kCircularArc)
        return e.radius * edgeSweep(e);
    // Ellipses and splines: a fine polyline.
    const int n = 16 * sampleCount(e);
    double length = 0.0;
    ZcGePoint2d prev = edgePointAt(e, 0.0);
    for (int i = 1; i <= n; ++i) {
        const ZcGePoint2d p = edgePointAt(e, static_cast<double>(i) / n);
        length += std::hypot(p.x - prev.x, p.y - prev.y);
        prev = p;
    }
    return length;
}

ZcDbLoopEdge reversedEdge(const ZcDbLoopEdge& e) {
    ZcDbLoopEdge r = e;
    switch (e.kind) {
    case ZcDbLoopEdge::kLine:
        std::swap(r.start, r.end);
        break;
    case ZcDbLoopEdge::kCircularArc:
    case ZcDbLoopEdge::kEllipticArc:
        std::swap(r.startAngle, r.endAngle);
        r.counterClockwise = !e.counterClockwise;
        break;
    case ZcDbLoopEdge::kSpline: {
        std::reverse(r.controlPoints.begin(), r.controlPoints.end());
        std::reverse(r.weights.begin(), r.weights.end());
        if (!e.knots.empty()) {
            const double sum = e.knots.front() + e.knots.back();
            for (std::size_t i = 0; i < e.knots.size(); ++i)
                r.knots[i] = sum - e.knots[e.knots.size() - 1 - i];
        }
        break;
    }
    }
    return r;
}

double loopSignedArea(const ZcDbLoop& loop) {
    // Green's theorem, relative to the loop's first point so that far-away loops keep their
    // digits: half the integral of x dy - y dx along each edge.
    const std::vector<ZcDbLoopEdge> edges = edgesOf(loop);
    if (edges.empty())
        return 0.0;
    const ZcGePoint2d o = edgePointAt(edges.front(), 0.0);
    auto rel = [&o](const ZcGePoint2d& p) { return ZcGeVector2d(p.x - o.x, p.y - o.y); };
    double sum = 0.0;
    for (const ZcDbLoopEdge& e : edges) {
        if (e.kind == ZcDbLoopEdge::kLine) {
            sum += cross(rel(e.start), rel(e.end));
        } else if (isCurved(e)) {
            // P(t) = C + cos t A + sin t B: the integral of P x P' is
            // C x (P(t1) - P(t0)) + (A x B)(t1 - t0).
            const ZcGeVector2d a =
                e.kind == ZcDbLoopEdge::kCircularArc ? ZcGeVector2d(e.radius, 0.0) : e.majorAxis;
            const ZcGeVector2d b =
                e.kind == ZcDbLoopEdge::kCircularArc ? ZcGeVector2d(0.0, e.radius) : minorOf(e);
            const double t0 = e.startAngle, t1 = e.startAngle + direction(e) * edgeSweep(e);
            const ZcGeVector2d chord(
                a.x * (std::cos(t1) - std::cos(t0)) + b.x * (std::sin(t1) - std::sin(t0)),
                a.y * (std::cos(t1) - std::cos(t0)) + b.y * (std::sin(t1) - std::sin(t0)));
            sum += cross(rel(e.center), chord) + cross(a, b) * (t1 - t0);
        } else {
            const int n = 16 * sampleCount(e);
            ZcGePoint2d prev = edgePointAt(e, 0.0);
            for (int i = 1; i <= n; ++i) {
                const ZcGePoint2d p = edgePointAt(e, static_cast<double>(i) / n);
                sum += cross(rel(prev), rel(p));
                prev = p;
            }
        }
    }
    // A loop whose last edge stops short of its start is closed by a straight chord.
    const ZcGePoint2d last = edgePointAt(edges.back(), 1.0);
    sum += cross(rel(last), rel(edgePointAt(edges.front(), 0.0)));
    return 0.5 * sum;
}

double loopLength(const ZcDbLoop& loop) {
    double length = 0.0;
    for (const ZcDbLoopEdge& e : edgesOf(loop))
        length += edgeLength(e);
    return length;
}

std::vector<ZcGePoint2d> loopPolygon(const ZcDbLoop& loop) {
    std::vector<ZcGePoint2d> out;
    for (const ZcDbLoopEdge& e : edgesOf(loop)) {
        const int n = sampleCount(e);
        for (int i = 0; i < n; ++i)
            out.push_back(edgePointAt(e, static_cast<double>(i) / n));
    }
    return out;
}

bool pointInPolygon(const ZcGePoint2d& p, const std::vector<ZcGePoint2d>& polygon) {
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const ZcGePoint2d& a = polygon[i];
        const ZcGePoint2d& b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            inside = !inside;
    }
    return inside;
}

void addLoopExtents(ZcDbExtents& extents, const ZcDbLoop& loop, const Ocs& ocs, double elevation) {
    for (const ZcDbLoopEdge& e : edgesOf(loop)) {
        extents.addPoint(ocs.toWorld(edgePointAt(e, 0.0), elevation));
        extents.addPoint(ocs.toWorld(edgePointAt(e, 1.0), elevation));
        if (isCurved(e)) {
            const bool circular = e.kind == ZcDbLoopEdge::kCircularArc;
            const ZcGeVector2d a = circular ? ZcGeVector2d(e.radius, 0.0) : e.majorAxis;
            const ZcGeVector2d b = circular ? ZcGeVector2d(0.0, e.radius) : minorOf(e);
            const double sweep = edgeSweep(e);
            const double from = e.counterClockwise ? e.startAngle : e.endAngle;
            addArcExtents(extents, ocs.toWorld(e.center, elevation), ocs.x * a.x + ocs.y * a.y,
                          ocs.x * b.x + ocs.y * b.y, from, sweep);
        } else if (e.kind == ZcDbLoopEdge::kSpline) {
            const int n = 4 * sampleCount(e);
            for (int i = 1; i < n; ++i)
                extents.addPoint(
                    ocs.toWorld(edgePointAt(e, static_cast<double>(i) / n), elevation));
        }
    }
}

double nestedArea(const std::vector<ZcDbLoop>& loops, int maxDepth) {
    const std::size_t n = loops.size();
    std::vector<std::vector<ZcGePoint2d>> polygons(n);
    std::vector<double> areas(n);
    for (std::size_t i = 0; i < n; ++i) {
        polygons[i] = loopPolygon(loops[i]);
        areas[i] = std::abs(loopSignedArea(loops[i]));
    }
    double total = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        if (polygons[i].size() < 2)
            continue;
        // A point on the loop, away from its vertices, stands for the loop: a loop can only lie
        // inside a larger one.
        const ZcGePoint2d probe{0.5 * (polygons[i][0].x + polygons[i][1].x),
                                0.5 * (polygons[i][0].y + polygons[i][1].y)};
        int depth = 0;
        for (std::size_t j = 0; j < n; ++j)
            if (j != i && areas[j] > areas[i] && polygons[j].size() > 2 &&
                pointInPolygon(probe, polygons[j]))
                ++depth;
        if (depth <= maxDepth)
            total += depth % 2 == 0 ? areas[i] : -areas[i];
    }
    return total;
}

void transformLoop(ZcDbLoop& loop, const ZcGeMatrix3d& xform, const Ocs& from, double fromElevation,
                   const Ocs& to, double scale, bool mirror) {
    auto point = [&](const ZcGePoint2d& p) {
        return to.toLocal2d(xform * from.toWorld(p, fromElevation));
    };
    auto vector = [&](const ZcGeVector2d& v) {
        const ZcGeVector3d w = xform * (from.x * v.x + from.y * v.y);
        return ZcGeVector2d(w.dotProduct(to.x), w.dotProduct(to.y));
    };
    for (ZcGePoint2d& p : loop.vertices)
        p = point(p);
    if (mirror)
        for (double& b : loop.bulges)
            b = -b;
    for (ZcDbLoopEdge& e : loop.edges) {
        switch (e.kind) {
        case ZcDbLoopEdge::kLine:
            e.start = point(e.start);
            e.end = point(e.end);
            break;
        case ZcDbLoopEdge::kCircularArc: {
            const bool full = edgeSweep(e) >= kTwoPi;
            const ZcGePoint2d s = point(edgePointAt(e, 0.0)), f = point(edgePointAt(e, 1.0));
            e.center = point(e.center);
            e.radius *= scale;
            e.startAngle = normalizeAngle(std::atan2(s.y - e.center.y, s.x - e.center.x));
            e.endAngle = full ? e.startAngle + kTwoPi
                              : normalizeAngle(std::atan2(f.y - e.center.y, f.x - e.center.x));
            if (mirror)
                e.counterClockwise = !e.counterClockwise;
            break;
        }
        case ZcDbLoopEdge::kEllipticArc:
            // Under a similarity the eccentric parameter is kept; a mirror negates it.
            e.center = point(e.center);
            e.majorAxis = vector(e.majorAxis);
            if (mirror) {
                e.startAngle = -e.startAngle;
                e.endAngle = -e.endAngle;
                e.counterClockwise = !e.counterClockwise;
            }
            break;
        case ZcDbLoopEdge::kSpline:
            for (ZcGePoint2d& p : e.controlPoints)
                p = point(p);
            break;
        }
    }
}

} // namespace gantrel::db
