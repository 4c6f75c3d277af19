// The database: object stubs and handles, the default drawing, header variables and the
// insertion of a side database as a block definition.
#include <algorithm>

#include "database_impl.h"

namespace {

template <typename T> T* newNamed(const wchar_t* name) {
    auto* record = new T;
    record->setName(name);
    return record;
}

// Adds an object owned by nothing (tables, the root dictionary) and returns its id.
ZcDbObjectId addRoot(ZcDbDatabase& db, ZcDbObject* obj) {
    return ZcDbAccess::addObject(db, obj);
}

// Adds a record to a table and returns its id, closed.
ZcDbObjectId addRecord(ZcDbObjectId tableId, ZcDbSymbolTableRecord* record) {
    auto* table = ZcDbAccess::objectAs<ZcDbSymbolTable>(tableId);
    ZcDbObjectId id = ZcDbAccess::addObject(*tableId.database(), record);
    ZcDbAccess::setOwner(record, tableId);
    ZcDbAccess::appendToTable(table, id);
    return id;
}

ZcDbObjectId addEntry(ZcDbObjectId dictId, const wchar_t* key, ZcDbObject* obj) {
    auto* dict = ZcDbAccess::objectAs<ZcDbDictionary>(dictId);
    ZcDbObjectId id = ZcDbAccess::addObject(*dictId.database(), obj);
    ZcDbAccess::setOwner(obj, dictId);
    ZcDbAccess::appendToDictionary(dict, key, id);
    return id;
}

ZcDbObjectId addLayout(ZcDbObjectId layoutDict, const wchar_t* name, ZcDbObjectId block,
                       int tabOrder) {
    auto* layout = new ZcDbLayout;
    layout->setLayoutName(name);
    layout->setBlockTableRecordId(block);
    layout->setTabOrder(tabOrder);
    ZcDbObjectId id = addEntry(layoutDict, name, layout);
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, block, ZcDb::kForWrite) == Zcad::eOk) {
        record->setLayoutId(id);
        record->close();
    }
    return id;
}

} // namespace

ZcDbDatabase::ZcDbDatabase(bool buildDefaultDrawing, bool) : m_impl(std::make_unique<Impl>()) {
    if (!buildDefaultDrawing)
        return;
    Impl& d = *m_impl;
    d.blockTable = addRoot(*this, new ZcDbBlockTable);
    d.layerTable = addRoot(*this, new ZcDbLayerTable);
    d.regAppTable = addRoot(*this, new ZcDbRegAppTable);
    d.namedObjects = addRoot(*this, new ZcDbDictionary);

    addRecord(d.layerTable, newNamed<ZcDbLayerTableRecord>(L"0"));
    addRecord(d.regAppTable, newNamed<ZcDbRegAppTableRecord>(L"ACAD"));
    d.modelSpace = addRecord(d.blockTable, newNamed<ZcDbBlockTableRecord>(ZCDB_MODEL_SPACE));
    d.paperSpace = addRecord(d.blockTable, newNamed<ZcDbBlockTableRecord>(ZCDB_PAPER_SPACE));
    d.currentSpace = d.modelSpace;

    d.groupDictionary = addEntry(d.namedObjects, L"ACAD_GROUP", new ZcDbDictionary);
    d.layoutDictionary = addEntry(d.namedObjects, L"ACAD_LAYOUT", new ZcDbDictionary);
    addLayout(d.layoutDictionary, L"Model", d.modelSpace, 0);
    addLayout(d.layoutDictionary, L"Layout1", d.paperSpace, 1);

    d.header[L"ACADVER"] = std::wstring(L"AC1024");
    d.header[L"INSUNITS"] = std::int16_t{4};
    d.header[L"MEASUREMENT"] = std::int16_t{1};
    d.header[L"LUNITS"] = std::int16_t{2};
    d.header[L"LUPREC"] = std::int16_t{4};
    d.header[L"DIMASZ"] = 2.5;
    d.header[L"DIMSCALE"] = 1.0;
    d.header[L"TEXTSIZE"] = 2.5;
    d.header[L"INSBASE"] = ZcGePoint3d::kOrigin;
}

