// State shared by the readers and writers of one drawing file: the file's text encoding, the
// repairs made, references resolved once everything is read; handles for the records the
// database does not hold.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "groups.h"
#include "raw_objects.h"
#include "schema.h"
#include "text_codec.h"
#include "zcdb.h"

namespace gantrel::dxf {

class ReadContext {
public:
    ReadContext(ZcDbDatabase& db, std::string fileName);

    ZcDbDatabase& db() { return m_db; }
    const std::string& fileName() const { return m_fileName; }
    TextDecoder& decoder() { return m_decoder; }
    // The file's $ACADVER ("AC1009" for R12 ... "AC1032" for 2018), empty until read.
    std::string version;
    // Files before AC1012 have no subclass markers, handles or objects section.
    bool isR12() const { return !version.empty() && version < "AC1012"; }

    // Values of groups; a number that cannot be read is an error of its line.
    double real(const Group& g) const;
    std::int64_t integer(const Group& g) const;
    std::uint64_t handle(const Group& g) const;
    std::wstring text(const Group& g) { return m_decoder.toWide(g.value); }
    std::string utf8(const Group& g) { return m_decoder.toUtf8(g.value); }
    // The value of a group as kept text: numbers as written, text converted to UTF-8 with its
    // escapes as they are (kept values are written back verbatim).
    std::string keptValue(const Group& g);

    // Records a repair of the file's content. Repairs with the same key are reported once.
    void repair(std::size_t line, const std::string& message);
    void repairOnce(const std::string& key, std::size_t line, const std::string& message);
    const std::vector<std::wstring>& repairs() const { return m_repairs; }
    std::vector<std::wstring>& repairs() { return m_repairs; }

    // The object whose record is being read; deferred references apply to it.
    ZcDbObject* currentObject = nullptr;
    using ApplyId = Zcad::ErrorStatus (*)(ZcDbObject& obj, ZcDbObjectId id);
    struct Reference {
        ZcDbObject* object;
        std::uint64_t handle; // by handle, or
        std::wstring name;    // by block name
        ApplyId apply;
        std::size_t line;
    };
    void referByHandle(std::uint64_t handle, ApplyId apply, std::size_t line);
    void referToBlock(std::wstring name, ApplyId apply, std::size_t line);
    std::vector<Reference>& references() { return m_references; }
    // Dictionary entries, resolved once every object is read.
    struct DictionaryEntry {
        ZcDbDictionary* dictionary;
        std::wstring key;
        std::uint64_t handle;
        std::size_t line;
    };
    std::vector<DictionaryEntry> dictionaryEntries;

    // Groups a kind keeps for the record being read beyond those no field describes, with
    // the subclass marker they belong under.
    std::string pendingMarker;
    ZcDbDxfGroups pendingKept;

    // Scratch of a schema's fields, reused from record to record: a value for each field, the
    // fields whose defaults reading applies (in table order, found once), and the fields the
    // record being read has given (in the order first given).
    struct FieldScratch {
        std::vector<Value> values;
        bool defaultsFound = false;
        std::vector<std::uint32_t> defaults;
        std::vector<std::uint32_t> given;
    };
    FieldScratch& fieldScratch(const Schema& schema);

private:
    ZcDbDatabase& m_db;
    std::string m_fileName;
    TextDecoder m_decoder;
    std::vector<std::wstring> m_repairs;
    std::set<std::string> m_reported;
    std::vector<Reference> m_references;
    std::vector<FieldScratch> m_scratch; // by schema serial
};

class WriteContext {
public:
    explicit WriteContext(const ZcDbDatabase& db);

    const ZcDbDatabase& db() const { return m_db; }
    // A handle for a record the database does not hold (a default table, an ENDBLK). Handles
    // are handed out from the database's next handle up, so writing twice gives one text.
    std::uint64_t newHandle() { return m_next++; }
    std::uint64_t handseed() const { return m_next; }
    // The handle of an object of this database (0 for the null id).
    static std::uint64_t handleOf(ZcDbObjectId id) { return id.isNull() ? 0 : id.handle().value(); }
    // The name of a block table record (empty for the null id).
    std::wstring blockName(ZcDbObjectId id) const;

    // The object being written, and the groups kept for it from its file.
    const ZcDbObject* currentObject = nullptr;
    const ZcDbDxfGroups* currentKept = nullptr;
    // Entries the named-objects dictionary gets in the file beyond its own (objects every
    // drawing file needs, written with defaults).
    const ZcDbObject* rootDictionary = nullptr;
    // Names of the blocks written for dimensions that have none of their own.
    std::unordered_map<const ZcDbObject*, std::wstring> dimensionBlockNames;
    std::vector<std::pair<std::wstring, std::uint64_t>> rootExtras;

private:
    const ZcDbDatabase& m_db;
    std::uint64_t m_next;
};

} // namespace gantrel::dxf
