// The description of a DXF record kind, once, as a table: for each subclass its marker and its
// fields (group code, value kind, default, how the value reaches the object). The same table
// drives reading (record_reader.cpp) and writing (record_writer.cpp).
//
// A field's accessors work on a "target": the object itself, or a staging struct for kinds
// whose object is set up in one call (a spline's NURBS data). Fields without accessors are
// unmodelled: a value read goes to the kept groups and is written back in its place; a file
// without one gets the default.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "groups.h"
#include "zcdb.h"

namespace gantrel::dxf {

class ReadContext;
class WriteContext;
class GroupWriter;

enum class FieldKind : std::uint8_t {
    Real,
    Angle, // radians in the object, degrees in the file
    Int16,
    Int32,
    Bool, // 0 or 1
    Text,
    Point3,  // code, code + 10, code + 20
    Vector3, // as Point3
    Point2,  // code, code + 10
    RealList,
    Point3List,
    Handle,    // an object referenced by handle
    BlockName, // a block table record referenced by name
    Sequence,  // groups read and written by the field's own functions
    Ignored,   // read and dropped (caches that go stale when the object changes)
};

enum class Presence : std::uint8_t {
    Always,   // written every time
    Optional, // written when not the default
    ReadOnly, // only read (an alternative form of another field)
};

// The value of one field while it travels between the file and the object.
struct Value {
    double real = 0.0;
    std::int64_t integer = 0;
    ZcGePoint3d point;
    std::wstring text;
    std::vector<double> reals;
    std::vector<ZcGePoint3d> points;
    std::uint64_t handle = 0;
    ZcDbObjectId id;
    std::size_t line = 0;
    bool seen = false;
};

using FieldGet = void (*)(const void* target, Value& out, WriteContext& ctx);
using FieldSet = Zcad::ErrorStatus (*)(void* target, const Value& in, ReadContext& ctx);
using SequenceRead = void (*)(void* target, GroupCursor& cursor, ReadContext& ctx);
using SequenceWrite = void (*)(const void* target, GroupWriter& writer, WriteContext& ctx);

// A default value of any field kind.
struct Default {
    double real = 0.0;
    std::int64_t integer = 0;
    ZcGePoint3d point;
    const wchar_t* text = L"";
    constexpr Default() = default;
    constexpr Default(double r) : real(r) {}
    constexpr Default(int i) : real(i), integer(i) {}
    constexpr Default(const ZcGePoint3d& p) : point(p) {}
    constexpr Default(const ZcGeVector3d& v) : point(v.x, v.y, v.z) {}
    constexpr Default(const wchar_t* t) : text(t) {}
};

// The default normal: the world z axis.
inline constexpr Default kZ{ZcGePoint3d(0.0, 0.0, 1.0)};

struct Field {
    short code = 0;
    FieldKind kind = FieldKind::Real;
    Presence presence = Presence::Always;
    Default def;
    FieldGet get = nullptr;
    FieldSet set = nullptr;
    SequenceRead readSequence = nullptr;
    SequenceWrite writeSequence = nullptr;
    // Further group codes that start a sequence field.
    std::vector<short> triggers;

    bool isModelled() const { return get || set || readSequence; }
    // Group codes this field reads, with the coordinate each one gives (0 x, 1 y, 2 z).
    std::vector<std::pair<short, std::uint8_t>> codes() const;
};

struct Subclass {
    std::string marker;
    std::vector<Field> fields;
    // Another marker other writers use for the same subclass.
    std::string alias = {};
};

class Schema {
public:
    // subclasses: in file order; the first of an entity is the common AcDbEntity subclass.
    Schema(std::string dxfName, std::vector<const Subclass*> subclasses, bool entity,
           int handleCode = 5);

    const std::string& dxfName() const { return m_name; }
    bool isEntity() const { return m_entity; }
    int handleCode() const { return m_handleCode; }
    const std::vector<const Subclass*>& subclasses() const { return m_subclasses; }
    std::size_t fieldCount() const { return m_fieldCount; }
    // Index of the first field of a subclass among all fields of the schema.
    std::size_t fieldBase(std::size_t subclass) const { return m_bases[subclass]; }

