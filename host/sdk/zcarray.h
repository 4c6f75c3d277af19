// The host interface's growable array, with the host family's operation names.
#pragma once

#include <algorithm>
#include <vector>

template <typename T> class ZcArray {
public:
    ZcArray() = default;
    explicit ZcArray(int reserve) { m_items.reserve(reserve > 0 ? reserve : 0); }

    int length() const { return static_cast<int>(m_items.size()); }
    int logicalLength() const { return length(); }
    bool isEmpty() const { return m_items.empty(); }
    int append(const T& value) {
        m_items.push_back(value);
        return length() - 1;
    }
    ZcArray& append(const ZcArray& other) {
        m_items.insert(m_items.end(), other.m_items.begin(), other.m_items.end());
        return *this;
    }
    ZcArray& insertAt(int index, const T& value) {
        m_items.insert(m_items.begin() + index, value);
        return *this;
    }
    ZcArray& removeAt(int index) {
        m_items.erase(m_items.begin() + index);
        return *this;
    }
    ZcArray& removeLast() {
        m_items.pop_back();
        return *this;
    }
    ZcArray& removeAll() {
        m_items.clear();
        return *this;
    }
    ZcArray& setLogicalLength(int n) {
        m_items.resize(n);
        return *this;
    }
    bool contains(const T& value) const { return find(value) >= 0; }
    int find(const T& value) const {
        auto it = std::find(m_items.begin(), m_items.end(), value);
        return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
    }
    T& at(int i) { return m_items.at(i); }
    const T& at(int i) const { return m_items.at(i); }
    T& operator[](int i) { return m_items[i]; }
    const T& operator[](int i) const { return m_items[i]; }
    T& first() { return m_items.front(); }
    T& last() { return m_items.back(); }
    const T& first() const { return m_items.front(); }
    const T& last() const { return m_items.back(); }
    T* asArrayPtr() { return m_items.data(); }
    const T* asArrayPtr() const { return m_items.data(); }

    auto begin() { return m_items.begin(); }
    auto end() { return m_items.end(); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }
    bool operator==(const ZcArray&) const = default;

private:
    std::vector<T> m_items;
};

class ZcGePoint2d;
class ZcGePoint3d;
class ZcDbObjectId;
using ZcGeDoubleArray = ZcArray<double>;
using ZcGeIntArray = ZcArray<int>;
using ZcGePoint2dArray = ZcArray<ZcGePoint2d>;
using ZcGePoint3dArray = ZcArray<ZcGePoint3d>;
using ZcDbObjectIdArray = ZcArray<ZcDbObjectId>;
using ZcDbVoidPtrArray = ZcArray<void*>;
