// Completing a read drawing: references by handle and name resolved, owners set, and what the
// database needs but the file lacks made (tables, model and paper space, the named-objects
// dictionary, layouts, layers and application names in use). Each such repair is reported,
// except where the file's version has no such thing.
#include <fmt/format.h>

#include <set>

#include "database_impl.h"
#include "reader.h"
#include "winhost.h"

namespace gantrel::dxf {

namespace {

template <class F> Zcad::ErrorStatus withWrite(ZcDbObjectId id, F f) {
    ZcDbObject* obj = nullptr;
    if (auto es = zcdbOpenObject(obj, id, ZcDb::kForWrite, true); es != Zcad::eOk)
        return es;
    const Zcad::ErrorStatus es = f(*obj);
    obj->close();
    return es;
}

template <class T>
ZcDbObjectId addRecord(ZcDbDatabase& db, ZcDbObjectId tableId, const wchar_t* name) {
    auto* record = new T;
    record->setName(name);
    const ZcDbObjectId id = ZcDbAccess::addObject(db, record);
    ZcDbAccess::setOwner(record, tableId);
    ZcDbAccess::appendToTable(ZcDbAccess::objectAs<ZcDbSymbolTable>(tableId), id);
    return id;
}

ZcDbObjectId addEntry(ZcDbDatabase& db, ZcDbObjectId dictId, const wchar_t* key, ZcDbObject* obj) {
    const ZcDbObjectId id = ZcDbAccess::addObject(db, obj);
    ZcDbAccess::setOwner(obj, dictId);
    ZcDbAccess::appendToDictionary(ZcDbAccess::objectAs<ZcDbDictionary>(dictId), key, id);
    return id;
}

} // namespace

void FileReader::ensureTables() {
    // Files of AC1015 and later have tables; one without any is reported once.
    const bool modern = m_ctx.version >= "AC1015" && m_sawTables;
    if (m_ctx.version >= "AC1015" && !m_sawTables)
        m_ctx.repairOnce("tables", 0, "the drawing has no TABLES section; its tables are made");
    auto ensureTable = [&](ZcDbObjectId& id, ZcDbSymbolTable* table, const char* name) {
        if (!id.isNull()) {
            delete table;
            return;
        }
        if (modern)
            m_ctx.repairOnce(std::string("table:") + name, 0,
                             fmt::format("the drawing has no {} table; one is made", name));
        id = ZcDbAccess::addObject(m_db, table);
    };
    ensureTable(m_blockTable, new ZcDbBlockTable, "BLOCK_RECORD");
    ensureTable(m_layerTable, new ZcDbLayerTable, "LAYER");
    ensureTable(m_regAppTable, new ZcDbRegAppTable, "APPID");
    ZcDbDatabase::Impl& d = ZcDbAccess::impl(m_db);
    d.blockTable = m_blockTable;
    d.layerTable = m_layerTable;
    d.regAppTable = m_regAppTable;

    auto* blocks = ZcDbAccess::objectAs<ZcDbBlockTable>(m_blockTable);
    auto ensureSpace = [&](ZcDbObjectId& id, const wchar_t* name) {
        if (blocks->getIdAt(name, id) == Zcad::eOk)
            return;
        if (modern && m_hasBlockRecords)
            m_ctx.repairOnce(
                ::win::Narrow(name), 0,
                fmt::format("the drawing has no block {}; one is made", ::win::Narrow(name)));
        id = addRecord<ZcDbBlockTableRecord>(m_db, m_blockTable, name);
    };
    ensureSpace(d.modelSpace, ZCDB_MODEL_SPACE);
    ensureSpace(d.paperSpace, ZCDB_PAPER_SPACE);
    d.currentSpace = d.modelSpace;
    if (!ZcDbAccess::objectAs<ZcDbLayerTable>(m_layerTable)->has(L"0"))
        addRecord<ZcDbLayerTableRecord>(m_db, m_layerTable, L"0");
    if (!ZcDbAccess::objectAs<ZcDbRegAppTable>(m_regAppTable)->has(L"ACAD"))
        addRecord<ZcDbRegAppTableRecord>(m_db, m_regAppTable, L"ACAD");
}

void FileReader::finish() {
    resolveReferences();
    resolveDictionaries();
    resolveOwners();
    completeStructure();
    repairEntities();
    ZcDbDatabase::Impl& d = ZcDbAccess::impl(m_db);
    if (m_ctx.decoder().invalidBytes() > 0)
        m_ctx.repair(0, fmt::format("text with bytes not valid in the drawing's encoding was read "
                                    "as ANSI_1252 ({} bytes)",
                                    m_ctx.decoder().invalidBytes()));
    d.readRepairs = m_ctx.repairs();
}

void FileReader::resolveReferences() {
    auto* blocks = ZcDbAccess::objectAs<ZcDbBlockTable>(m_blockTable);
    for (const auto& ref : m_ctx.references()) {
        ZcDbObjectId target;
        if (ref.name.empty() && ref.handle == 0)
            continue;
        if (!ref.name.empty()) {
            if (blocks->getIdAt(ref.name.c_str(), target) != Zcad::eOk) {
                // A reference to a block the drawing does not define keeps an empty one.
                m_ctx.repair(ref.line,
                             fmt::format("block \"{}\" is not defined; an empty one is made",
                                         ::win::Narrow(ref.name)));
                target = addRecord<ZcDbBlockTableRecord>(m_db, m_blockTable, ref.name.c_str());
            }
        } else if (m_db.getZcDbObjectId(target, false, ZcDbHandle(ref.handle)) != Zcad::eOk) {
            m_ctx.repair(ref.line, fmt::format("handle {:X} refers to no object", ref.handle));
            continue;
        }
        withWrite(ref.object->objectId(), [&](ZcDbObject& o) { return ref.apply(o, target); });
    }
    m_ctx.references().clear();
}

void FileReader::resolveDictionaries() {
    for (const auto& e : m_ctx.dictionaryEntries) {
        ZcDbObjectId target;
        if (m_db.getZcDbObjectId(target, false, ZcDbHandle(e.handle)) != Zcad::eOk) {
            m_ctx.repair(e.line, fmt::format("dictionary entry \"{}\" refers to no object; dropped",
                                             ::win::Narrow(e.key)));
            continue;
        }
        if (e.dictionary->has(e.key.c_str())) {
            m_ctx.repair(e.line, fmt::format("dictionary entry \"{}\" appears twice; the second "
                                             "is dropped",
                                             ::win::Narrow(e.key)));
            continue;
        }
        ZcDbAccess::appendToDictionary(e.dictionary, e.key, target);
    }
    m_ctx.dictionaryEntries.clear();
}

void FileReader::resolveOwners() {
    for (const auto& [obj, handle] : m_owners) {
        if (handle == 0)
            continue;
        ZcDbObjectId owner;
        if (m_db.getZcDbObjectId(owner, false, ZcDbHandle(handle)) != Zcad::eOk) {
            if (m_keptHandles.count(handle)) {
                ZcDbAccess::impl(m_db).fileExtras[obj->handle().value()].keptOwner = handle;
                continue;
            }
            m_ctx.repair(0, fmt::format("{:X}: the owner {:X} does not exist",
                                        obj->handle().value(), handle));
            continue;
        }
        ZcDbAccess::setOwner(obj, owner);
    }
    m_owners.clear();
}

void FileReader::completeStructure() {
    const bool modern = m_ctx.version >= "AC1015" && m_sawObjects;
    if (m_ctx.version >= "AC1015" && !m_sawObjects)
        m_ctx.repair(0,
                     "the drawing has no OBJECTS section; its dictionaries and layouts are made");
    ZcDbDatabase::Impl& d = ZcDbAccess::impl(m_db);
    if (m_rootDictionary.isNull()) {
        if (modern)
            m_ctx.repair(0, "the drawing has no named-objects dictionary; one is made");
        m_rootDictionary = ZcDbAccess::addObject(m_db, new ZcDbDictionary);
    }
    d.namedObjects = m_rootDictionary;
    auto* root = ZcDbAccess::objectAs<ZcDbDictionary>(m_rootDictionary);
    auto ensureDictionary = [&](const wchar_t* key) {
        ZcDbObjectId id;
        if (root->getAt(key, id) == Zcad::eOk && ZcDbAccess::objectAs<ZcDbDictionary>(id))
            return id;
        if (modern)
            m_ctx.repair(0, fmt::format("the drawing has no {} dictionary; one is made",
                                        ::win::Narrow(key)));
        if (root->has(key))
            root->remove(key);
        return addEntry(m_db, m_rootDictionary, key, new ZcDbDictionary);
    };
    d.groupDictionary = ensureDictionary(L"ACAD_GROUP");
    d.layoutDictionary = ensureDictionary(L"ACAD_LAYOUT");

    // Layouts and their block records point at each other; older files have one side or none.
    auto* layouts = ZcDbAccess::objectAs<ZcDbDictionary>(d.layoutDictionary);
    for (const auto& entry : layouts->entries()) {
        const ZcDbObjectId id = entry.second;
        auto* layout = ZcDbAccess::objectAs<ZcDbLayout>(id);
        if (!layout)
            continue;
        auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(layout->getBlockTableRecordId());
        if (block && block->getLayoutId().isNull())
            withWrite(block->objectId(), [&](ZcDbObject&) { return block->setLayoutId(id); });
    }
    int tab = 0;
    for (const auto& spaceAndName :
         {std::pair{d.modelSpace, L"Model"}, std::pair{d.paperSpace, L"Layout1"}}) {
        const ZcDbObjectId space = spaceAndName.first;
        const wchar_t* const name = spaceAndName.second;
        auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(space);
        if (!ZcDbAccess::objectAs<ZcDbLayout>(block->getLayoutId())) {
            if (modern)
                m_ctx.repair(0, fmt::format("block {} has no layout; layout \"{}\" is made",
                                            ::win::Narrow(block->name()), ::win::Narrow(name)));
            std::wstring key = name;
            for (int n = 2; layouts->has(key.c_str()); ++n)
                key = std::wstring(name) + std::to_wstring(n);
            auto* layout = new ZcDbLayout;
            layout->setLayoutName(key.c_str());
            layout->setTabOrder(tab);
            layout->setBlockTableRecordId(space);
            const ZcDbObjectId layoutId = addEntry(m_db, d.layoutDictionary, key.c_str(), layout);
            withWrite(space, [&](ZcDbObject&) { return block->setLayoutId(layoutId); });
        }
        ++tab;
    }
}

void FileReader::repairEntities() {
    auto* apps = ZcDbAccess::objectAs<ZcDbRegAppTable>(m_regAppTable);
    std::set<std::wstring> madeLayers, madeApps;
    // Records are added to the tables below while the stubs are walked: by index, the deque
    // keeps its elements where they are.
    auto& stubs = ZcDbAccess::impl(m_db).stubs;
    for (std::size_t i = 0; i < stubs.size(); ++i) {
        if ((i < m_namesKnown.size() && m_namesKnown[i]) || stubs[i].erased || !stubs[i].object)
            continue;
        const ZcDbObject* obj = stubs[i].object.get();
        const auto* ent = ZcDbEntity::cast(obj);
        if (ent && !isKnownLayer(ent->layer())) {
            if (madeLayers.insert(ent->layer()).second)
                m_ctx.repair(0, fmt::format("layer \"{}\" is used but not defined; it is made",
                                            ::win::Narrow(ent->layer())));
            addRecord<ZcDbLayerTableRecord>(m_db, m_layerTable, ent->layer().c_str());
        }
        for (const ZcDbXDataApp& app : obj->xDataApps()) {
            if (apps->has(app.appName.c_str()) || app.appName.empty())
                continue;
            if (madeApps.insert(app.appName).second)
                m_ctx.repair(0, fmt::format("application \"{}\" of extended data is not "
                                            "registered; it is registered",
                                            ::win::Narrow(app.appName)));
            addRecord<ZcDbRegAppTableRecord>(m_db, m_regAppTable, app.appName.c_str());
        }
    }
}

} // namespace gantrel::dxf
