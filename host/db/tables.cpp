// Symbol tables and their records: blocks, layers, registered applications; layouts.
#include <algorithm>
#include <cwctype>

#include "database_impl.h"

ZCRX_DEFINE_MEMBERS(ZcDbSymbolTableRecord, ZcDbObject, nullptr)
ZCRX_DEFINE_MEMBERS(ZcDbSymbolTable, ZcDbObject, nullptr)
ZCRX_DEFINE_MEMBERS(ZcDbBlockTable, ZcDbSymbolTable, L"TABLE")
ZCRX_DEFINE_MEMBERS(ZcDbLayerTable, ZcDbSymbolTable, L"TABLE")
ZCRX_DEFINE_MEMBERS(ZcDbRegAppTable, ZcDbSymbolTable, L"TABLE")
ZCRX_DEFINE_MEMBERS(ZcDbBlockTableRecord, ZcDbSymbolTableRecord, L"BLOCK_RECORD")
ZCRX_DEFINE_MEMBERS(ZcDbLayerTableRecord, ZcDbSymbolTableRecord, L"LAYER")
ZCRX_DEFINE_MEMBERS(ZcDbRegAppTableRecord, ZcDbSymbolTableRecord, L"APPID")
ZCRX_DEFINE_MEMBERS(ZcDbLayout, ZcDbObject, L"LAYOUT")

namespace {

bool equalNoCase(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towupper(a[i]) != std::towupper(b[i]))
            return false;
    return i == a.size() && b[i] == 0;
}

std::vector<ZcDbObjectId> liveIds(const std::vector<ZcDbObjectId>& ids) {
    std::vector<ZcDbObjectId> out;
    out.reserve(ids.size());
    for (const ZcDbObjectId& id : ids)
        if (!id.isErased())
            out.push_back(id);
    return out;
}

// Adds a new object to the database of container as an owned member: resident, owned by the
// container, open for write.
Zcad::ErrorStatus addOwned(ZcDbObject* container, ZcDbObject* member, ZcDbObjectId& id) {
    ZcDbDatabase* db = container->database();
    if (!db)
        return Zcad::eNotInDatabase;
    if (!member)
        return Zcad::eNullObjectPointer;
    if (!member->isNewObject())
        return Zcad::eAlreadyInDb;
    id = ZcDbAccess::addObject(*db, member);
    ZcDbAccess::setOwner(member, container->objectId());
    ZcDbObject* opened = nullptr;
    return zcdbOpenObject(opened, id, ZcDb::kForWrite);
}

} // namespace

