#include "nesting/geometry/ClipperAdapter.h"

#include "nesting/geometry/ClipperConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gantrel {

namespace {

double MaxAbsCoordinate(const GePoints& points) {
    double m = 0.0;
    for (const GePoint& p : points) {
        m = std::max({m, std::fabs(p.x), std::fabs(p.y)});
    }
    return m;
}

void CheckScale(double scale) {
    if (!(scale > 0.0) || !std::isfinite(scale)) {
        throw PolygonArithmeticError("integer scale must be positive");
    }
}

std::vector<GePoints> FromIntegerPaths(const ClipperLib::Paths& paths, double scale) {
    std::vector<GePoints> loops;
    loops.reserve(paths.size());
    for (const ClipperLib::Path& path : paths) {
        loops.push_back(FromIntegerPath(path, scale));
    }
    return loops;
}

struct IntegerBox {
    ClipperLib::cInt width = 0;
    ClipperLib::cInt height = 0;
};

IntegerBox BoxOf(const ClipperLib::Path& path) {
    ClipperLib::cInt minX = path.front().X, maxX = minX, minY = path.front().Y, maxY = minY;
    for (const ClipperLib::IntPoint& ip : path) {
        minX = std::min(minX, ip.X);
        maxX = std::max(maxX, ip.X);
        minY = std::min(minY, ip.Y);
        maxY = std::max(maxY, ip.Y);
    }
    return {maxX - minX, maxY - minY};
}

// Whether one shape could lie wholly inside the other (after translation only).
bool OneBoxFitsInTheOther(const ClipperLib::Path& a, const ClipperLib::Path& b) {
    if (a.empty() || b.empty()) {
        return false;
    }
    const IntegerBox boxA = BoxOf(a);
    const IntegerBox boxB = BoxOf(b);
    return (boxB.width <= boxA.width && boxB.height <= boxA.height) ||
           (boxA.width <= boxB.width && boxA.height <= boxB.height);
}

} // namespace

ClipperLib::Path ToIntegerPath(const GePoints& points, double scale, double limit) {
    ClipperLib::Path path;
    path.reserve(static_cast<std::size_t>(points.Size()));
    for (const GePoint& p : points) {
        const double sx = scale * p.x;
        const double sy = scale * p.y;
        // Checked in floating point: converting an out-of-range double to an integer is
        // undefined behaviour.
        if (!std::isfinite(sx) || !std::isfinite(sy) || std::fabs(sx) > limit ||
            std::fabs(sy) > limit) {
            throw PolygonArithmeticError("coordinate outside the integer arithmetic's range");
        }
        ClipperLib::IntPoint ip(static_cast<ClipperLib::cInt>(sx),
                                static_cast<ClipperLib::cInt>(sy));
        if (!path.empty() && std::llabs(ip.X - path.back().X) <= 10 &&
            std::llabs(ip.Y - path.back().Y) <= 10) {
            ip.X += 11;
            ip.Y += 11;
        }
        path.push_back(ip);
    }
    return path;
}

GePoints FromIntegerPath(const ClipperLib::Path& path, double scale) {
    const double factor = 1.0 / scale;
    GePoints points;
    points.Reserve(static_cast<int>(path.size()));
    for (const ClipperLib::IntPoint& ip : path) {
        points.AddXY(static_cast<double>(ip.X) * factor, static_cast<double>(ip.Y) * factor);
    }
    return points;
}

namespace {

std::vector<GePoints> OffsetWith(const GePoints& outline, double delta, double scale,
                                 ClipperLib::JoinType join, double arcTolerance) {
    CheckScale(scale);
    // Room for the outline to grow by delta (and the nudge) without leaving the range.
    const double limit = kClipperRange - scale * std::fabs(delta) - 64.0;
    if (!std::isfinite(delta) || limit <= 0.0) {
        throw PolygonArithmeticError("offset outside the integer arithmetic's range");
    }
    try {
        ClipperLib::ClipperOffset offset(2.0, scale * arcTolerance);
        offset.AddPath(ToIntegerPath(outline, scale, limit), join, ClipperLib::etClosedPolygon);
        ClipperLib::Paths solution;
        offset.Execute(solution, scale * delta);
        return FromIntegerPaths(solution, scale);
    } catch (const ClipperLib::clipperException& e) {
        throw PolygonArithmeticError(e.what());
    }
}

} // namespace

