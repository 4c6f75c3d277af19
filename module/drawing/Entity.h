// Handles over host entities. A handle holds only the object id: every operation opens the
// object, makes one host call, closes it again and returns (and keeps) the status.
#pragma once

#include "drawing/HostStatus.h"
#include "drawing/ObjectId.h"
#include "zcdball.h"

namespace gantrel {

class Entity : public ObjectId {
public:
    using ObjectId::ObjectId;
    Entity(const Entity& other) : ObjectId(other) {}
    Entity& operator=(const Entity& other) {
        Close();
        ObjectId::operator=(other);
        return *this;
    }
    ~Entity() override { Close(); }

    // 374 for a null id, 80 for an erased object, 20 when it cannot be opened, else 0 with the
    // object open in the given mode (0 read, 1 write).
    virtual int Open(ZcDb::OpenMode mode);
    // Closes the object if one is open.
    void Close();
    bool IsOpen() const { return m_object != nullptr; }

    int Erase();
    int GetGeomExtents(ZcDbExtents& extents);
    // Flag 1 highlights, any other value removes the highlight.
    int Highlight(int flag);
    // Applied to sub-entities too.
    int SetColorIndex(int color);
    // Applied to sub-entities too; a hidden layer is refused.
    int SetLayer(const wchar_t* layer);
    int TransformBy(const ZcGeMatrix3d& transform);

    // Class tests: each opens the object for read, tests and closes it; false for a null id and
    // for an object that cannot be opened.
    bool IsBlockReference() const;
    bool IsCircle() const;
    bool IsAlignedDimension() const;
    bool IsCurve() const;
    bool IsRegion() const;
    bool IsHatch() const;
    bool IsLine() const;
    bool IsText() const;
    bool IsMText() const;
    bool IsPoint() const;
    bool IsPolyline() const;
    bool IsSpline() const;
    bool Is2dPolyline() const;
    bool IsArc() const;
    // Whether the object is of the class or derived from it.
    bool IsOfClass(const ZcRxClass* cls) const;

protected:
    // Opens the object and checks its class: 374 null id, 20 cannot be opened, 21 another
    // class (closed again; with resetIdOnWrongClass the handle's id becomes null), 20077 not an
    // entity.
    int OpenChecked(ZcDb::OpenMode mode, const ZcRxClass* cls, bool resetIdOnWrongClass = false);
    // Closes the object and records status as the handle's last status.
    int Done(int status) {
        Close();
        return SetStatus(status);
    }

    ZcDbObject* m_object = nullptr;
    ZcDbEntity* m_entity = nullptr;
};

// Handles whose open checks one host class.
#define GANTREL_CHECKED_ENTITY(NAME, BASE, HOSTCLASS)                                              \
    class NAME : public BASE {                                                                     \
    public:                                                                                        \
        using BASE::BASE;                                                                          \
        int Open(ZcDb::OpenMode mode) override { return OpenChecked(mode, HOSTCLASS::desc()); }    \
                                                                                                   \
    protected:                                                                                     \
        HOSTCLASS* Host() const { return HOSTCLASS::cast(m_object); }                              \
    };

class ZWLine : public Entity {
public:
    using Entity::Entity;
    int Open(ZcDb::OpenMode mode) override { return OpenChecked(mode, ZcDbLine::desc()); }
    int StartPoint(ZcGePoint3d& point);
    int EndPoint(ZcGePoint3d& point);
};

GANTREL_CHECKED_ENTITY(ZWCircle, Entity, ZcDbCircle)
GANTREL_CHECKED_ENTITY(ZWText, Entity, ZcDbText)
GANTREL_CHECKED_ENTITY(ZWMText, Entity, ZcDbMText)
GANTREL_CHECKED_ENTITY(ZWPoint, Entity, ZcDbPoint)
GANTREL_CHECKED_ENTITY(AlignedDimension, Entity, ZcDbAlignedDimension)

class ZWHatch : public Entity {
public:
    using Entity::Entity;
    int Open(ZcDb::OpenMode mode) override { return OpenChecked(mode, ZcDbHatch::desc()); }
    int Area(double& area);
};

class ZWRegion : public Entity {
public:
    using Entity::Entity;
    int Open(ZcDb::OpenMode mode) override { return OpenChecked(mode, ZcDbRegion::desc()); }
    int Area(double& area);
};

} // namespace gantrel
