// The sub-entities an entity owns: held by the owner until it is resident, then ids.
#include "database_impl.h"

template <typename T> ZcDbOwnedEntities<T>::ZcDbOwnedEntities(const ZcDbOwnedEntities& other) {
    for (T* entity : other.entities())
        m_pending.emplace_back(static_cast<T*>(entity->clone()));
}

template <typename T> ZcDbOwnedEntities<T>::~ZcDbOwnedEntities() = default;

template <typename T>
Zcad::ErrorStatus ZcDbOwnedEntities<T>::append(const ZcDbObject& owner, ZcDbObjectId& id,
                                               T* entity) {
    id = ZcDbObjectId::kNull;
    if (!entity)
        return Zcad::eNullObjectPointer;
    if (!entity->isNewObject())
        return Zcad::eAlreadyInDb;
    ZcDbDatabase* db = owner.database();
    if (!db) {
        m_pending.emplace_back(entity);
        return Zcad::eOk;
    }
    id = ZcDbAccess::addObject(*db, entity);
    ZcDbAccess::setOwner(entity, owner.objectId());
    m_ids.push_back(id);
    ZcDbObject* opened = nullptr;
    return zcdbOpenObject(opened, id, ZcDb::kForWrite);
}

template <typename T> std::vector<ZcDbObjectId> ZcDbOwnedEntities<T>::ids() const {
    std::vector<ZcDbObjectId> out;
    for (const ZcDbObjectId& id : m_ids)
        if (!id.isErased())
            out.push_back(id);
    return out;
}

template <typename T> std::vector<T*> ZcDbOwnedEntities<T>::entities() const {
    std::vector<T*> out;
    for (const ZcDbObjectId& id : ids())
        if (T* entity = ZcDbAccess::objectAs<T>(id))
            out.push_back(entity);
    for (const auto& entity : m_pending)
        out.push_back(entity.get());
    return out;
}

template <typename T>
void ZcDbOwnedEntities<T>::addToDatabase(const ZcDbObject& owner, ZcDbDatabase& db) {
    for (auto& pending : m_pending) {
        T* entity = pending.release();
        m_ids.push_back(ZcDbAccess::addObject(db, entity));
        ZcDbAccess::setOwner(entity, owner.objectId());
    }
    m_pending.clear();
}

// Sub-entities are erased and unerased with their owner, whatever their open state: they are
// part of the owner.
template <typename T> void ZcDbOwnedEntities<T>::setErased(bool erasing) {
    for (const ZcDbObjectId& id : m_ids)
        if (ZcDbStub* stub = id.stub())
            stub->erased = erasing;
}

template class ZcDbOwnedEntities<ZcDb2dVertex>;
template class ZcDbOwnedEntities<ZcDbAttribute>;
