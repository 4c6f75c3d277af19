// Writes a database as DXF 2010 (AC1024) text: header, classes, tables, blocks, entities,
// objects, and the sections kept from the file it was read from.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <unordered_map>
#include <vector>

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
    void writeHeader(GroupWriter& w, std::uint64_t handseed);
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
    bool writeModelled(const ZcDbObject& obj, std::uint64_t owner, bool paperSpace, GroupWriter& w,
                       std::uint64_t handle = 0);
    // Blocks for dimensions without one, drawn by their explosion, so that other programs
    // show them.
    void prepareDimensionBlocks();
    void writeDimensionBlockRecords(std::uint64_t table, GroupWriter& w);
    void writeDimensionBlocks(GroupWriter& w);
    void writeRawEntity(const ZcDbRawEntity& e, std::uint64_t owner, bool paperSpace,
                        GroupWriter& w);
    void writeRawObject(const ZcDbRawObject& o, GroupWriter& w);
    void writeSequenceEnd(const ZcDbEntity& parent, bool paperSpace, GroupWriter& w);
    const ZcDbDxfGroups* keptOf(std::uint64_t handle) const;
    // The handles the writing will hand out to records the database does not hold, counted
    // before, so that the header (written first) names the next free handle.
    std::uint64_t plannedNewHandles() const;
    // The owner's handle: of the owner id, else of a record kept as file data.
    std::uint64_t ownerHandle(const ZcDbObject& obj) const;

    const ZcDbDatabase& m_db;
    const ZcDbDatabase::Impl& m_impl;
    WriteContext m_ctx;
    std::uint64_t m_groups = 0;
    struct DimensionBlock {
        std::wstring name;
        std::uint64_t record = 0, begin = 0, end = 0;
        std::vector<std::unique_ptr<ZcDbEntity>> entities;
        std::vector<std::uint64_t> handles;
    };
    std::vector<DimensionBlock> m_dimensionBlocks;
    std::unordered_map<const ZcDbObject*, std::size_t> m_dimensionBlockOf;
};

} // namespace gantrel::dxf
