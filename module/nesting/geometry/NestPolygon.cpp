#include "nesting/geometry/NestPolygon.h"

#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/PointsReducer.h"
#include "nesting/geometry/Polygons.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/settings/NestSettings.h"

#include <cmath>

namespace gantrel {

namespace {

constexpr double kDegreesToRadians = 3.141592653589793 / 180.0;

GePoint RotatePoint(const GePoint& p, double cosA, double sinA) {
    return {p.x * cosA - p.y * sinA, p.x * sinA + p.y * cosA};
}

} // namespace

NestPolygon::NestPolygon() = default;

NestPolygon::NestPolygon(std::initializer_list<GePoint> points) : GePoints(points) {}

NestPolygon::NestPolygon(const NestPolygon& other)
    : GePoints(other), m_name(other.m_name), m_rotation(other.m_rotation),
      m_holes(other.m_holes ? std::make_unique<Polygons>(*other.m_holes) : nullptr),
      m_rotatable(other.m_rotatable), m_positionX(other.m_positionX),
      m_positionY(other.m_positionY), m_reserved1(other.m_reserved1),
      m_reserved2(other.m_reserved2) {}

NestPolygon::NestPolygon(NestPolygon&& other) noexcept = default;

NestPolygon& NestPolygon::operator=(const NestPolygon& other) {
    if (this != &other) {
        NestPolygon copy(other);
        *this = std::move(copy);
    }
    return *this;
}

NestPolygon& NestPolygon::operator=(NestPolygon&& other) noexcept = default;

NestPolygon::~NestPolygon() = default;

std::wstring NestPolygon::ToString() const {
    return m_name + L" :    " + GePoints::ToString();
}

int NestPolygon::HoleCount() const {
    return m_holes ? m_holes->Size() : 0;
}

void NestPolygon::ClearHoles() {
    m_holes.reset();
}

void NestPolygon::AddHole(const NestPolygon& hole) {
    if (!m_holes) {
        m_holes = std::make_unique<Polygons>();
    }
    m_holes->Add(hole);
}

NestPolygon NestPolygon::Translated(const Vector& v) const {
    NestPolygon result;
    result.Reserve(Size());
    for (const GePoint& p : *this) {
        result.AddXY(p.x + v.x, p.y + v.y);
    }
    if (m_holes) {
        for (const NestPolygon& hole : *m_holes) {
            result.AddHole(hole.Translated(v));
        }
    }
    return result;
}

NestPolygon NestPolygon::Rotated() const {
    const double a = m_rotation * kDegreesToRadians;
    const double cosA = std::cos(a);
    const double sinA = std::sin(a);
    NestPolygon result;
    result.Reserve(Size());
    for (const GePoint& p : *this) {
        result.Add(RotatePoint(p, cosA, sinA));
    }
    result.m_name = m_name;
    if (m_holes) {
        for (const NestPolygon& hole : *m_holes) {
            result.AddHole(hole.Rotated());
        }
    }
    return result;
}

NestPolygon NestPolygon::RotatedAbout(double angle, const GePoint& centre) const {
    const double a = angle * kDegreesToRadians;
    const double cosA = std::cos(a);
    const double sinA = std::sin(a);
    NestPolygon result;
    result.Reserve(Size());
    for (const GePoint& p : *this) {
        const GePoint r = RotatePoint(GePoint(p.x - centre.x, p.y - centre.y), cosA, sinA);
        result.AddXY(centre.x + r.x, centre.y + r.y);
    }
    result.m_name = m_name;
    if (m_holes) {
        for (const NestPolygon& hole : *m_holes) {
            result.AddHole(hole.RotatedAbout(angle, centre));
        }
    }
    return result;
}

bool NestPolygon::Offset(double d, const NestSettings& settings) {
    if (!IsUsableOutline(*this)) {
        return false;
    }
    std::vector<GePoints> loops;
    try {
        loops = OffsetOutline(*this, d, static_cast<double>(settings.integerScale),
                              settings.arcTolerance);
    } catch (const PolygonArithmeticError&) {
        return false;
    }
    Clear();
    // Several result loops are concatenated into one ring.
    for (const GePoints& loop : loops) {
        AddPoints(loop);
    }
    bool holesDone = true;
    if (m_holes) {
        for (NestPolygon& hole : *m_holes) {
            holesDone = hole.Offset(-d, settings) && holesDone;
        }
    }
    return holesDone;
}

bool NestPolygon::Grow(double d, const NestSettings& settings) {
    if (!IsUsableOutline(*this)) {
        return false;
    }
    std::vector<GePoints> loops;
    try {
        loops = CoveringOffsetOutline(*this, d, static_cast<double>(settings.integerScale));
    } catch (const PolygonArithmeticError&) {
        return false;
    }
    // A cavity closed by growing, or a neck cut by shrinking, leaves further loops; the largest
    // alone is on the safe side either way.
    const GePoints* largest = nullptr;
    double largestArea = 0.0;
    for (const GePoints& loop : loops) {
        const double area = std::fabs(SignedArea(loop));
        if (largest == nullptr || area > largestArea) {
            largest = &loop;
            largestArea = area;
        }
    }
    if (largest == nullptr) {
        // Shrunk away: nothing is at least -d inside.
        if (d < 0.0) {
            Clear();
            return true;
        }
        return false;
    }
    const GePoints kept = *largest;
    Clear();
    AddPoints(kept);
    bool holesDone = true;
    if (m_holes) {
        for (NestPolygon& hole : *m_holes) {
            holesDone = hole.Grow(-d, settings) && holesDone;
        }
    }
    return holesDone;
}

void NestPolygon::Reduce(double threshold) {
    Reduce(threshold, ReductionSide::Any);
}

void NestPolygon::Reduce(double threshold, ReductionSide side) {
    GePoints reduced = VisvalingamWhyattPointsReducer(threshold, side).Reduce(*this);
    if (reduced.Size() > 1 && Coincident(reduced[0], reduced.Last())) {
        reduced.RemoveLast();
    }
    Clear();
    AddPoints(reduced);
}

} // namespace gantrel
