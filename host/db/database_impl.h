// Host-internal view of the database: object stubs, handle map, well-known ids and header.
// Only the host stand-in includes this; the module sees the database through zcdb.h.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <unordered_map>

#include "handle_table.h"
#include "zcdball.h"

// The database's record of one object: the object itself, its handle and its open state.
// Stubs live as long as their database, so ids stay valid after erase.
struct ZcDbStub {
    std::unique_ptr<ZcDbObject> object;
    ZcDbDatabase* database = nullptr;
    std::uint64_t handle = 0;
    bool erased = false;
    int readers = 0;
    bool writer = false;
};

struct ZcDbDatabase::Impl {
    std::deque<ZcDbStub> stubs;
    gantrel::db::HandleTable byHandle;
    std::uint64_t handseed = 1;

    ZcDbObjectId blockTable, layerTable, regAppTable;
    ZcDbObjectId namedObjects, groupDictionary, layoutDictionary;
    ZcDbObjectId modelSpace, paperSpace, currentSpace;

    std::map<std::wstring, ZcDbHeaderValue> header;
    std::wstring fileName;
    std::wstring lastError;
    // Sections and tables of a drawing file that the database does not model, kept as
    // (group code, value text) pairs by name so that they are written back unchanged.
    std::map<std::string, std::vector<std::pair<int, std::string>>> preserved;
    // What a drawing file held for one object beyond what the object models, by the object's
    // handle: groups written back with it (by subclass); for a block table record the handles
    // of its BLOCK and ENDBLK entities, for a polyline or reference its SEQEND's; the owner when
    // it is a record kept as file data (a table's extension dictionary).
    struct FileExtras {
        std::vector<std::pair<int, std::string>> groups;
        std::uint64_t beginHandle = 0;
        std::uint64_t endHandle = 0;
        std::uint64_t keptOwner = 0;
    };
    std::unordered_map<std::uint64_t, FileExtras> fileExtras;
    // The repairs made while reading the drawing file, one message each.
    std::vector<std::wstring> readRepairs;
};

// Host-internal operations on objects and containers that bypass the open discipline: used by
// the DXF reader and writer, the renderer and the database itself.
struct ZcDbAccess {
    // Makes obj resident with the given handle (a new one when null) and closed. Returns the
    // null id when the handle is taken.
    static ZcDbObjectId addObject(ZcDbDatabase& db, ZcDbObject* obj, ZcDbHandle handle = {});
    static void setOwner(ZcDbObject* obj, ZcDbObjectId owner) { obj->m_ownerId = owner; }
    // Adds resident ids to containers without opening them.
    static void appendToBlock(ZcDbBlockTableRecord* block, ZcDbObjectId entity);
    static void appendToTable(ZcDbSymbolTable* table, ZcDbObjectId record);
    static void appendToDictionary(ZcDbDictionary* dict, const std::wstring& key, ZcDbObjectId id);
    static void attachVertex(ZcDb2dPolyline* polyline, ZcDbObjectId vertex);
    static void attachAttribute(ZcDbBlockReference* reference, ZcDbObjectId attribute);
    // The object of an id without opening it (null for the null id).
    static ZcDbObject* object(ZcDbObjectId id);
    template <typename T> static T* objectAs(ZcDbObjectId id) { return T::cast(object(id)); }
    static ZcDbStub* stub(const ZcDbObject* obj) { return obj->m_stub; }
    static ZcDbDatabase::Impl& impl(ZcDbDatabase& db) { return db.impl(); }
    // Makes sure a handle is never handed out again (for handles read from a file).
    static void reserveHandle(ZcDbDatabase& db, std::uint64_t handle);
};
