// 2-D polylines and their vertices. Vertices are objects of their own: a polyline not yet in a
// database keeps them pending, and they join the database (owned by the polyline) when it
// does. Positions are in the polyline's object coordinates; their z is not used, the
// polyline's elevation is. Frame control points of a spline-fit polyline are not drawn.
#include <cmath>

#include "database_impl.h"
#include "polyline_path.h"

ZCRX_DEFINE_MEMBERS(ZcDb2dVertex, ZcDbEntity, L"VERTEX")
ZCRX_DEFINE_MEMBERS(ZcDb2dPolyline, ZcDbCurve, L"POLYLINE")

using namespace gantrel::db;

namespace {

constexpr std::int16_t kFrameControlPoint = 16;

} // namespace

// --- vertex ----------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDb2dVertex::setPosition(const ZcGePoint3d& p) {
    return setField(m_position, p);
}

Zcad::ErrorStatus ZcDb2dVertex::setBulge(double b) {
    return setField(m_bulge, b, std::isfinite(b));
}

Zcad::ErrorStatus ZcDb2dVertex::setWidths(double startWidth, double endWidth) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!(startWidth >= 0.0) || !(endWidth >= 0.0))
        return Zcad::eInvalidInput;
    m_startWidth = startWidth;
    m_endWidth = endWidth;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dVertex::setVertexFlags(std::int16_t flags) {
    return setField(m_flags, flags);
}

Zcad::ErrorStatus ZcDb2dVertex::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    m_position.transformBy(xform);
    return Zcad::eOk;
}

// --- polyline --------------------------------------------------------------------------------

ZcDb2dPolyline::ZcDb2dPolyline(const ZcDb2dPolyline& other)
    : ZcDbCurve(other), m_vertices(other.m_vertices), m_closed(other.m_closed),
      m_elevation(other.m_elevation), m_normal(other.m_normal), m_flags(other.m_flags) {}

ZcDb2dPolyline::~ZcDb2dPolyline() = default;

Zcad::ErrorStatus ZcDb2dPolyline::appendVertex(ZcDbObjectId& id, ZcDb2dVertex* vertex) {
    id = ZcDbObjectId::kNull;
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (vertex && vertex->isNewObject())
        vertex->setPropertiesFrom(this);
    return m_vertices.append(*this, id, vertex);
}

Zcad::ErrorStatus ZcDb2dPolyline::appendVertex(ZcDb2dVertex* vertex) {
    ZcDbObjectId id;
    return appendVertex(id, vertex);
}

ZcDbObjectIterator* ZcDb2dPolyline::vertexIterator() const {
    return new ZcDbObjectIterator(vertexIds());
}

std::vector<ZcDbObjectId> ZcDb2dPolyline::vertexIds() const {
    return m_vertices.ids();
}

std::vector<ZcDbEntity*> ZcDb2dPolyline::ownedEntities() const {
    const std::vector<ZcDb2dVertex*> vertices = m_vertices.entities();
    return {vertices.begin(), vertices.end()};
}

std::vector<ZcDb2dPolyline::VertexData> ZcDb2dPolyline::vertexData() const {
    std::vector<VertexData> out;
    for (ZcDbEntity* e : ownedEntities()) {
        const auto* v = static_cast<const ZcDb2dVertex*>(e);
        out.push_back({v->position(), v->bulge(), v->vertexFlags()});
    }
    return out;
}

void ZcDb2dPolyline::subAddedToDatabase(ZcDbDatabase* db) {
    m_vertices.addToDatabase(*this, *db);
}

void ZcDb2dPolyline::subErase(bool erasing) {
    m_vertices.setErased(erasing);
}

Zcad::ErrorStatus ZcDb2dPolyline::setClosed(bool closed) {
    return setField(m_closed, closed);
}

Zcad::ErrorStatus ZcDb2dPolyline::setElevation(double e) {
    return setField(m_elevation, e);
}

Zcad::ErrorStatus ZcDb2dPolyline::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDb2dPolyline::setPolylineFlags(std::int16_t flags) {
    return setField(m_flags, flags);
}

