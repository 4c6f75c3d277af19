// The no-fit-polygon cache seen through small integer handles, for placing many candidates.
#pragma once

#include "nesting/nfp/NfpCache.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace gantrel {

// A candidate of the improving search looks up the no-fit polygon of every placed part against
// every part it places, and the cache is keyed by text: forming and comparing those keys cost a
// sizeable share of a placement. Here each shape (a part's name at one rotation) gets a handle
// once, and a pair of handles leads straight to the cache's stored set.
//
// Written (Handle, Remember) only on the thread that owns the cache, while nothing reads it;
// read by any number of placers at once otherwise. Valid until the cache is cleared.
class NfpIndex {
public:
    NfpIndex(NfpCache& cache, const NestPolygon& sheet) : m_cache(cache), m_sheet(sheet) {}

    NfpCache& Cache() { return m_cache; }
    const NfpCache& Cache() const { return m_cache; }
    const NestPolygon& Sheet() const { return m_sheet; }

    // The handle of part at its rotation, given out when first asked for.
    int Handle(const NestPolygon& part);
    // The handle of part, or -1 when it has none.
    int Find(const NestPolygon& part) const;

    // The stored inner-fit set of a part, and the no-fit set of moving around fixed; null when
    // no set was remembered for the handles.
    const Polygons* InnerFit(int part) const { return Get(Slot(-1, part)); }
    const Polygons* NoFit(int fixed, int moving) const { return Get(Slot(fixed, moving)); }
    // Remembers the cache's set for the pair (fixed -1: the inner-fit set of moving), looking it
    // up by key text; false when the cache has none.
    bool Remember(int fixed, int moving, const std::wstring& key);

private:
    static std::uint64_t Slot(int fixed, int moving) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(fixed + 1)) << 32) |
               static_cast<std::uint32_t>(moving);
    }
    const Polygons* Get(std::uint64_t slot) const {
        const auto it = m_sets.find(slot);
        return it == m_sets.end() ? nullptr : it->second;
    }

    NfpCache& m_cache;
    NestPolygon m_sheet;
    // Per part name: its rotations and their handles.
    std::unordered_map<std::wstring, std::vector<std::pair<double, int>>> m_handles;
    int m_count = 0;
    std::unordered_map<std::uint64_t, const Polygons*> m_sets;
};

} // namespace gantrel
