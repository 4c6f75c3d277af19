#include "NfpCheck.h"

#include "SvgDump.h"
#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/Predicates.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace gantrel::testing {

namespace {

double Diagonal(const GePoints& p) {
    const BoundingBox box = BoundingBoxOf(p);
    return std::hypot(box.Width(), box.Height());
}

NestPolygon PlaceAt(const NestPolygon& b, const GePoint& reference) {
    return b.Translated(reference - b[0]);
}

double DistanceToSegment(const GePoint& p, const GePoint& a, const GePoint& b) {
    const Vector ab = b - a;
    const double len2 = Dot(ab, ab);
    const double t = len2 > 0 ? std::clamp(Dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
    return Distance(p, a + ab * t);
}

double DistanceToBoundary(const GePoint& p, const GePoints& loop) {
    double best = 1e300;
    for (int i = 0; i < loop.Size(); ++i) {
        best = std::min(best, DistanceToSegment(p, loop[i], loop.NextPoint(i)));
    }
    return best;
}

} // namespace

double ShapeSize(const GePoints& a, const GePoints& b) {
    return Diagonal(a) + Diagonal(b);
}

std::string CheckOuterNfp(const NestPolygon& a, const NestPolygon& b, const Polygons& nfp,
                          const std::string& caseName) {
    if (nfp.IsEmpty() || nfp[0].Size() < 3) {
        return caseName + ": no loop";
    }
    const double size = ShapeSize(a, b);
    const double tolerance = 1e-9 * size * size;
    const NestPolygon& loop = nfp[0];
    for (int i = 0; i < loop.Size(); ++i) {
        const NestPolygon placed = PlaceAt(b, loop[i]);
        const double overlap = IntersectionArea(a, placed, kCheckScale);
        if (overlap > tolerance) {
            std::ostringstream text;
            text << caseName << ": vertex " << i << " overlaps by " << overlap << " (tolerance "
                 << tolerance << "), svg "
                 << WriteSvg(caseName + "-vertex", {{a, "blue"}, {placed, "red"}, {loop, "green"}});
            return text.str();
        }
        // Without overlap the shapes must also touch: no gap between the outlines.
        double gap = 1e300;
        for (const GePoint& v : placed) {
            gap = std::min(gap, DistanceToBoundary(v, a));
        }
        for (const GePoint& v : a) {
            gap = std::min(gap, DistanceToBoundary(v, placed));
        }
        if (gap > 1e-6 * size) {
            std::ostringstream text;
            text << caseName << ": vertex " << i << " leaves a gap of " << gap << ", svg "
                 << WriteSvg(caseName + "-gap", {{a, "blue"}, {placed, "red"}, {loop, "green"}});
            return text.str();
        }
    }
    for (int i = 0; i < loop.Size(); ++i) {
        const GePoint& s = loop[i];
        const GePoint& e = loop.NextPoint(i);
        const Vector edge = e - s;
        const double length = edge.Length();
        if (length < 1e-6 * size) {
            continue;
        }
        const double depth = std::min(1e-3 * size, 0.25 * length);
        // The loop is counter-clockwise: its inside is to the left of every edge.
        const Vector left(-edge.y / length, edge.x / length);
        const GePoint inside = GePoint(0.5 * (s.x + e.x), 0.5 * (s.y + e.y)) + left * depth;
        if (!Contains(loop, inside)) {
            continue; // the offset point left the loop where it folds back
        }
        const NestPolygon placed = PlaceAt(b, inside);
        const double overlap = IntersectionArea(a, placed, kCheckScale);
        if (!(overlap > tolerance)) {
            std::ostringstream text;
            text << caseName << ": point inside edge " << i << " overlaps only by " << overlap
                 << ", svg "
                 << WriteSvg(caseName + "-inside", {{a, "blue"}, {placed, "red"}, {loop, "green"}});
            return text.str();
        }
    }
    return {};
}

std::string CheckInnerFit(const NestPolygon& sheet, const NestPolygon& b, const Polygons& ifp,
                          const std::string& caseName) {
    const double size = ShapeSize(sheet, b);
    const double tolerance = 1e-9 * size * size;
    const double areaB = std::fabs(SignedArea(b));
    for (const NestPolygon& loop : ifp) {
        for (int i = 0; i < loop.Size(); ++i) {
            const NestPolygon placed = PlaceAt(b, loop[i]);
            const double outside = areaB - IntersectionArea(sheet, placed, kCheckScale);
            if (outside > tolerance) {
                std::ostringstream text;
                text << caseName << ": vertex " << i << " leaves " << outside
                     << " outside the sheet, svg "
                     << WriteSvg(caseName + "-ifp",
                                 {{sheet, "blue"}, {placed, "red"}, {loop, "green"}});
                return text.str();
            }
        }
    }
    return {};
}

double VertexDistance(const GePoints& p, const GePoints& q) {
    double worst = 0.0;
    for (const GePoint& x : p) {
        worst = std::max(worst, DistanceToBoundary(x, q));
    }
    return worst;
}

double LoopDistance(const GePoints& p, const GePoints& q) {
    return std::max(VertexDistance(p, q), VertexDistance(q, p));
}

double RegionDifference(const GePoints& p, const GePoints& q) {
    return std::fabs(SignedArea(p)) + std::fabs(SignedArea(q)) -
           2.0 * IntersectionArea(p, q, kCheckScale);
}

} // namespace gantrel::testing
