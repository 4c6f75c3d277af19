// The BLOCKS and ENTITIES sections: block definitions with their entities, entities with what
// follows them (a polyline's vertices, a reference's attributes, each list ended by SEQEND).
#include <fmt/format.h>

#include "database_impl.h"
#include "object_kinds.h"
#include "reader.h"
#include "winhost.h"

namespace gantrel::dxf {

namespace {

bool isAny(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view n : names)
        if (name == n)
            return true;
    return false;
}

std::int64_t firstInteger(const ReadContext& ctx, const Record& r, int code,
                          std::int64_t fallback) {
    for (const Group& g : r.groups)
        if (g.code == code)
            return ctx.integer(g);
    return fallback;
}

} // namespace

void FileReader::readBlocks() {
    auto* blocks = ZcDbAccess::objectAs<ZcDbBlockTable>(m_blockTable);
    Record r;
    while (next(r)) {
        if (r.name == "ENDSEC")
            return;
        if (r.name == "SECTION" || r.name == "EOF")
            fail(r.line, "section BLOCKS is not closed by ENDSEC");
        if (r.name != "BLOCK") {
            m_ctx.repair(r.line, fmt::format("{} outside a block definition dropped", r.name));
            continue;
        }
        BlockData data;
        RecordInfo info;
        m_ctx.currentObject = nullptr;
        readRecord(blockBeginSchema(), nullptr, &data, r.groups, info, m_ctx);
        // The block table record: by the owner handle, else by name (files without block
        // records), else a new one.
        ZcDbObjectId recordId;
        if (info.hasOwner && info.owner != 0)
            m_db.getZcDbObjectId(recordId, false, ZcDbHandle(info.owner));
        auto* record = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(recordId);
        if (!record && !data.name.empty() &&
            blocks->getIdAt(data.name.c_str(), recordId) == Zcad::eOk)
            record = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(recordId);
        if (!record) {
            if (data.name.empty())
                fail(r.line, "BLOCK without its name (group 2)");
            if (m_hasBlockRecords)
                m_ctx.repair(r.line, fmt::format("block \"{}\" has no block record; one is made",
                                                 ::win::Narrow(data.name)));
            record = new ZcDbBlockTableRecord;
            if (record->setName(data.name.c_str()) != Zcad::eOk) {
                delete record;
                fail(r.line, "BLOCK name \"" + ::win::Narrow(data.name) + "\" is not valid");
            }
            recordId = ZcDbAccess::addObject(m_db, record);
            ZcDbAccess::setOwner(record, m_blockTable);
            ZcDbAccess::appendToTable(blocks, recordId);
        }
        auto& extras = ZcDbAccess::impl(m_db).fileExtras[recordId.handle().value()];
        if (extras.beginHandle != 0) {
            m_ctx.repair(r.line, fmt::format("block \"{}\" is defined twice; its entities join "
                                             "the first definition",
                                             ::win::Narrow(data.name)));
        } else {
            if (ZcDbObject* opened = nullptr;
                zcdbOpenObject(opened, recordId, ZcDb::kForWrite) == Zcad::eOk) {
                record->setOrigin(data.origin);
                if (!data.description.empty())
                    record->setComments(data.description);
                opened->close();
            }
            if (info.hasHandle && info.handle != 0 && !m_db.impl().byHandle.contains(info.handle)) {
                extras.beginHandle = info.handle;
                ZcDbAccess::reserveHandle(m_db, info.handle);
                if (!info.kept.empty())
                    ZcDbAccess::impl(m_db).fileExtras[info.handle].groups = std::move(info.kept);
            }
        }
        readEntityRecords(recordId, {"ENDBLK", "ENDSEC", "BLOCK", "SECTION", "EOF"});
        Record end;
        if (!next(end) || end.name != "ENDBLK") {
            m_ctx.repair(r.line, fmt::format("block \"{}\" is not closed by ENDBLK",
                                             ::win::Narrow(data.name)));
            if (end.line)
                unread();
            continue;
        }
        RecordInfo endInfo;
        readRecord(blockEndSchema(), nullptr, &data, end.groups, endInfo, m_ctx);
        auto& recordExtras = ZcDbAccess::impl(m_db).fileExtras[recordId.handle().value()];
        if (endInfo.hasHandle && endInfo.handle != 0 && recordExtras.endHandle == 0 &&
            !m_db.impl().byHandle.contains(endInfo.handle)) {
            recordExtras.endHandle = endInfo.handle;
            ZcDbAccess::reserveHandle(m_db, endInfo.handle);
            if (!endInfo.kept.empty())
                ZcDbAccess::impl(m_db).fileExtras[endInfo.handle].groups = std::move(endInfo.kept);
        }
    }
    fail(m_records.endLine() + 1, "the file ends inside section BLOCKS (truncated)");
}

void FileReader::readEntities() {
    readEntityRecords(ZcDbObjectId::kNull, {"ENDSEC", "SECTION", "EOF"});
    Record end;
    if (!next(end))
        fail(m_records.endLine() + 1, "the file ends inside section ENTITIES (truncated)");
    if (end.name != "ENDSEC")
        fail(end.line, "section ENTITIES is not closed by ENDSEC");
}

void FileReader::readEntityRecords(ZcDbObjectId block,
                                   std::initializer_list<std::string_view> until) {
    Record r;
    while (next(r)) {
        if (isAny(r.name, until)) {
            unread();
            return;
        }
        readEntity(r, block);
    }
}

