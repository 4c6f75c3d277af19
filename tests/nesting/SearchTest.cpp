// The genetic search: angles, layouts, the first generation, the order GetNext hands layouts
// out in, breeding, and the guarded corners (a population of one, a rotation count of 0).
#include "StripNesting.h"
#include "common/Random.h"
#include "nesting/geometry/Predicates.h"
#include "nesting/search/Losowacz.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace gantrel {
namespace {

Polygons Parts(int n) {
    Polygons parts;
    for (int i = 0; i < n; ++i) {
        parts.Add(testing::NamedRectangle(L"p" + std::to_wstring(i), 10.0 + i, 5.0));
    }
    return parts;
}

const NestPolygon kSheet = testing::NamedRectangle(L"-1", 1000.0, 500.0);

// Names of a layout's parts as indices into Parts().
std::vector<int> Order(const Layout& layout) {
    std::vector<int> order;
    for (const NestPolygon& part : layout.Parts()) {
        order.push_back(std::stoi(part.Name().substr(1)));
    }
    return order;
}

bool IsPermutation(const Layout& layout, int n) {
    std::vector<int> order = Order(layout);
    std::sort(order.begin(), order.end());
    for (int i = 0; i < n; ++i) {
        if (static_cast<int>(order.size()) != n || order[static_cast<std::size_t>(i)] != i) {
            return false;
        }
    }
    return layout.GetAngles().Size() == n;
}

Losowacz::Clock FrozenClock() {
    return [] { return std::int64_t{0}; };
}

TEST(Angles, SpreadEvenlyAndACountBelowOneMeansOneRotation) {
    const Angles four(4);
    ASSERT_EQ(four.Size(), 4);
    EXPECT_EQ(four[0], 0.0);
    EXPECT_EQ(four[1], 90.0);
    EXPECT_EQ(four[3], 270.0);
    for (int count : {0, -3, 1}) {
        const Angles one(count);
        ASSERT_EQ(one.Size(), 1) << count;
        EXPECT_EQ(one[0], 0.0) << count;
    }
    srand(7);
    const ShuffledAngles shuffled(6);
    std::vector<double> sorted(shuffled.begin(), shuffled.end());
    std::sort(sorted.begin(), sorted.end());
    const Angles six(6);
    EXPECT_TRUE(std::equal(sorted.begin(), sorted.end(), six.begin()));
}

TEST(Layout, SwapSliceAndEquality) {
    Layout layout;
    for (const NestPolygon& p : Parts(4)) {
        layout.Add(p, 0.0);
    }
    layout.SetAngle(0, 90.0);
    layout.SwapParts(0, 1);
    layout.SwapParts(3, 4); // no index 4: nothing happens
    EXPECT_EQ(Order(layout), (std::vector<int>{1, 0, 2, 3}));
    EXPECT_EQ(layout.GetAngles()[0], 90.0); // angles stay in place
    EXPECT_EQ(Order(layout.Slice(2, 0)), (std::vector<int>{2, 3}));
    EXPECT_EQ(Order(layout.Slice(1, 2)), (std::vector<int>{0, 2}));
    Layout copy = layout;
    EXPECT_TRUE(copy == layout);
    copy.SetAngle(3, 180.0);
    EXPECT_FALSE(copy == layout);
    const Polygons arrangement = layout.Arrangement();
    EXPECT_EQ(arrangement[0].Rotation(), 90.0);
    EXPECT_EQ(arrangement[1].Rotation(), 0.0);
}

TEST(FirstGeneration, FewPartsGiveEveryOrderInLexicographicOrder) {
    NestSettings settings;
    settings.exhaustiveOrderLimit = 3;
    settings.rotationAllowed = true;
    settings.rotationCount = 4;
    const Losowacz search(Parts(3), kSheet, settings, FrozenClock());
    const std::vector<std::vector<int>> expected{{0, 1, 2}, {0, 2, 1}, {1, 0, 2},
                                                 {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    ASSERT_EQ(search.Count(), 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_EQ(Order(search.GetPopulation()[k]), expected[static_cast<std::size_t>(k)]);
        for (double angle : search.GetPopulation()[k].GetAngles()) {
            EXPECT_EQ(angle, 0.0);
        }
    }
}

TEST(FirstGeneration, ManyPartsGiveARandomStartFromTheInputOrder) {
    NestSettings settings;
    settings.population = 12;
    srand(11);
    const Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    ASSERT_EQ(search.Count(), 12);
    EXPECT_EQ(Order(search.GetPopulation()[0]), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    std::set<std::vector<int>> distinct;
    for (const Layout& layout : search.GetPopulation()) {
        EXPECT_TRUE(IsPermutation(layout, 9));
        EXPECT_FALSE(layout.IsRated());
        distinct.insert(Order(layout));
    }
    // Rotation is off, so distinct layouts differ in their order.
    EXPECT_EQ(distinct.size(), 12u);

    srand(11);
    const Losowacz same(Parts(9), kSheet, settings, FrozenClock());
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(Order(same.GetPopulation()[k]), Order(search.GetPopulation()[k]));
    }
}

TEST(FirstGeneration, RandomStartStopsGrowingWhenNoNewLayoutTurnsUp) {
    // Two parts beyond the limit have only two orders; the stall limit ends the growth.
    NestSettings settings;
    settings.exhaustiveOrderLimit = 1;
    settings.population = 10;
    std::int64_t now = 0;
    srand(3);
    const Losowacz search(Parts(2), kSheet, settings, [&now] { return now++; });
    EXPECT_EQ(search.Count(), 2);
}

TEST(GetNext, HandsOutUnratedLayoutsThenBreedsAndStartsAtIndexOne) {
    NestSettings settings;
    settings.population = 5;
    srand(5);
    Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    for (int k = 0; k < 5; ++k) {
        const Layout next = search.GetNext();
        EXPECT_EQ(search.CurrentIndex(), k);
        EXPECT_TRUE(next == search.GetPopulation()[k]);
        // A rating of 0 or below counts as not rated: the layout comes again.
        search.SetRating(k == 2 ? -4.0 : 0.0);
        EXPECT_EQ(search.GetNext(), search.GetPopulation()[k]);
        EXPECT_EQ(search.CurrentIndex(), k);
        search.SetRating(100.0 + k);
    }
    const Layout bred = search.GetNext();
    EXPECT_EQ(search.CurrentIndex(), 1);
    EXPECT_EQ(search.Count(), 5);
    for (const Layout& layout : search.GetPopulation()) {
        EXPECT_FALSE(layout.IsRated());
        EXPECT_TRUE(IsPermutation(layout, 9));
    }
    search.SetRating(1.0);
    search.GetNext();
    EXPECT_EQ(search.CurrentIndex(), 0);
    search.SetRating(1.0);
    search.GetNext();
    EXPECT_EQ(search.CurrentIndex(), 2);
    search.SetRating(1.0);
    search.GetNext();
    EXPECT_EQ(search.CurrentIndex(), 3);
}

TEST(GetNext, APopulationOfOneKeepsSearchingWithoutLeavingItsEnd) {
    NestSettings settings;
    settings.population = 1;
    srand(9);
    Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    ASSERT_EQ(search.Count(), 1);
    std::set<std::vector<int>> seen;
    for (int k = 0; k < 20; ++k) {
        const Layout next = search.GetNext();
        EXPECT_EQ(search.CurrentIndex(), 0);
        EXPECT_EQ(search.Count(), 1);
        EXPECT_TRUE(IsPermutation(next, 9));
        seen.insert(Order(next));
        search.SetRating(10.0);
    }
    // Each new generation is a mutation of the one layout, not the same layout again.
    EXPECT_GT(seen.size(), 1u);
}

TEST(GetNext, AnEmptyPopulationGivesAnEmptyLayout) {
    NestSettings settings;
    Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    search.Clear();
    EXPECT_TRUE(search.GetNext().IsEmpty());
    search.SetRating(3.0); // no layout to rate: nothing happens
}

TEST(RandomAngle, RotationOffGivesEveryPartAngleZero) {
    NestSettings settings;
    settings.rotationAllowed = false;
    settings.rotationCount = 4;
    srand(1);
    Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    for (const Layout& layout : search.GetPopulation()) {
        for (double angle : layout.GetAngles()) {
            EXPECT_EQ(angle, 0.0);
        }
    }
    for (int k = 0; k < 10; ++k) {
        const Layout mutant = search.Mutate(search.GetPopulation()[0]);
        for (double angle : mutant.GetAngles()) {
            EXPECT_EQ(angle, 0.0);
        }
    }
}

TEST(RandomAngle, OnlyAnglesAtWhichThePartFitsTheSheetAndZeroOtherwise) {
    NestSettings settings;
    settings.rotationAllowed = true;
    settings.rotationCount = 4;
    const NestPolygon narrowSheet = testing::NamedRectangle(L"-1", 100.0, 10.0);
    Losowacz search(Parts(2), narrowSheet, settings, FrozenClock());
    const NestPolygon longPart = testing::NamedRectangle(L"long", 50.0, 5.0);
    const NestPolygon hugePart = testing::NamedRectangle(L"huge", 500.0, 50.0);
    NestPolygon fixedPart = testing::NamedRectangle(L"fixed", 5.0, 5.0);
    fixedPart.SetRotatable(false);
    std::set<double> seen;
    srand(4);
    for (int k = 0; k < 50; ++k) {
        seen.insert(search.RandomAngle(longPart));
        EXPECT_EQ(search.RandomAngle(hugePart), 0.0);
        EXPECT_EQ(search.RandomAngle(fixedPart), 0.0);
    }
    // Turned by 90 or 270 the long part is taller than the sheet.
    EXPECT_EQ(seen, (std::set<double>{0.0, 180.0}));
}

TEST(RandomAngle, ARotationCountOfZeroWithRotationOnMeansOneRotation) {
    NestSettings settings;
    settings.rotationAllowed = true;
    settings.rotationCount = 0;
    srand(2);
    Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    for (int k = 0; k < 10; ++k) {
        const double angle = search.RandomAngle(search.GetPopulation()[0].Parts()[0]);
        EXPECT_EQ(angle, 0.0);
        EXPECT_FALSE(std::isnan(angle));
    }
}

TEST(Breeding, ChildrenKeepEveryPartOnceAndTheParentsHeads) {
    NestSettings settings;
    settings.population = 6;
    settings.rotationAllowed = true;
    settings.rotationCount = 4;
    srand(21);
    Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    const Layout& p1 = search.GetPopulation()[1];
    const Layout& p2 = search.GetPopulation()[2];
    for (int k = 0; k < 40; ++k) {
        const auto [c1, c2] = search.Crossover(p1, p2);
        ASSERT_TRUE(IsPermutation(c1, 9));
        ASSERT_TRUE(IsPermutation(c2, 9));
        EXPECT_FALSE(c1.IsRated());
        // The cut fraction is at least 0.1, so at least one part of each head survives.
        EXPECT_TRUE(c1.Parts()[0].Name() == p1.Parts()[0].Name());
        EXPECT_TRUE(c2.Parts()[0].Name() == p2.Parts()[0].Name());
        // Every part keeps its angle from the parent it came from.
        for (int i = 0; i < 9; ++i) {
            const NestPolygon& part = c1.Parts()[i];
            const bool fromHead =
                IsSame(part, p1.Parts()[i]) && c1.GetAngles()[i] == p1.GetAngles()[i];
            const int j = p2.Parts().IndexOf(part);
            ASSERT_GE(j, 0);
            EXPECT_TRUE(fromHead || c1.GetAngles()[i] == p2.GetAngles()[j]);
        }
    }
    const Layout best = search.GetPopulation()[0];
    const Layout other = search.Select(&best);
    EXPECT_FALSE(other == best);
}

TEST(Breeding, SelectionNearlyAlwaysTakesTheFirstMemberAndBreedingKeepsTheSize) {
    NestSettings settings;
    settings.population = 6;
    srand(8);
    Losowacz search(Parts(9), kSheet, settings, FrozenClock());
    const Layout first = search.GetPopulation()[0];
    int firstChosen = 0;
    for (int k = 0; k < 200; ++k) {
        firstChosen += search.Select(nullptr) == first ? 1 : 0;
    }
    // The draw 1 / rand() exceeds 1/6 only for rand() below 6.
    EXPECT_GE(firstChosen, 190);
    for (int k = 0; k < 6; ++k) {
        search.GetNext();
        search.SetRating(1.0 + k);
    }
    search.NextGeneration();
    EXPECT_EQ(search.Count(), 6);
    for (const Layout& layout : search.GetPopulation()) {
        EXPECT_TRUE(IsPermutation(layout, 9));
        EXPECT_FALSE(layout.IsRated());
    }
}

} // namespace
} // namespace gantrel
