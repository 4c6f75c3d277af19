// The OBJECTS section, and the records of entities and objects kept raw.
#include "database_impl.h"
#include "default_records.h"
#include "kinds.h"
#include "record_io.h"
#include "writer.h"

namespace gantrel::dxf {

namespace {

// The application groups ("{NAME" ... "}") at the start of raw groups; returns the position
// after them.
std::size_t writeLeadingApplicationGroups(const ZcDbDxfGroups& groups, GroupWriter& w) {
    std::size_t i = 0;
    while (i < groups.size() && groups[i].first == 102) {
        writeKept(groups[i].first, groups[i].second, w);
        const bool open = groups[i].second.starts_with("{");
        ++i;
        if (!open)
            continue;
        while (i < groups.size()) {
            writeKept(groups[i].first, groups[i].second, w);
            if (groups[i++].first == 102)
                break;
        }
    }
    return i;
}

bool isTablePart(const ZcDbObject* obj) {
    return ZcDbSymbolTable::cast(obj) || ZcDbSymbolTableRecord::cast(obj);
}

} // namespace

std::uint64_t FileWriter::ownerHandle(const ZcDbObject& obj) const {
    if (!obj.ownerId().isNull())
        return WriteContext::handleOf(obj.ownerId());
    auto it = m_impl.fileExtras.find(obj.handle().value());
    return it == m_impl.fileExtras.end() ? 0 : it->second.keptOwner;
}

void FileWriter::writeObjects(GroupWriter& w) {
    w.text(0, "SECTION");
    w.text(2, "OBJECTS");
    const ZcDbObject* root = ZcDbAccess::object(m_impl.namedObjects);
    const auto* rootDictionary = ZcDbDictionary::cast(root);
    // Every drawing file names a plot-style dictionary; one with defaults when there is none.
    std::uint64_t plotStyles = 0, placeholder = 0;
    if (!rootDictionary->has(L"ACAD_PLOTSTYLENAME")) {
        plotStyles = m_ctx.newHandle();
        placeholder = m_ctx.newHandle();
        m_ctx.rootExtras.emplace_back(L"ACAD_PLOTSTYLENAME", plotStyles);
    }
    m_ctx.rootDictionary = root;
    writeModelled(*root, 0, false, w);
    m_ctx.rootDictionary = nullptr;
    if (plotStyles)
        writeDefaultPlotStyles(plotStyles, placeholder, root->handle().value(), w);

    for (const ZcDbStub& stub : m_impl.stubs) {
        const ZcDbObject* obj = stub.object.get();
        if (stub.erased || !obj || obj == root || ZcDbEntity::cast(obj) || isTablePart(obj))
            continue;
        // Objects of an erased owner (the extension dictionary of an erased entity) go with it.
        if (obj->ownerId().isErased())
            continue;
        if (const auto* raw = ZcDbRawObject::cast(obj))
            writeRawObject(*raw, w);
        else
            writeModelled(*obj, ownerHandle(*obj), false, w);
    }
    w.text(0, "ENDSEC");
}

void FileWriter::writeRawEntity(const ZcDbRawEntity& e, std::uint64_t owner, bool paperSpace,
                                GroupWriter& w) {
    const ZcDbDxfGroups& groups = e.groups();
    w.text(0, std::string_view(e.dxfName()));
    w.handle(5, e.handle().value());
    std::size_t i = writeLeadingApplicationGroups(groups, w);
    w.handle(330, owner);
    auto common = [&] {
        if (paperSpace)
            w.integer(67, 1);
        w.text(8, std::wstring_view(e.layer()));
        if (e.linetype() != L"ByLayer")
            w.text(6, std::wstring_view(e.linetype()));
        if (e.colorIndex() != 256)
            w.integer(62, e.colorIndex());
    };
    // The entity's own properties follow its AcDbEntity marker (or lead, for data of files
    // without subclass markers).
    const auto marker = std::find_if(groups.begin() + static_cast<std::ptrdiff_t>(i), groups.end(),
                                     [](const auto& g) { return g.first == 100 || g.first == 0; });
    if (marker == groups.end() || marker->first == 0 || marker->second != "AcDbEntity") {
        w.text(100, "AcDbEntity");
        common();
    }
    bool xdataWritten = false;
    for (; i < groups.size(); ++i) {
        // Records that follow the entity (vertices of a 3-D polyline) come after its own
        // extended data.
        if (groups[i].first == 0 && !xdataWritten) {
            writeXData(e.xDataApps(), w);
            xdataWritten = true;
        }
        writeKept(groups[i].first, groups[i].second, w);
        if (groups[i].first == 100 && groups[i].second == "AcDbEntity" &&
            groups.begin() + static_cast<std::ptrdiff_t>(i) == marker)
            common();
    }
    if (!xdataWritten)
        writeXData(e.xDataApps(), w);
}

void FileWriter::writeRawObject(const ZcDbRawObject& o, GroupWriter& w) {
    const ZcDbDxfGroups& groups = o.groups();
    w.text(0, std::string_view(o.dxfName()));
    w.handle(5, o.handle().value());
    std::size_t i = writeLeadingApplicationGroups(groups, w);
    w.handle(330, ownerHandle(o));
    for (; i < groups.size(); ++i)
        writeKept(groups[i].first, groups[i].second, w);
    writeXData(o.xDataApps(), w);
}

} // namespace gantrel::dxf
