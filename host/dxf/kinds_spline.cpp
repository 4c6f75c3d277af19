// Splines: NURBS data with weights, or fit points that make the interpolating spline.
//
// A spline given by control points and fit points (as other programs write fit splines) keeps
// its control points exactly; its fit data is kept with the file's groups and written back
// while the fit points still lie on the curve.
#include <cmath>

#include "contexts.h"
#include "group_writer.h"
#include "kinds.h"
#include "zcdbents.h"

namespace gantrel::dxf {

namespace {

struct SplineData {
    ZcGeVector3d normal = ZcGeVector3d::kZAxis;
    std::int16_t flags = 0;
    std::int16_t degree = 3;
    double knotTolerance = 1e-10, controlTolerance = 1e-10, fitTolerance = 1e-10;
    ZcGeVector3d startTangent, endTangent;
    std::vector<double> knots, weights;
    std::vector<ZcGePoint3d> controlPoints, fitPoints;
};

ZcGePoint3dArray toArray(const std::vector<ZcGePoint3d>& v) {
    ZcGePoint3dArray a;
    for (const ZcGePoint3d& p : v)
        a.append(p);
    return a;
}

ZcGeDoubleArray toArray(const std::vector<double>& v) {
    ZcGeDoubleArray a;
    for (double d : v)
        a.append(d);
    return a;
}

bool isFitCode(int code) {
    return code == 74 || code == 44 || code == 11 || code == 21 || code == 31 || code == 12 ||
           code == 22 || code == 32 || code == 13 || code == 23 || code == 33;
}

// True when the spline holds the control points and knots of the file's data within rounding
// (after it has been set to the interpolation of the file's fit points).
bool matchesNurbsData(const ZcDbSpline& fitted, const SplineData& d) {
    if (fitted.controlPoints().length() != static_cast<int>(d.controlPoints.size()) ||
        fitted.knots().length() != static_cast<int>(d.knots.size()) || !d.weights.empty())
        return false;
    double scale = 1.0;
    for (const ZcGePoint3d& p : d.controlPoints)
        scale = std::max({scale, std::abs(p.x), std::abs(p.y), std::abs(p.z)});
    for (std::size_t i = 0; i < d.controlPoints.size(); ++i)
        if (fitted.controlPoints()[static_cast<int>(i)].distanceTo(d.controlPoints[i]) >
            1e-9 * scale)
            return false;
    for (std::size_t i = 0; i < d.knots.size(); ++i)
        if (std::abs(fitted.knots()[static_cast<int>(i)] - d.knots[i]) > 1e-9)
            return false;
    return true;
}

void keepFitData(const SplineData& d, ReadContext& ctx) {
    ctx.pendingMarker = "AcDbSpline";
    auto& k = ctx.pendingKept;
    k.emplace_back(74, std::to_string(d.fitPoints.size()));
    k.emplace_back(44, formatReal(d.fitTolerance));
    auto point = [&](int code, const ZcGePoint3d& p) {
        k.emplace_back(code, formatReal(p.x));
        k.emplace_back(code + 10, formatReal(p.y));
        k.emplace_back(code + 20, formatReal(p.z));
    };
    if (!d.startTangent.isZeroLength())
        point(12, ZcGePoint3d(d.startTangent.x, d.startTangent.y, d.startTangent.z));
    if (!d.endTangent.isZeroLength())
        point(13, ZcGePoint3d(d.endTangent.x, d.endTangent.y, d.endTangent.z));
    for (const ZcGePoint3d& p : d.fitPoints)
        point(11, p);
}

Zcad::ErrorStatus storeSpline(SplineData& d, ZcDbSpline& s, ReadContext& ctx) {
    Zcad::ErrorStatus es;
    if (!d.controlPoints.empty()) {
        // Fit data whose interpolation, as we compute it, gives the file's control points is
        // kept as fit data; other control points are kept exactly, with the fit data as groups.
        if (!d.fitPoints.empty() &&
            s.setFitData(toArray(d.fitPoints), d.degree, d.fitTolerance, d.startTangent,
                         d.endTangent) == Zcad::eOk &&
            matchesNurbsData(s, d)) {
            es = Zcad::eOk;
        } else {
            const bool rational = (d.flags & 4) || !d.weights.empty();
            if (rational && d.weights.empty())
                d.weights.assign(d.controlPoints.size(), 1.0);
            es = s.setNurbsData(d.degree, rational, d.flags & 1, d.flags & 2,
                                toArray(d.controlPoints), toArray(d.knots), toArray(d.weights),
                                d.controlTolerance, d.knotTolerance);
            if (es == Zcad::eOk && !d.fitPoints.empty())
                keepFitData(d, ctx);
        }
    } else if (!d.fitPoints.empty()) {
        es = s.setFitData(toArray(d.fitPoints), d.degree, d.fitTolerance, d.startTangent,
                          d.endTangent);
    } else {
        return Zcad::eDegenerateGeometry;
    }
    if (es != Zcad::eOk)
        return es;
    return s.setNormal(d.normal);
}

// Fit data kept from the file, when its points still lie on the spline.
void loadKeptFitData(const ZcDbSpline& s, SplineData& d, const ZcDbDxfGroups& kept) {
    SplineData fit;
    double* y = nullptr; // the coordinates that groups 2x and 3x give next
    double* z = nullptr;
    for (const auto& [code, value] : kept) {
        double v = 0.0;
        if (!isFitCode(code) || !parseReal(value, v))
            continue;
        if (code == 44) {
            fit.fitTolerance = v;
        } else if (code == 11) {
            fit.fitPoints.emplace_back(v, 0.0, 0.0);
            y = &fit.fitPoints.back().y;
            z = &fit.fitPoints.back().z;
        } else if (code == 12 || code == 13) {
            ZcGeVector3d& t = code == 12 ? fit.startTangent : fit.endTangent;
            t.x = v;
            y = &t.y;
            z = &t.z;
        } else if (code >= 21 && code <= 23 && y) {
            *y = v;
        } else if (code >= 31 && code <= 33 && z) {
            *z = v;
        }
    }
    double scale = 1.0;
    for (const ZcGePoint3d& p : s.controlPoints())
        scale = std::max({scale, std::abs(p.x), std::abs(p.y), std::abs(p.z)});
    for (const ZcGePoint3d& p : fit.fitPoints) {
        ZcGePoint3d closest;
        if (s.getClosestPointTo(p, closest) != Zcad::eOk || closest.distanceTo(p) > 1e-6 * scale)
            return;
    }
    d.fitPoints = fit.fitPoints;
    d.fitTolerance = fit.fitTolerance;
    d.startTangent = fit.startTangent;
    d.endTangent = fit.endTangent;
}

void loadSpline(const ZcDbSpline& s, SplineData& d, WriteContext& ctx) {
    int degree = 3;
    bool rational = false, closed = false, periodic = false;
    ZcGePoint3dArray ctrl;
    ZcGeDoubleArray knots, weights;
    s.getNurbsData(degree, rational, closed, periodic, ctrl, knots, weights, d.controlTolerance,
                   d.knotTolerance);
    d.degree = static_cast<std::int16_t>(degree);
    d.flags = s.splineFlags();
    d.controlPoints.assign(ctrl.begin(), ctrl.end());
    d.knots.assign(knots.begin(), knots.end());
    d.weights.assign(weights.begin(), weights.end());
    d.normal = s.normal();
    ZcGePoint3dArray fit;
    bool tangents = false;
    if (s.getFitData(fit, degree, d.fitTolerance, tangents, d.startTangent, d.endTangent) ==
        Zcad::eOk) {
        d.fitPoints.assign(fit.begin(), fit.end());
    } else if (ctx.currentKept) {
        loadKeptFitData(s, d, *ctx.currentKept);
    }
}

template <auto Member> Field count(short code) {
    return custom(
        code, FieldKind::Int16, Presence::Always, 0,
        [](const void* t, Value& v, WriteContext&) {
            v.integer =
                static_cast<std::int64_t>((static_cast<const SplineData*>(t)->*Member).size());
        },
        [](void*, const Value&, ReadContext&) { return Zcad::eOk; });
}

const Subclass kSpline{
    "AcDbSpline",
    {
        member<&SplineData::normal>(210, FieldKind::Vector3, Presence::Optional, kZ),
        member<&SplineData::flags>(70, FieldKind::Int16),
        member<&SplineData::degree>(71, FieldKind::Int16, Presence::Always, 3),
        count<&SplineData::knots>(72),
        count<&SplineData::controlPoints>(73),
        count<&SplineData::fitPoints>(74),
        member<&SplineData::knotTolerance>(42, FieldKind::Real, Presence::Always, 1e-10),
        member<&SplineData::controlTolerance>(43, FieldKind::Real, Presence::Always, 1e-10),
        member<&SplineData::fitTolerance>(44, FieldKind::Real, Presence::Optional, 1e-10),
        member<&SplineData::startTangent>(12, FieldKind::Vector3, Presence::Optional,
                                          ZcGeVector3d()),
        member<&SplineData::endTangent>(13, FieldKind::Vector3, Presence::Optional, ZcGeVector3d()),
        member<&SplineData::knots>(40, FieldKind::RealList),
        member<&SplineData::weights>(41, FieldKind::RealList, Presence::Optional),
        member<&SplineData::controlPoints>(10, FieldKind::Point3List),
        member<&SplineData::fitPoints>(11, FieldKind::Point3List, Presence::Optional),
    }};

void dropFitGroups(ZcDbDxfGroups& kept) {
    std::erase_if(kept, [](const auto& g) { return isFitCode(g.first); });
}

} // namespace

std::vector<const Kind*> splineKinds() {
    static const Schema spline("SPLINE", {&entitySubclass(), &kSpline}, true);
    static const Kind kind = [] {
        Kind k = stagedKind<SplineData, ZcDbSpline, &loadSpline, &storeSpline>(spline);
        k.filterKept = &dropFitGroups;
        return k;
    }();
    return {&kind};
}

} // namespace gantrel::dxf
