// Regions from curves: every closed curve, and every closed chain of open curves meeting end
// to end, becomes one region whose single loop follows the curves.
#include <algorithm>
#include <cmath>
#include <memory>

#include "database_impl.h"
#include "loop_geometry.h"

using namespace gantrel::db;

namespace {

// The plane the loop's 2-D edges live in.
struct LoopPlane {
    Ocs ocs;
    double elevation = 0.0;
    double tol = 0.0;

    bool toLocal(const ZcGePoint3d& p, ZcGePoint2d& out) const {
        const ZcGePoint3d l = ocs.toLocal(p);
        out = {l.x, l.y};
        return std::abs(l.z - elevation) <= tol;
    }
};

// The normal of a curve's own plane; zero for a curve without one (a line, a straight spline).
ZcGeVector3d ownNormal(const ZcDbCurve& curve) {
    if (const auto* arc = ZcDbArc::cast(&curve))
        return arc->normal();
    if (const auto* circle = ZcDbCircle::cast(&curve))
        return circle->normal();
    if (const auto* ellipse = ZcDbEllipse::cast(&curve))
        return ellipse->normal();
    if (const auto* pl = ZcDbPolyline::cast(&curve))
        return pl->normal();
    if (const auto* pl2 = ZcDb2dPolyline::cast(&curve))
        return pl2->normal();
    if (const auto* spline = ZcDbSpline::cast(&curve)) {
        // Newell's normal of the control polygon, closed.
        const ZcGePoint3dArray& pts = spline->controlPoints();
        ZcGeVector3d n;
        for (int i = 0; i < pts.length(); ++i)
            n += pts[i].asVector().crossProduct(pts[(i + 1) % pts.length()].asVector());
        return n.length() > 1e-12 ? n.normal() : ZcGeVector3d();
    }
    return {};
}

bool parallel(const ZcGeVector3d& a, const ZcGeVector3d& b) {
    return a.normal().crossProduct(b.normal()).length() <= 1e-9;
}

// Appends the 2-D edges of a curve in the direction of travel.
Zcad::ErrorStatus appendEdges(const ZcDbCurve& curve, bool reversed, const LoopPlane& plane,
                              std::vector<ZcDbLoopEdge>& edges) {
    std::vector<ZcDbLoopEdge> own;
    ZcGePoint2d a, b, c;
    if (const auto* line = ZcDbLine::cast(&curve)) {
        if (!plane.toLocal(line->startPoint(), a) || !plane.toLocal(line->endPoint(), b))
            return Zcad::eNotApplicable;
        if (!(a == b))
            own.push_back(lineEdge(a, b));
    } else if (ZcDbArc::cast(&curve) || ZcDbCircle::cast(&curve)) {
        const auto* arc = ZcDbArc::cast(&curve);
        const auto* circle = ZcDbCircle::cast(&curve);
        const ZcGeVector3d n = arc ? arc->normal() : circle->normal();
        ZcGePoint3d start, end;
        curve.getStartPoint(start);
        curve.getEndPoint(end);
        if (!parallel(n, plane.ocs.z) ||
            !plane.toLocal(arc ? arc->center() : circle->center(), c) || !plane.toLocal(start, a) ||
            !plane.toLocal(end, b))
            return Zcad::eNotApplicable;
        // About an opposite normal the curve runs clockwise in the loop's plane.
        const bool ccw = n.dotProduct(plane.ocs.z) > 0.0;
        const double a0 = normalizeAngle(std::atan2(a.y - c.y, a.x - c.x));
        // A circle is one edge from its start point round to it again.
        const double a1 = circle ? a0 + kTwoPi : normalizeAngle(std::atan2(b.y - c.y, b.x - c.x));
        own.push_back(arcEdge(c, arc ? arc->radius() : circle->radius(), a0, a1, ccw));
    } else if (const auto* ellipse = ZcDbEllipse::cast(&curve)) {
        if (!parallel(ellipse->normal(), plane.ocs.z) || !plane.toLocal(ellipse->center(), c))
            return Zcad::eNotApplicable;
        const bool same = ellipse->normal().dotProduct(plane.ocs.z) > 0.0;
        const ZcGeVector3d major = ellipse->majorAxis();
        ZcDbLoopEdge e;
        e.kind = ZcDbLoopEdge::kEllipticArc;
        e.center = c;
        e.majorAxis = {major.dotProduct(plane.ocs.x), major.dotProduct(plane.ocs.y)};
        e.radius = ellipse->radiusRatio();
        double t0 = 0.0, t1 = 0.0;
        ellipse->getStartParam(t0);
        ellipse->getEndParam(t1);
        // About an opposite normal the minor axis points the other way: the parameter negates.
        e.startAngle = same ? t0 : -t0;
        e.endAngle = same ? t1 : -t1;
        e.counterClockwise = same;
        own.push_back(e);
    } else if (ZcDbPolyline::cast(&curve) || ZcDb2dPolyline::cast(&curve)) {
        ZcDbVoidPtrArray pieces;
        Zcad::ErrorStatus es = curve.explode(pieces);
        std::vector<std::unique_ptr<ZcDbEntity>> owned;
        for (void* p : pieces)
            owned.emplace_back(static_cast<ZcDbEntity*>(p));
        if (es != Zcad::eOk)
            return es;
        for (const auto& piece : owned)
            if (auto es2 = appendEdges(*ZcDbCurve::cast(piece.get()), false, plane, own);
                es2 != Zcad::eOk)
                return es2;
    } else if (const auto* spline = ZcDbSpline::cast(&curve)) {
        ZcDbLoopEdge e;
        e.kind = ZcDbLoopEdge::kSpline;
        e.degree = spline->degree();
        for (const ZcGePoint3d& p : spline->controlPoints()) {
            if (!plane.toLocal(p, a))
                return Zcad::eNotApplicable;
            e.controlPoints.push_back(a);
        }
        e.knots.assign(spline->knots().begin(), spline->knots().end());
        e.weights.assign(spline->weights().begin(), spline->weights().end());
        if (!isValidEdge(e))
            return Zcad::eDegenerateGeometry;
        own.push_back(e);
    } else {
        return Zcad::eInvalidInput;
    }
    if (reversed) {
        std::reverse(own.begin(), own.end());
        for (ZcDbLoopEdge& e : own)
            e = reversedEdge(e);
    }
    edges.insert(edges.end(), own.begin(), own.end());
    return Zcad::eOk;
}

struct Step {
    const ZcDbCurve* curve;
    bool reversed;
};

// One region from a closed sequence of curves.
Zcad::ErrorStatus buildRegion(const std::vector<Step>& steps, double tol, ZcDbRegion*& region) {
    region = nullptr;
    ZcGeVector3d normal;
    for (const Step& s : steps)
        if (normal = ownNormal(*s.curve); !normal.isZeroLength())
            break;
    ZcGePoint3d first;
    steps.front().curve->getStartPoint(first);
    if (normal.isZeroLength()) {
        // Straight pieces only: the plane of their end points.
        std::vector<ZcGePoint3d> corners;
        for (const Step& s : steps) {
            ZcGePoint3d p;
            s.reversed ? s.curve->getEndPoint(p) : s.curve->getStartPoint(p);
            corners.push_back(p);
        }
        for (std::size_t i = 0; i < corners.size(); ++i)
            normal += (corners[i] - first).crossProduct(corners[(i + 1) % corners.size()] - first);
        if (normal.length() <= tol * tol)
            return Zcad::eDegenerateGeometry;
    }
    LoopPlane plane;
    plane.ocs = ocsOf(normal);
    plane.elevation = plane.ocs.toLocal(first).z;
    plane.tol = tol;
    ZcDbLoop loop;
    loop.flags = 1;
    for (const Step& s : steps)
        if (auto es = appendEdges(*s.curve, s.reversed, plane, loop.edges); es != Zcad::eOk)
            return es;
    if (loop.edges.empty() || std::abs(loopSignedArea(loop)) <= tol * tol)
        return Zcad::eDegenerateGeometry;
    auto made = std::make_unique<ZcDbRegion>();
    made->setNormal(plane.ocs.z);
    made->setElevation(plane.elevation);
    if (auto es = made->appendLoop(loop); es != Zcad::eOk)
        return es;
    made->setPropertiesFrom(steps.front().curve);
    region = made.release();
    return Zcad::eOk;
}

} // namespace

