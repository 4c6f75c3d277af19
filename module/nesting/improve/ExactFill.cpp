#include "nesting/improve/ExactFill.h"

#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Predicates.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace gantrel {

namespace {

// Integer units within which vertices count as one column (the bottom-left vertex), a point is
// snapped to an exact corner, and loops are cleaned of rounding steps.
constexpr std::int64_t kTieUnits = 16;
constexpr double kSnapUnits = 1024.0;
constexpr double kCleanUnits = 32.0;
// Mean width (integer units) of an overlap still taken as touching, and the width below which
// slivers and needles of the empty part are cut away.
constexpr double kOverlapUnits = 8.0;
constexpr double kSliverUnits = 16.0;
// Radians within which two corners count as equally sharp.
constexpr double kAngleSlack = 1e-3;
// Relative slack of the area comparisons.
constexpr double kAreaSlack = 1e-6;
// Steps between two questions to giveUp.
constexpr std::int64_t kAskEvery = 128;

double Perimeter(const IntegerPath& loop) {
    double length = 0.0;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const IntegerPoint& a = loop[i];
        const IntegerPoint& b = loop[(i + 1) % loop.size()];
        length += std::hypot(static_cast<double>(b.x - a.x), static_cast<double>(b.y - a.y));
    }
    return length;
}

// Interior angle (radians, 0 to 2π) at p between the edges from prev and to next of a
// counter-clockwise loop.
double InteriorAngle(double px, double py, double prevX, double prevY, double nextX, double nextY) {
    const double ux = nextX - px;
    const double uy = nextY - py;
    const double wx = prevX - px;
    const double wy = prevY - py;
    double angle = std::atan2(ux * wy - uy * wx, ux * wx + uy * wy);
    if (angle < 0.0) {
        angle += 2.0 * std::numbers::pi;
    }
    return angle;
}

double InteriorAngle(const IntegerPath& loop, std::size_t i) {
    const std::size_t n = loop.size();
    const IntegerPoint& p = loop[i];
    const IntegerPoint& prev = loop[(i + n - 1) % n];
    const IntegerPoint& next = loop[(i + 1) % n];
    return InteriorAngle(static_cast<double>(p.x), static_cast<double>(p.y),
                         static_cast<double>(prev.x), static_cast<double>(prev.y),
                         static_cast<double>(next.x), static_cast<double>(next.y));
}

double InteriorAngle(const GePoints& loop, int i) {
    const GePoint& p = loop[i];
    const GePoint& prev = loop[loop.PrevIndex(i)];
    const GePoint& next = loop.NextPoint(i);
    return InteriorAngle(p.x, p.y, prev.x, prev.y, next.x, next.y);
}

// The leftmost vertex of the loops (ties within kTieUnits to the lowest): its loop and index.
std::pair<std::size_t, std::size_t> BottomLeftCorner(const IntegerPaths& loops) {
    std::int64_t minX = 0;
    bool any = false;
    for (const IntegerPath& loop : loops) {
        for (const IntegerPoint& p : loop) {
            minX = any ? std::min(minX, p.x) : p.x;
            any = true;
        }
    }
    std::pair<std::size_t, std::size_t> best{0, 0};
    bool found = false;
    for (std::size_t l = 0; l < loops.size(); ++l) {
        for (std::size_t i = 0; i < loops[l].size(); ++i) {
            const IntegerPoint& p = loops[l][i];
            if (p.x > minX + kTieUnits) {
                continue;
            }
            const IntegerPoint& b = loops[best.first][best.second];
            if (!found || p.y < b.y || (p.y == b.y && p.x < b.x)) {
                best = {l, i};
                found = true;
            }
        }
    }
    return best;
}

} // namespace

