// An ordered, implicitly closed ring of points.
#pragma once

#include "nesting/geometry/GePoint.h"

#include <string>
#include <utility>

namespace gantrel {

class GePoints : public Arr<GePoint> {
public:
    using Arr<GePoint>::Arr;

    // Appends every point of other.
    virtual void AddPoints(const GePoints& other) { AddAll(other); }
    // Appends (x, y) with both flags clear.
    virtual void AddXY(double x, double y) { Add(GePoint(x, y)); }
    // Reverses the order in place.
    virtual void Reverse();
    // "  x y" for every point, four decimals each.
    virtual std::wstring ToString() const;

    // Cyclic neighbours of a vertex index.
    int NextIndex(int i) const { return i + 1 < Size() ? i + 1 : 0; }
    int PrevIndex(int i) const { return i - 1 < 0 ? Size() - 1 : i - 1; }
    const GePoint& PointAt(int i) const { return (*this)[i]; }
    const GePoint& NextPoint(int i) const { return (*this)[NextIndex(i)]; }
    // The edge from vertex i to its successor.
    std::pair<DblPoint, DblPoint> EdgeAt(int i) const {
        return {DblPoint(PointAt(i)), DblPoint(NextPoint(i))};
    }
};

} // namespace gantrel
