// The run's hand-over to the improving search once the generations are done.
#include "nesting/improve/ImprovingSearch.h"
#include "nesting/nfp/NfpCache.h"
#include "nesting/run/Nest.h"

#include <cstdlib>

namespace gantrel {

void Nest::Improve(double deadline) {
    if (m_search == nullptr || m_best.IsEmpty()) {
        return;
    }
    // The search places in the run's frame, as the generations did; the best result is kept in
    // the drawing's.
    Result start = m_best;
    ToRun(start);
    ImprovingSearch search(m_parts, m_sheet, m_settings, NfpCache::Process(), m_stopProvider);
    search.SetClock(m_clock, deadline);
    search.SetPrinter(&m_printer);
    // Seeded from the runtime generator, so that a seeded run repeats itself.
    search.SetSeed(static_cast<std::uint64_t>(std::rand()));
    // Every layout it reports outranks the best so far when it says it improved.
    search.SetReport([this](const Result& reported, bool improved) {
        Result inDrawing = reported;
        ToDrawing(inDrawing);
        OnResult(inDrawing);
        if (improved) {
            m_best = std::move(inDrawing);
        }
    });
    ConfigureImprovement(search);
    search.Improve(start);
    m_evaluated += search.Evaluations();
}

} // namespace gantrel
