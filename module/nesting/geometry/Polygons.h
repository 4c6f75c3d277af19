// An ordered list of polygons: a part list, the loops of a no-fit polygon, the holes of a polygon.
#pragma once

#include "nesting/geometry/NestPolygon.h"

namespace gantrel {

class Polygons : public Arr<NestPolygon> {
public:
    using Arr<NestPolygon>::Arr;

    // Index of the first element that IsSame as polygon, or -1 when there is none.
    virtual int IndexOf(const NestPolygon& polygon) const;
};

} // namespace gantrel
