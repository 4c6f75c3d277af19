// Geometry value types of the host interface: points, vectors, matrices and scales in 2-D and 3-D.
#pragma once

#include <cmath>

class ZcGeVector3d;
class ZcGeMatrix3d;

// Tolerance used by equality tests of points and vectors.
struct ZcGeTol {
    double equalPoint = 1e-10;
    double equalVector = 1e-12;
};

class ZcGePoint2d {
public:
    double x = 0.0, y = 0.0;
    constexpr ZcGePoint2d() = default;
    constexpr ZcGePoint2d(double px, double py) : x(px), y(py) {}
    bool operator==(const ZcGePoint2d&) const = default;
};

class ZcGeVector2d {
public:
    double x = 0.0, y = 0.0;
    constexpr ZcGeVector2d() = default;
    constexpr ZcGeVector2d(double vx, double vy) : x(vx), y(vy) {}
    bool operator==(const ZcGeVector2d&) const = default;
};

class ZcGeVector3d {
public:
    double x = 0.0, y = 0.0, z = 0.0;
    static const ZcGeVector3d kIdentity;
    static const ZcGeVector3d kXAxis;
    static const ZcGeVector3d kYAxis;
    static const ZcGeVector3d kZAxis;

    constexpr ZcGeVector3d() = default;
    constexpr ZcGeVector3d(double vx, double vy, double vz) : x(vx), y(vy), z(vz) {}

    double length() const { return std::sqrt(x * x + y * y + z * z); }
    double lengthSqrd() const { return x * x + y * y + z * z; }
    double dotProduct(const ZcGeVector3d& v) const { return x * v.x + y * v.y + z * v.z; }
    ZcGeVector3d crossProduct(const ZcGeVector3d& v) const {
        return {y * v.z - z * v.y, z * v.x - x * v.z, x * v.y - y * v.x};
    }
    ZcGeVector3d normal() const;
    ZcGeVector3d& normalize();
    bool isZeroLength(const ZcGeTol& tol = ZcGeTol()) const { return length() <= tol.equalVector; }
    bool isEqualTo(const ZcGeVector3d& v, const ZcGeTol& tol = ZcGeTol()) const;
    ZcGeVector3d& transformBy(const ZcGeMatrix3d& m);

