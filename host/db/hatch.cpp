// Hatches: boundary loops in the plane of the normal at the elevation, a pattern, and the
// filled area of the loops nested by geometry under the hatch style.
#include <algorithm>
#include <cmath>
#include <cwctype>

#include "database_impl.h"
#include "loop_geometry.h"

ZCRX_DEFINE_MEMBERS(ZcDbHatch, ZcDbEntity, L"HATCH")

using namespace gantrel::db;

namespace {

bool isSolidName(const wchar_t* name) {
    const wchar_t* solid = L"SOLID";
    for (; *name && *solid; ++name, ++solid)
        if (static_cast<wchar_t>(std::towupper(*name)) != *solid)
            return false;
    return !*name && !*solid;
}

// A loop the hatch can use: edges or at least two polyline vertices, with usable edges.
bool isValidLoop(const ZcDbLoop& loop) {
    if (loop.isPolyline())
        return loop.vertices.size() >= 2 &&
               (loop.bulges.empty() || loop.bulges.size() == loop.vertices.size());
    if (loop.edges.empty())
        return false;
    return std::all_of(loop.edges.begin(), loop.edges.end(), isValidEdge);
}

bool hasCurves(const std::vector<ZcDbLoop>& loops) {
    for (const ZcDbLoop& loop : loops) {
        if (std::any_of(loop.bulges.begin(), loop.bulges.end(), [](double b) { return b != 0.0; }))
            return true;
        if (std::any_of(loop.edges.begin(), loop.edges.end(), isCurved))
            return true;
    }
    return false;
}

} // namespace

Zcad::ErrorStatus ZcDbHatch::setPattern(const wchar_t* name, bool solidFill) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!name || !*name)
        return Zcad::eInvalidInput;
    m_pattern = name;
    m_solid = solidFill || isSolidName(name);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::setPatternAngle(double a) {
    return setField(m_patternAngle, normalizeAngle(a), std::isfinite(a));
}

Zcad::ErrorStatus ZcDbHatch::setPatternScale(double s) {
    return setField(m_patternScale, s, !(!(s > 0.0) || !std::isfinite(s)));
}

Zcad::ErrorStatus ZcDbHatch::setAssociative(bool a) {
    return setField(m_associative, a);
}

Zcad::ErrorStatus ZcDbHatch::setHatchStyle(HatchStyle s) {
    return setField(m_style, s, !(s < kNormal || s > kIgnore));
}

Zcad::ErrorStatus ZcDbHatch::setElevation(double e) {
    return setField(m_elevation, e);
}

Zcad::ErrorStatus ZcDbHatch::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbHatch::appendLoop(const ZcDbLoop& loop) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!isValidLoop(loop))
        return Zcad::eInvalidInput;
    m_loops.push_back(loop);
    if (loop.isPolyline() && m_loops.back().bulges.empty())
        m_loops.back().bulges.assign(loop.vertices.size(), 0.0);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::removeLoopAt(int index) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (index < 0 || index >= numLoops())
        return Zcad::eInvalidIndex;
    m_loops.erase(m_loops.begin() + index);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::getArea(double& area) const {
    // The style decides which nested loops count: all alternately (normal), the outermost
    // and their holes (outer), or the outermost alone (ignore).
    const int maxDepth = m_style == kNormal ? 1 << 30 : m_style == kOuter ? 1 : 0;
    area = nestedArea(m_loops, maxDepth);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents();
    const Ocs ocs = ocsOf(m_normal);
    for (const ZcDbLoop& loop : m_loops)
        addLoopExtents(extents, loop, ocs, m_elevation);
    return extents.isEmpty() ? Zcad::eInvalidExtents : Zcad::eOk;
}

Zcad::ErrorStatus ZcDbHatch::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    const Ocs ocs = ocsOf(m_normal);
    double scale = 1.0;
    const bool similar = isSimilarityInPlane(xform, ocs.x, ocs.y, scale);
    if (!similar && hasCurves(m_loops))
        return Zcad::eNotApplicable; // arcs would become elliptical
    if (!similar)
        scale = std::sqrt((xform * ocs.x).crossProduct(xform * ocs.y).length());
    const Ocs image = ocsOf(transformNormal(xform, m_normal));
    const bool mirror = isMirroring(xform);
    for (ZcDbLoop& loop : m_loops)
        transformLoop(loop, xform, ocs, m_elevation, image, scale, mirror);

    // The pattern turns and scales with the boundary; its stored definition lines
    // (angle in degrees, base point, offset, dashes) follow.
    auto imageAngle = [&](double angle) { return image.angleOf(xform * ocs.direction(angle)); };
    if (similar) {
        for (std::vector<double>& line : m_patternLines) {
            if (line.size() < 5)
                continue;
            const ZcGePoint2d base =
                image.toLocal2d(xform * ocs.toWorld({line[1], line[2]}, m_elevation));
            const ZcGeVector3d offset = xform * (ocs.x * line[3] + ocs.y * line[4]);
            line[0] = imageAngle(line[0] * kPi / 180.0) * 180.0 / kPi;
            line[1] = base.x;
            line[2] = base.y;
            line[3] = offset.dotProduct(image.x);
            line[4] = offset.dotProduct(image.y);
            for (std::size_t k = 5; k < line.size(); ++k)
                line[k] *= scale;
        }
    }
    m_patternAngle = imageAngle(m_patternAngle);
    m_patternScale *= scale;
    m_elevation = image.toLocal(xform * ocs.toWorld(0.0, 0.0, m_elevation)).z;
    m_normal = image.z;
    return Zcad::eOk;
}

void ZcDbHatch::listFields(std::wstring& out) const {
    appendField(out, L"Pattern", m_pattern);
    appendField(out, L"Solid fill", m_solid ? L"Yes" : L"No");
    if (!m_solid) {
        appendField(out, L"Pattern angle", formatAngle(m_patternAngle));
        appendField(out, L"Pattern scale", formatNumber(m_patternScale));
    }
    appendField(out, L"Associative", m_associative ? L"Yes" : L"No");
    appendField(out, L"Loops", std::to_wstring(m_loops.size()));
    double area = 0.0;
    getArea(area);
    appendField(out, L"Area", formatNumber(area));
}
