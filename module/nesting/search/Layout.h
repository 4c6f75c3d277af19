// One individual of the genetic search: the parts in placing order, with a rotation per part.
#pragma once

#include "nesting/geometry/Polygons.h"
#include "nesting/search/Angles.h"

namespace gantrel {

// Ratings below this mark a layout that has not been rated yet.
inline constexpr double kUnratedBelow = 1e-7;

class Layout {
public:
    Layout() = default;
    Layout(Polygons parts, Angles angles)
        : m_parts(std::move(parts)), m_angles(std::move(angles)) {}
    virtual ~Layout() = default;
    Layout(const Layout&) = default;
    Layout(Layout&&) noexcept = default;
    Layout& operator=(const Layout&) = default;
    Layout& operator=(Layout&&) noexcept = default;

    const Polygons& Parts() const { return m_parts; }
    const Angles& GetAngles() const { return m_angles; }
    double Rating() const { return m_rating; }
    void SetRating(double rating) { m_rating = rating; }
    bool IsRated() const { return !(m_rating < kUnratedBelow); }
    int Size() const { return m_parts.Size(); }
    bool IsEmpty() const { return m_parts.IsEmpty(); }

    // Exchanges the parts at i and j (the angles stay) when both are valid indices.
    virtual void SwapParts(int i, int j);
    virtual void SetAngle(int i, double angle);
    // count parts and angles from start; a count of 0 takes everything from start on.
    virtual Layout Slice(int start, int count) const;
    // Appends a part with its angle.
    void Add(const NestPolygon& part, double angle);

    // The parts, each carrying its angle as its rotation: the arrangement to place.
    Polygons Arrangement() const;

    // Same part count, parts pairwise not Differs, same angle count, angles exactly equal.
    friend bool operator==(const Layout& a, const Layout& b);

private:
    Polygons m_parts;
    Angles m_angles;
    double m_rating = 0.0;
};

// The layouts of the current generation.
class Population : public Arr<Layout> {
public:
    using Arr<Layout>::Arr;

    bool ContainsEqual(const Layout& layout) const;
};

} // namespace gantrel
