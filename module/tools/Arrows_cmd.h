// "T_LZS": a chain of arrows (leaders) through picked points, each arrowhead at the later point.
#pragma once

#include "frame/Commands.h"
#include "zcdball.h"

namespace gantrel {

// Draws one arrow as a leader with the given arrow size and dimension scale.
class LeaderJob {
public:
    LeaderJob(double arrowSize, double dimensionScale)
        : m_arrowSize(arrowSize), m_dimensionScale(dimensionScale) {}
    // Points closer than 1e-5 draw nothing; otherwise the leader has the vertices (to, from),
    // its arrowhead at to.
    // The id of the new leader; null when nothing was drawn or it could not be added.
    ZcDbObjectId Draw(const ZcGePoint3d& from, const ZcGePoint3d& to);

private:
    ZcDbLeader* m_leader = nullptr;
    double m_arrowSize;
    double m_dimensionScale;
};

class Arrows_cmd : public KorvantCommand {
public:
    using KorvantCommand::KorvantCommand;
    void Run();
};

} // namespace gantrel