ZcDbDatabase::~ZcDbDatabase() = default;

const std::wstring& ZcDbDatabase::fileName() const {
    return m_impl->fileName;
}
const std::wstring& ZcDbDatabase::lastErrorMessage() const {
    return m_impl->lastError;
}

ZcDbObjectId ZcDbDatabase::blockTableId() const {
    return m_impl->blockTable;
}
ZcDbObjectId ZcDbDatabase::layerTableId() const {
    return m_impl->layerTable;
}
ZcDbObjectId ZcDbDatabase::regAppTableId() const {
    return m_impl->regAppTable;
}
ZcDbObjectId ZcDbDatabase::namedObjectsDictionaryId() const {
    return m_impl->namedObjects;
}
ZcDbObjectId ZcDbDatabase::groupDictionaryId() const {
    return m_impl->groupDictionary;
}
ZcDbObjectId ZcDbDatabase::layoutDictionaryId() const {
    return m_impl->layoutDictionary;
}
ZcDbObjectId ZcDbDatabase::currentSpaceId() const {
    return m_impl->currentSpace;
}
ZcDbObjectId ZcDbDatabase::modelSpaceId() const {
    return m_impl->modelSpace;
}
ZcDbObjectId ZcDbDatabase::paperSpaceId() const {
    return m_impl->paperSpace;
}

