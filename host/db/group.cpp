// Groups: ordered lists of object ids kept in the group dictionary under their names.
#include <algorithm>

#include "database_impl.h"

ZCRX_DEFINE_MEMBERS(ZcDbGroup, ZcDbObject, L"GROUP")

ZcDbGroup::ZcDbGroup(const wchar_t* description, bool selectable)
    : m_description(description ? description : L""), m_selectable(selectable) {}

// A copy has the group's description and flags but no members: they are ids of the original's
// drawing, and a copy may go to another.
ZcDbGroup::ZcDbGroup(const ZcDbGroup& other)
    : ZcDbObject(other), m_description(other.m_description), m_selectable(other.m_selectable),
      m_anonymous(other.m_anonymous) {}

ZcDbGroup::~ZcDbGroup() = default;

std::wstring ZcDbGroup::name() const {
    const auto* owner = ZcDbAccess::objectAs<ZcDbDictionary>(ownerId());
    if (!owner || isNewObject())
        return {};
    const ZcDbObjectId self = objectId();
    for (const auto& [key, id] : owner->entries())
        if (id == self)
            return key;
    return {};
}

Zcad::ErrorStatus ZcDbGroup::setDescription(const wchar_t* description) {
    return setField(m_description, description ? description : L"", description != nullptr);
}

Zcad::ErrorStatus ZcDbGroup::setSelectable(bool selectable) {
    return setField(m_selectable, selectable);
}

Zcad::ErrorStatus ZcDbGroup::setAnonymous(bool anonymous) {
    return setField(m_anonymous, anonymous);
}

Zcad::ErrorStatus ZcDbGroup::append(ZcDbObjectId id) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (id.isNull())
        return Zcad::eNullObjectId;
    if (id.isErased())
        return Zcad::eWasErased;
    if (database() && id.database() != database())
        return Zcad::eInvalidInput;
    if (id == objectId())
        return Zcad::eSelfReference;
    if (std::find(m_members.begin(), m_members.end(), id) != m_members.end())
        return Zcad::eDuplicateKey;
    m_members.push_back(id);
    return Zcad::eOk;
}

Zcad::ErrorStatus ZcDbGroup::remove(ZcDbObjectId id) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    const auto it = std::find(m_members.begin(), m_members.end(), id);
    if (it == m_members.end() || id.isErased())
        return Zcad::eKeyNotFound;
    m_members.erase(it);
    return Zcad::eOk;
}

bool ZcDbGroup::has(ZcDbObjectId id) const {
    return !id.isNull() && !id.isErased() &&
           std::find(m_members.begin(), m_members.end(), id) != m_members.end();
}

std::uint32_t ZcDbGroup::numEntities() const {
    return static_cast<std::uint32_t>(std::count_if(
        m_members.begin(), m_members.end(), [](const ZcDbObjectId& id) { return !id.isErased(); }));
}

std::vector<ZcDbObjectId> ZcDbGroup::allEntityIds() const {
    std::vector<ZcDbObjectId> live;
    live.reserve(m_members.size());
    for (const ZcDbObjectId& id : m_members)
        if (!id.isErased())
            live.push_back(id);
    return live;
}
