// The sheet's cleaning needs the polygon library's simplification, which the geometry layer has
// no use for elsewhere; it is done here on the adapter's conversions.
#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/ClipperConversion.h"
#include "nesting/run/Nest.h"

#include <cmath>

namespace gantrel {

NestPolygon CleanSheetOutline(const NestPolygon& sheet, const NestSettings& settings) {
    NestPolygon cleaned;
    cleaned.SetName(sheet.Name());
    const double scale = static_cast<double>(settings.integerScale);
    try {
        const ClipperLib::Path path = ToIntegerPath(sheet, scale, kClipperRange);
        ClipperLib::Paths simple;
        // Clipper's SimplifyPolygon works strictly simple.
        ClipperLib::SimplifyPolygon(path, simple, ClipperLib::pftNonZero);
        const ClipperLib::Path* largest = nullptr;
        double largestArea = 0.0;
        for (const ClipperLib::Path& loop : simple) {
            const double area = std::fabs(ClipperLib::Area(loop));
            if (largest == nullptr || area > largestArea) {
                largest = &loop;
                largestArea = area;
            }
        }
        if (largest == nullptr) {
            return cleaned;
        }
        ClipperLib::Path clean;
        ClipperLib::CleanPolygon(*largest, clean, settings.arcTolerance / scale);
        if (clean.empty()) {
            return cleaned;
        }
        const GePoints points = FromIntegerPath(clean, scale);
        for (const GePoint& p : points) {
            cleaned.Add(p);
        }
    } catch (const PolygonArithmeticError&) {
        return cleaned;
    } catch (const ClipperLib::clipperException&) {
        return cleaned;
    }
    return cleaned;
}

} // namespace gantrel
