// "QuickBlock", "AddToBlock" and "RemoveFromBlock" run by scripts through gantrel; the block
// definitions and references they leave are read back from the saved drawing.
#include "ToolsRun.h"

#include <cmath>
#include <string>

#include "zcdball.h"

using gantrel::testing::CountOf;
using gantrel::testing::Outcome;

namespace {

ZcDbExtents ExtentsOf(ZcDbObjectId id) {
    ZcDbEntity* entity = nullptr;
    ZcDbExtents extents;
    if (zcdbOpenObject(entity, id, ZcDb::kForRead) == Zcad::eOk) {
        entity->getGeomExtents(extents);
        entity->close();
    }
    return extents;
}

std::wstring BlockNameOf(ZcDbObjectId reference) {
    ZcDbBlockReference* ref = nullptr;
    ZcDbBlockTableRecord* block = nullptr;
    std::wstring name;
    if (zcdbOpenObject(ref, reference, ZcDb::kForRead) != Zcad::eOk)
        return name;
    if (zcdbOpenObject(block, ref->blockTableRecord(), ZcDb::kForRead) == Zcad::eOk) {
        name = block->name();
        block->close();
    }
    ref->close();
    return name;
}

} // namespace

using QuickBlockRun = ToolsRun;

TEST_F(QuickBlockRun, PickedEntitiesBecomeOneReferenceShowingThemWhereTheyWere) {
    const std::string line = handleOf(addLine(0, 0, 10, 5));
    const std::string circle = handleOf(addCircle(20, 0, 2));
    const std::string later = handleOf(addLine(40, 40, 50, 45));
    const Outcome outcome = Run("select #" + line + " #" + circle +
                                "\nQuickBlock\n"
                                "QuickBlock\n#" +
                                later + "\n");
    EXPECT_EQ(CountOf(outcome.out, "Select objects"), 1u) << "the pre-picked run asks nothing";
    EXPECT_TRUE(ByHandle(line).isNull() && ByHandle(circle).isNull() && ByHandle(later).isNull());

    const std::vector<ZcDbObjectId> references = ModelSpace(ZcDbBlockReference::desc());
    ASSERT_EQ(references.size(), 2u) << outcome.out;
    EXPECT_EQ(BlockNameOf(references[0]), L"QuickBlock_1");
    EXPECT_EQ(BlockNameOf(references[1]), L"QuickBlock_2");
    const ZcDbExtents first = ExtentsOf(references[0]);
    EXPECT_TRUE(first.minPoint().isEqualTo({0, -2, 0})) << "the same extents as the sources";
    EXPECT_TRUE(first.maxPoint().isEqualTo({22, 5, 0}));
    EXPECT_EQ(BlockEntities(L"QuickBlock_1").size(), 2u);
    ZcDbBlockReference* ref = nullptr;
    ASSERT_EQ(zcdbOpenObject(ref, references[1], ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(ref->position().isEqualTo({40, 40, 0})) << "inserted at the lower corner";
    ref->close();
}

TEST_F(QuickBlockRun, ANameTakenInAnyLetterCaseIsPassedOver) {
    newBlock(L"quickblock_1");
    const std::string line = handleOf(addLine(0, 0, 1, 1));
    Run("select #" + line + "\nQuickBlock\n");
    const std::vector<ZcDbObjectId> references = ModelSpace(ZcDbBlockReference::desc());
    ASSERT_EQ(references.size(), 1u);
    EXPECT_EQ(BlockNameOf(references[0]), L"QuickBlock_2");
}

using AddToBlockRun = ToolsRun;

TEST_F(AddToBlockRun, EntitiesMoveByTheTranslationOnlyAndThePickedReferenceStays) {
    const ZcDbObjectId block = newBlock(L"B");
    addLine(0, 0, 1, 0, block);
    const std::string reference =
        handleOf(addReference(block, {100, 50, 0}, ZcGeScale3d(2.0), kPi / 6));
    const std::string line = handleOf(addLine(100, 50, 110, 50));
    const std::string circle = handleOf(addCircle(103, 54, 1));
    const Outcome outcome =
        Run("AddToBlock\n#" + line + " #" + circle + " #" + reference + "\n#" + reference + "\n");

    EXPECT_TRUE(ByHandle(line).isNull() && ByHandle(circle).isNull()) << outcome.out;
    ASSERT_FALSE(ByHandle(reference).isNull()) << "the picked reference stays";
    ZcDbBlockReference* ref = nullptr;
    ASSERT_EQ(zcdbOpenObject(ref, ByHandle(reference), ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(ref->position().isEqualTo({100, 50, 0}));
    EXPECT_NEAR(ref->rotation(), kPi / 6, 1e-12);
    ref->close();

    const std::vector<ZcDbObjectId> inside = BlockEntities(L"B");
    ASSERT_EQ(inside.size(), 3u);
    EXPECT_EQ(LineText(inside[1]), "0,0-10,0") << "shifted by the base point minus the insertion";
    ZcDbCircle* moved = nullptr;
    ASSERT_EQ(zcdbOpenObject(moved, inside[2], ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(moved->center().isEqualTo({3, 4, 0}));
    EXPECT_DOUBLE_EQ(moved->radius(), 1.0);
    moved->close();
}

using RemoveFromBlockRun = ToolsRun;

TEST_F(RemoveFromBlockRun, APickInsideAReferenceEmptiesTheDefinitionForEveryReference) {
    const ZcDbObjectId block = newBlock(L"B");
    const std::string horizontal = handleOf(addLine(0, 0, 10, 0, block));
    const std::string vertical = handleOf(addLine(0, 0, 0, 10, block));
    addReference(block, {100, 0, 0});
    addReference(block, {200, 0, 0});
    const std::string plain = handleOf(addLine(0, 50, 10, 50));
    const std::string kept = handleOf(addLine(0, 80, 10, 80));
    const Outcome outcome = Run("RemoveFromBlock\n500,500\n105,0\n5,50\n^C\n");

    EXPECT_NE(outcome.out.find("Nothing found at 500,500."), std::string::npos) << outcome.out;
    EXPECT_EQ(CountOf(outcome.out, "Select object: "), 4u) << "asked again after a miss";
    EXPECT_TRUE(ByHandle(horizontal).isNull());
    EXPECT_FALSE(ByHandle(vertical).isNull());
    EXPECT_EQ(BlockEntities(L"B").size(), 1u);
    EXPECT_EQ(ModelSpace(ZcDbBlockReference::desc()).size(), 2u);
    EXPECT_TRUE(ByHandle(plain).isNull()) << "a plain line of model space is erased";
    EXPECT_FALSE(ByHandle(kept).isNull());
}
