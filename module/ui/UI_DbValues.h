// Values over drawing objects for dialogs and commands: one object, a collection of objects,
// a named dictionary and a named group. Each opens an object only for the duration of one operation
// (or between an explicit Open and Close).
#pragma once

#include "afx_string.h"
#include "zcdb.h"
#include "zcdbents.h"

#include <vector>

namespace gantrel {

class UI_Entity {
public:
    explicit UI_Entity(ZcDbObjectId id = ZcDbObjectId()) : m_id(id) {}
    UI_Entity(const UI_Entity& other) : m_id(other.m_id) {}
    UI_Entity& operator=(const UI_Entity& other);
    virtual ~UI_Entity();

    ZcDbObjectId Id() const { return m_id; }
    // Opens the object until Close; the host's status (eOk on success).
    Zcad::ErrorStatus Open(ZcDb::OpenMode mode);
    ZcDbObject* Object() const { return m_object; }
    void Close();
    // Erases the object, opening it for write when it is not open so already.
    Zcad::ErrorStatus Erase();
    Zcad::ErrorStatus Highlight();
    Zcad::ErrorStatus Unhighlight();
    // The owner's identifier; null when the object cannot be opened.
    ZcDbObjectId OwnerId() const;

private:
    ZcDbObjectId m_id;
    ZcDbObject* m_object = nullptr;
    bool m_opened = false; // opened here (by Open), to be closed here
};

// A list of object identifiers.
class UI_Kolekcja {
public:
    virtual ~UI_Kolekcja() = default;

    void Add(ZcDbObjectId id) { m_ids.push_back(id); }
    int Size() const { return static_cast<int>(m_ids.size()); }
    ZcDbObjectId At(int index) const { return m_ids.at(static_cast<size_t>(index)); }
    void Clear() { m_ids.clear(); }
    const std::vector<ZcDbObjectId>& Ids() const { return m_ids; }

    // Erases every member (each opened for write, erased, closed); members that cannot be
    // opened are skipped. The number erased.
    int EraseAll() const;
    // Highlights or unhighlights every entity member; the number changed.
    int HighlightAll(bool highlight) const;

private:
    std::vector<ZcDbObjectId> m_ids;
};

// The dictionary of a name in the drawing's named-objects dictionary, created there empty the
// first time it is asked for.
class UI_Dictionary {
public:
    // `database` null: the drawing commands work on.
    explicit UI_Dictionary(const CString& name, ZcDbDatabase* database = nullptr);
    virtual ~UI_Dictionary() = default;

    const CString& Name() const { return m_name; }
    // The dictionary's identifier (null, with the status in `status`, when it can be neither
    // found nor made).
    ZcDbObjectId Id();
    Zcad::ErrorStatus LastStatus() const { return m_status; }

private:
    CString m_name;
    ZcDbDatabase* m_database;
    ZcDbObjectId m_id;
    Zcad::ErrorStatus m_status = Zcad::eOk;
};

// The group of a name in the drawing's group dictionary, made there (empty, selectable) the
// first time it is needed; identifiers are appended to it.
class UI_Group {
public:
    // `database` null: the drawing commands work on.
    explicit UI_Group(const CString& name, ZcDbDatabase* database = nullptr);
    virtual ~UI_Group() = default;

    const CString& Name() const { return m_name; }
    // The group's identifier (null, with the status in LastStatus, when it can be neither
    // found nor made, or the name is taken by an object that is not a group).
    ZcDbObjectId Id();
    // Appends an object to the group; the host's status. The null identifier is refused
    // (eNullObjectId) without making the group.
    Zcad::ErrorStatus Append(ZcDbObjectId id);
    // The members that are not erased, in the order they were appended.
    std::vector<ZcDbObjectId> Ids();
    int Count() { return static_cast<int>(Ids().size()); }
    Zcad::ErrorStatus LastStatus() const { return m_status; }

private:
    CString m_name;
    ZcDbDatabase* m_database;
    ZcDbObjectId m_id;
    Zcad::ErrorStatus m_status = Zcad::eOk;
};

} // namespace gantrel
