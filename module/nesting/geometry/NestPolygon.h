// One outline: a part, a sheet, a loop of a no-fit polygon or a hole.
#pragma once

#include "nesting/geometry/GePoints.h"
#include "nesting/geometry/PointsReducer.h"

#include <memory>
#include <string>

namespace gantrel {

class Polygons;
struct NestSettings;

class NestPolygon : public GePoints {
public:
    NestPolygon();
    NestPolygon(std::initializer_list<GePoint> points);
    NestPolygon(const NestPolygon& other);
    NestPolygon(NestPolygon&& other) noexcept;
    NestPolygon& operator=(const NestPolygon& other);
    NestPolygon& operator=(NestPolygon&& other) noexcept;
    ~NestPolygon() override;

    // The name, then " :    ", then the points.
    std::wstring ToString() const override;
    // A deep copy: points, name, rotation, every hole and the remaining fields.
    virtual NestPolygon Clone() const { return *this; }

    const std::wstring& Name() const { return m_name; }
    void SetName(const std::wstring& name) { m_name = name; }
    // Rotation in degrees, applied by Rotated().
    double Rotation() const { return m_rotation; }
    void SetRotation(double degrees) { m_rotation = degrees; }
    bool Rotatable() const { return m_rotatable; }
    void SetRotatable(bool rotatable) { m_rotatable = rotatable; }
    // Offset added to every vertex by the inside tests.
    double PositionX() const { return m_positionX; }
    double PositionY() const { return m_positionY; }
    void SetPosition(double x, double y) {
        m_positionX = x;
        m_positionY = y;
    }

    // Holes; null when the polygon has none.
    const Polygons* Holes() const { return m_holes.get(); }
    Polygons* Holes() { return m_holes.get(); }
    int HoleCount() const;
    void AddHole(const NestPolygon& hole);
    void ClearHoles();

    // Every point (and hole) plus v. Name and rotation are not carried over.
    NestPolygon Translated(const Vector& v) const;
    // Every point rotated about the origin by the polygon's own rotation; each hole by its own.
    // Keeps the name; the result's rotation is 0.
    NestPolygon Rotated() const;
    // Every point and hole rotated by angle degrees about centre. Keeps the name.
    NestPolygon RotatedAbout(double angle, const GePoint& centre) const;

    // Grows the outline by d (shrinks it for negative d) and offsets every hole by -d, with
    // round joins through the integer polygon arithmetic. Returns false, leaving the polygon
    // unchanged, when the outline is degenerate or its coordinates are out of the arithmetic's
    // range.
    bool Offset(double d, const NestSettings& settings);
    // Grows the outline so that it covers every point within d of it (shrinks it for negative d
    // so that it keeps only points at least -d inside), with mitred joins; holes shrink by d.
    // Where the result falls apart into several loops the largest is kept. Returns false,
    // leaving the polygon unchanged, when the outline is degenerate or out of range.
    bool Grow(double d, const NestSettings& settings);
    // Visvalingam-Whyatt reduction with the given area threshold; a last point that coincides
    // with the first is dropped.
    void Reduce(double threshold);
    // The same reduction, removing a point only where the outline moves to the given side.
    void Reduce(double threshold, ReductionSide side);

private:
    std::wstring m_name;
    double m_rotation = 0.0;
    std::unique_ptr<Polygons> m_holes;
    bool m_rotatable = true;
    double m_positionX = 0.0;
    double m_positionY = 0.0;
    // Carried along by every copy; no operation reads them.
    GePoint m_reserved1;
    GePoint m_reserved2;
};

} // namespace gantrel
