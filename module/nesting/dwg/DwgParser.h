// Drawing objects read as nesting polygons: the sheet's outline, and for every part its outline,
// its nesting data and one working copy in the drawing per piece.
#pragma once

#include "common/Arr.h"
#include "drawing/OutlineReaders.h"
#include "nesting/geometry/Polygons.h"

#include "zcdb.h"

#include <optional>
#include <string>

namespace gantrel {

// The application name under which part objects keep their nesting data.
inline constexpr wchar_t kPlaxenApplication[] = L"Plaxen";
// Number of identical pieces a part stands for.
inline constexpr wchar_t kCountKey[] = L"Count";
// Whether a part may be rotated (0: it may not).
inline constexpr wchar_t kRotableKey[] = L"Rotable";

// One selected part object.
struct Nest_Entity {
    ZcDbObjectId id;
};

// The selected part objects in selection order.
class NestEntities : public Arr<Nest_Entity> {
public:
    using Arr<Nest_Entity>::Arr;
};

// The "Plaxen" extended data of one object, read as key/value pairs. An item is a key when its
// text form equals the key name in any letter case; its value is the item that follows it.
class PlaxenData {
public:
    // Reads the object's data; an object without any is told apart from one with an empty list.
    explicit PlaxenData(ZcDbObjectId id);

    bool Present() const { return m_present; }
    // The value of the first item matching the key; none when the key is missing, is the last
    // item, or its value is not a whole number within 16 bits.
    std::optional<int> Value(const std::wstring& key) const;

    // Number of pieces: the "Count" value, 1 when missing.
    int Count() const;
    // "Rotable": 0 forbids rotation, any other value allows it; a missing key forbids it when
    // the object has data and allows it when the object has none.
    bool Rotatable() const;

    // The text form of an item: its string for string codes, "%0.6f" of a real, "%i" of a
    // 16-bit integer, the empty text for every other code.
    static std::wstring TextForm(const resbuf& item);

private:
    struct Item {
        std::wstring text;
        std::optional<int> integer;
    };
    Arr<Item> m_items;
    bool m_present = false;
};

// Turns drawing objects into polygons; for parts it also makes the working copies the run moves
// around instead of the user's objects.
class DwgParser {
public:
    virtual ~DwgParser() = default;
    // Reads one part object into pieces and adds them to parts: one piece per "Count", each named
    // with the handle of a working copy of the object made for it in model space. The copies carry
    // no nesting data. Nothing is added, and nothing copied, when the object gives no outline.
    virtual void Parse(ZcDbObjectId id, double arcPrecision, Polygons& parts);
    // The object's outline in the XY plane, named with the object's handle; empty and unnamed
    // when the object is of a kind without an outline or the id is not valid.
    virtual NestPolygon polygonify(ZcDbObjectId id, double arcPrecision);

    // Parts are checked against the range of the run's integer arithmetic: no point farther
    // than reach from corner (the sheet's lower-left corner), at the run's integer scale.
    void SetRange(const GePoint& corner, double reach, double integerScale);

private:
    static constexpr double kFinerReading = 16.0;
    // Grows a part's outline so that it covers the object's curves, not only their sampled
    // points.
    void CoverCurves(ZcDbObjectId id, double arcPrecision, NestPolygon& outline);
    // Why the part cannot be nested (empty when it can); repairs an outline that crosses
    // itself when what it encloses is one outline.
    std::wstring Fault(NestPolygon& outline) const;

    bool m_hasRange = false;
    GePoint m_corner;
    double m_reach = 0.0;
    double m_scale = 1e8;
};

// The area of a block reference for the area reader of the run summary: the objects that form
// the largest closed outline of the reference's block, measured with AreaReader and scaled by the
// reference's X and Y scale factors.
class NestBlockAreaReader : public BlockAreaReader {
public:
    explicit NestBlockAreaReader(ZcDbDatabase* db) : m_db(db) {}
    double Area(ZcDbObjectId reference) override;

private:
    ZcDbDatabase* m_db;
};

} // namespace gantrel
