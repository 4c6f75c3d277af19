// One placement candidate and the layout it would make.
#pragma once

#include "nesting/geometry/GePoints.h"
#include "nesting/place/Position.h"

namespace gantrel {

class PositionRater {
public:
    PositionRater(GePoints layoutPoints, Position position)
        : m_layoutPoints(std::move(layoutPoints)), m_position(std::move(position)) {}
    virtual ~PositionRater() = default;

    // Width (maxX - minX) of the candidate layout's points; 0 without points.
    virtual double Rate() const;

    const GePoints& LayoutPoints() const { return m_layoutPoints; }
    const Position& GetPosition() const { return m_position; }

private:
    // Every point of every placed part at its position, then the new part's points at the
    // candidate position.
    GePoints m_layoutPoints;
    Position m_position;
};

} // namespace gantrel