void FileReader::readEntity(Record& r, ZcDbObjectId block) {
    if (isAny(r.name, {"VERTEX", "SEQEND", "ATTRIB", "ENDTAB", "TABLE"})) {
        m_ctx.repair(r.line, fmt::format("{} without the entity it belongs to dropped", r.name));
        return;
    }
    const Kind* kind = kindForRecord(r.name, r.groups);
    RecordInfo info;
    ZcDbObject* obj;
    if (!kind) {
        ZcDbDxfGroups following;
        if (r.name == "POLYLINE") // a 3-D polyline or mesh, kept with its vertices
            collectSequence(following);
        obj = readRawRecord(r, true, info, &following);
    } else {
        obj = readObjectRecord(r, kind, info);
    }
    // The owner: the block being defined; in the entities section the block record the
    // entity names, else model or paper space.
    ZcDbObjectId owner = block;
    if (owner.isNull()) {
        ZcDbObjectId named;
        if (info.hasOwner && info.owner != 0 && info.owner == m_lastOwner.first) {
            owner = m_lastOwner.second; // entities of one block come in runs
        } else if (info.hasOwner && info.owner != 0 &&
                   m_db.getZcDbObjectId(named, false, ZcDbHandle(info.owner)) == Zcad::eOk &&
                   ZcDbAccess::objectAs<ZcDbBlockTableRecord>(named)) {
            owner = named;
            m_lastOwner = {info.owner, named};
        } else {
            owner = info.paperSpace ? m_db.impl().paperSpace : m_db.impl().modelSpace;
        }
    }
    ZcDbAccess::setOwner(obj, owner);
    ZcDbAccess::appendToBlock(ZcDbAccess::objectAs<ZcDbBlockTableRecord>(owner), obj->objectId());

    if (ZcDb2dPolyline::cast(obj))
        readVertices(obj, r);
    else if (ZcDbBlockReference::cast(obj) &&
             (firstInteger(m_ctx, r, 66, 0) != 0 || nextIs("ATTRIB")))
        readAttributes(obj, r);
}

bool FileReader::nextIs(std::string_view name) {
    Record r;
    if (!next(r))
        return false;
    const bool is = r.name == name;
    unread();
    return is;
}

void FileReader::readVertices(ZcDbObject* polyline, const Record& parent) {
    const Kind& vertexKind = kindByName("VERTEX");
    Record r;
    while (next(r)) {
        if (r.name == "VERTEX") {
            RecordInfo info;
            ZcDbObject* v = readObjectRecord(r, &vertexKind, info);
            if (!ZcDb2dVertex::cast(v)) {
                m_ctx.repair(r.line, "a VERTEX that cannot be read is dropped from its POLYLINE");
                ZcDbObject* opened = nullptr;
                if (zcdbOpenObject(opened, v->objectId(), ZcDb::kForWrite) == Zcad::eOk) {
                    opened->erase();
                    opened->close();
                }
                continue;
            }
            ZcDbAccess::setOwner(v, polyline->objectId());
            ZcDbAccess::attachVertex(static_cast<ZcDb2dPolyline*>(polyline), v->objectId());
            continue;
        }
        if (r.name == "SEQEND") {
            RecordInfo info;
            for (const Group& g : r.groups)
                if (g.code == 5) {
                    const std::uint64_t h = m_ctx.handle(g);
                    if (h && !m_db.impl().byHandle.contains(h)) {
                        ZcDbAccess::impl(m_db).fileExtras[polyline->handle().value()].endHandle = h;
                        ZcDbAccess::reserveHandle(m_db, h);
                    }
                    break;
                }
            return;
        }
        unread();
        break;
    }
    m_ctx.repair(parent.line, "POLYLINE without SEQEND; its vertices end here");
}

void FileReader::readAttributes(ZcDbObject* reference, const Record& parent) {
    const Kind& attributeKind = kindByName("ATTRIB");
    Record r;
    while (next(r)) {
        if (r.name == "ATTRIB") {
            RecordInfo info;
            ZcDbObject* a = readObjectRecord(r, &attributeKind, info);
            if (!ZcDbAttribute::cast(a)) {
                m_ctx.repair(r.line, "an ATTRIB that cannot be read is dropped from its INSERT");
                ZcDbObject* opened = nullptr;
                if (zcdbOpenObject(opened, a->objectId(), ZcDb::kForWrite) == Zcad::eOk) {
                    opened->erase();
                    opened->close();
                }
                continue;
            }
            ZcDbAccess::setOwner(a, reference->objectId());
            ZcDbAccess::attachAttribute(static_cast<ZcDbBlockReference*>(reference), a->objectId());
            continue;
        }
        if (r.name == "SEQEND") {
            for (const Group& g : r.groups)
                if (g.code == 5) {
                    const std::uint64_t h = m_ctx.handle(g);
                    if (h && !m_db.impl().byHandle.contains(h)) {
                        ZcDbAccess::impl(m_db).fileExtras[reference->handle().value()].endHandle =
                            h;
                        ZcDbAccess::reserveHandle(m_db, h);
                    }
                    break;
                }
            return;
        }
        unread();
        break;
    }
    m_ctx.repair(parent.line, "INSERT without SEQEND after its attributes; they end here");
}

void FileReader::collectSequence(ZcDbDxfGroups& out) {
    Record r;
    while (next(r)) {
        if (r.name != "VERTEX" && r.name != "SEQEND") {
            unread();
            m_ctx.repair(r.line, "POLYLINE without SEQEND; its vertices end here");
            return;
        }
        out.emplace_back(0, std::string(r.name));
        for (const Group& g : r.groups) {
            out.emplace_back(g.code, m_ctx.keptValue(g));
            if (g.code == 5)
                ZcDbAccess::reserveHandle(m_db, m_ctx.handle(g));
        }
        if (r.name == "SEQEND")
            return;
    }
}

} // namespace gantrel::dxf
