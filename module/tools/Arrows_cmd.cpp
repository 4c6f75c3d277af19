#include "tools/Arrows_cmd.h"

#include <memory>

#include "drawing/UserInput.h"
#include "drawing/ZWDrawer.h"
#include "frame/TextProvider.h"

namespace gantrel {

namespace {

constexpr unsigned kPointText = 40210;
constexpr double kSamePoint = 1e-5;

} // namespace

ZcDbObjectId LeaderJob::Draw(const ZcGePoint3d& from, const ZcGePoint3d& to) {
    if (from.distanceTo(to) < kSamePoint) {
        return ZcDbObjectId::kNull;
    }
    auto leader = std::make_unique<ZcDbLeader>();
    leader->setDimscale(m_dimensionScale);
    leader->setDimasz(m_arrowSize);
    // The arrowhead sits at the first vertex, so the new point comes first. Points off the
    // plane are taken as they are: the leader runs between the two picked points in space.
    leader->appendVertex(to);
    leader->appendVertex(from);
    ZWDrawer drawer;
    if (drawer.AddToSpace(leader.get()) != Zcad::eOk) {
        return ZcDbObjectId::kNull; // left unadded; the caller goes on
    }
    m_leader = leader.release();
    const ZcDbObjectId id = m_leader->objectId();
    m_leader->close();
    m_leader = nullptr;
    return id;
}

void Arrows_cmd::Run() {
    if (Start() != 0) {
        return;
    }
    const std::wstring prompt = m_texts->GetText(kPointText);
    ZcGePoint3d previous;
    if (GetPointFromUser(previous, prompt) != RTNORM) {
        return;
    }
    ZcGePoint3d next;
    while (GetPointFromUser(next, prompt, &previous) == RTNORM) {
        LeaderJob job(GetRealVariable(L"Dimasz"), GetRealVariable(L"DimScale"));
        job.Draw(previous, next);
        previous = next;
    }
}

} // namespace gantrel
