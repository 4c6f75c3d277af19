#include "zcge.h"

#include <algorithm>
#include <cstring>

const ZcGeVector3d ZcGeVector3d::kIdentity{0, 0, 0};
const ZcGeVector3d ZcGeVector3d::kXAxis{1, 0, 0};
const ZcGeVector3d ZcGeVector3d::kYAxis{0, 1, 0};
const ZcGeVector3d ZcGeVector3d::kZAxis{0, 0, 1};
const ZcGePoint3d ZcGePoint3d::kOrigin{0, 0, 0};
const ZcGeMatrix3d ZcGeMatrix3d::kIdentity{};

ZcGeVector3d ZcGeVector3d::normal() const {
    const double len = length();
    return len > 0.0 ? *this / len : *this;
}

ZcGeVector3d& ZcGeVector3d::normalize() {
    return *this = normal();
}

bool ZcGeVector3d::isEqualTo(const ZcGeVector3d& v, const ZcGeTol& tol) const {
    return (*this - v).length() <= tol.equalVector;
}

ZcGeVector3d& ZcGeVector3d::transformBy(const ZcGeMatrix3d& m) {
    const double vx = x, vy = y, vz = z;
    x = m.entry[0][0] * vx + m.entry[0][1] * vy + m.entry[0][2] * vz;
    y = m.entry[1][0] * vx + m.entry[1][1] * vy + m.entry[1][2] * vz;
    z = m.entry[2][0] * vx + m.entry[2][1] * vy + m.entry[2][2] * vz;
    return *this;
}

ZcGePoint3d& ZcGePoint3d::transformBy(const ZcGeMatrix3d& m) {
    const double px = x, py = y, pz = z;
    x = m.entry[0][0] * px + m.entry[0][1] * py + m.entry[0][2] * pz + m.entry[0][3];
    y = m.entry[1][0] * px + m.entry[1][1] * py + m.entry[1][2] * pz + m.entry[1][3];
    z = m.entry[2][0] * px + m.entry[2][1] * py + m.entry[2][2] * pz + m.entry[2][3];
    return *this;
}

ZcGeMatrix3d::ZcGeMatrix3d() {
    std::memset(entry, 0, sizeof entry);
    for (int i = 0; i < 4; ++i)
        entry[i][i] = 1.0;
}

ZcGeMatrix3d ZcGeMatrix3d::translation(const ZcGeVector3d& v) {
    ZcGeMatrix3d m;
    m.entry[0][3] = v.x;
    m.entry[1][3] = v.y;
    m.entry[2][3] = v.z;
    return m;
}

ZcGeMatrix3d ZcGeMatrix3d::rotation(double angle, const ZcGeVector3d& axis,
                                    const ZcGePoint3d& center) {
    const ZcGeVector3d u = axis.normal();
    const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
    ZcGeMatrix3d r;
    r.entry[0][0] = t * u.x * u.x + c;
    r.entry[0][1] = t * u.x * u.y - s * u.z;
    r.entry[0][2] = t * u.x * u.z + s * u.y;
    r.entry[1][0] = t * u.x * u.y + s * u.z;
    r.entry[1][1] = t * u.y * u.y + c;
    r.entry[1][2] = t * u.y * u.z - s * u.x;
    r.entry[2][0] = t * u.x * u.z - s * u.y;
    r.entry[2][1] = t * u.y * u.z + s * u.x;
    r.entry[2][2] = t * u.z * u.z + c;
    return translation(center.asVector()) * r * translation(-center.asVector());
}

ZcGeMatrix3d ZcGeMatrix3d::scaling(double scale, const ZcGePoint3d& center) {
    return scaling(ZcGeScale3d(scale), center);
}

ZcGeMatrix3d ZcGeMatrix3d::scaling(const ZcGeScale3d& scale, const ZcGePoint3d& center) {
    ZcGeMatrix3d s;
    s.entry[0][0] = scale.sx;
    s.entry[1][1] = scale.sy;
    s.entry[2][2] = scale.sz;
    return translation(center.asVector()) * s * translation(-center.asVector());
}

ZcGeMatrix3d ZcGeMatrix3d::mirroring(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir) {
    // Reflection about the line through linePoint along lineDir in the XY plane.
    const ZcGeVector3d d = lineDir.normal();
    ZcGeMatrix3d m;
    m.entry[0][0] = 2 * d.x * d.x - 1;
    m.entry[0][1] = 2 * d.x * d.y;
    m.entry[1][0] = 2 * d.x * d.y;
    m.entry[1][1] = 2 * d.y * d.y - 1;
    return translation(linePoint.asVector()) * m * translation(-linePoint.asVector());
}