    struct Slot {
        std::int32_t field = -1; // index among all fields, -1 when the code is not described
        std::uint8_t component = 0;
    };
    // The field of a group code within one subclass, or within any (subclass -1, for files
    // without subclass markers).
    Slot find(int subclass, int code) const;
    // The next subclass with this marker after the given one (then from the start); -1 if none.
    int findSubclass(std::string_view marker, int after) const;
    const Field& field(std::size_t index) const { return *m_fields[index]; }
    // A number of the schema among all schemas, from 0 up.
    std::size_t serial() const { return m_serial; }
    // Fields whose default a new object (or staging struct) already holds: reading does not
    // set them when the record has no value for them. Marked once by the kind registry.
    bool holdsDefault(std::size_t field) const {
        return field < m_holdsDefault.size() && m_holdsDefault[field];
    }
    void markHoldsDefault(std::size_t field) const {
        m_holdsDefault.resize(m_fieldCount, false);
        m_holdsDefault[field] = true;
    }
    // True for the fields of an entity's common subclass, which work on the object itself.
    bool isCommonField(std::size_t index) const {
        return m_entity && m_subclasses.size() > 1 && index < m_bases[1];
    }

private:
    // Slots by group code (a table as long as the largest code described): reading looks up
    // every group of a file.
    static void addFirst(std::vector<Slot>& byCode, int code, Slot slot);

