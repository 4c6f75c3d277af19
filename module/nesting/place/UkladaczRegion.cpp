// The feasible region of the part being placed: inner-fit region minus the union of the no-fit
// loops of the placed parts, and its cleaning.
#include "nesting/place/Ukladacz.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gantrel {

namespace {

// Points closer than this on both axes are one point.
constexpr std::int64_t kNearDuplicate = 10;
// Growth of the inner-fit boxes that feasible points must lie in.
constexpr std::int64_t kInnerFitMargin = 10;

} // namespace

bool Ukladacz::BuildFeasibleRegion(const NestPolygon& part) {
    m_feasibleEmptied = false;
    m_feasible.clear();
    m_union.clear();
    m_innerFitPaths.clear();
    m_noFitRegions.clear();
    const double s = Scale();
    try {
        for (const NestPolygon& loop : m_innerFit) {
            m_innerFitPaths.push_back(ToIntegerLoop(loop, s));
        }
        RegionClipper unionClipper;
        if (!AddNoFitPaths(unionClipper, part)) {
            return false;
        }
        if (!unionClipper.Union(m_union)) {
            return false;
        }
        // The difference takes the inner-fit loops as subjects and the union as clips; the
        // no-fit loops themselves lie inside the union and would only slow it down.
        RegionClipper differenceClipper;
        differenceClipper.AddSubjects(m_innerFitPaths);
        differenceClipper.AddClips(m_union);
        if (!differenceClipper.Difference(m_feasible)) {
            return false;
        }
    } catch (const PolygonArithmeticError&) {
        return false;
    }
    if (!CleanFeasibleRegion(m_feasible)) {
        m_feasible.clear();
        m_feasibleEmptied = true;
        return false;
    }
    KeepInsideInnerFit(m_feasible);
    if (m_feasible.empty()) {
        m_feasibleEmptied = true;
        return false;
    }
    return true;
}

bool Ukladacz::AddNoFitPaths(RegionClipper& clipper, const NestPolygon& part) {
    const double s = Scale();
    const double minimumArea = 0.1 * s * s;
    for (int i = 0; i < m_placedParts.Size(); ++i) {
        const Polygons* loops = NoFitOf(i, part);
        if (loops == nullptr || loops->IsEmpty()) {
            return false;
        }
        // The loops were computed for the placed part at its unmoved place.
        const double dx = s * m_positions[i].translation.x;
        const double dy = s * m_positions[i].translation.y;
        if (!std::isfinite(dx) || !std::isfinite(dy) || std::fabs(dx) > kRegionRange ||
            std::fabs(dy) > kRegionRange) {
            throw PolygonArithmeticError("position outside the integer arithmetic's range");
        }
        const auto shiftX = static_cast<std::int64_t>(dx);
        const auto shiftY = static_cast<std::int64_t>(dy);
        IntegerPaths region;
        for (const NestPolygon& loop : *loops) {
            IntegerPath path = ToIntegerLoop(loop, s);
            for (IntegerPoint& p : path) {
                p.x += shiftX;
                p.y += shiftY;
            }
            path = CleanLoop(path, s * 1e-4);
            if (path.size() >= 3 && std::fabs(LoopArea(path)) > minimumArea) {
                clipper.AddSubject(path);
                region.push_back(std::move(path));
            }
        }
        m_noFitRegions.push_back(std::move(region));
    }
    return true;
}

bool Ukladacz::CleanFeasibleRegion(IntegerPaths& paths) {
    const double s = Scale();
    for (IntegerPath& path : paths) {
        IntegerPath kept;
        for (const IntegerPoint& p : path) {
            if (kept.empty() || std::llabs(p.x - kept.back().x) >= kNearDuplicate ||
                std::llabs(p.y - kept.back().y) >= kNearDuplicate) {
                kept.push_back(p);
            }
        }
        path = std::move(kept);
    }
    std::erase_if(paths, [](const IntegerPath& path) { return path.empty(); });

    bool any = false;
    std::int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
    for (const IntegerPath& path : paths) {
        for (const IntegerPoint& p : path) {
            minX = any ? std::min(minX, p.x) : p.x;
            minY = any ? std::min(minY, p.y) : p.y;
            maxX = any ? std::max(maxX, p.x) : p.x;
            maxY = any ? std::max(maxY, p.y) : p.y;
            any = true;
        }
    }
    if (!any) {
        return false;
    }
    if (static_cast<double>(maxX - minX) + static_cast<double>(maxY - minY) < 2.0 * s) {
        paths.erase(paths.begin());
        if (paths.empty()) {
            return false;
        }
    }
    CleanLoops(paths, s * 1e-4);
    const double minimumArea = 0.1 * s * s;
    std::erase_if(paths, [minimumArea](const IntegerPath& path) {
        return path.size() < 3 || std::fabs(LoopArea(path)) < minimumArea;
    });
    return true;
}

void Ukladacz::KeepInsideInnerFit(IntegerPaths& paths) {
    struct Box {
        std::int64_t minX, minY, maxX, maxY;
    };
    std::vector<Box> boxes;
    for (const IntegerPath& path : m_innerFitPaths) {
        if (path.empty()) {
            continue;
        }
        Box box{path[0].x, path[0].y, path[0].x, path[0].y};
        for (const IntegerPoint& p : path) {
            box = {std::min(box.minX, p.x), std::min(box.minY, p.y), std::max(box.maxX, p.x),
                   std::max(box.maxY, p.y)};
        }
        boxes.push_back({box.minX - kInnerFitMargin, box.minY - kInnerFitMargin,
                         box.maxX + kInnerFitMargin, box.maxY + kInnerFitMargin});
    }
    IntegerPaths kept;
    for (IntegerPath& path : paths) {
        std::erase_if(path, [&boxes](const IntegerPoint& p) {
            return std::none_of(boxes.begin(), boxes.end(), [&p](const Box& b) {
                return p.x >= b.minX && p.x <= b.maxX && p.y >= b.minY && p.y <= b.maxY;
            });
        });
        if (!path.empty()) {
            kept.push_back(std::move(path));
        }
    }
    paths = std::move(kept);
}

} // namespace gantrel
