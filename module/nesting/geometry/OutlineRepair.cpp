#include "nesting/geometry/OutlineRepair.h"

#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/ClipperConversion.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/geometry/Tolerances.h"

#include <algorithm>
#include <cmath>

namespace gantrel {

namespace {

// Loops smaller than this share of the whole are rounding, not outlines.
constexpr double kSliverShare = 1e-9;

} // namespace

RepairedOutline RepairOutline(const GePoints& ring, double scale) {
    RepairedOutline repaired;
    GePoints points;
    for (const GePoint& p : ring) {
        if (points.IsEmpty() || !Coincident(points.Last(), p)) {
            points.Add(p);
        }
    }
    while (points.Size() > 1 && Coincident(points.Last(), points[0])) {
        points.RemoveLast();
    }
    int distinct = 0;
    for (int i = 0; i < points.Size() && distinct < 3; ++i) {
        bool seen = false;
        for (int j = 0; j < i && !seen; ++j) {
            seen = Coincident(points[i], points[j]);
        }
        distinct += seen ? 0 : 1;
    }
    if (distinct < 3) {
        repaired.fault = OutlineFault::TooFewPoints;
        return repaired;
    }
    const BoundingBox box = BoundingBoxOf(points);
    if (std::max(box.Width(), box.Height()) < kCoincidentTolerance) {
        repaired.fault = OutlineFault::NoArea;
        return repaired;
    }
    const GePoint origin = points[0];
    GePoints local;
    for (const GePoint& p : points) {
        local.AddXY(p.x - origin.x, p.y - origin.y);
    }
    ClipperLib::Paths loops;
    try {
        ClipperLib::SimplifyPolygon(ToIntegerPath(local, scale, kClipperRange), loops,
                                    ClipperLib::pftNonZero);
    } catch (const PolygonArithmeticError&) {
        repaired.fault = OutlineFault::TooLarge;
        return repaired;
    } catch (const ClipperLib::clipperException&) {
        repaired.fault = OutlineFault::CrossesItself;
        return repaired;
    }
    double total = 0.0;
    for (const ClipperLib::Path& loop : loops) {
        total += std::fabs(ClipperLib::Area(loop));
    }
    const double area = total / (scale * scale);
    if (!(area > kSliverShare * box.Width() * box.Height()) || area < 1e-12) {
        repaired.fault = OutlineFault::NoArea;
        return repaired;
    }
    const ClipperLib::Path* only = nullptr;
    for (const ClipperLib::Path& loop : loops) {
        if (std::fabs(ClipperLib::Area(loop)) <= kSliverShare * total) {
            continue;
        }
        if (only != nullptr) {
            repaired.fault = OutlineFault::CrossesItself;
            return repaired;
        }
        only = &loop;
    }
    // A simple ring encloses as much as its own signed area tells; it is kept as read.
    if (std::fabs(std::fabs(SignedArea(points)) - area) <= 1e-9 * area) {
        repaired.outline = points;
        return repaired;
    }
    for (const GePoint& p : FromIntegerPath(*only, scale)) {
        repaired.outline.AddXY(p.x + origin.x, p.y + origin.y);
    }
    return repaired;
}

std::wstring OutlineFaultText(OutlineFault fault) {
    switch (fault) {
    case OutlineFault::None:
        return L"";
    case OutlineFault::TooFewPoints:
        return L"its outline has fewer than three distinct points";
    case OutlineFault::NoArea:
        return L"its outline encloses no area";
    case OutlineFault::CrossesItself:
        return L"its outline crosses itself and encloses more than one shape";
    case OutlineFault::TooLarge:
        return L"it is too large for the range of the nesting arithmetic";
    }
    return L"";
}

} // namespace gantrel
