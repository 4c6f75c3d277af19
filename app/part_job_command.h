// "gantrel nest --sheet-size WxH|SHEET.dxf PART.dxf[=COUNT]... [-o JOB.dxf] [--sheets N]
// [--units mm|in] [settings flags] [--seed N] [--json]": builds a job drawing from part
// drawings, nests it on as many sheets as it takes, saves it and reports.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host_setup.h"
#include "nest_script.h"

namespace gantrel::app {

struct PartJobOptions {
    std::string sheet;              // "WxH" or a DXF file
    std::vector<std::string> parts; // "PART.dxf[=COUNT]"
    std::string output, svg, png;
    std::optional<int> sheets;
    std::string units = "mm";
    NestSettingsFlags settings;
    std::optional<unsigned> seed;
    bool json = false;
    HostOptions host;
};

// The default name of the job drawing, in the current folder.
inline constexpr const char* kDefaultJobFile = "job-nested.dxf";

// Runs the job; returns the exit status.
int runPartJob(const PartJobOptions& options);

} // namespace gantrel::app
