// Whether a part drawing holds something the nesting command can nest: a closed outline among
// its objects, found the way the module finds one (a closed curve, a region, a chain of curves
// whose ends touch, or such an outline inside a block reference).
#pragma once

#include <vector>

#include "zcdb.h"

namespace gantrel::app {

// True when the objects hold at least one closed outline. Texts, dimensions, points and open
// chains of curves are passed over; block references are searched through their definitions
// (up to a nesting depth that no sound drawing reaches).
bool holdsClosedOutline(const std::vector<ZcDbObjectId>& ids);

} // namespace gantrel::app
