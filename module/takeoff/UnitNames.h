// The unit names of the drawing's INSUNITS values, as the host's unit conversion knows them.
#pragma once

#include <string>
#include <vector>

namespace gantrel {

// The 21 names, indexed by INSUNITS 0 to 20. Filled on first use and kept while the module is
// loaded.
const std::vector<std::wstring>& UnitNames();

// The name of an INSUNITS value; empty for a value outside 0 to 20, which the host never gives.
std::wstring UnitName(int insunits);

} // namespace gantrel
