// Pairs and their keys, the calculators of one pair, batches (sequential against parallel,
// shared work, error reports) and the process-wide cache.
#include "Esicup.h"
#include "nesting/geometry/ClipperAdapter.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/nfp/ComputeNfp.h"
#include "nesting/nfp/MinkowskiDifference.h"
#include "nesting/nfp/NfpCachCalculator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>

namespace gantrel {

namespace {

NestPolygon Square(double x, double y, double size, const std::wstring& name = L"") {
    NestPolygon p{{x, y}, {x + size, y}, {x + size, y + size}, {x, y + size}};
    p.SetName(name);
    return p;
}

NestPolygon Named(NestPolygon p, const std::wstring& name, double rotation = 0.0) {
    p.SetName(name);
    p.SetRotation(rotation);
    return p;
}

class RecordingPrinter : public Printer {
public:
    void PrintLines(const std::vector<std::wstring>& printed) override {
        for (const std::wstring& line : printed)
            PrintText(line);
    }
    void PrintText(const std::wstring& text) override {
        lines.push_back(text);
        threads.push_back(std::this_thread::get_id());
    }
    void NewLine() override { PrintText(L"\n"); }
    std::vector<std::wstring> lines;
    std::vector<std::thread::id> threads;
};

bool SamePolygons(const Polygons& p, const Polygons& q) {
    if (p.Size() != q.Size()) {
        return false;
    }
    for (int i = 0; i < p.Size(); ++i) {
        if (p[i].Size() != q[i].Size()) {
            return false;
        }
        for (int j = 0; j < p[i].Size(); ++j) {
            if (p[i][j].x != q[i][j].x || p[i][j].y != q[i][j].y) {
                return false;
            }
        }
    }
    return true;
}

void ExpectSameMaps(const NfpMap& a, const NfpMap& b) {
    ASSERT_EQ(a.size(), b.size());
    for (const auto& [key, polygons] : a) {
        const auto it = b.find(key);
        ASSERT_NE(it, b.end());
        EXPECT_TRUE(SamePolygons(polygons, it->second));
    }
}

// Every piece of shirts (99 pieces of 8 shapes, one name each) against every other at 0 and
// 180 degrees, plus every inner-fit pair with the strip, as a placement run would ask for them.
Pairs ShirtsBatch(int pieceLimit) {
    const testing::EsicupInstance shirts = testing::LoadEsicup("shirts");
    std::vector<NestPolygon> pieces;
    for (const auto& item : shirts.items) {
        for (int copy = 0; copy < item.demand; ++copy) {
            pieces.push_back(Named(item.shape, item.shape.Name() + L"#" + std::to_wstring(copy)));
        }
    }
    if (static_cast<int>(pieces.size()) > pieceLimit) {
        pieces.resize(static_cast<std::size_t>(pieceLimit));
    }
    const NestPolygon sheet = Square(0, 0, shirts.stripHeight, L"-1");
    Pairs batch;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        for (double rb : {0.0, 180.0}) {
            NestPolygon b = pieces[i];
            b.SetRotation(rb);
            batch.Add(Pair::Of(sheet, b, true));
            for (std::size_t j = 0; j < i; ++j) {
                batch.Add(Pair::Of(pieces[j], b, false));
            }
        }
    }
    return batch;
}

} // namespace

TEST(PairKey, FormatsNamesFlagAndRotationsWithFourDecimals) {
    const Pair inner =
        Pair::Of(Named(Square(0, 0, 10), L"S"), Named(Square(0, 0, 1), L"P", 90), true);
    EXPECT_EQ(inner.KeyText(), L"S|P|t|0.0000|90.0000");
    Pair outer = Pair::Of(Named(Square(0, 0, 1), L"a"), Named(Square(0, 0, 1), L"b"), false);
    outer.rotationA = 12.34567;
    outer.rotationB = -0.00001;
    EXPECT_EQ(outer.KeyText(), L"a|b|f|12.3457|-0.0000");
    EXPECT_FALSE(Pair::Of(Square(0, 0, 1), Square(0, 0, 1), false).HasKey());
    EXPECT_TRUE(Pair::Of(Square(0, 0, 1), Named(Square(0, 0, 1), L"b"), false).HasKey());
}

