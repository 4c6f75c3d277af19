// One candidate of the improving search placed and measured, and the no-fit polygons it needs.
#pragma once

#include "nesting/nfp/NfpCache.h"
#include "nesting/nfp/NfpReport.h"
#include "nesting/place/NestingStopProvider.h"
#include "nesting/place/Result.h"
#include "nesting/settings/NestSettings.h"

#include <limits>
#include <vector>

namespace gantrel {

// How a candidate's parts are put on the sheet.
enum class PlacementRule {
    // The run's own placer: the first leftmost spot met.
    Leftmost,
    // Leftmost, ties to the lowest spot (BottomLeftPlacer), exact fits always considered.
    BottomLeft,
    // BottomLeft without the exact fits (exact fits only when nothing else is left).
    BottomLeftNoExactFits,
};

struct Evaluation {
    // The rated layout, as the run's placer would rate it.
    Result result;
    // Extent of the placed parts along the sheet's x axis.
    double usedWidth = 0.0;
    // Area of the parts placed and of those left out.
    double placedArea = 0.0;
    double unplacedArea = 0.0;
    // Area-weighted mean of the placed parts' right edges, relative to the layout's left edge:
    // below usedWidth, and smaller when the parts crowd to the left.
    double massRight = 0.0;
    // False when a stop request cut the placement short.
    bool complete = true;
};

// Computes, in one batch on the worker threads, every inner-fit and no-fit polygon that the
// arrangements need and the cache lacks, and merges them into the cache. On the thread that owns
// the cache.
void EnsureNoFitPolygons(const std::vector<Polygons>& arrangements, const NestPolygon& sheet,
                         const NestSettings& settings, NfpCache& cache, Printer* printer);

// Places one arrangement against the cache's polygons and measures the layout. Only reads the
// cache, so several evaluations may run at once while nothing writes to it. The stop provider
// (may be null) is asked after every placed part; a stop leaves the evaluation incomplete.
// A part whose right edge would pass limitX (a sheet x) is left out, as if the sheet ended there;
// since every part goes to its leftmost spot, that is the layout on the shortened sheet (under the
// Leftmost rule a part may stay out where the shortened sheet would have taken it at an exact
// fit, which that rule looks for only when no other spot is left).
Evaluation Evaluate(const Polygons& arrangement, const NestPolygon& sheet,
                    const NestSettings& settings, const NfpCache& cache,
                    const NestingStopProvider* stopProvider, PlacementRule rule,
                    double limitX = std::numeric_limits<double>::infinity());

} // namespace gantrel
