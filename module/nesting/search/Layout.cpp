#include "nesting/search/Layout.h"

#include "nesting/geometry/Predicates.h"

#include <algorithm>

namespace gantrel {

void Layout::SwapParts(int i, int j) {
    const int n = m_parts.Size();
    if (i < 0 || i >= n || j < 0 || j >= n) {
        return;
    }
    std::swap(m_parts[i], m_parts[j]);
}

void Layout::SetAngle(int i, double angle) {
    if (i >= 0 && i < m_angles.Size()) {
        m_angles[i] = angle;
    }
}

Layout Layout::Slice(int start, int count) const {
    Layout slice;
    const int n = m_parts.Size();
    const int first = std::clamp(start, 0, n);
    const int last = count == 0 ? n : std::clamp(first + count, first, n);
    for (int i = first; i < last; ++i) {
        slice.Add(m_parts[i], i < m_angles.Size() ? m_angles[i] : 0.0);
    }
    return slice;
}

void Layout::Add(const NestPolygon& part, double angle) {
    m_parts.Add(part);
    m_angles.Add(angle);
}

Polygons Layout::Arrangement() const {
    Polygons parts = m_parts;
    for (int i = 0; i < parts.Size(); ++i) {
        parts[i].SetRotation(i < m_angles.Size() ? m_angles[i] : 0.0);
    }
    return parts;
}

bool operator==(const Layout& a, const Layout& b) {
    if (a.m_parts.Size() != b.m_parts.Size() || a.m_angles.Size() != b.m_angles.Size()) {
        return false;
    }
    for (int i = 0; i < a.m_parts.Size(); ++i) {
        if (Differs(a.m_parts[i], b.m_parts[i])) {
            return false;
        }
    }
    for (int i = 0; i < a.m_angles.Size(); ++i) {
        if (a.m_angles[i] != b.m_angles[i]) {
            return false;
        }
    }
    return true;
}

bool Population::ContainsEqual(const Layout& layout) const {
    return std::any_of(begin(), end(), [&layout](const Layout& l) { return l == layout; });
}

} // namespace gantrel
