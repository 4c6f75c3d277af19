// Adding entities to block table records and spaces of the working drawing.
#pragma once

#include "zcdball.h"

namespace gantrel {

class ZWDrawer {
public:
    virtual ~ZWDrawer() = default;
    // Appends a new entity to the record (model space of the working drawing when none is
    // given; a record open for read is reopened for write). The record is closed afterwards,
    // when this opened it, and the entity stays open for write. A null entity prints
    // "ZWDrawer::Add" and gives 20; model space that cannot be opened gives 221.
    int Add(ZcDbEntity* entity, ZcDbBlockTableRecord* record = nullptr);
    // Appends a new entity to a space (the current space when the id is null); the entity stays
    // open for write. 20 for a null entity, 34 when the space is not a block table record.
    int AddToSpace(ZcDbEntity* entity, ZcDbObjectId space = ZcDbObjectId::kNull);
    // A new line in a space; the null id when it cannot be added.
    ZcDbObjectId AddLine(const ZcGePoint3d& start, const ZcGePoint3d& end,
                         ZcDbObjectId space = ZcDbObjectId::kNull);
    // A copy of an entity added to a space; 3 for an id that is not an entity.
    int AddCopy(ZcDbObjectId source, ZcDbObjectId& copy, ZcDbObjectId space = ZcDbObjectId::kNull);
};

// The drawing commands work on; null when no drawing is open.
ZcDbDatabase* WorkingDatabase();

} // namespace gantrel
