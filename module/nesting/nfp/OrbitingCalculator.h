// The no-fit polygon traced by sliding one polygon around (or inside) another.
#pragma once

#include "nesting/nfp/NfpReport.h"
#include "nesting/nfp/NoFitPolygonCalculator.h"
#include "nesting/nfp/StartShift.h"
#include "nesting/nfp/TranslationFinder.h"

#include <memory>

namespace gantrel {

// The family of calculators that work on arbitrary simple polygons.
class NoFitPolygon_IrregularCalculator : public NoFitPolygon_Calculator {};

// Outer case: B starts in contact with A (moved by the start-shift calculator) and is pushed
// along A's boundary, always touching and never overlapping, until its first vertex is back
// within 0.001 of where it started. The loop traced by B's first vertex is the result. An orbit
// that cannot close (step limit 10 * (|A| + |B|), no contact, no acceptable move, a move that
// does not move) is a failure: the result is empty and the path, A and B are drawn into the
// diagnostic sink. Holes of A and B take no part.
class MyOwnNoFitPolygonCalculator : public NoFitPolygon_IrregularCalculator {
public:
    // startShift must outlive the calculator; diagnostics may be null.
    explicit MyOwnNoFitPolygonCalculator(const IStartShiftCalculator& startShift,
                                         DiagnosticSink* diagnostics = nullptr)
        : m_startShift(startShift), m_diagnostics(diagnostics) {}

    Polygons Calculate(const NestPolygon& a, const NestPolygon& b) override;
    virtual std::unique_ptr<TranslationFinder>
    CreateTranslationFinder(const NestPolygon& a, const NestPolygon& b,
                            const TouchingGroup& touches, const IPosibleTranslation* previous);

private:
    void DrawFailure(const NestPolygon& path, const NestPolygon& a, const NestPolygon& b);

    const IStartShiftCalculator& m_startShift;
    DiagnosticSink* m_diagnostics;
};

// Inner case: the inner-fit polygon of B inside A (A is the sheet).
class IFPCalculator : public MyOwnNoFitPolygonCalculator {
public:
    using MyOwnNoFitPolygonCalculator::MyOwnNoFitPolygonCalculator;

    std::unique_ptr<TranslationFinder>
    CreateTranslationFinder(const NestPolygon& a, const NestPolygon& b,
                            const TouchingGroup& touches,
                            const IPosibleTranslation* previous) override;
};

} // namespace gantrel
