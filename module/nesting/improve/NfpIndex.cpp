#include "nesting/improve/NfpIndex.h"

namespace gantrel {

int NfpIndex::Find(const NestPolygon& part) const {
    const auto it = m_handles.find(part.Name());
    if (it != m_handles.end()) {
        for (const auto& [rotation, handle] : it->second) {
            if (rotation == part.Rotation()) {
                return handle;
            }
        }
    }
    return -1;
}

int NfpIndex::Handle(const NestPolygon& part) {
    const int found = Find(part);
    if (found >= 0) {
        return found;
    }
    m_handles[part.Name()].emplace_back(part.Rotation(), m_count);
    return m_count++;
}

bool NfpIndex::Remember(int fixed, int moving, const std::wstring& key) {
    const Polygons* set = m_cache.Find(key);
    if (set == nullptr) {
        return false;
    }
    m_sets[Slot(fixed, moving)] = set;
    return true;
}

} // namespace gantrel
