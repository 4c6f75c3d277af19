// The drawing database of the host interface: object ids, handles, objects opened for read or
// write, the database itself, symbol tables and dictionaries.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "zcadstatus.h"
#include "zcadstrc.h"
#include "zcarray.h"
#include "zcge.h"
#include "zcrx.h"

namespace ZcDb {
enum OpenMode { kForRead = 0, kForWrite = 1, kForNotify = 2 };
}

class ZcDbDatabase;
class ZcDbObject;
struct ZcDbStub;

// A handle: the object's number within its drawing, shown as hexadecimal text.
class ZcDbHandle {
public:
    constexpr ZcDbHandle() = default;
    constexpr explicit ZcDbHandle(std::uint64_t value) : m_value(value) {}
    // Parses hexadecimal text; anything else gives the null handle.
    explicit ZcDbHandle(const wchar_t* hex);
    bool isNull() const { return m_value == 0; }
    std::uint64_t value() const { return m_value; }
    // Upper-case hexadecimal without leading zeros, written into a buffer of at least 17 chars.
    void getIntoAsciiBuffer(wchar_t* buffer, std::size_t size = 17) const;
    std::wstring text() const;
    bool operator==(const ZcDbHandle&) const = default;
    auto operator<=>(const ZcDbHandle&) const = default;

private:
    std::uint64_t m_value = 0;
};

// Identifies one object of a database for the database's lifetime, erased or not.
class ZcDbObjectId {
public:
    static const ZcDbObjectId kNull;
    constexpr ZcDbObjectId() = default;

    bool isNull() const { return m_stub == nullptr; }
    bool isValid() const { return m_stub != nullptr; }
    bool isErased() const;
    ZcDbHandle handle() const;
    ZcDbDatabase* database() const;
    // Class of the object, without opening it; null for the null id.
    ZcRxClass* objectClass() const;

    bool operator==(const ZcDbObjectId& o) const { return m_stub == o.m_stub; }
    bool operator<(const ZcDbObjectId& o) const { return m_stub < o.m_stub; }
    ZcDbStub* stub() const { return m_stub; }
    static ZcDbObjectId fromStub(ZcDbStub* stub) {
        ZcDbObjectId id;
        id.m_stub = stub;
        return id;
    }

private:
    ZcDbStub* m_stub = nullptr;
};

// One item of extended data: a DXF group code (1000 to 1071) and its value.
struct ZcDbXDataItem {
    short code = 0;
    std::variant<std::wstring, double, ZcGePoint3d, std::int16_t, std::int32_t,
                 std::vector<unsigned char>>
        value;
    bool operator==(const ZcDbXDataItem&) const = default;
};

// The extended data of one registered application, in stored order (without the 1001 item).
struct ZcDbXDataApp {
    std::wstring appName;
    std::vector<ZcDbXDataItem> items;
    bool operator==(const ZcDbXDataApp&) const = default;
};

class ZcDbObject : public ZcRxObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbObject)
    ZcDbObject() = default;
    ZcDbObject(const ZcDbObject& other);
    ZcDbObject& operator=(const ZcDbObject&) = delete;
    ~ZcDbObject() override;

    ZcDbObjectId objectId() const;
    ZcDbObjectId ownerId() const { return m_ownerId; }
    Zcad::ErrorStatus setOwnerId(ZcDbObjectId owner);
    ZcDbHandle handle() const;
    void getZcDbHandle(ZcDbHandle& h) const { h = handle(); }
    ZcDbDatabase* database() const;
    // The handle of the object at the root of the clone chain this object was made by
    // (a clone of a clone keeps the first original's handle); null for an object not made by
    // cloning, or cloned from an object that had no handle. Kept in memory only.
    ZcDbHandle originHandle() const { return m_origin; }

    // Ends one opening of a database-resident object. A new object that is not in a database
    // is deleted by its creator instead; close on it answers eNotInDatabase.
    Zcad::ErrorStatus close();
    Zcad::ErrorStatus upgradeOpen();
    Zcad::ErrorStatus downgradeOpen();
    bool isReadEnabled() const;
    bool isWriteEnabled() const;
    bool isNewObject() const { return m_stub == nullptr; }
    bool isErased() const;
    Zcad::ErrorStatus erase(bool erasing = true);

    // Extended data as a result-buffer chain (1001 application item first, then its items),
    // for one application or, with a null name, for all. The caller releases it with zcutRelRb.
    resbuf* xData(const wchar_t* appName = nullptr) const;
    // Replaces the extended data of every application named in the chain; an application
    // named with no items after it loses its data. Every name must be registered in the
    // database of a resident object (eKeyNotFound otherwise).
    Zcad::ErrorStatus setXData(const resbuf* xdata);
    const std::vector<ZcDbXDataApp>& xDataApps() const { return m_xdata; }
    void setXDataApps(std::vector<ZcDbXDataApp> apps) { m_xdata = std::move(apps); }

    ZcRxObject* clone() const override { return nullptr; }

