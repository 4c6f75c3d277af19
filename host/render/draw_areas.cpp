// Hatches (filled: solid ones translucent in their colour, patterned ones lightly with their
// boundary outlined) and regions (outlined), both from their boundary loops.
#include <cmath>

#include "draw.h"
#include "geom_util.h"
#include "loop_geometry.h"

namespace gantrel::render {

using gantrel::db::Ocs;
using gantrel::db::ocsOf;

namespace {

constexpr double kSolidOpacity = 0.55;
constexpr double kPatternOpacity = 0.15;
constexpr int kSplineEdgeSamples = 64;

void edgePath(Painter& painter, const ZcDbLoopEdge& edge, const Ocs& ocs, double elevation) {
    const double dir = edge.counterClockwise ? 1.0 : -1.0;
    switch (edge.kind) {
    case ZcDbLoopEdge::kLine:
        painter.lineTo(ocs.toWorld(edge.start, elevation));
        painter.lineTo(ocs.toWorld(edge.end, elevation));
        break;
    case ZcDbLoopEdge::kCircularArc:
        if (edge.radius > 0.0)
            painter.arc(ocs.toWorld(edge.center, elevation), ocs.x * edge.radius,
                        ocs.y * edge.radius, edge.startAngle,
                        edge.startAngle + dir * gantrel::db::edgeSweep(edge));
        break;
    case ZcDbLoopEdge::kEllipticArc: {
        // The minor axis is the major one turned a quarter counter-clockwise, times the ratio.
        const ZcGeVector3d major = ocs.x * edge.majorAxis.x + ocs.y * edge.majorAxis.y;
        const ZcGeVector3d minor =
            (ocs.x * -edge.majorAxis.y + ocs.y * edge.majorAxis.x) * edge.radius;
        painter.arc(ocs.toWorld(edge.center, elevation), major, minor, edge.startAngle,
                    edge.startAngle + dir * gantrel::db::edgeSweep(edge));
        break;
    }
    case ZcDbLoopEdge::kSpline:
        for (int i = 0; i <= kSplineEdgeSamples; ++i) {
            const double u = static_cast<double>(i) / kSplineEdgeSamples;
            painter.lineTo(ocs.toWorld(gantrel::db::edgePointAt(edge, u), elevation));
        }
        break;
    }
}

// Each loop becomes one closed piece of the current path.
void loopsPath(Painter& painter, const std::vector<ZcDbLoop>& loops, const ZcGeVector3d& normal,
               double elevation) {
    const Ocs ocs = ocsOf(normal);
    for (const ZcDbLoop& loop : loops) {
        const std::vector<ZcDbLoopEdge> edges = gantrel::db::edgesOf(loop);
        if (edges.empty())
            continue;
        painter.moveTo(ocs.toWorld(gantrel::db::edgePointAt(edges.front(), 0.0), elevation));
        for (const ZcDbLoopEdge& edge : edges)
            edgePath(painter, edge, ocs, elevation);
        painter.closePath();
    }
}

} // namespace

void drawHatch(Painter& painter, const ZcDbHatch& hatch, const Style& style) {
    loopsPath(painter, hatch.loops(), hatch.normal(), hatch.elevation());
    if (hatch.isSolidFill() && !style.highlighted) {
        painter.fill(style, kSolidOpacity);
        return;
    }
    painter.fill(style, hatch.isSolidFill() ? kSolidOpacity : kPatternOpacity, true);
    painter.stroke(style);
}

void drawRegion(Painter& painter, const ZcDbRegion& region, const Style& style) {
    loopsPath(painter, region.loops(), region.normal(), region.elevation());
    painter.stroke(style);
}

} // namespace gantrel::render
