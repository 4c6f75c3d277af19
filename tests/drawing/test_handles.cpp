// Handles over drawing objects.
//
// Invariants checked here:
// - a handle never leaves an object open: after every call the database has no open object
//   (checked after each test by the fixture);
// - every operation returns its status and keeps it as the handle's last status;
// - a null id answers 374, an erased object 80 through Entity and 20 through a class-checked
//   handle, an object of another class 21 (ZWBlockIns and Polyline2D then forget their id);
// - a handle only reads or changes what its operation names.
#include <cmath>

#include "DrawingTest.h"
#include "drawing/BlockHandles.h"
#include "drawing/Curve.h"
#include "drawing/Doubles.h"
#include "drawing/Entity.h"
#include "zcdball.h"

using namespace gantrel;

namespace {

class HandleTest : public DrawingTest {};

// Runs every Entity operation on the handle and checks that each answers status.
void ExpectEveryEntityOperation(Entity& e, int status) {
    ZcDbExtents extents;
    EXPECT_EQ(e.Open(ZcDb::kForRead), status);
    EXPECT_FALSE(e.IsOpen());
    EXPECT_EQ(e.Erase(), status);
    EXPECT_EQ(e.GetGeomExtents(extents), status);
    EXPECT_EQ(e.Highlight(1), status);
    EXPECT_EQ(e.SetColorIndex(3), status);
    EXPECT_EQ(e.SetLayer(L"0"), status);
    EXPECT_EQ(e.TransformBy(ZcGeMatrix3d::translation({1, 0, 0})), status);
    EXPECT_EQ(e.Status(), status);
}

} // namespace

TEST_F(HandleTest, NullErasedAndWrongClassStatusesOfEveryOperation) {
    Entity none;
    EXPECT_EQ(none.Status(), 374);
    ExpectEveryEntityOperation(none, 374);
    EXPECT_TRUE(none.HandleString().empty());
    EXPECT_FALSE(none.IsLine());

    const ZcDbObjectId line = addLine(0, 0, 10, 0);
    erase(line);
    Entity erased(line);
    ExpectEveryEntityOperation(erased, 80);
    EXPECT_EQ(erased.IsValid(), 80);
    EXPECT_FALSE(erased.IsLine()); // an erased object does not open for the class test
    // The handle text stays readable for messages about the erased object.
    EXPECT_EQ(erased.HandleString(), std::wstring(line.handle().text()));

    // A class-checked handle opens without the erased test first: it cannot open the object.
    Curve curve(line);
    EXPECT_EQ(curve.Open(ZcDb::kForRead), 20);
    ZcGePoint3d p;
    EXPECT_EQ(curve.StartPoint(p), 20);
    ZWLine lineHandle(line);
    EXPECT_EQ(lineHandle.StartPoint(p), 20);

    // Wrong classes.
    const ZcDbObjectId circle = addCircle(0, 0, 1);
    EXPECT_EQ(ZWLine(circle).EndPoint(p), 21);
    EXPECT_EQ(ZWArc(circle).StartPoint(p), 21);
    EXPECT_EQ(ZWPolyline(circle).SetClosed(true), 21);
    EXPECT_EQ(ZWSpline(circle).Open(ZcDb::kForRead), 21);
    double area = 0;
    EXPECT_EQ(ZWRegion(circle).Area(area), 21);
    EXPECT_EQ(ZWHatch(circle).Area(area), 21);
    EXPECT_EQ(ZWText(circle).Erase(), 21);
    EXPECT_EQ(ZWMText(circle).Highlight(1), 21);
    EXPECT_EQ(ZWPoint(circle).SetColorIndex(1), 21);
    EXPECT_EQ(AlignedDimension(circle).TransformBy(ZcGeMatrix3d()), 21);
    EXPECT_EQ(Vertex2d(circle).Position(p), 21);
    // The wrong-class calls changed nothing.
    EXPECT_TRUE(Entity(circle).IsCircle());
    EXPECT_EQ(Curve(circle).Area(area), 0);
    EXPECT_NEAR(area, kPi, 1e-12);
    // An entity handle on a drawing object that is not an entity: a block table record.
    EXPECT_EQ(Entity(db().modelSpaceId()).Open(ZcDb::kForRead), 20077);
}

TEST_F(HandleTest, BlockReferenceAndPolyline2DForgetTheirIdOnAnotherClass) {
    const ZcDbObjectId line = addLine(0, 0, 1, 0);
    ZWBlockIns reference(line);
    EXPECT_EQ(reference.Open(ZcDb::kForRead), 21);
    EXPECT_TRUE(reference.Id().isNull());
    EXPECT_TRUE(reference.BlockTableRecord().isNull());
    EXPECT_EQ(reference.Status(), 374);
    EXPECT_EQ(ZWBlockIns(line).InsertionPoint(), ZcGePoint3d::kOrigin);
    EXPECT_EQ(ZWBlockIns(line).ScaleFactors(), ZcGeScale3d());
    EXPECT_THROW(ZWBlockIns(line).BlockTransform(), HostStatusError);

    Polyline2D polyline(line);
    try {
        polyline.VertexPositions();
        ADD_FAILURE() << "a line has no vertices to read";
    } catch (const HostStatusError& e) {
        EXPECT_EQ(e.status, 21);
    }
    EXPECT_TRUE(polyline.Id().isNull());
    // A plain curve handle keeps its id.
    ZWArc arc(line);
    ZcGePoint3d p;
    EXPECT_EQ(arc.StartPoint(p), 21);
    EXPECT_EQ(arc.Id(), line);
}

