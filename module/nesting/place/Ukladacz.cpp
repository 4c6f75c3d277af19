#include "nesting/place/Ukladacz.h"

#include "nesting/nfp/Pair.h"
#include "nesting/place/ExactFit.h"
#include "nesting/place/ResultRater.h"

#include <algorithm>

namespace gantrel {

namespace {

std::wstring KeyOf(const NestPolygon& a, const NestPolygon& b, bool inner) {
    Pair record;
    record.nameA = a.Name();
    record.nameB = b.Name();
    record.inner = inner;
    record.rotationA = a.Rotation();
    record.rotationB = b.Rotation();
    return record.KeyText();
}

} // namespace

std::wstring InnerFitKey(const NestPolygon& sheet, const NestPolygon& part) {
    return KeyOf(sheet, part, true);
}

std::wstring NoFitKey(const NestPolygon& fixed, const NestPolygon& moving) {
    return KeyOf(fixed, moving, false);
}

Ukladacz::Ukladacz(const NestPolygon& sheet, Polygons parts, NfpMap table,
                   const NestSettings& settings, const NestingStopProvider* stopProvider)
    : m_stopProvider(stopProvider), m_sheet(sheet), m_parts(std::move(parts)), m_settings(settings),
      m_table(std::move(table)) {}

Ukladacz::~Ukladacz() = default;

const Polygons* Ukladacz::Lookup(const std::wstring& key) const {
    const auto it = m_table.find(key);
    return it == m_table.end() ? nullptr : &it->second;
}

const Polygons* Ukladacz::InnerFitOf(const NestPolygon& part) const {
    return Lookup(InnerFitKey(m_sheet, part));
}

const Polygons* Ukladacz::NoFitOf(int placed, const NestPolygon& part) const {
    return Lookup(NoFitKey(m_placedParts[placed], part));
}

void Ukladacz::StartAfter(int start, Polygons placed, Positions positions) {
    m_start = std::clamp(start, 0, m_parts.Size());
    m_startPlaced = std::move(placed);
    m_startPositions = std::move(positions);
}

void Ukladacz::PlaceAll(Result& result) {
    result = Result();
    if (m_sheet.IsEmpty()) {
        return;
    }
    // The area step depends on the part set only, so every arrangement of a run rates alike.
    const double areaStep = ResultRater::AreaStep(m_parts);
    for (int k = m_start; k < m_parts.Size(); ++k) {
        // The rotated outline keeps the rotation value, under which its no-fit polygons are
        // keyed.
        NestPolygon& part = m_parts[k];
        const double rotation = part.Rotation();
        NestPolygon rotated = part.Rotated();
        rotated.SetRotation(rotation);
        rotated.SetRotatable(part.Rotatable());
        part = std::move(rotated);
    }
    m_positions = std::move(m_startPositions);
    m_placedParts = std::move(m_startPlaced);
    m_startPositions.Clear();
    m_startPlaced.Clear();
    m_union.clear();
    m_placedBefore.assign(static_cast<std::size_t>(m_parts.Size()), 0);

    for (int k = m_start; k < m_parts.Size(); ++k) {
        const NestPolygon& part = m_parts[k];
        m_placedBefore[static_cast<std::size_t>(k)] = m_positions.Size();
        Position position;
        if (!PlaceOne(part, position) || !position.placed) {
            continue;
        }
        m_positions.Add(position);
        m_placedParts.Add(part);
        if (m_stopProvider != nullptr && m_stopProvider->ShouldStop()) {
            break;
        }
    }
    m_start = 0;
    if (m_positions.IsEmpty()) {
        Report(L"something went wrong? :");
    }
    const ResultRater rater(m_placedParts, m_positions, m_sheet, areaStep);
    result.sheets.Add(m_positions);
    result.rating = rater.Rate();
}

bool Ukladacz::PlaceOne(const NestPolygon& part, Position& position) {
    const Polygons* innerFit = InnerFitOf(part);
    m_innerFit = innerFit != nullptr ? *innerFit : Polygons();
    if (m_innerFit.IsEmpty()) {
        return false;
    }
    if (!NoFitPolygonsKnown(part)) {
        return false;
    }
    if (m_placedParts.IsEmpty()) {
        position = FirstPosition(part);
        return true;
    }
    if (BuildFeasibleRegion(part)) {
        position = BestPosition(part);
        return true;
    }
    return m_feasibleEmptied && ExactFitPosition(part, position);
}

bool Ukladacz::NoFitPolygonsKnown(const NestPolygon& part) {
    for (int i = 0; i < m_placedParts.Size(); ++i) {
        if (m_placedParts[i].IsEmpty()) {
            continue;
        }
        const Polygons* loops = NoFitOf(i, part);
        if (loops == nullptr || loops->IsEmpty()) {
            return false;
        }
    }
    return true;
}

Position Ukladacz::PositionAt(const NestPolygon& part, const GePoint& referenceSpot) const {
    Position position;
    position.translation = GePoint(referenceSpot.x - part[0].x, referenceSpot.y - part[0].y);
    position.rotation = part.Rotation();
    position.name = part.Name();
    position.placed = true;
    return position;
}

Position Ukladacz::FirstPosition(const NestPolygon& part) {
    if (m_innerFit[0].IsEmpty() || part.IsEmpty()) {
        return Position();
    }
    const GePoint* best = nullptr;
    for (const NestPolygon& loop : m_innerFit) {
        for (const GePoint& v : loop) {
            if (best == nullptr || v.x < best->x) {
                best = &v;
            }
        }
    }
    return PositionAt(part, *best);
}

Position Ukladacz::BestPosition(const NestPolygon& part) {
    // Candidates are compared by x translation alone: the reference point is the same for all,
    // so the leftmost vertex wins, and a later vertex replaces the current one only when it lies
    // strictly further left. Building a rater per candidate would copy the layout's points for
    // every vertex; the choice does not consult it.
    const double factor = 1.0 / Scale();
    const IntegerPoint* best = nullptr;
    for (const IntegerPath& path : m_feasible) {
        for (const IntegerPoint& v : path) {
            if (best == nullptr || v.x < best->x) {
                best = &v;
            }
        }
    }
    if (best == nullptr || part.IsEmpty()) {
        return Position();
    }
    Position position = PositionAt(part, GePoint(static_cast<double>(best->x) * factor,
                                                 static_cast<double>(best->y) * factor));
    position.paths = std::move(m_union);
    return position;
}

bool Ukladacz::ExactFitPosition(const NestPolygon& part, Position& position) {
    if (part.IsEmpty()) {
        return false;
    }
    const std::optional<IntegerPoint> spot = LeftmostFreePoint(m_innerFitPaths, m_noFitRegions);
    if (!spot) {
        return false;
    }
    const double factor = 1.0 / Scale();
    position = PositionAt(part, GePoint(static_cast<double>(spot->x) * factor,
                                        static_cast<double>(spot->y) * factor));
    position.paths = std::move(m_union);
    return true;
}

GePoints Ukladacz::PlacedPoints() {
    GePoints points;
    for (int i = 0; i < m_placedParts.Size() && i < m_positions.Size(); ++i) {
        const GePoint& shift = m_positions[i].translation;
        for (const GePoint& p : m_placedParts[i]) {
            points.AddXY(p.x + shift.x, p.y + shift.y);
        }
    }
    return points;
}

GePoints Ukladacz::LayoutPointsWith(const NestPolygon& part, const Position& position) {
    GePoints points = PlacedPoints();
    for (const GePoint& p : part) {
        points.AddXY(p.x + position.translation.x, p.y + position.translation.y);
    }
    return points;
}

void Ukladacz::Report(const std::wstring& /*text*/) {}

} // namespace gantrel
