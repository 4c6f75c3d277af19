// Reads the sections of an ASCII DXF file into an empty database: header, classes, tables,
// blocks, entities, objects, and other sections kept whole. Structure that cannot be read is
// an error with its line (ReadError); what is read leniently is reported as a repair.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "contexts.h"
#include "kinds.h"
#include "record_io.h"
#include "record_stream.h"

namespace gantrel::dxf {

class FileReader {
public:
    FileReader(ZcDbDatabase& db, std::string_view data, std::string fileName);
    // Reads the whole file. Throws ReadError.
    void read();
    ReadContext& context() { return m_ctx; }

private:
    // --- records -------------------------------------------------------------------------------
    // The next record; false at the end of the text.
    bool next(Record& record) { return m_records.next(record); }
    // Puts the last record back so that next() returns it again.
    void unread() { m_records.unread(); }
    [[noreturn]] void fail(std::size_t line, const std::string& message) const;
    std::string_view sectionName(const Record& section) const;
    // Groups of records up to (not including) the closing record of a section.
    void keepUntilEndsec(const Record& first, std::vector<std::pair<int, std::string>>& out,
                         const std::string& section);

    // --- sections (read_header.cpp, read_tables.cpp, read_entities.cpp, read_objects.cpp) -
    void readHeader(const Record& section);
    void readClasses(const Record& section);
    void readTables();
    void readTable(const Record& head);
    void readModelledTable(const Record& head, const std::string& name);
    void readBlocks();
    void readEntities();
    void readObjects();

    // Reads entity records until a record of one of the given names, which is put back.
    // Entities go to block; a null block means by the entity's owner or paper-space flag.
    void readEntityRecords(ZcDbObjectId block, std::initializer_list<std::string_view> until);
    // Reads the entity of the current record and what follows it (vertices, attributes).
    void readEntity(Record& record, ZcDbObjectId block);
    // Reads a record through its kind; on a record error, keeps it raw. Returns the object,
    // already in the database.
    ZcDbObject* readObjectRecord(const Record& record, const Kind* kind, RecordInfo& info);
    ZcDbObject* readRawRecord(const Record& record, bool entity, RecordInfo& info,
                              const ZcDbDxfGroups* following = nullptr);
    // Makes obj resident with the record's handle (a new one when it has none or it is
    // taken) and keeps the record's extra groups.
    ZcDbObjectId add(ZcDbObject* obj, RecordInfo& info, const Record& record);
    // True when the layer and the applications of extended data an object names are in their
    // tables already (then the look at the end of reading passes the object by).
    bool namesKnownRecords(const ZcDbObject& obj);
    // True when the layer table has a layer of this name.
    bool isKnownLayer(const std::wstring& name);
    // The sub-records of a POLYLINE or INSERT up to their SEQEND.
    void readVertices(ZcDbObject* polyline, const Record& parent);
    void readAttributes(ZcDbObject* reference, const Record& parent);
    // Records up to the SEQEND of a polyline kept raw, as groups.
    void collectSequence(ZcDbDxfGroups& out);
    bool nextIs(std::string_view name);

    // --- completion (read_finish.cpp) ----------------------------------------------------------
    void ensureTables();
    void finish();
    void resolveReferences();
    void resolveDictionaries();
    void resolveOwners();
    void completeStructure();
    void repairEntities();

    ReadContext m_ctx;
    ZcDbDatabase& m_db;
    RecordStream m_records;

    // Objects whose owner is given by handle, resolved at the end.
    std::vector<std::pair<ZcDbObject*, std::uint64_t>> m_owners;
    // The table objects by table name, and the first dictionary of the objects section.
    ZcDbObjectId m_blockTable, m_layerTable, m_regAppTable, m_rootDictionary;
    bool m_hasBlockRecords = false;
    bool m_sawTables = false, m_sawObjects = false;
    // Handles of records kept as file data (tables and sections the database does not model).
    std::unordered_set<std::uint64_t> m_keptHandles;
    // By index of the database's objects: those whose named records were known when read.
    // Most entities name the layer the one before named: that answer is kept.
    std::vector<bool> m_namesKnown;
    std::wstring m_knownLayer;
    // The last owner handle of an entity found to be a block record, with its id.
    std::pair<std::uint64_t, ZcDbObjectId> m_lastOwner{0, ZcDbObjectId::kNull};
};

} // namespace gantrel::dxf
