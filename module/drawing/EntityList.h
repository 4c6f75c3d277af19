// Operations on lists of object ids.
#pragma once

#include <vector>

#include "zcdb.h"

namespace gantrel {

// Erases every object of the list. A failure prints "Entities::Erase", the status and the
// object's handle, and the next object is erased all the same. Always 0.
int EraseAll(const std::vector<ZcDbObjectId>& ids);
// Sets the colour index of every object; failures are ignored.
void SetColorOfAll(const std::vector<ZcDbObjectId>& ids, int color);
// The index of the first id equal to id at or after start; -1 when absent or start < 0.
int Find(const std::vector<ZcDbObjectId>& ids, ZcDbObjectId id, int start = 0);

} // namespace gantrel
