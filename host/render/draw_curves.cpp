// Curves with their exact geometry: lines, circles, arcs and ellipses as true arcs, polyline
// bulges as the circular arcs they stand for; splines sampled per knot span.
#include <algorithm>
#include <cmath>
#include <vector>

#include "bulge.h"
#include "draw.h"
#include "geom_util.h"

namespace gantrel::render {

using gantrel::db::BulgeSegment;
using gantrel::db::Ocs;
using gantrel::db::ocsOf;

namespace {

constexpr int kSplineSamplesPerSpan = 16;
constexpr int kSplineMaxSamples = 20000;

// A path of bulged segments in the plane of ocs at elevation, as lines and exact arcs.
void bulgePath(Painter& painter, const Ocs& ocs, double elevation,
               const std::vector<ZcGePoint2d>& points, const std::vector<double>& bulges,
               bool closed) {
    const std::size_t n = points.size();
    if (n == 0)
        return;
    painter.moveTo(ocs.toWorld(points[0], elevation));
    const std::size_t segments = closed ? n : n - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const ZcGePoint2d& a = points[i];
        const ZcGePoint2d& b = points[(i + 1) % n];
        const double bulge = i < bulges.size() ? bulges[i] : 0.0;
        const BulgeSegment seg(a, b, bulge);
        if (!seg.isArc) {
            painter.lineTo(ocs.toWorld(b, elevation));
            continue;
        }
        painter.arc(ocs.toWorld(seg.center, elevation), ocs.x * seg.radius, ocs.y * seg.radius,
                    seg.startAngle, seg.startAngle + seg.sweep);
    }
    if (closed)
        painter.closePath();
}

} // namespace

void drawLine(Painter& painter, const ZcDbLine& line, const Style& style) {
    painter.moveTo(line.startPoint());
    painter.lineTo(line.endPoint());
    painter.stroke(style);
}

void drawCircle(Painter& painter, const ZcDbCircle& circle, const Style& style) {
    const Ocs ocs = ocsOf(circle.normal());
    const double r = circle.radius();
    painter.arc(circle.center(), ocs.x * r, ocs.y * r, 0.0, gantrel::db::kTwoPi);
    painter.closePath();
    painter.stroke(style);
}

void drawArc(Painter& painter, const ZcDbArc& arc, const Style& style) {
    const Ocs ocs = ocsOf(arc.normal());
    const double r = arc.radius();
    painter.arc(arc.center(), ocs.x * r, ocs.y * r, arc.startAngle(),
                arc.startAngle() + arc.totalAngle());
    painter.stroke(style);
}

void drawEllipse(Painter& painter, const ZcDbEllipse& ellipse, const Style& style) {
    double start = ellipse.startParamAngle();
    double sweep = ellipse.endParamAngle() - start;
    if (!(sweep > 1e-12 && sweep <= gantrel::db::kTwoPi + 1e-12))
        sweep = gantrel::db::sweepAngle(start, ellipse.endParamAngle());
    painter.arc(ellipse.center(), ellipse.majorAxis(), ellipse.minorAxis(), start,
                start + std::min(sweep, gantrel::db::kTwoPi));
    if (ellipse.isClosed())
        painter.closePath();
    painter.stroke(style);
}

void drawPolyline(Painter& painter, const ZcDbPolyline& polyline, const Style& style) {
    std::vector<ZcGePoint2d> points;
    std::vector<double> bulges;
    for (const ZcDbPolyline::Vertex& v : polyline.vertices()) {
        points.push_back(v.point);
        bulges.push_back(v.bulge);
    }
    bulgePath(painter, ocsOf(polyline.normal()), polyline.elevation(), points, bulges,
              polyline.isClosed());
    painter.stroke(style);
}

void drawPolyline2d(Painter& painter, const ZcDb2dPolyline& polyline, const Style& style) {
    // Frame control points of a spline-fit polyline are not part of the drawn curve.
    constexpr std::int16_t kFrameControlPoint = 16;
    std::vector<ZcGePoint2d> points;
    std::vector<double> bulges;
    for (const ZcDb2dPolyline::VertexData& v : polyline.vertexData()) {
        if (v.flags & kFrameControlPoint)
            continue;
        points.push_back({v.position.x, v.position.y});
        bulges.push_back(v.bulge);
    }
    bulgePath(painter, ocsOf(polyline.normal()), polyline.elevation(), points, bulges,
              polyline.isClosed());
    painter.stroke(style);
}

void drawSpline(Painter& painter, const ZcDbSpline& spline, const Style& style) {
    double start = 0.0, end = 0.0;
    if (spline.getStartParam(start) != Zcad::eOk || spline.getEndParam(end) != Zcad::eOk ||
        !(end > start))
        return;
    // Sample every knot span evenly: spans are where the curve's shape changes.
    std::vector<double> breaks{start};
    for (double k : spline.knots())
        if (k > breaks.back() && k < end)
            breaks.push_back(k);
    breaks.push_back(end);
    const int perSpan =
        std::clamp(kSplineMaxSamples / static_cast<int>(breaks.size()), 1, kSplineSamplesPerSpan);
    bool first = true;
    for (std::size_t s = 0; s + 1 < breaks.size(); ++s)
        for (int i = s == 0 ? 0 : 1; i <= perSpan; ++i) {
            const double t = breaks[s] + (breaks[s + 1] - breaks[s]) * i / perSpan;
            ZcGePoint3d p;
            if (spline.getPointAtParam(t, p) != Zcad::eOk)
                continue;
            if (first)
                painter.moveTo(p);
            else
                painter.lineTo(p);
            first = false;
        }
    if (spline.isClosed())
        painter.closePath();
    painter.stroke(style);
}

void drawLeader(Painter& painter, const ZcDbLeader& leader, const Style& style) {
    const ZcGePoint3dArray& vertices = leader.vertices();
    if (vertices.isEmpty())
        return;
    painter.moveTo(vertices[0]);
    for (int i = 1; i < vertices.length(); ++i)
        painter.lineTo(vertices[i]);
    painter.stroke(style);
    if (!leader.hasArrowHead() || vertices.length() < 2)
        return;
    const double scale = leader.dimscale() > 0.0 ? leader.dimscale() : 1.0;
    drawArrowhead(painter, vertices[0], vertices[1] - vertices[0], leader.dimasz() * scale,
                  leader.normal(), style);
}

void drawArrowhead(Painter& painter, const ZcGePoint3d& tip, const ZcGeVector3d& into, double size,
                   const ZcGeVector3d& normal, const Style& style) {
    if (!(size > 0.0) || into.isZeroLength())
        return;
    const ZcGeVector3d d = into.normal();
    ZcGeVector3d side = normal.crossProduct(d);
    if (side.isZeroLength())
        return;
    // The closed filled arrow: one third as wide as it is long.
    side = side.normal() * (size / 6.0);
    const ZcGePoint3d base = tip + d * size;
    painter.moveTo(tip);
    painter.lineTo(base + side);
    painter.lineTo(base - side);
    painter.closePath();
    painter.fill(style, 1.0, true);
    painter.stroke(style);
}

void drawPoint(Painter& painter, const ZcDbPoint& point, const Style& style) {
    painter.pointMark(point.position(), style);
}

} // namespace gantrel::render