    std::string m_name;
    std::size_t m_serial;
    std::vector<const Subclass*> m_subclasses;
    bool m_entity;
    int m_handleCode;
    std::vector<std::size_t> m_bases;
    std::vector<const Field*> m_fields;
    std::size_t m_fieldCount = 0;
    std::vector<std::vector<Slot>> m_bySubclass;
    std::vector<Slot> m_any;
    mutable std::vector<bool> m_holdsDefault;
};

// --- building fields ------------------------------------------------------------------------

// The largest value of an enumeration a field sets; a value outside [0, max] is refused before
// it becomes the enumeration. Specialized where an enumeration is used in a table.
template <class E> struct EnumRange;

namespace detail {

template <class M> struct MemberGetter;
template <class C, class R> struct MemberGetter<R (C::*)() const> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class M> struct MemberSetter;
template <class C, class A> struct MemberSetter<Zcad::ErrorStatus (C::*)(A)> {
    using Class = C;
    using Arg = std::remove_cvref_t<A>;
};
template <class M> struct MemberData;
template <class C, class T> struct MemberData<T C::*> {
    using Class = C;
    using Type = T;
};

template <class T> void store(Value& v, const T& x) {
    if constexpr (std::is_same_v<T, double> || std::is_same_v<T, float>)
        v.real = x;
    else if constexpr (std::is_same_v<T, bool>)
        v.integer = x ? 1 : 0;
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
        v.integer = static_cast<std::int64_t>(x);
    else if constexpr (std::is_same_v<T, ZcGePoint3d>)
        v.point = x;
    else if constexpr (std::is_same_v<T, ZcGeVector3d>)
        v.point = ZcGePoint3d(x.x, x.y, x.z);
    else if constexpr (std::is_same_v<T, ZcGePoint2d>)
        v.point = ZcGePoint3d(x.x, x.y, 0.0);
    else if constexpr (std::is_same_v<T, std::wstring>)
        v.text = x;
    else if constexpr (std::is_same_v<T, ZcDbObjectId>)
        v.id = x;
    else if constexpr (std::is_same_v<T, std::vector<double>> || std::is_same_v<T, ZcGeDoubleArray>)
        v.reals.assign(x.begin(), x.end());
    else if constexpr (std::is_same_v<T, std::vector<ZcGePoint3d>> ||
                       std::is_same_v<T, ZcGePoint3dArray>)
        v.points.assign(x.begin(), x.end());
    else
        static_assert(sizeof(T) == 0, "no DXF value for this type");
}

template <class T> T load(const Value& v) {
    if constexpr (std::is_same_v<T, double> || std::is_same_v<T, float>)
        return static_cast<T>(v.real);
    else if constexpr (std::is_same_v<T, bool>)
        return v.integer != 0;
    else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
        return static_cast<T>(v.integer);
    else if constexpr (std::is_same_v<T, ZcGePoint3d>)
        return v.point;
    else if constexpr (std::is_same_v<T, ZcGeVector3d>)
        return ZcGeVector3d(v.point.x, v.point.y, v.point.z);
    else if constexpr (std::is_same_v<T, ZcGePoint2d>)
        return ZcGePoint2d(v.point.x, v.point.y);
    else if constexpr (std::is_same_v<T, std::wstring>)
        return v.text;
    else if constexpr (std::is_same_v<T, ZcDbObjectId>)
        return v.id;
    else if constexpr (std::is_same_v<T, std::vector<double>>)
        return v.reals;
    else if constexpr (std::is_same_v<T, ZcGeDoubleArray>) {
        ZcGeDoubleArray a;
        for (double d : v.reals)
            a.append(d);
        return a;
    } else if constexpr (std::is_same_v<T, std::vector<ZcGePoint3d>>)
        return v.points;
    else if constexpr (std::is_same_v<T, ZcGePoint3dArray>) {
        ZcGePoint3dArray a;
        for (const ZcGePoint3d& p : v.points)
            a.append(p);
        return a;
    } else
        static_assert(sizeof(T) == 0, "no DXF value for this type");
}

} // namespace detail

// A field read and written through an object's getter and one-argument setter.
template <auto Getter, auto Setter>
Field prop(short code, FieldKind kind, Presence presence = Presence::Always, Default def = {}) {
    using G = detail::MemberGetter<decltype(Getter)>;
    using S = detail::MemberSetter<decltype(Setter)>;
    Field f;
    f.code = code;
    f.kind = kind;
    f.presence = presence;
    f.def = def;
    f.get = [](const void* t, Value& v, WriteContext&) {
        detail::store(v, (static_cast<const typename G::Class*>(t)->*Getter)());
    };
    f.set = [](void* t, const Value& v, ReadContext&) -> Zcad::ErrorStatus {
        auto* obj = static_cast<typename S::Class*>(t);
        if constexpr (std::is_enum_v<typename S::Arg>) {
            if (v.integer < 0 || v.integer > EnumRange<typename S::Arg>::max)
                return Zcad::eInvalidInput;
        }
        if constexpr (std::is_same_v<typename S::Arg, const wchar_t*>)
            return (obj->*Setter)(v.text.c_str());
        else
            return (obj->*Setter)(detail::load<typename S::Arg>(v));
    };
    return f;
}

// A field of a plain staging struct.
template <auto Member>
Field member(short code, FieldKind kind, Presence presence = Presence::Always, Default def = {}) {
    using M = detail::MemberData<decltype(Member)>;
    Field f;
    f.code = code;
    f.kind = kind;
    f.presence = presence;
    f.def = def;
    f.get = [](const void* t, Value& v, WriteContext&) {
        detail::store(v, static_cast<const typename M::Class*>(t)->*Member);
    };
    f.set = [](void* t, const Value& v, ReadContext&) -> Zcad::ErrorStatus {
        static_cast<typename M::Class*>(t)->*Member = detail::load<typename M::Type>(v);
        return Zcad::eOk;
    };
    return f;
}

// A field with its own accessors (for values that need the contexts or a conversion).
Field custom(short code, FieldKind kind, Presence presence, Default def, FieldGet get,
             FieldSet set);
// A value the objects do not model: kept from the file, else written as the default.
Field unmodelled(short code, FieldKind kind, Default def = {},
                 Presence presence = Presence::Always);
// A value read and dropped.
Field ignored(short code, FieldKind kind = FieldKind::Text);
// Groups with a structure of their own, started by code or any of the triggers.
Field sequence(short code, std::initializer_list<short> triggers, SequenceRead read,
               SequenceWrite write);

// The common subclass of every entity: layer, linetype, colour.
const Subclass& entitySubclass();

} // namespace gantrel::dxf
