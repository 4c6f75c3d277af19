#include "view.h"

#include <algorithm>
#include <cmath>

namespace gantrel::render {

namespace {

constexpr int kMinSize = 16;
constexpr int kMaxSize = 16384;

} // namespace

PageView fitView(const ZcDbExtents& extents, const RenderOptions& options) {
    const int size = std::clamp(options.size, kMinSize, kMaxSize);
    const double margin = std::round(size * std::clamp(options.margin, 0.0, 0.4));

    double minX = -0.5, minY = -0.5, maxX = 0.5, maxY = 0.5;
    if (!extents.isEmpty()) {
        minX = extents.minPoint().x;
        minY = extents.minPoint().y;
        maxX = extents.maxPoint().x;
        maxY = extents.maxPoint().y;
    }
    // A drawing that is a single point or a line along an axis still gets a page: the empty
    // direction is widened to a small share of the other (or to one unit when both are empty).
    const double longest = std::max({maxX - minX, maxY - minY, 0.0});
    const double least = longest > 0.0 ? longest * 0.01 : 1.0;
    auto widen = [least](double& lo, double& hi) {
        if (hi - lo < least) {
            const double mid = 0.5 * (lo + hi);
            lo = mid - 0.5 * least;
            hi = mid + 0.5 * least;
        }
    };
    widen(minX, maxX);
    widen(minY, maxY);

    const double w = maxX - minX, h = maxY - minY;
    const double scale = (size - 2.0 * margin) / std::max(w, h);
    PageView view;
    view.width = std::clamp(static_cast<int>(std::ceil(w * scale + 2.0 * margin)), 1, kMaxSize);
    view.height = std::clamp(static_cast<int>(std::ceil(h * scale + 2.0 * margin)), 1, kMaxSize);
    // Centre the drawing on the page (the page sizes were rounded up) and turn y downwards.
    const double offsetX = 0.5 * (view.width - w * scale);
    const double offsetY = 0.5 * (view.height - h * scale);
    view.worldToPage.xx = scale;
    view.worldToPage.yy = -scale;
    view.worldToPage.x0 = offsetX - minX * scale;
    view.worldToPage.y0 = offsetY + maxY * scale;
    return view;
}

} // namespace gantrel::render
