// A pair of shapes whose no-fit (or inner-fit) polygon is wanted, and its cache key.
#pragma once

#include "nesting/geometry/NestPolygon.h"

#include <string>

namespace gantrel {

struct Pair {
    NestPolygon a;
    NestPolygon b;
    // The key record.
    std::wstring nameA;
    std::wstring nameB;
    bool inner = false; // a is a sheet and the inner-fit polygon is wanted
    double rotationA = 0.0;
    double rotationB = 0.0;

    // A pair whose key record comes from the shapes' names and rotations.
    static Pair Of(const NestPolygon& a, const NestPolygon& b, bool inner);

    // A key record whose two names are empty gives no key.
    bool HasKey() const { return !nameA.empty() || !nameB.empty(); }
    // "nameA|nameB|t-or-f|rotationA|rotationB", rotations with four decimals.
    std::wstring KeyText() const;
};

class Pairs : public Arr<Pair> {
public:
    using Arr<Pair>::Arr;
};

} // namespace gantrel
