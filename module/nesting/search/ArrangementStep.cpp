#include "nesting/search/ArrangementStep.h"

#include "nesting/nfp/NfpCachCalculator.h"
#include "nesting/place/Ukladacz.h"

namespace gantrel {

NfpMap BuildNfpTable(const Polygons& arrangement, const NestPolygon& sheet,
                     const NestSettings& settings, NfpCache& cache, bool sequential,
                     Printer* printer) {
    Pairs wanted;
    for (int i = 0; i < arrangement.Size(); ++i) {
        wanted.Add(Pair::Of(sheet, arrangement[i], true));
    }
    for (int i = 0; i < arrangement.Size(); ++i) {
        for (int j = i + 1; j < arrangement.Size(); ++j) {
            wanted.Add(Pair::Of(arrangement[i], arrangement[j], false));
        }
    }
    Pairs missing;
    for (const Pair& pair : wanted) {
        if (!cache.Contains(pair.KeyText())) {
            missing.Add(pair);
        }
    }
    if (!missing.IsEmpty()) {
        NfpCachCalculator calculator(settings, sequential);
        calculator.SetPrinter(printer);
        calculator.SetSharedResults(&cache.Shared());
        cache.Merge(calculator.Calculate(missing));
    }
    NfpMap table;
    for (const Pair& pair : wanted) {
        std::wstring key = pair.KeyText();
        Polygons loops = cache.Get(key);
        table.emplace(std::move(key), std::move(loops));
    }
    return table;
}

Result PlaceArrangement(const Polygons& arrangement, const NestPolygon& sheet, NfpMap table,
                        const NestSettings& settings, const NestingStopProvider* stopProvider) {
    Ukladacz placer(sheet, arrangement, std::move(table), settings, stopProvider);
    Result result;
    placer.PlaceAll(result);
    return result;
}

StepOutcome EvaluateNextArrangement(Losowacz& search, const NestPolygon& sheet,
                                    const NestSettings& settings, NfpCache& cache, bool sequential,
                                    const NestingStopProvider* stopProvider, Printer* printer) {
    StepOutcome outcome;
    const Layout layout = search.GetNext();
    if (layout.IsEmpty()) {
        return outcome;
    }
    const Polygons arrangement = layout.Arrangement();
    NfpMap table = BuildNfpTable(arrangement, sheet, settings, cache, sequential, printer);
    if (stopProvider != nullptr && stopProvider->ShouldStop()) {
        return outcome;
    }
    outcome.result = PlaceArrangement(arrangement, sheet, std::move(table), settings, stopProvider);
    search.SetRating(outcome.result.rating);
    outcome.evaluated = true;
    return outcome;
}

} // namespace gantrel
