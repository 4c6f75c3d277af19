#include "nesting/nfp/OrbitingCalculator.h"

#include "nesting/geometry/Predicates.h"
#include "nesting/geometry/Tolerances.h"
#include "nesting/nfp/OrbitGeometry.h"

namespace gantrel {

namespace {

// A loop counts as closed when B's first vertex is back this close to its start.
constexpr double kClosingTolerance = 0.001;

} // namespace

Polygons MyOwnNoFitPolygonCalculator::Calculate(const NestPolygon& a, const NestPolygon& b) {
    if (!IsUsableOutline(a) || !IsUsableOutline(b)) {
        return Polygons();
    }
    const int limit = 10 * a.Size() + 10 * b.Size();
    const Edge shift = m_startShift.Compute(a, b);
    NestPolygon moving = b.Translated(shift.direction);
    const GePoint start = moving[0];
    NestPolygon path;
    path.Add(start);
    std::unique_ptr<IPosibleTranslation> previous;
    for (;;) {
        if (path.Size() > limit) {
            DrawFailure(path, a, moving);
            return Polygons();
        }
        const TouchingGroup touches = FindTouching(a, moving);
        if (touches.IsEmpty()) {
            DrawFailure(path, a, moving);
            return Polygons();
        }
        const std::unique_ptr<TranslationFinder> finder =
            CreateTranslationFinder(a, moving, touches, previous.get());
        const IPosibleTranslation* chosen = finder->FindBest();
        if (chosen == nullptr) {
            DrawFailure(path, a, moving);
            return Polygons();
        }
        Vector v = chosen->Vector();
        const double length = v.Length();
        if (!v.IsFinite() || !(length > kPredicateTolerance)) {
            DrawFailure(path, a, moving);
            return Polygons();
        }
        const double slide = SlideDistance(a, moving, v);
        v = v * (slide / length);
        // A move shortened to nothing would repeat the same step until the limit.
        if (!(v.Length() > kPredicateTolerance)) {
            DrawFailure(path, a, moving);
            return Polygons();
        }
        moving = moving.Translated(v);
        previous = chosen->Clone();
        path.Add(moving[0]);
        if (SamePoint(moving[0], start, kClosingTolerance)) {
            break;
        }
    }
    Polygons result;
    result.Add(path);
    return result;
}

std::unique_ptr<TranslationFinder>
MyOwnNoFitPolygonCalculator::CreateTranslationFinder(const NestPolygon& a, const NestPolygon& b,
                                                     const TouchingGroup& touches,
                                                     const IPosibleTranslation* previous) {
    return std::make_unique<TranslationFinder>(a, b, touches, previous);
}

void MyOwnNoFitPolygonCalculator::DrawFailure(const NestPolygon& path, const NestPolygon& a,
                                              const NestPolygon& b) {
    if (m_diagnostics == nullptr) {
        return;
    }
    m_diagnostics->AddPolyline(path, true, -1);
    m_diagnostics->AddPolyline(b, true, -1);
    m_diagnostics->AddPolyline(a, true, -1);
}

std::unique_ptr<TranslationFinder>
IFPCalculator::CreateTranslationFinder(const NestPolygon& a, const NestPolygon& b,
                                       const TouchingGroup& touches,
                                       const IPosibleTranslation* previous) {
    return std::make_unique<InnerTranslationFinder>(a, b, touches, previous);
}

} // namespace gantrel
