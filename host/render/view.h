// The page of a picture: its size and the map from drawing coordinates (x, y of the world,
// seen from above) to page coordinates (x right, y down, in pixels or points).
#pragma once

#include "render.h"
#include "zcge.h"

namespace gantrel::render {

// A 2-D affine map p' = (xx x + xy y + x0, yx x + yy y + y0), laid out as cairo's matrix.
struct Affine2 {
    double xx = 1.0, yx = 0.0, xy = 0.0, yy = 1.0, x0 = 0.0, y0 = 0.0;
    ZcGePoint2d apply(double x, double y) const {
        return {xx * x + xy * y + x0, yx * x + yy * y + y0};
    }
    ZcGeVector2d applyLinear(double x, double y) const {
        return {xx * x + xy * y, yx * x + yy * y};
    }
};

struct PageView {
    int width = 0, height = 0;
    Affine2 worldToPage;
};

// Fits the x, y range of the extents into a page whose longer side is options.size, with the
// margin on every side, keeping the aspect ratio. Empty extents give a square page; extents
// without width or height are widened so that the page keeps a sensible shape.
PageView fitView(const ZcDbExtents& extents, const RenderOptions& options);

} // namespace gantrel::render