TEST(RectangleShortcut, PartLargerThanTheSheetGivesOneEmptyPolygonAndNoError) {
    const NestSettings settings;
    RecordingPrinter printer;
    const NestPolygon sheet = Named(NestPolygon{{0, 0}, {10, 0}, {10, 3}, {0, 3}}, L"-1");
    const Polygons tooTall =
        ComputeNfp(Pair::Of(sheet, Square(0, 0, 4, L"P"), true), settings, printer);
    ASSERT_EQ(tooTall.Size(), 1);
    EXPECT_EQ(tooTall[0].Size(), 0);
    EXPECT_TRUE(printer.lines.empty());
    // Rotated to fit: the rectangle of positions of the part's first vertex.
    const NestPolygon bar = Named(NestPolygon{{1, 1}, {1, 0}, {5, 0}, {5, 1}}, L"bar");
    const Polygons fits = ComputeNfp(Pair::Of(sheet, bar, true), settings);
    ASSERT_EQ(fits.Size(), 1);
    const BoundingBox box = BoundingBoxOf(fits[0]);
    EXPECT_DOUBLE_EQ(box.Min().x, 0.0);
    EXPECT_DOUBLE_EQ(box.Max().x, 6.0);
    EXPECT_DOUBLE_EQ(box.Min().y, 1.0);
    EXPECT_DOUBLE_EQ(box.Max().y, 3.0);
    EXPECT_LT(SignedArea(fits[0]), 0.0);
}

TEST(MinkowskiDifference, SeveralLoopsReturnTheMostNegativeOne) {
    // B fits loosely inside the cavity but not through its slot, so the sum has an outline
    // and a true cavity.
    const NestPolygon u{{0, 0}, {10, 0}, {10, 10}, {5.5, 10}, {5.5, 7},  {7, 7},
                        {7, 3}, {3, 3},  {3, 7},   {4.5, 7},  {4.5, 10}, {0, 10}};
    const NestPolygon b = Square(0, 0, 2);
    const std::vector<GePoints> loops = MinkowskiSumWithNegated(u, b, 1e8);
    ASSERT_GE(loops.size(), 2u);
    double mostNegative = 0.0;
    for (const GePoints& loop : loops) {
        mostNegative = std::min(mostNegative, SignedArea(loop));
    }
    const Polygons nfp = MinkowskiDifference(1e8).Calculate(u, b);
    ASSERT_EQ(nfp.Size(), 1);
    EXPECT_NEAR(SignedArea(nfp[0]), mostNegative, 1e-9);
    // Positions of B's first vertex: from (-2, -2) to (10, 10).
    const BoundingBox box = BoundingBoxOf(nfp[0]);
    EXPECT_NEAR(box.Min().x, -2.0, 1e-6);
    EXPECT_NEAR(box.Max().y, 10.0, 1e-6);
}

TEST(MinkowskiDifference, PartThatFitsInsideAnotherLeavesNoFalseHole) {
    // Wherever a small square lies inside a large one they overlap: the no-fit polygon is the
    // whole grown square, whatever the arithmetic's sweep leaves uncovered.
    const Polygons nfp = MinkowskiDifference(1e8).Calculate(Square(0, 0, 10), Square(0, 0, 1));
    ASSERT_EQ(nfp.Size(), 1);
    EXPECT_NEAR(SignedArea(nfp[0]), -121.0, 1e-6);
    EXPECT_EQ(nfp[0].Size(), 4);
}

