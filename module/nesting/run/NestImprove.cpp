// The run's hand-over to the improving search once the generations are done.
#include "nesting/improve/ImprovingSearch.h"
#include "nesting/nfp/NfpCache.h"
#include "nesting/run/Nest.h"

#include <cstdlib>

namespace gantrel {

void Nest::Improve(double deadline) {
    if (m_search == nullptr) {
        return;
    }
    const Result start = Best();
    if (start.IsEmpty()) {
        return;
    }
    ImprovingSearch search(m_parts, m_sheet, m_settings, NfpCache::Process(), m_stopProvider);
    search.SetClock(m_clock, deadline);
    search.SetPrinter(&m_printer);
    // Seeded from the runtime generator, so that a seeded run repeats itself.
    search.SetSeed(static_cast<std::uint64_t>(std::rand()));
    search.SetReport([this](const Result& best, bool improved) {
        OnResult(best);
        if (improved) {
            m_results.Add(best);
        }
    });
    ConfigureImprovement(search);
    search.Improve(start);
    ImprovementEnded(search);
}

} // namespace gantrel
