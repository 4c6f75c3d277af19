// Header variables: the group code each is written with. Variables read from a file keep the
// code they came with; those the file did not have get the code of a short table of known
// variables, else the code their value type implies.
#pragma once

#include <string>
#include <vector>

#include "zcdb.h"

namespace gantrel::dxf {

// The group code of a header variable's value, negative for a point written without z.
int headerCode(const std::wstring& name, const ZcDbHeaderValue& value,
               const std::vector<std::pair<int, std::string>>* fileCodes);

// The variables written first, in this order; the others follow by name.
const std::vector<std::wstring>& leadingHeaderVariables();

// Key of the preserved data that remembers the codes of variables read from a file.
inline constexpr const char* kHeaderCodesKey = "HEADER:CODES";

} // namespace gantrel::dxf