Zcad::ErrorStatus ZcDbDatabase::setCurrentSpaceId(ZcDbObjectId id) {
    if (id.database() != this || !id.objectClass() ||
        !id.objectClass()->isDerivedFrom(ZcDbBlockTableRecord::desc()))
        return Zcad::eWrongObjectType;
    m_impl->currentSpace = id;
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDatabase::getBlockTable(ZcDbBlockTable*& table, ZcDb::OpenMode mode) {
    return zcdbOpenObject(table, m_impl->blockTable, mode);
}

Zcad::ErrorStatus ZcDbDatabase::getLayerTable(ZcDbLayerTable*& table, ZcDb::OpenMode mode) {
    return zcdbOpenObject(table, m_impl->layerTable, mode);
}

Zcad::ErrorStatus ZcDbDatabase::getRegAppTable(ZcDbRegAppTable*& table, ZcDb::OpenMode mode) {
    return zcdbOpenObject(table, m_impl->regAppTable, mode);
}

Zcad::ErrorStatus ZcDbDatabase::getNamedObjectsDictionary(ZcDbDictionary*& dict,
                                                          ZcDb::OpenMode mode) {
    return zcdbOpenObject(dict, m_impl->namedObjects, mode);
}

Zcad::ErrorStatus ZcDbDatabase::getGroupDictionary(ZcDbDictionary*& dict, ZcDb::OpenMode mode) {
    return zcdbOpenObject(dict, m_impl->groupDictionary, mode);
}

Zcad::ErrorStatus ZcDbDatabase::addZcDbObject(ZcDbObjectId& id, ZcDbObject* object) {
    id = ZcDbObjectId::kNull;
    if (!object)
        return Zcad::eNullObjectPointer;
    if (!object->isNewObject())
        return Zcad::eAlreadyInDb;
    id = ZcDbAccess::addObject(*this, object);
    ZcDbObject* opened = nullptr;
    return zcdbOpenObject(opened, id, ZcDb::kForWrite);
}

Zcad::ErrorStatus ZcDbDatabase::getZcDbObjectId(ZcDbObjectId& id, bool, const ZcDbHandle& h) {
    id = ZcDbObjectId::kNull;
    if (h.isNull())
        return Zcad::eNullHandle;
    ZcDbStub* stub = m_impl->byHandle.find(h.value());
    if (!stub)
        return Zcad::eUnknownHandle;
    id = ZcDbObjectId::fromStub(stub);
    return Zcad::eOk;
}

const ZcDbHeaderValue* ZcDbDatabase::headerVar(const std::wstring& name) const {
    auto it = m_impl->header.find(name);
    return it == m_impl->header.end() ? nullptr : &it->second;
}

void ZcDbDatabase::setHeaderVar(const std::wstring& name, ZcDbHeaderValue value) {
    m_impl->header[name] = std::move(value);
}

const std::map<std::wstring, ZcDbHeaderValue>& ZcDbDatabase::headerVars() const {
    return m_impl->header;
}

namespace {

double realVar(const ZcDbDatabase& db, const wchar_t* name, double fallback) {
    const ZcDbHeaderValue* v = db.headerVar(name);
    if (!v)
        return fallback;
    if (const auto* d = std::get_if<double>(v))
        return *d;
    if (const auto* i = std::get_if<std::int16_t>(v))
        return *i;
    if (const auto* l = std::get_if<std::int32_t>(v))
        return *l;
    return fallback;
}

} // namespace

std::int16_t ZcDbDatabase::insunits() const {
    return static_cast<std::int16_t>(realVar(*this, L"INSUNITS", 0));
}

Zcad::ErrorStatus ZcDbDatabase::setInsunits(std::int16_t units) {
    if (units < 0 || units > 24)
        return Zcad::eInvalidInput;
    m_impl->header[L"INSUNITS"] = units;
    return Zcad::eOk;
}

double ZcDbDatabase::dimasz() const {
    return realVar(*this, L"DIMASZ", 2.5);
}
double ZcDbDatabase::dimscale() const {
    return realVar(*this, L"DIMSCALE", 1.0);
}

int ZcDbDatabase::openObjectCount() const {
    int count = 0;
    for (const ZcDbStub& s : m_impl->stubs)
        count += s.readers + (s.writer ? 1 : 0);
    return count;
}

std::vector<ZcDbObjectId> ZcDbDatabase::allObjectIds() const {
    std::vector<ZcDbObjectId> ids;
    ids.reserve(m_impl->stubs.size());
    for (ZcDbStub& s : m_impl->stubs)
        ids.push_back(ZcDbObjectId::fromStub(&s));
    return ids;
}

// --- host-internal access ------------------------------------------------------------------

ZcDbObjectId ZcDbAccess::addObject(ZcDbDatabase& db, ZcDbObject* obj, ZcDbHandle handle) {
    ZcDbDatabase::Impl& d = db.impl();
    if (handle.isNull()) {
        while (d.byHandle.contains(d.handseed))
            ++d.handseed;
        handle = ZcDbHandle(d.handseed++);
    }
    const auto [entry, fresh] = d.byHandle.insert(handle.value());
    if (!fresh)
        return ZcDbObjectId::kNull;
    ZcDbStub* added = nullptr;
    try {
        added = &d.stubs.emplace_back();
    } catch (...) {
        d.byHandle.erase(handle.value());
        throw;
    }
    ZcDbStub& stub = *added;
    *entry = &stub;
    stub.object.reset(obj);
    stub.database = &db;
    stub.handle = handle.value();
    reserveHandle(db, handle.value());
    obj->m_stub = &stub;
    obj->subAddedToDatabase(&db);
    return ZcDbObjectId::fromStub(&stub);
}

void ZcDbAccess::reserveHandle(ZcDbDatabase& db, std::uint64_t handle) {
    ZcDbDatabase::Impl& d = db.impl();
    d.handseed = std::max(d.handseed, handle + 1);
}

void ZcDbAccess::appendToBlock(ZcDbBlockTableRecord* block, ZcDbObjectId entity) {
    block->m_entities.push_back(entity);
}

void ZcDbAccess::appendToTable(ZcDbSymbolTable* table, ZcDbObjectId record) {
    table->m_records.push_back(record);
}

void ZcDbAccess::appendToDictionary(ZcDbDictionary* dict, const std::wstring& key,
                                    ZcDbObjectId id) {
    dict->m_entries.emplace_back(key, id);
}

void ZcDbAccess::attachVertex(ZcDb2dPolyline* polyline, ZcDbObjectId vertex) {
    polyline->m_vertices.attach(vertex);
}

void ZcDbAccess::attachAttribute(ZcDbBlockReference* reference, ZcDbObjectId attribute) {
    reference->m_attributes.attach(attribute);
}

ZcDbObject* ZcDbAccess::object(ZcDbObjectId id) {
    ZcDbStub* s = id.stub();
    return s ? s->object.get() : nullptr;
}
