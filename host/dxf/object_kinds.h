// The BLOCK and ENDBLK records around a block's entities: their schemas and the values a BLOCK
// record gives its block table record.
#pragma once

#include <string>

#include "schema.h"

namespace gantrel::dxf {

struct BlockData {
    std::wstring name;
    std::int16_t flags = 0; // anonymous 1, has attribute definitions 2, ...
    ZcGePoint3d origin;
    std::wstring description;
};

const Schema& blockBeginSchema();
const Schema& blockEndSchema();

} // namespace gantrel::dxf
