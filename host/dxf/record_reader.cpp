// Reading one record: groups to fields through the schema, everything else kept.
#include <algorithm>
#include <cmath>

#include "angles.h"
#include "record_io.h"

namespace gantrel::dxf {

namespace {

// Gives a slot its field's default value.
void resetSlot(Value& v, const Field& f) {
    v.seen = false;
    v.line = 0;
    v.real = f.def.real;
    v.integer = f.def.integer;
    v.point = f.def.point;
    if (f.kind == FieldKind::Text || f.kind == FieldKind::BlockName)
        v.text = f.def.text;
    v.reals.clear();
    v.points.clear();
    v.handle = 0;
    v.id = ZcDbObjectId::kNull;
}

void accumulate(Value& v, const Field& f, std::uint8_t component, const Group& g,
                ReadContext& ctx) {
    if (!v.seen) {
        // Slots are reset when first used in a record: most fields of a record are absent.
        resetSlot(v, f);
        v.seen = true;
        v.line = g.line;
    }
    switch (f.kind) {
    case FieldKind::Real:
        v.real = ctx.real(g);
        break;
    case FieldKind::Angle:
        v.real = degreesToRadians(ctx.real(g));
        break;
    case FieldKind::Int16:
    case FieldKind::Int32:
    case FieldKind::Bool:
        v.integer = ctx.integer(g);
        break;
    case FieldKind::Text:
    case FieldKind::BlockName:
        v.text = ctx.text(g);
        break;
    case FieldKind::Point3:
    case FieldKind::Vector3:
    case FieldKind::Point2: {
        const double c = ctx.real(g);
        (component == 0 ? v.point.x : component == 1 ? v.point.y : v.point.z) = c;
        break;
    }
    case FieldKind::RealList:
        v.reals.push_back(ctx.real(g));
        break;
    case FieldKind::Point3List: {
        const double c = ctx.real(g);
        if (component == 0 || v.points.empty())
            v.points.emplace_back();
        ZcGePoint3d& p = v.points.back();
        (component == 0 ? p.x : component == 1 ? p.y : p.z) = c;
        break;
    }
    case FieldKind::Handle:
        v.handle = ctx.handle(g);
        break;
    case FieldKind::Sequence:
    case FieldKind::Ignored:
        break;
    }
}

// True when a group gives a field its default value (nothing is lost by dropping it).
bool isDefault(const Field& f, std::uint8_t component, const Group& g, ReadContext& ctx) {
    switch (valueType(g.code)) {
    case ValueType::Real: {
        const double v = ctx.real(g);
        if (f.kind == FieldKind::Point3 || f.kind == FieldKind::Vector3 ||
            f.kind == FieldKind::Point2)
            return v == (component == 0   ? f.def.point.x
                         : component == 1 ? f.def.point.y
                                          : f.def.point.z);
        return v == f.def.real;
    }
    case ValueType::Int16:
    case ValueType::Int32:
    case ValueType::Int64:
    case ValueType::Bool:
        return ctx.integer(g) == f.def.integer;
    case ValueType::Text:
        return ctx.text(g) == f.def.text;
    default:
        return false;
    }
}

bool appliesDefault(const Field& f) {
    if (!f.set || f.presence == Presence::ReadOnly)
        return false;
    switch (f.kind) {
    case FieldKind::RealList:
    case FieldKind::Point3List:
    case FieldKind::Handle:
    case FieldKind::BlockName:
    case FieldKind::Sequence:
    case FieldKind::Ignored:
        return false;
    default:
        return true;
    }
}

// Collects kept groups under the subclass marker they were found in. Each marker group of the
// record opens a new context; a kept group repeats the marker of its context once.
class KeptCollector {
public:
    explicit KeptCollector(ZcDbDxfGroups& kept) : m_kept(kept) {}
    void newContext(int markerCode, std::string_view marker, bool keepMarker) {
        ++m_context;
        m_code = markerCode;
        m_marker = marker;
        if (keepMarker) {
            m_kept.emplace_back(markerCode, std::string(marker));
            m_written = m_context;
        }
    }
    void add(int code, std::string value) {
        if (m_context > 0 && m_written != m_context) {
            m_kept.emplace_back(m_code, std::string(m_marker));
            m_written = m_context;
        }
        m_kept.emplace_back(code, std::move(value));
    }

private:
    ZcDbDxfGroups& m_kept;
    int m_context = 0;
    int m_written = 0;
    int m_code = 100;
    std::string_view m_marker;
};

} // namespace

std::size_t readXData(std::span<const Group> groups, std::size_t pos,
                      std::vector<ZcDbXDataApp>& apps, ReadContext& ctx) {
    while (pos < groups.size() && groups[pos].code >= 1000) {
        const Group& g = groups[pos++];
        if (g.code == 1001) {
            ZcDbXDataApp app;
            app.appName = ctx.text(g);
            apps.push_back(std::move(app));
            continue;
        }
        if (apps.empty() || g.code > 1071) {
            ctx.repair(g.line, "extended data group " + std::to_string(g.code) +
                                   " without an application name dropped");
            continue;
        }
        ZcDbXDataItem item;
        item.code = static_cast<short>(g.code);
        if (g.code == 1004) {
            std::vector<unsigned char> bytes;
            const std::string_view hex = trim(g.value);
            for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
                std::uint64_t b;
                if (!parseHandle(hex.substr(i, 2), b))
                    throw ReadError(g.line + 1, "group code 1004: binary data is not hexadecimal");
                bytes.push_back(static_cast<unsigned char>(b));
            }
            item.value = std::move(bytes);
        } else if (g.code < 1010) {
            item.value = ctx.text(g);
        } else if (g.code <= 1013) {
            ZcGePoint3d p(ctx.real(g), 0.0, 0.0);
            if (pos < groups.size() && groups[pos].code == g.code + 10)
                p.y = ctx.real(groups[pos++]);
            if (pos < groups.size() && groups[pos].code == g.code + 20)
                p.z = ctx.real(groups[pos++]);
            item.value = p;
        } else if (g.code < 1060) {
            item.value = ctx.real(g);
        } else if (g.code < 1071) {
            const std::int64_t v = ctx.integer(g);
            if (v < -32768 || v > 32767)
                throw ReadError(g.line + 1,
                                "group code " + std::to_string(g.code) + ": value out of range");
            item.value = static_cast<std::int16_t>(v);
        } else {
            item.value = static_cast<std::int32_t>(ctx.integer(g));
        }
        apps.back().items.push_back(std::move(item));
    }
    return pos;
}

