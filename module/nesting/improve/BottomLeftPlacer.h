// A placer that breaks the leftmost rule's ties towards the bottom: among the admissible spots
// whose x lies within a hair of the leftmost one, the lowest wins.
#pragma once

#include "nesting/place/Ukladacz.h"

#include <optional>
#include <vector>

namespace gantrel {

// The plain placer keeps the first leftmost vertex met, which on a strip often lifts a part off
// the bottom edge and leaves a gap below it that no later part can reach. Ties within
// kTieUnits integer units of x go to the smaller y, then to the smaller x.
//
// With exact fits on, a spot where the part touches its neighbours exactly (a place of no area
// that the cleaning of the feasible region drops) also competes when it lies further left than
// every vertex of the feasible region; the plain placer looks for such spots only when nothing
// else is left. Jigsaw-like sets, whose pieces fill the sheet exactly, need them.
class BottomLeftPlacer : public Ukladacz {
public:
    static constexpr std::int64_t kTieUnits = 1000;

    BottomLeftPlacer(const NestPolygon& sheet, Polygons parts, NfpMap table,
                     const NestSettings& settings, const NestingStopProvider* stopProvider,
                     bool exactFits = true);

    Position BestPosition(const NestPolygon& part) override;
    Position FirstPosition(const NestPolygon& part) override;

private:
    bool m_exactFits;
};

// The leftmost (then lowest) vertex of the inner-fit loops or of the forbidden regions' loops,
// with x below beforeX, that lies in the inner-fit region (inside or on a loop) and in the
// interior of no forbidden region (its boundary is free). Crossings of edges are not tried: the
// places where a part fits exactly between its neighbours are, on jigsaw-like sets, where their
// corners meet.
std::optional<IntegerPoint> LeftmostFreeVertex(const IntegerPaths& innerFit,
                                               const std::vector<IntegerPaths>& forbidden,
                                               std::int64_t beforeX);

// The bottom-left vertex of the loops: the smallest y among the vertices whose x lies within tie
// of the smallest x (the smaller x on equal y). Null when the loops have no vertex.
const IntegerPoint* BottomLeftVertex(const IntegerPaths& loops, std::int64_t tie);

} // namespace gantrel
