// The table of objects by handle against a std::unordered_map under random insertions, lookups
// and removals: runs of consecutive handles, handles that share their low bits, and removals
// from the middle of runs that wrap around the end of the table.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <unordered_map>
#include <vector>

#include "handle_table.h"

using gantrel::db::HandleTable;

namespace {

// Distinct fake stubs: the table stores the pointers and never follows them.
ZcDbStub* stubFor(std::uint64_t handle) {
    return reinterpret_cast<ZcDbStub*>(static_cast<std::uintptr_t>(handle * 16));
}

void expectSame(const HandleTable& table, const std::unordered_map<std::uint64_t, ZcDbStub*>& want,
                const std::vector<std::uint64_t>& probes) {
    ASSERT_EQ(table.size(), want.size());
    for (std::uint64_t h : probes) {
        const auto it = want.find(h);
        EXPECT_EQ(table.find(h), it == want.end() ? nullptr : it->second) << "handle " << h;
    }
}

} // namespace

TEST(HandleTable, AgreesWithAMapUnderInsertionsAndRemovals) {
    std::mt19937_64 rng(11);
    // Consecutive handles as files number them, handles 2^20 apart (the same low bits), and
    // handles anywhere.
    std::vector<std::uint64_t> handles;
    for (std::uint64_t h = 1; h <= 3000; ++h)
        handles.push_back(h);
    for (std::uint64_t k = 1; k <= 500; ++k)
        handles.push_back(k << 20 | 7);
    for (int i = 0; i < 2000; ++i)
        handles.push_back(rng() | 1);

    HandleTable table;
    std::unordered_map<std::uint64_t, ZcDbStub*> want;
    EXPECT_EQ(table.find(1), nullptr);
    for (int round = 0; round < 4; ++round) {
        std::shuffle(handles.begin(), handles.end(), rng);
        for (std::uint64_t h : handles) {
            const bool fresh = !want.count(h);
            const auto [slot, inserted] = table.insert(h);
            ASSERT_EQ(inserted, fresh);
            if (inserted) {
                *slot = stubFor(h);
                want[h] = stubFor(h);
            } else {
                EXPECT_EQ(*slot, stubFor(h)); // the slot of the handle already there
            }
        }
        expectSame(table, want, handles);
        // Remove about half, some twice, and handles never added.
        for (std::size_t i = 0; i < handles.size(); i += 2) {
            table.erase(handles[i]);
            table.erase(handles[i]);
            want.erase(handles[i]);
        }
        table.erase(2);
        table.erase(0xFFFFFFFFFFFFFFFFull);
        want.erase(2);
        expectSame(table, want, handles);
    }
}

TEST(HandleTable, ReservedRoomKeepsSlotsWhereTheyAre) {
    HandleTable table;
    table.reserve(1000);
    const auto [first, inserted] = table.insert(5);
    ASSERT_TRUE(inserted);
    *first = stubFor(5);
    for (std::uint64_t h = 6; h < 1000; ++h)
        *table.insert(h).first = stubFor(h);
    // No growth: the first slot is where it was and still holds its object.
    EXPECT_EQ(*first, stubFor(5));
    EXPECT_EQ(table.find(5), stubFor(5));
    EXPECT_EQ(table.size(), 995u);
}
