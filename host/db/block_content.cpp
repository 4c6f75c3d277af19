#include "block_content.h"

#include <cmath>

#include "geom_util.h"

namespace gantrel::db {

bool drawsInReference(const ZcDbEntity& entity) {
    const auto* def = ZcDbAttributeDefinition::cast(&entity);
    return !def || def->isConstant();
}

std::vector<std::unique_ptr<ZcDbEntity>> explodedPieces(const ZcDbEntity& entity) {
    std::vector<std::unique_ptr<ZcDbEntity>> out;
    ZcDbVoidPtrArray set;
    if (entity.explode(set) != Zcad::eOk)
        return out;
    for (void* p : set)
        out.emplace_back(static_cast<ZcDbEntity*>(p));
    return out;
}

namespace {

// The ellipse a circle or arc maps to when the transform distorts its plane.
ZcDbEllipse* asEllipse(const ZcDbEntity& entity) {
    ZcDbEllipse* ellipse = nullptr;
    if (const auto* circle = ZcDbCircle::cast(&entity)) {
        const Ocs ocs = ocsOf(circle->normal());
        ellipse = new ZcDbEllipse(circle->center(), ocs.z, ocs.x * circle->radius(), 1.0);
    } else if (const auto* arc = ZcDbArc::cast(&entity)) {
        const Ocs ocs = ocsOf(arc->normal());
        double start = 0.0, end = 0.0;
        arc->getStartParam(start);
        arc->getEndParam(end);
        ellipse = new ZcDbEllipse(arc->center(), ocs.z, ocs.x * arc->radius(), 1.0, start, end);
    }
    if (ellipse)
        ellipse->setPropertiesFrom(&entity);
    return ellipse;
}

} // namespace

ZcDbEntity* transformedCopy(const ZcDbEntity& entity, const ZcGeMatrix3d& xform,
                            Zcad::ErrorStatus& status) {
    ZcRxObject* raw = entity.clone();
    ZcDbEntity* copy = ZcDbEntity::cast(raw);
    if (!copy) {
        delete raw;
        status = Zcad::eNotApplicable;
        return nullptr;
    }
    // Entities the database does not understand cannot move, but they copy unmoved.
    status = xform.isIdentity() ? Zcad::eOk : copy->transformBy(xform);
    if (status == Zcad::eNotApplicable) {
        if (ZcDbEllipse* ellipse = asEllipse(entity)) {
            delete copy;
            copy = ellipse;
            status = copy->transformBy(xform);
        }
    }
    if (status != Zcad::eOk) {
        delete copy;
        return nullptr;
    }
    return copy;
}

Zcad::ErrorStatus addExtentsUnder(const ZcDbEntity& entity, const ZcGeMatrix3d& xform,
                                  ZcDbExtents& extents, int depth) {
    if (depth > kMaxBlockDepth)
        return Zcad::eSelfReference;
    if (const auto* reference = ZcDbBlockReference::cast(&entity)) {
        const auto* block =
            ZcDbAccess::objectAs<ZcDbBlockTableRecord>(reference->blockTableRecord());
        if (block) {
            for (const ZcGeMatrix3d& placement : reference->placements())
                for (const ZcDbObjectId& id : block->entityIds()) {
                    const auto* sub = ZcDbAccess::objectAs<ZcDbEntity>(id);
                    if (!sub || !drawsInReference(*sub))
                        continue;
                    if (auto es = addExtentsUnder(*sub, xform * placement, extents, depth + 1);
                        es == Zcad::eSelfReference)
                        return es;
                }
        }
        // Attributes are already placed in world coordinates.
        for (const ZcDbObjectId& id : reference->attributeIds())
            if (const auto* attribute = ZcDbAccess::objectAs<ZcDbEntity>(id))
                addExtentsUnder(*attribute, xform, extents, depth + 1);
        for (const auto& attribute : reference->pendingAttributes())
            addExtentsUnder(*attribute, xform, extents, depth + 1);
        return Zcad::eOk;
    }
    ZcDbExtents own;
    if (xform.isIdentity()) {
        if (entity.getGeomExtents(own) == Zcad::eOk)
            extents.addExt(own);
        return Zcad::eOk;
    }
    Zcad::ErrorStatus es = Zcad::eOk;
    if (ZcDbEntity* copy = transformedCopy(entity, xform, es)) {
        if (copy->getGeomExtents(own) == Zcad::eOk)
            extents.addExt(own);
        delete copy;
    } else if (entity.getGeomExtents(own) == Zcad::eOk) {
        // An entity that cannot take the transform still occupies the image of its box.
        own.transformBy(xform);
        extents.addExt(own);
    }
    return Zcad::eOk;
}

Zcad::ErrorStatus placeBlockEntities(ZcDbObjectId blockId, const ZcGeMatrix3d& xform,
                                     ZcDbVoidPtrArray& entitySet) {
    const auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(blockId);
    if (!block)
        return blockId.isNull() ? Zcad::eNullObjectId : Zcad::eWrongObjectType;
    ZcDbVoidPtrArray placed;
    for (const ZcDbObjectId& id : block->entityIds()) {
        const auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(id);
        if (!entity || !drawsInReference(*entity))
            continue;
        Zcad::ErrorStatus es = Zcad::eOk;
        ZcDbEntity* copy = transformedCopy(*entity, xform, es);
        if (!copy) {
            for (void* p : placed)
                delete static_cast<ZcDbEntity*>(p);
            return es;
        }
        placed.append(copy);
    }
    entitySet.append(placed);
    return Zcad::eOk;
}

} // namespace gantrel::db
