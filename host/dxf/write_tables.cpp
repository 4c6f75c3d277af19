// The TABLES section: the modelled tables from the database, the others as the file gave them
// or with defaults.
#include "database_impl.h"
#include "default_records.h"
#include "kinds.h"
#include "record_io.h"
#include "writer.h"

namespace gantrel::dxf {

namespace {

constexpr const char* kTableOrder[] = {"VPORT", "LTYPE", "LAYER", "STYLE", "VIEW",
                                       "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};

} // namespace

void FileWriter::writeTables(GroupWriter& w) {
    w.text(0, "SECTION");
    w.text(2, "TABLES");
    for (const char* name : kTableOrder) {
        const std::string table = name;
        if (table == "LAYER")
            writeModelledTable(name, m_impl.layerTable, w);
        else if (table == "APPID")
            writeModelledTable(name, m_impl.regAppTable, w);
        else if (table == "BLOCK_RECORD")
            writeModelledTable(name, m_impl.blockTable, w);
        else if (auto it = m_impl.preserved.find("TABLE:" + table); it != m_impl.preserved.end())
            for (const auto& [code, value] : it->second)
                writeKept(code, value, w);
        else
            writeDefaultTable(table, w, m_ctx);
    }
    // Tables of other names the file had.
    for (const auto& [key, groups] : m_impl.preserved) {
        if (!key.starts_with("TABLE:"))
            continue;
        const std::string_view name = std::string_view(key).substr(6);
        if (std::find(std::begin(kTableOrder), std::end(kTableOrder), name) != std::end(kTableOrder))
            continue;
        for (const auto& [code, value] : groups)
            writeKept(code, value, w);
    }
    w.text(0, "ENDSEC");
}

void FileWriter::writeModelledTable(const char* name, ZcDbObjectId tableId, GroupWriter& w) {
    const auto* table = ZcDbAccess::objectAs<ZcDbSymbolTable>(tableId);
    const std::vector<ZcDbObjectId> records = table->recordIds();
    const std::uint64_t handle = tableId.handle().value();
    w.text(0, "TABLE");
    w.text(2, name);
    w.handle(5, handle);
    if (const ZcDbDxfGroups* kept = keptOf(handle))
        for (const auto& [code, value] : *kept)
            writeKept(code, value, w);
    w.handle(330, 0);
    w.text(100, "AcDbSymbolTable");
    w.integer(70, static_cast<std::int64_t>(records.size()));
    for (const ZcDbObjectId& id : records)
        writeModelled(*ZcDbAccess::object(id), handle, false, w);
    w.text(0, "ENDTAB");
}

} // namespace gantrel::dxf