protected:
    // eOk when the object may be changed: a new object, or a resident one open for write.
    Zcad::ErrorStatus assertWriteEnabled() const;
    // The body of a plain setter: refuses a read-only object and an invalid value, else stores.
    template <typename Field, typename Value>
    Zcad::ErrorStatus setField(Field& field, Value&& value, bool valid = true) {
        if (auto es = assertWriteEnabled(); es != Zcad::eOk)
            return es;
        if (!valid)
            return Zcad::eInvalidInput;
        field = std::forward<Value>(value);
        return Zcad::eOk;
    }
    // Called once the object has a database (append or add), so that owned sub-objects
    // (vertices, attributes) join it too.
    virtual void subAddedToDatabase(ZcDbDatabase*) {}
    // Called by erase so that owned sub-objects are erased and unerased with their owner.
    virtual void subErase(bool) {}

private:
    friend struct ZcDbAccess;
    ZcDbStub* m_stub = nullptr;
    ZcDbObjectId m_ownerId;
    std::vector<ZcDbXDataApp> m_xdata;
    ZcDbHandle m_origin;
};

// Opens the object of an id. Statuses: eNullObjectId for the null id, eWasErased for an erased
// object (unless openErased), eWasOpenedForWrite / eWasOpenedForRead on a conflicting open.
Zcad::ErrorStatus zcdbOpenObject(ZcDbObject*& obj, ZcDbObjectId id, ZcDb::OpenMode mode,
                                 bool openErased = false);

// Opens an object as class T; eNotThatKindOfClass (and nothing left open) for another class.
template <typename T>
Zcad::ErrorStatus zcdbOpenObject(T*& obj, ZcDbObjectId id, ZcDb::OpenMode mode,
                                 bool openErased = false) {
    obj = nullptr;
    ZcDbObject* o = nullptr;
    Zcad::ErrorStatus es = zcdbOpenObject(o, id, mode, openErased);
    if (es != Zcad::eOk)
        return es;
    obj = T::cast(o);
    if (!obj) {
        o->close();
        return Zcad::eNotThatKindOfClass;
    }
    return Zcad::eOk;
}

class ZcDbEntity;
class ZcDbBlockTable;
class ZcDbLayerTable;
class ZcDbRegAppTable;
class ZcDbDictionary;

// A value of a header variable as the drawing stores it.
using ZcDbHeaderValue = std::variant<std::int16_t, std::int32_t, double, ZcGePoint3d, std::wstring>;

class ZcDbDatabase {
public:
    // With buildDefaultDrawing, the database holds the tables, model and paper space, the
    // layer "0", the named-objects dictionary with its group and layout dictionaries.
    explicit ZcDbDatabase(bool buildDefaultDrawing = true, bool noDocument = false);
    ZcDbDatabase(const ZcDbDatabase&) = delete;
    ZcDbDatabase& operator=(const ZcDbDatabase&) = delete;
    ~ZcDbDatabase();

    // Reads a drawing file (DXF text, also under a ".dwg" name) into this empty database.
    Zcad::ErrorStatus readDwgFile(const wchar_t* fileName);
    // Writes the drawing as DXF; a temporary file in the same folder is renamed into place.
    Zcad::ErrorStatus saveAs(const wchar_t* fileName);
    const std::wstring& fileName() const;
    // The reason of the last failed read or save, naming the file and line where one applies.
    const std::wstring& lastErrorMessage() const;

