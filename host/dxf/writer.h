// Writes a database as DXF 2010 (AC1024) text: header, classes, tables, blocks, entities,
// objects, and the sections kept from the file it was read from.
#pragma once

#include <ostream>
#include <string>

#include "contexts.h"
#include "group_writer.h"
#include "raw_objects.h"

namespace gantrel::dxf {

class FileWriter {
public:
    explicit FileWriter(const ZcDbDatabase& db);
    // False, with the reason, for a database without the tables every drawing has.
    bool write(std::ostream& out, std::string& error);
    // Groups written, for measuring.
    std::uint64_t groupCount() const { return m_groups; }

private:
    void writeHeader(GroupWriter& w);
    void writeClasses(GroupWriter& w);
    void writeTables(GroupWriter& w);
    void writeModelledTable(const char* name, ZcDbObjectId tableId, GroupWriter& w);
    void writeBlocks(GroupWriter& w);
    void writeEntities(GroupWriter& w);
    void writeObjects(GroupWriter& w);
    void writeKeptSections(GroupWriter& w);

    // An entity with what follows it (vertices, attributes, SEQEND).
    void writeEntity(const ZcDbObject& obj, std::uint64_t owner, bool paperSpace, GroupWriter& w);
    // A database object through its kind; false when no kind writes its class.
    bool writeModelled(const ZcDbObject& obj, std::uint64_t owner, bool paperSpace,
                       GroupWriter& w);
    void writeRawEntity(const ZcDbRawEntity& e, std::uint64_t owner, bool paperSpace,
                        GroupWriter& w);
    void writeRawObject(const ZcDbRawObject& o, GroupWriter& w);
    void writeSequenceEnd(const ZcDbEntity& parent, bool paperSpace, GroupWriter& w);
    const ZcDbDxfGroups* keptOf(std::uint64_t handle) const;
    // The owner's handle: of the owner id, else of a record kept as file data.
    std::uint64_t ownerHandle(const ZcDbObject& obj) const;

    const ZcDbDatabase& m_db;
    const ZcDbDatabase::Impl& m_impl;
    WriteContext m_ctx;
    std::uint64_t m_groups = 0;
};

} // namespace gantrel::dxf
