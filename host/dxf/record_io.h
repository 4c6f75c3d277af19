// Reading and writing one DXF record (an entity, a table record, an object) through its schema.
#pragma once

#include <span>
#include <vector>

#include "contexts.h"
#include "group_writer.h"
#include "raw_objects.h"
#include "schema.h"

namespace gantrel::dxf {

// What a record held besides its fields.
struct RecordInfo {
    std::uint64_t handle = 0;
    bool hasHandle = false;
    std::uint64_t owner = 0;
    bool hasOwner = false;
    bool paperSpace = false;
    // Groups no field describes, with the subclass markers they came under (groups before any
    // marker, such as reactors, come first without one).
    ZcDbDxfGroups kept;
    std::vector<ZcDbXDataApp> xdata;
    std::size_t line = 0;
};

// Reads the groups of one record (those after its 0 group): the common entity fields into
// object, the others into target (the object or its staging struct).
void readRecord(const Schema& schema, void* object, void* target, std::span<const Group> groups,
                RecordInfo& info, ReadContext& ctx);

// Reads extended data from a 1001 group on; returns the position after it.
std::size_t readXData(std::span<const Group> groups, std::size_t pos,
                      std::vector<ZcDbXDataApp>& apps, ReadContext& ctx);

struct RecordOut {
    std::uint64_t handle = 0;
    std::uint64_t owner = 0;
    bool writeOwner = true;
    bool paperSpace = false;
    const ZcDbDxfGroups* kept = nullptr;
    const std::vector<ZcDbXDataApp>* xdata = nullptr;
};

// Writes one record, its 0 group included.
void writeRecord(const Schema& schema, const void* object, const void* target, const RecordOut& out,
                 GroupWriter& w, WriteContext& ctx);

void writeXData(const std::vector<ZcDbXDataApp>& apps, GroupWriter& w);
// True when a field's value is its default.
bool equalsDefault(const Field& f, const Value& v);
// Writes a kept group as it was read.
void writeKept(int code, const std::string& value, GroupWriter& w);

} // namespace gantrel::dxf
