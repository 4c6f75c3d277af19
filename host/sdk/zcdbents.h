// Entities of the host interface: the common entity base, curves and the other drawing objects.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "zcdb.h"

class ZcDbEntity : public ZcDbObject {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbEntity)

    const std::wstring& layer() const { return m_layer; }
    // Sets the layer by name; it must exist in the entity's database (when resident), and a
    // hidden layer is refused unless allowed.
    Zcad::ErrorStatus setLayer(const wchar_t* name, bool doSubents = true,
                               bool allowHiddenLayer = false);
    // Colour index: 0 by block, 256 by layer, 1 to 255 a colour.
    std::int16_t colorIndex() const { return m_color; }
    Zcad::ErrorStatus setColorIndex(std::int16_t color, bool doSubents = true);
    const std::wstring& linetype() const;
    Zcad::ErrorStatus setLinetype(const wchar_t* name);
    // Copies layer, colour and linetype from another entity.
    Zcad::ErrorStatus setPropertiesFrom(const ZcDbEntity* other);

    Zcad::ErrorStatus highlight();
    Zcad::ErrorStatus unhighlight();
    bool isHighlighted() const { return m_highlighted; }

    virtual Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const;
    // Applies the transform through the entity's own subTransformBy and, when it succeeds,
    // adds it to the accumulated transform.
    Zcad::ErrorStatus transformBy(const ZcGeMatrix3d& xform);
    // The product of every transform applied to this entity, and to the entities it was cloned
    // from since the root of its clone chain (a clone inherits it): identity for an entity never
    // moved. Kept in memory only; a drawing read from a file starts from identity.
    const ZcGeMatrix3d& accumulatedTransform() const { return m_accumulated.matrix(); }
    // New entities, not in a database, that together draw this one; the caller owns them.
    // eNotApplicable where the entity does not explode.
    virtual Zcad::ErrorStatus explode(ZcDbVoidPtrArray& entitySet) const;
    // A text listing of the entity, as the LIST command shows it, one field a line.
    std::wstring listing() const;
    // Prints the listing on the command line.
    void list() const;

protected:
    ZcDbEntity() = default;
    ZcDbEntity(const ZcDbEntity&) = default;
    // The geometry of the transform: each kind of entity moves its own points; eNotApplicable
    // where it cannot be transformed.
    virtual Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform);
    // Appends the entity's own fields to a listing (one "name: value" a line).
    virtual void listFields(std::wstring& out) const;
    // The entities this one owns and changes with it (vertices of a 2-D polyline, attributes
    // of a block reference), for property changes applied to sub-entities.
    virtual std::vector<ZcDbEntity*> ownedEntities() const { return {}; }

private:
    // The accumulated transform, held once the entity has moved: most entities never do, and a
    // drawing holds many entities.
    class Accumulated {
    public:
        Accumulated() = default;
        Accumulated(const Accumulated& other);
        Accumulated& operator=(const Accumulated& other);
        const ZcGeMatrix3d& matrix() const {
            return m_matrix ? *m_matrix : ZcGeMatrix3d::kIdentity;
        }
        void preMultiply(const ZcGeMatrix3d& xform);

    private:
        std::unique_ptr<ZcGeMatrix3d> m_matrix;
    };

    std::wstring m_layer = L"0";
    std::int16_t m_color = 256;
    // Empty for the default, "ByLayer" (a name too long to be held without the heap).
    std::wstring m_linetype;
    bool m_highlighted = false;
    Accumulated m_accumulated;
};

// A curve with the host family's parameterisation: a line from 0 to its length; an arc from its
// start to its end angle (radians); a circle from 0 to 2 pi; an ellipse over its parameter angles;
// a polyline with n segments from 0 to n, segment i on [i, i+1]; a spline over its knot range.
class ZcDbCurve : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbCurve)
    virtual bool isClosed() const { return false; }
    virtual bool isPeriodic() const { return false; }
    virtual Zcad::ErrorStatus getStartParam(double& param) const = 0;
    virtual Zcad::ErrorStatus getEndParam(double& param) const = 0;
    virtual Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const = 0;
    virtual Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const;
    virtual Zcad::ErrorStatus getDistAtParam(double param, double& dist) const;
    virtual Zcad::ErrorStatus getParamAtDist(double dist, double& param) const;
    virtual Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const;
    virtual Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                                bool extend = false) const;
    virtual Zcad::ErrorStatus getArea(double& area) const;
    Zcad::ErrorStatus getStartPoint(ZcGePoint3d& point) const;
    Zcad::ErrorStatus getEndPoint(ZcGePoint3d& point) const;
    Zcad::ErrorStatus getDistAtPoint(const ZcGePoint3d& point, double& dist) const;

