// One evaluation of the search: take the next arrangement, obtain its no-fit polygons, place it,
// rate it and hand the rating back. The pieces are separate so that a run can poll for a stop
// request between them.
#pragma once

#include "nesting/nfp/NfpCache.h"
#include "nesting/nfp/NfpReport.h"
#include "nesting/place/NestingStopProvider.h"
#include "nesting/place/Result.h"
#include "nesting/search/Losowacz.h"

namespace gantrel {

// The table the placer needs for one arrangement: the inner-fit polygon of every part inside
// the sheet and the no-fit polygon of every ordered pair (earlier part fixed, later part
// moving), at the parts' rotations. Pairs the cache lacks are computed in one batch (on the
// worker threads unless sequential) and merged into the cache; failures of outer pairs are
// printed through printer (may be null). Must run on the thread that owns the cache.
NfpMap BuildNfpTable(const Polygons& arrangement, const NestPolygon& sheet,
                     const NestSettings& settings, NfpCache& cache, bool sequential,
                     Printer* printer = nullptr);

// Places the arrangement against its table and returns the rated result.
Result PlaceArrangement(const Polygons& arrangement, const NestPolygon& sheet, NfpMap table,
                        const NestSettings& settings, const NestingStopProvider* stopProvider);

struct StepOutcome {
    // False when there was nothing to evaluate (empty arrangement) or a stop request arrived
    // after the table was built; the search then got no rating.
    bool evaluated = false;
    Result result;
};

// GetNext, BuildNfpTable, a stop check, PlaceArrangement and SetRating with the result's
// rating. The sheet must be named as the inner-fit keys name it.
StepOutcome EvaluateNextArrangement(Losowacz& search, const NestPolygon& sheet,
                                    const NestSettings& settings, NfpCache& cache, bool sequential,
                                    const NestingStopProvider* stopProvider,
                                    Printer* printer = nullptr);

} // namespace gantrel
