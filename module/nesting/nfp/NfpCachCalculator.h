// Computes a batch of pairs, sequentially or on the worker threads.
#pragma once

#include "nesting/nfp/NfpCache.h"
#include "nesting/nfp/NfpReport.h"
#include "nesting/nfp/Pair.h"
#include "nesting/settings/NestSettings.h"

#include <string>
#include <vector>

namespace gantrel {

// Every keyed pair of the batch gets an entry in the result map under its key text (pairs with
// a repeated key are dropped, the first one stays); an entry is empty when its computation
// failed, in both modes. Pairs with the same shapes, rotations and inner flag are computed once
// and their result read by every key that has them; with shared results attached, results of
// earlier batches are reused the same way.
//
// Error lines of failed outer pairs go to the printer and failed orbits to the diagnostic sink,
// both on the calling thread after the computation, in batch order.
class NfpCachCalculator {
public:
    NfpCachCalculator(const NestSettings& settings, bool sequential)
        : m_settings(settings), m_sequential(sequential) {}
    virtual ~NfpCachCalculator() = default;

    NfpCachCalculator(const NfpCachCalculator&) = delete;
    NfpCachCalculator& operator=(const NfpCachCalculator&) = delete;

    // Stores the batch, computes it in the chosen mode and returns the result map.
    virtual NfpMap Calculate(const Pairs& batch);
    // Computes on the calling thread, in batch order.
    virtual void ComputeSequential();
    // Computes on the worker threads; a batch needing one computation runs on the caller.
    virtual void ComputeParallel();

    void SetPrinter(Printer* printer) { m_printer = printer; }
    void SetDiagnostics(DiagnosticSink* diagnostics) { m_diagnostics = diagnostics; }
    // Results of earlier batches to reuse and extend (may be null).
    void SetSharedResults(SharedNfpResults* shared) { m_shared = shared; }
    // When false every pair is computed on its own (for measuring what sharing saves).
    void SetShareWork(bool share) { m_shareWork = share; }

    // Polygon sets actually computed by the last Calculate.
    int ComputedCount() const { return m_computed; }

private:
    struct Work {
        int representative = 0; // index into the batch
        std::string signature;
        Polygons result;
        CollectingDiagnosticSink diagnostics;
    };

    void Compute(bool sequential);

    NestSettings m_settings;
    bool m_sequential;
    Pairs m_batch;
    NfpMap m_result;
    Printer* m_printer = nullptr;
    DiagnosticSink* m_diagnostics = nullptr;
    SharedNfpResults* m_shared = nullptr;
    bool m_shareWork = true;
    int m_computed = 0;
};

// The bytes that decide a pair's result: inner flag, the settings that choose and scale the
// calculator, both rotations and every outline coordinate.
std::string NfpSignature(const Pair& pair, const NestSettings& settings);

} // namespace gantrel
