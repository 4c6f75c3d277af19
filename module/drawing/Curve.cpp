#include "drawing/Curve.h"

namespace gantrel {

int Curve::Open(ZcDb::OpenMode mode) {
    return OpenChecked(mode, HostClass());
}

bool Curve::IsKindOf() const {
    return IsOfClass(HostClass());
}

int Curve::ParamAtClosestPoint(const ZcGePoint3d& point, double& param) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    ZcGePoint3d closest;
    int es = HostCurve()->getClosestPointTo(point, closest);
    if (es == Zcad::eOk) {
        es = HostCurve()->getParamAtPoint(closest, param);
    }
    return Done(es);
}

int Curve::DistanceToClosestPoint(const ZcGePoint3d& point, double& distance) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    ZcGePoint3d closest;
    int es = HostCurve()->getClosestPointTo(point, closest);
    if (es == Zcad::eOk) {
        es = HostCurve()->getDistAtPoint(closest, distance);
    }
    return Done(es);
}

int Curve::StartPoint(ZcGePoint3d& point) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    return Done(HostCurve()->getStartPoint(point));
}

int Curve::EndPoint(ZcGePoint3d& point) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    return Done(HostCurve()->getEndPoint(point));
}

int Curve::IsClosed(bool& closed) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    closed = HostCurve()->isClosed();
    return Done(HandleStatus::kOk);
}

int Curve::Area(double& area) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    return Done(HostCurve()->getArea(area));
}

void Curve::ReadEndpoints(ZcGePoint3d& start, ZcGePoint3d& end) {
    if (const int es = StartPoint(start); es != HandleStatus::kOk) {
        throw HostStatusError{es};
    }
    if (const int es = EndPoint(end); es != HandleStatus::kOk) {
        throw HostStatusError{es};
    }
}

ZcGePoint3d Curve::NearerEndpoint(const ZcGePoint3d& point) {
    ZcGePoint3d start, end;
    ReadEndpoints(start, end);
    return point.distanceTo(start) < point.distanceTo(end) ? start : end;
}

ZcGePoint3d Curve::FartherEndpoint(const ZcGePoint3d& point) {
    ZcGePoint3d start, end;
    ReadEndpoints(start, end);
    return point.distanceTo(start) > point.distanceTo(end) ? start : end;
}

int ZWPolyline::SetClosed(bool closed) {
    if (const int es = Open(ZcDb::kForWrite); es != HandleStatus::kOk) {
        return es;
    }
    return Done(ZcDbPolyline::cast(m_object)->setClosed(closed));
}

int Vertex2d::Open(ZcDb::OpenMode mode) {
    Close();
    if (m_id.isNull()) {
        return SetStatus(HandleStatus::kInvalidId);
    }
    ZcDbObject* object = nullptr;
    if (zcdbOpenObject(object, m_id, mode) != Zcad::eOk) {
        return SetStatus(HandleStatus::kNotOpened);
    }
    m_vertex = ZcDb2dVertex::cast(object);
    if (m_vertex == nullptr) {
        object->close();
        return SetStatus(HandleStatus::kWrongClass);
    }
    return SetStatus(HandleStatus::kOk);
}

void Vertex2d::Close() {
    if (m_vertex != nullptr) {
        m_vertex->close();
    }
    m_vertex = nullptr;
}

int Vertex2d::Position(ZcGePoint3d& position) {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        return es;
    }
    position = m_vertex->position();
    Close();
    return SetStatus(HandleStatus::kOk);
}

int Polyline2D::Open(ZcDb::OpenMode mode) {
    return OpenChecked(mode, HostClass(), true);
}

std::vector<ZcGePoint3d> Polyline2D::VertexPositions() {
    if (const int es = Open(ZcDb::kForRead); es != HandleStatus::kOk) {
        throw HostStatusError{es};
    }
    const std::vector<ZcDbObjectId> vertexIds = ZcDb2dPolyline::cast(m_object)->vertexIds();
    Done(HandleStatus::kOk);
    std::vector<ZcGePoint3d> positions;
    positions.reserve(vertexIds.size());
    for (const ZcDbObjectId& id : vertexIds) {
        Vertex2d vertex(id);
        ZcGePoint3d position;
        if (const int es = vertex.Position(position); es != HandleStatus::kOk) {
            SetStatus(es);
            throw HostStatusError{es};
        }
        positions.push_back(position);
    }
    return positions;
}

} // namespace gantrel
