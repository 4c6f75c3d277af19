// The fitness of one placement: the placed part area, less the used length of the sheet.
#pragma once

#include "nesting/geometry/Polygons.h"
#include "nesting/place/Position.h"

namespace gantrel {

// Rate() = A - k * W, where A is the total area of the placed parts, W the width of the bounding
// box of the placed parts, and k a weight fixed for the whole run:
// - k = 1 when the sheet's width is below the area step: then no width can outweigh a
//   difference of placed area, and the value is the plain "area minus width";
// - otherwise k = step / (2 * sheet width), so that the width term stays below half the step.
// The area step is the smallest placed-area difference the run must resolve: the smallest part
// area and the smallest difference between two unequal part areas. Thus more placed area always
// ranks higher whatever the drawing unit, and among equal placed areas the narrower layout wins.
class ResultRater {
public:
    // parts: the placed parts as placed (rotated, untranslated); positions: where they went;
    // areaStep: AreaStep() of every part of the run; 0 gives the plain formula.
    ResultRater(const Polygons& parts, const Positions& positions, const NestPolygon& sheet,
                double areaStep = 0.0);
    virtual ~ResultRater() = default;

    virtual double Rate() const;

    // Width of the bounding box of the placed parts: for every position, the first part whose
    // name equals the position's name (ignoring case), translated by the position. 0 without
    // positions.
    double UsedWidth() const;
    // The weight k of the width.
    double WidthWeight() const;

    // The smallest part area and the smallest difference between two part areas that differ by
    // more than a relative 1e-9 (rounding noise of equal shapes); 0 for no parts.
    static double AreaStep(const Polygons& allParts);

private:
    const Polygons& m_parts;
    const Positions& m_positions;
    const NestPolygon& m_sheet;
    double m_areaStep;
};

} // namespace gantrel
