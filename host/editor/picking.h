// Finding entities by where they lie: the nearest entity at a pick point (also through block
// references), and the entities inside or crossing a window. Distances are measured in the XY
// plane of the world, in drawing units.
#pragma once

#include <optional>
#include <vector>

#include "zcdball.h"

namespace gantrel::editor {

// Distance in the XY plane from p to the nearest point of the entity; infinity when unknown.
double planarDistance(const ZcDbEntity& entity, const ZcGePoint3d& p);

struct PickHit {
    ZcDbObjectId id;
    double distance = 0.0;
    // Block coordinates of the entity to the world (identity for an entity of a space).
    ZcGeMatrix3d xform;
    // The references holding the entity, innermost first.
    std::vector<ZcDbObjectId> containers;
};

// The entity of the space nearest to p, if one lies within aperture. Of equal distances the one
// drawn last (on top) wins.
std::optional<PickHit> pickEntity(ZcDbObjectId spaceId, const ZcGePoint3d& p, double aperture);
// The same, then through block references down to the innermost entity.
std::optional<PickHit> pickNested(ZcDbObjectId spaceId, const ZcGePoint3d& p, double aperture);

// Entities of the space lying wholly inside the rectangle of the two corners (window), or having
// any part inside it (crossing), in drawing order.
std::vector<ZcDbObjectId> selectInRectangle(ZcDbObjectId spaceId, const ZcGePoint3d& a,
                                            const ZcGePoint3d& b, bool crossing);

// A point on the entity to stand for a pick by handle: the middle of a curve's parameter range,
// else the centre of the extents.
ZcGePoint3d representativePoint(const ZcDbEntity& entity);

} // namespace gantrel::editor