std::vector<GePoints> OffsetOutline(const GePoints& outline, double delta, double scale,
                                    double arcTolerance) {
    return OffsetWith(outline, delta, scale, ClipperLib::jtRound, arcTolerance);
}

std::vector<GePoints> CoveringOffsetOutline(const GePoints& outline, double delta, double scale) {
    // A round join's chords cut inside the true arc; a mitre (or the square that replaces a long
    // one, tangent to the arc) lies outside it.
    return OffsetWith(outline, delta, scale, ClipperLib::jtMiter, 0.0);
}

std::vector<GePoints> MinkowskiSumWithNegated(const GePoints& a, const GePoints& b, double scale) {
    CheckScale(scale);
    // Sums of two coordinates must stay in range as well.
    const double limit = kClipperRange / 2.0 - 64.0;
    if (scale * (MaxAbsCoordinate(a) + MaxAbsCoordinate(b)) > limit) {
        throw PolygonArithmeticError("coordinates outside the integer arithmetic's range");
    }
    try {
        const ClipperLib::Path pathA = ToIntegerPath(a, scale, limit);
        ClipperLib::Path pathB = ToIntegerPath(b, scale, limit);
        for (ClipperLib::IntPoint& ip : pathB) {
            ip.X = -ip.X;
            ip.Y = -ip.Y;
        }
        ClipperLib::Paths boundarySum;
        ClipperLib::MinkowskiSum(pathA, pathB, boundarySum, true);
        if (!OneBoxFitsInTheOther(pathA, pathB)) {
            return FromIntegerPaths(boundarySum, scale);
        }
        // The sum above sweeps one outline along the other's boundary, so the positions where
        // one shape lies wholly inside the other stay uncovered: a false hole, which the union
        // can join to the outline through a zero-width corridor. Adding one copy of each shape
        // placed at a vertex of the other fills those positions. Shapes whose boxes do not fit
        // one in the other have no such positions and skip this second union.
        ClipperLib::Path placedA = pathA;
        for (ClipperLib::IntPoint& ip : placedA) {
            ip.X += pathB.front().X;
            ip.Y += pathB.front().Y;
        }
        ClipperLib::Path placedB = pathB;
        for (ClipperLib::IntPoint& ip : placedB) {
            ip.X += pathA.front().X;
            ip.Y += pathA.front().Y;
        }
        for (ClipperLib::Path* path : {&placedA, &placedB}) {
            if (!ClipperLib::Orientation(*path)) {
                ClipperLib::ReversePath(*path);
            }
        }
        ClipperLib::Clipper clipper;
        clipper.AddPaths(boundarySum, ClipperLib::ptSubject, true);
        clipper.AddPath(placedA, ClipperLib::ptSubject, true);
        clipper.AddPath(placedB, ClipperLib::ptSubject, true);
        ClipperLib::Paths solution;
        clipper.Execute(ClipperLib::ctUnion, solution, ClipperLib::pftNonZero,
                        ClipperLib::pftNonZero);
        return FromIntegerPaths(solution, scale);
    } catch (const ClipperLib::clipperException& e) {
        throw PolygonArithmeticError(e.what());
    }
}

double IntersectionArea(const GePoints& a, const GePoints& b, double scale) {
    CheckScale(scale);
    try {
        ClipperLib::Clipper clipper;
        clipper.AddPath(ToIntegerPath(a, scale, kClipperRange), ClipperLib::ptSubject, true);
        clipper.AddPath(ToIntegerPath(b, scale, kClipperRange), ClipperLib::ptClip, true);
        ClipperLib::Paths solution;
        clipper.Execute(ClipperLib::ctIntersection, solution, ClipperLib::pftNonZero,
                        ClipperLib::pftNonZero);
        double area = 0.0;
        for (const ClipperLib::Path& path : solution) {
            area += ClipperLib::Area(path);
        }
        return std::fabs(area) / (scale * scale);
    } catch (const ClipperLib::clipperException& e) {
        throw PolygonArithmeticError(e.what());
    }
}

} // namespace gantrel
