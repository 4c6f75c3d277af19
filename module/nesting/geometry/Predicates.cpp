#include "nesting/geometry/Predicates.h"

#include "nesting/geometry/Tolerances.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <vector>

namespace gantrel {

bool AlmostEqual(double a, double b, double tol) {
    return std::fabs(b - a) < tol;
}

bool SamePoint(const GePoint& p, const GePoint& q, double tol) {
    return std::fabs(p.x - q.x) < tol && std::fabs(p.y - q.y) < tol;
}

double Distance(const GePoint& p, const GePoint& q) {
    return std::hypot(p.x - q.x, p.y - q.y);
}

bool Coincident(const GePoint& p, const GePoint& q) {
    return Distance(p, q) < kCoincidentTolerance;
}

bool Apart(const GePoint& p, const GePoint& q) {
    return Distance(p, q) > kCoincidentTolerance;
}

bool OnSegment(const GePoint& s, const GePoint& e, const GePoint& p) {
    constexpr double tol = kPredicateTolerance;
    // Vertical segment.
    if (std::fabs(e.x - s.x) < tol && std::fabs(s.x - p.x) < tol) {
        if (std::fabs(p.y - s.y) < tol || std::fabs(p.y - e.y) < tol) {
            return false;
        }
        return std::min(s.y, e.y) < p.y && p.y < std::max(s.y, e.y);
    }
    // Horizontal segment.
    if (std::fabs(e.y - s.y) < tol && std::fabs(s.y - p.y) < tol) {
        if (std::fabs(p.x - s.x) < tol || std::fabs(p.x - e.x) < tol) {
            return false;
        }
        return std::min(s.x, e.x) < p.x && p.x < std::max(s.x, e.x);
    }
    if ((p.x < s.x && p.x < e.x) || (p.x > s.x && p.x > e.x)) {
        return false;
    }
    if ((p.y < s.y && p.y < e.y) || (p.y > s.y && p.y > e.y)) {
        return false;
    }
    if (SamePoint(p, s, tol) || SamePoint(p, e, tol)) {
        return false;
    }
    const Vector se = e - s;
    const Vector sp = p - s;
    if (std::fabs(Cross(se, sp)) > tol) {
        return false;
    }
    const double dot = Dot(se, sp);
    if (dot < 0 || std::fabs(dot) < tol) {
        return false;
    }
    const double len2 = Dot(se, se);
    if (dot > len2 || std::fabs(len2 - dot) < tol) {
        return false;
    }
    return true;
}

bool OnClosedSegment(const GePoint& s, const GePoint& e, const GePoint& p) {
    return Distance(e, p) < kPredicateTolerance || Distance(s, p) < kPredicateTolerance ||
           OnSegment(s, e, p);
}

GePoint LineIntersection(const GePoint& p1, const GePoint& p2, const GePoint& p3, const GePoint& p4,
                         bool infiniteLines) {
    const double a1 = p2.y - p1.y;
    const double b1 = p1.x - p2.x;
    const double c1 = a1 * p1.x + b1 * p1.y;
    const double a2 = p4.y - p3.y;
    const double b2 = p3.x - p4.x;
    const double c2 = a2 * p3.x + b2 * p3.y;
    const double den = a1 * b2 - a2 * b1;
    if (std::fabs(den) < kPredicateTolerance) {
        return GePoint::None();
    }
    const GePoint hit((b2 * c1 - b1 * c2) / den, (a1 * c2 - a2 * c1) / den);
    if (!std::isfinite(hit.x) || !std::isfinite(hit.y)) {
        return GePoint::None();
    }
    if (!infiniteLines && (!OnClosedSegment(p1, p2, hit) || !OnClosedSegment(p3, p4, hit))) {
        return GePoint::None();
    }
    return hit;
}

DblPoint SegmentIntersection(const GePoint& p1, const GePoint& p2, const GePoint& p3,
                             const GePoint& p4) {
    return DblPoint(LineIntersection(p1, p2, p3, p4, false));
}

double SignedArea(const GePoints& polygon) {
    const int n = polygon.Size();
    double sum = 0.0;
    for (int i = 0; i < n; ++i) {
        const GePoint& prev = polygon[i == 0 ? n - 1 : i - 1];
        const GePoint& cur = polygon[i];
        sum += (prev.x + cur.x) * (prev.y - cur.y);
    }
    return 0.5 * sum;
}

double TotalArea(const Polygons& polygons) {
    double total = 0.0;
    for (const NestPolygon& p : polygons) {
        total += std::fabs(SignedArea(p));
    }
    return total;
}

BoundingBox BoundingBoxOf(const GePoints& points) {
    BoundingBox box;
    for (const GePoint& p : points) {
        box.Add(p);
    }
    return box;
}

bool Contains(const NestPolygon& polygon, const GePoint& p) {
    const int n = polygon.Size();
    const double ox = polygon.PositionX();
    const double oy = polygon.PositionY();
    bool inside = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        const GePoint pi(polygon[i].x + ox, polygon[i].y + oy);
        const GePoint pj(polygon[j].x + ox, polygon[j].y + oy);
        if (SamePoint(pi, p, kPredicateTolerance)) {
            return false;
        }
        if (SamePoint(pi, pj, kPredicateTolerance)) {
            continue;
        }
        if (OnSegment(pi, pj, p)) {
            return false;
        }
        if ((p.y < pi.y) != (pj.y > p.y) &&
            p.x < (pj.x - pi.x) * (p.y - pi.y) / (pj.y - pi.y) + pi.x) {
            inside = !inside;
        }
    }
    return inside;
}

