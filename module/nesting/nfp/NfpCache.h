// The process-wide store of computed no-fit and inner-fit polygons.
#pragma once

#include "nesting/geometry/Polygons.h"

#include <map>
#include <string>
#include <unordered_map>

namespace gantrel {

// Key text to polygon set, ordered, case-sensitive.
using NfpMap = std::map<std::wstring, Polygons>;

// Results by the geometry they were computed from (shapes, rotations, inner flag and the
// settings that matter), so that pieces of one part, which share one shape under different
// names, are computed once.
class SharedNfpResults {
public:
    const Polygons* Find(const std::string& signature) const;
    void Store(const std::string& signature, const Polygons& result);
    void Clear() { m_results.clear(); }
    int Size() const { return static_cast<int>(m_results.size()); }

private:
    std::unordered_map<std::string, Polygons> m_results;
};

// Read and merged only on the thread that runs the nesting search, never during a parallel
// phase. No size limit, no eviction; emptied at the start of every nesting run.
class NfpCache {
public:
    // The one cache of the process.
    static NfpCache& Process();

    bool Contains(const std::wstring& key) const { return m_map.count(key) != 0; }
    // A copy of the stored set, or an empty set when the key is absent.
    Polygons Get(const std::wstring& key) const;
    // The stored set, or null when the key is absent. Stays valid until Clear (a Merge that
    // replaces the key's set changes what it points to, not where).
    const Polygons* Find(const std::wstring& key) const;
    // Inserts every entry, replacing the value of an existing key.
    void Merge(const NfpMap& map);
    // Empties the key map and the shared results.
    void Clear();
    int Size() const { return static_cast<int>(m_map.size()); }
    SharedNfpResults& Shared() { return m_shared; }

private:
    NfpMap m_map;
    SharedNfpResults m_shared;
};

} // namespace gantrel
