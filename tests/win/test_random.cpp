#include "winstandin.h"

#include <gtest/gtest.h>
#include <thread>

TEST(Random, SeedOneGivesTheRuntimeSequence) {
    win::srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (const int value : expected) {
        EXPECT_EQ(win::rand(), value);
    }
}

TEST(Random, ValuesStayInFifteenBitsAndReseedingRepeats) {
    win::srand(12345);
    std::vector<int> first;
    for (int i = 0; i < 1000; ++i) {
        const int value = win::rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, win::RAND_MAX_VALUE);
        first.push_back(value);
    }
    win::srand(12345);
    for (const int value : first) {
        ASSERT_EQ(win::rand(), value);
    }
}

TEST(Random, ANewThreadStartsFromSeedOne) {
    win::srand(99);
    int firstValue = 0;
    std::thread([&] { firstValue = win::rand(); }).join();
    EXPECT_EQ(firstValue, 41);
}
