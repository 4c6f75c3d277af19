// Picking and window selection.
#include "picking.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "block_content.h"
#include "database_impl.h"

namespace gantrel::editor {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct Rect {
    double x0, y0, x1, y1;
    bool contains(double x, double y) const { return x >= x0 && x <= x1 && y >= y0 && y <= y1; }
};

Rect makeRect(const ZcGePoint3d& a, const ZcGePoint3d& b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

double planar(const ZcGePoint3d& a, const ZcGePoint3d& b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool explodesForGeometry(const ZcDbEntity& entity) {
    return entity.isKindOf(ZcDbBlockReference::desc()) || entity.isKindOf(ZcDbRegion::desc());
}

// Parameters along a curve dense enough to follow it within a small fraction of its size.
std::vector<ZcGePoint3d> samplePoints(const ZcDbCurve& curve) {
    std::vector<ZcGePoint3d> points;
    if (const auto* line = ZcDbLine::cast(&curve)) {
        points = {line->startPoint(), line->endPoint()};
        return points;
    }
    double s = 0.0, e = 0.0;
    if (curve.getStartParam(s) != Zcad::eOk || curve.getEndParam(e) != Zcad::eOk || !(e > s))
        return points;
    // Polylines run one parameter unit per segment: keep every vertex as a sample.
    int perUnit = 64;
    int n = static_cast<int>(std::min(20000.0, std::max(256.0, std::ceil(e - s) * perUnit)));
    points.reserve(n + 1);
    for (int i = 0; i <= n; ++i) {
        ZcGePoint3d p;
        if (curve.getPointAtParam(s + (e - s) * i / n, p) == Zcad::eOk)
            points.push_back(p);
    }
    return points;
}

// Whether the segment ab has a point inside r (Liang-Barsky clipping).
bool segmentHitsRect(const ZcGePoint3d& a, const ZcGePoint3d& b, const Rect& r) {
    double t0 = 0.0, t1 = 1.0;
    double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.x0, r.x1 - a.x, a.y - r.y0, r.y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

bool extentsOf(const ZcDbEntity& entity, ZcDbExtents& ext) {
    return entity.getGeomExtents(ext) == Zcad::eOk && !ext.isEmpty();
}

bool crosses(const ZcDbEntity& entity, const Rect& r) {
    ZcDbExtents ext;
    if (!extentsOf(entity, ext))
        return false;
    const ZcGePoint3d &lo = ext.minPoint(), &hi = ext.maxPoint();
    if (hi.x < r.x0 || lo.x > r.x1 || hi.y < r.y0 || lo.y > r.y1)
        return false;
    if (r.contains(lo.x, lo.y) && r.contains(hi.x, hi.y))
        return true;
    if (const auto* curve = ZcDbCurve::cast(&entity)) {
        std::vector<ZcGePoint3d> pts = samplePoints(*curve);
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            if (segmentHitsRect(pts[i], pts[i + 1], r))
                return true;
        // A curve touching the rectangle between two samples: its closest point to the centre.
        ZcGePoint3d centre((r.x0 + r.x1) / 2, (r.y0 + r.y1) / 2, lo.z), closest;
        return curve->getClosestPointTo(centre, closest) == Zcad::eOk &&
               r.contains(closest.x, closest.y);
    }
    if (explodesForGeometry(entity)) {
        for (const auto& piece : db::explodedPieces(entity))
            if (crosses(*piece, r))
                return true;
        return false;
    }
    return true; // text, hatch, point...: the extents overlap
}

bool inside(const ZcDbEntity& entity, const Rect& r) {
    ZcDbExtents ext;
    return extentsOf(entity, ext) && r.contains(ext.minPoint().x, ext.minPoint().y) &&
           r.contains(ext.maxPoint().x, ext.maxPoint().y);
}

std::vector<ZcDbObjectId> spaceEntities(ZcDbObjectId spaceId) {
    auto* space = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(spaceId);
    return space ? space->entityIds() : std::vector<ZcDbObjectId>{};
}

struct Candidate {
    ZcDbObjectId id;
    double distance = kInf;
};

// Nearest entity among ids, each placed by xform, within aperture.
Candidate nearestAmong(const std::vector<ZcDbObjectId>& ids, const ZcGeMatrix3d& xform,
                       const ZcGePoint3d& p, double aperture) {
    Candidate best;
    bool identity = xform.isIdentity();
    for (ZcDbObjectId id : ids) {
        auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(id);
        if (!entity || id.isErased() || !db::drawsInReference(*entity))
            continue;
        double d = kInf;
        if (identity) {
            d = planarDistance(*entity, p);
        } else {
            std::unique_ptr<ZcDbEntity> copy(ZcDbEntity::cast(entity->clone()));
            if (copy && copy->transformBy(xform) == Zcad::eOk)
                d = planarDistance(*copy, p);
        }
        if (d <= aperture && d <= best.distance)
            best = {id, d};
    }
    return best;
}

} // namespace

double planarDistance(const ZcDbEntity& entity, const ZcGePoint3d& p) {
    if (const auto* curve = ZcDbCurve::cast(&entity)) {
        ZcGePoint3d closest;
        ZcGePoint3d given(p.x, p.y, 0.0);
        // Project the pick point onto the curve's elevation by trying at its start point's z.
        ZcGePoint3d start;
        if (curve->getStartPoint(start) == Zcad::eOk)
            given.z = start.z;
        if (curve->getClosestPointTo(given, closest) == Zcad::eOk)
            return planar(closest, p);
        return kInf;
    }
    if (const auto* point = ZcDbPoint::cast(&entity))
        return planar(point->position(), p);
    if (explodesForGeometry(entity)) {
        double best = kInf;
        for (const auto& piece : db::explodedPieces(entity))
            best = std::min(best, planarDistance(*piece, p));
        if (best < kInf)
            return best;
    }
    ZcDbExtents ext;
    if (!extentsOf(entity, ext))
        return kInf;
    double dx = std::max({ext.minPoint().x - p.x, 0.0, p.x - ext.maxPoint().x});
    double dy = std::max({ext.minPoint().y - p.y, 0.0, p.y - ext.maxPoint().y});
    return std::hypot(dx, dy);
}

std::optional<PickHit> pickEntity(ZcDbObjectId spaceId, const ZcGePoint3d& p, double aperture) {
    Candidate best = nearestAmong(spaceEntities(spaceId), ZcGeMatrix3d::kIdentity, p, aperture);
    if (best.id.isNull())
        return std::nullopt;
    PickHit hit;
    hit.id = best.id;
    hit.distance = best.distance;
    return hit;
}

std::optional<PickHit> pickNested(ZcDbObjectId spaceId, const ZcGePoint3d& p, double aperture) {
    std::optional<PickHit> hit = pickEntity(spaceId, p, aperture);
    if (!hit)
        return hit;
    // Descend while the hit is a reference: look among its attributes (placed like the
    // reference itself; an attribute is an answer) and the entities of its block under each
    // placement.
    while (auto* ref = ZcDbAccess::objectAs<ZcDbBlockReference>(hit->id)) {
        Candidate attribute = nearestAmong(ref->attributeIds(), hit->xform, p, aperture);
        Candidate inner;
        ZcGeMatrix3d innerXform;
        auto* block = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(ref->blockTableRecord());
        if (block) {
            for (const ZcGeMatrix3d& placement : ref->placements()) {
                ZcGeMatrix3d xform = hit->xform * placement;
                Candidate c = nearestAmong(block->entityIds(), xform, p, aperture);
                if (!c.id.isNull() && c.distance < inner.distance) {
                    inner = c;
                    innerXform = xform;
                }
            }
        }
        if (!attribute.id.isNull() && attribute.distance <= inner.distance) {
            hit->id = attribute.id;
            hit->distance = attribute.distance;
            break;
        }
        if (inner.id.isNull())
            break;
        hit->containers.insert(hit->containers.begin(), hit->id);
        hit->id = inner.id;
        hit->distance = inner.distance;
        hit->xform = innerXform;
    }
    return hit;
}

std::vector<ZcDbObjectId> selectInRectangle(ZcDbObjectId spaceId, const ZcGePoint3d& a,
                                            const ZcGePoint3d& b, bool crossing) {
    Rect r = makeRect(a, b);
    std::vector<ZcDbObjectId> out;
    for (ZcDbObjectId id : spaceEntities(spaceId)) {
        auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(id);
        if (!entity || id.isErased())
            continue;
        if (crossing ? crosses(*entity, r) : inside(*entity, r))
            out.push_back(id);
    }
    return out;
}

ZcGePoint3d representativePoint(const ZcDbEntity& entity) {
    if (const auto* curve = ZcDbCurve::cast(&entity)) {
        double s = 0.0, e = 0.0;
        ZcGePoint3d p;
        if (curve->getStartParam(s) == Zcad::eOk && curve->getEndParam(e) == Zcad::eOk &&
            curve->getPointAtParam((s + e) / 2, p) == Zcad::eOk)
            return p;
    }
    if (const auto* point = ZcDbPoint::cast(&entity))
        return point->position();
    ZcDbExtents ext;
    if (extentsOf(entity, ext))
        return ZcGePoint3d((ext.minPoint().x + ext.maxPoint().x) / 2,
                           (ext.minPoint().y + ext.maxPoint().y) / 2,
                           (ext.minPoint().z + ext.maxPoint().z) / 2);
    return ZcGePoint3d::kOrigin;
}

} // namespace gantrel::editor