protected:
    ZcDbCurve() = default;
    ZcDbCurve(const ZcDbCurve&) = default;
    // Parameters from start to end that split the curve into pieces smooth and simple enough
    // for the numeric answers (closest point, length): knots, vertices or a uniform division.
    virtual std::vector<double> sampleParams() const;
    // The closest point found numerically over the sample pieces, with its parameter. With
    // extend, an open curve continues along its end tangents.
    Zcad::ErrorStatus closestParam(const ZcGePoint3d& given, bool extend, double& param,
                                   ZcGePoint3d& point) const;
};

#define ZCDB_ENTITY_CLONE(CLASS)                                                                   \
    ZcRxObject* clone() const override {                                                           \
        return new CLASS(*this);                                                                   \
    }

class ZcDbLine : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbLine)
    ZCDB_ENTITY_CLONE(ZcDbLine)
    ZcDbLine() = default;
    ZcDbLine(const ZcGePoint3d& start, const ZcGePoint3d& end) : m_start(start), m_end(end) {}
    ZcGePoint3d startPoint() const { return m_start; }
    ZcGePoint3d endPoint() const { return m_end; }
    Zcad::ErrorStatus setStartPoint(const ZcGePoint3d& p);
    Zcad::ErrorStatus setEndPoint(const ZcGePoint3d& p);
    double thickness() const { return m_thickness; }
    Zcad::ErrorStatus setThickness(double t);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);

    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
    Zcad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Zcad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const override;
    Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                        bool extend = false) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_start, m_end;
    double m_thickness = 0.0;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
};

class ZcDbCircle : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbCircle)
    ZCDB_ENTITY_CLONE(ZcDbCircle)
    ZcDbCircle() = default;
    ZcDbCircle(const ZcGePoint3d& center, const ZcGeVector3d& normal, double radius)
        : m_center(center), m_normal(normal), m_radius(radius) {}
    ZcGePoint3d center() const { return m_center; }
    Zcad::ErrorStatus setCenter(const ZcGePoint3d& c);
    double radius() const { return m_radius; }
    Zcad::ErrorStatus setRadius(double r);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Zcad::ErrorStatus setThickness(double t);

    bool isClosed() const override { return true; }
    bool isPeriodic() const override { return true; }
    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
    Zcad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Zcad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const override;
    Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                        bool extend = false) const override;
    Zcad::ErrorStatus getArea(double& area) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_center;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    double m_radius = 0.0;
    double m_thickness = 0.0;
};

class ZcDbArc : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbArc)
    ZCDB_ENTITY_CLONE(ZcDbArc)
    ZcDbArc() = default;
    // Angles in radians, counter-clockwise from the x axis of the arc's plane.
    ZcDbArc(const ZcGePoint3d& center, double radius, double startAngle, double endAngle)
        : m_center(center), m_radius(radius), m_startAngle(startAngle), m_endAngle(endAngle) {}
    ZcGePoint3d center() const { return m_center; }
    Zcad::ErrorStatus setCenter(const ZcGePoint3d& c);
    double radius() const { return m_radius; }
    Zcad::ErrorStatus setRadius(double r);
    double startAngle() const { return m_startAngle; }
    Zcad::ErrorStatus setStartAngle(double a);
    double endAngle() const { return m_endAngle; }
    Zcad::ErrorStatus setEndAngle(double a);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);
    double thickness() const { return m_thickness; }
    Zcad::ErrorStatus setThickness(double t);
    // The swept angle, in (0, 2 pi].
    double totalAngle() const;

    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
    Zcad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Zcad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const override;
    Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                        bool extend = false) const override;
    Zcad::ErrorStatus getArea(double& area) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_center;
    double m_radius = 0.0;
    double m_startAngle = 0.0, m_endAngle = 0.0;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    double m_thickness = 0.0;
};