namespace {

// The drawn path: every vertex except frame control points.
PolylinePath pathOf(const ZcDb2dPolyline& pl) {
    PolylinePath path;
    path.ocs = ocsOf(pl.normal());
    path.elevation = pl.elevation();
    path.closed = pl.isClosed();
    for (const ZcDb2dPolyline::VertexData& v : pl.vertexData()) {
        if (v.flags & kFrameControlPoint)
            continue;
        path.points.push_back({v.position.x, v.position.y});
        path.bulges.push_back(v.bulge);
    }
    return path;
}

} // namespace

Zcad::ErrorStatus ZcDb2dPolyline::getStartParam(double& param) const {
    if (pathOf(*this).points.empty())
        return Zcad::eDegenerateGeometry;
    param = 0.0;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::getEndParam(double& param) const {
    const PolylinePath path = pathOf(*this);
    if (path.points.empty())
        return Zcad::eDegenerateGeometry;
    param = path.numSegments();
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::getPointAtParam(double param, ZcGePoint3d& point) const {
    return pathOf(*this).pointAtParam(param, point);
}

Zcad::ErrorStatus ZcDb2dPolyline::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
    return pathOf(*this).paramAtPoint(point, param);
}

Zcad::ErrorStatus ZcDb2dPolyline::getDistAtParam(double param, double& dist) const {
    return pathOf(*this).distAtParam(param, dist);
}

Zcad::ErrorStatus ZcDb2dPolyline::getParamAtDist(double dist, double& param) const {
    return pathOf(*this).paramAtDist(dist, param);
}

Zcad::ErrorStatus ZcDb2dPolyline::getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                                    bool extend) const {
    double param = 0.0;
    return pathOf(*this).closestPoint(given, extend, closest, param);
}

Zcad::ErrorStatus ZcDb2dPolyline::getArea(double& area) const {
    return pathOf(*this).area(area);
}

Zcad::ErrorStatus ZcDb2dPolyline::getGeomExtents(ZcDbExtents& extents) const {
    return pathOf(*this).extents(extents);
}

Zcad::ErrorStatus ZcDb2dPolyline::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // Every vertex moves, frame control points included.
    const std::vector<ZcDbEntity*> vertices = ownedEntities();
    PolylinePath path;
    path.ocs = ocsOf(m_normal);
    path.elevation = m_elevation;
    for (ZcDbEntity* e : vertices) {
        const auto* v = static_cast<const ZcDb2dVertex*>(e);
        path.points.push_back({v->position().x, v->position().y});
        path.bulges.push_back(v->bulge());
    }
    double widthScale = 1.0;
    if (auto es = path.transformBy(xform, widthScale); es != Zcad::eOk)
        return es;
    for (std::size_t i = 0; i < vertices.size(); ++i) {
        auto* v = static_cast<ZcDb2dVertex*>(vertices[i]);
        v->m_position = {path.points[i].x, path.points[i].y, v->m_position.z};
        v->m_bulge = path.bulges[i];
        v->m_startWidth *= widthScale;
        v->m_endWidth *= widthScale;
    }
    m_elevation = path.elevation;
    m_normal = path.ocs.z;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDb2dPolyline::explode(ZcDbVoidPtrArray& entitySet) const {
    return pathOf(*this).explode(*this, entitySet);
}

void ZcDb2dPolyline::listFields(std::wstring& out) const {
    const PolylinePath path = pathOf(*this);
    appendField(out, L"Closed", m_closed ? L"Yes" : L"No");
    if (m_elevation != 0.0)
        appendField(out, L"Elevation", formatNumber(m_elevation));
    double area = 0.0, length = 0.0;
    if (path.area(area) == Zcad::eOk)
        appendField(out, L"Area", formatNumber(area));
    if (path.distAtParam(path.numSegments(), length) == Zcad::eOk)
        appendField(out, L"Length", formatNumber(length));
    std::size_t i = 0;
    for (const VertexData& v : vertexData()) {
        const std::wstring name = L"Vertex " + std::to_wstring(i++);
        appendField(out, name.c_str(),
                    formatPoint(path.ocs.toWorld({v.position.x, v.position.y}, m_elevation)));
        if (v.bulge != 0.0)
            appendField(out, L"Bulge", formatNumber(v.bulge));
    }
}
