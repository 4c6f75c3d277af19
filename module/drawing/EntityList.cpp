#include "drawing/EntityList.h"

#include "drawing/Entity.h"
#include "frame/Printer.h"

namespace gantrel {

int EraseAll(const std::vector<ZcDbObjectId>& ids) {
    for (const ZcDbObjectId& id : ids) {
        Entity entity(id);
        if (const int es = entity.Erase(); es != HandleStatus::kOk) {
            PrintOnCommandLine(L"Entities::Erase", true);
            PrintErrorStatus(es);
            PrintOnCommandLine(entity.HandleString(), true);
        }
    }
    return 0;
}

void SetColorOfAll(const std::vector<ZcDbObjectId>& ids, int color) {
    for (const ZcDbObjectId& id : ids) {
        Entity(id).SetColorIndex(color);
    }
}

int Find(const std::vector<ZcDbObjectId>& ids, ZcDbObjectId id, int start) {
    if (start < 0) {
        return -1;
    }
    for (std::size_t i = static_cast<std::size_t>(start); i < ids.size(); ++i) {
        if (ids[i] == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace gantrel