ExactFill::ExactFill(const Polygons& parts, const std::vector<std::vector<double>>& angles,
                     const NestPolygon& sheet, const NestSettings& settings, double width)
    : m_parts(parts), m_scale(static_cast<double>(std::max(1, settings.integerScale))) {
    const BoundingBox box = BoundingBoxOf(sheet);
    if (parts.IsEmpty() || !box.IsSet() || !IsRectangle(sheet) || !(width > 0.0) ||
        width > box.Width() * (1.0 + kAreaSlack) ||
        static_cast<int>(angles.size()) != parts.Size()) {
        return;
    }
    const double height = box.Height();
    if (std::fabs(TotalArea(parts) - width * height) > kAreaSlack * width * height) {
        return;
    }
    const GePoint low = box.Min();
    const GePoint high(low.x + width, box.Max().y);
    m_corners = {low, GePoint(high.x, low.y), high, GePoint(low.x, high.y)};
    try {
        GePoints strip;
        for (const GePoint& corner : m_corners) {
            strip.Add(corner);
        }
        m_strip = ToIntegerLoop(strip, m_scale);
        for (int p = 0; p < parts.Size(); ++p) {
            const NestPolygon& part = parts[p];
            if (part.HoleCount() > 0 || part.Size() < 3) {
                return;
            }
            auto alike = std::find_if(m_groups.begin(), m_groups.end(), [&](const Group& group) {
                const int first = group.parts.front();
                return IdenticalPoints(parts[first], part) && angles[first] == angles[p];
            });
            if (alike != m_groups.end()) {
                alike->parts.push_back(p);
                continue;
            }
            Group group;
            group.parts.push_back(p);
            group.area = std::fabs(SignedArea(part));
            group.sharpest = 2.0 * std::numbers::pi;
            for (const double angle : angles[p]) {
                group.shapes.push_back(MakeShape(part, angle));
                group.sharpest = std::min(group.sharpest, group.shapes.back().sharpest);
            }
            m_groups.push_back(std::move(group));
        }
    } catch (const PolygonArithmeticError&) {
        return;
    }
    // Large pieces first: they have the fewest places, so wrong branches end soonest.
    std::stable_sort(m_groups.begin(), m_groups.end(),
                     [](const Group& a, const Group& b) { return a.area > b.area; });
    m_stripMinX = m_stripMaxX = m_strip.front().x;
    m_stripMinY = m_stripMaxY = m_strip.front().y;
    for (const IntegerPoint& q : m_strip) {
        m_stripMinX = std::min(m_stripMinX, q.x);
        m_stripMaxX = std::max(m_stripMaxX, q.x);
        m_stripMinY = std::min(m_stripMinY, q.y);
        m_stripMaxY = std::max(m_stripMaxY, q.y);
    }
    if (LoopArea(m_strip) < 0.0) {
        std::reverse(m_strip.begin(), m_strip.end());
    }
    m_applies = true;
}

ExactFill::Shape ExactFill::MakeShape(const NestPolygon& part, double angle) const {
    Shape shape;
    shape.angle = angle;
    NestPolygon turned = part;
    turned.SetRotation(angle);
    shape.points = turned.Rotated();
    shape.loop = ToIntegerLoop(shape.points, m_scale);
    if (LoopArea(shape.loop) < 0.0) {
        shape.points.Reverse();
        shape.loop = ToIntegerLoop(shape.points, m_scale);
    }
    shape.anchor = static_cast<int>(BottomLeftCorner({shape.loop}).second);
    shape.anchorAngle = InteriorAngle(shape.points, shape.anchor);
    shape.minX = shape.maxX = shape.loop.front().x;
    shape.minY = shape.maxY = shape.loop.front().y;
    for (const IntegerPoint& q : shape.loop) {
        shape.minX = std::min(shape.minX, q.x);
        shape.maxX = std::max(shape.maxX, q.x);
        shape.minY = std::min(shape.minY, q.y);
        shape.maxY = std::max(shape.maxY, q.y);
    }
    shape.slackArea = kOverlapUnits * Perimeter(shape.loop);
    shape.sharpest = 2.0 * std::numbers::pi;
    for (int i = 0; i < shape.points.Size(); ++i) {
        const double corner = InteriorAngle(shape.points, i);
        if (corner < std::numbers::pi) {
            shape.sharpest = std::min(shape.sharpest, corner);
        }
    }
    return shape;
}

std::optional<Positions> ExactFill::Search(const std::function<bool()>& giveUp) {
    m_steps = 0;
    m_exhausted = false;
    m_stopped = false;
    if (!m_applies) {
        return std::nullopt;
    }
    m_giveUp = giveUp;
    for (Group& group : m_groups) {
        group.used = 0;
    }
    m_corners.resize(4);
    m_placed.Clear();
    m_placedLoops.clear();
    const bool found = Step(IntegerPaths{m_strip}, m_parts.Size());
    m_exhausted = !found && !m_stopped;
    if (!found) {
        return std::nullopt;
    }
    return m_placed;
}