class ZcDbEllipse : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbEllipse)
    ZCDB_ENTITY_CLONE(ZcDbEllipse)
    ZcDbEllipse() = default;
    // Parameters are the eccentric angles, 0 to 2 pi for a full ellipse.
    ZcDbEllipse(const ZcGePoint3d& center, const ZcGeVector3d& normal,
                const ZcGeVector3d& majorAxis, double radiusRatio, double startParam = 0.0,
                double endParam = 2 * kPi)
        : m_center(center), m_normal(normal), m_majorAxis(majorAxis), m_ratio(radiusRatio),
          m_startParam(startParam), m_endParam(endParam) {}
    ZcGePoint3d center() const { return m_center; }
    ZcGeVector3d normal() const { return m_normal; }
    ZcGeVector3d majorAxis() const { return m_majorAxis; }
    ZcGeVector3d minorAxis() const;
    double radiusRatio() const { return m_ratio; }
    double startParamAngle() const { return m_startParam; }
    double endParamAngle() const { return m_endParam; }
    Zcad::ErrorStatus set(const ZcGePoint3d& center, const ZcGeVector3d& normal,
                          const ZcGeVector3d& majorAxis, double radiusRatio,
                          double startParam = 0.0, double endParam = 2 * kPi);

    bool isClosed() const override;
    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
    Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const override;
    // With extend, an elliptical arc continues to the full ellipse.
    Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                        bool extend = false) const override;
    Zcad::ErrorStatus getArea(double& area) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_center;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    ZcGeVector3d m_majorAxis = ZcGeVector3d::kXAxis;
    double m_ratio = 1.0;
    double m_startParam = 0.0, m_endParam = 2 * kPi;
};

// Lightweight polyline: 2-D vertices in the plane at its elevation, each with a bulge (the
// tangent of a quarter of the segment's included angle; positive turns counter-clockwise).
class ZcDbPolyline : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbPolyline)
    ZCDB_ENTITY_CLONE(ZcDbPolyline)
    enum SegType { kLine, kArc, kCoincident, kPoint, kEmpty };
    struct Vertex {
        ZcGePoint2d point;
        double bulge = 0.0;
        double startWidth = 0.0, endWidth = 0.0;
        bool operator==(const Vertex&) const = default;
    };

    ZcDbPolyline() = default;
    unsigned int numVerts() const { return static_cast<unsigned int>(m_vertices.size()); }
    Zcad::ErrorStatus addVertexAt(unsigned int index, const ZcGePoint2d& pt, double bulge = 0.0,
                                  double startWidth = -1.0, double endWidth = -1.0);
    Zcad::ErrorStatus removeVertexAt(unsigned int index);
    Zcad::ErrorStatus getPointAt(unsigned int index, ZcGePoint2d& pt) const;
    Zcad::ErrorStatus getPointAt(unsigned int index, ZcGePoint3d& pt) const;
    Zcad::ErrorStatus setPointAt(unsigned int index, const ZcGePoint2d& pt);
    Zcad::ErrorStatus getBulgeAt(unsigned int index, double& bulge) const;
    Zcad::ErrorStatus setBulgeAt(unsigned int index, double bulge);
    Zcad::ErrorStatus getWidthsAt(unsigned int index, double& startWidth, double& endWidth) const;
    SegType segType(unsigned int index) const;
    const std::vector<Vertex>& vertices() const { return m_vertices; }
    // All vertices at once, checked as addVertexAt checks each (the host's file reader).
    Zcad::ErrorStatus setVertices(std::vector<Vertex> vertices);
    Zcad::ErrorStatus setClosed(bool closed);
    double elevation() const { return m_elevation; }
    Zcad::ErrorStatus setElevation(double e);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);
    double constantWidth() const { return m_constantWidth; }
    Zcad::ErrorStatus setConstantWidth(double w);
    bool hasPlinegen() const { return m_plinegen; }
    Zcad::ErrorStatus setPlinegen(bool on);

    bool isClosed() const override { return m_closed; }
    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
    Zcad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Zcad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const override;
    Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                        bool extend = false) const override;
    Zcad::ErrorStatus getArea(double& area) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
    Zcad::ErrorStatus explode(ZcDbVoidPtrArray& entitySet) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    std::vector<Vertex> m_vertices;
    bool m_closed = false;
    bool m_plinegen = false;
    double m_elevation = 0.0;
    double m_constantWidth = 0.0;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
};

