// Area entities: hatches with boundary loops and regions made of loops of curves.
#pragma once

#include "zcdbents.h"

// One edge of a hatch or region loop, in the plane of its entity.
struct ZcDbLoopEdge {
    enum Kind { kLine = 1, kCircularArc = 2, kEllipticArc = 3, kSpline = 4 };
    Kind kind = kLine;
    // Line: start and end.
    ZcGePoint2d start, end;
    // Circular arc: center, radius, the angles (radians) of its start and end points; the arc
    // runs from start to end counter-clockwise, or clockwise when counterClockwise is false.
    // (DXF stores the angles of a clockwise edge as 2 pi minus these.)
    // Elliptic arc: center, major axis end point (relative), minor-to-major ratio in radius,
    // start and end as eccentric parameters, directed like a circular arc.
    ZcGePoint2d center;
    ZcGeVector2d majorAxis;
    double radius = 0.0;
    double startAngle = 0.0, endAngle = 0.0;
    bool counterClockwise = true;
    // Spline: degree, knots, control points, weights (empty when not rational).
    int degree = 3;
    std::vector<double> knots;
    std::vector<ZcGePoint2d> controlPoints;
    std::vector<double> weights;
    bool operator==(const ZcDbLoopEdge&) const = default;
};

// A closed boundary loop: a list of edges, or a polyline path of vertices with bulges.
struct ZcDbLoop {
    // DXF boundary path flags: external 1, polyline 2, derived 4, textbox 8, outermost 16.
    std::int32_t flags = 1;
    bool isPolyline() const { return flags & 2; }
    std::vector<ZcDbLoopEdge> edges;
    std::vector<ZcGePoint2d> vertices;
    std::vector<double> bulges;
    bool closed = true;
    bool operator==(const ZcDbLoop&) const = default;
};

class ZcDbHatch : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbHatch)
    ZCDB_ENTITY_CLONE(ZcDbHatch)
    enum HatchStyle { kNormal = 0, kOuter = 1, kIgnore = 2 };
    ZcDbHatch() = default;

    const std::wstring& patternName() const { return m_pattern; }
    bool isSolidFill() const { return m_solid; }
    Zcad::ErrorStatus setPattern(const wchar_t* name, bool solidFill = false);
    double patternAngle() const { return m_patternAngle; }
    double patternScale() const { return m_patternScale; }
    Zcad::ErrorStatus setPatternAngle(double a);
    Zcad::ErrorStatus setPatternScale(double s);
    bool associative() const { return m_associative; }
    Zcad::ErrorStatus setAssociative(bool a);
    HatchStyle hatchStyle() const { return m_style; }
    Zcad::ErrorStatus setHatchStyle(HatchStyle s);
    double elevation() const { return m_elevation; }
    Zcad::ErrorStatus setElevation(double e);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);

    int numLoops() const { return static_cast<int>(m_loops.size()); }
    const std::vector<ZcDbLoop>& loops() const { return m_loops; }
    Zcad::ErrorStatus appendLoop(const ZcDbLoop& loop);
    Zcad::ErrorStatus removeLoopAt(int index);
    // Pattern definition lines as stored, kept for writing the hatch back.
    const std::vector<std::vector<double>>& patternLines() const { return m_patternLines; }
    void setPatternLines(std::vector<std::vector<double>> lines) {
        m_patternLines = std::move(lines);
    }

    // The filled area: outer loops minus the loops inside them (by loop orientation-free
    // nesting: a loop inside an odd number of others is a hole).
    Zcad::ErrorStatus getArea(double& area) const;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    std::wstring m_pattern = L"SOLID";
    bool m_solid = true;
    double m_patternAngle = 0.0, m_patternScale = 1.0;
    bool m_associative = false;
    HatchStyle m_style = kNormal;
    double m_elevation = 0.0;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    std::vector<ZcDbLoop> m_loops;
    std::vector<std::vector<double>> m_patternLines;
};

// A planar region bounded by loops of straight and circular edges, in the object coordinates of
// the region's normal at its elevation (world coordinates for the default plane z = 0). A
// region read from a drawing whose data could not be decoded keeps that data and is written
// back unchanged; it has no loops.
class ZcDbRegion : public ZcDbEntity {
public:
    ZCRX_DECLARE_MEMBERS(ZcDbRegion)
    ZCDB_ENTITY_CLONE(ZcDbRegion)
    ZcDbRegion() = default;

    // Builds regions from closed curves: each closed curve (or closed chain of curves) gives
    // one region. The new regions are appended to regions; the caller owns them.
    static Zcad::ErrorStatus createFromCurves(const ZcDbVoidPtrArray& curveSegments,
                                              ZcDbVoidPtrArray& regions);

    const std::vector<ZcDbLoop>& loops() const { return m_loops; }
    // Appends a closed loop; a polyline loop is stored as its line and arc edges.
    Zcad::ErrorStatus appendLoop(const ZcDbLoop& loop);
    ZcGeVector3d normal() const { return m_normal; }
    Zcad::ErrorStatus setNormal(const ZcGeVector3d& n);
    double elevation() const { return m_elevation; }
    Zcad::ErrorStatus setElevation(double e);
    bool isNull() const { return m_loops.empty() && m_rawData.empty(); }
    // Undecoded data of the drawing file, in its original lines.
    const std::vector<std::string>& rawData() const { return m_rawData; }
    void setRawData(std::vector<std::string> lines) { m_rawData = std::move(lines); }
    bool hasRawDataOnly() const { return m_loops.empty() && !m_rawData.empty(); }

    Zcad::ErrorStatus getArea(double& area) const;
    Zcad::ErrorStatus getPerimeter(double& perimeter) const;
    Zcad::ErrorStatus getGeomExtents(ZcDbExtents& extents) const override;
    // Lines, arcs and circles, one per edge, in loop order.
    Zcad::ErrorStatus explode(ZcDbVoidPtrArray& entitySet) const override;

protected:
    Zcad::ErrorStatus subTransformBy(const ZcGeMatrix3d& xform) override;
    void listFields(std::wstring& out) const override;

private:
    std::vector<ZcDbLoop> m_loops;
    ZcGeVector3d m_normal = ZcGeVector3d::kZAxis;
    double m_elevation = 0.0;
    std::vector<std::string> m_rawData;
};