TEST(ComputeNfp, DegenerateInputYieldsTheEmptyResultAndAReport) {
    const NestSettings minkowski;
    NestSettings orbiting;
    orbiting.orbiting = true;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const NestPolygon good = Square(0, 0, 2, L"good");
    const std::vector<std::pair<const char*, NestPolygon>> cases = {
        {"empty part", Named(NestPolygon(), L"empty")},
        {"two points", Named(NestPolygon{{0, 0}, {1, 0}}, L"two")},
        {"zero area", Named(NestPolygon{{0, 0}, {1, 0}, {2, 0}, {1, 0.0}}, L"flat")},
        {"repeated points", Named(NestPolygon{{0, 0}, {1, 0}, {1, 1}, {1, 1}, {0, 1}}, L"rep")},
        {"closing point repeated", Named(NestPolygon{{0, 0}, {1, 0}, {1, 1}, {0, 0}}, L"closed")},
        {"NaN coordinate", Named(NestPolygon{{0, 0}, {1, 0}, {nan, 1}}, L"nan")},
    };
    for (const auto& [what, bad] : cases) {
        for (const NestSettings* settings :
             {&minkowski, static_cast<const NestSettings*>(&orbiting)}) {
            RecordingPrinter printer;
            EXPECT_TRUE(ComputeNfp(Pair::Of(good, bad, false), *settings, printer).IsEmpty())
                << what;
            ASSERT_EQ(printer.lines.size(), 3u) << what;
            EXPECT_EQ(printer.lines[0], L"\nNFP Error: good|" + bad.Name() + L"|f|0.0000|0.0000");
            EXPECT_EQ(printer.lines[1], L"\nA: " + good.ToString());
            EXPECT_EQ(printer.lines[2], L"\nB: " + bad.Rotated().ToString());
            EXPECT_TRUE(ComputeNfp(Pair::Of(bad, good, false), *settings).IsEmpty()) << what;
        }
        // The inner case fails silently.
        RecordingPrinter printer;
        EXPECT_TRUE(
            ComputeNfp(Pair::Of(Square(0, 0, 10, L"-1"), bad, true), minkowski, printer).IsEmpty())
            << what;
        EXPECT_TRUE(printer.lines.empty()) << what;
    }
}

TEST(ComputeNfp, CoordinatesBeyondTheArithmeticsRangeFailInsteadOfThrowing) {
    const NestSettings settings;
    RecordingPrinter printer;
    const Polygons nfp = ComputeNfp(
        Pair::Of(Square(0, 0, 1e11, L"huge"), Square(0, 0, 1, L"small"), false), settings, printer);
    EXPECT_TRUE(nfp.IsEmpty());
    EXPECT_EQ(printer.lines.size(), 3u);
}

TEST(NfpCachCalculator, SequentialAndParallelGiveTheSameMap) {
    const Pairs batch = ShirtsBatch(30);
    for (bool orbiting : {false, true}) {
        NestSettings settings;
        settings.orbiting = orbiting;
        NfpCachCalculator sequential(settings, true);
        NfpCachCalculator parallel(settings, false);
        sequential.SetShareWork(false);
        parallel.SetShareWork(false);
        const NfpMap a = sequential.Calculate(batch);
        const NfpMap b = parallel.Calculate(batch);
        EXPECT_EQ(static_cast<int>(a.size()), batch.Size());
        ExpectSameMaps(a, b);
        // Sharing the work changes nothing in the map.
        NfpCachCalculator shared(settings, false);
        ExpectSameMaps(a, shared.Calculate(batch));
        EXPECT_LT(shared.ComputedCount(), parallel.ComputedCount());
    }
}

TEST(NfpCachCalculator, PiecesOfOneShapeAreComputedOnce) {
    const NestSettings settings;
    const Pairs batch = ShirtsBatch(1000);
    NfpCachCalculator unshared(settings, false);
    unshared.SetShareWork(false);
    NfpCachCalculator shared(settings, false);
    const NfpMap a = unshared.Calculate(batch);
    const NfpMap b = shared.Calculate(batch);
    ExpectSameMaps(a, b);
    EXPECT_EQ(unshared.ComputedCount(), batch.Size());
    // 8 shapes: at most 8 * 8 * 2 ordered outer pairs at the rotations used here (A at 0, B at
    // 0 or 180) and 8 * 2 inner pairs.
    EXPECT_LE(shared.ComputedCount(), 8 * 8 * 2 + 8 * 2);
    std::cout << "shirts batch of " << batch.Size() << " pairs: " << shared.ComputedCount()
              << " computed with sharing\n";
}

TEST(NfpCachCalculator, LaterBatchesReuseSharedResults) {
    const NestSettings settings;
    SharedNfpResults store;
    const NestPolygon a = Square(0, 0, 2, L"A");
    NfpCachCalculator first(settings, false);
    first.SetSharedResults(&store);
    Pairs batch1;
    batch1.Add(Pair::Of(a, Square(0, 0, 1, L"B1"), false));
    const NfpMap m1 = first.Calculate(batch1);
    EXPECT_EQ(first.ComputedCount(), 1);
    NfpCachCalculator second(settings, true);
    second.SetSharedResults(&store);
    Pairs batch2;
    batch2.Add(Pair::Of(a, Square(0, 0, 1, L"B2"), false)); // the same shape, another name
    batch2.Add(Pair::Of(a, Square(0, 0, 1.5, L"B3"), false));
    const NfpMap m2 = second.Calculate(batch2);
    EXPECT_EQ(second.ComputedCount(), 1);
    EXPECT_TRUE(SamePolygons(m2.at(L"A|B2|f|0.0000|0.0000"), m1.at(L"A|B1|f|0.0000|0.0000")));
}

