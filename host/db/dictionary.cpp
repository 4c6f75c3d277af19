// Dictionaries: named entries owned by the dictionary, in the order they were added.
#include <algorithm>
#include <cwctype>

#include "database_impl.h"

ZCRX_DEFINE_MEMBERS(ZcDbDictionary, ZcDbObject, L"DICTIONARY")

namespace {

bool equalNoCase(const std::wstring& a, const wchar_t* b) {
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (std::towupper(a[i]) != std::towupper(b[i]))
            return false;
    return i == a.size() && b[i] == 0;
}

} // namespace

// A copy has the dictionary's data but no entries: entries belong to one dictionary only.
ZcDbDictionary::ZcDbDictionary(const ZcDbDictionary& other) : ZcDbObject(other) {}

ZcDbDictionary::~ZcDbDictionary() = default;

bool ZcDbDictionary::has(const wchar_t* key) const {
    ZcDbObjectId id;
    return getAt(key, id) == Zcad::eOk;
}

Zcad::ErrorStatus ZcDbDictionary::getAt(const wchar_t* key, ZcDbObjectId& id) const {
    id = ZcDbObjectId::kNull;
    if (!key)
        return Zcad::eInvalidInput;
    for (const auto& [name, entry] : m_entries)
        if (!entry.isErased() && equalNoCase(name, key)) {
            id = entry;
            return Zcad::eOk;
        }
    return Zcad::eKeyNotFound;
}

Zcad::ErrorStatus ZcDbDictionary::getAt(const wchar_t* key, ZcDbObject*& obj,
                                        ZcDb::OpenMode mode) const {
    obj = nullptr;
    ZcDbObjectId id;
    if (auto es = getAt(key, id); es != Zcad::eOk)
        return es;
    return zcdbOpenObject(obj, id, mode);
}

Zcad::ErrorStatus ZcDbDictionary::setAt(const wchar_t* key, ZcDbObject* obj, ZcDbObjectId& id) {
    id = ZcDbObjectId::kNull;
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!key || !*key)
        return Zcad::eInvalidInput;
    if (!obj)
        return Zcad::eNullObjectPointer;
    if (has(key))
        return Zcad::eDuplicateKey;
    ZcDbDatabase* db = database();
    if (!db)
        return Zcad::eNotInDatabase;
    if (!obj->isNewObject())
        return Zcad::eAlreadyInDb;
    id = ZcDbAccess::addObject(*db, obj);
    ZcDbAccess::setOwner(obj, objectId());
    m_entries.emplace_back(key, id);
    ZcDbObject* opened = nullptr;
    return zcdbOpenObject(opened, id, ZcDb::kForWrite);
}

Zcad::ErrorStatus ZcDbDictionary::remove(const wchar_t* key) {
    if (auto es = assertWriteEnabled(); es != Zcad::eOk)
        return es;
    if (!key)
        return Zcad::eInvalidInput;
    auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const auto& e) {
        return !e.second.isErased() && equalNoCase(e.first, key);
    });
    if (it == m_entries.end())
        return Zcad::eKeyNotFound;
    m_entries.erase(it);
    return Zcad::eOk;
}

std::uint32_t ZcDbDictionary::numEntries() const {
    return static_cast<std::uint32_t>(entries().size());
}

ZcDbDictionaryIterator* ZcDbDictionary::newIterator() const {
    std::vector<ZcDbObjectId> ids;
    for (const auto& e : entries())
        ids.push_back(e.second);
    return new ZcDbObjectIterator(std::move(ids));
}

std::vector<std::pair<std::wstring, ZcDbObjectId>> ZcDbDictionary::entries() const {
    std::vector<std::pair<std::wstring, ZcDbObjectId>> out;
    for (const auto& e : m_entries)
        if (!e.second.isErased())
            out.push_back(e);
    return out;
}

void ZcDbDictionary::subErase(bool erasing) {
    for (const auto& entry : m_entries) {
        ZcDbObject* member = nullptr;
        if (zcdbOpenObject(member, entry.second, ZcDb::kForWrite, true) != Zcad::eOk)
            continue;
        member->erase(erasing);
        member->close();
    }
}
