// Region arithmetic on integer loops for the placer: union, difference, cleaning and areas. The
// integer loops are plain values here; the conversion to and from the polygon library's paths
// stays inside this layer.
#pragma once

#include "nesting/geometry/ClipperAdapter.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace gantrel {

struct IntegerPoint {
    std::int64_t x = 0;
    std::int64_t y = 0;

    friend bool operator==(const IntegerPoint&, const IntegerPoint&) = default;
};

using IntegerPath = std::vector<IntegerPoint>;
using IntegerPaths = std::vector<IntegerPath>;

// The largest absolute integer coordinate a loop may have when it takes part in the arithmetic;
// leaves room for translating loops by a placed part's position.
inline constexpr double kRegionRange = static_cast<double>(0x3FFFFFFFFFFFFFFFLL) / 4.0;

// The outline as an integer loop at scale (truncation toward zero with the 11-unit nudge of a
// point close to its predecessor). Throws PolygonArithmeticError outside kRegionRange.
IntegerPath ToIntegerLoop(const GePoints& points, double scale);
// The inverse conversion with the factor 1 / scale.
GePoints FromIntegerLoop(const IntegerPath& path, double scale);

// Signed area in square integer units, positive for counter-clockwise loops (y axis up).
double LoopArea(const IntegerPath& path);
// Removes vertices closer than distance to a neighbour or to the line through their neighbours.
IntegerPath CleanLoop(const IntegerPath& path, double distance);
void CleanLoops(IntegerPaths& paths, double distance);
// The region of the loops (outer loops counter-clockwise, holes clockwise) without the parts of
// it narrower than twice distance: shrunk by distance and grown back with mitred corners, so
// that the other corners come back in place. Thin slivers, needles and gaps between a hole and
// the outer boundary go. False when the arithmetic fails.
bool OpenRegion(const IntegerPaths& paths, double distance, IntegerPaths& out);

// Union and difference with the non-zero fill rule for subjects and clips. A failure of the
// arithmetic makes the operation return false and leaves out empty.
class RegionClipper {
public:
    RegionClipper();
    ~RegionClipper();
    RegionClipper(const RegionClipper&) = delete;
    RegionClipper& operator=(const RegionClipper&) = delete;

    // Closed subject loop.
    void AddSubject(const IntegerPath& path);
    void AddSubjects(const IntegerPaths& paths);
    // Closed clip loops.
    void AddClips(const IntegerPaths& paths);

    bool Union(IntegerPaths& out);
    bool Difference(IntegerPaths& out);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace gantrel
