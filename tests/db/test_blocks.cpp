// Invariants of block references:
// - the block transform moves the block's origin to the insertion point after scaling and
//   rotating; extents and explode go through the block's entities placed by it (for MINSERT,
//   by every row and column);
// - after transformBy(M) the block transform is M times the old one, or the reference refuses
//   (eNotApplicable) and stays as it was when M would shear its block;
// - attributes belong to their reference: they join the database with it, move with it, are
//   erased with it, and a clone owns copies of them;
// - a block that contains itself is reported, never followed forever;
// - measuring or exploding a reference leaves its block's contents as they are, a dimension's
//   own drawing included.
#include <gtest/gtest.h>

#include <memory>

#include "curve_checks.h"
#include "zcdball.h"

using curve_checks::near;

namespace {

constexpr double kDeg = kPi / 180.0;

ZcDbObjectId appendTo(ZcDbObjectId blockId, ZcDbEntity* entity) {
    ZcDbBlockTableRecord* block = nullptr;
    EXPECT_EQ(zcdbOpenObject(block, blockId, ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(block->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    block->close();
    return id;
}

// Block "PART" with origin (10, 0): a line (10,0)-(20,0), a circle at (15, 5) of radius 2, and
// an attribute definition that references do not draw.
ZcDbObjectId makePartBlock(ZcDbDatabase& db, const wchar_t* name = L"PART") {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbBlockTableRecord;
    record->setName(name);
    record->setOrigin({10, 0, 0});
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Zcad::eOk);
    record->close();
    table->close();
    appendTo(id, new ZcDbLine({10, 0, 0}, {20, 0, 0}));
    appendTo(id, new ZcDbCircle({15, 5, 0}, ZcGeVector3d::kZAxis, 2.0));
    appendTo(id, new ZcDbAttributeDefinition({100, 100, 0}, L"", L"NAME", L"Name?"));
    return id;
}

void expectMatrixNear(const ZcGeMatrix3d& a, const ZcGeMatrix3d& b) {
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            EXPECT_NEAR(a.entry[i][j], b.entry[i][j], 1e-9) << i << "," << j;
}

std::vector<std::unique_ptr<ZcDbEntity>> explodeOwned(const ZcDbEntity& e) {
    ZcDbVoidPtrArray set;
    EXPECT_EQ(e.explode(set), Zcad::eOk);
    std::vector<std::unique_ptr<ZcDbEntity>> out;
    for (void* p : set)
        out.emplace_back(static_cast<ZcDbEntity*>(p));
    return out;
}

TEST(BlockReference, ExtentsGoThroughTheScaledRotatedBlock) {
    ZcDbDatabase db;
    const ZcDbObjectId block = makePartBlock(db);
    ZcDbBlockReference ref({100, 50, 0}, block);
    ref.setScaleFactors(ZcGeScale3d(2.0));
    ref.setRotation(90 * kDeg);
    EXPECT_TRUE(near(ref.blockTransform() * ZcGePoint3d(10, 0, 0), {100, 50, 0}, 1e-12))
        << "the block origin lands on the insertion point";
    ZcDbExtents ext;
    ASSERT_EQ(ref.getGeomExtents(ext), Zcad::eOk);
    // The circle lands at (90, 60) with radius 4, the line from (100, 50) to (100, 70).
    EXPECT_TRUE(near(ext.minPoint(), {86, 50, 0}, 1e-9));
    EXPECT_TRUE(near(ext.maxPoint(), {100, 70, 0}, 1e-9));

    const auto pieces = explodeOwned(ref);
    ASSERT_EQ(pieces.size(), 2u) << "the attribute definition is not drawn";
    const auto* circle = ZcDbCircle::cast(pieces[1].get());
    ASSERT_NE(circle, nullptr);
    EXPECT_TRUE(near(circle->center(), {90, 60, 0}, 1e-12));
    EXPECT_NEAR(circle->radius(), 4.0, 1e-12);
}

TEST(BlockReference, NonUniformScaleTurnsCirclesIntoEllipses) {
    ZcDbDatabase db;
    const ZcDbObjectId block = makePartBlock(db);
    ZcDbBlockReference ref({0, 0, 0}, block);
    ref.setScaleFactors(ZcGeScale3d(3.0, 1.0, 1.0));
    ZcDbExtents ext;
    ASSERT_EQ(ref.getGeomExtents(ext), Zcad::eOk);
    EXPECT_TRUE(near(ext.minPoint(), {0, 0, 0}, 1e-9));
    EXPECT_TRUE(near(ext.maxPoint(), {30, 7, 0}, 1e-9));
    const auto pieces = explodeOwned(ref);
    ASSERT_EQ(pieces.size(), 2u);
    const auto* ellipse = ZcDbEllipse::cast(pieces[1].get());
    ASSERT_NE(ellipse, nullptr);
    double area = 0.0;
    ellipse->getArea(area);
    EXPECT_NEAR(area, kPi * 6.0 * 2.0, 1e-9);
}

TEST(MInsert, ExtentsCoverEveryRowAndColumn) {
    ZcDbDatabase db;
    const ZcDbObjectId block = makePartBlock(db);
    ZcDbMInsertBlock grid;
    grid.setBlockTableRecord(block);
    grid.setColumns(3);
    grid.setRows(2);
    grid.setColumnSpacing(30.0);
    grid.setRowSpacing(40.0);
    EXPECT_EQ(grid.placements().size(), 6u);
    ZcDbExtents ext;
    ASSERT_EQ(grid.getGeomExtents(ext), Zcad::eOk);
    EXPECT_TRUE(near(ext.minPoint(), {0, 0, 0}, 1e-9));
    EXPECT_TRUE(near(ext.maxPoint(), {70, 47, 0}, 1e-9));
    EXPECT_EQ(explodeOwned(grid).size(), 12u);

    // Rows and columns follow the rotation, not the scale.
    grid.setRotation(90 * kDeg);
    grid.setScaleFactors(ZcGeScale3d(0.5));
    ASSERT_EQ(grid.getGeomExtents(ext), Zcad::eOk);
    EXPECT_TRUE(near(ext.minPoint(), {-43.5, 0, 0}, 1e-9));
    EXPECT_TRUE(near(ext.maxPoint(), {0, 65, 0}, 1e-9));

    const ZcGeMatrix3d move = ZcGeMatrix3d::translation({5, 5, 0}) * ZcGeMatrix3d::scaling(2.0) *
                              ZcGeMatrix3d::rotation(20 * kDeg, ZcGeVector3d::kZAxis);
    const std::vector<ZcGeMatrix3d> before = grid.placements();
    ASSERT_EQ(grid.transformBy(move), Zcad::eOk);
    const std::vector<ZcGeMatrix3d> after = grid.placements();
    for (std::size_t i = 0; i < before.size(); ++i)
        expectMatrixNear(after[i], move * before[i]);
}

TEST(BlockReference, TransformComposesWithTheBlockTransform) {
    ZcDbDatabase db;
    const ZcDbObjectId block = makePartBlock(db);
    const ZcGeMatrix3d moves[] = {
        ZcGeMatrix3d::translation({3, -2, 1}) *
            ZcGeMatrix3d::rotation(33 * kDeg, ZcGeVector3d::kZAxis),
        ZcGeMatrix3d::scaling(2.5, {1, 1, 0}),
        ZcGeMatrix3d::mirroring({0, 4, 0}, {1, 1, 0}),
        ZcGeMatrix3d::rotation(70 * kDeg, {1, 0, 0}),
    };
    for (const ZcGeMatrix3d& move : moves) {
        ZcDbBlockReference ref({7, 8, 0}, block);
        ref.setRotation(15 * kDeg);
        ref.setScaleFactors(ZcGeScale3d(1.5, 0.5, 1.0));
        const ZcGeMatrix3d before = ref.blockTransform();
        ASSERT_EQ(ref.transformBy(move), Zcad::eOk);
        expectMatrixNear(ref.blockTransform(), move * before);
    }
    // Stretching along an axis the rotated block does not share would shear it.
    ZcDbBlockReference ref({7, 8, 0}, block);
    ref.setRotation(30 * kDeg);
    EXPECT_EQ(ref.transformBy(ZcGeMatrix3d::scaling(ZcGeScale3d(2, 1, 1))), Zcad::eNotApplicable);
    EXPECT_EQ(ref.position(), ZcGePoint3d(7, 8, 0));
    EXPECT_EQ(ref.scaleFactors(), ZcGeScale3d(1.0));
}

TEST(BlockReference, AttributesLiveAndDieWithTheirReference) {
    ZcDbDatabase db;
    const ZcDbObjectId block = makePartBlock(db);
    auto* ref = new ZcDbBlockReference({0, 0, 0}, block);
    auto* attribute = new ZcDbAttribute;
    attribute->setTag(L"NAME");
    attribute->setTextString(L"Bracket");
    attribute->setPosition({1, 1, 0});
    ASSERT_EQ(ref->appendAttribute(attribute), Zcad::eOk);
    EXPECT_EQ(ref->pendingAttributes().size(), 1u);
    std::unique_ptr<ZcDbBlockReference> copy(static_cast<ZcDbBlockReference*>(ref->clone()));

    const ZcDbObjectId id = appendTo(db.modelSpaceId(), ref);
    ZcDbBlockReference* opened = nullptr;
    ASSERT_EQ(zcdbOpenObject(opened, id, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_TRUE(opened->pendingAttributes().empty());
    const std::vector<ZcDbObjectId> attributes = opened->attributeIds();
    ASSERT_EQ(attributes.size(), 1u);
    ASSERT_EQ(opened->transformBy(ZcGeMatrix3d::translation({10, 0, 0})), Zcad::eOk);
    ZcDbAttribute* a = nullptr;
    ASSERT_EQ(zcdbOpenObject(a, attributes[0], ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(a->ownerId(), id);
    EXPECT_TRUE(near(a->position(), {11, 1, 0}, 1e-12)) << "attributes move with the reference";
    a->close();

    const auto pieces = explodeOwned(*opened);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_NE(ZcDbAttribute::cast(pieces[2].get()), nullptr) << "attributes come last";

    ASSERT_EQ(opened->erase(), Zcad::eOk);
    EXPECT_TRUE(attributes[0].isErased());
    opened->close();
    EXPECT_EQ(db.openObjectCount(), 0);

    // The clone made before owns its own copy, untouched by all of this.
    ASSERT_EQ(copy->pendingAttributes().size(), 1u);
    EXPECT_TRUE(near(copy->pendingAttributes()[0]->position(), {1, 1, 0}));
}

TEST(BlockReference, BlockContainingItselfIsReported) {
    ZcDbDatabase db;
    const ZcDbObjectId block = makePartBlock(db, L"LOOP");
    appendTo(block, new ZcDbBlockReference({1, 1, 0}, block));
    ZcDbBlockReference ref({0, 0, 0}, block);
    ZcDbExtents ext;
    EXPECT_EQ(ref.getGeomExtents(ext), Zcad::eSelfReference);

    ZcDbBlockReference unknown({0, 0, 0}, ZcDbObjectId::kNull);
    EXPECT_EQ(unknown.getGeomExtents(ext), Zcad::eInvalidExtents);
    EXPECT_EQ(unknown.setBlockTableRecord(db.layerTableId()), Zcad::eWrongObjectType);
}

// A block holding a dimension whose drawing is an anonymous block of world-coordinate lines,
// as our reader links it: measuring and exploding references to it again and again neither
// moves that drawing nor lets the references' extents wander.
TEST(BlockReference, MeasuringADimensionInsideLeavesItsDrawingAlone) {
    ZcDbDatabase db;
    ZcDbBlockTable* table = nullptr;
    ASSERT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* drawing = new ZcDbBlockTableRecord;
    drawing->setName(L"*D1");
    ZcDbObjectId drawingId;
    ASSERT_EQ(table->add(drawingId, drawing), Zcad::eOk);
    drawing->close();
    auto* part = new ZcDbBlockTableRecord;
    part->setName(L"BRACKET");
    ZcDbObjectId partId;
    ASSERT_EQ(table->add(partId, part), Zcad::eOk);
    part->close();
    table->close();
    const ZcDbObjectId dimLine = appendTo(drawingId, new ZcDbLine({0, -25, 0}, {300, -25, 0}));
    appendTo(partId, new ZcDbLine({0, 0, 0}, {300, 0, 0}));
    auto* dimension = new ZcDbAlignedDimension({0, 0, 0}, {300, 0, 0}, {150, -25, 0});
    ASSERT_EQ(dimension->setDimBlockId(drawingId), Zcad::eOk);
    appendTo(partId, dimension);

    const ZcDbBlockReference reference({1000, 500, 0}, partId);
    for (int round = 0; round < 3; ++round) {
        ZcDbExtents ext;
        ASSERT_EQ(reference.getGeomExtents(ext), Zcad::eOk);
        EXPECT_TRUE(near(ext.minPoint(), {1000, 475, 0}, 1e-9)) << round;
        EXPECT_TRUE(near(ext.maxPoint(), {1300, 500, 0}, 1e-9)) << round;
        explodeOwned(reference);
    }
    ZcDbLine* line = nullptr;
    ASSERT_EQ(zcdbOpenObject(line, dimLine, ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(near(line->startPoint(), {0, -25, 0}, 1e-12));
    EXPECT_TRUE(near(line->endPoint(), {300, -25, 0}, 1e-12));
    line->close();
}

} // namespace
