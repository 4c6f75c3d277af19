#include "drawing/Entity.h"

namespace gantrel {

int Entity::Open(ZcDb::OpenMode mode) {
    Close();
    if (const int valid = IsValid(); valid != HandleStatus::kOk) {
        return SetStatus(valid);
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, mode) != Zcad::eOk) {
        return SetStatus(HandleStatus::kNotOpened);
    }
    m_entity = ZcDbEntity::cast(object);
    if (m_entity == nullptr) {
        object->close();
        return SetStatus(HandleStatus::kCannotCast);
    }
    m_object = object;
    return SetStatus(HandleStatus::kOk);
}

int Entity::OpenChecked(ZcDb::OpenMode mode, const ZcRxClass* cls, bool resetIdOnWrongClass) {
    Close();
    if (m_id.isNull()) {
        return SetStatus(HandleStatus::kInvalidId);
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, mode) != Zcad::eOk) {
        return SetStatus(HandleStatus::kNotOpened);
    }
    if (!object->isKindOf(cls)) {
        object->close();
        if (resetIdOnWrongClass) {
            m_id = ZcDbObjectId::kNull;
        }
        return SetStatus(HandleStatus::kWrongClass);
    }
    m_entity = ZcDbEntity::cast(object);
    if (m_entity == nullptr) {
        object->close();
        return SetStatus(HandleStatus::kCannotCast);
    }
    m_object = object;
    return SetStatus(HandleStatus::kOk);
}

void Entity::Close() {
    if (m_object != nullptr) {
        m_object->close();
    }
    m_object = nullptr;
    m_entity = nullptr;
}

int Entity::Erase() {
    if (const int es = Open(ZcDb::kForWrite); es != HandleStatus::kOk) {
        return es;
    }
    return Done(m_entity->erase());
}

int Entity::GetGeomExtents(ZcDbExtents& extents) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    return Done(m_entity->getGeomExtents(extents));
}

int Entity::Highlight(int flag) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    return Done(flag == 1 ? m_entity->highlight() : m_entity->unhighlight());
}

int Entity::SetColorIndex(int color) {
    if (const int es = Open(ZcDb::kForWrite); es != HandleStatus::kOk) {
        return es;
    }
    return Done(m_entity->setColorIndex(static_cast<std::int16_t>(color), true));
}

int Entity::SetLayer(const wchar_t* layer) {
    if (const int es = Open(ZcDb::kForWrite); es != HandleStatus::kOk) {
        return es;
    }
    return Done(m_entity->setLayer(layer, true, false));
}

int Entity::TransformBy(const ZcGeMatrix3d& transform) {
    if (const int es = Open(ZcDb::kForWrite); es != HandleStatus::kOk) {
        return es;
    }
    return Done(m_entity->transformBy(transform));
}

bool Entity::IsOfClass(const ZcRxClass* cls) const {
    if (m_id.isNull()) {
        return false;
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, ZcDb::kForRead) != Zcad::eOk) {
        return false;
    }
    const bool result = object->isKindOf(cls);
    object->close();
    return result;
}

bool Entity::IsBlockReference() const {
    return IsOfClass(ZcDbBlockReference::desc());
}
bool Entity::IsCircle() const {
    return IsOfClass(ZcDbCircle::desc());
}
bool Entity::IsAlignedDimension() const {
    return IsOfClass(ZcDbAlignedDimension::desc());
}
bool Entity::IsCurve() const {
    return IsOfClass(ZcDbCurve::desc());
}
bool Entity::IsRegion() const {
    return IsOfClass(ZcDbRegion::desc());
}
bool Entity::IsHatch() const {
    return IsOfClass(ZcDbHatch::desc());
}
bool Entity::IsLine() const {
    return IsOfClass(ZcDbLine::desc());
}
bool Entity::IsText() const {
    return IsOfClass(ZcDbText::desc());
}
bool Entity::IsMText() const {
    return IsOfClass(ZcDbMText::desc());
}
bool Entity::IsPoint() const {
    return IsOfClass(ZcDbPoint::desc());
}
bool Entity::IsPolyline() const {
    return IsOfClass(ZcDbPolyline::desc());
}
bool Entity::IsSpline() const {
    return IsOfClass(ZcDbSpline::desc());
}
bool Entity::Is2dPolyline() const {
    return IsOfClass(ZcDb2dPolyline::desc());
}
bool Entity::IsArc() const {
    return IsOfClass(ZcDbArc::desc());
}

int ZWLine::StartPoint(ZcGePoint3d& point) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    point = ZcDbLine::cast(m_object)->startPoint();
    return Done(HandleStatus::kOk);
}

int ZWLine::EndPoint(ZcGePoint3d& point) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    point = ZcDbLine::cast(m_object)->endPoint();
    return Done(HandleStatus::kOk);
}

int ZWHatch::Area(double& area) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    return Done(ZcDbHatch::cast(m_object)->getArea(area));
}

int ZWRegion::Area(double& area) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    return Done(ZcDbRegion::cast(m_object)->getArea(area));
}

} // namespace gantrel
