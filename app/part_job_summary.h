// The account of a job of part drawings: per sheet the pieces placed and the utilisation, per
// part drawing how many pieces went on which sheet, and the pieces that fit on no sheet.
#pragma once

#include <string>

#include "part_job.h"
#include "part_job_run.h"

namespace gantrel::app {

// Lines for the transcript, each ending in a line break.
std::string jobReport(const PartJob& job, const JobOutcome& outcome);

// The account as one JSON object (a line of text): "sheets" (each sheet's handle and its
// nesting summary), "files", the totals, "unplaced_files" and every sheet's "violations".
std::string jobJson(const PartJob& job, const JobOutcome& outcome);

} // namespace gantrel::app
