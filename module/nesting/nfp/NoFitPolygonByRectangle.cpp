#include "nesting/nfp/NoFitPolygonByRectangle.h"

#include "nesting/geometry/Predicates.h"

namespace gantrel {

Polygons NoFitPolygonByRectangle::Calculate(const NestPolygon& a, const NestPolygon& b) {
    Polygons result;
    if (b.IsEmpty()) {
        return result;
    }
    const BoundingBox boxA = BoundingBoxOf(a);
    const BoundingBox boxB = BoundingBoxOf(b);
    NestPolygon fit;
    if (boxB.Width() > boxA.Width() || boxB.Height() > boxA.Height()) {
        result.Add(fit);
        return result;
    }
    const double dx1 = boxA.Min().x - boxB.Min().x;
    const double dx2 = boxA.Max().x - boxB.Max().x;
    const double dy1 = boxA.Min().y - boxB.Min().y;
    const double dy2 = boxA.Max().y - boxB.Max().y;
    const double x0 = b[0].x;
    const double y0 = b[0].y;
    fit.AddXY(x0 + dx1, y0 + dy1);
    fit.AddXY(x0 + dx2, y0 + dy1);
    fit.AddXY(x0 + dx2, y0 + dy2);
    fit.AddXY(x0 + dx1, y0 + dy2);
    result.Add(fit);
    return result;
}

} // namespace gantrel
