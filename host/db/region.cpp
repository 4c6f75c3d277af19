// Regions: closed loops of edges in the plane of the normal at the elevation; area, perimeter,
// extents, transform and explode into lines, arcs, circles, ellipses and splines.
#include <algorithm>
#include <cmath>

#include "database_impl.h"
#include "loop_geometry.h"

ZCRX_DEFINE_MEMBERS(ZcDbRegion, ZcDbEntity, L"REGION")

using namespace gantrel::db;

Zcad::ErrorStatus ZcDbRegion::appendLoop(const ZcDbLoop& loop) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    ZcDbLoop stored;
    stored.flags = loop.flags & ~2;
    stored.edges = edgesOf(loop);
    if (stored.edges.empty() || !std::all_of(stored.edges.begin(), stored.edges.end(), isValidEdge))
        return Zcad::eInvalidInput;
    m_loops.push_back(std::move(stored));
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbRegion::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbRegion::setElevation(double e) {
    return setField(m_elevation, e);
}

Zcad::ErrorStatus ZcDbRegion::getArea(double& area) const {
    if (hasRawDataOnly())
        return Zcad::eNotApplicable; // undecoded data: the geometry is unknown
    area = nestedArea(m_loops);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbRegion::getPerimeter(double& perimeter) const {
    if (hasRawDataOnly())
        return Zcad::eNotApplicable;
    perimeter = 0.0;
    for (const ZcDbLoop& loop : m_loops)
        perimeter += loopLength(loop);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbRegion::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents();
    const Ocs ocs = ocsOf(m_normal);
    for (const ZcDbLoop& loop : m_loops)
        addLoopExtents(extents, loop, ocs, m_elevation);
    return extents.isEmpty() ? Zcad::eInvalidExtents : Zcad::eOk;
}

Zcad::ErrorStatus ZcDbRegion::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (hasRawDataOnly())
        return Zcad::eNotApplicable;
    const Ocs ocs = ocsOf(m_normal);
    double scale = 1.0;
    const bool similar = isSimilarityInPlane(xform, ocs.x, ocs.y, scale);
    for (const ZcDbLoop& loop : m_loops)
        if (!similar && std::any_of(loop.edges.begin(), loop.edges.end(), isCurved))
            return Zcad::eNotApplicable; // arcs would become elliptical
    const Ocs image = ocsOf(transformNormal(xform, m_normal));
    for (ZcDbLoop& loop : m_loops)
        transformLoop(loop, xform, ocs, m_elevation, image, scale, isMirroring(xform));
    m_elevation = image.toLocal(xform * ocs.toWorld(0.0, 0.0, m_elevation)).z;
    m_normal = image.z;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbRegion::explode(ZcDbVoidPtrArray& entitySet) const {
    if (hasRawDataOnly())
        return Zcad::eNotApplicable;
    const Ocs ocs = ocsOf(m_normal);
    auto world = [&](const ZcGePoint2d& p) { return ocs.toWorld(p, m_elevation); };
    for (const ZcDbLoop& loop : m_loops)
        for (const ZcDbLoopEdge& e : loop.edges) {
            ZcDbEntity* piece = nullptr;
            switch (e.kind) {
            case ZcDbLoopEdge::kLine:
                piece = new ZcDbLine(world(e.start), world(e.end));
                break;
            case ZcDbLoopEdge::kCircularArc: {
                if (edgeSweep(e) >= kTwoPi) {
                    piece = new ZcDbCircle(world(e.center), ocs.z, e.radius);
                    break;
                }
                // Arcs run counter-clockwise: a clockwise edge is the arc between its end and
                // its start.
                const double from = e.counterClockwise ? e.startAngle : e.endAngle;
                auto* arc = new ZcDbArc(world(e.center), e.radius, normalizeAngle(from),
                                        normalizeAngle(from + edgeSweep(e)));
                arc->setNormal(ocs.z);
                piece = arc;
                break;
            }
            case ZcDbLoopEdge::kEllipticArc: {
                const double from = e.counterClockwise ? e.startAngle : e.endAngle;
                const ZcGeVector3d major = ocs.x * e.majorAxis.x + ocs.y * e.majorAxis.y;
                piece = new ZcDbEllipse(world(e.center), ocs.z, major, e.radius, from,
                                        from + edgeSweep(e));
                break;
            }
            case ZcDbLoopEdge::kSpline: {
                ZcGePoint3dArray points;
                ZcGeDoubleArray knots, weights;
                for (const ZcGePoint2d& p : e.controlPoints)
                    points.append(world(p));
                for (double k : e.knots)
                    knots.append(k);
                for (double w : e.weights)
                    weights.append(w);
                auto* spline = new ZcDbSpline(e.degree, points, knots, weights);
                spline->setNormal(ocs.z);
                piece = spline;
                break;
            }
            }
            piece->setPropertiesFrom(this);
            entitySet.append(piece);
        }
    return Zcad::eOk;
}

void ZcDbRegion::listFields(std::wstring& out) const {
    if (hasRawDataOnly()) {
        appendField(out, L"Data", L"not decoded");
        return;
    }
    double area = 0.0, perimeter = 0.0;
    getArea(area);
    getPerimeter(perimeter);
    appendField(out, L"Area", formatNumber(area));
    appendField(out, L"Perimeter", formatNumber(perimeter));
    appendField(out, L"Loops", std::to_wstring(m_loops.size()));
}