Zcad::ErrorStatus ZcDbRegion::createFromCurves(const ZcDbVoidPtrArray& curveSegments,
                                               ZcDbVoidPtrArray& regions) {
    std::vector<const ZcDbCurve*> curves;
    double magnitude = 0.0;
    for (void* p : curveSegments) {
        if (!p)
            return Zcad::eNullEntityPointer;
        const auto* curve = ZcDbCurve::cast(static_cast<ZcDbEntity*>(p));
        if (!curve)
            return Zcad::eInvalidInput;
        ZcGePoint3d s, e;
        if (curve->getStartPoint(s) != Zcad::eOk || curve->getEndPoint(e) != Zcad::eOk)
            return Zcad::eDegenerateGeometry;
        magnitude = std::max({magnitude, magnitudeOf(s), magnitudeOf(e)});
        curves.push_back(curve);
    }
    if (curves.empty())
        return Zcad::eInvalidInput;
    // Ends closer than this meet; generous enough for coordinates typed to a few decimals.
    const double tol = 1e-6 * std::max(1.0, magnitude);
    auto near = [tol](const ZcGePoint3d& a, const ZcGePoint3d& b) {
        return a.distanceTo(b) <= tol;
    };

    std::vector<ZcDbRegion*> made;
    auto fail = [&made](Zcad::ErrorStatus es) {
        for (ZcDbRegion* r : made)
            delete r;
        return es;
    };
    std::vector<bool> used(curves.size(), false);
    for (std::size_t i = 0; i < curves.size(); ++i) {
        if (used[i])
            continue;
        used[i] = true;
        std::vector<Step> steps{{curves[i], false}};
        if (!curves[i]->isClosed()) {
            ZcGePoint3d start, end;
            curves[i]->getStartPoint(start);
            curves[i]->getEndPoint(end);
            if (near(start, end) && ZcDbLine::cast(curves[i]))
                continue; // a line of no length joins nothing
            // Follow the chain until it returns to its start; every curve must take part.
            while (!near(end, start)) {
                bool found = false;
                for (std::size_t j = 0; j < curves.size() && !found; ++j) {
                    if (used[j] || curves[j]->isClosed())
                        continue;
                    ZcGePoint3d s, e;
                    curves[j]->getStartPoint(s);
                    curves[j]->getEndPoint(e);
                    if (near(s, end) || near(e, end)) {
                        const bool reversed = !near(s, end);
                        steps.push_back({curves[j], reversed});
                        end = reversed ? s : e;
                        used[j] = found = true;
                    }
                }
                if (!found)
                    return fail(Zcad::eInvalidInput); // an open chain bounds nothing
            }
        }
        ZcDbRegion* region = nullptr;
        if (auto es = buildRegion(steps, tol, region); es != Zcad::eOk)
            return fail(es);
        made.push_back(region);
    }
    for (ZcDbRegion* r : made)
        regions.append(r);
    return Zcad::eOk;
}
