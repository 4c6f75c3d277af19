// The axis-aligned bounding box of a point set.
#pragma once

#include "nesting/geometry/GePoint.h"

namespace gantrel {

class BoundingBox {
public:
    // The first point sets both corners; later points widen the box.
    void Add(const GePoint& p);
    // True when p lies in the box widened by 1e-6 on every side.
    bool Contains(const GePoint& p) const;
    void Inflate(double d);

    bool IsSet() const { return m_set; }
    const GePoint& Min() const { return m_min; }
    const GePoint& Max() const { return m_max; }
    double Width() const { return m_max.x - m_min.x; }
    double Height() const { return m_max.y - m_min.y; }

private:
    bool m_set = false;
    GePoint m_min;
    GePoint m_max;
};

} // namespace gantrel