// The sub-entities an entity owns (the vertices of a 2-D polyline, the attributes of a block
// reference): objects held by the owner until it joins a database, ids from then on.
template <typename T> class ZcDbOwnedEntities {
public:
    ZcDbOwnedEntities() = default;
    // Copies of the other list's entities, not in any database.
    ZcDbOwnedEntities(const ZcDbOwnedEntities& other);
    ZcDbOwnedEntities& operator=(const ZcDbOwnedEntities&) = delete;
    ~ZcDbOwnedEntities();

    // Takes ownership of a new entity. For a resident owner it gets its id now and is left open
    // for write; otherwise it joins the database with the owner.
    Zcad::ErrorStatus append(const ZcDbObject& owner, ZcDbObjectId& id, T* entity);
    // Ids in order, erased ones skipped (empty before the owner is resident).
    std::vector<ZcDbObjectId> ids() const;
    // Every entity, resident or not, in order, erased ones skipped.
    std::vector<T*> entities() const;
    const std::vector<std::unique_ptr<T>>& pending() const { return m_pending; }
    // Moves the held entities into the owner's database.
    void addToDatabase(const ZcDbObject& owner, ZcDbDatabase& db);
    void setErased(bool erasing);
    // Records a resident entity (for readers that create the entities with their own ids).
    void attach(ZcDbObjectId id) { m_ids.push_back(id); }

private:
    std::vector<ZcDbObjectId> m_ids;
    std::vector<std::unique_ptr<T>> m_pending;
};

class ZcDb2dVertex;
class ZcDbAttribute;
extern template class ZcDbOwnedEntities<ZcDb2dVertex>;
extern template class ZcDbOwnedEntities<ZcDbAttribute>;

// One vertex of a 2-D polyline; a database object of its own, owned by its polyline.
class ZcDb2dVertex : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDb2dVertex)
    ZCDB_ENTITY_CLONE(ZcDb2dVertex)
    ZcDb2dVertex() = default;
    ZcDb2dVertex(const ZcGePoint3d& position, double bulge = 0.0)
        : m_position(position), m_bulge(bulge) {}
    ZcGePoint3d position() const { return m_position; }
    Zcad::ErrorStatus setPosition(const ZcGePoint3d& p);
    double bulge() const { return m_bulge; }
    Zcad::ErrorStatus setBulge(double b);
    double startWidth() const { return m_startWidth; }
    double endWidth() const { return m_endWidth; }
    Zcad::ErrorStatus setWidths(double startWidth, double endWidth);
    // DXF vertex flags (1 extra vertex from curve fitting, 8 spline vertex, 16 frame point...).
    std::int16_t vertexFlags() const { return m_flags; }
    Zcad::ErrorStatus setVertexFlags(std::int16_t flags);

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;

private:
    // The polyline moves its vertices with it without opening them.
    friend class ZcDb2dPolyline;
    ZcGePoint3d m_position;
    double m_bulge = 0.0;
    double m_startWidth = 0.0, m_endWidth = 0.0;
    std::int16_t m_flags = 0;
};

// 2-D polyline whose vertices are objects of their own, in vertex order.
class ZcDb2dPolyline : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDb2dPolyline)
    ZcDb2dPolyline() = default;
    ZcDb2dPolyline(const ZcDb2dPolyline& other);
    ~ZcDb2dPolyline() override;
    // A clone owns copies of the vertices, which join the database with it.
    ZcRxObject* clone() const override { return new ZcDb2dPolyline(*this); }

    // Appends a vertex, taking ownership; for a resident polyline the vertex gets its id now
    // and is left open for write, otherwise it joins the database with the polyline.
    Zcad::ErrorStatus appendVertex(ZcDbObjectId& id, ZcDb2dVertex* vertex);
    Zcad::ErrorStatus appendVertex(ZcDb2dVertex* vertex);
    ZcDbObjectIterator* vertexIterator() const;
    // Vertex ids in order (empty for a polyline not in a database).
    std::vector<ZcDbObjectId> vertexIds() const;
    // Vertex positions and bulges in order, whether resident or not.
    struct VertexData {
        ZcGePoint3d position;
        double bulge = 0.0;
        std::int16_t flags = 0;
    };
    std::vector<VertexData> vertexData() const;
    Zcad::ErrorStatus setClosed(bool closed);
    double elevation() const { return m_elevation; }
    Zcad::ErrorStatus setElevation(double e);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);
    // DXF polyline flags besides closed (curve-fit 2, spline-fit 4 ...).
    std::int16_t polylineFlags() const { return m_flags; }
    Zcad::ErrorStatus setPolylineFlags(std::int16_t flags);

    bool isClosed() const override { return m_closed; }
    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getParamAtPoint(const ZcGePoint3d& point, double& param) const override;
    Zcad::ErrorStatus getDistAtParam(double param, double& dist) const override;
    Zcad::ErrorStatus getParamAtDist(double dist, double& param) const override;
    Zcad::ErrorStatus getClosestPointTo(const ZcGePoint3d& given, ZcGePoint3d& closest,
                                        bool extend = false) const override;
    Zcad::ErrorStatus getArea(double& area) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
    Zcad::ErrorStatus explode(ZcDbVoidPtrArray& entitySet) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void subAddedToDatabase(ZcDbDatabase* db) override;
    void subErase(bool erasing) override;
    void listFields(std::wstring& out) const override;
    std::vector<ZcDbEntity*> ownedEntities() const override;

