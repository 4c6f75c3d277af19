#include "nesting/place/ResultRater.h"

#include "nesting/geometry/Predicates.h"

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <vector>

namespace gantrel {

namespace {

bool SameNameIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return std::towlower(static_cast<wint_t>(x)) ==
                      std::towlower(static_cast<wint_t>(y));
           });
}

} // namespace

ResultRater::ResultRater(const Polygons& parts, const Positions& positions,
                         const NestPolygon& sheet, double areaStep)
    : m_parts(parts), m_positions(positions), m_sheet(sheet), m_areaStep(areaStep) {}

double ResultRater::UsedWidth() const {
    BoundingBox box;
    for (const Position& position : m_positions) {
        for (const NestPolygon& part : m_parts) {
            if (SameNameIgnoringCase(part.Name(), position.name)) {
                const BoundingBox partBox = BoundingBoxOf(part);
                if (partBox.IsSet()) {
                    const Vector shift(position.translation.x, position.translation.y);
                    box.Add(partBox.Min() + shift);
                    box.Add(partBox.Max() + shift);
                }
                break;
            }
        }
    }
    return box.IsSet() ? box.Width() : 0.0;
}

double ResultRater::WidthWeight() const {
    const double sheetWidth = BoundingBoxOf(m_sheet).Width();
    if (!(m_areaStep > 0.0) || !(sheetWidth > 0.0) || sheetWidth < m_areaStep) {
        return 1.0;
    }
    return m_areaStep / (2.0 * sheetWidth);
}

double ResultRater::Rate() const {
    return TotalArea(m_parts) - WidthWeight() * UsedWidth();
}

double ResultRater::AreaStep(const Polygons& allParts) {
    std::vector<double> areas;
    for (const NestPolygon& part : allParts) {
        areas.push_back(std::fabs(SignedArea(part)));
    }
    if (areas.empty()) {
        return 0.0;
    }
    std::sort(areas.begin(), areas.end());
    // Parts without area change no placed area and set no step.
    const double noise = 1e-9 * areas.back();
    double step = 0.0;
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const double difference = i == 0 ? areas[0] : areas[i] - areas[i - 1];
        if (difference > noise && (step == 0.0 || difference < step)) {
            step = difference;
        }
    }
    return step;
}

} // namespace gantrel
