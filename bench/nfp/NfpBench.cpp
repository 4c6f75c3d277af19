// No-fit polygons per second on every (type, rotation) pair of fu, jakobs1, mao and swim:
// the Minkowski route single-threaded and on the worker threads, beside Clipper's bare
// MinkowskiSum on the same integer paths (the floor). A last benchmark counts the polygons
// computed for a first generation of shirts with and without sharing the work between pieces
// of one shape.
#include "../../tests/nesting/Esicup.h"
#include "common/Arr.h"
#include "nesting/geometry/ClipperConversion.h"
#include "nesting/nfp/NfpCachCalculator.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace gantrel {

namespace {

// Every (type, rotation) of an instance, each with a name of its own.
std::vector<NestPolygon> Shapes(const std::string& instance) {
    std::vector<NestPolygon> shapes;
    for (const auto& item : testing::LoadEsicup(instance).items) {
        for (double rotation : item.orientations) {
            NestPolygon p = item.shape;
            p.SetRotation(rotation);
            p.SetName(item.shape.Name() + L"@" + std::to_wstring(static_cast<int>(rotation)));
            shapes.push_back(p);
        }
    }
    return shapes;
}

const Pairs& AllPairs(const std::string& instance) {
    static std::map<std::string, Pairs> cache;
    auto it = cache.find(instance);
    if (it == cache.end()) {
        Pairs pairs;
        const std::vector<NestPolygon> shapes = Shapes(instance);
        for (const NestPolygon& a : shapes) {
            for (const NestPolygon& b : shapes) {
                pairs.Add(Pair::Of(a, b, false));
            }
        }
        it = cache.emplace(instance, pairs).first;
    }
    return it->second;
}

const char* const kInstances[] = {"fu", "jakobs1", "mao", "swim"};

void MinkowskiPairs(benchmark::State& state, bool sequential) {
    const std::string instance = kInstances[state.range(0)];
    const Pairs& pairs = AllPairs(instance);
    const NestSettings settings;
    for (auto _ : state) {
        NfpCachCalculator calculator(settings, sequential);
        calculator.SetShareWork(false);
        benchmark::DoNotOptimize(calculator.Calculate(pairs));
    }
    state.SetLabel(instance);
    state.counters["pairs/s"] = benchmark::Counter(static_cast<double>(pairs.Size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MinkowskiSequential(benchmark::State& state) {
    MinkowskiPairs(state, true);
}
void BM_MinkowskiParallel(benchmark::State& state) {
    MinkowskiPairs(state, false);
}

// Clipper's MinkowskiSum alone on the integer paths of the rotated shapes.
void BM_ClipperMinkowskiSumFloor(benchmark::State& state) {
    const std::string instance = kInstances[state.range(0)];
    const Pairs& pairs = AllPairs(instance);
    const double scale = NestSettings().integerScale;
    std::vector<std::pair<ClipperLib::Path, ClipperLib::Path>> paths;
    for (const Pair& pair : pairs) {
        ClipperLib::Path b = ToIntegerPath(pair.b.Rotated(), scale, kClipperRange);
        for (ClipperLib::IntPoint& ip : b) {
            ip.X = -ip.X;
            ip.Y = -ip.Y;
        }
        paths.emplace_back(ToIntegerPath(pair.a.Rotated(), scale, kClipperRange), b);
    }
    for (auto _ : state) {
        for (const auto& [a, b] : paths) {
            ClipperLib::Paths solution;
            ClipperLib::MinkowskiSum(a, b, solution, true);
            benchmark::DoNotOptimize(solution);
        }
    }
    state.SetLabel(instance);
    state.counters["pairs/s"] = benchmark::Counter(static_cast<double>(pairs.Size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}

// A first generation of shirts: population 10 arrangements of the 99 pieces in random order at
// rotations 0 or 180; each arrangement asks for the inner-fit polygon of every piece and the
// no-fit polygon of every piece with every piece placed before it, and merges what it computed
// into the cache, as the placement run does batch by batch.
void BM_ShirtsFirstGeneration(benchmark::State& state) {
    const bool share = state.range(0) != 0;
    const testing::EsicupInstance shirts = testing::LoadEsicup("shirts");
    Arr<NestPolygon> pieces;
    for (const auto& item : shirts.items) {
        for (int copy = 0; copy < item.demand; ++copy) {
            NestPolygon p = item.shape;
            p.SetName(item.shape.Name() + L"#" + std::to_wstring(copy));
            pieces.Add(p);
        }
    }
    NestPolygon sheet{{0, 0}, {200, 0}, {200, shirts.stripHeight}, {0, shirts.stripHeight}};
    sheet.SetName(L"-1");
    const NestSettings settings;
    int computed = 0;
    for (auto _ : state) {
        NfpCache cache;
        computed = 0;
        srand(1);
        for (int arrangement = 0; arrangement < settings.population; ++arrangement) {
            Arr<NestPolygon> order = pieces;
            order.Shuffle();
            for (NestPolygon& p : order) {
                p.SetRotation(rand() % 2 == 0 ? 0.0 : 180.0);
            }
            Pairs batch;
            for (int i = 0; i < order.Size(); ++i) {
                const Pair inner = Pair::Of(sheet, order[i], true);
                if (!cache.Contains(inner.KeyText())) {
                    batch.Add(inner);
                }
                for (int j = 0; j < i; ++j) {
                    const Pair outer = Pair::Of(order[j], order[i], false);
                    if (!cache.Contains(outer.KeyText())) {
                        batch.Add(outer);
                    }
                }
            }
            NfpCachCalculator calculator(settings, false);
            calculator.SetShareWork(share);
            calculator.SetSharedResults(share ? &cache.Shared() : nullptr);
            cache.Merge(calculator.Calculate(batch));
            computed += calculator.ComputedCount();
        }
    }
    state.SetLabel(share ? "sharing" : "no sharing");
    state.counters["computed"] = computed;
}

} // namespace

BENCHMARK(BM_ClipperMinkowskiSumFloor)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinkowskiSequential)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinkowskiParallel)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ShirtsFirstGeneration)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

} // namespace gantrel

BENCHMARK_MAIN();
