// Opening the drawing a subcommand works on, and saving what it made of it.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>

#include "session.h"
#include "zcdb.h"

namespace gantrel::app {

// Reads a drawing file (DXF, also under a ".dwg" name). On failure returns null and sets
// error to a message that names the file, and the line where one applies.
std::unique_ptr<ZcDbDatabase> openDrawing(const std::string& path, std::string& error);

// Saves the session's drawing to output, then draws it into each picture file named (empty
// names are skipped; no picture is drawn when the save failed). Each failure is printed to
// stderr; returns whether everything was written.
bool saveDrawingAndPictures(editor::HostSession& session, const std::string& output,
                            std::initializer_list<std::string> pictures);

} // namespace gantrel::app
