#include "drawing/Blocks.h"

#include <cwctype>

#include "drawing/ZWDrawer.h"
#include "frame/Printer.h"
#include "winstandin.h"

namespace gantrel {

bool SameNameNoCase(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::towupper(static_cast<wint_t>(a[i])) != std::towupper(static_cast<wint_t>(b[i]))) {
            return false;
        }
    }
    return true;
}

ZcDbObjectId FindBlock(ZcDbDatabase* db, const std::wstring& name) {
    ZcDbObjectId id;
    ZcDbBlockTable* table = nullptr;
    if (db == nullptr || name.empty() || db->getBlockTable(table, ZcDb::kForRead) != Zcad::eOk) {
        return id;
    }
    if (table->getIdAt(name.c_str(), id) != Zcad::eOk) {
        id = ZcDbObjectId::kNull;
    }
    table->close();
    return id;
}

Blocks::Blocks() : m_db(WorkingDatabase()) {}

void Blocks::ListNames(std::vector<std::wstring>& names, bool skipLayouts) const {
    ZcDbBlockTable* table = nullptr;
    if (m_db == nullptr || m_db->getBlockTable(table, ZcDb::kForRead) != Zcad::eOk) {
        return;
    }
    const std::vector<ZcDbObjectId> records = table->recordIds();
    table->close();
    for (const ZcDbObjectId& id : records) {
        ZcDbBlockTableRecord* record = nullptr;
        if (zcdbOpenObject(record, id, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        if (!(skipLayouts && record->isLayout())) {
            names.push_back(record->name());
        }
        record->close();
    }
}

BlockLoader::BlockLoader() : m_db(WorkingDatabase()) {}

int BlockLoader::Load(const std::wstring& path, const std::wstring& name) {
    m_path = path;
    m_name = name;
    m_blockId = FindBlock(m_db, name);
    if (!m_blockId.isNull()) {
        return m_status = Zcad::eOk;
    }
    m_blockId = FindBlock(m_db, path);
    if (!m_blockId.isNull()) {
        m_name = path;
        return m_status = Zcad::eOk;
    }
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (m_db == nullptr || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return m_status = Zcad::eFileNotFound;
    }
    m_side = std::make_unique<ZcDbDatabase>(false, true);
    if (const Zcad::ErrorStatus es = m_side->readDwgFile(path.c_str()); es != Zcad::eOk) {
        m_side.reset();
        return m_status = es;
    }
    m_sideModelSpace = m_side->modelSpaceId();
    m_status = m_db->insert(m_blockId, name.c_str(), m_side.get());
    if (m_status == Zcad::eOk) {
        CarryInvisibility();
    }
    return m_status;
}

// The definitions of the new block follow the invisibility of those of the file's model space,
// matched by tag in any letter case.
void BlockLoader::CarryInvisibility() {
    ZcDbBlockTableRecord* sideModel = nullptr;
    if (zcdbOpenObject(sideModel, m_sideModelSpace, ZcDb::kForRead) != Zcad::eOk) {
        return;
    }
    const std::vector<ZcDbObjectId> sideEntities = sideModel->entityIds();
    sideModel->close();
    std::vector<ZcDbObjectId> blockEntities;
    ZcDbBlockTableRecord* block = nullptr;
    if (zcdbOpenObject(block, m_blockId, ZcDb::kForRead) == Zcad::eOk) {
        blockEntities = block->entityIds();
        block->close();
    }
    for (const ZcDbObjectId& sideId : sideEntities) {
        ZcDbAttributeDefinition* sideDef = nullptr;
        if (zcdbOpenObject(sideDef, sideId, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        const bool invisible = sideDef->isInvisible();
        const std::wstring tag = sideDef->tag();
        sideDef->close();
        if (!invisible) {
            continue;
        }
        for (const ZcDbObjectId& id : blockEntities) {
            ZcDbAttributeDefinition* def = nullptr;
            if (zcdbOpenObject(def, id, ZcDb::kForRead) != Zcad::eOk) {
                continue;
            }
            const bool same = SameNameNoCase(def->tag(), tag);
            def->close();
            if (!same) {
                continue;
            }
            Zcad::ErrorStatus es = zcdbOpenObject(def, id, ZcDb::kForWrite);
            if (es == Zcad::eOk) {
                es = def->setInvisible(true);
                def->close();
            }
            if (es != Zcad::eOk) {
                PrintErrorStatus(es);
            }
        }
    }
}

BlockByName::BlockByName(const std::wstring& name, bool allowLoading) {
    ZcDbDatabase* db = WorkingDatabase();
    m_id = FindBlock(db, name);
    if (!m_id.isNull() || !allowLoading) {
        return;
    }
    // The name is a file path: the block is named after the file.
    const std::size_t slash = name.find_last_of(L"\\/");
    std::wstring stem = slash == std::wstring::npos ? name : name.substr(slash + 1);
    const std::size_t dot = stem.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot > 0;
    if (hasExtension) {
        stem = stem.substr(0, dot);
    }
    m_id = FindBlock(db, stem);
    if (!m_id.isNull()) {
        return;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    const bool isFile =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    if (isFile && hasExtension) {
        BlockLoader loader;
        if (loader.Load(name, stem) == Zcad::eOk) {
            m_id = loader.BlockId();
        }
        return;
    }
    PrintOnCommandLine(L"\nIt's not possible to load file: " + name + L"\n", false);
}

std::vector<std::pair<std::wstring, std::wstring>>
BlockByName::AttributeDefinitions(bool includeConstant) const {
    std::vector<std::pair<std::wstring, std::wstring>> result;
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, m_id, ZcDb::kForRead) != Zcad::eOk) {
        return result;
    }
    const std::vector<ZcDbObjectId> entities = record->entityIds();
    record->close();
    for (const ZcDbObjectId& id : entities) {
        ZcDbAttributeDefinition* def = nullptr;
        if (zcdbOpenObject(def, id, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        if (includeConstant || !def->isConstant()) {
            result.emplace_back(def->tag(), def->textString());
        }
        def->close();
    }
    return result;
}

std::vector<ZcDbObjectId> BlockByName::References() const {
    std::vector<ZcDbObjectId> result;
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, m_id, ZcDb::kForRead) != Zcad::eOk) {
        return result;
    }
    ZcDbObjectIdArray ids;
    record->getBlockReferenceIds(ids);
    record->close();
    result.assign(ids.begin(), ids.end());
    return result;
}

std::wstring BlockByName::Name() const {
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, m_id, ZcDb::kForRead) != Zcad::eOk) {
        return {};
    }
    std::wstring name = record->name();
    record->close();
    return name;
}

ZcGePoint3d BlockByName::Origin() const {
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, m_id, ZcDb::kForRead) != Zcad::eOk) {
        return ZcGePoint3d::kOrigin;
    }
    const ZcGePoint3d origin = record->origin();
    record->close();
    return origin;
}

std::wstring PseudoAnonymousBlockNameGenerator::NextName() {
    std::vector<std::wstring> taken;
    Blocks().ListNames(taken, true);
    for (;;) {
        const std::wstring name = m_prefix + std::to_wstring(m_counter);
        ++m_counter;
        bool used = false;
        for (const std::wstring& t : taken) {
            if (SameNameNoCase(t, name)) {
                used = true;
                break;
            }
        }
        if (!used) {
            return name;
        }
    }
}

} // namespace gantrel
