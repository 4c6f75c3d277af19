#include "nesting/run/NestObservers.h"

#include "drawing/ObjectId.h"

namespace gantrel {

namespace {

std::vector<ZcDbObjectId> IdsFromNames(const Polygons& parts) {
    std::vector<ZcDbObjectId> ids;
    ids.reserve(static_cast<std::size_t>(parts.Size()));
    for (const NestPolygon& part : parts) {
        ids.push_back(ObjectId(part.Name().c_str()).Id());
    }
    return ids;
}

} // namespace

Nest_Observer::Nest_Observer(ZcDbObjectId reference, const Polygons& parts)
    : Nest_Observer(reference, IdsFromNames(parts)) {}

Nest_Observer::Nest_Observer(ZcDbObjectId reference, std::vector<ZcDbObjectId> partIds)
    : m_reference(reference), m_partIds(std::move(partIds)) {}

} // namespace gantrel
