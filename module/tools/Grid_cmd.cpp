#include "tools/Grid_cmd.h"

#include <cmath>

#include "drawing/UserInput.h"
#include "drawing/ZWDrawer.h"
#include "frame/TextProvider.h"

namespace gantrel {

namespace {

constexpr unsigned kFirstCountText = 40301;
constexpr unsigned kSecondCountText = 40302;
constexpr unsigned kFirstCornerText = 40303;
constexpr unsigned kOppositeCornerText = 40304;

// The i-th of count evenly spaced positions from low over size. One line has no spacing to
// divide: it lies at the low edge.
double Spaced(double low, double size, int i, int count) {
    return count == 1 ? low : low + i * size / (count - 1);
}

} // namespace

std::vector<GridLine> GridLines(const ZcDbExtents& box, int firstCount, int secondCount) {
    std::vector<GridLine> lines;
    if (box.isEmpty()) {
        return lines;
    }
    const ZcGePoint3d& low = box.minPoint();
    const ZcGePoint3d& high = box.maxPoint();
    const double width = std::fabs(high.x - low.x);
    const double height = std::fabs(high.y - low.y);
    for (int i = 0; i < secondCount; ++i) {
        const double x = Spaced(low.x, width, i, secondCount);
        lines.push_back({{x, low.y, low.z}, {x, high.y, low.z}});
    }
    for (int i = 0; i < firstCount; ++i) {
        const double y = Spaced(low.y, height, i, firstCount);
        lines.push_back({{low.x, y, low.z}, {high.x, y, low.z}});
    }
    return lines;
}

void Grid_cmd::Run() {
    if (Start() != 0) {
        return;
    }
    ZcGePoint3d first;
    if (GetPointFromUser(first, m_texts->GetText(kFirstCornerText)) != RTNORM) {
        return;
    }
    ZcGePoint3d opposite;
    if (GetCornerFromUser(opposite, m_texts->GetText(kOppositeCornerText), &first) != RTNORM) {
        return;
    }
    m_box.addPoint(first);
    m_box.addPoint(opposite);

    ZWUserInput firstInput(m_texts->GetText(kFirstCountText));
    if (firstInput.GetInt(m_firstCount, 0) != RTNORM) {
        return;
    }
    ZWUserInput secondInput(m_texts->GetText(kSecondCountText));
    if (secondInput.GetInt(m_secondCount, m_firstCount) != RTNORM) {
        return;
    }
    ZWDrawer drawer;
    for (const GridLine& line : GridLines(m_box, m_firstCount, m_secondCount)) {
        // A line that cannot be added is left out; the others are still drawn.
        drawer.AddLine(line.start, line.end);
    }
}

} // namespace gantrel
