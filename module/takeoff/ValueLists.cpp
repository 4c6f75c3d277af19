#include "takeoff/ValueLists.h"

#include "frame/Ini.h"
#include "frame/Printer.h"
#include "takeoff/PrzedmiarStore.h"
#include "takeoff/TakeoffFiles.h"

#include <algorithm>
#include <optional>

namespace gantrel {

namespace {

int WriteList(ZcDbDatabase* db, const std::wstring& tag, const std::vector<std::wstring>& values) {
    const int status = WritePrzedmiarEntry(db, tag, values);
    if (status != Zcad::eOk) {
        PrintErrorStatus(status);
    }
    return status;
}

struct Definition {
    std::wstring tag;
    std::wstring text;
    bool constant = false;
};

std::vector<Definition> Definitions(ZcDbObjectId block) {
    std::vector<Definition> definitions;
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, block, ZcDb::kForRead) != Zcad::eOk) {
        return definitions;
    }
    const std::vector<ZcDbObjectId> entities = record->entityIds();
    record->close();
    for (const ZcDbObjectId& id : entities) {
        ZcDbAttributeDefinition* definition = nullptr;
        if (zcdbOpenObject(definition, id, ZcDb::kForRead) == Zcad::eOk) {
            definitions.push_back(
                {definition->tag(), definition->textString(), definition->isConstant()});
            definition->close();
        }
    }
    return definitions;
}

// The text of the reference's attribute of the tag; nothing when it has no such attribute.
std::optional<std::wstring> AttributeText(ZcDbObjectId reference, const std::wstring& tag) {
    ZcDbBlockReference* insert = nullptr;
    if (zcdbOpenObject(insert, reference, ZcDb::kForRead) != Zcad::eOk) {
        return std::nullopt;
    }
    const std::vector<ZcDbObjectId> attributes = insert->attributeIds();
    insert->close();
    for (const ZcDbObjectId& id : attributes) {
        ZcDbAttribute* attribute = nullptr;
        if (zcdbOpenObject(attribute, id, ZcDb::kForRead) != Zcad::eOk) {
            continue;
        }
        const bool same = INI::SameName(attribute->tag(), tag);
        std::wstring text = attribute->textString();
        attribute->close();
        if (same) {
            return text;
        }
    }
    return std::nullopt;
}

} // namespace

std::vector<std::wstring> WithoutRepeats(std::vector<std::wstring> values) {
    std::vector<std::wstring> kept;
    for (std::wstring& value : values) {
        if (std::find(kept.begin(), kept.end(), value) == kept.end()) {
            kept.push_back(std::move(value));
        }
    }
    return kept;
}

bool HoldsNoCase(const std::vector<std::wstring>& values, const std::wstring& value) {
    return std::any_of(values.begin(), values.end(),
                       [&](const std::wstring& v) { return INI::SameName(v, value); });
}

std::vector<std::wstring> ReadValueList(ZcDbDatabase* db, const std::wstring& tag) {
    return ReadPrzedmiarEntry(db, tag);
}

int AddValues(ZcDbDatabase* db, const std::wstring& tag, const std::vector<std::wstring>& values) {
    if (values.empty()) {
        return Zcad::eOk;
    }
    std::vector<std::wstring> joined = ReadValueList(db, tag);
    joined.insert(joined.end(), values.begin(), values.end());
    return WriteList(db, tag, WithoutRepeats(std::move(joined)));
}

int RemoveValue(ZcDbDatabase* db, const std::wstring& tag, const std::wstring& value) {
    std::vector<std::wstring> stored = WithoutRepeats(ReadValueList(db, tag));
    const auto match = std::find_if(stored.begin(), stored.end(),
                                    [&](const std::wstring& v) { return INI::SameName(v, value); });
    if (match == stored.end()) {
        return Zcad::eOk;
    }
    stored.erase(match);
    return WriteList(db, tag, stored);
}

std::vector<std::wstring> ReferenceValues(ZcDbObjectId block, const std::wstring& tag) {
    std::vector<std::wstring> values;
    ZcDbBlockTableRecord* record = nullptr;
    if (zcdbOpenObject(record, block, ZcDb::kForRead) != Zcad::eOk) {
        return values;
    }
    ZcDbObjectIdArray references;
    record->getBlockReferenceIds(references);
    record->close();
    std::optional<std::wstring> constantText;
    for (const Definition& definition : Definitions(block)) {
        if (definition.constant && definition.tag == tag) {
            constantText = definition.text;
            break;
        }
    }
    for (const ZcDbObjectId& reference : references) {
        std::optional<std::wstring> text = AttributeText(reference, tag);
        if (!text) {
            text = constantText;
        }
        if (text && !text->empty()) {
            values.push_back(std::move(*text));
        }
    }
    return WithoutRepeats(std::move(values));
}

std::vector<std::wstring> GatherValueList(const std::vector<std::wstring>& stored,
                                          const std::vector<std::wstring>& inDrawing,
                                          const std::vector<std::wstring>& fromCfg) {
    std::vector<std::wstring> gathered;
    for (const std::vector<std::wstring>* source : {&stored, &inDrawing, &fromCfg}) {
        for (const std::wstring& value : *source) {
            if (!HoldsNoCase(gathered, value)) {
                gathered.push_back(value);
            }
        }
    }
    return gathered;
}

std::vector<std::wstring> GatherTagValues(ZcDbDatabase* db, ZcDbObjectId block,
                                          const std::wstring& tag) {
    return GatherValueList(ReadValueList(db, tag), ReferenceValues(block, tag), ReadCfgBlock(tag));
}

} // namespace gantrel
