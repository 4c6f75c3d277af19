// The rating of a layout: more placed part area always ranks higher, among equal placed areas
// the narrower layout does, in a millimetre drawing and in a metre drawing alike.
#include "nesting/geometry/Predicates.h"
#include "nesting/place/ResultRater.h"

#include <gtest/gtest.h>

namespace gantrel {
namespace {

NestPolygon Square(const std::wstring& name, double side) {
    NestPolygon p{GePoint(0, 0), GePoint(side, 0), GePoint(side, side), GePoint(0, side)};
    p.SetName(name);
    return p;
}

// A layout of n squares of side `side`, the first at x 0 and the last ending at `width`.
struct Layout {
    Polygons parts;
    Positions positions;
};

Layout Row(int n, double side, double width) {
    Layout layout;
    for (int i = 0; i < n; ++i) {
        layout.parts.Add(Square(L"s" + std::to_wstring(i), side));
        Position position;
        position.name = L"S" + std::to_wstring(i); // names match ignoring case
        position.translation = GePoint(n == 1 ? 0.0 : (width - side) * i / (n - 1), 0.0);
        position.placed = true;
        layout.positions.Add(position);
    }
    return layout;
}

struct Drawing {
    double unit;        // drawing units per millimetre
    NestPolygon sheet;  // 3000 x 1250 mm
    Polygons everyPart; // the run's parts: three squares of 100 mm
};

Drawing InUnits(double unit) {
    Drawing d{
        unit,
        NestPolygon{GePoint(0, 0), GePoint(3000 * unit, 0), GePoint(3000 * unit, 1250 * unit),
                    GePoint(0, 1250 * unit)},
        Polygons{Square(L"s0", 100 * unit), Square(L"s1", 100 * unit), Square(L"s2", 100 * unit)}};
    return d;
}

double Rate(const Drawing& d, const Layout& layout) {
    return ResultRater(layout.parts, layout.positions, d.sheet, ResultRater::AreaStep(d.everyPart))
        .Rate();
}

double PlainFormula(const Layout& layout) {
    return TotalArea(layout.parts) -
           ResultRater(layout.parts, layout.positions, NestPolygon()).UsedWidth();
}

TEST(ResultRater, MoreAreaWinsAndAmongEqualAreasTheNarrowerInMillimetresAndMetres) {
    for (double unit : {1.0, 0.001}) {
        const Drawing d = InUnits(unit);
        const Layout twoWide = Row(2, 100 * unit, 2900 * unit);
        const Layout twoNarrow = Row(2, 100 * unit, 200 * unit);
        const Layout oneNarrow = Row(1, 100 * unit, 100 * unit);
        EXPECT_GT(Rate(d, twoWide), Rate(d, oneNarrow)) << unit;
        EXPECT_GT(Rate(d, twoNarrow), Rate(d, twoWide)) << unit;
        // Every layout that places something counts as rated.
        EXPECT_GT(Rate(d, oneNarrow), 1e-7) << unit;
    }
}

TEST(ResultRater, TheMillimetreValueIsThePlainFormulaAndTheMetreOneWouldMisrank) {
    const Drawing mm = InUnits(1.0);
    const Layout twoWide = Row(2, 100, 2900);
    EXPECT_DOUBLE_EQ(Rate(mm, twoWide), 2 * 100.0 * 100.0 - 2900.0);
    EXPECT_DOUBLE_EQ(ResultRater(twoWide.parts, twoWide.positions, mm.sheet, 1e4).WidthWeight(),
                     1.0);

    // In metres the plain formula puts the narrow single part first (and below zero, where the
    // search would take it for unrated).
    const Layout twoWideM = Row(2, 0.1, 2.9);
    const Layout oneNarrowM = Row(1, 0.1, 0.1);
    EXPECT_LT(PlainFormula(twoWideM), PlainFormula(oneNarrowM));
    EXPECT_LT(PlainFormula(oneNarrowM), 0.0);
}

TEST(ResultRater, UsedWidthAndAreaStep) {
    const Layout row = Row(3, 10, 250);
    EXPECT_DOUBLE_EQ(ResultRater(row.parts, row.positions, NestPolygon()).UsedWidth(), 250.0);
    const Positions none;
    EXPECT_DOUBLE_EQ(ResultRater(row.parts, none, NestPolygon()).UsedWidth(), 0.0);

    const Polygons parts{Square(L"a", 10), Square(L"b", 10), Square(L"c", 11), Square(L"d", 20)};
    // Smallest area 100, smallest difference 121 - 100.
    EXPECT_DOUBLE_EQ(ResultRater::AreaStep(parts), 21.0);
    EXPECT_DOUBLE_EQ(ResultRater::AreaStep(Polygons()), 0.0);
}

} // namespace
} // namespace gantrel