ZcGeMatrix3d ZcGeMatrix3d::alignCoordSys(const ZcGePoint3d& fromOrigin, const ZcGeVector3d& fromX,
                                         const ZcGeVector3d& fromY, const ZcGeVector3d& fromZ,
                                         const ZcGePoint3d& toOrigin, const ZcGeVector3d& toX,
                                         const ZcGeVector3d& toY, const ZcGeVector3d& toZ) {
    auto basis = [](const ZcGePoint3d& o, const ZcGeVector3d& x, const ZcGeVector3d& y,
                    const ZcGeVector3d& z) {
        ZcGeMatrix3d m;
        const ZcGeVector3d cols[3] = {x, y, z};
        for (int c = 0; c < 3; ++c) {
            m.entry[0][c] = cols[c].x;
            m.entry[1][c] = cols[c].y;
            m.entry[2][c] = cols[c].z;
        }
        m.entry[0][3] = o.x;
        m.entry[1][3] = o.y;
        m.entry[2][3] = o.z;
        return m;
    };
    return basis(toOrigin, toX, toY, toZ) * basis(fromOrigin, fromX, fromY, fromZ).inverse();
}

ZcGeMatrix3d ZcGeMatrix3d::operator*(const ZcGeMatrix3d& m) const {
    ZcGeMatrix3d r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k)
                sum += entry[i][k] * m.entry[k][j];
            r.entry[i][j] = sum;
        }
    return r;
}

double ZcGeMatrix3d::det() const {
    const auto& e = entry;
    return e[0][0] * (e[1][1] * e[2][2] - e[1][2] * e[2][1]) -
           e[0][1] * (e[1][0] * e[2][2] - e[1][2] * e[2][0]) +
           e[0][2] * (e[1][0] * e[2][1] - e[1][1] * e[2][0]);
}

ZcGeMatrix3d ZcGeMatrix3d::inverse() const {
    // Affine inverse: invert the 3x3 linear part, then the translation.
    const auto& e = entry;
    const double d = det();
    ZcGeMatrix3d r;
    if (d == 0.0)
        return r;
    r.entry[0][0] = (e[1][1] * e[2][2] - e[1][2] * e[2][1]) / d;
    r.entry[0][1] = (e[0][2] * e[2][1] - e[0][1] * e[2][2]) / d;
    r.entry[0][2] = (e[0][1] * e[1][2] - e[0][2] * e[1][1]) / d;
    r.entry[1][0] = (e[1][2] * e[2][0] - e[1][0] * e[2][2]) / d;
    r.entry[1][1] = (e[0][0] * e[2][2] - e[0][2] * e[2][0]) / d;
    r.entry[1][2] = (e[0][2] * e[1][0] - e[0][0] * e[1][2]) / d;
    r.entry[2][0] = (e[1][0] * e[2][1] - e[1][1] * e[2][0]) / d;
    r.entry[2][1] = (e[0][1] * e[2][0] - e[0][0] * e[2][1]) / d;
    r.entry[2][2] = (e[0][0] * e[1][1] - e[0][1] * e[1][0]) / d;
    for (int i = 0; i < 3; ++i)
        r.entry[i][3] =
            -(r.entry[i][0] * e[0][3] + r.entry[i][1] * e[1][3] + r.entry[i][2] * e[2][3]);
    return r;
}

bool ZcGeMatrix3d::isIdentity() const {
    return *this == kIdentity;
}

double ZcGeMatrix3d::scale() const {
    return ZcGeVector3d(entry[0][0], entry[1][0], entry[2][0]).length();
}

bool ZcGeMatrix3d::operator==(const ZcGeMatrix3d& m) const {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            if (std::abs(entry[i][j] - m.entry[i][j]) > 1e-12)
                return false;
    return true;
}

ZcDbExtents::ZcDbExtents(const ZcGePoint3d& minPt, const ZcGePoint3d& maxPt) {
    addPoint(minPt);
    addPoint(maxPt);
}

void ZcDbExtents::addPoint(const ZcGePoint3d& p) {
    if (m_empty) {
        m_min = m_max = p;
        m_empty = false;
        return;
    }
    m_min = {std::min(m_min.x, p.x), std::min(m_min.y, p.y), std::min(m_min.z, p.z)};
    m_max = {std::max(m_max.x, p.x), std::max(m_max.y, p.y), std::max(m_max.z, p.z)};
}

void ZcDbExtents::addExt(const ZcDbExtents& e) {
    if (e.isEmpty())
        return;
    addPoint(e.m_min);
    addPoint(e.m_max);
}

void ZcDbExtents::transformBy(const ZcGeMatrix3d& m) {
    if (m_empty)
        return;
    const ZcGePoint3d lo = m_min, hi = m_max;
    m_empty = true;
    for (int i = 0; i < 8; ++i)
        addPoint(m * ZcGePoint3d(i & 1 ? hi.x : lo.x, i & 2 ? hi.y : lo.y, i & 4 ? hi.z : lo.z));
}