void readRecord(const Schema& schema, void* object, void* target, std::span<const Group> groups,
                RecordInfo& info, ReadContext& ctx) {
    auto targetOf = [&](std::size_t field) {
        return schema.isCommonField(field) ? object : target;
    };
    ReadContext::FieldScratch& scratch = ctx.fieldScratch(schema);
    std::vector<Value>& slots = scratch.values;
    if (!scratch.defaultsFound) {
        for (std::size_t i = 0; i < slots.size(); ++i) {
            if (appliesDefault(schema.field(i)) && !schema.holdsDefault(i))
                scratch.defaults.push_back(static_cast<std::uint32_t>(i));
        }
        scratch.defaultsFound = true;
    }
    // Only the fields the last record gave are marked seen.
    for (std::uint32_t i : scratch.given)
        slots[i].seen = false;
    scratch.given.clear();

    KeptCollector kept(info.kept);
    int subclass = -1;       // the current known subclass
    std::string_view marker; // the current marker, known or not
    bool inMarker = false;   // a marker was seen
    bool inUnknown = false;  // the current marker is not in the schema
    GroupCursor cursor(groups);
    while (!cursor.done()) {
        const std::size_t at = cursor.position();
        const Group& g = cursor.take();
        const int code = g.code;
        if (code >= 1000) {
            if (code == 1001) {
                cursor.seek(readXData(groups, at, info.xdata, ctx));
            } else {
                ctx.repair(g.line, "extended data group " + std::to_string(code) +
                                       " without an application name dropped");
            }
            continue;
        }
        if (code == 100 || code == 101) {
            marker = trim(g.value);
            inMarker = true;
            const int found = code == 100 ? schema.findSubclass(marker, subclass) : -1;
            inUnknown = found < 0;
            if (!inUnknown)
                subclass = found;
            kept.newContext(code, marker, inUnknown);
            continue;
        }
        if (code == schema.handleCode() && !info.hasHandle) {
            info.handle = ctx.handle(g);
            info.hasHandle = true;
            continue;
        }
        if (code == 102) {
            // Application groups such as reactors: "{NAME" ... "}", kept as they are.
            kept.add(code, ctx.keptValue(g));
            if (!trim(g.value).starts_with("{"))
                continue;
            while (!cursor.done()) {
                const Group& inner = cursor.take();
                kept.add(inner.code, ctx.keptValue(inner));
                if (inner.code == 102)
                    break;
            }
            continue;
        }
        if (inUnknown) {
            kept.add(code, ctx.keptValue(g));
            continue;
        }
        if (code == 330 && !inMarker && !info.hasOwner) {
            info.owner = ctx.handle(g);
            info.hasOwner = true;
            continue;
        }
        Schema::Slot slot = schema.find(inMarker ? subclass : -1, code);
        if (slot.field < 0 && inMarker && schema.isEntity() && subclass != 0)
            slot = schema.find(0, code); // common entity groups given in a later subclass
        if (slot.field < 0) {
            if (code == 330 && !info.hasOwner) {
                info.owner = ctx.handle(g);
                info.hasOwner = true;
            } else if (code == 67 && schema.isEntity()) {
                info.paperSpace = ctx.integer(g) != 0;
            } else if (code == 410 && schema.isEntity()) {
                // The layout name follows from the owner.
            } else if (code == 999) {
                // A comment.
            } else if (inMarker) {
                kept.add(code, ctx.keptValue(g));
            } else {
                ctx.repairOnce("drop:" + schema.dxfName() + ":" + std::to_string(code), g.line,
                               "group code " + std::to_string(code) + " of " + schema.dxfName() +
                                   " is not read");
            }
            continue;
        }
        const Field& f = schema.field(static_cast<std::size_t>(slot.field));
        if (f.kind == FieldKind::Sequence) {
            cursor.seek(at);
            f.readSequence(target, cursor, ctx);
            if (cursor.position() == at)
                cursor.take(); // a sequence reader must consume its trigger
            continue;
        }
        if (!f.isModelled()) {
            if (inMarker)
                kept.add(code, ctx.keptValue(g));
            else if (!isDefault(f, slot.component, g, ctx))
                ctx.repairOnce("drop:" + schema.dxfName() + ":" + std::to_string(code), g.line,
                               "group code " + std::to_string(code) + " of " + schema.dxfName() +
                                   " is not read");
            continue;
        }
        Value& value = slots[static_cast<std::size_t>(slot.field)];
        if (!value.seen)
            scratch.given.push_back(static_cast<std::uint32_t>(slot.field));
        accumulate(value, f, slot.component, g, ctx);
    }

    // Defaults first, then the values read in table order, so that a field written later in
    // the table wins over an alternative form of the same value read earlier.
    for (std::uint32_t i : scratch.defaults) {
        if (!slots[i].seen) {
            const Field& f = schema.field(i);
            resetSlot(slots[i], f);
            f.set(targetOf(i), slots[i], ctx);
        }
    }
    std::sort(scratch.given.begin(), scratch.given.end());
    for (std::uint32_t i : scratch.given) {
        const Field& f = schema.field(i);
        if (!f.set)
            continue;
        if (f.set(targetOf(i), slots[i], ctx) == Zcad::eOk)
            continue;
        const std::string what =
            "the value of group code " + std::to_string(f.code) + " is not valid";
        // A property the entity shares with every other (layer, colour) falls back to its
        // default; a value of the kind's own makes the record one to keep raw.
        if (!schema.isCommonField(i))
            throw RecordError(slots[i].line, what);
        ctx.repair(slots[i].line, schema.dxfName() + ": " + what + "; the default is used");
        Value fallback;
        resetSlot(fallback, f);
        if (appliesDefault(f))
            f.set(targetOf(i), fallback, ctx);
    }
}

} // namespace gantrel::dxf
