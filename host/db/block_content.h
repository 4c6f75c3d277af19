// Entities of a block seen through a transform: extents, transformed copies and the placing
// of a block's entities, for block references, MINSERT and dimension blocks.
#pragma once

#include <memory>
#include <vector>

#include "zcdball.h"

namespace gantrel::db {

// Nesting deeper than this means a block that contains itself.
constexpr int kMaxBlockDepth = 32;

// Whether a block entity draws in references: attribute definitions do not, unless constant.
bool drawsInReference(const ZcDbEntity& entity);

// The new entities, owned by the caller, that draw the entity when it explodes (a block
// reference, a region, a polyline); none where it does not explode.
std::vector<std::unique_ptr<ZcDbEntity>> explodedPieces(const ZcDbEntity& entity);

// A new copy of the entity moved by the transform. A circle, arc or ellipse that the
// transform distorts becomes the ellipse it maps to. Null (with the status) when the entity
// cannot take the transform.
ZcDbEntity* transformedCopy(const ZcDbEntity& entity, const ZcGeMatrix3d& xform,
                            Zcad::ErrorStatus& status);

// Adds the extents of the entity as placed by the transform; block references add the
// entities of their blocks, nested ones too (eSelfReference when a block contains itself).
Zcad::ErrorStatus addExtentsUnder(const ZcDbEntity& entity, const ZcGeMatrix3d& xform,
                                  ZcDbExtents& extents, int depth = 0);

// Appends copies of the block's drawn entities placed by the transform. On failure nothing
// is appended.
Zcad::ErrorStatus placeBlockEntities(ZcDbObjectId block, const ZcGeMatrix3d& xform,
                                     ZcDbVoidPtrArray& entitySet);

// Runs a change on an owned sub-object (attribute, vertex) without the caller opening it:
// owners move their sub-objects with them.
template <typename F> void changeOwned(ZcDbObject* owned, F&& change);

} // namespace gantrel::db

#include "database_impl.h"

template <typename F> void gantrel::db::changeOwned(ZcDbObject* owned, F&& change) {
    ZcDbStub* stub = ZcDbAccess::stub(owned);
    if (!stub) {
        change();
        return;
    }
    const bool wasWriter = stub->writer;
    stub->writer = true;
    change();
    stub->writer = wasWriter;
}
