// Contacts, sliding distances and containment for the orbiting no-fit polygon.
#pragma once

#include "nesting/geometry/NestPolygon.h"
#include "nesting/nfp/Touch.h"

namespace gantrel {

// Every contact between a and b: for each vertex pair (in order of a, then b) a vertex-vertex
// contact (1e-7), b's vertex strictly inside a's edge, a's vertex strictly inside b's edge.
TouchingGroup FindTouching(const NestPolygon& a, const NestPolygon& b);

// How far b can move along v before it hits a: v is first shortened by the edges of a met by
// the vertices of b, then the result reversed is shortened by the edges of b met by the
// vertices of a. Contacts at the start of the move do not stop it.
double SlideDistance(const NestPolygon& a, const NestPolygon& b, const Vector& v);

// b lies inside a: no vertex or edge midpoint of b strictly outside a (boundary counts as
// inside), and no vertex of a strictly inside b.
bool Inside(const NestPolygon& b, const NestPolygon& a);

} // namespace gantrel