TEST(NfpCachCalculator, RepeatedKeysAreDroppedAndNamelessPairsNotStored) {
    const NestSettings settings;
    Pairs batch;
    batch.Add(Pair::Of(Square(0, 0, 2, L"A"), Square(0, 0, 1, L"B"), false));
    batch.Add(Pair::Of(Square(0, 0, 2, L"A"), Square(0, 0, 1, L"B"), false));
    batch.Add(Pair::Of(Square(0, 0, 2), Square(0, 0, 3), false)); // no names: no key
    NfpCachCalculator calculator(settings, false);
    calculator.SetShareWork(false);
    const NfpMap map = calculator.Calculate(batch);
    EXPECT_EQ(map.size(), 1u);
    EXPECT_EQ(calculator.ComputedCount(), 2); // the repeated key dropped, the nameless computed
    EXPECT_EQ(map.count(L"A|B|f|0.0000|0.0000"), 1u);
}

TEST(NfpCachCalculator, ErrorsArePrintedOnTheCallingThreadInBatchOrder) {
    const NestSettings settings;
    Pairs batch;
    const NestPolygon a = Square(0, 0, 2, L"A");
    batch.Add(Pair::Of(a, Named(NestPolygon{{0, 0}, {1, 0}}, L"bad1"), false));
    for (int i = 0; i < 40; ++i) {
        batch.Add(Pair::Of(a, Square(0, 0, 1 + 0.01 * i, L"ok" + std::to_wstring(i)), false));
    }
    batch.Add(Pair::Of(a, Named(NestPolygon{{0, 0}, {1, 1}, {2, 2}}, L"bad2"), false));
    for (bool sequential : {true, false}) {
        RecordingPrinter printer;
        NfpCachCalculator calculator(settings, sequential);
        calculator.SetPrinter(&printer);
        const NfpMap map = calculator.Calculate(batch);
        ASSERT_EQ(printer.lines.size(), 6u);
        EXPECT_EQ(printer.lines[0], L"\nNFP Error: A|bad1|f|0.0000|0.0000");
        EXPECT_EQ(printer.lines[3], L"\nNFP Error: A|bad2|f|0.0000|0.0000");
        for (const std::thread::id& id : printer.threads) {
            EXPECT_EQ(id, std::this_thread::get_id());
        }
        // Failed keys keep an empty entry in both modes.
        ASSERT_EQ(map.count(L"A|bad1|f|0.0000|0.0000"), 1u);
        EXPECT_TRUE(map.at(L"A|bad1|f|0.0000|0.0000").IsEmpty());
        EXPECT_EQ(map.size(), 42u);
    }
}

TEST(NfpCache, ContainsGetMergeAndClear) {
    NfpCache cache;
    EXPECT_FALSE(cache.Contains(L"k"));
    EXPECT_TRUE(cache.Get(L"k").IsEmpty());
    Polygons one;
    one.Add(Square(0, 0, 1));
    NfpMap map{{L"k", one}, {L"K", Polygons()}};
    cache.Merge(map);
    EXPECT_TRUE(cache.Contains(L"k"));
    EXPECT_TRUE(cache.Contains(L"K")); // case-sensitive keys
    EXPECT_EQ(cache.Get(L"k").Size(), 1);
    Polygons two;
    two.Add(Square(0, 0, 1));
    two.Add(Square(5, 5, 1));
    cache.Merge(NfpMap{{L"k", two}});
    EXPECT_EQ(cache.Get(L"k").Size(), 2);
    cache.Shared().Store("sig", two);
    cache.Clear();
    EXPECT_EQ(cache.Size(), 0);
    EXPECT_EQ(cache.Shared().Size(), 0);
    EXPECT_EQ(&NfpCache::Process(), &NfpCache::Process());
}

} // namespace gantrel
