// Reading and writing drawings as DXF: the host's entry points for files.
//
// Reading accepts ASCII DXF from R12 to 2018 (LF or CRLF lines; the drawing's code page before
// AC1021, UTF-8 after). A file that cannot be read is refused with a message naming the file and
// the line; what is read leniently (a missing table, a dangling reference, an entity kept raw)
// is listed as repairs. Writing produces DXF 2010 (AC1024) in UTF-8 with reals in 17
// significant digits.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "zcdb.h"

namespace gantrel::dxf {

struct ReadResult {
    bool ok = false;
    // "FILE:LINE: problem" (UTF-8) when the file was refused.
    std::string message;
    std::size_t line = 0;
    // One "FILE:LINE: repair" message for each repair of the file's content.
    std::vector<std::string> repairs;
};

// Reads DXF text into db, replacing what it holds (db must have no object open). A refused
// file leaves db unchanged. name is used in messages.
ReadResult readDxfText(ZcDbDatabase& db, std::string_view text, const std::string& name);
ReadResult readDxf(ZcDbDatabase& db, const std::filesystem::path& path);

// Writes db as DXF; false with the reason in error when the database lacks its tables or the
// stream fails.
bool writeDxf(const ZcDbDatabase& db, std::ostream& out, std::string* error = nullptr);
// Writes db to a temporary file in the folder of path and renames it into place, so that a
// failed save leaves an existing file whole.
bool writeDxfFile(const ZcDbDatabase& db, const std::filesystem::path& path, std::string& error);

} // namespace gantrel::dxf
