#include "nesting/place/PositionRater.h"

#include "nesting/geometry/Predicates.h"

namespace gantrel {

double PositionRater::Rate() const {
    const BoundingBox box = BoundingBoxOf(m_layoutPoints);
    return box.IsSet() ? box.Width() : 0.0;
}

} // namespace gantrel
