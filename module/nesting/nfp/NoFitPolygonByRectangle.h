// Inner-fit polygon of a part inside an axis-aligned rectangular sheet.
#pragma once

#include "nesting/nfp/NoFitPolygonCalculator.h"

namespace gantrel {

// The rectangle of all positions of B's first vertex that keep B's bounding box inside A's. When
// B's box is wider or taller than A's the result holds one empty polygon.
class NoFitPolygonByRectangle : public NoFitPolygon_Calculator {
public:
    Polygons Calculate(const NestPolygon& a, const NestPolygon& b) override;
};

} // namespace gantrel
