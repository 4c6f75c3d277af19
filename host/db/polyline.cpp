// Lightweight polylines: vertices in the plane of the normal at the elevation; segment i runs
// from vertex i to vertex i+1 (the last to the first when closed) over parameters [i, i+1].
// Bulged segments are exact circular arcs, so lengths, closest points and areas are exact.
#include <algorithm>
#include <cmath>
#include <limits>

#include "bulge.h"
#include "database_impl.h"
#include "polyline_path.h"

ZCRX_DEFINE_MEMBERS(ZcDbPolyline, ZcDbCurve, L"LWPOLYLINE")

using namespace gantrel::db;

namespace {

PolylinePath pathOf(const ZcDbPolyline& pl) {
    PolylinePath path;
    path.ocs = ocsOf(pl.normal());
    path.elevation = pl.elevation();
    path.closed = pl.isClosed();
    for (const ZcDbPolyline::Vertex& v : pl.vertices()) {
        path.points.push_back(v.point);
        path.bulges.push_back(v.bulge);
    }
    return path;
}

} // namespace

Zcad::ErrorStatus ZcDbPolyline::addVertexAt(unsigned int index, const ZcGePoint2d& pt, double bulge,
                                            double startWidth, double endWidth) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (index > m_vertices.size())
        return Zcad::eInvalidIndex;
    if (!std::isfinite(pt.x) || !std::isfinite(pt.y) || !std::isfinite(bulge))
        return Zcad::eInvalidInput;
    Vertex v;
    v.point = pt;
    v.bulge = bulge;
    // A negative width asks for the default: no width of its own.
    v.startWidth = startWidth < 0.0 ? 0.0 : startWidth;
    v.endWidth = endWidth < 0.0 ? 0.0 : endWidth;
    m_vertices.insert(m_vertices.begin() + index, v);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::setVertices(std::vector<Vertex> vertices) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    for (Vertex& v : vertices) {
        if (!std::isfinite(v.point.x) || !std::isfinite(v.point.y) || !std::isfinite(v.bulge))
            return Zcad::eInvalidInput;
        v.startWidth = v.startWidth < 0.0 ? 0.0 : v.startWidth;
        v.endWidth = v.endWidth < 0.0 ? 0.0 : v.endWidth;
    }
    m_vertices = std::move(vertices);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::removeVertexAt(unsigned int index) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (index >= m_vertices.size())
        return Zcad::eInvalidIndex;
    m_vertices.erase(m_vertices.begin() + index);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getPointAt(unsigned int index, ZcGePoint2d& pt) const {
    if (index >= m_vertices.size())
        return Zcad::eInvalidIndex;
    pt = m_vertices[index].point;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getPointAt(unsigned int index, ZcGePoint3d& pt) const {
    if (index >= m_vertices.size())
        return Zcad::eInvalidIndex;
    pt = ocsOf(m_normal).toWorld(m_vertices[index].point, m_elevation);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::setPointAt(unsigned int index, const ZcGePoint2d& pt) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (index >= m_vertices.size())
        return Zcad::eInvalidIndex;
    m_vertices[index].point = pt;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getBulgeAt(unsigned int index, double& bulge) const {
    if (index >= m_vertices.size())
        return Zcad::eInvalidIndex;
    bulge = m_vertices[index].bulge;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::setBulgeAt(unsigned int index, double bulge) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (index >= m_vertices.size())
        return Zcad::eInvalidIndex;
    if (!std::isfinite(bulge))
        return Zcad::eInvalidInput;
    m_vertices[index].bulge = bulge;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getWidthsAt(unsigned int index, double& startWidth,
                                            double& endWidth) const {
    if (index >= m_vertices.size())
        return Zcad::eInvalidIndex;
    startWidth = m_vertices[index].startWidth;
    endWidth = m_vertices[index].endWidth;
    return Zcad::eOk;
}

ZcDbPolyline::SegType ZcDbPolyline::segType(unsigned int index) const {
    const unsigned int n = numVerts();
    if (n == 0 || index >= n)
        return kEmpty;
    if (n == 1)
        return kPoint;
    if (index == n - 1 && !m_closed)
        return kEmpty;
    const Vertex& a = m_vertices[index];
    const Vertex& b = m_vertices[(index + 1) % n];
    if (a.point == b.point)
        return kCoincident;
    return a.bulge != 0.0 ? kArc : kLine;
}

Zcad::ErrorStatus ZcDbPolyline::setClosed(bool closed) {
    return setField(m_closed, closed);
}

Zcad::ErrorStatus ZcDbPolyline::setElevation(double e) {
    return setField(m_elevation, e);
}

Zcad::ErrorStatus ZcDbPolyline::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbPolyline::setConstantWidth(double w) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!(w >= 0.0))
        return Zcad::eInvalidInput;
    m_constantWidth = w;
    for (Vertex& v : m_vertices)
        v.startWidth = v.endWidth = w;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::setPlinegen(bool on) {
    return setField(m_plinegen, on);
}

Zcad::ErrorStatus ZcDbPolyline::getStartParam(double& param) const {
    if (m_vertices.empty())
        return Zcad::eDegenerateGeometry;
    param = 0.0;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getEndParam(double& param) const {
    if (m_vertices.empty())
        return Zcad::eDegenerateGeometry;
    param = pathOf(*this).numSegments();
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::getPointAtParam(double param, ZcGePoint3d& point) const {
    return pathOf(*this).pointAtParam(param, point);
}

Zcad::ErrorStatus ZcDbPolyline::getParamAtPoint(const ZcGePoint3d& point, double& param) const {
    return pathOf(*this).paramAtPoint(point, param);
}

Zcad::ErrorStatus ZcDbPolyline::getDistAtParam(double param, double& dist) const {
    return pathOf(*this).distAtParam(param, dist);
}

Zcad::ErrorStatus ZcDbPolyline::getParamAtDist(double dist, double& param) const {
    return pathOf(*this).paramAtDist(dist, param);
}

Zcad::ErrorStatus ZcDbPolyline::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    return pathOf(*this).firstDeriv(param, deriv);
}

Zcad::ErrorStatus ZcDbPolyline::getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                                  bool extend) const {
    double param = 0.0;
    return pathOf(*this).closestPoint(given, extend, closest, param);
}

Zcad::ErrorStatus ZcDbPolyline::getArea(double& area) const {
    return pathOf(*this).area(area);
}

Zcad::ErrorStatus ZcDbPolyline::getGeomExtents(ZcDbExtents& extents) const {
    return pathOf(*this).extents(extents);
}

Zcad::ErrorStatus ZcDbPolyline::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    PolylinePath path = pathOf(*this);
    double widthScale = 1.0;
    if (auto es = path.transformBy(xform, widthScale); es != Zcad::eOk)
        return es;
    for (std::size_t i = 0; i < m_vertices.size(); ++i) {
        m_vertices[i].point = path.points[i];
        m_vertices[i].bulge = path.bulges[i];
        m_vertices[i].startWidth *= widthScale;
        m_vertices[i].endWidth *= widthScale;
    }
    m_constantWidth *= widthScale;
    m_elevation = path.elevation;
    m_normal = path.ocs.z;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPolyline::explode(ZcDbVoidPtrArray& entitySet) const {
    return pathOf(*this).explode(*this, entitySet);
}

void ZcDbPolyline::listFields(std::wstring& out) const {
    const PolylinePath path = pathOf(*this);
    appendField(out, L"Closed", m_closed ? L"Yes" : L"No");
    if (m_constantWidth != 0.0)
        appendField(out, L"Constant width", formatNumber(m_constantWidth));
    if (m_elevation != 0.0)
        appendField(out, L"Elevation", formatNumber(m_elevation));
    double area = 0.0, length = 0.0;
    if (path.area(area) == Zcad::eOk)
        appendField(out, L"Area", formatNumber(area));
    if (path.distAtParam(path.numSegments(), length) == Zcad::eOk)
        appendField(out, L"Length", formatNumber(length));
    for (std::size_t i = 0; i < m_vertices.size(); ++i) {
        const std::wstring name = L"Vertex " + std::to_wstring(i);
        appendField(out, name.c_str(),
                    formatPoint(path.ocs.toWorld(m_vertices[i].point, m_elevation)));
        if (m_vertices[i].bulge != 0.0)
            appendField(out, L"Bulge", formatNumber(m_vertices[i].bulge));
    }
}
