#include "nesting/nfp/NfpCache.h"

namespace gantrel {

const Polygons* SharedNfpResults::Find(const std::string& signature) const {
    const auto it = m_results.find(signature);
    return it == m_results.end() ? nullptr : &it->second;
}

void SharedNfpResults::Store(const std::string& signature, const Polygons& result) {
    m_results[signature] = result;
}

NfpCache& NfpCache::Process() {
    static NfpCache cache;
    return cache;
}

Polygons NfpCache::Get(const std::wstring& key) const {
    const auto it = m_map.find(key);
    return it == m_map.end() ? Polygons() : it->second;
}

const Polygons* NfpCache::Find(const std::wstring& key) const {
    const auto it = m_map.find(key);
    return it == m_map.end() ? nullptr : &it->second;
}

void NfpCache::Merge(const NfpMap& map) {
    for (const auto& [key, polygons] : map) {
        m_map[key] = polygons;
    }
}

void NfpCache::Clear() {
    m_map.clear();
    m_shared.Clear();
}

} // namespace gantrel
