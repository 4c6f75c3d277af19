// Handles over host curves: the common curve operations and the curve classes with their own.
#pragma once

#include <vector>

#include "drawing/Entity.h"

namespace gantrel {

class Curve : public Entity {
public:
    using Entity::Entity;
    // Checks the handle's curve class: 374, 20 (also for an erased object), 21, 20077 or 0.
    int Open(ZcDb::OpenMode mode) override;
    // Whether the object is of the handle's class (false when it cannot be opened).
    virtual bool IsKindOf() const;
    // The parameter at the point of the curve closest to the given point.
    virtual int ParamAtClosestPoint(const ZcGePoint3d& point, double& param);
    // The distance along the curve from its start to the point closest to the given point.
    virtual int DistanceToClosestPoint(const ZcGePoint3d& point, double& distance);

    int StartPoint(ZcGePoint3d& point);
    int EndPoint(ZcGePoint3d& point);
    int IsClosed(bool& closed);
    int Area(double& area);
    // Of start and end point, the one nearer to the point (the end point on a tie); throws
    // HostStatusError when the curve cannot be read.
    ZcGePoint3d NearerEndpoint(const ZcGePoint3d& point);
    // Of start and end point, the one farther from the point (the end point on a tie).
    ZcGePoint3d FartherEndpoint(const ZcGePoint3d& point);

protected:
    virtual const ZcRxClass* HostClass() const { return ZcDbCurve::desc(); }
    ZcDbCurve* HostCurve() const { return ZcDbCurve::cast(m_object); }

private:
    void ReadEndpoints(ZcGePoint3d& start, ZcGePoint3d& end);
};

class ZWArc : public Curve {
public:
    using Curve::Curve;

protected:
    const ZcRxClass* HostClass() const override { return ZcDbArc::desc(); }
};

class ZWSpline : public Curve {
public:
    using Curve::Curve;

protected:
    const ZcRxClass* HostClass() const override { return ZcDbSpline::desc(); }
};

class ZWPolyline : public Curve {
public:
    using Curve::Curve;
    int SetClosed(bool closed);

protected:
    const ZcRxClass* HostClass() const override { return ZcDbPolyline::desc(); }
};

// A vertex of a 2-D polyline.
class Vertex2d : public ObjectId {
public:
    using ObjectId::ObjectId;
    Vertex2d(const Vertex2d& other) : ObjectId(other) {}
    ~Vertex2d() override { Close(); }
    // 374, 20, 21 (not a vertex) or 0 with the vertex open.
    virtual int Open(ZcDb::OpenMode mode);
    void Close();
    int Position(ZcGePoint3d& position);

private:
    ZcDb2dVertex* m_vertex = nullptr;
};

class Polyline2D : public Curve {
public:
    using Curve::Curve;
    int Open(ZcDb::OpenMode mode) override;
    // Vertex positions in vertex order; throws HostStatusError on any failure.
    std::vector<ZcGePoint3d> VertexPositions();

protected:
    const ZcRxClass* HostClass() const override { return ZcDb2dPolyline::desc(); }
};

} // namespace gantrel
