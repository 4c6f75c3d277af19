#include "drawing/ZWDrawer.h"

#include "drawing/HostStatus.h"
#include "frame/Printer.h"
#include "zcdbhost.h"

namespace gantrel {

ZcDbDatabase* WorkingDatabase() {
    ZcDbHostApplicationServices* services = zcdbHostApplicationServices();
    return services != nullptr ? services->workingDatabase() : nullptr;
}

int ZWDrawer::Add(ZcDbEntity* entity, ZcDbBlockTableRecord* record) {
    if (entity == nullptr) {
        PrintOnCommandLine(L"ZWDrawer::Add", false);
        return HandleStatus::kNotOpened;
    }
    ZcDbBlockTableRecord* target = record;
    bool openedHere = false;
    if (target == nullptr) {
        ZcDbDatabase* db = WorkingDatabase();
        if (db == nullptr ||
            zcdbOpenObject(target, db->modelSpaceId(), ZcDb::kForWrite) != Zcad::eOk) {
            return Zcad::eNoDatabase;
        }
        openedHere = true;
    } else if (!target->isWriteEnabled()) {
        if (const Zcad::ErrorStatus es = target->upgradeOpen(); es != Zcad::eOk) {
            return es;
        }
    }
    const Zcad::ErrorStatus es = target->appendZcDbEntity(entity);
    if (openedHere || record != nullptr) {
        target->close();
    }
    return es;
}

int ZWDrawer::AddToSpace(ZcDbEntity* entity, ZcDbObjectId space) {
    if (entity == nullptr) {
        return HandleStatus::kNotOpened;
    }
    if (space.isNull()) {
        ZcDbDatabase* db = WorkingDatabase();
        if (db == nullptr) {
            return Zcad::eNoDatabase;
        }
        space = db->currentSpaceId();
    }
    ZcDbObject* object = nullptr;
    if (const Zcad::ErrorStatus es = zcdbOpenObject(object, space, ZcDb::kForWrite);
        es != Zcad::eOk) {
        return es;
    }
    auto* record = ZcDbBlockTableRecord::cast(object);
    if (record == nullptr) {
        object->close();
        return Zcad::eWrongObjectType;
    }
    const Zcad::ErrorStatus es = record->appendZcDbEntity(entity);
    record->close();
    return es;
}

ZcDbObjectId ZWDrawer::AddLine(const ZcGePoint3d& start, const ZcGePoint3d& end,
                               ZcDbObjectId space) {
    auto* line = new ZcDbLine(start, end);
    if (AddToSpace(line, space) != Zcad::eOk) {
        delete line;
        return ZcDbObjectId::kNull;
    }
    const ZcDbObjectId id = line->objectId();
    line->close();
    return id;
}

int ZWDrawer::AddCopy(ZcDbObjectId source, ZcDbObjectId& copy, ZcDbObjectId space) {
    copy = ZcDbObjectId::kNull;
    if (source.isNull()) {
        return Zcad::eInvalidInput;
    }
    ZcDbEntity* entity = nullptr;
    if (const Zcad::ErrorStatus es = zcdbOpenObject(entity, source, ZcDb::kForRead);
        es != Zcad::eOk) {
        return es;
    }
    ZcRxObject* clone = entity->clone();
    entity->close();
    auto* cloned = ZcDbEntity::cast(clone);
    if (cloned == nullptr) {
        delete clone;
        return Zcad::eInvalidInput;
    }
    if (const int es = AddToSpace(cloned, space); es != Zcad::eOk) {
        delete cloned;
        return es;
    }
    copy = cloned->objectId();
    cloned->close();
    return Zcad::eOk;
}

} // namespace gantrel
