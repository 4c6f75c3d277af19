#include "bulge.h"

#include <algorithm>
#include <cmath>

namespace gantrel::db {

BulgeSegment::BulgeSegment(const ZcGePoint2d& a, const ZcGePoint2d& b, double segmentBulge)
    : start(a), end(b), bulge(segmentBulge) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double chord = std::hypot(dx, dy);
    if (bulge == 0.0 || !(chord > 0.0))
        return;
    isArc = true;
    sweep = 4.0 * std::atan(bulge);
    radius = chord * (1.0 + bulge * bulge) / (4.0 * std::abs(bulge));
    // The center lies on the chord's left normal at (1 - b^2) / (4 b) chord lengths from its
    // midpoint (to the right for a clockwise arc, whose bulge is negative).
    const double offset = (1.0 - bulge * bulge) / (4.0 * bulge);
    center = {0.5 * (a.x + b.x) - dy * offset, 0.5 * (a.y + b.y) + dx * offset};
    startAngle = std::atan2(a.y - center.y, a.x - center.x);
}

double BulgeSegment::length() const {
    if (isArc)
        return radius * std::abs(sweep);
    return std::hypot(end.x - start.x, end.y - start.y);
}

ZcGePoint2d BulgeSegment::pointAt(double u) const {
    if (isArc) {
        if (u == 1.0)
            return end; // exactly the vertex, not its rounding
        const double a = startAngle + sweep * u;
        return {center.x + radius * std::cos(a), center.y + radius * std::sin(a)};
    }
    return {start.x + (end.x - start.x) * u, start.y + (end.y - start.y) * u};
}

ZcGeVector2d BulgeSegment::derivAt(double u) const {
    if (isArc) {
        const double a = startAngle + sweep * u;
        return {-radius * sweep * std::sin(a), radius * sweep * std::cos(a)};
    }
    return {end.x - start.x, end.y - start.y};
}

double BulgeSegment::closestParam(const ZcGePoint2d& p, bool extendBefore, bool extendAfter) const {
    if (!isArc) {
        const double dx = end.x - start.x, dy = end.y - start.y;
        const double lengthSq = dx * dx + dy * dy;
        if (!(lengthSq > 0.0))
            return 0.0;
        const double u = ((p.x - start.x) * dx + (p.y - start.y) * dy) / lengthSq;
        return std::clamp(u, extendBefore ? -1e300 : 0.0, extendAfter ? 1e300 : 1.0);
    }
    const double vx = p.x - center.x, vy = p.y - center.y;
    if (vx == 0.0 && vy == 0.0)
        return 0.0;
    const double span = std::abs(sweep);
    const double dir = sweep > 0.0 ? 1.0 : -1.0;
    // Angle from the start in the direction of travel.
    const double offset = normalizeAngle(dir * (std::atan2(vy, vx) - startAngle));
    if (offset <= span)
        return offset / span;
    const double after = offset - span, before = kTwoPi - offset;
    if (extendAfter && (!extendBefore || after <= before))
        return offset / span;
    if (extendBefore)
        return (offset - kTwoPi) / span;
    // Outside the arc: the nearer end. Both ends are at the same distance from the center,
    // so the nearer in angle is the nearer in space.
    return after <= before ? 1.0 : 0.0;
}

double BulgeSegment::areaTerm() const {
    double area = 0.5 * (start.x * end.y - end.x * start.y);
    if (isArc) {
        const double s = std::abs(sweep);
        const double segment = 0.5 * radius * radius * (s - std::sin(s));
        area += sweep > 0.0 ? segment : -segment;
    }
    return area;
}

void BulgeSegment::addExtents(ZcDbExtents& extents, const Ocs& ocs, double elevation) const {
    extents.addPoint(ocs.toWorld(start, elevation));
    extents.addPoint(ocs.toWorld(end, elevation));
    if (!isArc)
        return;
    const double from = sweep > 0.0 ? startAngle : startAngle + sweep;
    addArcExtents(extents, ocs.toWorld(center, elevation), ocs.x * radius, ocs.y * radius, from,
                  std::abs(sweep));
}

} // namespace gantrel::db
