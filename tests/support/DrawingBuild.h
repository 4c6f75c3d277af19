// Building drawings in tests through the host database: entities appended to model space and
// copies made as a command makes them.
#pragma once

#include "zcdball.h"

#include <gtest/gtest.h>

namespace gantrel::testing {

// Appends the entity to model space and returns its id; the entity is closed.
inline ZcDbObjectId AppendToModelSpace(ZcDbDatabase& db, ZcDbEntity* entity) {
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(space->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    space->close();
    return id;
}

// Clones the resident entity into model space, as a command copies an object.
inline ZcDbObjectId CloneIntoModelSpace(ZcDbDatabase& db, ZcDbObjectId source) {
    ZcDbEntity* entity = nullptr;
    EXPECT_EQ(zcdbOpenObject(entity, source, ZcDb::kForRead), Zcad::eOk);
    auto* copy = static_cast<ZcDbEntity*>(entity->clone());
    entity->close();
    return AppendToModelSpace(db, copy);
}

} // namespace gantrel::testing