    ZcDbObjectId blockTableId() const;
    ZcDbObjectId layerTableId() const;
    ZcDbObjectId regAppTableId() const;
    ZcDbObjectId namedObjectsDictionaryId() const;
    ZcDbObjectId groupDictionaryId() const;
    ZcDbObjectId layoutDictionaryId() const;
    ZcDbObjectId currentSpaceId() const;
    Zcad::ErrorStatus setCurrentSpaceId(ZcDbObjectId blockTableRecordId);
    ZcDbObjectId modelSpaceId() const;
    ZcDbObjectId paperSpaceId() const;

    Zcad::ErrorStatus getBlockTable(ZcDbBlockTable*& table, ZcDb::OpenMode mode);
    Zcad::ErrorStatus getLayerTable(ZcDbLayerTable*& table, ZcDb::OpenMode mode);
    Zcad::ErrorStatus getRegAppTable(ZcDbRegAppTable*& table, ZcDb::OpenMode mode);
    Zcad::ErrorStatus getNamedObjectsDictionary(ZcDbDictionary*& dict, ZcDb::OpenMode mode);
    // The dictionary of the drawing's groups ("ACAD_GROUP" in the named-objects dictionary).
    Zcad::ErrorStatus getGroupDictionary(ZcDbDictionary*& dict, ZcDb::OpenMode mode);

    // Adds an object that no container owns yet; the database gives it an id and a handle.
    Zcad::ErrorStatus addZcDbObject(ZcDbObjectId& id, ZcDbObject* object);
    Zcad::ErrorStatus getZcDbObjectId(ZcDbObjectId& id, bool createIfNotFound,
                                      const ZcDbHandle& handle);

    // Copies the model space of source into a new block definition of this database named
    // blockName, with its layers, blocks and registered applications. source is unchanged.
    Zcad::ErrorStatus insert(ZcDbObjectId& blockId, const wchar_t* blockName, ZcDbDatabase* source,
                             bool preserveSourceDatabase = true);

    // Header variables, by upper-case name without "$".
    const ZcDbHeaderValue* headerVar(const std::wstring& name) const;
    void setHeaderVar(const std::wstring& name, ZcDbHeaderValue value);
    const std::map<std::wstring, ZcDbHeaderValue>& headerVars() const;
    std::int16_t insunits() const;
    Zcad::ErrorStatus setInsunits(std::int16_t units);
    double dimasz() const;
    double dimscale() const;

    // Objects currently open, for checking that callers close everything they open.
    int openObjectCount() const;
    // Every object, in the order it was added (erased ones included).
    std::vector<ZcDbObjectId> allObjectIds() const;

    struct Impl;
    Impl& impl() { return *m_impl; }
    const Impl& impl() const { return *m_impl; }

private:
    std::unique_ptr<Impl> m_impl;
};

// The iteration of a container's members in order, skipping erased ones.
class ZcDbObjectIterator {
public:
    explicit ZcDbObjectIterator(std::vector<ZcDbObjectId> ids) : m_ids(std::move(ids)) {}
    void start() { m_pos = 0; }
    bool done() const { return m_pos >= m_ids.size(); }
    void step() { ++m_pos; }
    ZcDbObjectId objectId() const { return done() ? ZcDbObjectId::kNull : m_ids[m_pos]; }
    Zcad::ErrorStatus getEntity(ZcDbEntity*& ent, ZcDb::OpenMode mode) const;

private:
    std::vector<ZcDbObjectId> m_ids;
    std::size_t m_pos = 0;
};
using ZcDbBlockTableRecordIterator = ZcDbObjectIterator;
using ZcDbSymbolTableIterator = ZcDbObjectIterator;
using ZcDbDictionaryIterator = ZcDbObjectIterator;

class ZcDbSymbolTableRecord : public ZcDbObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbSymbolTableRecord)
    Zcad::ErrorStatus getName(const wchar_t*& name) const;
    const std::wstring& name() const { return m_name; }
    Zcad::ErrorStatus setName(const wchar_t* name);

private:
    std::wstring m_name;
};

