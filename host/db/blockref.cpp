// Block references and MINSERT: the block transform, extents and explode through the block's
// entities, and the attributes a reference owns (pending until it joins a database, like the
// vertices of a 2-D polyline).
#include <cmath>

#include "block_content.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbBlockReference, ZcDbEntity, L"INSERT")
// MINSERT is written as INSERT with column and row data.
ZCRX_DEFINE_MEMBERS(ZcDbMInsertBlock, ZcDbBlockReference, L"INSERT")

using namespace gantrel::db;

namespace {

// The linear map whose columns are the axes of the normal's coordinate system.
ZcGeMatrix3d ocsMatrix(const ZcGeVector3d& normal) {
    const Ocs ocs = ocsOf(normal);
    ZcGeMatrix3d m;
    const ZcGeVector3d cols[3] = {ocs.x, ocs.y, ocs.z};
    for (int c = 0; c < 3; ++c) {
        m.entry[0][c] = cols[c].x;
        m.entry[1][c] = cols[c].y;
        m.entry[2][c] = cols[c].z;
    }
    return m;
}

ZcGePoint3d blockOrigin(ZcDbObjectId block) {
    const auto* record = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(block);
    return record ? record->origin() : ZcGePoint3d::kOrigin;
}

// The transform of one copy: translate the block origin to 0, scale, shift by the copy's
// offset in the reference's rotated frame, rotate, place in the normal's plane at position.
ZcGeMatrix3d placement(const ZcGePoint3d& position, const ZcGeVector3d& normal, double rotation,
                       const ZcGeScale3d& scale, const ZcGePoint3d& origin, double dx, double dy) {
    return ZcGeMatrix3d::translation(position.asVector()) * ocsMatrix(normal) *
           ZcGeMatrix3d::rotation(rotation, ZcGeVector3d::kZAxis) *
           ZcGeMatrix3d::translation({dx, dy, 0.0}) * ZcGeMatrix3d::scaling(scale) *
           ZcGeMatrix3d::translation(-origin.asVector());
}

bool parallelPart(const ZcGeVector3d& v, const ZcGeVector3d& unit, double& amount) {
    amount = v.dotProduct(unit);
    return (v - unit * amount).length() <= 1e-9 * std::max(1.0, v.length());
}

} // namespace

ZcDbBlockReference::ZcDbBlockReference(const ZcDbBlockReference& other)
    : ZcDbEntity(other), m_position(other.m_position), m_block(other.m_block),
      m_scale(other.m_scale), m_rotation(other.m_rotation), m_normal(other.m_normal),
      m_attributes(other.m_attributes) {}

ZcDbBlockReference::~ZcDbBlockReference() = default;

Zcad::ErrorStatus ZcDbBlockReference::setBlockTableRecord(ZcDbObjectId id) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (id.isNull())
        return Zcad::eNullObjectId;
    if (!id.objectClass() || !id.objectClass()->isDerivedFrom(ZcDbBlockTableRecord::desc()))
        return Zcad::eWrongObjectType;
    if (database() && id.database() != database())
        return Zcad::eInvalidInput;
    m_block = id;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockReference::setPosition(const ZcGePoint3d& p) {
    return setField(m_position, p);
}

Zcad::ErrorStatus ZcDbBlockReference::setScaleFactors(const ZcGeScale3d& s) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (s.sx == 0.0 || s.sy == 0.0 || s.sz == 0.0 || !std::isfinite(s.sx) || !std::isfinite(s.sy) ||
        !std::isfinite(s.sz))
        return Zcad::eInvalidInput;
    m_scale = s;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockReference::setRotation(double r) {
    return setField(m_rotation, normalizeAngle(r), std::isfinite(r));
}

Zcad::ErrorStatus ZcDbBlockReference::setNormal(const ZcGeVector3d& n) {
    return setField(m_normal, n.normal(), !(n.isZeroLength()));
}

