// Where the orbit starts: the shift that brings B into contact with A.
#pragma once

#include "nesting/geometry/NestPolygon.h"

namespace gantrel {

class IStartShiftCalculator {
public:
    virtual ~IStartShiftCalculator() = default;
    // An edge whose direction is the shift to apply to b.
    virtual Edge Compute(const NestPolygon& a, const NestPolygon& b) const = 0;
};

// Outer orbit: B's top vertex (the first of equal ones) on A's bottom vertex (the leftmost of
// those within 1e-7).
class StartShiftMaxBToMinA : public IStartShiftCalculator {
public:
    Edge Compute(const NestPolygon& a, const NestPolygon& b) const override;
};

// Inner orbit (A is the container): tries every vertex of B on every vertex of A, and from each
// such position slides B along the candidate directions until it lies inside A. The shortest
// shift found for the first pairing that succeeds wins; zero when none does.
class StartShiftBySliding : public IStartShiftCalculator {
public:
    Edge Compute(const NestPolygon& a, const NestPolygon& b) const override;
};

} // namespace gantrel