TEST_F(HandleTest, ClassTestsAnswerForTheirOwnClassOnly) {
    const ZcDbObjectId line = addLine(0, 0, 1, 0);
    const ZcDbObjectId arc = addArc(0, 0, 1, 0, 1);
    const ZcDbObjectId polyline = addRectangle(0, 0, 1, 1);
    const ZcDbObjectId region = addRegion({{0, 0}, {1, 0}, {0, 1}});
    const ZcDbObjectId point = add(new ZcDbPoint({1, 2, 3}));
    const Entity l(line), a(arc), p(polyline), r(region), pt(point);
    EXPECT_TRUE(l.IsLine() && l.IsCurve());
    EXPECT_FALSE(l.IsArc() || l.IsPolyline() || l.IsRegion() || l.IsBlockReference());
    EXPECT_TRUE(a.IsArc() && a.IsCurve() && !a.IsCircle());
    EXPECT_TRUE(p.IsPolyline() && !p.Is2dPolyline() && !p.IsSpline());
    EXPECT_TRUE(r.IsRegion() && !r.IsCurve() && !r.IsHatch());
    EXPECT_TRUE(pt.IsPoint() && !pt.IsText() && !pt.IsMText() && !pt.IsAlignedDimension());
    EXPECT_TRUE(ZWArc(arc).IsKindOf());
    EXPECT_FALSE(ZWArc(line).IsKindOf());
    EXPECT_TRUE(Curve(arc).IsKindOf());
}

