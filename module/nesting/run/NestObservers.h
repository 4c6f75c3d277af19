// Observers of a nesting run: they receive the results of the run besides its notifications.
#pragma once

#include "drawing/Observer.h"
#include "nesting/geometry/Polygons.h"
#include "nesting/place/Result.h"

#include "zcdb.h"

#include <vector>

namespace gantrel {

// An observer that is also told the results: after every evaluated arrangement and, at the end,
// the best one. The notifications of Observer do nothing here.
class Nest_Observer : public Observer {
public:
    // reference: the working database for most observers, the sheet's source object for those
    // that measure against it. The part ids are found from the part names, which are the handles
    // of the pieces' working copies, one per part in part order (a null id where a handle names
    // no object).
    Nest_Observer(ZcDbObjectId reference, const Polygons& parts);
    // The same with the part ids given.
    Nest_Observer(ZcDbObjectId reference, std::vector<ZcDbObjectId> partIds);

    int Update() override { return 0; }

    // Keeps a copy of the result.
    virtual void SetResult(const Result& result) { m_result = result; }
    // The number of arrangements the run will evaluate.
    virtual void SetTotal(int total) { static_cast<void>(total); }

    ZcDbObjectId Reference() const { return m_reference; }
    const std::vector<ZcDbObjectId>& PartIds() const { return m_partIds; }
    // The latest result; the empty result (rating -1) until one arrives.
    const Result& LatestResult() const { return m_result; }

protected:
    ZcDbObjectId m_reference;
    std::vector<ZcDbObjectId> m_partIds;
    Result m_result;
};

// A result observer that also receives the prepared part list at the end of the run.
class Polygons_Observer : public Nest_Observer {
public:
    using Nest_Observer::Nest_Observer;

    virtual void SetParts(const Polygons& parts) = 0;
};

} // namespace gantrel
