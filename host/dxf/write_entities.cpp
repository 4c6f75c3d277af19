// The BLOCKS and ENTITIES sections, and the writing of one entity with what follows it.
#include <cwctype>

#include "database_impl.h"
#include "kinds.h"
#include "object_kinds.h"
#include "record_io.h"
#include "writer.h"

namespace gantrel::dxf {

namespace {

bool isLayoutBlockName(const std::wstring& name) {
    auto startsWith = [&](const wchar_t* prefix) {
        std::size_t i = 0;
        for (; prefix[i]; ++i)
            if (i >= name.size() || std::towupper(name[i]) != std::towupper(prefix[i]))
                return false;
        return true;
    };
    return startsWith(L"*MODEL_SPACE") || startsWith(L"*PAPER_SPACE");
}

} // namespace

void FileWriter::writeBlocks(GroupWriter& w) {
    w.text(0, "SECTION");
    w.text(2, "BLOCKS");
    const auto* table = ZcDbAccess::objectAs<ZcDbBlockTable>(m_impl.blockTable);
    for (const ZcDbObjectId& id : table->recordIds()) {
        const auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(id);
        const std::uint64_t handle = id.handle().value();
        auto extras = m_impl.fileExtras.find(handle);
        const std::uint64_t begin = extras != m_impl.fileExtras.end() && extras->second.beginHandle
                                        ? extras->second.beginHandle
                                        : m_ctx.newHandle();
        const std::uint64_t end = extras != m_impl.fileExtras.end() && extras->second.endHandle
                                      ? extras->second.endHandle
                                      : m_ctx.newHandle();
        BlockData data;
        data.name = block->name();
        data.flags = static_cast<std::int16_t>(
            (block->isAnonymous() && !isLayoutBlockName(data.name) ? 1 : 0) |
            (block->hasAttributeDefinitions() ? 2 : 0));
        data.origin = block->origin();
        data.description = block->comments();
        RecordOut out;
        out.handle = begin;
        out.owner = handle;
        out.kept = keptOf(begin);
        m_ctx.currentObject = nullptr;
        m_ctx.currentKept = out.kept;
        writeRecord(blockBeginSchema(), nullptr, &data, out, w, m_ctx);
        if (id != m_impl.modelSpace && id != m_impl.paperSpace) {
            const bool paper = block->isLayout();
            for (const ZcDbObjectId& e : block->entityIds())
                writeEntity(*ZcDbAccess::object(e), handle, paper, w);
        }
        out.handle = end;
        out.kept = keptOf(end);
        writeRecord(blockEndSchema(), nullptr, &data, out, w, m_ctx);
    }
    writeDimensionBlocks(w);
    w.text(0, "ENDSEC");
}

void FileWriter::prepareDimensionBlocks() {
    const auto* table = ZcDbAccess::objectAs<ZcDbBlockTable>(m_impl.blockTable);
    int serial = 0;
    for (const ZcDbStub& stub : m_impl.stubs) {
        const auto* dim = ZcDbAlignedDimension::cast(stub.object.get());
        if (stub.erased || !dim || !dim->dimBlockId().isNull())
            continue;
        ZcDbVoidPtrArray pieces;
        if (dim->explode(pieces) != Zcad::eOk)
            continue;
        DimensionBlock block;
        do
            block.name = L"*D" + std::to_wstring(++serial);
        while (table->has(block.name.c_str()));
        for (void* p : pieces)
            block.entities.emplace_back(static_cast<ZcDbEntity*>(p));
        block.record = m_ctx.newHandle();
        block.begin = m_ctx.newHandle();
        for (std::size_t i = 0; i < block.entities.size(); ++i)
            block.handles.push_back(m_ctx.newHandle());
        block.end = m_ctx.newHandle();
        m_ctx.dimensionBlockNames[dim] = block.name;
        m_dimensionBlockOf[dim] = m_dimensionBlocks.size();
        m_dimensionBlocks.push_back(std::move(block));
    }
}

void FileWriter::writeDimensionBlockRecords(std::uint64_t table, GroupWriter& w) {
    for (const DimensionBlock& block : m_dimensionBlocks) {
        ZcDbBlockTableRecord record;
        record.setName(block.name.c_str());
        writeModelled(record, table, false, w, block.record);
    }
}

void FileWriter::writeDimensionBlocks(GroupWriter& w) {
    for (const DimensionBlock& block : m_dimensionBlocks) {
        BlockData data;
        data.name = block.name;
        data.flags = 1;
        RecordOut out;
        out.handle = block.begin;
        out.owner = block.record;
        m_ctx.currentObject = nullptr;
        m_ctx.currentKept = nullptr;
        writeRecord(blockBeginSchema(), nullptr, &data, out, w, m_ctx);
        for (std::size_t i = 0; i < block.entities.size(); ++i)
            writeModelled(*block.entities[i], block.record, false, w, block.handles[i]);
        out.handle = block.end;
        writeRecord(blockEndSchema(), nullptr, &data, out, w, m_ctx);
    }
}

void FileWriter::writeEntities(GroupWriter& w) {
    w.text(0, "SECTION");
    w.text(2, "ENTITIES");
    for (const auto& [space, paper] :
         {std::pair{m_impl.modelSpace, false}, std::pair{m_impl.paperSpace, true}}) {
        const auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(space);
        if (!block)
            continue;
        const std::uint64_t owner = space.handle().value();
        for (const ZcDbObjectId& e : block->entityIds())
            writeEntity(*ZcDbAccess::object(e), owner, paper, w);
    }
    w.text(0, "ENDSEC");
}

void FileWriter::writeEntity(const ZcDbObject& obj, std::uint64_t owner, bool paperSpace,
                             GroupWriter& w) {
    if (const auto* raw = ZcDbRawEntity::cast(&obj)) {
        writeRawEntity(*raw, owner, paperSpace, w);
        return;
    }
    if (!writeModelled(obj, owner, paperSpace, w))
        return;
    const std::uint64_t self = obj.handle().value();
    if (const auto* polyline = ZcDb2dPolyline::cast(&obj)) {
        for (const ZcDbObjectId& v : polyline->vertexIds())
            if (!v.isErased())
                writeModelled(*ZcDbAccess::object(v), self, paperSpace, w);
        writeSequenceEnd(*polyline, paperSpace, w);
    } else if (const auto* reference = ZcDbBlockReference::cast(&obj)) {
        const auto attributes = reference->attributeIds();
        bool any = false;
        for (const ZcDbObjectId& a : attributes) {
            if (a.isErased())
                continue;
            writeModelled(*ZcDbAccess::object(a), self, paperSpace, w);
            any = true;
        }
        if (any)
            writeSequenceEnd(*reference, paperSpace, w);
    }
}

bool FileWriter::writeModelled(const ZcDbObject& obj, std::uint64_t owner, bool paperSpace,
                               GroupWriter& w, std::uint64_t ownHandle) {
    const Kind* kind = kindForObject(obj);
    if (!kind)
        return false;
    const std::uint64_t handle = ownHandle ? ownHandle : obj.handle().value();
    RecordOut out;
    out.handle = handle;
    out.owner = owner;
    out.paperSpace = paperSpace;
    out.kept = keptOf(handle);
    ZcDbDxfGroups filtered;
    if (out.kept && kind->filterKept) {
        filtered = *out.kept;
        kind->filterKept(filtered);
    }
    std::vector<ZcDbXDataApp> xdata;
    out.xdata = &obj.xDataApps();
    if (kind->addXData) {
        xdata = obj.xDataApps();
        kind->addXData(obj, xdata, m_ctx);
        out.xdata = &xdata;
    }
    m_ctx.currentObject = &obj;
    m_ctx.currentKept = out.kept;
    void* target = kind->beginWrite(obj, m_ctx);
    if (out.kept && kind->filterKept)
        out.kept = &filtered;
    writeRecord(*kind->schema, &obj, target, out, w, m_ctx);
    if (kind->endWrite)
        kind->endWrite(target);
    return true;
}

void FileWriter::writeSequenceEnd(const ZcDbEntity& parent, bool paperSpace, GroupWriter& w) {
    auto extras = m_impl.fileExtras.find(parent.handle().value());
    const std::uint64_t handle = extras != m_impl.fileExtras.end() && extras->second.endHandle
                                     ? extras->second.endHandle
                                     : m_ctx.newHandle();
    w.text(0, "SEQEND");
    w.handle(5, handle);
    w.handle(330, parent.handle().value());
    w.text(100, "AcDbEntity");
    if (paperSpace)
        w.integer(67, 1);
    w.text(8, std::wstring_view(parent.layer()));
}

} // namespace gantrel::dxf
