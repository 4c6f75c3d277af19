// The coordinate file of "T_PtExport": one line "x;y;z" per point, four decimals, no header,
// each line ended by carriage return and line feed whatever the platform.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "zcdball.h"

namespace gantrel {

// The file's whole text, in the order of the points.
std::string CoordinateLines(const std::vector<ZcGePoint3d>& points);

// Writes the text whole or not at all: into a new file beside the target, then renamed over it.
// False when that file cannot be created, written or renamed (the target is then untouched).
bool WriteWholeFile(const std::wstring& path, const std::string& text);

// Asks for a file to save coordinates in through the system's save dialog ("*.csv", overwrite
// prompt on); nothing when the user cancels.
std::optional<std::wstring> AskCoordinateFilePath();

} // namespace gantrel