bool ExactFill::Step(const IntegerPaths& empty, int left) {
    if (left == 0) {
        return true;
    }
    if (m_steps++ % kAskEvery == 0 && m_giveUp && m_giveUp()) {
        m_stopped = true;
        return false;
    }
    if (empty.empty()) {
        return false;
    }
    const auto [l, i] = BottomLeftCorner(empty);
    const double room = InteriorAngle(empty[l], i);
    // The corner as the exact vertex it stands for: the cleaning of the empty part may have
    // moved a sharp corner by many units.
    const GePoint exact = Snap(empty[l][i]);

    for (Group& group : m_groups) {
        if (group.used >= static_cast<int>(group.parts.size())) {
            continue;
        }
        for (const Shape& shape : group.shapes) {
            if (shape.anchorAngle > room + kAngleSlack) {
                continue;
            }
            Placement placement;
            IntegerPaths rest;
            if (!Fits(shape, exact, empty, placement) ||
                !EmptyAfterPlacing(std::move(placement.loop), rest)) {
                continue;
            }
            const int part = group.parts[static_cast<std::size_t>(group.used)];
            ++group.used;
            Position position;
            position.translation = placement.shift;
            position.rotation = shape.angle;
            position.name = m_parts[part].Name();
            position.placed = true;
            const std::size_t corners = m_corners.size();
            m_corners.insert(m_corners.end(), placement.outline.begin(), placement.outline.end());
            m_placed.Add(std::move(position));
            if (Fillable(rest) && Step(rest, left - 1)) {
                return true;
            }
            m_placed.RemoveAt(m_placed.Size() - 1);
            m_placedLoops.pop_back();
            m_corners.resize(corners);
            --group.used;
            if (m_stopped) {
                return false;
            }
        }
    }
    return false;
}

bool ExactFill::Fits(const Shape& shape, const GePoint& corner, const IntegerPaths& empty,
                     Placement& placement) const {
    placement.shift =
        GePoint(corner.x - shape.points[shape.anchor].x, corner.y - shape.points[shape.anchor].y);
    const GePoint& shift = placement.shift;
    const auto units = [this](std::int64_t value) { return static_cast<double>(value) / m_scale; };
    const double slack = kSliverUnits / m_scale;
    if (units(shape.minX) + shift.x < units(m_stripMinX) - slack ||
        units(shape.maxX) + shift.x > units(m_stripMaxX) + slack ||
        units(shape.minY) + shift.y < units(m_stripMinY) - slack ||
        units(shape.maxY) + shift.y > units(m_stripMaxY) + slack) {
        return false;
    }
    placement.outline.Clear();
    for (const GePoint& q : shape.points) {
        placement.outline.AddXY(q.x + shift.x, q.y + shift.y);
    }
    // Rounded from the exact coordinates, so that rounding does not pile up from piece to piece.
    try {
        placement.loop = ToIntegerLoop(placement.outline, m_scale);
    } catch (const PolygonArithmeticError&) {
        return false;
    }
    IntegerPaths outside;
    RegionClipper inside;
    inside.AddSubject(placement.loop);
    inside.AddClips(empty);
    if (!inside.Difference(outside)) {
        return false;
    }
    double outsideArea = 0.0;
    for (const IntegerPath& loop : outside) {
        outsideArea += LoopArea(loop);
    }
    return outsideArea <= shape.slackArea;
}

bool ExactFill::EmptyAfterPlacing(IntegerPath placedLoop, IntegerPaths& rest) {
    // The strip less every piece placed, less the slivers that rounding leaves between them.
    m_placedLoops.push_back(std::move(placedLoop));
    IntegerPaths cutOut;
    RegionClipper cut;
    cut.AddSubject(m_strip);
    cut.AddClips(m_placedLoops);
    if (!cut.Difference(cutOut) || !OpenRegion(cutOut, 0.5 * kSliverUnits, rest)) {
        m_placedLoops.pop_back();
        return false;
    }
    CleanLoops(rest, kCleanUnits);
    std::erase_if(rest, [](const IntegerPath& loop) { return loop.size() < 3; });
    return true;
}

bool ExactFill::Fillable(const IntegerPaths& empty) const {
    double smallest = -1.0;
    double sharpest = 2.0 * std::numbers::pi;
    for (const Group& group : m_groups) {
        if (group.used < static_cast<int>(group.parts.size())) {
            smallest = smallest < 0.0 ? group.area : std::min(smallest, group.area);
            sharpest = std::min(sharpest, group.sharpest);
        }
    }
    if (smallest < 0.0) {
        return true;
    }
    const double scale2 = m_scale * m_scale;
    for (const IntegerPath& loop : empty) {
        const double area = LoopArea(loop);
        if (area <= 0.0) {
            continue;
        }
        if (area < smallest * scale2 * (1.0 - kAreaSlack)) {
            return false;
        }
        for (std::size_t i = 0; i < loop.size(); ++i) {
            if (InteriorAngle(loop, i) < sharpest - kAngleSlack) {
                return false;
            }
        }
    }
    return true;
}

GePoint ExactFill::Snap(const IntegerPoint& v) const {
    const GePoint point(static_cast<double>(v.x) / m_scale, static_cast<double>(v.y) / m_scale);
    const GePoint* nearest = nullptr;
    double distance = kSnapUnits / m_scale;
    for (const GePoint& corner : m_corners) {
        const double d = std::hypot(corner.x - point.x, corner.y - point.y);
        if (d <= distance) {
            distance = d;
            nearest = &corner;
        }
    }
    return nearest != nullptr ? *nearest : point;
}

} // namespace gantrel
