#include "DrawingTest.h"

#include "winhost.h"
#include "zcdball.h"

DrawingTest::DrawingTest() {
    session.transcript().setSink([this](std::string_view text) { out += text; });
    session.setInput(&input);
}

void DrawingTest::TearDown() {
    EXPECT_EQ(openObjects(), 0) << "an object was left open";
}

ZcDbObjectId DrawingTest::add(ZcDbEntity* entity, ZcDbObjectId block) {
    ZcDbBlockTableRecord* record = nullptr;
    const ZcDbObjectId target = block.isNull() ? db().modelSpaceId() : block;
    EXPECT_EQ(zcdbOpenObject(record, target, ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(record->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    record->close();
    return id;
}

ZcDbObjectId DrawingTest::addLine(double x1, double y1, double x2, double y2, ZcDbObjectId block) {
    return add(new ZcDbLine({x1, y1, 0}, {x2, y2, 0}), block);
}

ZcDbObjectId DrawingTest::addArc(double cx, double cy, double r, double start, double end,
                                 ZcDbObjectId block) {
    return add(new ZcDbArc({cx, cy, 0}, r, start, end), block);
}

ZcDbObjectId DrawingTest::addCircle(double cx, double cy, double r, ZcDbObjectId block) {
    return add(new ZcDbCircle({cx, cy, 0}, ZcGeVector3d::kZAxis, r), block);
}

ZcDbObjectId DrawingTest::addPolyline(const std::vector<std::array<double, 3>>& vertices,
                                      bool closed, ZcDbObjectId block) {
    auto* polyline = new ZcDbPolyline;
    for (unsigned int i = 0; i < vertices.size(); ++i) {
        polyline->addVertexAt(i, {vertices[i][0], vertices[i][1]}, vertices[i][2]);
    }
    polyline->setClosed(closed);
    return add(polyline, block);
}

ZcDbObjectId DrawingTest::addRectangle(double x, double y, double w, double h, ZcDbObjectId block) {
    return addPolyline({{x, y, 0}, {x + w, y, 0}, {x + w, y + h, 0}, {x, y + h, 0}}, true, block);
}

ZcDbObjectId DrawingTest::addRegion(const std::vector<ZcGePoint2d>& corners, ZcDbObjectId block) {
    ZcDbLoop loop;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        ZcDbLoopEdge edge;
        edge.kind = ZcDbLoopEdge::kLine;
        edge.start = corners[i];
        edge.end = corners[(i + 1) % corners.size()];
        loop.edges.push_back(edge);
    }
    auto* region = new ZcDbRegion;
    EXPECT_EQ(region->appendLoop(loop), Zcad::eOk);
    return add(region, block);
}

ZcDbObjectId DrawingTest::newBlock(const wchar_t* name) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db().getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbBlockTableRecord;
    record->setName(name);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Zcad::eOk);
    record->close();
    table->close();
    return id;
}

ZcDbObjectId DrawingTest::addReference(ZcDbObjectId block, const ZcGePoint3d& at,
                                       const ZcGeScale3d& scale, double rotation) {
    auto* reference = new ZcDbBlockReference(at, block);
    reference->setScaleFactors(scale);
    reference->setRotation(rotation);
    return add(reference);
}

void DrawingTest::erase(ZcDbObjectId id) {
    ZcDbObject* object = nullptr;
    ASSERT_EQ(zcdbOpenObject(object, id, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_EQ(object->erase(), Zcad::eOk);
    object->close();
}

std::string DrawingTest::handleOf(ZcDbObjectId id) const {
    return win::Narrow(id.handle().text());
}
