// Places a part whose only free places have no area: points and segments where the part touches
// the sheet edge and the placed parts exactly.
#pragma once

#include "nesting/geometry/RegionArithmetic.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace gantrel {

// Distance (integer units) within which a point counts as lying on a loop's boundary. Loops
// pass through drawing units on their way to the integer arithmetic, which may move a vertex by
// one unit, so an exact touch can come out a unit apart.
inline constexpr double kBoundarySlack = 10.0;

// Where p lies against a loop: inside, outside, or on the boundary (within kBoundarySlack).
enum class PointLocation { Outside, Inside, OnBoundary };
PointLocation Locate(const IntegerPoint& p, const IntegerPath& loop);

// True when p lies in the interior of the region bounded by loops: the loop of largest area is
// the outline, loops turning the other way are holes; a point on any loop's boundary is not in
// the interior.
bool InInterior(const IntegerPoint& p, const IntegerPaths& loops);

// A region's loops with their boxes and their turning, prepared once for many InInterior
// questions. Refers to the loops, which must outlive it.
class PreparedRegion {
public:
    explicit PreparedRegion(const IntegerPaths& region);
    // InInterior(p, region).
    bool Interior(const IntegerPoint& p) const;

private:
    struct LoopBox {
        std::int64_t minX, minY, maxX, maxY;
    };
    std::vector<const IntegerPath*> m_loops;
    std::vector<LoopBox> m_boxes;
    // +1 turning as the outline, -1 a hole.
    std::vector<int> m_signs;
};

// The leftmost point that lies in the inner-fit region (inside or on the boundary of one of its
// loops) and in the interior of none of the forbidden regions (one per placed part).
// Candidates are the vertices of the inner-fit loops, then the vertices of the forbidden loops,
// then the crossings of their edges (rounded to the nearest integer point, with the
// neighbouring integer points tried when the rounded one is not free). Among candidates with
// the same x the first met wins. Empty when no candidate is free.
std::optional<IntegerPoint> LeftmostFreePoint(const IntegerPaths& innerFit,
                                              const std::vector<IntegerPaths>& forbidden);

} // namespace gantrel
