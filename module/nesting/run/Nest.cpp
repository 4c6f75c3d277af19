#include "nesting/run/Nest.h"

#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/ClipperConversion.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/geometry/Tolerances.h"
#include "nesting/nfp/NfpCache.h"
#include "nesting/run/NestObservers.h"
#include "nesting/search/ArrangementStep.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <limits>

namespace gantrel {

namespace {

constexpr double kDegreesToRadians = 3.141592653589793 / 180.0;

void MoveInPlace(NestPolygon& polygon, const Vector& v) {
    for (GePoint& p : polygon) {
        p.x += v.x;
        p.y += v.y;
    }
    if (Polygons* holes = polygon.Holes()) {
        for (NestPolygon& hole : *holes) {
            MoveInPlace(hole, v);
        }
    }
}

// The largest distance of the outline's points from the origin.
double Radius(const GePoints& points) {
    double r = 0.0;
    for (const GePoint& p : points) {
        r = std::max(r, std::hypot(p.x, p.y));
    }
    return r;
}

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

Nest::Nest(const NestSettings& settings) : m_settings(settings), m_clock(SteadySeconds) {}

Nest::~Nest() = default;

bool Nest::CleanSheet() {
    m_sheet = CleanSheetOutline(m_sheet, m_settings);
    return m_sheet.Size() >= 3;
}

double Nest::Reach(const NestSettings& settings) {
    // A no-fit polygon adds the coordinates of two shapes turned about the origin, and the
    // arithmetic takes sums up to half its range; a tenth is left for growing and rounding.
    return 0.9 * kClipperRange / (4.0 * static_cast<double>(settings.integerScale));
}

void Nest::MoveResult(Result& result, double direction) const {
    if (m_origin.x == 0.0 && m_origin.y == 0.0) {
        return;
    }
    // A piece is turned about the origin, then moved: in the run's frame its points p - o go to
    // R(p - o) + t, which in the drawing is R(p) + t + o - R(o).
    for (Positions& sheet : result.sheets) {
        for (Position& position : sheet) {
            const double a = position.rotation * kDegreesToRadians;
            const double c = std::cos(a);
            const double s = std::sin(a);
            position.translation.x += direction * (m_origin.x - (m_origin.x * c - m_origin.y * s));
            position.translation.y += direction * (m_origin.y - (m_origin.x * s + m_origin.y * c));
        }
    }
}

void Nest::Prepare() {
    if (m_stopProvider == nullptr || m_parts.IsEmpty() || m_sheet.IsEmpty()) {
        return;
    }
    // The layout does not depend on where the sheet lies: the run works with the sheet's
    // lower-left corner at the origin, which keeps the integer arithmetic in range.
    const BoundingBox sheetBox = BoundingBoxOf(m_sheet);
    m_origin = GePoint(sheetBox.Min().x, sheetBox.Min().y);
    const Vector toRun(-m_origin.x, -m_origin.y);
    const double reach = Reach(m_settings);
    MoveInPlace(m_sheet, toRun);
    if (Radius(m_sheet) > reach) {
        Message(L"\nThe sheet " + m_sheet.Name() +
                L" is too large for the range of the nesting arithmetic; nothing is nested.");
        m_sheet.Clear();
        return;
    }
    // The sheet outline may have been selected among the parts. Pieces without an outline
    // (parts that cannot be nested, told when they were read) stay out of the search and are
    // set down beside the sheet.
    Polygons parts;
    for (const NestPolygon& part : m_parts) {
        if (part.Size() < 3) {
            continue;
        }
        NestPolygon moved = part;
        MoveInPlace(moved, toRun);
        if (IsSame(moved, m_sheet)) {
            continue;
        }
        if (Radius(moved) > reach) {
            Message(L"\nThe piece " + part.Name() +
                    L" lies beyond the range of the nesting arithmetic; it is left out.");
            continue;
        }
        parts.Add(std::move(moved));
    }
    // Grown parts cover every point within half the spacing of the part, and the shrunk sheet
    // keeps only points at least that far inside; the reduction then moves a part's outline
    // only outward and the sheet's only inward.
    const double halfSpacing = m_settings.spacing / 2.0;
    for (NestPolygon& part : parts) {
        if (std::fabs(halfSpacing) >= kOffsetThreshold) {
            part.Grow(halfSpacing, m_settings);
        }
        part.Reduce(m_settings.reductionThreshold, ReductionSide::Outside);
    }
    if (!CleanSheet()) {
        m_parts = std::move(parts);
        return;
    }
    m_sheet.Grow(-halfSpacing, m_settings);
    m_sheet.Reduce(m_settings.reductionThreshold, ReductionSide::Inside);
    // The inner-fit keys of the no-fit-polygon table name the sheet so.
    m_sheet.SetName(L"-1");
    if (SignedArea(m_sheet) > 0.0) {
        m_sheet.Reverse();
    }
    for (NestPolygon& part : parts) {
        if (part.Size() > 1 && Coincident(part[part.Size() - 1], part[0])) {
            part.RemoveLast();
        }
        if (SignedArea(part) > 0.0) {
            part.Reverse();
        }
    }
    std::sort(parts.begin(), parts.end(), [](const NestPolygon& a, const NestPolygon& b) {
        return std::fabs(SignedArea(a)) > std::fabs(SignedArea(b));
    });
    m_parts = std::move(parts);
    m_search = std::make_unique<Losowacz>(m_parts, m_sheet, m_settings);
    if (StopRequested()) {
        return;
    }
    NfpCache::Process().Clear();
    const int total = Total();
    for (Observer* observer : Observers()) {
        if (auto* resultObserver = dynamic_cast<Nest_Observer*>(observer)) {
            resultObserver->SetTotal(total);
        }
    }
    NotifyStart();
}

Result Nest::Best() {
    return m_best;
}

int Nest::Total() {
    if (m_search == nullptr) {
        return 0;
    }
    const long long generations = std::max(m_settings.generations, 1);
    return static_cast<int>(std::min<long long>(m_search->Count() * generations, INT_MAX));
}

void Nest::Step() {
    if (m_search == nullptr) {
        return;
    }
    StepOutcome outcome =
        EvaluateNextArrangement(*m_search, m_sheet, m_settings, NfpCache::Process(),
                                SingleThreaded(), m_stopProvider, &m_printer);
    if (!outcome.evaluated) {
        return;
    }
    ToDrawing(outcome.result);
    OnResult(outcome.result);
    ++m_evaluated;
    // A later result replaces the best only when it rates strictly higher.
    if (m_evaluated == 1 || outcome.result.rating > m_best.rating) {
        m_best = std::move(outcome.result);
    }
}

void Nest::OnResult(const Result& result) {
    for (Observer* observer : Observers()) {
        if (auto* resultObserver = dynamic_cast<Nest_Observer*>(observer)) {
            resultObserver->SetResult(result);
        }
    }
    NotifyUpdate();
}

void Nest::Run() {
    // The maximum calculation time is given in minutes; the clock starts with the first step.
    const double limit = 60.0 * m_settings.maxCalculationTime;
    const double start = m_clock();
    for (int i = 0; i < Total(); ++i) {
        Step();
        if (StopRequested()) {
            break;
        }
        if (limit > 0.0 && m_clock() - start >= limit) {
            break;
        }
    }
    if (m_settings.improve && !StopRequested()) {
        Improve(limit > 0.0 ? start + limit : std::numeric_limits<double>::infinity());
    }
}

void Nest::Finish() {
    const Result best = Best();
    for (Observer* observer : Observers()) {
        if (auto* resultObserver = dynamic_cast<Nest_Observer*>(observer)) {
            resultObserver->SetResult(best);
        }
        if (auto* partsObserver = dynamic_cast<Polygons_Observer*>(observer)) {
            partsObserver->SetParts(m_parts);
        }
    }
    NotifyFinish();
}

} // namespace gantrel
