// The session's selection state: selection sets, selection lines and the last entity.
#include <algorithm>

#include "answers.h"
#include "database_impl.h"
#include "picking.h"
#include "session.h"
#include "winhost.h"

namespace gantrel::editor {

std::int64_t HostSession::addSelectionSet(std::vector<SelectedEntity> entries) {
    std::int64_t number = m_nextSet++;
    m_sets[number] = std::move(entries);
    return number;
}

std::vector<SelectedEntity>* HostSession::selectionSet(const std::int64_t name[2]) {
    if (!name || name[1] != kSelectionSetTag)
        return nullptr;
    auto it = m_sets.find(name[0]);
    return it == m_sets.end() ? nullptr : &it->second;
}

bool HostSession::freeSelectionSet(const std::int64_t name[2]) {
    if (!selectionSet(name))
        return false;
    m_sets.erase(name[0]);
    return true;
}

double HostSession::pickAperture() const {
    return m_variables.real(L"PICKBOX", m_database.get());
}

ZcDbObjectId HostSession::lastEntity() const {
    auto* space = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(m_database->currentSpaceId());
    if (!space)
        return {};
    std::vector<ZcDbObjectId> ids = space->entityIds();
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        if (!it->isErased())
            return *it;
    return {};
}

namespace {

// Whether the object is an entity drawn in a space (model or a layout), not inside a block.
std::string checkSelectable(ZcDbObjectId id, const std::string& token) {
    auto* entity = ZcDbAccess::objectAs<ZcDbEntity>(id);
    if (!entity)
        return token + " is not an entity";
    if (id.isErased())
        return token + " was erased";
    auto* owner = ZcDbAccess::objectAs<ZcDbBlockTableRecord>(entity->ownerId());
    if (!owner || !owner->isLayout())
        return token + " does not lie in model or paper space";
    return {};
}

} // namespace

std::string HostSession::resolveSelection(const std::string& line,
                                          std::vector<SelectedEntity>& out) {
    ParsedSelection parsed = parseSelection(line);
    if (!parsed.error.empty())
        return parsed.error;
    ZcDbObjectId space = m_database->currentSpaceId();
    std::vector<SelectedEntity> chosen;
    auto add = [&](ZcDbObjectId id, int method, std::optional<ZcGePoint3d> pick) {
        if (std::none_of(chosen.begin(), chosen.end(),
                         [&](const SelectedEntity& e) { return e.id == id; }))
            chosen.push_back({id, method, pick});
    };
    for (const SelectionItem& item : parsed.items) {
        switch (item.kind) {
        case SelectionItem::Handle: {
            ZcDbObjectId id;
            std::string token = "#" + item.handle;
            if (m_database->getZcDbObjectId(
                    id, false, ZcDbHandle(win::Widen(item.handle).c_str())) != Zcad::eOk)
                return "no object has the handle " + item.handle;
            if (std::string why = checkSelectable(id, token); !why.empty())
                return why;
            add(id, 0, std::nullopt);
            break;
        }
        case SelectionItem::All:
            for (ZcDbObjectId id : ZcDbAccess::objectAs<ZcDbBlockTableRecord>(space)->entityIds())
                if (!id.isErased())
                    add(id, 0, std::nullopt);
            break;
        case SelectionItem::Last:
            if (ZcDbObjectId id = lastEntity(); !id.isNull())
                add(id, 0, std::nullopt);
            break;
        case SelectionItem::Window:
        case SelectionItem::Crossing: {
            bool crossing = item.kind == SelectionItem::Crossing;
            for (ZcDbObjectId id : selectInRectangle(space, item.first, item.second, crossing))
                add(id, crossing ? 3 : 2, std::nullopt);
            break;
        }
        case SelectionItem::Pick:
            if (auto hit = pickEntity(space, item.first, pickAperture()))
                add(hit->id, 1, item.first);
            break;
        }
    }
    out = std::move(chosen);
    return {};
}

} // namespace gantrel::editor
