#include "nesting/nfp/PossibleTranslation.h"

#include <cmath>

namespace gantrel {

namespace {

constexpr double kCrossTolerance = 1e-8;

void DrawSegment(DiagnosticSink& sink, const GePoint& s, const GePoint& e, int colour) {
    GePoints line;
    line.Add(s);
    line.Add(e);
    sink.AddPolyline(line, false, colour);
}

} // namespace

bool NonNegativeCross(double cross) {
    return cross >= 0.0 || std::fabs(cross) < kCrossTolerance;
}

bool PointOnEdgeTranslation::Accepts(const gantrel::Vector& v) const {
    return NonNegativeCross(Cross(m_edge, v));
}

void PointOnEdgeTranslation::Draw(DiagnosticSink& sink) const {
    DrawSegment(sink, GePoint(0, 0), GePoint(m_edge.x, m_edge.y), 1);
}

bool PointOnEdgeTranslationInner::Accepts(const gantrel::Vector& v) const {
    const double c = Cross(m_edge, v);
    return c <= 0.0 || std::fabs(c) < kCrossTolerance;
}

gantrel::Vector PointPointTouchedTranslation::OuterVector() const {
    const gantrel::Vector alongA = m_e2.direction; // nextA - A
    const gantrel::Vector alongB = m_e4.direction; // nextB - B
    return NonNegativeCross(Cross(alongA, alongB)) ? -alongB : alongA;
}

gantrel::Vector PointPointTouchedTranslation::Vector() const {
    return OuterVector();
}

bool PointPointTouchedTranslation::AcceptsVector(const gantrel::Vector& v) const {
    return NonNegativeCross(Cross(OuterVector(), v));
}

void PointPointTouchedTranslation::Draw(DiagnosticSink& sink) const {
    DrawSegment(sink, m_e1.start, m_e1.end, 253);
    DrawSegment(sink, m_e2.start, m_e2.end, 2);
    DrawSegment(sink, m_e3.start, m_e3.end, 254);
    DrawSegment(sink, m_e4.start, m_e4.end, 4);
}

gantrel::Vector PointPointTouchedTranslationInner::Vector() const {
    const gantrel::Vector alongA = m_e2.direction; // nextA - A
    const gantrel::Vector intoB = m_e3.direction;  // B - prevB
    return NonNegativeCross(Cross(alongA, intoB)) ? intoB : alongA;
}

} // namespace gantrel
