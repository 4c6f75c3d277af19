// Handles over block references and block definitions.
#pragma once

#include <vector>

#include "drawing/Entity.h"

namespace gantrel {

class ZWBlockIns : public Entity {
public:
    using Entity::Entity;
    // A reference of another class makes the handle's id null (status 21).
    int Open(ZcDb::OpenMode mode) override {
        return OpenChecked(mode, ZcDbBlockReference::desc(), true);
    }
    // The referenced block table record; the null id on failure.
    ZcDbObjectId BlockTableRecord();
    // The origin on failure.
    ZcGePoint3d InsertionPoint();
    // Identity scale on failure.
    ZcGeScale3d ScaleFactors();
    // Block coordinates to world; throws HostStatusError when the reference cannot be opened.
    ZcGeMatrix3d BlockTransform();
};

// A block definition, given by its block table record or by a reference to it.
class ZWBlockDef : public ObjectId {
public:
    // A reference gives its block table record, a record is taken as it is, any other object
    // gives the null id.
    explicit ZWBlockDef(ZcDbObjectId id);
    ZWBlockDef(const ZWBlockDef& other) : ObjectId(other) {}
    ~ZWBlockDef() override { Close(); }

    // 374 null id, 15 cannot be opened, 21 not a block table record, else 0 with it open.
    int Open(ZcDb::OpenMode mode);
    void Close();
    bool IsBlockTableRecord() const;
    // The ids of the record's entities, in the record's order.
    int EntityIds(std::vector<ZcDbObjectId>& ids);

private:
    ZcDbBlockTableRecord* m_record = nullptr;
};

} // namespace gantrel
