#include "part_outline.h"

#include <cmath>

#include "zcdbblkref.h"
#include "zcdbents.h"
#include "zcdbregion.h"

namespace gantrel::app {

namespace {

// End points closer than this touch (the module joins chains at the same distance).
constexpr double kTouch = 1e-7;
// Block references inside block references searched before giving up: deeper nests are loops.
constexpr int kMaxDepth = 16;

// End points of open curves as nodes of a graph whose edges are the curves; a chain closes
// when a curve joins two ends already connected through others.
class ChainGraph {
public:
    // Adds a curve from a to b; true when it closes a loop.
    bool add(const ZcGePoint3d& a, const ZcGePoint3d& b) {
        const std::size_t from = node(a);
        const std::size_t to = node(b);
        const std::size_t rootFrom = root(from);
        const std::size_t rootTo = root(to);
        if (rootFrom == rootTo)
            return true;
        m_parent[rootFrom] = rootTo;
        return false;
    }

private:
    std::size_t node(const ZcGePoint3d& p) {
        for (std::size_t i = 0; i < m_points.size(); ++i)
            if (std::hypot(m_points[i].x - p.x, m_points[i].y - p.y) <= kTouch)
                return i;
        m_points.push_back(p);
        m_parent.push_back(m_parent.size());
        return m_points.size() - 1;
    }
    std::size_t root(std::size_t i) {
        while (m_parent[i] != i)
            i = m_parent[i] = m_parent[m_parent[i]];
        return i;
    }

    std::vector<ZcGePoint3d> m_points;
    std::vector<std::size_t> m_parent;
};

bool search(const std::vector<ZcDbObjectId>& ids, int depth) {
    if (depth > kMaxDepth)
        return false;
    ChainGraph chains;
    for (const ZcDbObjectId& id : ids) {
        ZcDbEntity* entity = nullptr;
        if (zcdbOpenObject(entity, id, ZcDb::kForRead) != Zcad::eOk)
            continue;
        bool closed = false;
        ZcDbObjectId block;
        if (const auto* curve = ZcDbCurve::cast(entity)) {
            ZcGePoint3d start, end;
            if (curve->isClosed())
                closed = true;
            else if (curve->getStartPoint(start) == Zcad::eOk &&
                     curve->getEndPoint(end) == Zcad::eOk)
                closed = chains.add(start, end);
        } else if (const auto* region = ZcDbRegion::cast(entity)) {
            closed = !region->loops().empty();
        } else if (const auto* reference = ZcDbBlockReference::cast(entity)) {
            block = reference->blockTableRecord();
        }
        entity->close();
        if (closed)
            return true;
        if (block.isNull())
            continue;
        ZcDbBlockTableRecord* record = nullptr;
        if (zcdbOpenObject(record, block, ZcDb::kForRead) != Zcad::eOk)
            continue;
        const std::vector<ZcDbObjectId> contents = record->entityIds();
        record->close();
        if (search(contents, depth + 1))
            return true;
    }
    return false;
}

} // namespace

bool holdsClosedOutline(const std::vector<ZcDbObjectId>& ids) {
    return search(ids, 0);
}

} // namespace gantrel::app
