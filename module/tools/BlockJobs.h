// The work behind the block commands: making a block from entities ("QuickBlock") and moving
// entities into the definition of a referenced block ("AddToBlock").
#pragma once

#include <vector>

#include "drawing/Blocks.h"
#include "zcdball.h"

namespace gantrel {

// Makes a block of the entities, with a name from the generator, and puts one reference to it
// where they were: the definition holds copies at their own coordinates, its base point is the
// lower corner of their extents, and the reference is inserted at that corner.
class BlockMakeJob {
public:
    BlockMakeJob(std::vector<ZcDbObjectId> entities, BlockNameGenerator* names)
        : m_entities(std::move(entities)), m_names(names) {}
    // The new reference; null when the block could not be made (the sources then stay).
    ZcDbObjectId Make();
    ZcDbObjectId BlockId() const { return m_blockId; }

private:
    // A new, empty block table record of the name; null when it cannot be added.
    ZcDbObjectId CreateDefinition(const std::wstring& name);
    // Copies every entity into the definition; false when closing the last source failed.
    bool CopyEntities();
    ZcDbExtents Extents() const;
    ZcDbObjectId InsertReference(const ZcGePoint3d& at);

    std::vector<ZcDbObjectId> m_entities;
    BlockNameGenerator* m_names;
    ZcDbObjectId m_blockId;
};

// Moves entities into the definition of a picked reference's block. Each entity keeps its
// shape and is shifted by (base point - insertion point) only: the reference's rotation and
// scale are not undone.
class BlockMoveJob {
public:
    BlockMoveJob(ZcDbObjectId reference, std::vector<ZcDbObjectId> entities);
    // The number of entities moved.
    int Run();
    ZcDbObjectId BlockId() const { return m_blockId; }

private:
    // 0 when moved; 379 no such block, 26 a reference to the block itself, else the failing
    // host status.
    int MoveOne(ZcDbObjectId source, const std::wstring& blockName, const ZcGeVector3d& shift);

    ZcDbObjectId m_reference;
    ZcDbObjectId m_blockId;
    std::vector<ZcDbObjectId> m_entities;
};

} // namespace gantrel
