// Schema look-up tables and the common entity subclass.
#include "schema.h"

#include <algorithm>
#include <atomic>

#include "contexts.h"
#include "zcdbents.h"

namespace gantrel::dxf {

namespace {

std::size_t nextSerial() {
    static std::atomic<std::size_t> serial{0};
    return serial++;
}

} // namespace

std::vector<std::pair<short, std::uint8_t>> Field::codes() const {
    std::vector<std::pair<short, std::uint8_t>> out{{code, 0}};
    switch (kind) {
    case FieldKind::Point3:
    case FieldKind::Vector3:
    case FieldKind::Point3List:
        out.push_back({static_cast<short>(code + 10), 1});
        out.push_back({static_cast<short>(code + 20), 2});
        break;
    case FieldKind::Point2:
        out.push_back({static_cast<short>(code + 10), 1});
        break;
    case FieldKind::Sequence:
        for (short t : triggers)
            out.push_back({t, 0});
        break;
    default:
        break;
    }
    return out;
}

Schema::Schema(std::string dxfName, std::vector<const Subclass*> subclasses, bool entity,
               int handleCode)
    : m_name(std::move(dxfName)), m_serial(nextSerial()), m_subclasses(std::move(subclasses)),
      m_entity(entity), m_handleCode(handleCode) {
    m_bySubclass.resize(m_subclasses.size());
    for (std::size_t s = 0; s < m_subclasses.size(); ++s) {
        m_bases.push_back(m_fieldCount);
        for (const Field& f : m_subclasses[s]->fields) {
            const auto index = static_cast<std::int32_t>(m_fieldCount++);
            m_fields.push_back(&f);
            for (auto [code, component] : f.codes()) {
                // The first field of a code wins, within its subclass and among all.
                const Slot slot{index, component};
                addFirst(m_bySubclass[s], code, slot);
                addFirst(m_any, code, slot);
            }
        }
    }
}

void Schema::addFirst(std::vector<Slot>& byCode, int code, Slot slot) {
    if (code < 0)
        return;
    const auto at = static_cast<std::size_t>(code);
    if (byCode.size() <= at)
        byCode.resize(at + 1);
    if (byCode[at].field < 0)
        byCode[at] = slot;
}

Schema::Slot Schema::find(int subclass, int code) const {
    const std::vector<Slot>& byCode =
        subclass < 0 ? m_any : m_bySubclass[static_cast<std::size_t>(subclass)];
    return code >= 0 && static_cast<std::size_t>(code) < byCode.size()
               ? byCode[static_cast<std::size_t>(code)]
               : Slot{};
}

int Schema::findSubclass(std::string_view marker, int after) const {
    const int n = static_cast<int>(m_subclasses.size());
    auto matches = [&](int i) {
        const Subclass& s = *m_subclasses[static_cast<std::size_t>(i)];
        return s.marker == marker || (!s.alias.empty() && s.alias == marker);
    };
    for (int i = after + 1; i < n; ++i)
        if (matches(i))
            return i;
    for (int i = 0; i <= after && i < n; ++i)
        if (matches(i))
            return i;
    return -1;
}

Field custom(short code, FieldKind kind, Presence presence, Default def, FieldGet get,
             FieldSet set) {
    Field f;
    f.code = code;
    f.kind = kind;
    f.presence = presence;
    f.def = def;
    f.get = get;
    f.set = set;
    return f;
}

Field unmodelled(short code, FieldKind kind, Default def, Presence presence) {
    Field f;
    f.code = code;
    f.kind = kind;
    f.presence = presence;
    f.def = def;
    return f;
}

Field ignored(short code, FieldKind kind) {
    Field f;
    f.code = code;
    f.kind = kind;
    f.presence = Presence::ReadOnly;
    f.kind = FieldKind::Ignored;
    (void)kind;
    return f;
}

Field sequence(short code, std::initializer_list<short> triggers, SequenceRead read,
               SequenceWrite write) {
    Field f;
    f.code = code;
    f.kind = FieldKind::Sequence;
    f.readSequence = read;
    f.writeSequence = write;
    f.triggers = triggers;
    return f;
}

const Subclass& entitySubclass() {
    static const Subclass subclass{
        "AcDbEntity",
        {
            custom(
                8, FieldKind::Text, Presence::Always, L"0",
                [](const void* t, Value& v, WriteContext&) {
                    v.text = static_cast<const ZcDbEntity*>(t)->layer();
                },
                [](void* t, const Value& v, ReadContext&) {
                    return static_cast<ZcDbEntity*>(t)->setLayer(v.text.c_str(), false, true);
                }),
            custom(
                6, FieldKind::Text, Presence::Optional, L"ByLayer",
                [](const void* t, Value& v, WriteContext&) {
                    v.text = static_cast<const ZcDbEntity*>(t)->linetype();
                },
                [](void* t, const Value& v, ReadContext&) {
                    return static_cast<ZcDbEntity*>(t)->setLinetype(v.text.c_str());
                }),
            custom(
                62, FieldKind::Int16, Presence::Optional, 256,
                [](const void* t, Value& v, WriteContext&) {
                    v.integer = static_cast<const ZcDbEntity*>(t)->colorIndex();
                },
                [](void* t, const Value& v, ReadContext&) {
                    if (v.integer < 0 || v.integer > 256)
                        return Zcad::eInvalidInput;
                    return static_cast<ZcDbEntity*>(t)->setColorIndex(
                        static_cast<std::int16_t>(v.integer), false);
                }),
            // Proxy graphics describe the entity as it was drawn; they go stale once it changes.
            ignored(92, FieldKind::Int32),
            ignored(160, FieldKind::Int32),
            ignored(310),
        }};
    return subclass;
}

} // namespace gantrel::dxf
