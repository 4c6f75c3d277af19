// Whether a part's outline can be nested, and the one outline a self-crossing ring stands for.
#pragma once

#include "nesting/geometry/GePoints.h"

#include <string>

namespace gantrel {

enum class OutlineFault {
    None,
    // Fewer than three points apart from each other.
    TooFewPoints,
    // Points apart, but nothing inside: a line doubling back, a speck.
    NoArea,
    // The ring crosses itself and what it encloses is more than one outline.
    CrossesItself,
    // Too large for the integer arithmetic.
    TooLarge,
};

struct RepairedOutline {
    // The outline to nest: the ring without repeated points, or, when it crossed itself, the
    // outline of what it encloses. Empty with a fault.
    GePoints outline;
    OutlineFault fault = OutlineFault::None;
};

// Drops points that repeat their predecessor (and a last point repeating the first), then
// checks what is left. A ring that crosses itself is replaced by the outline of the area it
// encloses (non-zero rule) when that is one outline. The arithmetic works relative to the ring's
// first point, so the ring's place in the plane does not matter.
RepairedOutline RepairOutline(const GePoints& ring, double scale);

// The reason in words, for the user ("it encloses no area").
std::wstring OutlineFaultText(OutlineFault fault);

} // namespace gantrel
