// Opening the drawing a subcommand works on.
#pragma once

#include <memory>
#include <string>

#include "zcdb.h"

namespace gantrel::app {

// Reads a drawing file (DXF, also under a ".dwg" name). On failure returns null and sets
// error to a message that names the file, and the line where one applies.
std::unique_ptr<ZcDbDatabase> openDrawing(const std::string& path, std::string& error);

} // namespace gantrel::app
