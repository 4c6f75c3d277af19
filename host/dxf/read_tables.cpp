// The TABLES section. Layers, block records and registered applications become database
// objects; the other tables are kept as their groups and written back.
#include <fmt/format.h>

#include "database_impl.h"
#include "reader.h"
#include "winhost.h"

namespace gantrel::dxf {

void FileReader::readTables() {
    Record r;
    while (next(r)) {
        if (r.name == "ENDSEC")
            return;
        if (r.name == "TABLE") {
            readTable(r);
            continue;
        }
        if (r.name == "SECTION" || r.name == "EOF")
            fail(r.line, "section TABLES is not closed by ENDSEC");
        m_ctx.repair(r.line, fmt::format("{} outside a table dropped", r.name));
    }
    fail(m_records.endLine() + 1, "the file ends inside section TABLES (truncated)");
}

void FileReader::readTable(const Record& head) {
    std::string name;
    for (const Group& g : head.groups)
        if (g.code == 2) {
            name = std::string(trim(g.value));
            break;
        }
    if (name.empty())
        fail(head.line, "TABLE without its name (group 2)");
    if (name == "LAYER" || name == "BLOCK_RECORD" || name == "APPID") {
        readModelledTable(head, name);
        return;
    }
    // Kept whole, from TABLE to ENDTAB.
    auto& kept = ZcDbAccess::impl(m_db).preserved["TABLE:" + name];
    kept.clear();
    auto keep = [&](const Record& r) {
        kept.emplace_back(0, std::string(r.name));
        for (const Group& g : r.groups) {
            kept.emplace_back(g.code, m_ctx.keptValue(g));
            if (g.code == 5 || g.code == 105) {
                m_keptHandles.insert(m_ctx.handle(g));
                ZcDbAccess::reserveHandle(m_db, m_ctx.handle(g));
            }
        }
    };
    keep(head);
    Record r;
    while (next(r)) {
        if (r.name == "ENDTAB") {
            keep(r);
            return;
        }
        if (r.name == "TABLE" || r.name == "ENDSEC" || r.name == "SECTION" || r.name == "EOF")
            fail(r.line, "table " + name + " is not closed by ENDTAB");
        keep(r);
    }
    fail(m_records.endLine() + 1, "the file ends inside table " + name + " (truncated)");
}

void FileReader::readModelledTable(const Record& head, const std::string& name) {
    ZcDbObjectId& tableId = name == "LAYER"   ? m_layerTable
                            : name == "APPID" ? m_regAppTable
                                              : m_blockTable;
    if (!tableId.isNull()) {
        m_ctx.repair(head.line, "a second " + name + " table; its records join the first");
    } else {
        RecordInfo info;
        for (const Group& g : head.groups) {
            if ((g.code == 5 || g.code == 105) && !info.hasHandle) {
                info.handle = m_ctx.handle(g);
                info.hasHandle = true;
            }
        }
        // Groups of the table itself worth keeping: its application groups (reactors, an
        // extension dictionary).
        for (std::size_t i = 0; i < head.groups.size(); ++i) {
            if (head.groups[i].code != 102)
                continue;
            for (; i < head.groups.size(); ++i) {
                info.kept.emplace_back(head.groups[i].code, m_ctx.keptValue(head.groups[i]));
                if (head.groups[i].code == 102 && trim(head.groups[i].value) == "}")
                    break;
            }
        }
        // Made once the head is read: a value that cannot be read throws before.
        ZcDbSymbolTable* table;
        if (name == "LAYER")
            table = new ZcDbLayerTable;
        else if (name == "APPID")
            table = new ZcDbRegAppTable;
        else
            table = new ZcDbBlockTable;
        tableId = add(table, info, head);
    }
    auto* table = ZcDbAccess::objectAs<ZcDbSymbolTable>(tableId);
    const std::string recordName = name;
    const Kind& kind = kindByName(recordName);
    m_hasBlockRecords = m_hasBlockRecords || name == "BLOCK_RECORD";
    Record r;
    while (next(r)) {
        if (r.name == "ENDTAB")
            return;
        if (r.name == "TABLE" || r.name == "ENDSEC" || r.name == "SECTION" || r.name == "EOF")
            fail(r.line, "table " + name + " is not closed by ENDTAB");
        if (r.name != recordName) {
            m_ctx.repair(r.line, fmt::format("{} in table {} dropped", r.name, name));
            continue;
        }
        RecordInfo info;
        ZcDbObject* obj = readObjectRecord(r, &kind, info);
        auto* record = ZcDbSymbolTableRecord::cast(obj);
        if (!record) {
            // A table holds only records it understands.
            m_ctx.repair(r.line, fmt::format("{} that cannot be read is dropped", r.name));
            ZcDbObject* opened = nullptr;
            if (zcdbOpenObject(opened, obj->objectId(), ZcDb::kForWrite) == Zcad::eOk) {
                opened->erase();
                opened->close();
            }
            continue;
        }
        if (record->name().empty() || table->has(record->name().c_str())) {
            m_ctx.repair(r.line, fmt::format("{} \"{}\" is defined twice; the second is dropped",
                                             name, ::win::Narrow(record->name())));
            ZcDbObject* opened = nullptr;
            if (zcdbOpenObject(opened, record->objectId(), ZcDb::kForWrite) == Zcad::eOk) {
                opened->erase();
                opened->close();
            }
            continue;
        }
        ZcDbAccess::setOwner(record, tableId);
        ZcDbAccess::appendToTable(table, record->objectId());
    }
    fail(m_records.endLine() + 1, "the file ends inside table " + name + " (truncated)");
}

} // namespace gantrel::dxf
