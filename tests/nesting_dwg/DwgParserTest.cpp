// Reading drawing objects as nesting polygons. Invariants of every test: the user's objects are
// never changed, each piece names a working copy of its own in model space, and no object is
// left open (checked by DrawingTest).
#include "NestDwgTest.h"

#include "nesting/geometry/Predicates.h"

#include <cmath>

#include "nesting/dwg/DwgParser.h"
#include "nesting/dwg/NestDWG.h"
#include "nesting/dwg/PackTextFormat.h"

#include <algorithm>
#include <set>

#include "winhost.h"

namespace gantrel {
namespace {

using Parser = NestDwgTest;

std::wstring HandleOf(ZcDbObjectId id) {
    return ObjectId(id).HandleString();
}

TEST_F(Parser, OutlinesOfCurvesRegionsAndBlocksInTheirKindsOrder) {
    DwgParser parser;
    const ZcDbObjectId circle = addCircle(10, 20, 5);
    const NestPolygon round = parser.polygonify(circle, 20);
    EXPECT_EQ(round.Size(), 20);
    EXPECT_EQ(round.Name(), HandleOf(circle));
    for (const GePoint& p : round) {
        EXPECT_NEAR(std::hypot(p.x - 10, p.y - 20), 5.0, 1e-9);
    }

    const ZcDbObjectId line = addLine(1, 2, 3, 4);
    const NestPolygon two = parser.polygonify(line, 20);
    ASSERT_EQ(two.Size(), 2);
    EXPECT_DOUBLE_EQ(two[1].x, 3);
    EXPECT_DOUBLE_EQ(two[1].y, 4);

    // Collinear vertices of a polyline are simplified away.
    const ZcDbObjectId polyline =
        addPolyline({{0, 0, 0}, {5, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}}, true);
    EXPECT_EQ(parser.polygonify(polyline, 20).Size(), 4);

    const ZcDbObjectId region = addRegion({{0, 0}, {4, 0}, {0, 3}});
    EXPECT_EQ(parser.polygonify(region, 20).Size(), 3);

    // A block reference gives the largest closed outline of its contents where it is shown.
    const ZcDbObjectId block = newBlock(L"PART");
    addRectangle(0, 0, 10, 5, block);
    addLine(0, 0, 50, 50, block);
    const ZcDbObjectId reference = addReference(block, {100, 200, 0}, ZcGeScale3d(2, 2, 1));
    const NestPolygon placed = parser.polygonify(reference, 20);
    ASSERT_EQ(placed.Size(), 4);
    EXPECT_EQ(placed.Name(), HandleOf(reference));
    for (const GePoint& p : placed) {
        EXPECT_TRUE(p.x == 100 || p.x == 120) << p.x;
        EXPECT_TRUE(p.y == 200 || p.y == 210) << p.y;
    }
}

TEST_F(Parser, ObjectsWithoutOutlineGiveAnEmptyUnnamedPolygon) {
    DwgParser parser;
    const ZcDbObjectId text = add(new ZcDbText({0, 0, 0}, L"note"));
    out.clear();
    const NestPolygon fromText = parser.polygonify(text, 20);
    EXPECT_TRUE(fromText.IsEmpty());
    EXPECT_TRUE(fromText.Name().empty());
    EXPECT_TRUE(parser.polygonify(ZcDbObjectId::kNull, 20).IsEmpty());
    const ZcDbObjectId erased = addCircle(0, 0, 1);
    erase(erased);
    EXPECT_TRUE(parser.polygonify(erased, 20).IsEmpty());
    EXPECT_EQ(out, "");
}

TEST_F(Parser, APointIsReportedWithTheHostsListing) {
    const ZcDbObjectId point = add(new ZcDbPoint({1, 2, 0}));
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, point, ZcDb::kForRead), Zcad::eOk);
    const std::wstring text = entity->listing();
    entity->close();
    // The listing on the command line: each of its lines on a line of its own.
    std::string listing;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = std::min(text.find(L'\n', begin), text.size());
        listing += "\n" + win::Narrow(text.substr(begin, end - begin));
        begin = end + 1;
    }
    ASSERT_NE(listing.find("\nHandle: " + handleOf(point)), std::string::npos) << listing;

    out.clear();
    Polygons parts;
    const std::size_t before = liveEntities().size();
    DwgParser().Parse(point, 20, parts);
    EXPECT_EQ(out,
              "\nDwgParser::polygonify  is not implemented yet for this kind of entity: ZcDbPoint" +
                  listing);
    EXPECT_TRUE(parts.IsEmpty());
    EXPECT_EQ(liveEntities().size(), before);
}

