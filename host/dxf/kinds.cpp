// The registry of record kinds by DXF name and by class.
#include "kinds.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>

#include "contexts.h"
#include "groups.h"
#include "record_io.h"
#include "zcdbblkref.h"

namespace gantrel::dxf {

namespace {

// A hash that looks names up without making strings of them.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};

struct Registry {
    std::unordered_map<std::string, std::vector<const Kind*>, NameHash, std::equal_to<>> byName;
    std::unordered_map<const ZcRxClass*, const Kind*> byClass;

    Registry() {
        ZcDbDatabase scratch(false);
        for (auto* list : {curveKinds, polylineKinds, splineKinds, textKinds, hatchKinds,
                           referenceKinds, annotationKinds, regionKinds, objectKinds}) {
            for (const Kind* k : list()) {
                byName[k->schema->dxfName()].push_back(k);
                byClass[k->cls] = k;
                markDefaults(*k, scratch);
            }
        }
    }

    // Finds the fields a new object holds at their default already, so that reading a record
    // without them sets nothing.
    static void markDefaults(const Kind& kind, const ZcDbDatabase& scratch) {
        const Schema& schema = *kind.schema;
        std::unique_ptr<ZcDbObject> fresh(kind.create());
        void* target = kind.beginRead(*fresh);
        WriteContext ctx(scratch);
        Value v;
        for (std::size_t i = 0; i < schema.fieldCount(); ++i) {
            const Field& f = schema.field(i);
            if (!f.get || !f.set || f.kind == FieldKind::Sequence)
                continue;
            f.get(schema.isCommonField(i) ? static_cast<void*>(fresh.get()) : target, v, ctx);
            if (equalsDefault(f, v))
                schema.markHoldsDefault(i);
        }
        if (kind.endWrite && target != fresh.get())
            kind.endWrite(target);
    }
};

const Registry& registry() {
    static const Registry r;
    return r;
}

// The first value of a group code among a record's groups, read as an integer.
bool firstInteger(std::span<const Group> groups, int code, std::int64_t& value) {
    for (const Group& g : groups)
        if (g.code == code)
            return parseInteger(g.value, value);
    return false;
}

bool hasGroup(std::span<const Group> groups, int code, std::string_view value = {}) {
    for (const Group& g : groups)
        if (g.code == code && (value.empty() || trim(g.value) == value))
            return true;
    return false;
}

const Kind* byClassName(const std::vector<const Kind*>& kinds, const ZcRxClass* cls) {
    for (const Kind* k : kinds)
        if (k->cls == cls)
            return k;
    return nullptr;
}

} // namespace

const Kind* kindForRecord(std::string_view dxfName, std::span<const Group> groups) {
    // Records of one name tend to come in runs: the last name found is looked at first.
    using Entry = std::pair<const std::string, std::vector<const Kind*>>;
    thread_local const Entry* last = nullptr;
    const Entry* it = last && last->first == dxfName ? last : nullptr;
    if (!it) {
        const auto& byName = registry().byName;
        const auto found = byName.find(dxfName);
        if (found == byName.end())
            return nullptr;
        it = last = &*found;
    }
    std::int64_t v = 0;
    if (dxfName == "INSERT") {
        const bool multiple = hasGroup(groups, 100, "AcDbMInsertBlock") ||
                              (firstInteger(groups, 70, v) && v > 1) ||
                              (firstInteger(groups, 71, v) && v > 1);
        return byClassName(it->second,
                           multiple ? ZcDbMInsertBlock::desc() : ZcDbBlockReference::desc());
    }
    if (dxfName == "DIMENSION") // only aligned dimensions are modelled
        return firstInteger(groups, 70, v) && (v & 7) == 1 ? it->second.front() : nullptr;
    if (dxfName == "POLYLINE") // 3-D polylines and meshes are kept raw
        return firstInteger(groups, 70, v) && (v & (8 | 16 | 64)) ? nullptr : it->second.front();
    if (dxfName == "REGION") // data in another section (AC1027 and later) is kept raw
        return hasGroup(groups, 1) ? it->second.front() : nullptr;
    return it->second.front();
}

const Kind* kindForObject(const ZcDbObject& obj) {
    const auto& r = registry();
    auto it = r.byClass.find(obj.isA());
    return it == r.byClass.end() ? nullptr : it->second;
}

const Kind& kindByName(std::string_view name) {
    const auto& r = registry();
    auto it = r.byName.find(name);
    if (it == r.byName.end())
        throw std::logic_error("no DXF kind " + std::string(name));
    return *it->second.front();
}

} // namespace gantrel::dxf
