// Where one part goes on the sheet, and the layout of one sheet.
#pragma once

#include "nesting/geometry/GePoint.h"
#include "nesting/geometry/RegionArithmetic.h"

#include <string>

namespace gantrel {

struct Position {
    // Displacement (drawing units) that moves the part's reference point onto its spot. The
    // placer sets noValue to false and flag to 0 when it fills the translation.
    GePoint translation;
    // Rotation of the part in degrees.
    double rotation = 0.0;
    // Name of the part (the handle of the drawing object it came from).
    std::wstring name;
    // The union of no-fit loops the part was placed against (integer units); empty for the
    // first part.
    IntegerPaths paths;
    // True when the record describes a real placement.
    bool placed = false;
};

// The layout of one sheet, in placing order.
class Positions : public Arr<Position> {
public:
    using Arr<Position>::Arr;
};

} // namespace gantrel
