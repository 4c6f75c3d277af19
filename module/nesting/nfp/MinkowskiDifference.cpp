#include "nesting/nfp/MinkowskiDifference.h"

#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/Predicates.h"

#include <vector>

namespace gantrel {

Polygons MinkowskiDifference::Calculate(const NestPolygon& a, const NestPolygon& b) {
    if (!IsUsableOutline(a) || !IsUsableOutline(b)) {
        return Polygons();
    }
    std::vector<GePoints> loops;
    try {
        loops = MinkowskiSumWithNegated(a, b, m_scale);
    } catch (const PolygonArithmeticError&) {
        return Polygons();
    }
    if (loops.empty()) {
        return Polygons();
    }
    std::size_t best = 0;
    double bestArea = SignedArea(loops[0]);
    for (std::size_t i = 1; i < loops.size(); ++i) {
        const double area = SignedArea(loops[i]);
        if (area < bestArea) {
            best = i;
            bestArea = area;
        }
    }
    NestPolygon outline;
    outline.AddPoints(loops[best]);
    Polygons result;
    result.Add(outline.Translated(Vector(b[0].x, b[0].y)));
    return result;
}

} // namespace gantrel
