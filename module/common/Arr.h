// The module's growable value array; every list type of the module is an instance of it.
#pragma once

#include "common/Random.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace gantrel {

// A value array with virtual operations, so that list types deriving from it (points, polygons,
// layouts) can add their own. Indices are 32-bit ints; accessing outside [0, Size()) is a
// precondition violation.
template <typename T> class Arr {
public:
    using value_type = T;
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    Arr() = default;
    Arr(std::initializer_list<T> items) : m_items(items) {}
    Arr(const Arr&) = default;
    Arr(Arr&&) noexcept = default;
    Arr& operator=(const Arr&) = default;
    Arr& operator=(Arr&&) noexcept = default;
    virtual ~Arr() = default;

    virtual int Size() const { return static_cast<int>(m_items.size()); }

    // Appends every element of other (other may be this array).
    virtual void AddAll(const Arr<T>& other) {
        if (&other == this) {
            const std::vector<T> copy = m_items;
            m_items.insert(m_items.end(), copy.begin(), copy.end());
            return;
        }
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
    }

    // Appends count elements of a plain array.
    virtual void AddAll(const T* items, int count) {
        if (items == nullptr || count <= 0) {
            return;
        }
        m_items.insert(m_items.end(), items, items + count);
    }

    virtual void Add(const T& item) { m_items.push_back(item); }

    // Inserts before index; index Size() appends.
    virtual void Insert(int index, const T& item) { m_items.insert(m_items.begin() + index, item); }

    virtual void RemoveLast() {
        if (!m_items.empty()) {
            m_items.pop_back();
        }
    }

    // Walks i from Size()-1 down to 1 and swaps element i with element rand() % Size(). The
    // modulus is the full size (not i+1): arrangements reproduced from a seed depend on it.
    virtual void Shuffle() {
        const int n = Size();
        for (int i = n - 1; i >= 1; --i) {
            const int j = rand() % n;
            std::swap(m_items[static_cast<std::size_t>(i)], m_items[static_cast<std::size_t>(j)]);
        }
    }

    T& operator[](int i) { return m_items[static_cast<std::size_t>(i)]; }
    const T& operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
    T& Last() { return m_items.back(); }
    const T& Last() const { return m_items.back(); }
    bool IsEmpty() const { return m_items.empty(); }
    void Clear() { m_items.clear(); }
    void Reserve(int n) { m_items.reserve(static_cast<std::size_t>(n > 0 ? n : 0)); }
    void RemoveAt(int index) { m_items.erase(m_items.begin() + index); }

    iterator begin() { return m_items.begin(); }
    iterator end() { return m_items.end(); }
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }

protected:
    std::vector<T>& Items() { return m_items; }
    const std::vector<T>& Items() const { return m_items; }

private:
    std::vector<T> m_items;
};

} // namespace gantrel
