// Points, displacements and optional values of the plane geometry.
#pragma once

#include "common/Arr.h"
#include "common/Dbl.h"

#include <cmath>
#include <cstdint>

namespace gantrel {

// A point in the drawing's XY plane. noValue marks a point that carries no value (an
// intersection that does not exist); flag is copied along and has no geometric meaning.
struct GePoint {
    double x = 0.0;
    double y = 0.0;
    bool noValue = false;
    std::uint8_t flag = 0;

    GePoint() = default;
    GePoint(double px, double py) : x(px), y(py) {}

    static GePoint None() {
        GePoint p;
        p.noValue = true;
        return p;
    }
    bool HasValue() const { return !noValue; }
};

// A displacement.
struct Vector {
    double x = 0.0;
    double y = 0.0;

    Vector() = default;
    Vector(double vx, double vy) : x(vx), y(vy) {}

    double Length() const { return std::hypot(x, y); }
    bool IsFinite() const { return std::isfinite(x) && std::isfinite(y); }
    Vector operator-() const { return {-x, -y}; }
    Vector operator*(double f) const { return {x * f, y * f}; }
    Vector operator+(const Vector& o) const { return {x + o.x, y + o.y}; }
};

inline Vector operator-(const GePoint& a, const GePoint& b) {
    return {a.x - b.x, a.y - b.y};
}
inline GePoint operator+(const GePoint& p, const Vector& v) {
    return {p.x + v.x, p.y + v.y};
}

// cross(u, v) = u.x * v.y - u.y * v.x.
inline double Cross(const Vector& u, const Vector& v) {
    return u.x * v.y - u.y * v.x;
}
inline double Dot(const Vector& u, const Vector& v) {
    return u.x * v.x + u.y * v.y;
}

// A point whose coordinates may be absent; both absent stands for "no point".
struct DblPoint {
    Dbl x;
    Dbl y;

    DblPoint() = default;
    DblPoint(double px, double py) : x(px), y(py) {}
    explicit DblPoint(const GePoint& p) {
        if (p.HasValue()) {
            x = p.x;
            y = p.y;
        }
    }

    bool HasValue() const { return x.present && y.present; }
    GePoint ToGePoint() const { return HasValue() ? GePoint(x.value, y.value) : GePoint::None(); }
};

// An edge: its direction (end - start) and its two ends.
struct Edge {
    Vector direction;
    GePoint start;
    GePoint end;

    Edge() = default;
    Edge(const GePoint& s, const GePoint& e) : direction(e - s), start(s), end(e) {}
};

using Vectors = Arr<Vector>;
using Dbls = Arr<Dbl>;

} // namespace gantrel
