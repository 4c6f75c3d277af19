#include "polyline_path.h"

#include <algorithm>
#include <cmath>

namespace gantrel::db {

namespace {

constexpr double kParamTol = 1e-9;

} // namespace

int PolylinePath::numSegments() const {
    const int n = static_cast<int>(points.size());
    if (n < 2)
        return 0;
    return closed ? n : n - 1;
}

BulgeSegment PolylinePath::segment(int i) const {
    const int n = static_cast<int>(points.size());
    const double bulge = i < static_cast<int>(bulges.size()) ? bulges[i] : 0.0;
    return BulgeSegment(points[i], points[(i + 1) % n], bulge);
}

double PolylinePath::tolerance() const {
    double magnitude = std::abs(elevation);
    for (const ZcGePoint2d& p : points)
        magnitude = std::max(magnitude, std::abs(p.x) + std::abs(p.y) + std::abs(elevation));
    ZcDbExtents ext;
    for (int i = 0; i < numSegments(); ++i)
        segment(i).addExtents(ext, ocs, elevation);
    if (!ext.isEmpty())
        magnitude = std::max(magnitude, ext.minPoint().distanceTo(ext.maxPoint()));
    return pointTolerance(magnitude);
}

Zcad::ErrorStatus PolylinePath::pointAtParam(double param, ZcGePoint3d& point) const {
    if (points.empty())
        return Zcad::eDegenerateGeometry;
    const int n = numSegments();
    if (param < -kParamTol || param > n + kParamTol)
        return Zcad::eInvalidInput;
    if (n == 0) {
        point = ocs.toWorld(points.front(), elevation);
        return Zcad::eOk;
    }
    param = std::clamp(param, 0.0, static_cast<double>(n));
    const int i = std::min(static_cast<int>(std::floor(param)), n - 1);
    point = ocs.toWorld(segment(i).pointAt(param - i), elevation);
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::closestPoint(const ZcGePoint3d& given, bool extend,
                                             ZcGePoint3d& closest, double& param) const {
    if (points.empty())
        return Zcad::eDegenerateGeometry;
    const int n = numSegments();
    const ZcGePoint2d p = ocs.toLocal2d(given);
    ZcGePoint2d best = points.front();
    double bestParam = 0.0;
    double bestDist = std::hypot(p.x - best.x, p.y - best.y);
    for (int i = 0; i < n; ++i) {
        const BulgeSegment seg = segment(i);
        const bool open = extend && !closed;
        const double u = seg.closestParam(p, open && i == 0, open && i == n - 1);
        const ZcGePoint2d q = seg.pointAt(u);
        const double d = std::hypot(p.x - q.x, p.y - q.y);
        if (d < bestDist) {
            bestDist = d;
            best = q;
            bestParam = i + u;
        }
    }
    closest = ocs.toWorld(best, elevation);
    param = bestParam;
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::paramAtPoint(const ZcGePoint3d& point, double& param) const {
    ZcGePoint3d closest;
    double t = 0.0;
    if (auto es = closestPoint(point, false, closest, t); es != Zcad::eOk)
        return es;
    if (closest.distanceTo(point) > tolerance())
        return Zcad::eInvalidInput;
    param = t;
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::distAtParam(double param, double& dist) const {
    if (points.empty())
        return Zcad::eDegenerateGeometry;
    const int n = numSegments();
    if (param < -kParamTol || param > n + kParamTol)
        return Zcad::eInvalidInput;
    param = std::clamp(param, 0.0, static_cast<double>(n));
    dist = 0.0;
    for (int i = 0; i < n && i < param; ++i)
        dist += segment(i).length() * std::min(1.0, param - i);
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::paramAtDist(double dist, double& param) const {
    if (points.empty())
        return Zcad::eDegenerateGeometry;
    const int n = numSegments();
    double total = 0.0;
    for (int i = 0; i < n; ++i)
        total += segment(i).length();
    const double tol = tolerance();
    if (dist < -tol || dist > total + tol)
        return Zcad::eInvalidInput;
    dist = std::clamp(dist, 0.0, total);
    param = n;
    for (int i = 0; i < n; ++i) {
        const double len = segment(i).length();
        if (dist <= len && len > 0.0) {
            param = i + dist / len;
            return Zcad::eOk;
        }
        dist -= len;
    }
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::firstDeriv(double param, ZcGeVector3d& deriv) const {
    const int n = numSegments();
    if (n == 0)
        return Zcad::eDegenerateGeometry;
    if (param < -kParamTol || param > n + kParamTol)
        return Zcad::eInvalidInput;
    param = std::clamp(param, 0.0, static_cast<double>(n));
    const int i = std::min(static_cast<int>(std::floor(param)), n - 1);
    const ZcGeVector2d d = segment(i).derivAt(param - i);
    deriv = ocs.x * d.x + ocs.y * d.y;
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::area(double& value) const {
    value = 0.0;
    if (points.size() < 2)
        return points.empty() ? Zcad::eDegenerateGeometry : Zcad::eOk;
    // Relative to the first vertex, so that drawings far from the origin keep their digits.
    PolylinePath local = *this;
    const ZcGePoint2d origin = points.front();
    for (ZcGePoint2d& p : local.points)
        p = {p.x - origin.x, p.y - origin.y};
    double sum = 0.0;
    for (int i = 0; i < local.numSegments(); ++i)
        sum += local.segment(i).areaTerm();
    if (!closed) {
        const ZcGePoint2d& last = local.points.back();
        const ZcGePoint2d& first = local.points.front();
        sum += 0.5 * (last.x * first.y - first.x * last.y);
    }
    value = std::abs(sum);
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::extents(ZcDbExtents& ext) const {
    ext = ZcDbExtents();
    if (points.empty())
        return Zcad::eInvalidExtents;
    for (const ZcGePoint2d& p : points)
        ext.addPoint(ocs.toWorld(p, elevation));
    for (int i = 0; i < numSegments(); ++i)
        segment(i).addExtents(ext, ocs, elevation);
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::transformBy(const ZcGeMatrix3d& xform, double& widthScale) {
    const bool bulged =
        std::any_of(bulges.begin(), bulges.end(), [](double b) { return b != 0.0; });
    double scale = 1.0;
    const bool similar = isSimilarityInPlane(xform, ocs.x, ocs.y, scale);
    if (bulged && !similar)
        return Zcad::eNotApplicable; // arcs would become elliptical
    const Ocs image = ocsOf(transformNormal(xform, ocs.z));
    const ZcGePoint3d base = image.toLocal(xform * ocs.toWorld(0.0, 0.0, elevation));
    for (ZcGePoint2d& p : points) {
        const ZcGePoint3d l = image.toLocal(xform * ocs.toWorld(p, elevation));
        p = {l.x, l.y};
    }
    // A mirrored path turns the other way about its normal.
    if (isMirroring(xform))
        for (double& b : bulges)
            b = -b;
    widthScale = similar ? scale : std::sqrt((xform * ocs.x).crossProduct(xform * ocs.y).length());
    elevation = base.z;
    ocs = image;
    return Zcad::eOk;
}

Zcad::ErrorStatus PolylinePath::explode(const ZcDbEntity& source,
                                        ZcDbVoidPtrArray& entitySet) const {
    for (int i = 0; i < numSegments(); ++i) {
        const BulgeSegment seg = segment(i);
        if (seg.isDegenerate())
            continue;
        ZcDbCurve* piece = nullptr;
        if (seg.isArc) {
            const double a0 = seg.sweep > 0.0 ? seg.startAngle : seg.startAngle + seg.sweep;
            auto* arc = new ZcDbArc(ocs.toWorld(seg.center, elevation), seg.radius,
                                    normalizeAngle(a0), normalizeAngle(a0 + std::abs(seg.sweep)));
            arc->setNormal(ocs.z);
            piece = arc;
        } else {
            auto* line =
                new ZcDbLine(ocs.toWorld(seg.start, elevation), ocs.toWorld(seg.end, elevation));
            line->setNormal(ocs.z);
            piece = line;
        }
        piece->setPropertiesFrom(&source);
        entitySet.append(piece);
    }
    return Zcad::eOk;
}

} // namespace gantrel::db
