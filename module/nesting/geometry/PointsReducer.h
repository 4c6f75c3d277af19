// Point reduction of outlines.
#pragma once

#include "nesting/geometry/GePoints.h"

#include <vector>

namespace gantrel {

class LinearPointsReducer {
public:
    virtual ~LinearPointsReducer() = default;
    virtual GePoints Reduce(const GePoints& points) const = 0;
    virtual std::vector<DblPoint> Reduce(const std::vector<DblPoint>& points) const = 0;
};

// Which way a reduced closed outline may move from the original.
enum class ReductionSide {
    // Anywhere: any point may go.
    Any,
    // Only outward: a point goes only where the new edge runs outside the outline (a reflex or
    // straight corner), so the reduced outline still covers the original. For parts.
    Outside,
    // Only inward: a point goes only where the new edge runs inside the outline (a convex or
    // straight corner), so the reduced outline stays within the original. For the sheet.
    Inside,
};

// Visvalingam-Whyatt: repeatedly removes the interior point whose triangle with its two
// neighbours has the smallest area (the lowest index on equal areas) while that area is below the
// threshold. The first and the last point are never removed. With a side other than Any the
// points are a closed outline, and a point is removed only when its corner turns the allowed way
// and no other point lies in the triangle it cuts off or adds.
class VisvalingamWhyattPointsReducer : public LinearPointsReducer {
public:
    explicit VisvalingamWhyattPointsReducer(double threshold,
                                            ReductionSide side = ReductionSide::Any)
        : m_threshold(threshold), m_side(side) {}

    GePoints Reduce(const GePoints& points) const override;
    std::vector<DblPoint> Reduce(const std::vector<DblPoint>& points) const override;

private:
    // Whether removing point i keeps the outline on the allowed side; orientation is +1 for
    // counter-clockwise, -1 for clockwise.
    bool Removable(const std::vector<DblPoint>& points, std::size_t i, double orientation) const;

    double m_threshold;
    ReductionSide m_side;
};

} // namespace gantrel