ZcGeMatrix3d ZcDbBlockReference::blockTransform() const {
    return placement(m_position, m_normal, m_rotation, m_scale, blockOrigin(m_block), 0.0, 0.0);
}

std::vector<ZcGeMatrix3d> ZcDbBlockReference::placements() const {
    return {blockTransform()};
}

Zcad::ErrorStatus ZcDbBlockReference::appendAttribute(ZcDbObjectId& id, ZcDbAttribute* attribute) {
    id = ZcDbObjectId::kNull;
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    return m_attributes.append(*this, id, attribute);
}

Zcad::ErrorStatus ZcDbBlockReference::appendAttribute(ZcDbAttribute* attribute) {
    ZcDbObjectId id;
    return appendAttribute(id, attribute);
}

ZcDbObjectIterator* ZcDbBlockReference::attributeIterator() const {
    return new ZcDbObjectIterator(attributeIds());
}

std::vector<ZcDbObjectId> ZcDbBlockReference::attributeIds() const {
    return m_attributes.ids();
}

std::vector<ZcDbEntity*> ZcDbBlockReference::ownedEntities() const {
    const std::vector<ZcDbAttribute*> attributes = m_attributes.entities();
    return {attributes.begin(), attributes.end()};
}

void ZcDbBlockReference::subAddedToDatabase(ZcDbDatabase* db) {
    m_attributes.addToDatabase(*this, *db);
}

void ZcDbBlockReference::subErase(bool erasing) {
    m_attributes.setErased(erasing);
}

Zcad::ErrorStatus ZcDbBlockReference::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents();
    if (auto es = addExtentsUnder(*this, ZcGeMatrix3d(), extents); es != Zcad::eOk) {
        extents = ZcDbExtents();
        return es;
    }
    return extents.isEmpty() ? Zcad::eInvalidExtents : Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockReference::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    // The new block transform is xform * blockTransform; read position, normal, rotation and
    // scale factors back from the images of the block's axes. That works while the image keeps
    // the axes perpendicular (no shear in the block's frame); otherwise eNotApplicable.
    const ZcGeMatrix3d linear = xform * blockTransform();
    const ZcGeVector3d c0 = linear * ZcGeVector3d::kXAxis;
    const ZcGeVector3d c1 = linear * ZcGeVector3d::kYAxis;
    const ZcGeVector3d c2 = linear * ZcGeVector3d::kZAxis;
    const ZcGeVector3d normal = transformNormal(xform, m_normal);
    const Ocs image = ocsOf(normal);
    const double sx = c0.length();
    double sy = 0.0, sz = 0.0, across = 0.0;
    if (!(sx > 0.0) || !parallelPart(c2, normal, sz) || sz == 0.0)
        return Zcad::eNotApplicable;
    const ZcGeVector3d xdir = c0 / sx;
    const ZcGeVector3d ydir = normal.crossProduct(xdir);
    if (!parallelPart(c0, xdir, across) || std::abs(c0.dotProduct(normal)) > 1e-9 * sx ||
        !parallelPart(c1, ydir, sy) || sy == 0.0)
        return Zcad::eNotApplicable;

    // MINSERT spacing follows the images of the rotated frame's axes.
    auto* minsert = ZcDbMInsertBlock::cast(this);
    double columnSpacing = 0.0, rowSpacing = 0.0;
    if (minsert) {
        const Ocs ocs = ocsOf(m_normal);
        const ZcGeVector3d col = xform * ocs.direction(m_rotation);
        const ZcGeVector3d row = xform * ocs.z.crossProduct(ocs.direction(m_rotation));
        double colAmount = 0.0, rowAmount = 0.0;
        if (!parallelPart(col, xdir, colAmount) || !parallelPart(row, ydir, rowAmount))
            return Zcad::eNotApplicable;
        columnSpacing = minsert->columnSpacing() * colAmount;
        rowSpacing = minsert->rowSpacing() * rowAmount;
    }

    // Attributes are placed in world coordinates: they move by xform itself. Check them all
    // on copies first so that a failure changes nothing.
    const std::vector<ZcDbEntity*> attributes = ownedEntities();
    for (ZcDbEntity* attribute : attributes) {
        Zcad::ErrorStatus es = Zcad::eOk;
        ZcDbEntity* trial = transformedCopy(*attribute, xform, es);
        if (!trial)
            return es;
        delete trial;
    }
    for (ZcDbEntity* attribute : attributes)
        changeOwned(attribute, [&] { attribute->transformBy(xform); });

    m_position.transformBy(xform);
    m_normal = normal;
    m_rotation = image.angleOf(xdir);
    m_scale = ZcGeScale3d(sx, sy, sz);
    if (minsert) {
        minsert->setColumnSpacing(columnSpacing);
        minsert->setRowSpacing(rowSpacing);
    }
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockReference::explode(ZcDbVoidPtrArray& entitySet) const {
    ZcDbVoidPtrArray pieces;
    auto discard = [&pieces] {
        for (void* p : pieces)
            delete static_cast<ZcDbEntity*>(p);
    };
    for (const ZcGeMatrix3d& xform : placements())
        if (auto es = placeBlockEntities(m_block, xform, pieces); es != Zcad::eOk) {
            discard();
            return es;
        }
    for (ZcDbEntity* attribute : ownedEntities())
        pieces.append(attribute->clone());
    entitySet.append(pieces);
    return Zcad::eOk;
}

