// The file writer: sections in order, straight to the stream.
#include "writer.h"

#include <algorithm>

#include "database_impl.h"
#include "default_records.h"
#include "header_vars.h"
#include "kinds.h"
#include "record_io.h"

namespace gantrel::dxf {

FileWriter::FileWriter(const ZcDbDatabase& db) : m_db(db), m_impl(db.impl()), m_ctx(db) {}

const ZcDbDxfGroups* FileWriter::keptOf(std::uint64_t handle) const {
    auto it = m_impl.fileExtras.find(handle);
    return it == m_impl.fileExtras.end() || it->second.groups.empty() ? nullptr
                                                                      : &it->second.groups;
}

bool FileWriter::write(std::ostream& out, std::string& error) {
    if (!ZcDbAccess::objectAs<ZcDbBlockTable>(m_impl.blockTable) ||
        !ZcDbAccess::objectAs<ZcDbLayerTable>(m_impl.layerTable) ||
        !ZcDbAccess::objectAs<ZcDbRegAppTable>(m_impl.regAppTable) ||
        !ZcDbAccess::objectAs<ZcDbDictionary>(m_impl.namedObjects) ||
        !ZcDbAccess::objectAs<ZcDbBlockTableRecord>(m_impl.modelSpace)) {
        error = "the drawing has no block table, layer table, application table, named-objects "
                "dictionary or model space";
        return false;
    }
    prepareDimensionBlocks();
    const std::uint64_t handseed = m_ctx.handseed() + plannedNewHandles();
    GroupWriter w(out);
    writeHeader(w, handseed);
    writeClasses(w);
    writeTables(w);
    writeBlocks(w);
    writeEntities(w);
    writeObjects(w);
    writeKeptSections(w);
    w.text(0, "EOF");
    m_groups = w.groupCount();
    if (m_ctx.handseed() != handseed) {
        // The count and the writing disagree: the file could hand out a handle twice.
        error = "the handles of the file were not counted right; it is not written";
        return false;
    }
    if (!w.flush()) {
        error = "the file cannot be written";
        return false;
    }
    return true;
}

void FileWriter::writeHeader(GroupWriter& w, std::uint64_t handseed) {
    w.text(0, "SECTION");
    w.text(2, "HEADER");
    auto preservedCodes = m_impl.preserved.find(kHeaderCodesKey);
    const auto* codes =
        preservedCodes == m_impl.preserved.end() ? nullptr : &preservedCodes->second;

    std::map<std::wstring, ZcDbHeaderValue> vars = m_impl.header;
    vars[L"ACADVER"] = std::wstring(L"AC1024");
    if (!vars.count(L"DWGCODEPAGE"))
        vars[L"DWGCODEPAGE"] = std::wstring(L"ANSI_1252");
    vars.erase(L"HANDSEED");
    // The extents of model space, from its entities. A spline counts with the box of its
    // control points, which holds the curve: exact extents of many splines cost more than
    // the rest of the writing.
    ZcDbExtents extents;
    if (const auto* model = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(m_impl.modelSpace)) {
        for (const ZcDbObjectId& id : model->entityIds()) {
            ZcDbExtents e;
            const ZcDbObject* obj = ZcDbAccess::object(id);
            if (auto drawn = m_dimensionBlockOf.find(obj); drawn != m_dimensionBlockOf.end()) {
                // A dimension drawn by a block written for it: the block's extents.
                for (const auto& piece : m_dimensionBlocks[drawn->second].entities)
                    if (piece->getGeomExtents(e) == Zcad::eOk && !e.isEmpty())
                        extents.addExt(e);
            } else if (const auto* spline = ZcDbSpline::cast(obj)) {
                for (const ZcGePoint3d& p : spline->controlPoints())
                    extents.addPoint(p);
            } else if (const auto* ent = ZcDbAccess::objectAs<ZcDbEntity>(id);
                       ent && ent->getGeomExtents(e) == Zcad::eOk && !e.isEmpty()) {
                extents.addExt(e);
            }
        }
    }
    if (!extents.isEmpty()) {
        vars[L"EXTMIN"] = extents.minPoint();
        vars[L"EXTMAX"] = extents.maxPoint();
    }

    auto writeVar = [&](const std::wstring& name, const ZcDbHeaderValue& value) {
        w.text(9, std::wstring_view(L"$" + name));
        const int code = headerCode(name, value, codes);
        const int c = code < 0 ? -code : code;
        if (const auto* p = std::get_if<ZcGePoint3d>(&value)) {
            if (code < 0)
                w.point2(c, p->x, p->y);
            else
                w.point(c, *p);
        } else if (const auto* s = std::get_if<std::wstring>(&value)) {
            w.text(c, std::wstring_view(*s));
        } else if (const auto* d = std::get_if<double>(&value)) {
            w.real(c, *d);
        } else if (const auto* i16 = std::get_if<std::int16_t>(&value)) {
            w.integer(c, *i16);
        } else if (const auto* i32 = std::get_if<std::int32_t>(&value)) {
            w.integer(c, *i32);
        }
    };
    for (const std::wstring& name : leadingHeaderVariables()) {
        if (auto it = vars.find(name); it != vars.end()) {
            writeVar(name, it->second);
            vars.erase(it);
        }
    }
    for (const auto& [name, value] : vars)
        writeVar(name, value);
    w.text(9, "$HANDSEED");
    w.handle(5, handseed);
    w.text(0, "ENDSEC");
}

void FileWriter::writeClasses(GroupWriter& w) {
    w.text(0, "SECTION");
    w.text(2, "CLASSES");
    std::vector<std::string> present;
    if (auto it = m_impl.preserved.find("CLASSES"); it != m_impl.preserved.end()) {
        const auto& groups = it->second;
        for (std::size_t i = 0; i < groups.size(); ++i) {
            writeKept(groups[i].first, groups[i].second, w);
            if (groups[i].first == 1 && i > 0 && groups[i - 1].first == 0)
                present.push_back(groups[i].second);
        }
    }
    for (const char* name : kDefaultClasses)
        if (std::find(present.begin(), present.end(), name) == present.end())
            writeDefaultClass(name, w);
    w.text(0, "ENDSEC");
}

void FileWriter::writeKeptSections(GroupWriter& w) {
    for (const auto& [key, groups] : m_impl.preserved) {
        if (!key.starts_with("SECTION:"))
            continue;
        w.text(0, "SECTION");
        w.text(2, std::string_view(key).substr(8));
        for (const auto& [code, value] : groups)
            writeKept(code, value, w);
        w.text(0, "ENDSEC");
    }
}

} // namespace gantrel::dxf
