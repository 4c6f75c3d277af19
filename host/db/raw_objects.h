// Objects and entities of a drawing file that the database does not model. They keep their DXF
// name and groups so that a drawing is written back without losing them.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "zcdbents.h"

// (group code, value) pairs as the file held them; text values in UTF-8.
using ZcDbDxfGroups = std::vector<std::pair<int, std::string>>;

// An entity of an unknown kind. Its layer, colour and linetype are the entity's own; every other
// group after them (subclass markers included) is kept in file order.
class ZcDbRawEntity : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbRawEntity)
    ZCDB_ENTITY_CLONE(ZcDbRawEntity)
    ZcDbRawEntity() = default;
    ZcDbRawEntity(std::string dxfName, ZcDbDxfGroups groups)
        : m_dxfName(std::move(dxfName)), m_groups(std::move(groups)) {}

    const std::string& dxfName() const { return m_dxfName; }
    const ZcDbDxfGroups& groups() const { return m_groups; }
    Zcad::ErrorStatus setGroups(std::string dxfName, ZcDbDxfGroups groups);
    // The geometry of an unknown entity is not understood: it cannot be moved or measured.
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    std::string m_dxfName;
    ZcDbDxfGroups m_groups;
};

// A non-graphical object of an unknown kind: every group after its handle is kept in file
// order (its owner is the object's owner id; its extended data the object's own).
class ZcDbRawObject : public ZcDbObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbRawObject)
    ZcDbRawObject() = default;
    ZcDbRawObject(std::string dxfName, ZcDbDxfGroups groups)
        : m_dxfName(std::move(dxfName)), m_groups(std::move(groups)) {}
    ZcRxObject* clone() const override { return new ZcDbRawObject(*this); }

    const std::string& dxfName() const { return m_dxfName; }
    const ZcDbDxfGroups& groups() const { return m_groups; }
    Zcad::ErrorStatus setGroups(std::string dxfName, ZcDbDxfGroups groups);

private:
    std::string m_dxfName;
    ZcDbDxfGroups m_groups;
};