private:
    friend struct ZcDbAccess;
    ZcDbOwnedEntities<ZcDb2dVertex> m_vertices;
    bool m_closed = false;
    double m_elevation = 0.0;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    std::int16_t m_flags = 0;
};

// NURBS curve: degree, knots, control points and, when rational, weights. A spline given by fit
// points is stored as the interpolating cubic through them, keeping the fit points.
class ZcDbSpline : public ZcDbCurve {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbSpline)
    ZCDB_ENTITY_CLONE(ZcDbSpline)
    ZcDbSpline() = default;
    // An empty weights array makes the spline non-rational.
    ZcDbSpline(int degree, const ZcGePoint3dArray& controlPoints, const ZcGeDoubleArray& knots,
               const ZcGeDoubleArray& weights = {}, bool periodic = false);
    // The interpolating spline of the given degree through the fit points.
    ZcDbSpline(const ZcGePoint3dArray& fitPoints, int degree = 3, double fitTolerance = 0.0);

    int degree() const { return m_degree; }
    bool isRational() const { return !m_weights.isEmpty(); }
    int numControlPoints() const { return m_controlPoints.length(); }
    int numFitPoints() const { return m_fitPoints.length(); }
    Zcad::ErrorStatus getNurbsData(int& degree, bool& rational, bool& closed, bool& periodic,
                                   ZcGePoint3dArray& controlPoints, ZcGeDoubleArray& knots,
                                   ZcGeDoubleArray& weights, double& controlPtTol,
                                   double& knotTol) const;
    Zcad::ErrorStatus setNurbsData(int degree, bool rational, bool closed, bool periodic,
                                   const ZcGePoint3dArray& controlPoints,
                                   const ZcGeDoubleArray& knots, const ZcGeDoubleArray& weights,
                                   double controlPtTol = 1e-10, double knotTol = 1e-10);
    Zcad::ErrorStatus getFitData(ZcGePoint3dArray& fitPoints, int& degree, double& fitTolerance,
                                 bool& tangentsExist, ZcGeVector3d& startTangent,
                                 ZcGeVector3d& endTangent) const;
    // Replaces the curve by the interpolation of the fit points (with end tangents if given).
    Zcad::ErrorStatus setFitData(const ZcGePoint3dArray& fitPoints, int degree, double fitTolerance,
                                 const ZcGeVector3d& startTangent, const ZcGeVector3d& endTangent);
    const ZcGePoint3dArray& controlPoints() const { return m_controlPoints; }
    const ZcGeDoubleArray& knots() const { return m_knots; }
    const ZcGeDoubleArray& weights() const { return m_weights; }
    const ZcGePoint3dArray& fitPoints() const { return m_fitPoints; }
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);
    // DXF spline flags (closed 1, periodic 2, rational 4, planar 8, linear 16).
    std::int16_t splineFlags() const;

    bool isClosed() const override;
    bool isPeriodic() const override { return m_periodic; }
    Zcad::ErrorStatus getStartParam(double& param) const override;
    Zcad::ErrorStatus getEndParam(double& param) const override;
    Zcad::ErrorStatus getPointAtParam(double param, ZcGePoint3d& point) const override;
    Zcad::ErrorStatus getFirstDeriv(double param, ZcGeVector3d& deriv) const override;
    Zcad::ErrorStatus getArea(double& area) const override;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;
    std::vector<double> sampleParams() const override;

private:
    int m_degree = 3;
    bool m_closed = false, m_periodic = false;
    ZcGePoint3dArray m_controlPoints;
    ZcGeDoubleArray m_knots;
    ZcGeDoubleArray m_weights;
    ZcGePoint3dArray m_fitPoints;
    ZcGeVector3d m_startTangent, m_endTangent;
    double m_fitTolerance = 0.0;
    double m_knotTol = 1e-10, m_controlPtTol = 1e-10;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
};

class ZcDbPoint : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbPoint)
    ZCDB_ENTITY_CLONE(ZcDbPoint)
    ZcDbPoint() = default;
    explicit ZcDbPoint(const ZcGePoint3d& position) : m_position(position) {}
    ZcGePoint3d position() const { return m_position; }
    Zcad::ErrorStatus setPosition(const ZcGePoint3d& p);
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    ZcGePoint3d m_position;
};
