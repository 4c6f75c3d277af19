// Nests a job of part drawings onto as many copies of its sheet as it takes: the pieces left
// over on one sheet are nested on a copy of it placed to the right of the last, a tenth of
// its width away, until every piece is placed, a sheet places none, or the sheets run out.
#pragma once

#include <string>
#include <vector>

#include "nest_script.h"
#include "nest_summary.h"
#include "part_job.h"
#include "session.h"

namespace gantrel::app {

struct SheetResult {
    std::string handle; // of the sheet's outline
    NestSummary summary;
    std::vector<int> placedByPart; // pieces of each part placed on this sheet
};

struct JobOutcome {
    std::vector<SheetResult> sheets;
    std::vector<int> unplacedByPart; // pieces that fit on no sheet, set down beside the last
    // Parts the nesting command read no outline from (none of their pieces came out).
    std::vector<std::string> unreadParts;
    // Why the host stopped the job (a refused line, a failed command); empty when it ran.
    std::string failure;
    int placed() const;
    int unplaced() const;
};

// Runs "Plaxen" once a sheet in the session, whose drawing is the job's; the settings are
// typed once, before the first sheet, and hold for all. maxSheets limits the sheets used. The
// references of the job are erased at the end, leaving the sheets, the placed pieces and the
// pieces that fit on no sheet.
JobOutcome nestPartJob(editor::HostSession& session, const PartJob& job,
                       const NestSettingsFlags& settings, int maxSheets);

} // namespace gantrel::app