TEST_F(Parser, CountMakesOnePieceAndOneCleanWorkingCopyPerPiece) {
    const ZcDbObjectId part = addRectangle(0, 0, 10, 5);
    setPlaxen(part, {key(L"Count"), value(3), key(L"Rotable"), value(1)});
    const auto sourceData = xdataOf(part);
    const std::size_t before = liveEntities().size();

    Polygons parts;
    DwgParser().Parse(part, 20, parts);
    ASSERT_EQ(parts.Size(), 3);
    std::set<std::wstring> names;
    for (const NestPolygon& piece : parts) {
        names.insert(piece.Name());
        EXPECT_EQ(piece.Size(), 4);
        EXPECT_TRUE(piece.Rotatable());
        const ZcDbObjectId copy = ObjectId(piece.Name().c_str()).Id();
        ASSERT_FALSE(copy.isNull());
        EXPECT_NE(copy, part);
        EXPECT_FALSE(copy.isErased());
        EXPECT_TRUE(xdataOf(copy).empty()) << "a copy keeps no nesting data";
        EXPECT_EQ(extentsOf(copy).maxPoint().x, extentsOf(part).maxPoint().x);
    }
    EXPECT_EQ(names.size(), 3U);
    EXPECT_EQ(liveEntities().size(), before + 3);
    EXPECT_EQ(xdataOf(part), sourceData);
}

TEST_F(Parser, CountZeroOrBelowMakesNoPieceAndNoCopy) {
    for (const int count : {0, -2}) {
        const ZcDbObjectId part = addRectangle(0, 0, 10, 5);
        setPlaxen(part, {key(L"Count"), value(count)});
        const std::size_t before = liveEntities().size();
        Polygons parts;
        DwgParser().Parse(part, 20, parts);
        EXPECT_TRUE(parts.IsEmpty()) << count;
        EXPECT_EQ(liveEntities().size(), before) << count;
    }
}

TEST_F(Parser, KeysMatchInAnyCaseAndRotationFollowsRotable) {
    struct Case {
        std::vector<Item> items;
        bool present;
        int count;
        bool rotatable;
    };
    const std::vector<Case> cases = {
        {{key(L"count"), value(2), key(L"ROTABLE"), value(0)}, true, 2, false},
        {{key(L"Count"), value(1)}, true, 1, false},  // data without "Rotable"
        {{}, false, 1, true},                         // no data at all
        {{key(L"Rotable"), value(5)}, true, 1, true}, // any value but 0 allows it
        // A key as the last item, or with a value that is no integer, is missing.
        {{key(L"Rotable"), value(1), key(L"Count")}, true, 1, true},
        {{key(L"Count"), key(L"3")}, true, 1, false},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const ZcDbObjectId part = addCircle(0, 0, 5);
        if (!cases[i].items.empty()) {
            setPlaxen(part, cases[i].items);
        }
        const PlaxenData data(part);
        EXPECT_EQ(data.Present(), cases[i].present) << i;
        EXPECT_EQ(data.Count(), cases[i].count) << i;
        Polygons parts;
        DwgParser().Parse(part, 20, parts);
        ASSERT_EQ(parts.Size(), cases[i].count) << i;
        for (const NestPolygon& piece : parts) {
            EXPECT_EQ(piece.Rotatable(), cases[i].rotatable) << i;
        }
    }
}

