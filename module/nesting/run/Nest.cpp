#include "nesting/run/Nest.h"

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

void Nest::Prepare() {
    if (m_stopProvider == nullptr || m_parts.IsEmpty() || m_sheet.IsEmpty()) {
        return;
    }
    // The sheet outline may have been selected among the parts.
    Polygons parts;
    for (const NestPolygon& part : m_parts) {
        if (!IsSame(part, m_sheet)) {
            parts.Add(part);
        }
    }
    const double halfSpacing = m_settings.spacing / 2.0;
    for (NestPolygon& part : parts) {
        if (std::fabs(halfSpacing) >= kOffsetThreshold) {
            part.Offset(halfSpacing, m_settings);
        }
        part.Reduce(m_settings.reductionThreshold);
    }
    if (!CleanSheet()) {
        m_parts = std::move(parts);
        return;
    }
    m_sheet.Offset(-halfSpacing, m_settings);
    m_sheet.Reduce(m_settings.reductionThreshold);
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
    return m_results.Best();
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
    OnResult(outcome.result);
    m_results.Add(std::move(outcome.result));
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
