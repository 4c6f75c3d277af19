#include "geom_util.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gantrel::db {

double Ocs::angleOf(const ZcGeVector3d& v) const {
    return normalizeAngle(std::atan2(v.dotProduct(y), v.dotProduct(x)));
}

ZcGeVector3d Ocs::direction(double angle) const {
    return x * std::cos(angle) + y * std::sin(angle);
}

Ocs ocsOf(const ZcGeVector3d& normal) {
    Ocs o;
    o.z = normal.isZeroLength() ? ZcGeVector3d::kZAxis : normal.normal();
    // Near the world z axis the x axis comes from the world y axis, elsewhere from z.
    constexpr double kLimit = 1.0 / 64.0;
    if (std::abs(o.z.x) < kLimit && std::abs(o.z.y) < kLimit)
        o.x = ZcGeVector3d::kYAxis.crossProduct(o.z).normal();
    else
        o.x = ZcGeVector3d::kZAxis.crossProduct(o.z).normal();
    o.y = o.z.crossProduct(o.x).normal();
    return o;
}

ZcGeVector3d transformNormal(const ZcGeMatrix3d& xform, const ZcGeVector3d& normal) {
    if (std::abs(xform.det()) < 1e-300)
        return normal;
    const ZcGeMatrix3d inv = xform.inverse();
    // The transpose of the inverse's linear part applied to the normal.
    ZcGeVector3d n(
        inv.entry[0][0] * normal.x + inv.entry[1][0] * normal.y + inv.entry[2][0] * normal.z,
        inv.entry[0][1] * normal.x + inv.entry[1][1] * normal.y + inv.entry[2][1] * normal.z,
        inv.entry[0][2] * normal.x + inv.entry[1][2] * normal.y + inv.entry[2][2] * normal.z);
    return n.isZeroLength() ? normal : n.normal();
}

bool isSimilarityInPlane(const ZcGeMatrix3d& xform, const ZcGeVector3d& u, const ZcGeVector3d& v,
                         double& scale) {
    const ZcGeVector3d mu = xform * u;
    const ZcGeVector3d mv = xform * v;
    const double lu = mu.length(), lv = mv.length();
    scale = lu;
    if (lu <= 0.0 || lv <= 0.0)
        return false;
    constexpr double kTol = 1e-9;
    return std::abs(lu - lv) <= kTol * std::max(lu, lv) &&
           std::abs(mu.dotProduct(mv)) <= kTol * lu * lv;
}

double normalizeAngle(double angle) {
    double a = std::fmod(angle, kTwoPi);
    if (a < 0.0)
        a += kTwoPi;
    if (a >= kTwoPi)
        a = 0.0;
    return a;
}

double sweepAngle(double start, double end) {
    double s = normalizeAngle(end - start);
    // Differences that are a whole turn up to rounding are a full circle, not nothing.
    if (s <= 1e-12 || kTwoPi - s <= 1e-12)
        s = kTwoPi;
    return s;
}

double pointTolerance(double magnitude) {
    return 1e-8 * std::max(1.0, magnitude);
}

void addArcExtents(ZcDbExtents& extents, const ZcGePoint3d& center, const ZcGeVector3d& xAxis,
                   const ZcGeVector3d& yAxis, double start, double sweep) {
    auto at = [&](double a) { return center + xAxis * std::cos(a) + yAxis * std::sin(a); };
    extents.addPoint(at(start));
    extents.addPoint(at(start + sweep));
    const double xs[3] = {xAxis.x, xAxis.y, xAxis.z};
    const double ys[3] = {yAxis.x, yAxis.y, yAxis.z};
    for (int k = 0; k < 3; ++k) {
        if (xs[k] == 0.0 && ys[k] == 0.0)
            continue;
        // Coordinate k is xs[k] cos a + ys[k] sin a: extreme where a = atan2(ys, xs) (+ pi).
        const double base = std::atan2(ys[k], xs[k]);
        for (int half = 0; half < 2; ++half) {
            const double offset = normalizeAngle(base + half * kPi - start);
            if (offset <= sweep)
                extents.addPoint(at(start + offset));
        }
    }
}

void addBox(ZcDbExtents& extents, const ZcGePoint3d& origin, const ZcGeVector3d& u,
            const ZcGeVector3d& v, double u0, double u1, double v0, double v1) {
    extents.addPoint(origin + u * u0 + v * v0);
    extents.addPoint(origin + u * u1 + v * v0);
    extents.addPoint(origin + u * u0 + v * v1);
    extents.addPoint(origin + u * u1 + v * v1);
}

TextFrame transformTextFrame(const ZcGeMatrix3d& xform, const ZcGeVector3d& normal,
                             const ZcGeVector3d& direction) {
    const ZcGeVector3d n = normal.isZeroLength() ? ZcGeVector3d::kZAxis : normal.normal();
    const ZcGeVector3d dir = direction.normal();
    const ZcGeVector3d up = n.crossProduct(dir);
    const ZcGeVector3d mdir = xform * dir, mup = xform * up;
    TextFrame frame;
    frame.normal = transformNormal(xform, n);
    frame.alongScale = mdir.length();
    frame.acrossScale =
        frame.alongScale > 0.0 ? mdir.crossProduct(mup).length() / frame.alongScale : 0.0;
    frame.direction = isMirroring(xform) ? -mdir : mdir;
    return frame;
}

std::wstring formatNumber(double value) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.4f", value == 0.0 ? 0.0 : value);
    // "-0.0000" reads as a sign error in a listing.
    std::wstring s = buffer;
    if (s == L"-0.0000")
        s = L"0.0000";
    return s;
}

std::wstring formatPoint(const ZcGePoint3d& p) {
    return formatNumber(p.x) + L", " + formatNumber(p.y) + L", " + formatNumber(p.z);
}

std::wstring formatAngle(double radians) {
    return formatNumber(radians * 180.0 / kPi);
}

void appendField(std::wstring& out, const wchar_t* name, const std::wstring& value) {
    if (!out.empty())
        out += L'\n';
    out += name;
    out += L": ";
    out += value;
}

} // namespace gantrel::db
