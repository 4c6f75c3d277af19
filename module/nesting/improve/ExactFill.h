// A search for layouts that fill a rectangular strip exactly up to the least width the parts'
// area allows, for sets whose pieces were cut from one rectangle (jigsaw-like sets).
#pragma once

#include "nesting/geometry/Polygons.h"
#include "nesting/geometry/RegionArithmetic.h"
#include "nesting/place/Position.h"
#include "nesting/settings/NestSettings.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace gantrel {

// The order and rotation search places each part at a spot of the layout it has so far, and on a
// jigsaw-like set almost every order leaves some piece where it blocks another's one place. Here
// the layout grows from its bottom-left empty corner instead: that corner, the leftmost (then
// lowest) vertex of the part of the strip still empty, is convex, and in an exact fill some piece
// must have a vertex there; since nothing is empty to the left of the corner or below it on its
// vertical, that vertex is the piece's own bottom-left vertex. So each step tries every piece
// left (one of each alike shape, at each of its angles) with its bottom-left vertex on the
// corner, keeps those that lie in the empty part, and goes on depth first.
//
// A step is cut off when the empty part it leaves cannot be filled: a piece of it smaller than
// the smallest piece left, or a convex corner sharper than every convex corner of the pieces
// left (some piece must fill the corner with a corner no wider). The integer arithmetic's
// rounding is absorbed by dropping slivers of the empty part and allowing overlaps thinner than
// a few integer units; the layout returned is computed from the parts' own coordinates, each
// piece's corner put on the exact vertex it was matched to.
class ExactFill {
public:
    // parts: the run's prepared parts; angles: per part, the angles it may take; sheet: the
    // prepared sheet; width: the width to fill from the sheet's left edge.
    ExactFill(const Polygons& parts, const std::vector<std::vector<double>>& angles,
              const NestPolygon& sheet, const NestSettings& settings, double width);

    // Whether an exact fill can exist at all: a rectangular sheet at least width wide, parts
    // without holes, and the parts' area equal to width times the sheet's height.
    bool Applies() const { return m_applies; }

    // Searches until a fill is found, every branch is tried, or giveUp (asked every few steps)
    // answers true. The fill's positions are in placing order; null when none was found.
    std::optional<Positions> Search(const std::function<bool()>& giveUp);

    // Steps (pieces tried in place) of the last search, and whether it tried every branch.
    std::int64_t Steps() const { return m_steps; }
    bool Exhausted() const { return m_exhausted; }

private:
    // One part at one of its angles.
    struct Shape {
        double angle = 0.0;
        // Rotated outline, counter-clockwise, in drawing units and in integer units.
        GePoints points;
        IntegerPath loop;
        // Its bottom-left vertex, and the interior angle there (radians).
        int anchor = 0;
        double anchorAngle = 0.0;
        // Box of the integer loop, and the overlap area still taken as touching.
        std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
        double slackArea = 0.0;
        // Its sharpest convex corner (radians).
        double sharpest = 0.0;
    };
    // Parts that are alike: placed in turn, tried once per step.
    struct Group {
        std::vector<int> parts;
        std::vector<Shape> shapes;
        double area = 0.0;
        double sharpest = 0.0;
        int used = 0;
    };

    // Part turned by angle, counter-clockwise; throws PolygonArithmeticError out of range.
    Shape MakeShape(const NestPolygon& part, double angle) const;
    bool Step(const IntegerPaths& empty, int left);
    // A shape put with its bottom-left vertex on a corner.
    struct Placement {
        GePoint shift;
        // Its outline there, in drawing units and rounded to integer units.
        GePoints outline;
        IntegerPath loop;
    };
    // Whether shape, its bottom-left vertex on corner, lies in the empty part up to rounding.
    bool Fits(const Shape& shape, const GePoint& corner, const IntegerPaths& empty,
              Placement& placement) const;
    // Adds a placed piece's loop to the placed loops and gives the part still empty; false
    // (nothing added) when the arithmetic fails.
    bool EmptyAfterPlacing(IntegerPath placedLoop, IntegerPaths& rest);
    // Whether the empty part may still be filled by the pieces left.
    bool Fillable(const IntegerPaths& empty) const;
    // The exact point (drawing units) of the integer vertex v: the nearest placed corner or
    // strip corner when one is within a few units.
    GePoint Snap(const IntegerPoint& v) const;

    const Polygons& m_parts;
    double m_scale = 1.0;
    bool m_applies = false;
    IntegerPath m_strip;
    std::int64_t m_stripMinX = 0, m_stripMinY = 0, m_stripMaxX = 0, m_stripMaxY = 0;
    std::vector<Group> m_groups;
    // Exact corners of the strip and of the pieces placed so far.
    std::vector<GePoint> m_corners;
    Positions m_placed;
    // The placed pieces in integer units, rounded from their exact coordinates.
    IntegerPaths m_placedLoops;
    std::function<bool()> m_giveUp;
    std::int64_t m_steps = 0;
    bool m_exhausted = false;
    bool m_stopped = false;
};

} // namespace gantrel
