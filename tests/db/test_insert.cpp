// Invariants of inserting a side database as a block definition:
// - the new block holds copies of the source's model-space entities, in order, at the same
//   coordinates, with the source's insertion base as its origin;
// - references inside the source point at blocks of the target (existing ones of the same name
//   win), and layers and application names the copies use exist in the target;
// - the source database is left unchanged.
#include <gtest/gtest.h>

#include "zcdball.h"

namespace {

ZcDbObjectId append(ZcDbObjectId spaceId, ZcDbEntity* entity) {
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, spaceId, ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(space->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    space->close();
    return id;
}

ZcDbObjectId addBlock(ZcDbDatabase& db, const wchar_t* name) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbBlockTableRecord;
    record->setName(name);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Zcad::eOk);
    record->close();
    table->close();
    return id;
}

void addLayer(ZcDbDatabase& db, const wchar_t* name, std::int16_t color) {
    ZcDbLayerTable* table = nullptr;
    ASSERT_EQ(db.getLayerTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* layer = new ZcDbLayerTableRecord;
    layer->setName(name);
    layer->setColorIndex(color);
    ASSERT_EQ(table->add(layer), Zcad::eOk);
    layer->close();
    table->close();
}

std::vector<ZcDbObjectId> blockEntities(ZcDbObjectId block) {
    ZcDbBlockTableRecord* record = nullptr;
    EXPECT_EQ(zcdbOpenObject(record, block, ZcDb::kForRead), Zcad::eOk);
    std::vector<ZcDbObjectId> ids = record->entityIds();
    record->close();
    return ids;
}

TEST(SideDatabaseInsert, CopiesModelSpaceWithLayersBlocksAndApplications) {
    ZcDbDatabase source;
    addLayer(source, L"Cut", 1);
    source.setHeaderVar(L"INSBASE", ZcGePoint3d(5, 5, 0));
    const ZcDbObjectId bolt = addBlock(source, L"Bolt");
    append(bolt, new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 4));

    auto* line = new ZcDbLine({0, 0, 0}, {100, 0, 0});
    line->setLayer(L"Cut");
    ASSERT_EQ(zcdbRegApp(&source, L"Plaxen"), Zcad::eOk);
    const ZcDbObjectId lineId = append(source.modelSpaceId(), line);
    {
        ZcDbObject* obj = nullptr;
        ASSERT_EQ(zcdbOpenObject(obj, lineId, ZcDb::kForWrite), Zcad::eOk);
        resbuf* data = zcutBuildList(1001, L"Plaxen", 1000, L"Count", 1070, 2, 0);
        EXPECT_EQ(obj->setXData(data), Zcad::eOk);
        zcutRelRb(data);
        obj->close();
    }
    append(source.modelSpaceId(), new ZcDbBlockReference({50, 50, 0}, bolt));

    ZcDbDatabase target;
    const ZcDbObjectId existingBolt = addBlock(target, L"BOLT");
    ZcDbObjectId newBlock;
    ASSERT_EQ(target.insert(newBlock, L"Part", &source), Zcad::eOk);

    ZcDbBlockTableRecord* record = nullptr;
    ASSERT_EQ(zcdbOpenObject(record, newBlock, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(record->name(), L"Part");
    EXPECT_EQ(record->origin(), ZcGePoint3d(5, 5, 0));
    record->close();

    const std::vector<ZcDbObjectId> copies = blockEntities(newBlock);
    ASSERT_EQ(copies.size(), 2u);
    ZcDbLine* copiedLine = nullptr;
    ASSERT_EQ(zcdbOpenObject(copiedLine, copies[0], ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(copiedLine->endPoint(), ZcGePoint3d(100, 0, 0));
    EXPECT_EQ(copiedLine->layer(), L"Cut");
    EXPECT_EQ(copiedLine->database(), &target);
    resbuf* xdata = copiedLine->xData(L"Plaxen");
    EXPECT_NE(xdata, nullptr) << "extended data travels with the copy";
    zcutRelRb(xdata);
    copiedLine->close();

    ZcDbBlockReference* reference = nullptr;
    ASSERT_EQ(zcdbOpenObject(reference, copies[1], ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(reference->blockTableRecord(), existingBolt)
        << "the target's block of that name wins";
    reference->close();

    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(target.getLayerTable(layers, ZcDb::kForRead), Zcad::eOk);
    ZcDbObjectId cut;
    ASSERT_EQ(layers->getIdAt(L"Cut", cut), Zcad::eOk);
    layers->close();
    ZcDbLayerTableRecord* cutLayer = nullptr;
    ASSERT_EQ(zcdbOpenObject(cutLayer, cut, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(cutLayer->colorIndex(), 1);
    cutLayer->close();

    ZcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(target.getRegAppTable(apps, ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(apps->has(L"Plaxen"));
    apps->close();

    EXPECT_EQ(blockEntities(source.modelSpaceId()).size(), 2u) << "the source is unchanged";
    EXPECT_EQ(target.openObjectCount(), 0);
    EXPECT_EQ(source.openObjectCount(), 0);
}

TEST(SideDatabaseInsert, RefusesBadArgumentsAndTakenNames) {
    ZcDbDatabase source;
    ZcDbDatabase target;
    ZcDbObjectId block;
    EXPECT_EQ(target.insert(block, L"", &source), Zcad::eNullBlockName);
    EXPECT_EQ(target.insert(block, L"X", nullptr), Zcad::eInvalidInput);
    EXPECT_EQ(target.insert(block, L"X", &target), Zcad::eInvalidInput);
    addBlock(target, L"Taken");
    EXPECT_EQ(target.insert(block, L"taken", &source), Zcad::eDuplicateKey);
    EXPECT_TRUE(block.isNull());
}

} // namespace
