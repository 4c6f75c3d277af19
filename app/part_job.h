// A nesting job built from part drawings: a sheet (a W x H rectangle, or the largest closed
// polyline of a drawing of a remnant) and one block per part drawing, its model space as the
// block's content, with one reference per drawing carrying how many pieces to cut.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "zcdb.h"

namespace gantrel::app {

// One part drawing on the command line: "PATH" or "PATH=COUNT".
struct PartRequest {
    std::string path;
    int count = 1;
};

// Reads "PATH[=COUNT]". A text naming a DXF file (ending in ".dxf") is a path whatever it
// holds; otherwise what follows the last "=" is the count, a whole number from 1 to 32767 (the
// largest count a drawing can carry). False with the reason for a bad count.
bool parsePartRequest(const std::string& text, PartRequest& request, std::string& error);

// The sheet of a job: a width and height, or a drawing file.
struct SheetSpec {
    double width = 0.0, height = 0.0;
    std::string file;
};

// Reads "WxH" (positive numbers, "x" or "X" between) or the name of a DXF file. False with the
// reason for anything else.
bool parseSheetSpec(const std::string& text, SheetSpec& sheet, std::string& error);

enum class JobUnits { Millimetres, Inches };

struct JobPart {
    std::string path; // as given
    std::string name; // the file name, as messages and the summary show it
    std::string block;
    int count = 1;
    ZcDbObjectId blockId;
    ZcDbObjectId reference;
};

struct PartJob {
    std::unique_ptr<ZcDbDatabase> db;
    ZcDbObjectId sheet;
    std::vector<JobPart> parts;
};

// Builds the job drawing in the given units. Part drawings and a sheet drawing whose units are
// known are scaled into them; drawings without units are taken as drawn. Nothing, with a
// message naming the file and the reason, when a file cannot be read, a part drawing holds no
// closed outline, or the sheet drawing holds no closed polyline. The files are only read.
std::optional<PartJob> buildPartJob(const SheetSpec& sheet, const std::vector<PartRequest>& parts,
                                    JobUnits units, std::string& error);

// Millimetres in one drawing unit of a units code ($INSUNITS); nothing for "unitless" and
// codes without a length.
std::optional<double> millimetresPerUnit(int code);

} // namespace gantrel::app
