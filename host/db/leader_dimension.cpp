// Leaders (a path of straight segments, parameter i at vertex i, with an arrow at the first
// vertex) and aligned dimensions.
#include <algorithm>
#include <cmath>
#include <cwchar>

#include "block_content.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbLeader, ZcDbCurve, L"LEADER")
ZCRX_DEFINE_MEMBERS(ZcDbAlignedDimension, ZcDbEntity, L"DIMENSION")

using namespace gantrel::db;

// --- leader ----------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDbLeader::appendVertex(const ZcGePoint3d& p) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    m_vertices.append(p);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLeader::setVertexAt(int i, const ZcGePoint3d& p) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (i < 0 || i >= m_vertices.length())
        return Zcad::eInvalidIndex;
    m_vertices[i] = p;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLeader::enableArrowHead() {
    return setField(m_arrow, true);
}

Zcad::ErrorStatus ZcDbLeader::disableArrowHead() {
    return setField(m_arrow, false);
}

Zcad::ErrorStatus ZcDbLeader::setDimasz(double size) {
    return setField(m_dimasz, size, size >= 0.0);
}

Zcad::ErrorStatus ZcDbLeader::setDimscale(double scale) {
    return setField(m_dimscale, scale, scale >= 0.0);
}

Zcad::ErrorStatus ZcDbLeader::setDimensionStyleName(const wchar_t* name) {
    return setField(m_dimstyle, name, !(!name || !*name));
}

Zcad::ErrorStatus ZcDbLeader::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

