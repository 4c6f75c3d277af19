#include "nesting/geometry/Polygons.h"

#include "nesting/geometry/Predicates.h"

namespace gantrel {

int Polygons::IndexOf(const NestPolygon& polygon) const {
    for (int i = 0; i < Size(); ++i) {
        if (IsSame((*this)[i], polygon)) {
            return i;
        }
    }
    return -1;
}

} // namespace gantrel
