// Point entities.
#include "database_impl.h"
#include "geom_util.h"

ZCRX_DEFINE_MEMBERS(ZcDbPoint, ZcDbEntity, L"POINT")

using namespace gantrel::db;

Zcad::ErrorStatus ZcDbPoint::setPosition(const ZcGePoint3d& p) {
    return setField(m_position, p);
}

Zcad::ErrorStatus ZcDbPoint::getGeomExtents(ZcDbExtents& extents) const {
    extents = ZcDbExtents(m_position, m_position);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbPoint::subTransformBy(const ZcGeMatrix3d& xform) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    m_position.transformBy(xform);
    return Zcad::eOk;
}

void ZcDbPoint::listFields(std::wstring& out) const {
    appendField(out, L"Position", formatPoint(m_position));
}