Zcad::ErrorStatus ZcDbLeader::getStartParam(double& param) const {
    if (m_vertices.isEmpty())
        return Zcad::eDegenerateGeometry;
    param = 0.0;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLeader::getEndParam(double& param) const {
    if (m_vertices.isEmpty())
        return Zcad::eDegenerateGeometry;
    param = m_vertices.length() - 1;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLeader::getPointAtParam(double param, ZcGePoint3d& point) const {
    const int n = m_vertices.length();
    if (n == 0)
        return Zcad::eDegenerateGeometry;
    if (param < -1e-9 || param > n - 1 + 1e-9)
        return Zcad::eInvalidInput;
    param = std::clamp(param, 0.0, static_cast<double>(n - 1));
    const int i = std::min(static_cast<int>(std::floor(param)), std::max(0, n - 2));
    if (n == 1) {
        point = m_vertices[0];
        return Zcad::eOk;
    }
    point = m_vertices[i] + (m_vertices[i + 1] - m_vertices[i]) * (param - i);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLeader::getFirstDeriv(double param, ZcGeVector3d& deriv) const {
    const int n = m_vertices.length();
    if (n < 2)
        return Zcad::eDegenerateGeometry;
    if (param < -1e-9 || param > n - 1 + 1e-9)
        return Zcad::eInvalidInput;
    const int i = std::clamp(static_cast<int>(std::floor(param)), 0, n - 2);
    deriv = m_vertices[i + 1] - m_vertices[i];
    return Zcad::eOk;
}

std::vector<double> ZcDbLeader::sampleParams() const {
    std::vector<double> out;
    for (int i = 0; i < m_vertices.length(); ++i)
        out.push_back(i);
    return out;
}

Zcad::ErrorStatus ZcDbLeader::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents();
    if (m_vertices.isEmpty())
        return Zcad::eInvalidExtents;
    for (const ZcGePoint3d& p : m_vertices)
        extents.addPoint(p);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbLeader::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    const Ocs ocs = ocsOf(m_normal);
    for (ZcGePoint3d& p : m_vertices)
        p.transformBy(xform);
    // The arrow grows and shrinks with the leader.
    m_dimscale *= std::sqrt((xform * ocs.x).crossProduct(xform * ocs.y).length());
    m_normal = transformNormal(xform, m_normal);
    return Zcad::eOk;
}

void ZcDbLeader::listFields(std::wstring& out) const {
    appendField(out, L"Dimension style", m_dimstyle);
    appendField(out, L"Arrowhead", m_arrow ? L"Yes" : L"No");
    appendField(out, L"Arrow size", formatNumber(m_dimasz * m_dimscale));
    for (int i = 0; i < m_vertices.length(); ++i) {
        const std::wstring name = L"Vertex " + std::to_wstring(i);
        appendField(out, name.c_str(), formatPoint(m_vertices[i]));
    }
}

// --- aligned dimension -----------------------------------------------------------------------

namespace {

// The dimension line's ends: the extension points moved across to the dimension line point.
void dimensionLine(const ZcGePoint3d& x1, const ZcGePoint3d& x2, const ZcGePoint3d& dimLine,
                   ZcGePoint3d& p1, ZcGePoint3d& p2) {
    const ZcGeVector3d along = x2 - x1;
    const ZcGeVector3d dir = along.isZeroLength() ? ZcGeVector3d::kXAxis : along.normal();
    const ZcGeVector3d v = dimLine - x1;
    const ZcGeVector3d offset = v - dir * v.dotProduct(dir);
    p1 = x1 + offset;
    p2 = x2 + offset;
}

// The measurement as the dimension shows it: four decimals without trailing zeros; an override
// text replaces it, with "<>" standing for the measurement.
std::wstring displayedText(const std::wstring& override, double value) {
    std::wstring number = formatNumber(value);
    while (number.find(L'.') != std::wstring::npos &&
           (number.back() == L'0' || number.back() == L'.'))
        number.pop_back();
    if (override.empty())
        return number;
    std::wstring text = override;
    if (const std::size_t at = text.find(L"<>"); at != std::wstring::npos)
        text.replace(at, 2, number);
    return text;
}

// The dimension text height when the drawing gives none.
constexpr double kDimensionTextHeight = 2.5;

} // namespace

#define ZCDB_POINT_SETTER(SETTER, MEMBER)                                                          \
    Zcad::ErrorStatus ZcDbAlignedDimension::SETTER(const ZcGePoint3d& p) {                         \
        if (auto es = assertWriteEnabled(); es != Zcad::eOk)                                       \
            return es;                                                                             \
        MEMBER = p;                                                                                \
        return Zcad::eOk;                                                                          \
    }
ZCDB_POINT_SETTER(setXLine1Point, m_xLine1)
ZCDB_POINT_SETTER(setXLine2Point, m_xLine2)
ZCDB_POINT_SETTER(setDimLinePoint, m_dimLine)
ZCDB_POINT_SETTER(setTextPosition, m_textPosition)
#undef ZCDB_POINT_SETTER

Zcad::ErrorStatus ZcDbAlignedDimension::setDimensionText(const wchar_t* text) {
    return setField(m_text, text ? text : L"");
}

Zcad::ErrorStatus ZcDbAlignedDimension::setOblique(double a) {
    return setField(m_oblique, a, std::isfinite(a));
}

Zcad::ErrorStatus ZcDbAlignedDimension::setDimensionStyleName(const wchar_t* name) {
    return setField(m_dimstyle, name, !(!name || !*name));
}

Zcad::ErrorStatus ZcDbAlignedDimension::measurement(double& value) const {
    value = m_xLine1.distanceTo(m_xLine2);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAlignedDimension::setDimBlockId(ZcDbObjectId id) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!id.isNull() &&
        (!id.objectClass() || !id.objectClass()->isDerivedFrom(ZcDbBlockTableRecord::desc())))
        return Zcad::eWrongObjectType;
    m_block = id;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAlignedDimension::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents();
    ZcGePoint3d p1, p2;
    dimensionLine(m_xLine1, m_xLine2, m_dimLine, p1, p2);
    for (const ZcGePoint3d& p : {m_xLine1, m_xLine2, p1, p2})
        extents.addPoint(p);
    // The dimension's block holds what it draws, in world coordinates.
    if (const auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(m_block))
        for (const ZcDbObjectId& id : block->entityIds())
            if (const auto* e = ZcDbAccess::objectAs<ZcDbEntity>(id))
                addExtentsUnder(*e, ZcGeMatrix3d(), extents, 1);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAlignedDimension::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // The dimension's own anonymous block moves with it, so that what it draws stays true. A
    // copy outside the database (made to measure or draw the contents of a block reference)
    // shares that block with the dimension it copies: it lets go of it and draws from its own
    // points, leaving the original's drawing where it is.
    if (m_block.isValid() && objectId().isNull()) {
        m_block = ZcDbObjectId::kNull;
    } else if (auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(m_block);
               block && block->isAnonymous()) {
        for (const ZcDbObjectId& id : block->entityIds()) {
            Zcad::ErrorStatus es = Zcad::eOk;
            if (const auto* e = ZcDbAccess::objectAs<ZcDbEntity>(id)) {
                ZcDbEntity* trial = transformedCopy(*e, xform, es);
                if (!trial)
                    return es;
                delete trial;
            }
        }
        for (const ZcDbObjectId& id : block->entityIds())
            if (auto* e = ZcDbAccess::objectAs<ZcDbEntity>(id))
                changeOwned(e, [&] { e->transformBy(xform); });
    }
    m_xLine1.transformBy(xform);
    m_xLine2.transformBy(xform);
    m_dimLine.transformBy(xform);
    m_textPosition.transformBy(xform);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbAlignedDimension::explode(ZcDbVoidPtrArray& entitySet) const {
    if (ZcDbAccess::objectAs<ZcDbBlockTableRecord>(m_block))
        return placeBlockEntities(m_block, ZcGeMatrix3d(), entitySet);
    // Without a block: the extension lines, the dimension line and the text.
    ZcGePoint3d p1, p2;
    dimensionLine(m_xLine1, m_xLine2, m_dimLine, p1, p2);
    double value = 0.0;
    measurement(value);
    const ZcGeVector3d along = p2 - p1;
    const ZcGePoint3d middle = p1 + along * 0.5;
    const bool placed = !m_textPosition.isEqualTo(ZcGePoint3d::kOrigin);
    auto* text = new ZcDbText(placed ? m_textPosition : middle,
                              displayedText(m_text, value).c_str(), kDimensionTextHeight);
    text->setHorizontalMode(ZcDbText::kTextMid);
    text->setAlignmentPoint(text->position());
    double angle = along.isZeroLength() ? 0.0 : normalizeAngle(std::atan2(along.y, along.x));
    // Keep the text readable: never upside down.
    if (angle > kPi / 2 && angle <= 3 * kPi / 2)
        angle = normalizeAngle(angle + kPi);
    text->setRotation(angle);
    ZcDbEntity* pieces[] = {new ZcDbLine(m_xLine1, p1), new ZcDbLine(m_xLine2, p2),
                            new ZcDbLine(p1, p2), text};
    for (ZcDbEntity* piece : pieces) {
        piece->setPropertiesFrom(this);
        entitySet.append(piece);
    }
    return Zcad::eOk;
}

void ZcDbAlignedDimension::listFields(std::wstring& out) const {
    double value = 0.0;
    measurement(value);
    appendField(out, L"Dimension type", L"Aligned");
    appendField(out, L"Dimension style", m_dimstyle);
    appendField(out, L"Extension line 1", formatPoint(m_xLine1));
    appendField(out, L"Extension line 2", formatPoint(m_xLine2));
    appendField(out, L"Dimension line", formatPoint(m_dimLine));
    appendField(out, L"Measurement", formatNumber(value));
    if (!m_text.empty())
        appendField(out, L"Text override", m_text);
}
