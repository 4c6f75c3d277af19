#include "nesting/geometry/BoundingBox.h"

#include <algorithm>

namespace gantrel {

void BoundingBox::Add(const GePoint& p) {
    if (!m_set) {
        m_set = true;
        m_min = GePoint(p.x, p.y);
        m_max = GePoint(p.x, p.y);
        return;
    }
    m_min.x = std::min(m_min.x, p.x);
    m_min.y = std::min(m_min.y, p.y);
    m_max.x = std::max(m_max.x, p.x);
    m_max.y = std::max(m_max.y, p.y);
}

bool BoundingBox::Contains(const GePoint& p) const {
    constexpr double kSlack = 1e-6;
    return m_min.x <= p.x + kSlack && m_min.y <= p.y + kSlack && p.x - kSlack <= m_max.x &&
           p.y - kSlack <= m_max.y;
}

void BoundingBox::Inflate(double d) {
    m_min.x -= d;
    m_min.y -= d;
    m_max.x += d;
    m_max.y += d;
}

} // namespace gantrel
