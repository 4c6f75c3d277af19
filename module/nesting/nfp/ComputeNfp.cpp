#include "nesting/nfp/ComputeNfp.h"

#include "nesting/geometry/Predicates.h"
#include "nesting/nfp/MinkowskiDifference.h"
#include "nesting/nfp/NoFitPolygonByRectangle.h"
#include "nesting/nfp/OrbitingCalculator.h"

namespace gantrel {

namespace {

void ReversePositiveLoops(Polygons& loops) {
    for (NestPolygon& loop : loops) {
        if (SignedArea(loop) > 0) {
            loop.Reverse();
        }
    }
}

Polygons InnerFit(const NestPolygon& sheet, const NestPolygon& part, DiagnosticSink* diagnostics) {
    Polygons result;
    if (IsRectangle(sheet)) {
        result = NoFitPolygonByRectangle().Calculate(sheet, part);
    } else {
        const StartShiftBySliding startShift;
        result = IFPCalculator(startShift, diagnostics).Calculate(sheet, part);
    }
    ReversePositiveLoops(result);
    return result;
}

Polygons OuterFit(const NestPolygon& a, const NestPolygon& b, const NestSettings& settings,
                  DiagnosticSink* diagnostics) {
    Polygons result;
    if (settings.orbiting) {
        const StartShiftMaxBToMinA startShift;
        result = MyOwnNoFitPolygonCalculator(startShift, diagnostics).Calculate(a, b);
        ReversePositiveLoops(result);
    } else {
        result = MinkowskiDifference(static_cast<double>(settings.integerScale)).Calculate(a, b);
    }
    if (result.Size() <= 1) {
        return result;
    }
    // The outline ends counter-clockwise, loops inside it clockwise (holes of the forbidden
    // region).
    for (int i = 0; i < result.Size(); ++i) {
        if (SignedArea(result[i]) > 0) {
            result[i].Reverse();
        }
        if (i > 0 && !result[i].IsEmpty() && Contains(result[0], result[i][0]) &&
            SignedArea(result[i]) < 0) {
            result[i].Reverse();
        }
    }
    return result;
}

} // namespace

Polygons ComputeNfp(const Pair& pair, const NestSettings& settings, DiagnosticSink* diagnostics) {
    const NestPolygon a = pair.a.Rotated();
    const NestPolygon b = pair.b.Rotated();
    if (!IsUsableOutline(a) || !IsUsableOutline(b)) {
        return Polygons();
    }
    return pair.inner ? InnerFit(a, b, diagnostics) : OuterFit(a, b, settings, diagnostics);
}

Polygons ComputeNfp(const Pair& pair, const NestSettings& settings, Printer& printer,
                    DiagnosticSink* diagnostics) {
    Polygons result = ComputeNfp(pair, settings, diagnostics);
    if (IsNfpError(pair, result)) {
        for (const std::wstring& line : NfpErrorLines(pair)) {
            printer.PrintText(line);
        }
    }
    return result;
}

bool IsNfpError(const Pair& pair, const Polygons& result) {
    return !pair.inner && result.IsEmpty();
}

std::vector<std::wstring> NfpErrorLines(const Pair& pair) {
    return {L"\nNFP Error: " + pair.KeyText(), L"\nA: " + pair.a.Rotated().ToString(),
            L"\nB: " + pair.b.Rotated().ToString()};
}

} // namespace gantrel
