#include "ui/UI_DbValues.h"

#include "zcdbhost.h"

namespace gantrel {

// --- UI_Entity ----------------------------------------------------------------------------------

UI_Entity& UI_Entity::operator=(const UI_Entity& other) {
    if (this != &other) {
        Close();
        m_id = other.m_id;
    }
    return *this;
}

UI_Entity::~UI_Entity() {
    Close();
}

Zcad::ErrorStatus UI_Entity::Open(ZcDb::OpenMode mode) {
    Close();
    ZcDbObject* object = nullptr;
    const Zcad::ErrorStatus es = zcdbOpenObject(object, m_id, mode);
    if (es == Zcad::eOk) {
        m_object = object;
        m_opened = true;
    }
    return es;
}

void UI_Entity::Close() {
    if (m_opened && m_object != nullptr) {
        m_object->close();
    }
    m_object = nullptr;
    m_opened = false;
}

Zcad::ErrorStatus UI_Entity::Erase() {
    if (m_object != nullptr && m_object->isWriteEnabled()) {
        return m_object->erase();
    }
    const bool wasOpen = m_object != nullptr;
    if (wasOpen) {
        const Zcad::ErrorStatus es = m_object->upgradeOpen();
        return es != Zcad::eOk ? es : m_object->erase();
    }
    ZcDbObject* object = nullptr;
    Zcad::ErrorStatus es = zcdbOpenObject(object, m_id, ZcDb::kForWrite);
    if (es != Zcad::eOk) {
        return es;
    }
    es = object->erase();
    object->close();
    return es;
}

namespace {

Zcad::ErrorStatus ChangeHighlight(ZcDbObjectId id, bool highlight) {
    ZcDbEntity* entity = nullptr;
    Zcad::ErrorStatus es = zcdbOpenObject(entity, id, ZcDb::kForRead);
    if (es != Zcad::eOk) {
        return es;
    }
    es = highlight ? entity->highlight() : entity->unhighlight();
    entity->close();
    return es;
}

} // namespace

Zcad::ErrorStatus UI_Entity::Highlight() {
    return ChangeHighlight(m_id, true);
}

Zcad::ErrorStatus UI_Entity::Unhighlight() {
    return ChangeHighlight(m_id, false);
}

ZcDbObjectId UI_Entity::OwnerId() const {
    if (m_object != nullptr) {
        return m_object->ownerId();
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, ZcDb::kForRead) != Zcad::eOk) {
        return ZcDbObjectId();
    }
    const ZcDbObjectId owner = object->ownerId();
    object->close();
    return owner;
}

// --- UI_Kolekcja --------------------------------------------------------------------------------

int UI_Kolekcja::EraseAll() const {
    int erased = 0;
    for (const ZcDbObjectId& id : m_ids) {
        ZcDbObject* object = nullptr;
        if (zcdbOpenObject(object, id, ZcDb::kForWrite) != Zcad::eOk) {
            continue; // erased already, open elsewhere, or not an object at all
        }
        if (object->erase() == Zcad::eOk) {
            ++erased;
        }
        object->close();
    }
    return erased;
}

int UI_Kolekcja::HighlightAll(bool highlight) const {
    int changed = 0;
    for (const ZcDbObjectId& id : m_ids) {
        if (ChangeHighlight(id, highlight) == Zcad::eOk) {
            ++changed;
        }
    }
    return changed;
}

// --- UI_Dictionary ------------------------------------------------------------------------------

namespace {

// The database given, else the drawing commands work on (null when there is none).
ZcDbDatabase* DatabaseOrWorking(ZcDbDatabase* database) {
    if (database == nullptr && zcdbHostApplicationServices() != nullptr) {
        database = zcdbHostApplicationServices()->workingDatabase();
    }
    return database;
}

// The entry of a name in an open dictionary, added there as a new, empty Entry when absent. A
// name taken by an object of another kind is eNotThatKindOfClass; id is null on any failure.
template <typename Entry>
Zcad::ErrorStatus FindOrAdd(ZcDbDictionary& owner, const CString& name, ZcDbObjectId& id) {
    Zcad::ErrorStatus status = owner.getAt(name, id);
    if (status == Zcad::eOk) {
        if (id.objectClass()->isDerivedFrom(Entry::desc())) {
            return Zcad::eOk;
        }
        status = Zcad::eNotThatKindOfClass;
    } else if (status == Zcad::eKeyNotFound) {
        status = owner.upgradeOpen();
        if (status == Zcad::eOk) {
            auto* entry = new Entry;
            status = owner.setAt(name, entry, id);
            if (status == Zcad::eOk) {
                entry->close();
                return Zcad::eOk;
            }
            delete entry;
        }
    }
    id = ZcDbObjectId();
    return status;
}

} // namespace

UI_Dictionary::UI_Dictionary(const CString& name, ZcDbDatabase* database)
    : m_name(name), m_database(database) {}

ZcDbObjectId UI_Dictionary::Id() {
    if (m_id.isValid() && !m_id.isErased()) {
        return m_id;
    }
    m_id = ZcDbObjectId();
    ZcDbDatabase* database = DatabaseOrWorking(m_database);
    if (database == nullptr) {
        m_status = Zcad::eNoDatabase;
        return m_id;
    }
    ZcDbDictionary* named = nullptr;
    m_status = database->getNamedObjectsDictionary(named, ZcDb::kForRead);
    if (m_status == Zcad::eOk) {
        m_status = FindOrAdd<ZcDbDictionary>(*named, m_name, m_id);
        named->close();
    }
    return m_id;
}

// --- UI_Group -----------------------------------------------------------------------------------

UI_Group::UI_Group(const CString& name, ZcDbDatabase* database)
    : m_name(name), m_database(database) {}

ZcDbObjectId UI_Group::Id() {
    if (m_id.isValid() && !m_id.isErased()) {
        return m_id;
    }
    m_id = ZcDbObjectId();
    ZcDbDatabase* database = DatabaseOrWorking(m_database);
    if (database == nullptr) {
        m_status = Zcad::eNoDatabase;
        return m_id;
    }
    ZcDbDictionary* groups = nullptr;
    m_status = database->getGroupDictionary(groups, ZcDb::kForRead);
    if (m_status == Zcad::eOk) {
        m_status = FindOrAdd<ZcDbGroup>(*groups, m_name, m_id);
        groups->close();
    }
    return m_id;
}

Zcad::ErrorStatus UI_Group::Append(ZcDbObjectId id) {
    if (id.isNull()) {
        return m_status = Zcad::eNullObjectId;
    }
    const ZcDbObjectId groupId = Id();
    if (groupId.isNull()) {
        return m_status;
    }
    ZcDbGroup* group = nullptr;
    m_status = zcdbOpenObject(group, groupId, ZcDb::kForWrite);
    if (m_status == Zcad::eOk) {
        m_status = group->append(id);
        group->close();
    }
    return m_status;
}

std::vector<ZcDbObjectId> UI_Group::Ids() {
    const ZcDbObjectId groupId = Id();
    if (groupId.isNull()) {
        return {};
    }
    ZcDbGroup* group = nullptr;
    m_status = zcdbOpenObject(group, groupId, ZcDb::kForRead);
    if (m_status != Zcad::eOk) {
        return {};
    }
    std::vector<ZcDbObjectId> ids = group->allEntityIds();
    group->close();
    return ids;
}

} // namespace gantrel
