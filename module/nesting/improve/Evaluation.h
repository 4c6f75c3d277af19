// One candidate of the improving search placed and measured, and the no-fit polygons it needs.
#pragma once

#include "nesting/improve/NfpIndex.h"
#include "nesting/nfp/NfpReport.h"
#include "nesting/place/NestingStopProvider.h"
#include "nesting/place/Result.h"
#include "nesting/settings/NestSettings.h"

#include <limits>
#include <memory>
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

// What the placer kept of an evaluated arrangement, so that a later evaluation of an arrangement
// that begins with the same parts can start after them.
struct PlacementSteps {
    // The arrangement as evaluated (parts unrotated, each carrying its rotation).
    Polygons arrangement;
    PlacementRule rule = PlacementRule::BottomLeft;
    double limitX = std::numeric_limits<double>::infinity();
    // The placed parts, rotated, in placing order (their positions are the result's).
    Polygons placed;
    // Per part of the arrangement: how many parts were placed before it was tried.
    std::vector<int> placedBefore;
};

struct Evaluation {
    // The rated layout, as the run's placer would rate it (its positions without the unions
    // they were placed against).
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
    // Parts at the head of the arrangement whose placement was taken over from an earlier
    // evaluation instead of being placed again.
    int reusedParts = 0;
    // Set for a complete evaluation; shared by the copies of the evaluation.
    std::shared_ptr<const PlacementSteps> steps;
};

// Computes, in one batch on the worker threads, every inner-fit and no-fit polygon that the
// arrangements need and the cache lacks, merges them into the cache, and remembers every pair
// they need in the index. On the thread that owns the cache. heads (may be null; else one entry
// per arrangement): how many parts each arrangement begins with that an arrangement already
// passed through here began with too; the pairs among those parts are not looked for again (the
// cache keeps what it once held).
void EnsureNoFitPolygons(const std::vector<Polygons>& arrangements, const NestSettings& settings,
                         NfpIndex& index, Printer* printer,
                         const std::vector<int>* heads = nullptr);

// Places one arrangement on the index's sheet against the cache's polygons and measures the
// layout. Only reads the index and the cache, so several evaluations may run at once while
// nothing writes to them. The stop provider (may be null) is asked after every placed part; a
// stop leaves the evaluation incomplete.
// A part whose right edge would pass limitX (a sheet x) is left out, as if the sheet ended there;
// since every part goes to its leftmost spot, that is the layout on the shortened sheet (under the
// Leftmost rule a part may stay out where the shortened sheet would have taken it at an exact
// fit, which that rule looks for only when no other spot is left).
//
// previous (may be null) is a complete evaluation on the same sheet, settings and cache, e.g. of
// the arrangement that this one is a neighbour of. When it was placed under the same rule and
// limitX, the parts that both arrangements begin with (same name, rotation and outline) keep
// their places and the placement starts at the first part that differs: the placer keeps
// nothing between parts but the placed parts and their positions, so the result is the one a
// placement from the first part gives.
Evaluation Evaluate(const Polygons& arrangement, const NestSettings& settings,
                    const NfpIndex& index, const NestingStopProvider* stopProvider,
                    PlacementRule rule, double limitX = std::numeric_limits<double>::infinity(),
                    const Evaluation* previous = nullptr);

// How many parts two arrangements begin with alike: same name, rotation, outline and holes.
int CommonHead(const Polygons& a, const Polygons& b);

} // namespace gantrel