void ZcDbBlockReference::listFields(std::wstring& out) const {
    const auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(m_block);
    appendField(out, L"Block name", block ? block->name() : std::wstring(L"(none)"));
    appendField(out, L"At point", formatPoint(m_position));
    appendField(out, L"X scale factor", formatNumber(m_scale.sx));
    appendField(out, L"Y scale factor", formatNumber(m_scale.sy));
    appendField(out, L"Z scale factor", formatNumber(m_scale.sz));
    appendField(out, L"Rotation angle", formatAngle(m_rotation));
    for (ZcDbEntity* e : ownedEntities()) {
        const auto* attribute = static_cast<const ZcDbAttribute*>(e);
        appendField(out, L"Attribute", attribute->tag() + L" = " + attribute->textString());
    }
}

// --- MINSERT ---------------------------------------------------------------------------------

Zcad::ErrorStatus ZcDbMInsertBlock::setColumns(std::int16_t n) {
    return setField(m_columns, n, !(n < 1));
}

Zcad::ErrorStatus ZcDbMInsertBlock::setRows(std::int16_t n) {
    return setField(m_rows, n, !(n < 1));
}

Zcad::ErrorStatus ZcDbMInsertBlock::setColumnSpacing(double d) {
    return setField(m_columnSpacing, d, std::isfinite(d));
}

Zcad::ErrorStatus ZcDbMInsertBlock::setRowSpacing(double d) {
    return setField(m_rowSpacing, d, std::isfinite(d));
}

std::vector<ZcGeMatrix3d> ZcDbMInsertBlock::placements() const {
    std::vector<ZcGeMatrix3d> out;
    const ZcGePoint3d origin = blockOrigin(blockTableRecord());
    for (int r = 0; r < m_rows; ++r)
        for (int c = 0; c < m_columns; ++c)
            out.push_back(placement(position(), normal(), rotation(), scaleFactors(), origin,
                                    c * m_columnSpacing, r * m_rowSpacing));
    return out;
}

void ZcDbMInsertBlock::listFields(std::wstring& out) const {
    ZcDbBlockReference::listFields(out);
    appendField(out, L"Columns", std::to_wstring(m_columns));
    appendField(out, L"Rows", std::to_wstring(m_rows));
    appendField(out, L"Column spacing", formatNumber(m_columnSpacing));
    appendField(out, L"Row spacing", formatNumber(m_rowSpacing));
}
