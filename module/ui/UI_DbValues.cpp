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

UI_Dictionary::UI_Dictionary(const CString& name, ZcDbDatabase* database)
    : m_name(name), m_database(database) {}

ZcDbObjectId UI_Dictionary::Id() {
    if (m_id.isValid() && !m_id.isErased()) {
        return m_id;
    }
    m_id = ZcDbObjectId();
    ZcDbDatabase* database = m_database;
    if (database == nullptr && zcdbHostApplicationServices() != nullptr) {
        database = zcdbHostApplicationServices()->workingDatabase();
    }
    if (database == nullptr) {
        m_status = Zcad::eNoDatabase;
        return m_id;
    }
    ZcDbDictionary* named = nullptr;
    m_status = database->getNamedObjectsDictionary(named, ZcDb::kForRead);
    if (m_status != Zcad::eOk) {
        return m_id;
    }
    m_status = named->getAt(m_name, m_id);
    if (m_status == Zcad::eKeyNotFound) {
        m_status = named->upgradeOpen();
        if (m_status == Zcad::eOk) {
            auto* dictionary = new ZcDbDictionary;
            m_status = named->setAt(m_name, dictionary, m_id);
            if (m_status == Zcad::eOk) {
                dictionary->close();
            } else {
                delete dictionary;
                m_id = ZcDbObjectId();
            }
        }
    }
    named->close();
    return m_id;
}

} // namespace gantrel
