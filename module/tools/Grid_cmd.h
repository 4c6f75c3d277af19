// "Kraty": a rectangular grid of lines across a rectangle shown by two corners, edges included.
#pragma once

#include <vector>

#include "frame/Commands.h"
#include "zcdball.h"

namespace gantrel {

struct GridLine {
    ZcGePoint3d start;
    ZcGePoint3d end;
};

// The lines of a grid over the box, vertical ones (constant x, secondCount of them) first, then
// the horizontal ones (constant y, firstCount). Counts of 2 or more space the lines evenly from
// edge to edge; a count of 1 gives the one line at the minimum edge; 0 or less gives none.
std::vector<GridLine> GridLines(const ZcDbExtents& box, int firstCount, int secondCount);

class Grid_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    void Run();

private:
    ZcDbExtents m_box;
    int m_firstCount = 0;
    int m_secondCount = 0;
};

} // namespace gantrel