// A table of named records; names compare without regard to case.
class ZcDbSymbolTable : public ZcDbObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbSymbolTable)
    ~ZcDbSymbolTable() override;
    bool has(const wchar_t* name) const;
    Zcad::ErrorStatus getIdAt(const wchar_t* name, ZcDbObjectId& id, bool getErased = false) const;
    // Appends a new record, taking ownership; it is open for write afterwards.
    Zcad::ErrorStatus add(ZcDbObjectId& id, ZcDbSymbolTableRecord* record);
    Zcad::ErrorStatus add(ZcDbSymbolTableRecord* record);
    Zcad::ErrorStatus newIterator(ZcDbSymbolTableIterator*& it) const;
    // Record ids in table order, erased ones skipped.
    std::vector<ZcDbObjectId> recordIds() const;

private:
    friend struct ZcDbAccess;
    std::vector<ZcDbObjectId> m_records;
};

class ZcDbBlockTable : public ZcDbSymbolTable {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbBlockTable)
};
class ZcDbLayerTable : public ZcDbSymbolTable {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbLayerTable)
};
class ZcDbRegAppTable : public ZcDbSymbolTable {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbRegAppTable)
};

inline constexpr const wchar_t* ZCDB_MODEL_SPACE = L"*Model_Space";
inline constexpr const wchar_t* ZCDB_PAPER_SPACE = L"*Paper_Space";

class ZcDbBlockTableRecord : public ZcDbSymbolTableRecord {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbBlockTableRecord)
    ZcDbBlockTableRecord() = default;
    ZcDbBlockTableRecord(const ZcDbBlockTableRecord& other);
    ZcGePoint3d origin() const { return m_origin; }
    Zcad::ErrorStatus setOrigin(const ZcGePoint3d& origin);
    // Appends an entity, taking ownership; it is resident and open for write afterwards.
    Zcad::ErrorStatus appendZcDbEntity(ZcDbObjectId& id, ZcDbEntity* entity);
    Zcad::ErrorStatus appendZcDbEntity(ZcDbEntity* entity);
    Zcad::ErrorStatus newIterator(ZcDbBlockTableRecordIterator*& it) const;
    // Entity ids in the record's order, erased ones skipped.
    std::vector<ZcDbObjectId> entityIds() const;
    bool isLayout() const { return !m_layoutId.isNull() || m_isLayoutFlag; }
    ZcDbObjectId getLayoutId() const { return m_layoutId; }
    Zcad::ErrorStatus setLayoutId(ZcDbObjectId id);
    bool isAnonymous() const;
    bool hasAttributeDefinitions() const;
    // References to this block, in the order they were made.
    Zcad::ErrorStatus getBlockReferenceIds(ZcDbObjectIdArray& ids) const;
    const std::wstring& comments() const { return m_comments; }
    void setComments(std::wstring text) { m_comments = std::move(text); }
    void markAsLayout(bool layout) { m_isLayoutFlag = layout; }
    ZcRxObject* clone() const override { return new ZcDbBlockTableRecord(*this); }

private:
    friend struct ZcDbAccess;
    ZcGePoint3d m_origin;
    std::vector<ZcDbObjectId> m_entities;
    ZcDbObjectId m_layoutId;
    bool m_isLayoutFlag = false;
    std::wstring m_comments;
};

class ZcDbLayerTableRecord : public ZcDbSymbolTableRecord {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbLayerTableRecord)
    std::int16_t colorIndex() const { return m_color; }
    Zcad::ErrorStatus setColorIndex(std::int16_t color);
    const std::wstring& linetypeName() const { return m_linetype; }
    Zcad::ErrorStatus setLinetypeName(std::wstring name);
    bool isOff() const { return m_off; }
    bool isFrozen() const { return m_frozen; }
    bool isLocked() const { return m_locked; }
    bool isHidden() const { return m_hidden; }
    Zcad::ErrorStatus setIsOff(bool v);
    Zcad::ErrorStatus setIsFrozen(bool v);
    Zcad::ErrorStatus setIsLocked(bool v);
    Zcad::ErrorStatus setIsHidden(bool v);
    ZcRxObject* clone() const override { return new ZcDbLayerTableRecord(*this); }

private:
    std::int16_t m_color = 7;
    std::wstring m_linetype = L"Continuous";
    bool m_off = false, m_frozen = false, m_locked = false, m_hidden = false;
};

class ZcDbRegAppTableRecord : public ZcDbSymbolTableRecord {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbRegAppTableRecord)
    ZcRxObject* clone() const override { return new ZcDbRegAppTableRecord(*this); }
};

