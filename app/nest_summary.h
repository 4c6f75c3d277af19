// The outcome of a nesting run read back from the drawing it changed: which new entities are
// pieces placed on the sheet and which were set down beside it, where each placed piece came
// from and how it was turned and moved, the figures of the layout, and any overlap or piece off
// the sheet.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "zcdb.h"

namespace gantrel::app {

struct PlacementRecord {
    std::string handle;        // the placed copy
    std::string source;        // the part it was copied from (empty when it is not a copy)
    double rotation = 0.0;     // degrees, counter-clockwise, in (-180, 180]
    double dx = 0.0, dy = 0.0; // where the part's origin went
};

struct NestSummary {
    int pieces = 0, placed = 0, unplaced = 0;
    double sheetArea = 0.0;
    // Extent of the placed pieces to the right of the sheet's left edge; none without pieces.
    bool hasUsedWidth = false;
    double usedWidth = 0.0;
    double utilisation = 0.0; // placed area / sheet area
    double spacing = 0.0;     // the gap the layout was checked for
    double seconds = 0.0;
    // Arrangements the run evaluated: it moves the status bar's meter once for each.
    int arrangements = 0;
    std::vector<PlacementRecord> placements;
    std::vector<std::string> violations;
};

// The entities of model space now, in drawing order.
std::vector<ZcDbObjectId> modelSpaceIds(ZcDbDatabase& db);
// The handles of the entities in model space now.
std::set<std::uint64_t> modelSpaceHandles(ZcDbDatabase& db);

// Reads the nesting result: the entities of model space whose handles are not in `before` are
// the pieces; one whose lower-left extents corner lies on the sheet's lower-right corner was
// set down as not placed, every other one is placed. Sources, rotations and translations come
// from the copies' clone origins and accumulated transforms. Placed pieces closer than spacing
// to each other or to the sheet's edge, measured on their curves, are violations (a millionth
// of the sheet's size is rounding).
NestSummary summariseNesting(ZcDbDatabase& db, ZcDbObjectId sheet,
                             const std::set<std::uint64_t>& before, double spacing);

// Text as a JSON string: quoted, with quotes, backslashes and control characters escaped.
std::string jsonQuoted(const std::string& text);

// The summary as one JSON object (a line of text).
std::string toJson(const NestSummary& summary);

} // namespace gantrel::app
