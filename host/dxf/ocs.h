// Object coordinates of DXF groups: circles, arcs, texts and references give their points in
// the object coordinate system of their normal; the database holds world points.
#pragma once

#include "geom_util.h"

namespace gantrel::dxf {

inline bool isWorldZ(const ZcGeVector3d& n) {
    return n.x == 0.0 && n.y == 0.0 && n.z > 0.0;
}

inline ZcGePoint3d ocsToWorld(const ZcGeVector3d& normal, const ZcGePoint3d& p) {
    return isWorldZ(normal) ? p : gantrel::db::ocsOf(normal).toWorld(p.x, p.y, p.z);
}

inline ZcGePoint3d worldToOcs(const ZcGeVector3d& normal, const ZcGePoint3d& p) {
    return isWorldZ(normal) ? p : gantrel::db::ocsOf(normal).toLocal(p);
}

} // namespace gantrel::dxf
