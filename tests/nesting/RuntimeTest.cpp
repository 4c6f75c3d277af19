// The runtime random generator as the module sees it, Arr's Shuffle, the parallel loop and the
// settings record.
#include "common/Arr.h"
#include "common/ParallelFor.h"
#include "nesting/settings/NestSettings.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <thread>
#include <vector>

namespace gantrel {

namespace {

// Module code calls rand() unqualified inside namespace gantrel, next to <cstdlib>.
int ModuleRand() {
    return rand();
}

// The Windows runtime's generator written out independently: 32-bit state, bits 16..30.
struct ReferenceGenerator {
    std::uint64_t state;
    int Next() {
        state = (state * 214013ull + 2531011ull) & 0xffffffffull;
        return static_cast<int>((state >> 16) & 0x7fff);
    }
};

} // namespace

TEST(RuntimeRandom, FollowsTheWindowsRuntimeSequence) {
    // The first values of the Windows runtime after srand(1), as documented by its users.
    srand(1);
    EXPECT_EQ(ModuleRand(), 41);
    EXPECT_EQ(ModuleRand(), 18467);
    EXPECT_EQ(ModuleRand(), 6334);
    EXPECT_EQ(ModuleRand(), 26500);
}

TEST(RuntimeRandom, StaysInFifteenBitsAndMatchesTheRule) {
    srand(123456789u);
    ReferenceGenerator reference{123456789u};
    for (int i = 0; i < 100000; ++i) {
        const int value = ModuleRand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, kRandMax);
        ASSERT_EQ(value, reference.Next());
    }
}

TEST(RuntimeRandom, DoesNotReplaceTheCLibraryGenerator) {
    // glibc's generator keeps its own state and range; seeding one leaves the other alone.
    ::srand(7);
    const int first = ::rand();
    srand(7);
    (void)ModuleRand();
    ::srand(7);
    EXPECT_EQ(::rand(), first);
}

TEST(RuntimeRandom, EachThreadStartsFromSeedOne) {
    srand(99);
    int onOtherThread = -1;
    std::thread worker([&onOtherThread] { onOtherThread = ModuleRand(); });
    worker.join();
    EXPECT_EQ(onOtherThread, 41);
}

TEST(ArrShuffle, SwapsWithTheFullSizeModulus) {
    for (unsigned seed : {1u, 2u, 12345u, 4000000000u}) {
        Arr<int> items;
        std::vector<int> expected;
        for (int i = 0; i < 37; ++i) {
            items.Add(i);
            expected.push_back(i);
        }
        ReferenceGenerator reference{seed};
        for (int i = 36; i >= 1; --i) {
            std::swap(expected[static_cast<std::size_t>(i)],
                      expected[static_cast<std::size_t>(reference.Next() % 37)]);
        }
        srand(seed);
        items.Shuffle();
        ASSERT_EQ(std::vector<int>(items.begin(), items.end()), expected) << "seed " << seed;
    }
}

TEST(ArrShuffle, LeavesShortArraysAndTheGeneratorAlone) {
    srand(5);
    Arr<int> one{42};
    one.Shuffle();
    Arr<int> none;
    none.Shuffle();
    EXPECT_EQ(one[0], 42);
    EXPECT_EQ(none.Size(), 0);
    EXPECT_EQ(ModuleRand(), ReferenceGenerator{5}.Next()); // no value was drawn
}

TEST(Arr, VirtualOperationsKeepOrder) {
    Arr<int> a{1, 2};
    const int plain[] = {3, 4};
    a.AddAll(plain, 2);
    a.AddAll(a); // appending itself doubles it
    a.Insert(0, 0);
    a.RemoveLast();
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), (std::vector<int>{0, 1, 2, 3, 4, 1, 2, 3}));
    a.AddAll(nullptr, 3);
    EXPECT_EQ(a.Size(), 8);
    Arr<int> empty;
    empty.RemoveLast();
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(ParallelFor, SequentialAndParallelVisitEveryIndexOnce) {
    for (bool sequential : {true, false}) {
        std::vector<std::atomic<int>> visits(1000);
        ParallelFor(
            0, 1000, [&visits](int i) { visits[static_cast<std::size_t>(i)]++; }, sequential);
        for (const auto& v : visits) {
            ASSERT_EQ(v.load(), 1);
        }
    }
}

TEST(ParallelFor, SequentialRunsInOrderOnTheCaller) {
    std::vector<int> order;
    const auto caller = std::this_thread::get_id();
    bool sameThread = true;
    ParallelFor(
        0, 50,
        [&](int i) {
            order.push_back(i);
            sameThread = sameThread && std::this_thread::get_id() == caller;
        },
        true);
    EXPECT_TRUE(sameThread);
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    }
}

TEST(NestSettings, ModuleRecordHoldsTheDefaultsAtLoad) {
    const NestSettings& s = ModuleNestSettings();
    EXPECT_EQ(s.spacing, 1.0);
    EXPECT_EQ(s.rotationCount, 0);
    EXPECT_EQ(s.reservedInteger, 2);
    EXPECT_EQ(s.population, 10);
    EXPECT_EQ(s.arcPrecision, 20.0);
    EXPECT_EQ(s.integerScale, 100000000);
    EXPECT_EQ(s.arcTolerance, 0.3);
    EXPECT_FALSE(s.orbiting);
    EXPECT_TRUE(s.holes);
    EXPECT_EQ(s.mutationRate, 50);
    EXPECT_EQ(s.maxCalculationTime, 3);
    EXPECT_FALSE(s.rotationAllowed);
    EXPECT_EQ(s.exhaustiveOrderLimit, 8);
    EXPECT_EQ(s.reductionThreshold, 2.0);
    EXPECT_EQ(s.generations, 1);
}

} // namespace gantrel