bool OnBoundary(const NestPolygon& polygon, const GePoint& p) {
    const int n = polygon.Size();
    const Vector shift(polygon.PositionX(), polygon.PositionY());
    for (int i = 0; i < n; ++i) {
        if (OnClosedSegment(polygon[i] + shift, polygon.NextPoint(i) + shift, p)) {
            return true;
        }
    }
    return false;
}

bool IsRectangle(const GePoints& polygon) {
    if (polygon.Size() != 4) {
        return false;
    }
    const BoundingBox box = BoundingBoxOf(polygon);
    const double minX = box.Min().x;
    const double minY = box.Min().y;
    const double maxX = minX + box.Width();
    const double maxY = minY + box.Height();
    constexpr double tol = kPredicateTolerance;
    for (const GePoint& p : polygon) {
        const bool onX = AlmostEqual(p.x, minX, tol) || AlmostEqual(p.x, maxX, tol);
        const bool onY = AlmostEqual(p.y, minY, tol) || AlmostEqual(p.y, maxY, tol);
        if (!onX || !onY) {
            return false;
        }
    }
    return true;
}

namespace {

bool NamesEqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) ==
                      std::towlower(static_cast<wint_t>(y));
           });
}

bool SameShape(const NestPolygon& a, const NestPolygon& b, bool ignoreCase) {
    if (a.Size() != b.Size() || std::fabs(a.Rotation() - b.Rotation()) > 1e-10) {
        return false;
    }
    if (ignoreCase ? !NamesEqualIgnoringCase(a.Name(), b.Name()) : a.Name() != b.Name()) {
        return false;
    }
    if (a.HoleCount() != b.HoleCount()) {
        return false;
    }
    for (int h = 0; h < a.HoleCount(); ++h) {
        if (Differs((*a.Holes())[h], (*b.Holes())[h])) {
            return false;
        }
    }
    for (int i = 0; i < a.Size(); ++i) {
        if (Apart(a[i], b[i])) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IdenticalPoints(const GePoints& a, const GePoints& b) {
    if (a.Size() != b.Size()) {
        return false;
    }
    for (int i = 0; i < a.Size(); ++i) {
        if (a[i].x != b[i].x || a[i].y != b[i].y) {
            return false;
        }
    }
    return true;
}

bool IsSame(const NestPolygon& a, const NestPolygon& b) {
    return SameShape(a, b, true);
}

bool Differs(const NestPolygon& a, const NestPolygon& b) {
    return !SameShape(a, b, false);
}

bool IsUsableOutline(const GePoints& polygon) {
    const int n = polygon.Size();
    if (n < 3) {
        return false;
    }
    for (const GePoint& p : polygon) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) {
            return false;
        }
    }
    // Repeated vertices: short outlines compare every pair; longer ones sort by x and compare
    // each point with the following ones whose x is within the coincidence distance.
    if (n <= 32) {
        for (int i = 0; i < n; ++i) {
            for (int j = i + 1; j < n; ++j) {
                if (Coincident(polygon[i], polygon[j])) {
                    return false;
                }
            }
        }
        const BoundingBox box = BoundingBoxOf(polygon);
        return std::fabs(SignedArea(polygon)) > 1e-12 * box.Width() * box.Height();
    }
    std::vector<GePoint> sorted(polygon.begin(), polygon.end());
    std::sort(sorted.begin(), sorted.end(),
              [](const GePoint& a, const GePoint& b) { return a.x < b.x; });
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        for (std::size_t j = i + 1;
             j < sorted.size() && sorted[j].x - sorted[i].x < kCoincidentTolerance; ++j) {
            if (Coincident(sorted[i], sorted[j])) {
                return false;
            }
        }
    }
    const BoundingBox box = BoundingBoxOf(polygon);
    return std::fabs(SignedArea(polygon)) > 1e-12 * box.Width() * box.Height();
}

} // namespace gantrel