// A layout (model or a paper sheet) and the block table record that holds its entities.
class ZcDbLayout : public ZcDbObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbLayout)
    const std::wstring& getLayoutName() const { return m_name; }
    Zcad::ErrorStatus setLayoutName(const wchar_t* name);
    ZcDbObjectId getBlockTableRecordId() const { return m_block; }
    Zcad::ErrorStatus setBlockTableRecordId(ZcDbObjectId id);
    int getTabOrder() const { return m_tabOrder; }
    Zcad::ErrorStatus setTabOrder(int order);
    ZcRxObject* clone() const override { return new ZcDbLayout(*this); }

private:
    std::wstring m_name;
    ZcDbObjectId m_block;
    int m_tabOrder = 0;
};

// Registers an application name for extended data (no change when it exists already).
Zcad::ErrorStatus zcdbRegApp(ZcDbDatabase* db, const wchar_t* appName);

// A dictionary of named entries, in the order they were added; names compare without regard
// to case. The dictionary owns its entries: erasing it erases them.
class ZcDbDictionary : public ZcDbObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbDictionary)
    ZcDbDictionary() = default;
    ZcDbDictionary(const ZcDbDictionary& other);
    ~ZcDbDictionary() override;
    bool has(const wchar_t* key) const;
    Zcad::ErrorStatus getAt(const wchar_t* key, ZcDbObjectId& id) const;
    Zcad::ErrorStatus getAt(const wchar_t* key, ZcDbObject*& obj, ZcDb::OpenMode mode) const;
    // Adds a new object under key, taking ownership; the object is open for write afterwards.
    // eDuplicateKey when the key is taken.
    Zcad::ErrorStatus setAt(const wchar_t* key, ZcDbObject* obj, ZcDbObjectId& id);
    Zcad::ErrorStatus remove(const wchar_t* key);
    std::uint32_t numEntries() const;
    ZcDbDictionaryIterator* newIterator() const;
    // Entries in order as (key, id), erased ones skipped.
    std::vector<std::pair<std::wstring, ZcDbObjectId>> entries() const;
    ZcRxObject* clone() const override { return new ZcDbDictionary(*this); }

protected:
    void subErase(bool erasing) override;

private:
    friend struct ZcDbAccess;
    std::vector<std::pair<std::wstring, ZcDbObjectId>> m_entries;
};

// A named, ordered list of objects of one drawing, kept in the group dictionary under its name.
// The group refers to its members without owning them: an erased member stays in the list but
// is reported by none of the accessors (unerasing it brings it back in its place).
class ZcDbGroup : public ZcDbObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbGroup)
    ZcDbGroup() = default;
    explicit ZcDbGroup(const wchar_t* description, bool selectable = true);
    ZcDbGroup(const ZcDbGroup& other);
    ~ZcDbGroup() override;

    // The group's key in the dictionary that owns it; empty while no dictionary does.
    std::wstring name() const;
    const std::wstring& description() const { return m_description; }
    Zcad::ErrorStatus setDescription(const wchar_t* description);
    // Picking one member selects the whole group.
    bool isSelectable() const { return m_selectable; }
    Zcad::ErrorStatus setSelectable(bool selectable);
    // An unnamed group: its key is one the program that made it chose ("*A1"), not the user's.
    bool isAnonymous() const { return m_anonymous; }
    Zcad::ErrorStatus setAnonymous(bool anonymous);

    // Appends an object of the group's drawing. eNullObjectId for the null id, eWasErased for
    // an erased object, eInvalidInput for an object of another drawing, eSelfReference for
    // the group itself, eDuplicateKey for a member already there.
    Zcad::ErrorStatus append(ZcDbObjectId id);
    // Takes a member out of the list; eKeyNotFound when it is not a member.
    Zcad::ErrorStatus remove(ZcDbObjectId id);
    // True for a member that is not erased.
    bool has(ZcDbObjectId id) const;
    std::uint32_t numEntities() const;
    // The members that are not erased, in the order they were appended.
    std::vector<ZcDbObjectId> allEntityIds() const;
    ZcRxObject* clone() const override { return new ZcDbGroup(*this); }

private:
    std::wstring m_description;
    bool m_selectable = true;
    bool m_anonymous = false;
    std::vector<ZcDbObjectId> m_members;
};
