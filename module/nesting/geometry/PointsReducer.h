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

// Visvalingam-Whyatt: repeatedly removes the interior point whose triangle with its two
// neighbours has the smallest area (the lowest index on equal areas) while that area is below the
// threshold. The first and the last point are never removed.
class VisvalingamWhyattPointsReducer : public LinearPointsReducer {
public:
    explicit VisvalingamWhyattPointsReducer(double threshold) : m_threshold(threshold) {}

    GePoints Reduce(const GePoints& points) const override;
    std::vector<DblPoint> Reduce(const std::vector<DblPoint>& points) const override;

private:
    double m_threshold;
};

} // namespace gantrel
