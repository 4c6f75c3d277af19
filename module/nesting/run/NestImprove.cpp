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
    // Only the latest better layout is kept among the results: it outranks every earlier one,
    // and a long improvement finds hundreds of them.
    bool keptOne = false;
    search.SetReport([this, &keptOne](const Result& best, bool improved) {
        OnResult(best);
        if (improved) {
            if (keptOne) {
                m_results.RemoveLast();
            }
            m_results.Add(best);
            keptOne = true;
        }
    });
    ConfigureImprovement(search);
    search.Improve(start);
    ImprovementEnded(search);
}

} // namespace gantrel
