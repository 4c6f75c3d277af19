// Value lists: gathered for the editor in their stated order without repeats in any letter
// case, read from the references of a description block, added to and removed from the
// drawing's store.
#include "TakeoffTest.h"

#include "takeoff/PrzedmiarStore.h"
#include "takeoff/ValueLists.h"

#include "winhost.h"

namespace gantrel {
namespace {

using Lines = std::vector<std::wstring>;

TEST(GatherValueList, StoredThenDrawingThenCfgEachValueOnceInAnyCase) {
    EXPECT_EQ(GatherValueList({L"Brick wall", L"Roof", L"brick WALL"},
                              {L"Slab", L"ROOF", L"Stairs", L"slab"},
                              {L"Stairs", L"Attic", L"", L"attic"}),
              (Lines{L"Brick wall", L"Roof", L"Slab", L"Stairs", L"Attic", L""}));
    EXPECT_EQ(GatherValueList({}, {}, {}), Lines{});
}

TEST(WithoutRepeats, KeepsTheFirstOfExactRepeatsAndEveryCaseVariant) {
    EXPECT_EQ(WithoutRepeats({L"a", L"B", L"a", L"b", L"B", L"A"}),
              (Lines{L"a", L"B", L"b", L"A"}));
}

TEST_F(TakeoffTest, ReferenceValuesComeFromAttributesOrTheConstantDefinition) {
    const ZcDbObjectId block = addDescriptionBlock(
        L"AreaDescription", {{L"DESCRIPTION", false}, {L"LOCATION", false}, {L"KIND", true}});
    addLabel(block, {{L"description", L"Brick wall"}, {L"LOCATION", L"Roof"}});
    addLabel(block, {{L"DESCRIPTION", L""}, {L"KIND", L"own kind"}});
    addLabel(block, {{L"DESCRIPTION", L"brick wall"}, {L"LOCATION", L"Roof"}});
    addLabel(block, {{L"DESCRIPTION", L"Brick wall"}});
    // Another block's references do not count.
    const ZcDbObjectId other = addDescriptionBlock(L"Other", {{L"DESCRIPTION", false}});
    addLabel(other, {{L"DESCRIPTION", L"Elsewhere"}});

    EXPECT_EQ(ReferenceValues(block, L"DESCRIPTION"), (Lines{L"Brick wall", L"brick wall"}));
    EXPECT_EQ(ReferenceValues(block, L"LOCATION"), (Lines{L"Roof"}));
    // Three references lack the constant tag and show the definition's text.
    EXPECT_EQ(ReferenceValues(block, L"KIND"), (Lines{L"KIND?", L"own kind"}));
    EXPECT_EQ(ReferenceValues(block, L"NOSUCHTAG"), Lines{});
    EXPECT_EQ(ReferenceValues(ZcDbObjectId::kNull, L"DESCRIPTION"), Lines{});
}

TEST_F(TakeoffTest, GatheringReadsTheStoreTheReferencesAndTheCfg) {
    writeSuiteFile("Tallimo.cfg", "<DESCRIPTION>\nBrick wall\nCeramic tiles\n</DESCRIPTION>\n");
    const ZcDbObjectId block = addDescriptionBlock(L"LengthDescription", {{L"DESCRIPTION", false}});
    addLabel(block, {{L"DESCRIPTION", L"Handrail"}});
    addLabel(block, {{L"DESCRIPTION", L"CERAMIC TILES"}});
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"DESCRIPTION", {L"Skirting", L"handrail"}), Zcad::eOk);
    EXPECT_EQ(GatherTagValues(&db(), block, L"DESCRIPTION"),
              (Lines{L"Skirting", L"handrail", L"CERAMIC TILES", L"Brick wall"}));
}

TEST_F(TakeoffTest, AddingJoinsStoredFirstAndNothingToAddWritesNothing) {
    EXPECT_EQ(AddValues(&db(), L"LOCATION", {}), Zcad::eOk);
    ZcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(db().getRegAppTable(apps, ZcDb::kForRead), Zcad::eOk);
    EXPECT_FALSE(apps->has(L"LOCATION"));
    apps->close();

    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"LOCATION", {L"Roof", L"Roof", L"Attic"}), Zcad::eOk);
    EXPECT_EQ(AddValues(&db(), L"LOCATION", {}), Zcad::eOk);
    EXPECT_EQ(ReadValueList(&db(), L"LOCATION"), (Lines{L"Roof", L"Roof", L"Attic"}));
    EXPECT_EQ(AddValues(&db(), L"LOCATION", {L"Cellar", L"roof", L"Attic", L"Cellar"}), Zcad::eOk);
    EXPECT_EQ(ReadValueList(&db(), L"LOCATION"), (Lines{L"Roof", L"Attic", L"Cellar", L"roof"}));
}

TEST_F(TakeoffTest, RemovingTakesTheFirstMatchInAnyCaseAndNoMatchWritesNothing) {
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"LOCATION", {L"Roof", L"Attic", L"Roof", L"ROOF"}),
              Zcad::eOk);
    EXPECT_EQ(RemoveValue(&db(), L"LOCATION", L"Cellar"), Zcad::eOk);
    EXPECT_EQ(ReadValueList(&db(), L"LOCATION"), (Lines{L"Roof", L"Attic", L"Roof", L"ROOF"}));
    EXPECT_EQ(RemoveValue(&db(), L"LOCATION", L"roof"), Zcad::eOk);
    EXPECT_EQ(ReadValueList(&db(), L"LOCATION"), (Lines{L"Attic", L"ROOF"}));
    EXPECT_EQ(RemoveValue(&db(), L"LOCATION", L"Attic"), Zcad::eOk);
    EXPECT_EQ(RemoveValue(&db(), L"LOCATION", L"roof"), Zcad::eOk);
    EXPECT_EQ(ReadValueList(&db(), L"LOCATION"), Lines{});
    EXPECT_EQ(out, "");
}

TEST_F(TakeoffTest, AFailedWriteIsPrintedAndLeavesTheStoredList) {
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"LOCATION", {L"Roof"}), Zcad::eOk);
    ZcDbObjectId store;
    ASSERT_EQ(PrzedmiarDictionary(&db(), store), Zcad::eOk);
    ZcDbObject* held = nullptr;
    ASSERT_EQ(zcdbOpenObject(held, store, ZcDb::kForWrite), Zcad::eOk);
    const int status = AddValues(&db(), L"LOCATION", {L"Attic"});
    held->close();
    EXPECT_NE(status, Zcad::eOk);
    EXPECT_EQ(out, std::string(" es: ") +
                       win::Narrow(zcadErrorStatusText(static_cast<Zcad::ErrorStatus>(status))));
    EXPECT_EQ(ReadValueList(&db(), L"LOCATION"), Lines{L"Roof"});
}

} // namespace
} // namespace gantrel
