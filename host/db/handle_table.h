// The objects of a database by handle: an open-addressing table (linear probing, a power-of-two
// number of slots at most half full), with no allocation per object. Handles are never 0.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

struct ZcDbStub;

namespace gantrel::db {

class HandleTable {
public:
    // The object of a handle; null where there is none.
    ZcDbStub* find(std::uint64_t handle) const {
        if (m_count == 0)
            return nullptr;
        for (std::size_t i = home(handle);; i = (i + 1) & mask()) {
            if (m_slots[i].handle == handle)
                return m_slots[i].stub;
            if (m_slots[i].handle == 0)
                return nullptr;
        }
    }
    bool contains(std::uint64_t handle) const { return find(handle) != nullptr; }

    // The slot of a new handle (true), or of the handle already there (false). The slot stays
    // valid until the next insertion.
    std::pair<ZcDbStub**, bool> insert(std::uint64_t handle) {
        if (2 * (m_count + 1) > m_slots.size())
            grow(2 * (m_count + 1));
        std::size_t i = home(handle);
        for (; m_slots[i].handle != 0; i = (i + 1) & mask()) {
            if (m_slots[i].handle == handle)
                return {&m_slots[i].stub, false};
        }
        m_slots[i].handle = handle;
        m_slots[i].stub = nullptr;
        ++m_count;
        return {&m_slots[i].stub, true};
    }

    void erase(std::uint64_t handle) {
        if (m_count == 0)
            return;
        std::size_t i = home(handle);
        for (; m_slots[i].handle != handle; i = (i + 1) & mask()) {
            if (m_slots[i].handle == 0)
                return;
        }
        // Later entries of the same run move back into the gap wherever their home slot is not
        // between the gap and them, so that every entry stays reachable from its home slot.
        for (std::size_t j = (i + 1) & mask(); m_slots[j].handle != 0; j = (j + 1) & mask()) {
            const std::size_t h = home(m_slots[j].handle);
            const bool stays = i <= j ? (i < h && h <= j) : (i < h || h <= j);
            if (!stays) {
                m_slots[i] = m_slots[j];
                i = j;
            }
        }
        m_slots[i] = Slot{};
        --m_count;
    }

    // Room for this many handles without growing.
    void reserve(std::size_t count) {
        if (2 * count > m_slots.size())
            grow(2 * count);
    }
    std::size_t size() const { return m_count; }

private:
    struct Slot {
        std::uint64_t handle = 0;
        ZcDbStub* stub = nullptr;
    };

    std::size_t mask() const { return m_slots.size() - 1; }
    // Handles are mostly consecutive numbers, read and looked up in about their order: they
    // keep their order in the table (which keeps lookups in the processor's cache), with the
    // high bits folded in so that handles far apart do not share their low bits' slots.
    std::size_t home(std::uint64_t handle) const {
        return static_cast<std::size_t>(handle ^ (handle >> 20) ^ (handle >> 40)) & mask();
    }

    void grow(std::size_t atLeast) {
        std::size_t size = 16;
        while (size < atLeast)
            size *= 2;
        std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(size));
        for (const Slot& s : old) {
            if (s.handle == 0)
                continue;
            std::size_t i = home(s.handle);
            while (m_slots[i].handle != 0)
                i = (i + 1) & mask();
            m_slots[i] = s;
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
};

} // namespace gantrel::db
