#include "nest_gaps.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "block_content.h"
#include "zcdbblkref.h"
#include "zcdbregion.h"

namespace gantrel::app {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Blocks nested deeper than this contain themselves.
constexpr int kMaxDepth = 32;
// Uniform parameter steps a curve starts from before its chords are refined.
constexpr int kFirstSteps = 64;
constexpr int kMaxRefinement = 24;

struct P {
    double x = 0.0, y = 0.0;
};

P operator-(P a, P b) {
    return {a.x - b.x, a.y - b.y};
}
double dot(P a, P b) {
    return a.x * b.x + a.y * b.y;
}
double cross(P a, P b) {
    return a.x * b.y - a.y * b.x;
}
double dist(P a, P b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

P start(const GapSegment& s) {
    return {s.ax, s.ay};
}
P end(const GapSegment& s) {
    return {s.bx, s.by};
}
P centre(const GapArc& a) {
    return {a.cx, a.cy};
}
P arcPoint(const GapArc& a, double angle) {
    return {a.cx + a.r * std::cos(angle), a.cy + a.r * std::sin(angle)};
}

// Whether the direction `angle` lies on the arc.
bool onArc(const GapArc& a, double angle) {
    if (a.sweep >= kTwoPi)
        return true;
    double d = std::fmod(angle - a.start, kTwoPi);
    if (d < 0.0)
        d += kTwoPi;
    constexpr double eps = 1e-12;
    return d <= a.sweep + eps || d >= kTwoPi - eps;
}

bool onArc(const GapArc& a, P p) {
    return onArc(a, std::atan2(p.y - a.cy, p.x - a.cx));
}

// The arc's end points; a whole circle has none.
std::vector<P> ends(const GapArc& a) {
    if (a.sweep >= kTwoPi)
        return {};
    return {arcPoint(a, a.start), arcPoint(a, a.start + a.sweep)};
}

double pointSegment(P p, const GapSegment& s) {
    const P a = start(s), ab = end(s) - a;
    const double length2 = dot(ab, ab);
    const double t = length2 > 0.0 ? std::clamp(dot(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    return dist(p, {a.x + t * ab.x, a.y + t * ab.y});
}

double pointArc(P p, const GapArc& a) {
    const double d = dist(p, centre(a));
    if (d == 0.0)
        return a.r;
    if (onArc(a, p))
        return std::abs(d - a.r);
    double best = std::numeric_limits<double>::infinity();
    for (const P& e : ends(a))
        best = std::min(best, dist(p, e));
    return best;
}

bool segmentsCross(const GapSegment& s, const GapSegment& t) {
    const P a = start(s), b = end(s), c = start(t), d = end(t);
    const double d1 = cross(b - a, c - a), d2 = cross(b - a, d - a);
    const double d3 = cross(d - c, a - c), d4 = cross(d - c, b - c);
    return ((d1 > 0.0 && d2 < 0.0) || (d1 < 0.0 && d2 > 0.0)) &&
           ((d3 > 0.0 && d4 < 0.0) || (d3 < 0.0 && d4 > 0.0));
}

double segmentSegment(const GapSegment& s, const GapSegment& t) {
    if (segmentsCross(s, t))
        return 0.0;
    return std::min({pointSegment(start(s), t), pointSegment(end(s), t), pointSegment(start(t), s),
                     pointSegment(end(t), s)});
}

double segmentArc(const GapSegment& s, const GapArc& a) {
    const P p = start(s), d = end(s) - p, f = p - centre(a);
    const double qa = dot(d, d);
    double best = std::min(pointArc(p, a), pointArc(end(s), a));
    for (const P& e : ends(a))
        best = std::min(best, pointSegment(e, s));
    if (qa == 0.0)
        return best;
    // Where the segment meets the circle.
    const double qb = 2.0 * dot(f, d), qc = dot(f, f) - a.r * a.r;
    const double disc = qb * qb - 4.0 * qa * qc;
    if (disc >= 0.0) {
        const double root = std::sqrt(disc);
        for (const double t : {(-qb - root) / (2.0 * qa), (-qb + root) / (2.0 * qa)})
            if (t >= 0.0 && t <= 1.0 && onArc(a, P{p.x + t * d.x, p.y + t * d.y}))
                return 0.0;
    }
    // The foot of the centre on the segment and the arc's point in its direction.
    const double t = std::clamp(-dot(f, d) / qa, 0.0, 1.0);
    const P foot{p.x + t * d.x, p.y + t * d.y};
    const double toFoot = dist(foot, centre(a));
    if (toFoot > 0.0 && onArc(a, foot))
        best = std::min(best, std::abs(toFoot - a.r));
    return best;
}

double arcArc(const GapArc& a, const GapArc& b) {
    double best = std::numeric_limits<double>::infinity();
    for (const P& e : ends(a))
        best = std::min(best, pointArc(e, b));
    for (const P& e : ends(b))
        best = std::min(best, pointArc(e, a));
    const P ca = centre(a), cb = centre(b);
    const double d = dist(ca, cb);
    if (d == 0.0) {
        // Concentric: the radii's difference wherever the arcs share a direction.
        const bool share =
            a.sweep >= kTwoPi || b.sweep >= kTwoPi || onArc(a, b.start) || onArc(b, a.start);
        return share ? std::min(best, std::abs(a.r - b.r)) : best;
    }
    const P u{(cb.x - ca.x) / d, (cb.y - ca.y) / d};
    if (d <= a.r + b.r && d >= std::abs(a.r - b.r)) {
        const double along = (a.r * a.r - b.r * b.r + d * d) / (2.0 * d);
        const double h = std::sqrt(std::max(0.0, a.r * a.r - along * along));
        for (const double side : {1.0, -1.0}) {
            const P x{ca.x + along * u.x - side * h * u.y, ca.y + along * u.y + side * h * u.x};
            if (onArc(a, x) && onArc(b, x))
                return 0.0;
        }
    }
    // Closest and farthest points of each circle on the line of the centres.
    for (const double sa : {1.0, -1.0}) {
        const P pa{ca.x + sa * a.r * u.x, ca.y + sa * a.r * u.y};
        if (!onArc(a, pa))
            continue;
        for (const double sb : {1.0, -1.0}) {
            const P pb{cb.x + sb * b.r * u.x, cb.y + sb * b.r * u.y};
            if (onArc(b, pb))
                best = std::min(best, dist(pa, pb));
        }
    }
    return best;
}

GapBox boxOf(const GapSegment& s) {
    return {std::min(s.ax, s.bx), std::min(s.ay, s.by), std::max(s.ax, s.bx), std::max(s.ay, s.by)};
}

GapBox boxOf(const GapArc& a) {
    return {a.cx - a.r, a.cy - a.r, a.cx + a.r, a.cy + a.r};
}

double boxDistance(const GapBox& a, const GapBox& b) {
    const double dx = std::max({0.0, b.minX - a.maxX, a.minX - b.maxX});
    const double dy = std::max({0.0, b.minY - a.maxY, a.minY - b.maxY});
    return std::hypot(dx, dy);
}

GapBox join(const GapBox& a, const GapBox& b) {
    return {std::min(a.minX, b.minX), std::min(a.minY, b.minY), std::max(a.maxX, b.maxX),
            std::max(a.maxY, b.maxY)};
}

// The arc through the curve's start, middle and end points around its centre.
GapArc arcThrough(P c, double r, P s, P m, P e) {
    const double a0 = std::atan2(s.y - c.y, s.x - c.x);
    const auto ccw = [a0](P p, P centreOf) {
        double d = std::fmod(std::atan2(p.y - centreOf.y, p.x - centreOf.x) - a0, kTwoPi);
        return d <= 0.0 ? d + kTwoPi : d;
    };
    const double toEnd = ccw(e, c);
    if (ccw(m, c) < toEnd)
        return {c.x, c.y, r, a0, toEnd};
    return {c.x, c.y, r, std::atan2(e.y - c.y, e.x - c.x), kTwoPi - toEnd};
}

P pointAt(const ZcDbCurve& curve, double param) {
    ZcGePoint3d p;
    curve.getPointAtParam(param, p);
    return {p.x, p.y};
}

// Chords from t0 to t1, halved until the curve's points between stay within tolerance.
void refine(const ZcDbCurve& curve, double t0, P p0, double t1, P p1, double tolerance, int depth,
            GapShape& out) {
    const GapSegment chord{p0.x, p0.y, p1.x, p1.y};
    const double tm = 0.5 * (t0 + t1);
    const P pm = pointAt(curve, tm);
    const bool close = pointSegment(pm, chord) <= tolerance &&
                       pointSegment(pointAt(curve, 0.5 * (t0 + tm)), chord) <= tolerance &&
                       pointSegment(pointAt(curve, 0.5 * (tm + t1)), chord) <= tolerance;
    if (close || depth >= kMaxRefinement) {
        out.segments.push_back(chord);
        return;
    }
    refine(curve, t0, p0, tm, pm, tolerance, depth + 1, out);
    refine(curve, tm, pm, t1, p1, tolerance, depth + 1, out);
}

void addCurve(const ZcDbCurve& curve, double tolerance, GapShape& out) {
    if (const auto* line = ZcDbLine::cast(&curve)) {
        out.segments.push_back(
            {line->startPoint().x, line->startPoint().y, line->endPoint().x, line->endPoint().y});
        return;
    }
    double t0 = 0.0, t1 = 0.0;
    if (curve.getStartParam(t0) != Zcad::eOk || curve.getEndParam(t1) != Zcad::eOk || !(t1 > t0))
        return;
    if (const auto* circle = ZcDbCircle::cast(&curve)) {
        out.arcs.push_back({circle->center().x, circle->center().y, circle->radius(), 0.0, kTwoPi});
        return;
    }
    if (const auto* arc = ZcDbArc::cast(&curve)) {
        const P c{arc->center().x, arc->center().y};
        out.arcs.push_back(arcThrough(c, arc->radius(), pointAt(curve, t0),
                                      pointAt(curve, 0.5 * (t0 + t1)), pointAt(curve, t1)));
        return;
    }
    P previous = pointAt(curve, t0);
    for (int i = 1; i <= kFirstSteps; ++i) {
        const double t = i == kFirstSteps ? t1 : t0 + (t1 - t0) * i / kFirstSteps;
        const double before = t0 + (t1 - t0) * (i - 1) / kFirstSteps;
        const P next = pointAt(curve, t);
        refine(curve, before, previous, t, next, tolerance, 0, out);
        previous = next;
    }
}

void collect(const ZcDbEntity& entity, double tolerance, int depth, GapShape& out) {
    if (depth > kMaxDepth)
        return;
    const bool explodes =
        entity.isKindOf(ZcDbBlockReference::desc()) || entity.isKindOf(ZcDbRegion::desc()) ||
        entity.isKindOf(ZcDbPolyline::desc()) || entity.isKindOf(ZcDb2dPolyline::desc());
    if (explodes) {
        for (const auto& piece : db::explodedPieces(entity))
            collect(*piece, tolerance, depth + 1, out);
        return;
    }
    if (const auto* curve = ZcDbCurve::cast(&entity))
        addCurve(*curve, tolerance, out);
}

// Whether a and b can come closer than limit at all.
bool near(const GapShape& a, const GapShape& b, double limit) {
    return !a.empty() && !b.empty() && boxDistance(a.box(), b.box()) < limit;
}

} // namespace

GapBox GapShape::box() const {
    GapBox box{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
               -std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (const GapSegment& s : segments)
        box = join(box, boxOf(s));
    for (const GapArc& a : arcs)
        box = join(box, boxOf(a));
    return box;
}

GapShape gapShape(const ZcDbEntity& entity, double chordTolerance) {
    GapShape shape;
    collect(entity, chordTolerance, 0, shape);
    return shape;
}

double curveDistance(const GapShape& a, const GapShape& b) {
    double best = std::numeric_limits<double>::infinity();
    std::vector<GapBox> boxesB;
    for (const GapSegment& s : b.segments)
        boxesB.push_back(boxOf(s));
    for (const GapArc& arc : b.arcs)
        boxesB.push_back(boxOf(arc));
    const std::size_t segmentsB = b.segments.size();
    const auto measure = [&](const GapBox& box, auto&& toSegment, auto&& toArc) {
        for (std::size_t j = 0; j < boxesB.size() && best > 0.0; ++j) {
            if (boxDistance(box, boxesB[j]) >= best)
                continue;
            best = std::min(best, j < segmentsB ? toSegment(b.segments[j])
                                                : toArc(b.arcs[j - segmentsB]));
        }
    };
    for (const GapSegment& s : a.segments)
        measure(
            boxOf(s), [&](const GapSegment& t) { return segmentSegment(s, t); },
            [&](const GapArc& arc) { return segmentArc(s, arc); });
    for (const GapArc& arc : a.arcs)
        measure(
            boxOf(arc), [&](const GapSegment& t) { return segmentArc(t, arc); },
            [&](const GapArc& other) { return arcArc(arc, other); });
    return best;
}

std::vector<std::string> findGapFaults(const GapShape& sheet,
                                       const std::vector<NamedGapShape>& pieces, double spacing,
                                       double tolerance) {
    std::vector<std::string> faults;
    const double limit = spacing - tolerance;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const GapShape& piece = pieces[i].shape;
        if (piece.empty())
            continue;
        const double toEdge = curveDistance(piece, sheet);
        if (toEdge < limit)
            faults.push_back(fmt::format("piece {} lies {:.6g} from the sheet's edge, closer "
                                         "than the spacing {:.6g}",
                                         pieces[i].handle, toEdge, spacing));
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            if (!near(piece, pieces[j].shape, limit))
                continue;
            const double gap = curveDistance(piece, pieces[j].shape);
            if (gap < limit)
                faults.push_back(fmt::format("pieces {} and {} lie {:.6g} apart, closer than "
                                             "the spacing {:.6g}",
                                             pieces[i].handle, pieces[j].handle, gap, spacing));
        }
    }
    return faults;
}

} // namespace gantrel::app
