#include "tools/BlockJobs.h"

#include <memory>

#include "drawing/BlockHandles.h"
#include "drawing/Entity.h"
#include "drawing/ZWDrawer.h"
#include "frame/Printer.h"

namespace gantrel {

namespace {

std::wstring BlockName(ZcDbObjectId blockId) {
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, blockId, ZcDb::kForRead) != Zcad::eOk) {
        return {};
    }
    std::wstring name = record->name();
    record->close();
    return name;
}

// A copy of an entity; null when it cannot be opened or its copy is no entity.
std::unique_ptr<ZcDbEntity> CloneEntity(ZcDbObjectId id) {
    ZcDbEntity* source = nullptr;
    if (zcdbOpenObject(source, id, ZcDb::kForRead) != Zcad::eOk) {
        return nullptr;
    }
    std::unique_ptr<ZcRxObject> copy(source->clone());
    source->close();
    if (ZcDbEntity::cast(copy.get()) == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<ZcDbEntity>(static_cast<ZcDbEntity*>(copy.release()));
}

// Appends an entity to a block definition; the entity is closed when it joined.
int AppendTo(ZcDbObjectId blockId, std::unique_ptr<ZcDbEntity>& entity) {
    ZcDbBlockTableRecord* record = nullptr;
    if (const Zcad::ErrorStatus es = zcdbOpenObject(record, blockId, ZcDb::kForWrite);
        es != Zcad::eOk) {
        return es;
    }
    const int es = ZWDrawer().Add(entity.get(), record);
    if (es == Zcad::eOk) {
        entity.release()->close();
    }
    return es;
}

} // namespace

ZcDbObjectId BlockMakeJob::Make() {
    m_blockId = CreateDefinition(m_names != nullptr ? m_names->NextName() : std::wstring());
    if (m_blockId.isNull()) {
        return ZcDbObjectId::kNull;
    }
    const bool lastClosed = CopyEntities();
    const ZcDbExtents extents = Extents();
    const ZcGePoint3d base = extents.isEmpty() ? ZcGePoint3d::kOrigin : extents.minPoint();
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, m_blockId, ZcDb::kForWrite) == Zcad::eOk) {
        record->setOrigin(base);
        record->close();
    }
    if (!lastClosed) {
        return ZcDbObjectId::kNull;
    }
    const ZcDbObjectId reference = InsertReference(base);
    for (const ZcDbObjectId id : m_entities) {
        Entity(id).Erase();
    }
    return reference;
}

ZcDbObjectId BlockMakeJob::CreateDefinition(const std::wstring& name) {
    if (name.empty()) {
        PrintErrorStatus(Zcad::eNullBlockName);
        return ZcDbObjectId::kNull;
    }
    auto record = std::make_unique<ZcDbBlockTableRecord>();
    // A refused name or base point is reported; the definition is still made.
    if (const Zcad::ErrorStatus es = record->setName(name.c_str()); es != Zcad::eOk) {
        PrintErrorStatus(es);
    }
    if (const Zcad::ErrorStatus es = record->setOrigin(ZcGePoint3d::kOrigin); es != Zcad::eOk) {
        PrintErrorStatus(es);
    }
    ZcDbDatabase* db = WorkingDatabase();
    ZcDbBlockTable* table = nullptr;
    if (db == nullptr || db->getBlockTable(table, ZcDb::kForWrite) != Zcad::eOk) {
        return ZcDbObjectId::kNull;
    }
    ZcDbObjectId id;
    const Zcad::ErrorStatus es = table->add(id, record.get());
    table->close();
    if (es != Zcad::eOk) {
        PrintErrorStatus(es);
        return ZcDbObjectId::kNull;
    }
    record.release()->close();
    return id;
}

bool BlockMakeJob::CopyEntities() {
    Zcad::ErrorStatus lastClose = Zcad::eOk;
    for (const ZcDbObjectId id : m_entities) {
        ZcDbEntity* source = nullptr;
        if (zcdbOpenObject(source, id, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        std::unique_ptr<ZcRxObject> copy(source->clone());
        if (auto* entity = ZcDbEntity::cast(copy.get())) {
            std::unique_ptr<ZcDbEntity> clone(entity);
            copy.release();
            if (const int es = AppendTo(m_blockId, clone); es != Zcad::eOk) {
                PrintErrorStatus(es);
            }
        }
        lastClose = source->close();
    }
    return lastClose == Zcad::eOk;
}

ZcDbExtents BlockMakeJob::Extents() const {
    ZcDbExtents all;
    for (const ZcDbObjectId id : m_entities) {
        ZcDbExtents one;
        if (Entity(id).GetGeomExtents(one) == 0 && !one.isEmpty()) {
            all.addExt(one);
        }
    }
    return all;
}

ZcDbObjectId BlockMakeJob::InsertReference(const ZcGePoint3d& at) {
    auto reference = std::make_unique<ZcDbBlockReference>(at, m_blockId);
    reference->setScaleFactors(ZcGeScale3d(1.0));
    reference->setRotation(0.0);
    if (const int es = ZWDrawer().AddToSpace(reference.get()); es != Zcad::eOk) {
        PrintErrorStatus(es);
        return ZcDbObjectId::kNull;
    }
    const ZcDbObjectId id = reference->objectId();
    reference.release()->close();
    return id;
}

BlockMoveJob::BlockMoveJob(ZcDbObjectId reference, std::vector<ZcDbObjectId> entities)
    : m_reference(reference), m_blockId(ZWBlockIns(reference).BlockTableRecord()),
      m_entities(std::move(entities)) {}

int BlockMoveJob::Run() {
    const std::wstring name = BlockName(m_blockId);
    // Block coordinates of a point shown at p by an unrotated, unscaled reference.
    const ZcGeVector3d shift =
        BlockByName(name).Origin() - ZWBlockIns(m_reference).InsertionPoint();
    int moved = 0;
    for (const ZcDbObjectId id : m_entities) {
        if (MoveOne(id, name, shift) == 0) {
            ++moved;
        }
    }
    return moved;
}

int BlockMoveJob::MoveOne(ZcDbObjectId source, const std::wstring& blockName,
                          const ZcGeVector3d& shift) {
    const ZcDbObjectId target = FindBlock(WorkingDatabase(), blockName);
    if (target.isNull()) {
        return Zcad::eUndefinedBlock;
    }
    ZWBlockIns asReference(source);
    if (asReference.IsBlockReference() && BlockName(asReference.BlockTableRecord()) == blockName) {
        return Zcad::eSelfReference;
    }
    std::unique_ptr<ZcDbEntity> clone = CloneEntity(source);
    if (clone == nullptr) {
        return Zcad::eNotThatKindOfClass;
    }
    // Moved before it joins the block, so a copy that cannot be moved leaves nothing behind.
    if (const Zcad::ErrorStatus es = clone->transformBy(ZcGeMatrix3d::translation(shift));
        es != Zcad::eOk) {
        PrintErrorStatus(es);
        return es;
    }
    if (const int es = AppendTo(target, clone); es != Zcad::eOk) {
        PrintErrorStatus(es);
        return es;
    }
    return Entity(source).Erase();
}

} // namespace gantrel
