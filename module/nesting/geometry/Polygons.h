// An ordered list of polygons: a part list, the loops of a no-fit polygon, the holes of a polygon.
#pragma once

#include "nesting/geometry/NestPolygon.h"

namespace gantrel {

class Polygons : public Arr<NestPolygon> {
public:
    using Arr<NestPolygon>::Arr;
};

} // namespace gantrel