Zcad::ErrorStatus ZcDbSymbolTableRecord::getName(const wchar_t*& name) const {
    name = m_name.c_str();
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTableRecord::setName(const wchar_t* name) {
    return setField(m_name, name, !(!name || !*name));
}

ZcDbSymbolTable::~ZcDbSymbolTable() = default;

bool ZcDbSymbolTable::has(const wchar_t* name) const {
    ZcDbObjectId id;
    return getIdAt(name, id) == Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTable::getIdAt(const wchar_t* name, ZcDbObjectId& id,
                                           bool getErased) const {
    id = ZcDbObjectId::kNull;
    if (!name)
        return Zcad::eInvalidInput;
    for (const ZcDbObjectId& rec : m_records) {
        if (rec.isErased() && !getErased)
            continue;
        const auto* r = ZcDbAccess::objectAs<ZcDbSymbolTableRecord>(rec);
        if (r && equalNoCase(r->name(), name)) {
            id = rec;
            return Zcad::eOk;
        }
    }
    return Zcad::eKeyNotFound;
}

Zcad::ErrorStatus ZcDbSymbolTable::add(ZcDbObjectId& id, ZcDbSymbolTableRecord* record) {
    id = ZcDbObjectId::kNull;
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!record)
        return Zcad::eNullObjectPointer;
    if (record->name().empty())
        return Zcad::eInvalidInput;
    if (has(record->name().c_str()))
        return Zcad::eDuplicateKey;
    if (auto es = addOwned(this, record, id); es != Zcad::eOk)
        return es;
    m_records.push_back(id);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbSymbolTable::add(ZcDbSymbolTableRecord* record) {
    ZcDbObjectId id;
    return add(id, record);
}

Zcad::ErrorStatus ZcDbSymbolTable::newIterator(ZcDbSymbolTableIterator*& it) const {
    it = new ZcDbObjectIterator(recordIds());
    return Zcad::eOk;
}

std::vector<ZcDbObjectId> ZcDbSymbolTable::recordIds() const {
    return liveIds(m_records);
}

// --- block table records -------------------------------------------------------------------

ZcDbBlockTableRecord::ZcDbBlockTableRecord(const ZcDbBlockTableRecord& other)
    : ZcDbSymbolTableRecord(other), m_origin(other.m_origin), m_comments(other.m_comments) {}

Zcad::ErrorStatus ZcDbBlockTableRecord::setOrigin(const ZcGePoint3d& origin) {
    return setField(m_origin, origin);
}

Zcad::ErrorStatus ZcDbBlockTableRecord::appendZcDbEntity(ZcDbObjectId& id, ZcDbEntity* entity) {
    id = ZcDbObjectId::kNull;
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!entity)
        return Zcad::eNullEntityPointer;
    if (auto es = addOwned(this, entity, id); es != Zcad::eOk)
        return es;
    m_entities.push_back(id);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbBlockTableRecord::appendZcDbEntity(ZcDbEntity* entity) {
    ZcDbObjectId id;
    return appendZcDbEntity(id, entity);
}

Zcad::ErrorStatus ZcDbBlockTableRecord::newIterator(ZcDbBlockTableRecordIterator*& it) const {
    it = new ZcDbObjectIterator(entityIds());
    return Zcad::eOk;
}

std::vector<ZcDbObjectId> ZcDbBlockTableRecord::entityIds() const {
    return liveIds(m_entities);
}

Zcad::ErrorStatus ZcDbBlockTableRecord::setLayoutId(ZcDbObjectId id) {
    return setField(m_layoutId, id);
}

bool ZcDbBlockTableRecord::isAnonymous() const {
    return !name().empty() && name()[0] == L'*';
}

bool ZcDbBlockTableRecord::hasAttributeDefinitions() const {
    for (const ZcDbObjectId& id : m_entities)
        if (!id.isErased() && id.objectClass() &&
            id.objectClass()->isDerivedFrom(ZcDbAttributeDefinition::desc()))
            return true;
    return false;
}

Zcad::ErrorStatus ZcDbBlockTableRecord::getBlockReferenceIds(ZcDbObjectIdArray& ids) const {
    ids.removeAll();
    ZcDbDatabase* db = database();
    if (!db)
        return Zcad::eNotInDatabase;
    const ZcDbObjectId self = objectId();
    for (const ZcDbObjectId& id : db->allObjectIds()) {
        if (id.isErased())
            continue;
        const auto* ref = ZcDbAccess::objectAs<ZcDbBlockReference>(id);
        if (ref && ref->blockTableRecord() == self)
            ids.append(id);
    }
    return Zcad::eOk;
}

// --- layers, applications, layouts ---------------------------------------------------------

Zcad::ErrorStatus ZcDbLayerTableRecord::setColorIndex(std::int16_t color) {
    return setField(m_color, color, !(color < 1 || color > 255));
}

Zcad::ErrorStatus ZcDbLayerTableRecord::setLinetypeName(std::wstring name) {
    return setField(m_linetype, std::move(name));
}

#define ZCDB_FLAG_SETTER(CLASS, SETTER, MEMBER)                                                    \
    Zcad::ErrorStatus CLASS::SETTER(bool v) {                                                      \
        if (auto es = assertWriteEnabled(); es != Zcad::eOk)                                       \
            return es;                                                                             \
        MEMBER = v;                                                                                \
        return Zcad::eOk;                                                                          \
    }
ZCDB_FLAG_SETTER(ZcDbLayerTableRecord, setIsOff, m_off)
ZCDB_FLAG_SETTER(ZcDbLayerTableRecord, setIsFrozen, m_frozen)
ZCDB_FLAG_SETTER(ZcDbLayerTableRecord, setIsLocked, m_locked)
ZCDB_FLAG_SETTER(ZcDbLayerTableRecord, setIsHidden, m_hidden)
#undef ZCDB_FLAG_SETTER

Zcad::ErrorStatus zcdbRegApp(ZcDbDatabase* db, const wchar_t* appName) {
    if (!db)
        return Zcad::eNoDatabase;
    if (!appName || !*appName)
        return Zcad::eInvalidInput;
    ZcDbRegAppTable* table = nullptr;
    if (auto es = db->getRegAppTable(table, ZcDb::kForWrite); es != Zcad::eOk)
        return es;
    Zcad::ErrorStatus es = Zcad::eOk;
    if (!table->has(appName)) {
        auto* record = new ZcDbRegAppTableRecord;
        record->setName(appName);
        es = table->add(record);
        if (es == Zcad::eOk)
            record->close();
        else
            delete record;
    }
    table->close();
    return es;
}

Zcad::ErrorStatus ZcDbLayout::setLayoutName(const wchar_t* name) {
    return setField(m_name, name, !(!name || !*name));
}

Zcad::ErrorStatus ZcDbLayout::setBlockTableRecordId(ZcDbObjectId id) {
    return setField(m_block, id);
}

Zcad::ErrorStatus ZcDbLayout::setTabOrder(int order) {
    return setField(m_tabOrder, order);
}

Zcad::ErrorStatus ZcDbObjectIterator::getEntity(ZcDbEntity*& ent, ZcDb::OpenMode mode) const {
    return zcdbOpenObject(ent, objectId(), mode);
}
