// Entities and objects of unknown kinds, kept as their DXF groups.
#include "raw_objects.h"

#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbRawEntity, ZcDbEntity, nullptr)
ZCRX_DEFINE_MEMBERS(ZcDbRawObject, ZcDbObject, nullptr)

Zcad::ErrorStatus ZcDbRawEntity::setGroups(std::string dxfName, ZcDbDxfGroups groups) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    m_dxfName = std::move(dxfName);
    m_groups = std::move(groups);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbRawEntity::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents();
    return Zcad::eInvalidExtents;
}

Zcad::ErrorStatus ZcDbRawEntity::subTransformBy(const ZcGeMatrix3d&) {
    return Zcad::eNotApplicable;
}

void ZcDbRawEntity::listFields(std::wstring& out) const {
    gantrel::db::appendField(out, L"DXF name", std::wstring(m_dxfName.begin(), m_dxfName.end()));
}

Zcad::ErrorStatus ZcDbRawObject::setGroups(std::string dxfName, ZcDbDxfGroups groups) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    m_dxfName = std::move(dxfName);
    m_groups = std::move(groups);
    return Zcad::eOk;
}