TEST_F(HandleTest, EntityOperationsChangeTheObject) {
    const ZcDbObjectId line = addLine(0, 0, 10, 0);
    Entity e(line);
    EXPECT_EQ(e.SetColorIndex(5), 0);
    EXPECT_EQ(e.TransformBy(ZcGeMatrix3d::translation({0, 2, 0})), 0);
    EXPECT_EQ(e.SetLayer(L"NoSuchLayer"), Zcad::eKeyNotFound);
    ZcDbExtents extents;
    EXPECT_EQ(e.GetGeomExtents(extents), 0);
    EXPECT_EQ(extents.minPoint(), ZcGePoint3d(0, 2, 0));
    EXPECT_EQ(extents.maxPoint(), ZcGePoint3d(10, 2, 0));
    EXPECT_EQ(e.Highlight(1), 0);
    ZcDbLine* host = nullptr;
    ASSERT_EQ(zcdbOpenObject(host, line, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(host->colorIndex(), 5);
    EXPECT_TRUE(host->isHighlighted());
    EXPECT_EQ(host->layer(), L"0");
    host->close();
    EXPECT_EQ(e.Highlight(0), 0);
    EXPECT_EQ(e.Erase(), 0);
    EXPECT_TRUE(line.isErased());
    EXPECT_EQ(e.Erase(), 80);
}

TEST_F(HandleTest, CurveReadsAndEndpointChoice) {
    const ZcDbObjectId line = addLine(0, 0, 10, 0);
    Curve c(line);
    ZcGePoint3d p;
    EXPECT_EQ(c.StartPoint(p), 0);
    EXPECT_EQ(p, ZcGePoint3d(0, 0, 0));
    EXPECT_EQ(c.EndPoint(p), 0);
    EXPECT_EQ(p, ZcGePoint3d(10, 0, 0));
    bool closed = true;
    EXPECT_EQ(c.IsClosed(closed), 0);
    EXPECT_FALSE(closed);
    double value = 0;
    EXPECT_EQ(c.ParamAtClosestPoint({3, 5, 0}, value), 0);
    EXPECT_NEAR(value, 3.0, 1e-9);
    EXPECT_EQ(c.DistanceToClosestPoint({7, -1, 0}, value), 0);
    EXPECT_NEAR(value, 7.0, 1e-9);
    EXPECT_EQ(c.NearerEndpoint({2, 1, 0}), ZcGePoint3d(0, 0, 0));
    EXPECT_EQ(c.FartherEndpoint({2, 1, 0}), ZcGePoint3d(10, 0, 0));
    // Equally far from both ends: both answer the end point.
    EXPECT_EQ(c.NearerEndpoint({5, 3, 0}), ZcGePoint3d(10, 0, 0));
    EXPECT_EQ(c.FartherEndpoint({5, 3, 0}), ZcGePoint3d(10, 0, 0));

    const ZcDbObjectId square = addRectangle(0, 0, 4, 3);
    EXPECT_EQ(Curve(square).Area(value), 0);
    EXPECT_NEAR(value, 12.0, 1e-12);
    EXPECT_EQ(ZWPolyline(square).SetClosed(false), 0);
    EXPECT_EQ(Curve(square).IsClosed(closed), 0);
    EXPECT_FALSE(closed);

    erase(line);
    EXPECT_THROW(Curve(line).NearerEndpoint({0, 0, 0}), HostStatusError);
    EXPECT_THROW(Curve(line).FartherEndpoint({0, 0, 0}), HostStatusError);
}

TEST_F(HandleTest, BlockReferenceAndDefinition) {
    const ZcDbObjectId block = newBlock(L"PART");
    const ZcDbObjectId first = addLine(0, 0, 1, 0, block);
    const ZcDbObjectId second = addCircle(0, 0, 1, block);
    const ZcDbObjectId ref = addReference(block, {5, 6, 0}, ZcGeScale3d(2, 3, 1), kPi / 2);
    ZWBlockIns reference(ref);
    EXPECT_EQ(reference.BlockTableRecord(), block);
    EXPECT_EQ(reference.InsertionPoint(), ZcGePoint3d(5, 6, 0));
    EXPECT_EQ(reference.ScaleFactors(), ZcGeScale3d(2, 3, 1));
    const ZcGePoint3d placed = reference.BlockTransform() * ZcGePoint3d(1, 0, 0);
    EXPECT_NEAR(placed.x, 5, 1e-12);
    EXPECT_NEAR(placed.y, 8, 1e-12);

    // The definition from the reference and from the record alike, entities in record order.
    for (const ZcDbObjectId& from : {ref, block}) {
        ZWBlockDef definition(from);
        EXPECT_EQ(definition.Id(), block);
        EXPECT_TRUE(definition.IsBlockTableRecord());
        std::vector<ZcDbObjectId> ids;
        EXPECT_EQ(definition.EntityIds(ids), 0);
        EXPECT_EQ(ids, (std::vector<ZcDbObjectId>{first, second}));
    }
    // An erased reference answers the defaults, and its transform throws.
    erase(ref);
    ZWBlockIns erased(ref);
    EXPECT_TRUE(erased.BlockTableRecord().isNull());
    EXPECT_EQ(erased.Status(), 20);
    EXPECT_EQ(erased.InsertionPoint(), ZcGePoint3d::kOrigin);
    EXPECT_EQ(erased.ScaleFactors(), ZcGeScale3d());
    EXPECT_THROW(erased.BlockTransform(), HostStatusError);
    EXPECT_EQ(erased.Id(), ref); // only another class forgets the id
    EXPECT_TRUE(ZWBlockDef(ref).Id().isNull());

    ZWBlockDef fromLine(first);
    EXPECT_TRUE(fromLine.Id().isNull());
    std::vector<ZcDbObjectId> ids;
    EXPECT_EQ(fromLine.EntityIds(ids), 374);
    EXPECT_FALSE(fromLine.IsBlockTableRecord());
    EXPECT_TRUE(ids.empty());
}

TEST_F(HandleTest, Polyline2DVerticesInOrder) {
    auto* polyline = new ZcDb2dPolyline;
    polyline->appendVertex(new ZcDb2dVertex({0, 0, 0}));
    polyline->appendVertex(new ZcDb2dVertex({4, 0, 0}, 0.5));
    polyline->appendVertex(new ZcDb2dVertex({4, 3, 0}));
    const ZcDbObjectId id = add(polyline);
    Polyline2D handle(id);
    EXPECT_EQ(handle.VertexPositions(),
              (std::vector<ZcGePoint3d>{{0, 0, 0}, {4, 0, 0}, {4, 3, 0}}));
    EXPECT_TRUE(Entity(id).Is2dPolyline());
    erase(id);
    EXPECT_THROW(Polyline2D(id).VertexPositions(), HostStatusError);
}

TEST_F(HandleTest, ObjectIdFromHandleText) {
    const ZcDbObjectId line = addLine(0, 0, 1, 0);
    const std::wstring text = line.handle().text();
    ObjectId byHandle(text.c_str());
    EXPECT_EQ(byHandle.Status(), 0);
    EXPECT_EQ(byHandle.Id(), line);
    EXPECT_EQ(byHandle.HandleString(), text);
    EXPECT_EQ(byHandle.IsValid(), 0);
    ObjectId unknown(L"FFFFF");
    EXPECT_NE(unknown.Status(), 0);
    EXPECT_TRUE(unknown.Id().isNull());
    EXPECT_EQ(unknown.IsValid(), 374);
}

TEST(Doubles, MinimumOfPresentValues) {
    Doubles none;
    EXPECT_FALSE(none.Min().present);
    Doubles some;
    some.Add(Dbl(3.5));
    some.Add(Dbl()); // absent: no value to compare
    some.Add(Dbl(-1.25));
    some.Add(Dbl(2.0));
    const Dbl min = some.Min();
    EXPECT_TRUE(min.present);
    EXPECT_EQ(min.value, -1.25);
}