    ZcGeVector3d operator+(const ZcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    ZcGeVector3d operator-(const ZcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    ZcGeVector3d operator-() const { return {-x, -y, -z}; }
    ZcGeVector3d operator*(double s) const { return {x * s, y * s, z * s}; }
    ZcGeVector3d operator/(double s) const { return {x / s, y / s, z / s}; }
    ZcGeVector3d& operator+=(const ZcGeVector3d& v) { return *this = *this + v; }
    ZcGeVector3d& operator-=(const ZcGeVector3d& v) { return *this = *this - v; }
    ZcGeVector3d& operator*=(double s) { return *this = *this * s; }
    bool operator==(const ZcGeVector3d&) const = default;
};

inline ZcGeVector3d operator*(double s, const ZcGeVector3d& v) {
    return v * s;
}

class ZcGePoint3d {
public:
    double x = 0.0, y = 0.0, z = 0.0;
    static const ZcGePoint3d kOrigin;

    constexpr ZcGePoint3d() = default;
    constexpr ZcGePoint3d(double px, double py, double pz) : x(px), y(py), z(pz) {}

    double distanceTo(const ZcGePoint3d& p) const { return (*this - p).length(); }
    bool isEqualTo(const ZcGePoint3d& p, const ZcGeTol& tol = ZcGeTol()) const {
        return distanceTo(p) <= tol.equalPoint;
    }
    ZcGeVector3d asVector() const { return {x, y, z}; }
    ZcGePoint3d& transformBy(const ZcGeMatrix3d& m);

    ZcGePoint3d operator+(const ZcGeVector3d& v) const { return {x + v.x, y + v.y, z + v.z}; }
    ZcGePoint3d operator-(const ZcGeVector3d& v) const { return {x - v.x, y - v.y, z - v.z}; }
    ZcGeVector3d operator-(const ZcGePoint3d& p) const { return {x - p.x, y - p.y, z - p.z}; }
    ZcGePoint3d& operator+=(const ZcGeVector3d& v) { return *this = *this + v; }
    ZcGePoint3d& operator-=(const ZcGeVector3d& v) { return *this = *this - v; }
    bool operator==(const ZcGePoint3d&) const = default;
};

class ZcGeScale3d {
public:
    double sx = 1.0, sy = 1.0, sz = 1.0;
    constexpr ZcGeScale3d() = default;
    constexpr explicit ZcGeScale3d(double s) : sx(s), sy(s), sz(s) {}
    constexpr ZcGeScale3d(double x, double y, double z) : sx(x), sy(y), sz(z) {}
    bool operator==(const ZcGeScale3d&) const = default;
};

// A 4x4 affine matrix acting on column vectors: p' = M * p.
class ZcGeMatrix3d {
public:
    double entry[4][4];
    static const ZcGeMatrix3d kIdentity;

    ZcGeMatrix3d();

    static ZcGeMatrix3d translation(const ZcGeVector3d& v);
    static ZcGeMatrix3d rotation(double angle, const ZcGeVector3d& axis,
                                 const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
    static ZcGeMatrix3d scaling(double scale, const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
    static ZcGeMatrix3d scaling(const ZcGeScale3d& scale,
                                const ZcGePoint3d& center = ZcGePoint3d::kOrigin);
    static ZcGeMatrix3d mirroring(const ZcGePoint3d& linePoint, const ZcGeVector3d& lineDir);
    // Maps the world system onto the system with the given origin and axes.
    static ZcGeMatrix3d alignCoordSys(const ZcGePoint3d& fromOrigin, const ZcGeVector3d& fromX,
                                      const ZcGeVector3d& fromY, const ZcGeVector3d& fromZ,
                                      const ZcGePoint3d& toOrigin, const ZcGeVector3d& toX,
                                      const ZcGeVector3d& toY, const ZcGeVector3d& toZ);

    ZcGeMatrix3d& setToTranslation(const ZcGeVector3d& v) { return *this = translation(v); }
    ZcGeMatrix3d& setToRotation(double angle, const ZcGeVector3d& axis,
                                const ZcGePoint3d& center = ZcGePoint3d::kOrigin) {
        return *this = rotation(angle, axis, center);
    }
    ZcGeMatrix3d& setToScaling(double scale, const ZcGePoint3d& center = ZcGePoint3d::kOrigin) {
        return *this = scaling(scale, center);
    }
    ZcGeMatrix3d& setToIdentity() { return *this = ZcGeMatrix3d(); }

    ZcGeMatrix3d operator*(const ZcGeMatrix3d& m) const;
    ZcGeMatrix3d& preMultBy(const ZcGeMatrix3d& left) { return *this = left * *this; }
    ZcGeMatrix3d& postMultBy(const ZcGeMatrix3d& right) { return *this = *this * right; }
    ZcGeMatrix3d inverse() const;
    double det() const;
    bool isIdentity() const;
    // Uniform scale along x (the length of the image of the unit x vector).
    double scale() const;
    ZcGeVector3d translationPart() const { return {entry[0][3], entry[1][3], entry[2][3]}; }
    bool operator==(const ZcGeMatrix3d& m) const;
};

inline ZcGePoint3d operator*(const ZcGeMatrix3d& m, const ZcGePoint3d& p) {
    ZcGePoint3d q = p;
    return q.transformBy(m);
}
inline ZcGeVector3d operator*(const ZcGeMatrix3d& m, const ZcGeVector3d& v) {
    ZcGeVector3d w = v;
    return w.transformBy(m);
}

// Axis-aligned box used for geometric extents.
class ZcDbExtents {
public:
    ZcDbExtents() = default;
    ZcDbExtents(const ZcGePoint3d& minPt, const ZcGePoint3d& maxPt);
    bool isEmpty() const { return m_empty; }
    const ZcGePoint3d& minPoint() const { return m_min; }
    const ZcGePoint3d& maxPoint() const { return m_max; }
    void addPoint(const ZcGePoint3d& p);
    void addExt(const ZcDbExtents& e);
    void transformBy(const ZcGeMatrix3d& m);

private:
    ZcGePoint3d m_min, m_max;
    bool m_empty = true;
};

constexpr double kPi = 3.141592653589793238462643383279502884;
