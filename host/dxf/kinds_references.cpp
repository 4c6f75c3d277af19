// Block references, single and repeated in rows and columns. Their attributes follow them as
// records of their own (section_entities.cpp).
#include "contexts.h"
#include "kinds.h"
#include "ocs.h"
#include "zcdbblkref.h"

namespace gantrel::dxf {

namespace {

using Ref = ZcDbBlockReference;

Field blockName() {
    return custom(
        2, FieldKind::BlockName, Presence::Always, L"",
        [](const void* t, Value& v, WriteContext&) {
            v.id = static_cast<const Ref*>(t)->blockTableRecord();
            v.text.clear();
        },
        [](void*, const Value& v, ReadContext& ctx) {
            ctx.referToBlock(
                v.text,
                [](ZcDbObject& o, ZcDbObjectId id) {
                    return static_cast<Ref&>(o).setBlockTableRecord(id);
                },
                v.line);
            return Zcad::eOk;
        });
}

Field position() {
    return custom(
        10, FieldKind::Point3, Presence::Always, {},
        [](const void* t, Value& v, WriteContext&) {
            const Ref& r = *static_cast<const Ref*>(t);
            v.point = worldToOcs(r.normal(), r.position());
        },
        [](void* t, const Value& v, ReadContext&) {
            return static_cast<Ref*>(t)->setPosition(v.point);
        });
}

// One of the three scale factors.
template <double ZcGeScale3d::*Factor> Field scale(short code) {
    return custom(
        code, FieldKind::Real, Presence::Optional, 1.0,
        [](const void* t, Value& v, WriteContext&) {
            v.real = static_cast<const Ref*>(t)->scaleFactors().*Factor;
        },
        [](void* t, const Value& v, ReadContext&) {
            Ref& r = *static_cast<Ref*>(t);
            ZcGeScale3d s = r.scaleFactors();
            s.*Factor = v.real;
            return r.setScaleFactors(s);
        });
}

Zcad::ErrorStatus positionToWorld(void* t, ZcDbObject&, ReadContext&) {
    Ref& r = *static_cast<Ref*>(t);
    return isWorldZ(r.normal()) ? Zcad::eOk : r.setPosition(ocsToWorld(r.normal(), r.position()));
}

std::vector<Field> referenceFields(bool multiple) {
    std::vector<Field> fields;
    fields.push_back(custom(
        66, FieldKind::Int16, Presence::Optional, 0,
        [](const void* t, Value& v, WriteContext&) {
            v.integer = static_cast<const Ref*>(t)->attributeIds().empty() ? 0 : 1;
        },
        [](void*, const Value&, ReadContext&) { return Zcad::eOk; }));
    fields.push_back(blockName());
    fields.push_back(position());
    fields.push_back(scale<&ZcGeScale3d::sx>(41));
    fields.push_back(scale<&ZcGeScale3d::sy>(42));
    fields.push_back(scale<&ZcGeScale3d::sz>(43));
    fields.push_back(
        prop<&Ref::rotation, &Ref::setRotation>(50, FieldKind::Angle, Presence::Optional, 0.0));
    if (multiple) {
        using M = ZcDbMInsertBlock;
        fields.push_back(
            prop<&M::columns, &M::setColumns>(70, FieldKind::Int16, Presence::Optional, 1));
        fields.push_back(prop<&M::rows, &M::setRows>(71, FieldKind::Int16, Presence::Optional, 1));
        fields.push_back(prop<&M::columnSpacing, &M::setColumnSpacing>(44, FieldKind::Real,
                                                                       Presence::Optional, 0.0));
        fields.push_back(
            prop<&M::rowSpacing, &M::setRowSpacing>(45, FieldKind::Real, Presence::Optional, 0.0));
    } else {
        // A reference of one copy: the array groups say one column and one row.
        fields.push_back(unmodelled(70, FieldKind::Int16, 1, Presence::Optional));
        fields.push_back(unmodelled(71, FieldKind::Int16, 1, Presence::Optional));
        fields.push_back(unmodelled(44, FieldKind::Real, 0.0, Presence::Optional));
        fields.push_back(unmodelled(45, FieldKind::Real, 0.0, Presence::Optional));
    }
    fields.push_back(
        prop<&Ref::normal, &Ref::setNormal>(210, FieldKind::Vector3, Presence::Optional, kZ));
    return fields;
}

const Subclass kReference{"AcDbBlockReference", referenceFields(false)};
const Subclass kMultipleReference{"AcDbMInsertBlock", referenceFields(true), "AcDbBlockReference"};

} // namespace

std::vector<const Kind*> referenceKinds() {
    static const Schema insert("INSERT", {&entitySubclass(), &kReference}, true);
    static const Schema minsert("INSERT", {&entitySubclass(), &kMultipleReference}, true);
    static const Kind insertKind = [] {
        Kind k = directKind<ZcDbBlockReference>(insert);
        k.endRead = &positionToWorld;
        return k;
    }();
    static const Kind minsertKind = [] {
        Kind k = directKind<ZcDbMInsertBlock>(minsert);
        k.endRead = &positionToWorld;
        return k;
    }();
    return {&insertKind, &minsertKind};
}

} // namespace gantrel::dxf
