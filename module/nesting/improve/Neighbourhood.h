// The arrangements the improving search moves between, and the moves that lead from one to the
// next.
#pragma once

#include "nesting/geometry/Polygons.h"
#include "nesting/place/Result.h"
#include "nesting/settings/NestSettings.h"

#include <random>
#include <vector>

namespace gantrel {

// An arrangement as indices into the run's parts, each with its angle, in placing order.
struct Sequence {
    std::vector<int> parts;
    std::vector<double> angles;

    bool operator==(const Sequence&) const = default;
};

// What the run's parts allow: the angles each part may take and the least width any layout of
// them can have.
class Neighbourhood {
public:
    // parts: the prepared parts of the run; sheet: its prepared outline.
    Neighbourhood(const Polygons& parts, const NestPolygon& sheet, const NestSettings& settings);

    // The angles part may take: 0 alone when it may not turn; otherwise the angles of the
    // rotation count at which its box is strictly narrower and lower than the sheet's (0 alone
    // when none is).
    const std::vector<double>& AnglesOf(int part) const { return m_angles[part]; }
    // The angles at which part fits the sheet, touching its edges allowed (a part as tall as a
    // strip fits it exactly): the angles of the rotation count, or 0 alone when it may not turn
    // or none fits.
    const std::vector<double>& FittingAnglesOf(int part) const { return m_fitting[part]; }
    int Size() const { return static_cast<int>(m_angles.size()); }

    // The sequence of a result: its placed parts in placing order with their rotations, then the
    // parts it did not place, in part order, at their first allowed angle. A position whose
    // name matches no part (or only parts already taken) is left out.
    Sequence FromResult(const Result& result) const;
    // The parts in sequence order, each carrying its angle as its rotation.
    Polygons ArrangementOf(const Sequence& sequence) const;

    // A neighbour: one to three moves, each a swap of two parts, a move of one part to another
    // place in the order, or a new angle for one part. Half the swaps and moves stay within
    // three places, where a small change of the layout is likelier.
    Sequence Neighbour(const Sequence& sequence, std::mt19937_64& random) const;

    // The least used width of a layout that places every part: the larger of the parts' total
    // area over the sheet's height and the widest part at its narrowest angle that fits the sheet.
    double LowerBound() const { return m_lowerBound; }

    // Takes the part at position from (with its angle) out and puts it back at position to.
    static void MovePart(Sequence& s, int from, int to);

private:
    void Swap(Sequence& s, std::mt19937_64& random) const;
    void Move(Sequence& s, std::mt19937_64& random) const;
    bool Turn(Sequence& s, std::mt19937_64& random) const;

    const Polygons& m_parts;
    std::vector<std::vector<double>> m_angles;
    std::vector<std::vector<double>> m_fitting;
    double m_lowerBound = 0.0;
};

} // namespace gantrel
