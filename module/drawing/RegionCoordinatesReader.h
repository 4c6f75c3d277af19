// The outline of a region as one point list.
#pragma once

#include <vector>

#include "drawing/CoordinateReaders.h"

namespace gantrel {

// Explodes a copy of the region, reads every piece (each added to model space for the length
// of its reading), chains the pieces of its outer loop with JoinPiece and drops every point
// within 1e-4 of a point kept before it. Holes are not part of the outline.
class RegionCoordinatesReader : public ZWRegion {
public:
    using ZWRegion::ZWRegion;
    ~RegionCoordinatesReader() override;
    int Read(Points& points, double n);

private:
    void DeletePieces();
    // The pieces of the loop that encloses the largest area.
    static std::vector<Points> OuterLoop(const std::vector<Points>& pieces);
    std::vector<ZcDbEntity*> m_pieces;
};

} // namespace gantrel
