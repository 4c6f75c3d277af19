// Insertion of a side database into the working one as a block definition: the source's model
// space becomes the new block; the layers, blocks and application names it uses come along.
#include <map>

#include "database_impl.h"

namespace {

class BlockCopier {
public:
    BlockCopier(ZcDbDatabase& target, ZcDbDatabase& source) : m_target(target), m_source(source) {}

    // Copies the entities of a source block record into a new record of the given name.
    Zcad::ErrorStatus copyBlock(ZcDbObjectId sourceBlock, const std::wstring& name,
                                const ZcGePoint3d& origin, ZcDbObjectId& newBlock) {
        auto* table = ZcDbAccess::objectAs<ZcDbBlockTable>(m_target.blockTableId());
        if (!table)
            return Zcad::eNoDatabase;
        if (table->has(name.c_str()))
            return Zcad::eDuplicateKey;
        auto* record = new ZcDbBlockTableRecord;
        record->setName(name.c_str());
        record->setOrigin(origin);
        newBlock = ZcDbAccess::addObject(m_target, record);
        ZcDbAccess::setOwner(record, m_target.blockTableId());
        ZcDbAccess::appendToTable(table, newBlock);
        m_blocks[sourceBlock] = newBlock;

        const auto* sourceRecord = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(sourceBlock);
        for (const ZcDbObjectId& id : sourceRecord->entityIds()) {
            const auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(id);
            if (!entity)
                continue;
            auto* copy = ZcDbEntity::cast(entity->clone());
            if (!copy)
                continue;
            if (auto es = remap(copy); es != Zcad::eOk) {
                delete copy;
                return es;
            }
            ZcDbObjectId copyId = ZcDbAccess::addObject(m_target, copy);
            ZcDbAccess::setOwner(copy, newBlock);
            ZcDbAccess::appendToBlock(record, copyId);
        }
        return Zcad::eOk;
    }

private:
    // Points the copy's references into the target database: its layer, its block, and the
    // application names of its extended data.
    Zcad::ErrorStatus remap(ZcDbEntity* copy) {
        copyLayer(copy->layer());
        for (const ZcDbXDataApp& app : copy->xDataApps())
            zcdbRegApp(&m_target, app.appName.c_str());
        if (auto* reference = ZcDbBlockReference::cast(copy)) {
            ZcDbObjectId block;
            if (auto es = targetBlock(reference->blockTableRecord(), block); es != Zcad::eOk)
                return es;
            reference->setBlockTableRecord(block);
        }
        if (auto* dimension = ZcDbAlignedDimension::cast(copy)) {
            ZcDbObjectId block;
            if (!dimension->dimBlockId().isNull() &&
                targetBlock(dimension->dimBlockId(), block) == Zcad::eOk)
                dimension->setDimBlockId(block);
            else
                dimension->setDimBlockId(ZcDbObjectId::kNull);
        }
        return Zcad::eOk;
    }

    // The target block standing for a source block: one of the same name when the target has it
    // (its definition wins, as when inserting a drawing by hand), else a copy.
    Zcad::ErrorStatus targetBlock(ZcDbObjectId sourceBlock, ZcDbObjectId& block) {
        if (auto it = m_blocks.find(sourceBlock); it != m_blocks.end()) {
            block = it->second;
            return Zcad::eOk;
        }
        const auto* record = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(sourceBlock);
        if (!record)
            return Zcad::eInvalidInput;
        auto* table = ZcDbAccess::objectAs<ZcDbBlockTable>(m_target.blockTableId());
        std::wstring name = record->name();
        if (record->isAnonymous()) {
            name = anonymousName(*table, name);
        } else if (table->getIdAt(name.c_str(), block) == Zcad::eOk) {
            m_blocks[sourceBlock] = block;
            return Zcad::eOk;
        }
        return copyBlock(sourceBlock, name, record->origin(), block);
    }

    static std::wstring anonymousName(const ZcDbBlockTable& table, const std::wstring& name) {
        const std::wstring prefix = name.size() > 1 ? name.substr(0, 2) : L"*U";
        for (int n = 1;; ++n) {
            std::wstring candidate = prefix + std::to_wstring(n);
            if (!table.has(candidate.c_str()))
                return candidate;
        }
    }

    void copyLayer(const std::wstring& name) {
        auto* layers = ZcDbAccess::objectAs<ZcDbLayerTable>(m_target.layerTableId());
        if (!layers || name.empty() || layers->has(name.c_str()))
            return;
        auto* sourceLayers = ZcDbAccess::objectAs<ZcDbLayerTable>(m_source.layerTableId());
        ZcDbObjectId sourceId;
        ZcDbSymbolTableRecord* layer = nullptr;
        if (sourceLayers && sourceLayers->getIdAt(name.c_str(), sourceId) == Zcad::eOk)
            layer = ZcDbSymbolTableRecord::cast(ZcDbAccess::object(sourceId)->clone());
        if (!layer) {
            layer = new ZcDbLayerTableRecord;
            layer->setName(name.c_str());
        }
        ZcDbObjectId id = ZcDbAccess::addObject(m_target, layer);
        ZcDbAccess::setOwner(layer, m_target.layerTableId());
        ZcDbAccess::appendToTable(layers, id);
    }

    ZcDbDatabase& m_target;
    ZcDbDatabase& m_source;
    std::map<ZcDbObjectId, ZcDbObjectId> m_blocks;
};

} // namespace

Zcad::ErrorStatus ZcDbDatabase::insert(ZcDbObjectId& blockId, const wchar_t* blockName,
                                       ZcDbDatabase* source, bool) {
    blockId = ZcDbObjectId::kNull;
    if (!source || source == this)
        return Zcad::eInvalidInput;
    if (!blockName || !*blockName)
        return Zcad::eNullBlockName;
    if (source->modelSpaceId().isNull() || blockTableId().isNull())
        return Zcad::eNoDatabase;
    ZcGePoint3d base;
    if (const auto* v = source->headerVar(L"INSBASE"))
        if (const auto* p = std::get_if<ZcGePoint3d>(v))
            base = *p;
    BlockCopier copier(*this, *source);
    return copier.copyBlock(source->modelSpaceId(), blockName, base, blockId);
}
