// The TABLES section: the modelled tables from the database, the others as the file gave them
// or with defaults.
#include "database_impl.h"
#include "default_records.h"
#include "kinds.h"
#include "record_io.h"
#include "writer.h"

namespace gantrel::dxf {

namespace {

constexpr const char* kTableOrder[] = {"VPORT", "LTYPE", "LAYER",    "STYLE",       "VIEW",
                                       "UCS",   "APPID", "DIMSTYLE", "BLOCK_RECORD"};

bool isModelledTable(const std::string& name) {
    return name == "LAYER" || name == "APPID" || name == "BLOCK_RECORD";
}

} // namespace

std::uint64_t FileWriter::plannedNewHandles() const {
    std::uint64_t n = 0;
    for (const char* name : kTableOrder)
        if (!isModelledTable(name) && !m_impl.preserved.count(std::string("TABLE:") + name))
            n += static_cast<std::uint64_t>(defaultTableHandles(name));
    const auto* table = ZcDbAccess::objectAs<ZcDbBlockTable>(m_impl.blockTable);
    auto extrasOf = [&](std::uint64_t handle) {
        auto it = m_impl.fileExtras.find(handle);
        return it == m_impl.fileExtras.end() ? ZcDbDatabase::Impl::FileExtras{} : it->second;
    };
    for (const ZcDbObjectId& id : table->recordIds()) {
        const auto block = extrasOf(id.handle().value());
        n += (block.beginHandle == 0) + (block.endHandle == 0);
        for (const ZcDbObjectId& e : ZcDbAccess::objectAs<ZcDbBlockTableRecord>(id)->entityIds()) {
            const ZcDbObject* obj = ZcDbAccess::object(e);
            bool sequence = ZcDb2dPolyline::cast(obj) != nullptr;
            if (const auto* ref = ZcDbBlockReference::cast(obj))
                for (const ZcDbObjectId& a : ref->attributeIds())
                    sequence = sequence || !a.isErased();
            if (sequence && extrasOf(e.handle().value()).endHandle == 0)
                ++n;
        }
    }
    if (!ZcDbAccess::objectAs<ZcDbDictionary>(m_impl.namedObjects)->has(L"ACAD_PLOTSTYLENAME"))
        n += 2;
    return n;
}

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
        if (std::find(std::begin(kTableOrder), std::end(kTableOrder), name) !=
            std::end(kTableOrder))
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
    const bool blocks = tableId == m_impl.blockTable;
    w.integer(70,
              static_cast<std::int64_t>(records.size() + (blocks ? m_dimensionBlocks.size() : 0)));
    for (const ZcDbObjectId& id : records)
        writeModelled(*ZcDbAccess::object(id), handle, false, w);
    if (blocks)
        writeDimensionBlockRecords(handle, w);
    w.text(0, "ENDTAB");
}

} // namespace gantrel::dxf
