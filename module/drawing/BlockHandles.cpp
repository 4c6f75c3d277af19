#include "drawing/BlockHandles.h"

namespace gantrel {

ZcDbObjectId ZWBlockIns::BlockTableRecord() {
    if (Open(ZcDb::kForRead) != HandleStatus::kOk) {
        return ZcDbObjectId::kNull;
    }
    const ZcDbObjectId record = ZcDbBlockReference::cast(m_object)->blockTableRecord();
    Done(HandleStatus::kOk);
    return record;
}

ZcGePoint3d ZWBlockIns::InsertionPoint() {
    if (Open(ZcDb::kForRead) != HandleStatus::kOk) {
        return ZcGePoint3d::kOrigin;
    }
    const ZcGePoint3d position = ZcDbBlockReference::cast(m_object)->position();
    Done(HandleStatus::kOk);
    return position;
}

ZcGeScale3d ZWBlockIns::ScaleFactors() {
    if (Open(ZcDb::kForRead) != HandleStatus::kOk) {
        return ZcGeScale3d();
    }
    const ZcGeScale3d scale = ZcDbBlockReference::cast(m_object)->scaleFactors();
    Done(HandleStatus::kOk);
    return scale;
}

ZcGeMatrix3d ZWBlockIns::BlockTransform() {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        throw HostStatusError{es};
    }
    const ZcGeMatrix3d transform = ZcDbBlockReference::cast(m_object)->blockTransform();
    Done(HandleStatus::kOk);
    return transform;
}

ZWBlockDef::ZWBlockDef(ZcDbObjectId id) {
    ZcDbObject* object = nullptr;
    if (id.isNull() || zcdbOpenObject(object, id, ZcDb::kForRead) != Zcad::eOk) {
        return;
    }
    if (const auto* reference = ZcDbBlockReference::cast(object)) {
        m_id = reference->blockTableRecord();
    } else if (ZcDbBlockTableRecord::cast(object) != nullptr) {
        m_id = id;
    }
    object->close();
}

int ZWBlockDef::Open(ZcDb::OpenMode mode) {
    Close();
    if (m_id.isNull()) {
        return SetStatus(HandleStatus::kInvalidId);
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, mode) != Zcad::eOk) {
        return SetStatus(HandleStatus::kNoObject);
    }
    m_record = ZcDbBlockTableRecord::cast(object);
    if (m_record == nullptr) {
        object->close();
        return SetStatus(HandleStatus::kWrongClass);
    }
    return SetStatus(HandleStatus::kOk);
}

void ZWBlockDef::Close() {
    if (m_record != nullptr) {
        m_record->close();
    }
    m_record = nullptr;
}

bool ZWBlockDef::IsBlockTableRecord() const {
    if (m_id.isNull()) {
        return false;
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, ZcDb::kForRead) != Zcad::eOk) {
        return false;
    }
    const bool result = ZcDbBlockTableRecord::cast(object) != nullptr;
    object->close();
    return result;
}

int ZWBlockDef::EntityIds(std::vector<ZcDbObjectId>& ids) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    const std::vector<ZcDbObjectId> entities = m_record->entityIds();
    ids.insert(ids.end(), entities.begin(), entities.end());
    Close();
    return SetStatus(HandleStatus::kOk);
}

} // namespace gantrel