TEST_F(Parser, BlockAreaIsTheLargestOutlineOfItsContentsScaled) {
    const ZcDbObjectId block = newBlock(L"PLATE");
    addRectangle(0, 0, 10, 5, block);
    addRectangle(2, 2, 1, 1, block);
    const ZcDbObjectId reference = addReference(block, {30, 0, 0}, ZcGeScale3d(2, 3, 1));
    EXPECT_NEAR(NestBlockAreaReader(&db()).Area(reference), 10 * 5 * 2 * 3, 1e-9);
}

TEST_F(Parser, NestDwgLoadsTheSheetAndEveryPieceOfTheParts) {
    NestDWG run{NestSettings{}};
    const ZcDbObjectId sheet = addRectangle(0, 0, 100, 50);
    run.LoadSheet(sheet);
    EXPECT_EQ(run.SheetId(), sheet);
    EXPECT_EQ(run.Sheet().Size(), 4);
    EXPECT_EQ(run.Sheet().Name(), HandleOf(sheet));

    const ZcDbObjectId a = addRectangle(0, 0, 10, 5);
    setPlaxen(a, {key(L"Count"), value(2)});
    const ZcDbObjectId text = add(new ZcDbText({0, 0, 0}, L"note"));
    const ZcDbObjectId b = addCircle(0, 0, 3);
    NestEntities selected;
    for (const ZcDbObjectId& id : {a, text, b}) {
        selected.Add({id});
    }
    run.LoadParts(selected);
    ASSERT_EQ(run.Parts().Size(), 3);
    EXPECT_EQ(run.Parts()[0].Size(), 4);
    // The circle's piece covers the circle, not only its 20 sampled points: every edge keeps
    // the centre at least a radius away, and the cover stays close to the circle.
    const NestPolygon& disc = run.Parts()[2];
    ASSERT_GE(disc.Size(), 20);
    for (int i = 0; i < disc.Size(); ++i) {
        const GePoint& p = disc[i];
        const GePoint& q = disc[(i + 1) % disc.Size()];
        const double edge = Distance(p, q);
        const double centreToEdge = std::fabs(p.x * q.y - q.x * p.y) / edge;
        EXPECT_GE(centreToEdge, 3.0 - 1e-6) << i;
        EXPECT_LE(Distance(p, GePoint(0, 0)), 3.0 * 1.02) << i;
    }

    // An object without outline leaves the sheet empty.
    run.LoadSheet(text);
    EXPECT_TRUE(run.Sheet().IsEmpty());
    EXPECT_EQ(run.SheetId(), text);
}

TEST(FormatPackText, FillsMatchingConversionsAndOtherwiseKeepsTextAndValues) {
    EXPECT_EQ(FormatPackText(L"%d of %i, %d left (100%%)", {5, 3, 2}), L"5 of 3, 2 left (100%)");
    EXPECT_EQ(FormatPackText(L"width %0.2f", {12.345}), L"width 12.35");
    EXPECT_EQ(FormatPackText(L"used %lf%%", {64.0}), L"used 64.000000%");
    // Missing pack, wrong conversions, too few or too many of them: the text, then the values.
    EXPECT_EQ(FormatPackText(L"failed to load resource", {3, 2, 1}),
              L"failed to load resource 3 2 1");
    EXPECT_EQ(FormatPackText(L"%s parts", {3}), L"%s parts 3");
    EXPECT_EQ(FormatPackText(L"%d parts", {2.5}), L"%d parts 2.5");
    EXPECT_EQ(FormatPackText(L"%d %d", {1}), L"%d %d 1");
    EXPECT_EQ(FormatPackText(L"100%", {}), L"100%");
}

} // namespace
} // namespace gantrel
