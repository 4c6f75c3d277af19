#include "takeoff/DescriptionBlocks.h"

#include "drawing/Blocks.h"
#include "drawing/ZWDrawer.h"
#include "frame/Printer.h"
#include "takeoff/CompanionSymbols.h"
#include "takeoff/TakeoffFiles.h"
#include "takeoff/TakeoffSettings.h"
#include "takeoff/ValueLists.h"

namespace gantrel {

std::vector<std::wstring> AttributeTags(ZcDbObjectId block, bool withConstant) {
    std::vector<std::wstring> tags;
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, block, ZcDb::kForRead) != Zcad::eOk) {
        return tags;
    }
    const std::vector<ZcDbObjectId> entities = record->entityIds();
    record->close();
    for (const ZcDbObjectId& id : entities) {
        ZcDbAttributeDefinition* definition = nullptr;
        if (zcdbOpenObject(definition, id, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        if (withConstant || !definition->isConstant()) {
            tags.push_back(definition->tag());
        }
        definition->close();
    }
    return tags;
}

std::vector<DescriptionBlock> DescriptionBlocks(ZcDbDatabase* db, const INI& settings) {
    std::vector<DescriptionBlock> blocks;
    for (const wchar_t* section : kDescriptionSections) {
        const std::wstring name = TemplateBlockName(settings.GetValue(section, L"Template"));
        const ZcDbObjectId id = FindBlock(db, name);
        if (!id.isNull()) {
            ZcDbBlockTableRecord* record = nullptr;
            std::wstring stored = name;
            if (zcdbOpenObject(record, id, ZcDb::kForRead) == Zcad::eOk) {
                stored = record->name();
                record->close();
            }
            blocks.push_back({id, stored, section});
        }
    }
    return blocks;
}

void SaveValueLists(ZcDbDatabase* db, const INI& settings,
                    const std::function<std::vector<std::wstring>(const DescriptionBlock&,
                                                                  const std::wstring&)>& valuesOf) {
    for (const DescriptionBlock& block : DescriptionBlocks(db, settings)) {
        for (const std::wstring& tag : AttributeTags(block.id, true)) {
            AddValues(db, tag, valuesOf(block, tag));
        }
    }
    ResetValueListSymbols();
}

std::optional<std::vector<std::wstring>> TemplateTags(const std::wstring& templatePath) {
    if (templatePath.empty()) {
        return std::nullopt;
    }
    const std::wstring name = TemplateBlockName(templatePath);
    ZcDbObjectId block = FindBlock(WorkingDatabase(), name);
    if (block.isNull()) {
        const std::wstring file = ResolveTemplateFile(templatePath);
        if (file.empty()) {
            PrintOnCommandLine(templatePath + L"! ", true);
            PrintErrorStatus(Zcad::eFileNotFound);
            return std::nullopt;
        }
        BlockLoader loader;
        if (const int status = loader.Load(file, name); status != Zcad::eOk) {
            PrintErrorStatus(status);
            PrintOnCommandLine(L" " + file, false);
            return std::nullopt;
        }
        block = loader.BlockId();
    }
    return AttributeTags(block, true);
}

} // namespace gantrel
