#include "nesting/improve/Neighbourhood.h"

#include "nesting/geometry/BoundingBox.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/search/Angles.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace gantrel {

namespace {

int Draw(std::mt19937_64& random, int count) {
    return std::uniform_int_distribution<int>(0, count - 1)(random);
}

// A second place for a swap or a move: half the time within three places of first.
int Partner(std::mt19937_64& random, int first, int count) {
    if (Draw(random, 2) == 0) {
        const int lo = std::max(0, first - 3);
        const int hi = std::min(count - 1, first + 3);
        return lo + Draw(random, hi - lo + 1);
    }
    return Draw(random, count);
}

} // namespace

Neighbourhood::Neighbourhood(const Polygons& parts, const NestPolygon& sheet,
                             const NestSettings& settings)
    : m_parts(parts) {
    const BoundingBox sheetBox = BoundingBoxOf(sheet);
    const int count = settings.rotationAllowed ? settings.rotationCount : 1;
    double widest = 0.0;
    // A box as tall as the sheet fits it exactly, up to rounding of the turned outline.
    const double slack = 1e-9 * std::max(sheetBox.Width(), sheetBox.Height());
    for (const NestPolygon& part : parts) {
        std::vector<double> allowed;
        std::vector<double> fitting;
        double narrowest = std::numeric_limits<double>::infinity();
        if (part.Rotatable()) {
            for (double angle : Angles(count)) {
                const BoundingBox box = BoundingBoxOf(part.RotatedAbout(angle, GePoint(0.0, 0.0)));
                if (box.Width() < sheetBox.Width() && box.Height() < sheetBox.Height()) {
                    allowed.push_back(angle);
                }
                if (box.Width() <= sheetBox.Width() + slack &&
                    box.Height() <= sheetBox.Height() + slack) {
                    fitting.push_back(angle);
                    narrowest = std::min(narrowest, box.Width());
                }
            }
        }
        if (allowed.empty()) {
            allowed.push_back(0.0);
        }
        if (fitting.empty()) {
            fitting.push_back(0.0);
            narrowest = BoundingBoxOf(part).Width();
        }
        widest = std::max(widest, narrowest);
        m_angles.push_back(std::move(allowed));
        m_fitting.push_back(std::move(fitting));
    }
    const double height = sheetBox.Height();
    const double byArea = height > 0.0 ? TotalArea(parts) / height : 0.0;
    m_lowerBound = std::max(widest, byArea);
}

Sequence Neighbourhood::FromResult(const Result& result) const {
    Sequence sequence;
    std::vector<bool> taken(static_cast<std::size_t>(Size()), false);
    if (!result.IsEmpty()) {
        for (const Position& position : result.sheets[0]) {
            for (int i = 0; i < Size(); ++i) {
                if (!taken[i] && m_parts[i].Name() == position.name) {
                    taken[i] = true;
                    sequence.parts.push_back(i);
                    sequence.angles.push_back(position.rotation);
                    break;
                }
            }
        }
    }
    for (int i = 0; i < Size(); ++i) {
        if (!taken[i]) {
            sequence.parts.push_back(i);
            sequence.angles.push_back(m_angles[i].front());
        }
    }
    return sequence;
}

Polygons Neighbourhood::ArrangementOf(const Sequence& sequence) const {
    Polygons arrangement;
    for (std::size_t k = 0; k < sequence.parts.size(); ++k) {
        NestPolygon part = m_parts[sequence.parts[k]];
        part.SetRotation(sequence.angles[k]);
        arrangement.Add(std::move(part));
    }
    return arrangement;
}

void Neighbourhood::Swap(Sequence& s, std::mt19937_64& random) const {
    const int count = static_cast<int>(s.parts.size());
    const int i = Draw(random, count);
    const int j = Partner(random, i, count);
    std::swap(s.parts[i], s.parts[j]);
    std::swap(s.angles[i], s.angles[j]);
}

void Neighbourhood::Move(Sequence& s, std::mt19937_64& random) const {
    const int count = static_cast<int>(s.parts.size());
    const int from = Draw(random, count);
    MovePart(s, from, Partner(random, from, count));
}

void Neighbourhood::MovePart(Sequence& s, int from, int to) {
    const int part = s.parts[from];
    const double angle = s.angles[from];
    s.parts.erase(s.parts.begin() + from);
    s.angles.erase(s.angles.begin() + from);
    s.parts.insert(s.parts.begin() + to, part);
    s.angles.insert(s.angles.begin() + to, angle);
}

bool Neighbourhood::Turn(Sequence& s, std::mt19937_64& random) const {
    const int at = Draw(random, static_cast<int>(s.parts.size()));
    const std::vector<double>& allowed = m_angles[s.parts[at]];
    if (allowed.size() < 2) {
        return false;
    }
    double angle = s.angles[at];
    while (angle == s.angles[at]) {
        angle = allowed[Draw(random, static_cast<int>(allowed.size()))];
    }
    s.angles[at] = angle;
    return true;
}

Sequence Neighbourhood::Neighbour(const Sequence& sequence, std::mt19937_64& random) const {
    Sequence next = sequence;
    if (next.parts.size() < 2) {
        if (!next.parts.empty()) {
            Turn(next, random);
        }
        return next;
    }
    const int moves = 1 + (Draw(random, 4) == 0 ? 1 + Draw(random, 2) : 0);
    for (int m = 0; m < moves; ++m) {
        const int kind = Draw(random, 10);
        if (kind < 4) {
            Swap(next, random);
        } else if (kind < 7 || !Turn(next, random)) {
            Move(next, random);
        }
    }
    return next;
}

} // namespace gantrel
