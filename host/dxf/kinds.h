// Record kinds: a schema together with the class it reads into and writes from. Kinds whose
// object is built in one call read into a staging struct that is stored when the record ends.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "raw_objects.h"
#include "schema.h"

namespace gantrel::dxf {

struct Kind {
    const Schema* schema = nullptr;
    // Objects of exactly this class are written by this kind.
    const ZcRxClass* cls = nullptr;
    ZcDbObject* (*create)() = nullptr;
    // The target of the schema's own fields while reading (the object, or a new staging struct).
    void* (*beginRead)(ZcDbObject& obj) = nullptr;
    // Completes the object from the target and releases a staging struct. A failure leaves the
    // record to be kept raw.
    Zcad::ErrorStatus (*endRead)(void* target, ZcDbObject& obj, ReadContext& ctx) = nullptr;
    // The target while writing, and its release.
    void* (*beginWrite)(const ZcDbObject& obj, WriteContext& ctx) = nullptr;
    void (*endWrite)(void* target) = nullptr;
    // Removes kept groups that this kind writes itself from the staging struct (values kept
    // only while they still agree with the object).
    void (*filterKept)(ZcDbDxfGroups& kept) = nullptr;
    // Adds the values the kind writes as extended data (dimension style overrides).
    void (*addXData)(const ZcDbObject& obj, std::vector<ZcDbXDataApp>& apps,
                     WriteContext& ctx) = nullptr;
};

template <class E> Kind directKind(const Schema& schema) {
    Kind k;
    k.schema = &schema;
    k.cls = E::desc();
    k.create = []() -> ZcDbObject* { return new E; };
    k.beginRead = [](ZcDbObject& o) -> void* { return &o; };
    k.beginWrite = [](const ZcDbObject& o, WriteContext&) -> void* {
        return const_cast<ZcDbObject*>(&o);
    };
    return k;
}

// A kind read through a staging struct S: load fills S from an object for writing, store
// builds the object from S after reading.
template <class S, class E, void (*Load)(const E&, S&, WriteContext&),
          Zcad::ErrorStatus (*Store)(S&, E&, ReadContext&)>
Kind stagedKind(const Schema& schema) {
    Kind k;
    k.schema = &schema;
    k.cls = E::desc();
    k.create = []() -> ZcDbObject* { return new E; };
    k.beginRead = [](ZcDbObject&) -> void* { return new S; };
    k.endRead = [](void* t, ZcDbObject& o, ReadContext& ctx) {
        S* s = static_cast<S*>(t);
        const Zcad::ErrorStatus es = Store(*s, static_cast<E&>(o), ctx);
        delete s;
        return es;
    };
    k.beginWrite = [](const ZcDbObject& o, WriteContext& ctx) -> void* {
        S* s = new S;
        Load(static_cast<const E&>(o), *s, ctx);
        return s;
    };
    k.endWrite = [](void* t) { delete static_cast<S*>(t); };
    return k;
}

// The kind that reads a record of this DXF name (the groups decide between kinds of one
// name); null for a name no kind reads.
const Kind* kindForRecord(std::string_view dxfName, std::span<const struct Group> groups);
// The kind that writes an object; null for classes written otherwise (raw objects, tables).
const Kind* kindForObject(const ZcDbObject& obj);

// The kinds of each group of records, registered by kinds.cpp.
std::vector<const Kind*> curveKinds();
std::vector<const Kind*> polylineKinds();
std::vector<const Kind*> splineKinds();
std::vector<const Kind*> textKinds();
std::vector<const Kind*> hatchKinds();
std::vector<const Kind*> referenceKinds();
std::vector<const Kind*> annotationKinds();
std::vector<const Kind*> regionKinds();
std::vector<const Kind*> objectKinds();

// Kinds looked up by name for the section readers: POLYLINE's VERTEX, INSERT's ATTRIB...
const Kind& kindByName(std::string_view name);

} // namespace gantrel::dxf
