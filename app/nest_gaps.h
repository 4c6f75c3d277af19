// The gaps of a nesting result measured on the true curves: lines and circular arcs exactly,
// other curves (ellipses, splines) as chains of chords within a given distance of the curve.
#pragma once

#include <string>
#include <vector>

#include "zcdbents.h"

namespace gantrel::app {

struct GapBox {
    double minX = 0.0, minY = 0.0, maxX = 0.0, maxY = 0.0;
};

struct GapSegment {
    double ax = 0.0, ay = 0.0, bx = 0.0, by = 0.0;
};

// A circular arc running counter-clockwise from `start` through `sweep` radians (2 pi for a
// whole circle).
struct GapArc {
    double cx = 0.0, cy = 0.0, r = 0.0, start = 0.0, sweep = 0.0;
};

// The curves that draw one piece (or the sheet).
struct GapShape {
    std::vector<GapSegment> segments;
    std::vector<GapArc> arcs;
    bool empty() const { return segments.empty() && arcs.empty(); }
    GapBox box() const;
};

// The curves of the entity in the XY plane; block references, regions and polylines are
// exploded (nested blocks too). Curves other than lines, arcs and circles become chords that
// stay within chordTolerance of the curve. Texts and points draw nothing here.
GapShape gapShape(const ZcDbEntity& entity, double chordTolerance);

// The smallest distance between the curves of a and b (0 where they cross or touch).
double curveDistance(const GapShape& a, const GapShape& b);

struct NamedGapShape {
    std::string handle;
    GapShape shape;
};

// Every pair of pieces closer than spacing - tolerance, and every piece closer than that to the
// sheet's edge, one readable line each.
std::vector<std::string> findGapFaults(const GapShape& sheet,
                                       const std::vector<NamedGapShape>& pieces, double spacing,
                                       double tolerance);

} // namespace gantrel::app
