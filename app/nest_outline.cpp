#include "nest_outline.h"

#include <clipper.hpp>
#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "block_content.h"
#include "zcdbblkref.h"
#include "zcdbregion.h"
#include "zcdbtext.h"

namespace gantrel::app {

namespace {

// Chords per unit of a polyline's parameter (one segment, which may be a bulged arc) and over
// the whole range of any other curve: fine enough that a chord's sagitta is far below the
// gaps a nesting leaves, so touching pieces do not look overlapping.
constexpr int kStepsPerSegment = 64;
constexpr int kStepsPerCurve = 512;
// The largest coordinate, in integer units, of the polygon arithmetic: within the range where
// Clipper multiplies in 64 bits, and still a billionth of the drawing's size.
constexpr double kIntegerRange = 1e9;
// Overlap or protrusion below this fraction of a piece's area is rounding, not a fault.
constexpr double kAreaTolerance = 1e-6;

std::vector<Point2> sampleCurve(const ZcDbCurve& curve) {
    std::vector<Point2> points;
    if (const auto* line = ZcDbLine::cast(&curve)) {
        points.push_back({line->startPoint().x, line->startPoint().y});
        points.push_back({line->endPoint().x, line->endPoint().y});
        return points;
    }
    double start = 0.0, end = 0.0;
    if (curve.getStartParam(start) != Zcad::eOk || curve.getEndParam(end) != Zcad::eOk ||
        !(end > start))
        return points;
    int steps = kStepsPerCurve;
    if (curve.isKindOf(ZcDbPolyline::desc()) || curve.isKindOf(ZcDb2dPolyline::desc()))
        steps = kStepsPerSegment * std::max(1, static_cast<int>(std::ceil(end - start)));
    for (int i = 0; i <= steps; ++i) {
        ZcGePoint3d p;
        const double param = i == steps ? end : start + (end - start) * i / steps;
        if (curve.getPointAtParam(param, p) == Zcad::eOk)
            points.push_back({p.x, p.y});
    }
    return points;
}

double span(const std::vector<Point2>& points) {
    double size = 0.0;
    for (const Point2& p : points)
        size = std::max({size, std::abs(p.x), std::abs(p.y)});
    return size;
}

bool near(const Point2& a, const Point2& b, double scale) {
    return std::hypot(a.x - b.x, a.y - b.y) <= 1e-9 * std::max(1.0, scale);
}

void append(Outline& to, const Outline& from) {
    to.rings.insert(to.rings.end(), from.rings.begin(), from.rings.end());
    to.points.insert(to.points.end(), from.points.begin(), from.points.end());
}

// A region's edges come in loop order; consecutive edges that meet form one ring (an edge that
// runs against the loop's direction is turned round).
Outline chainEdges(const std::vector<std::unique_ptr<ZcDbEntity>>& edges) {
    Outline outline;
    std::vector<Point2> ring;
    auto closeRing = [&] {
        if (ring.size() >= 3)
            outline.rings.push_back(ring);
        ring.clear();
    };
    for (const auto& edge : edges) {
        const auto* curve = ZcDbCurve::cast(edge.get());
        if (curve == nullptr)
            continue;
        std::vector<Point2> points = sampleCurve(*curve);
        if (points.empty())
            continue;
        outline.points.insert(outline.points.end(), points.begin(), points.end());
        const double scale = std::max(span(points), span(ring));
        if (!ring.empty() && !near(ring.back(), points.front(), scale)) {
            if (near(ring.back(), points.back(), scale)) {
                std::reverse(points.begin(), points.end());
            } else {
                closeRing();
            }
        }
        ring.insert(ring.end(), points.begin() + (ring.empty() ? 0 : 1), points.end());
        if (ring.size() > 2 && near(ring.front(), ring.back(), span(ring))) {
            ring.pop_back();
            closeRing();
        }
    }
    closeRing();
    return outline;
}

ClipperLib::Path toPath(const std::vector<Point2>& ring, double scale) {
    ClipperLib::Path path;
    path.reserve(ring.size());
    for (const Point2& p : ring)
        path.emplace_back(static_cast<ClipperLib::cInt>(std::llround(p.x * scale)),
                          static_cast<ClipperLib::cInt>(std::llround(p.y * scale)));
    return path;
}

ClipperLib::Paths toPaths(const Outline& outline, double scale) {
    ClipperLib::Paths paths;
    for (const auto& ring : outline.rings)
        paths.push_back(toPath(ring, scale));
    return paths;
}

double areaOf(const ClipperLib::Paths& paths) {
    double area = 0.0;
    for (const ClipperLib::Path& path : paths)
        area += ClipperLib::Area(path);
    return area;
}

// The area of a boolean operation on two outlines, in integer units.
double operationArea(ClipperLib::ClipType type, const ClipperLib::Paths& subject,
                     const ClipperLib::Paths& clip) {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(subject, ClipperLib::ptSubject, true);
    clipper.AddPaths(clip, ClipperLib::ptClip, true);
    ClipperLib::Paths solution;
    clipper.Execute(type, solution, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    return std::abs(areaOf(solution));
}

// The area enclosed with the even-odd rule (holes out), in integer units.
double enclosed(const ClipperLib::Paths& paths) {
    ClipperLib::Clipper clipper;
    clipper.AddPaths(paths, ClipperLib::ptSubject, true);
    ClipperLib::Paths solution;
    clipper.Execute(ClipperLib::ctUnion, solution, ClipperLib::pftEvenOdd, ClipperLib::pftEvenOdd);
    return std::abs(areaOf(solution));
}

// Whether the bounding boxes of two outlines share more than a boundary.
bool boxesMeet(const ClipperLib::Paths& a, const ClipperLib::Paths& b) {
    auto box = [](const ClipperLib::Paths& paths) {
        ClipperLib::IntRect r{INT64_MAX, INT64_MAX, INT64_MIN, INT64_MIN};
        for (const ClipperLib::Path& path : paths)
            for (const ClipperLib::IntPoint& p : path) {
                r.left = std::min(r.left, p.X);
                r.top = std::min(r.top, p.Y);
                r.right = std::max(r.right, p.X);
                r.bottom = std::max(r.bottom, p.Y);
            }
        return r;
    };
    const ClipperLib::IntRect ra = box(a), rb = box(b);
    return ra.left < rb.right && rb.left < ra.right && ra.top < rb.bottom && rb.top < ra.bottom;
}

double scaleFor(const std::vector<const Outline*>& outlines) {
    double size = 0.0;
    for (const Outline* outline : outlines)
        size = std::max(size, span(outline->points));
    return kIntegerRange / std::max(size, 1e-9);
}

} // namespace

Outline sampleOutline(const ZcDbEntity& entity) {
    Outline outline;
    if (entity.isKindOf(ZcDbBlockReference::desc())) {
        for (const auto& part : db::explodedPieces(entity))
            append(outline, sampleOutline(*part));
        return outline;
    }
    if (entity.isKindOf(ZcDbRegion::desc()))
        return chainEdges(db::explodedPieces(entity));
    const auto* curve = ZcDbCurve::cast(&entity);
    if (curve == nullptr)
        return outline;
    std::vector<Point2> points = sampleCurve(*curve);
    outline.points = points;
    const double scale = span(points);
    if (points.size() > 2 && (curve->isClosed() || near(points.front(), points.back(), scale))) {
        if (near(points.front(), points.back(), scale))
            points.pop_back();
        outline.rings.push_back(std::move(points));
    }
    return outline;
}

double enclosedArea(const Outline& outline) {
    const double scale = scaleFor({&outline});
    return enclosed(toPaths(outline, scale)) / (scale * scale);
}

namespace {

Outline moved(const Outline& outline, Point2 by) {
    Outline out = outline;
    for (auto& ring : out.rings)
        for (Point2& p : ring)
            p = {p.x + by.x, p.y + by.y};
    for (Point2& p : out.points)
        p = {p.x + by.x, p.y + by.y};
    return out;
}

} // namespace

std::vector<std::string> findPlacementFaults(const Outline& placedSheet,
                                             const std::vector<NamedOutline>& placedPieces) {
    // Measured relative to the sheet's lower-left corner, so that the integer arithmetic keeps
    // its precision wherever the drawing lies.
    Point2 corner{0.0, 0.0};
    if (!placedSheet.points.empty()) {
        corner = placedSheet.points.front();
        for (const Point2& p : placedSheet.points)
            corner = {std::min(corner.x, p.x), std::min(corner.y, p.y)};
    }
    const Outline sheet = moved(placedSheet, {-corner.x, -corner.y});
    std::vector<NamedOutline> pieces;
    for (const NamedOutline& piece : placedPieces)
        pieces.push_back({piece.handle, moved(piece.outline, {-corner.x, -corner.y})});
    std::vector<const Outline*> all = {&sheet};
    for (const NamedOutline& piece : pieces)
        all.push_back(&piece.outline);
    const double scale = scaleFor(all);
    const ClipperLib::Paths sheetPaths = toPaths(sheet, scale);

    std::vector<ClipperLib::Paths> paths;
    std::vector<double> areas;
    for (const NamedOutline& piece : pieces) {
        paths.push_back(toPaths(piece.outline, scale));
        areas.push_back(enclosed(paths.back()));
    }

    std::vector<std::string> faults;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (areas[i] > 0.0) {
            const double outside = operationArea(ClipperLib::ctDifference, paths[i], sheetPaths);
            if (outside > kAreaTolerance * areas[i])
                faults.push_back(fmt::format("piece {} lies {:.6g} square units outside the sheet",
                                             pieces[i].handle, outside / (scale * scale)));
        } else {
            const auto out = std::find_if(
                pieces[i].outline.points.begin(), pieces[i].outline.points.end(),
                [&](const Point2& p) {
                    const ClipperLib::IntPoint q(
                        static_cast<ClipperLib::cInt>(std::llround(p.x * scale)),
                        static_cast<ClipperLib::cInt>(std::llround(p.y * scale)));
                    return std::none_of(sheetPaths.begin(), sheetPaths.end(),
                                        [&](const ClipperLib::Path& ring) {
                                            return ClipperLib::PointInPolygon(q, ring) != 0;
                                        });
                });
            if (out != pieces[i].outline.points.end())
                faults.push_back(fmt::format("piece {} has the point ({:.6g}, {:.6g}) outside the "
                                             "sheet",
                                             pieces[i].handle, out->x + corner.x,
                                             out->y + corner.y));
        }
        for (std::size_t j = i + 1; j < pieces.size(); ++j) {
            const double smaller = std::min(areas[i], areas[j]);
            if (!(smaller > 0.0) || !boxesMeet(paths[i], paths[j]))
                continue;
            const double common = operationArea(ClipperLib::ctIntersection, paths[i], paths[j]);
            if (common > kAreaTolerance * smaller)
                faults.push_back(fmt::format("pieces {} and {} overlap by {:.6g} square units",
                                             pieces[i].handle, pieces[j].handle,
                                             common / (scale * scale)));
        }
    }
    return faults;
}

} // namespace gantrel::app
