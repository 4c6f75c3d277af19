// The file reader: records, sections, and the adding of read objects to the database.
#include "reader.h"
#include "winhost.h"

#include <fmt/format.h>

#include <algorithm>
#include <memory>

#include "database_impl.h"
#include "raw_objects.h"
#include "text_codec.h"

namespace gantrel::dxf {

FileReader::FileReader(ZcDbDatabase& db, std::string_view data, std::string fileName)
    : m_ctx(db, std::move(fileName)), m_db(db), m_records(data) {
    // About one object for every 250 bytes of a drawing: the handle map is sized once.
    ZcDbAccess::impl(db).byHandle.reserve(data.size() / 250);
}

void FileReader::fail(std::size_t line, const std::string& message) const {
    throw ReadError(line, message);
}

std::string_view FileReader::sectionName(const Record& section) const {
    if (section.groups.empty() || section.groups[0].code != 2)
        fail(section.line, "SECTION without its name (group 2)");
    return trim(section.groups[0].value);
}

void FileReader::read() {
    Record section;
    bool sawEof = false;
    while (next(section)) {
        if (section.name == "EOF") {
            sawEof = true;
            break;
        }
        if (section.name != "SECTION")
            fail(section.line, fmt::format("expected SECTION, found {}", section.name));
        const std::string name(sectionName(section));
        if (name == "HEADER") {
            readHeader(section);
        } else if (name == "CLASSES") {
            readClasses(section);
        } else if (name == "TABLES") {
            m_sawTables = true;
            readTables();
        } else if (name == "BLOCKS") {
            ensureTables();
            readBlocks();
        } else if (name == "ENTITIES") {
            ensureTables();
            readEntities();
        } else if (name == "OBJECTS") {
            m_sawObjects = true;
            ensureTables();
            readObjects();
        } else {
            auto& kept = ZcDbAccess::impl(m_db).preserved["SECTION:" + name];
            kept.clear();
            keepUntilEndsec(section, kept, name);
        }
    }
    if (!sawEof)
        fail(m_records.endLine() + 1, "the file ends without EOF (truncated)");
    ensureTables();
    finish();
}

void FileReader::keepUntilEndsec(const Record& first, ZcDbDxfGroups& out,
                                 const std::string& section) {
    auto keep = [&](const Record& r) {
        out.emplace_back(0, std::string(r.name));
        for (const Group& g : r.groups) {
            out.emplace_back(g.code, m_ctx.keptValue(g));
            if (g.code == 5 || g.code == 105) {
                m_keptHandles.insert(m_ctx.handle(g));
                ZcDbAccess::reserveHandle(m_db, m_ctx.handle(g));
            }
        }
    };
    (void)first;
    Record r;
    while (next(r)) {
        if (r.name == "ENDSEC")
            return;
        if (r.name == "SECTION" || r.name == "EOF")
            fail(r.line, "section " + section + " is not closed by ENDSEC");
        keep(r);
    }
    fail(m_records.endLine() + 1, "the file ends inside section " + section + " (truncated)");
}

void FileReader::readClasses(const Record& section) {
    auto& kept = ZcDbAccess::impl(m_db).preserved["CLASSES"];
    kept.clear();
    keepUntilEndsec(section, kept, "CLASSES");
}

ZcDbObjectId FileReader::add(ZcDbObject* obj, RecordInfo& info, const Record& record) {
    ZcDbObjectId id;
    if (info.hasHandle && info.handle != 0) {
        id = ZcDbAccess::addObject(m_db, obj, ZcDbHandle(info.handle));
        if (id.isNull())
            m_ctx.repair(record.line,
                         fmt::format("{}: handle {:X} is used twice; a new one is given",
                                     record.name, info.handle));
    }
    if (id.isNull())
        id = ZcDbAccess::addObject(m_db, obj);
    // Looked at now, while the object is in the cache, rather than in a walk over every object
    // at the end.
    if (namesKnownRecords(*obj)) {
        const std::size_t index = ZcDbAccess::impl(m_db).stubs.size() - 1;
        if (m_namesKnown.size() <= index)
            m_namesKnown.resize(index + 1 + index / 2);
        m_namesKnown[index] = true;
    }
    if (!info.kept.empty() || !m_ctx.pendingKept.empty()) {
        auto& groups = ZcDbAccess::impl(m_db).fileExtras[id.handle().value()].groups;
        groups = std::move(info.kept);
        if (!m_ctx.pendingKept.empty()) {
            // Insert under the subclass marker the kind asked for, opening it if needed.
            auto at = groups.end();
            for (auto it = groups.begin(); it != groups.end(); ++it) {
                if (it->first == 100 && it->second == m_ctx.pendingMarker) {
                    at = std::find_if(it + 1, groups.end(), [](const auto& g) {
                        return g.first == 100 || g.first == 101;
                    });
                    break;
                }
            }
            if (at == groups.end() &&
                std::none_of(groups.begin(), groups.end(), [&](const auto& g) {
                    return g.first == 100 && g.second == m_ctx.pendingMarker;
                })) {
                groups.emplace_back(100, m_ctx.pendingMarker);
                at = groups.end();
            }
            groups.insert(at, m_ctx.pendingKept.begin(), m_ctx.pendingKept.end());
            m_ctx.pendingKept.clear();
        }
    }
    return id;
}

bool FileReader::isKnownLayer(const std::wstring& name) {
    if (!m_knownLayer.empty() && name == m_knownLayer)
        return true;
    const auto* layers = ZcDbAccess::objectAs<ZcDbLayerTable>(m_layerTable);
    if (!layers || !layers->has(name.c_str()))
        return false;
    m_knownLayer = name;
    return true;
}

bool FileReader::namesKnownRecords(const ZcDbObject& obj) {
    if (const auto* ent = ZcDbEntity::cast(&obj); ent && !isKnownLayer(ent->layer()))
        return false;
    if (obj.xDataApps().empty())
        return true;
    const auto* apps = ZcDbAccess::objectAs<ZcDbRegAppTable>(m_regAppTable);
    return apps &&
           std::all_of(obj.xDataApps().begin(), obj.xDataApps().end(), [&](const auto& app) {
               return app.appName.empty() || apps->has(app.appName.c_str());
           });
}

namespace {

void forget(ReadContext& ctx, const ZcDbObject* obj) {
    std::erase_if(ctx.references(), [&](const auto& r) { return r.object == obj; });
    std::erase_if(ctx.dictionaryEntries, [&](const auto& e) {
        return static_cast<const ZcDbObject*>(e.dictionary) == obj;
    });
    ctx.pendingKept.clear();
}

} // namespace

ZcDbObject* FileReader::readObjectRecord(const Record& record, const Kind* kind, RecordInfo& info) {
    if (!kind)
        return readRawRecord(record, false, info);
    ZcDbObject* obj = kind->create();
    m_ctx.currentObject = obj;
    void* target = kind->beginRead(*obj);
    std::string why;
    try {
        readRecord(*kind->schema, obj, target, record.groups, info, m_ctx);
    } catch (const RecordError& e) {
        why = e.what();
    } catch (...) {
        if (kind->endRead && target != obj)
            kind->endRead(target, *obj, m_ctx); // releases the staging struct
        forget(m_ctx, obj);
        delete obj;
        throw;
    }
    obj->setXDataApps(info.xdata);
    if (kind->endRead) {
        const Zcad::ErrorStatus es = kind->endRead(target, *obj, m_ctx);
        if (why.empty() && es != Zcad::eOk)
            why = fmt::format("its values are not valid ({})",
                              ::win::Narrow(zcadErrorStatusText(es)));
    }
    if (!why.empty()) {
        forget(m_ctx, obj);
        delete obj;
        m_ctx.repair(record.line, fmt::format("{} kept as raw data: {}", record.name, why));
        RecordInfo rawInfo;
        ZcDbObject* raw = readRawRecord(record, kind->schema->isEntity(), rawInfo);
        info.handle = rawInfo.handle;
        info.hasHandle = rawInfo.hasHandle;
        info.owner = rawInfo.owner;
        info.hasOwner = rawInfo.hasOwner;
        info.paperSpace = rawInfo.paperSpace;
        return raw;
    }
    add(obj, info, record);
    return obj;
}

ZcDbObject* FileReader::readRawRecord(const Record& record, bool entity, RecordInfo& info,
                                      const ZcDbDxfGroups* following) {
    ZcDbDxfGroups groups;
    // Owned until the database takes it: a value that cannot be read throws before that.
    std::unique_ptr<ZcDbRawEntity> ent;
    bool inMarker = false;
    bool inEntitySubclass = true;
    const auto& all = record.groups;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Group& g = all[i];
        if (g.code == 5 && !info.hasHandle) {
            info.handle = m_ctx.handle(g);
            info.hasHandle = true;
        } else if (g.code == 330 && !info.hasOwner && !inMarker) {
            info.owner = m_ctx.handle(g);
            info.hasOwner = true;
        } else if (g.code == 1001) {
            i = readXData(all, i, info.xdata, m_ctx) - 1;
        } else if (entity && inEntitySubclass && g.code == 67) {
            info.paperSpace = m_ctx.integer(g) != 0;
        } else if (entity && inEntitySubclass && (g.code == 8 || g.code == 62 || g.code == 6)) {
            // Kept in the entity's own properties; written back in their place.
            if (!ent)
                ent = std::make_unique<ZcDbRawEntity>();
            if (g.code == 8)
                ent->setLayer(m_ctx.text(g).c_str(), false, true);
            else if (g.code == 6)
                ent->setLinetype(m_ctx.text(g).c_str());
            else if (const auto c = m_ctx.integer(g); c >= 0 && c <= 256)
                ent->setColorIndex(static_cast<std::int16_t>(c), false);
            else
                groups.emplace_back(g.code, m_ctx.keptValue(g));
        } else {
            if (g.code == 100) {
                inMarker = true;
                inEntitySubclass = trim(g.value) == "AcDbEntity";
            }
            groups.emplace_back(g.code, m_ctx.keptValue(g));
        }
    }
    if (following)
        groups.insert(groups.end(), following->begin(), following->end());
    ZcDbObject* obj;
    if (entity) {
        if (!ent)
            ent = std::make_unique<ZcDbRawEntity>();
        ent->setGroups(std::string(record.name), std::move(groups));
        obj = ent.release();
    } else {
        obj = new ZcDbRawObject(std::string(record.name), std::move(groups));
    }
    obj->setXDataApps(info.xdata);
    add(obj, info, record);
    return obj;
}

} // namespace gantrel::dxf
