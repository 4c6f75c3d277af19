// Invariants of the database's object layer, observed through the interface only:
// - an id names one object for the database's lifetime; the null id names none;
// - an object is changed only while open for write, and every open is ended by close;
// - erased objects stay addressable by id and handle, but open only when asked for erased ones;
// - extended data is replaced per application, and only for registered applications;
// - a group lists the members that are not erased, in the order they were appended, and holds
//   nothing it refused.
#include <gtest/gtest.h>

#include "zcdball.h"

namespace {

// Appends a line to model space and returns its id, closed.
ZcDbObjectId addLine(ZcDbDatabase& db, ZcGePoint3d a = {0, 0, 0}, ZcGePoint3d b = {10, 0, 0}) {
    ZcDbBlockTableRecord* space = nullptr;
    EXPECT_EQ(zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    auto* line = new ZcDbLine(a, b);
    EXPECT_EQ(space->appendZcDbEntity(id, line), Zcad::eOk);
    line->close();
    space->close();
    return id;
}

TEST(ObjectStatuses, NullErasedAndWrongClassAnswerTheirStatuses) {
    ZcDbDatabase db;
    ZcDbObject* obj = nullptr;
    EXPECT_EQ(zcdbOpenObject(obj, ZcDbObjectId::kNull, ZcDb::kForRead), Zcad::eNullObjectId);
    EXPECT_EQ(obj, nullptr);

    const ZcDbObjectId id = addLine(db);
    ZcDbCircle* circle = nullptr;
    EXPECT_EQ(zcdbOpenObject(circle, id, ZcDb::kForRead), Zcad::eNotThatKindOfClass);
    EXPECT_EQ(db.openObjectCount(), 0) << "a failed class test must not leave the object open";

    ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_EQ(obj->erase(), Zcad::eOk);
    EXPECT_EQ(obj->erase(), Zcad::eWasErased);
    obj->close();
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(zcdbOpenObject(obj, id, ZcDb::kForRead), Zcad::eWasErased);
    ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForRead, true), Zcad::eOk);
    obj->close();

    ZcDbObjectId byHandle;
    EXPECT_EQ(db.getZcDbObjectId(byHandle, false, id.handle()), Zcad::eOk);
    EXPECT_EQ(byHandle, id) << "an erased object stays addressable by its handle";
    EXPECT_STREQ(zcadErrorStatusText(Zcad::eWasErased), L"eWasErased");
}

TEST(ObjectStatuses, OpenModesConflictAndWritesNeedWriteOpen) {
    ZcDbDatabase db;
    const ZcDbObjectId id = addLine(db);
    ZcDbLine* reader1 = nullptr;
    ZcDbLine* reader2 = nullptr;
    ZcDbLine* writer = nullptr;
    ASSERT_EQ(zcdbOpenObject(reader1, id, ZcDb::kForRead), Zcad::eOk);
    ASSERT_EQ(zcdbOpenObject(reader2, id, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(zcdbOpenObject(writer, id, ZcDb::kForWrite), Zcad::eWasOpenedForRead);
    EXPECT_EQ(reader1->setStartPoint({5, 5, 0}), Zcad::eNotOpenForWrite);
    EXPECT_EQ(reader1->startPoint(), ZcGePoint3d(0, 0, 0));
    reader1->close();
    reader2->close();

    ASSERT_EQ(zcdbOpenObject(writer, id, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_EQ(zcdbOpenObject(reader1, id, ZcDb::kForRead), Zcad::eWasOpenedForWrite);
    EXPECT_EQ(writer->setStartPoint({5, 5, 0}), Zcad::eOk);
    writer->close();
    EXPECT_EQ(writer->close(), Zcad::eNotOpenForRead) << "a second close is refused";
    EXPECT_EQ(db.openObjectCount(), 0);

    ZcDbLine loose;
    EXPECT_EQ(loose.close(), Zcad::eNotInDatabase);
    EXPECT_EQ(loose.setStartPoint({1, 1, 0}), Zcad::eOk) << "a new object is always writable";
}

TEST(Handles, AreUniqueAndParseAsHexadecimal) {
    ZcDbDatabase db;
    const ZcDbObjectId a = addLine(db);
    const ZcDbObjectId b = addLine(db);
    EXPECT_NE(a.handle(), b.handle());
    const std::wstring text = b.handle().text();
    EXPECT_EQ(ZcDbHandle(text.c_str()), b.handle());
    EXPECT_EQ(ZcDbHandle(L"1F").value(), 0x1Fu);
    EXPECT_EQ(ZcDbHandle(L"1f").value(), 0x1Fu);
    EXPECT_TRUE(ZcDbHandle(L"XYZ").isNull());
    EXPECT_TRUE(ZcDbHandle(L"").isNull());
    EXPECT_TRUE(ZcDbHandle(L"11112222333344445").isNull()) << "more than 64 bits";
    ZcDbObjectId none;
    EXPECT_EQ(db.getZcDbObjectId(none, false, ZcDbHandle(0xFFFFFF)), Zcad::eUnknownHandle);
}

TEST(Tables, HoldTheDefaultDrawingAndCompareNamesWithoutCase) {
    ZcDbDatabase db;
    ZcDbBlockTable* blocks = nullptr;
    ASSERT_EQ(db.getBlockTable(blocks, ZcDb::kForRead), Zcad::eOk);
    ZcDbObjectId model;
    EXPECT_EQ(blocks->getIdAt(L"*MODEL_SPACE", model), Zcad::eOk);
    EXPECT_EQ(model, db.modelSpaceId());
    EXPECT_EQ(blocks->getIdAt(L"NoSuchBlock", model), Zcad::eKeyNotFound);
    blocks->close();

    ZcDbBlockTableRecord* space = nullptr;
    ASSERT_EQ(zcdbOpenObject(space, db.paperSpaceId(), ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(space->isLayout());
    space->close();

    ASSERT_EQ(db.getBlockTable(blocks, ZcDb::kForWrite), Zcad::eOk);
    auto* block = new ZcDbBlockTableRecord;
    block->setName(L"Plate");
    ZcDbObjectId plate;
    ASSERT_EQ(blocks->add(plate, block), Zcad::eOk);
    block->close();
    auto* twin = new ZcDbBlockTableRecord;
    twin->setName(L"PLATE");
    EXPECT_EQ(blocks->add(twin), Zcad::eDuplicateKey);
    delete twin;
    blocks->close();
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST(ExtendedData, IsReplacedPerApplicationAndNeedsRegisteredNames) {
    ZcDbDatabase db;
    const ZcDbObjectId id = addLine(db);
    ZcDbObject* obj = nullptr;
    ASSERT_EQ(zcdbOpenObject(obj, id, ZcDb::kForWrite), Zcad::eOk);

    resbuf* data = zcutBuildList(1001, L"Plaxen", 1000, L"Count", 1070, 3, 0);
    EXPECT_EQ(obj->setXData(data), Zcad::eKeyNotFound) << "Plaxen is not registered yet";
    ASSERT_EQ(zcdbRegApp(&db, L"Plaxen"), Zcad::eOk);
    ASSERT_EQ(zcdbRegApp(&db, L"Other"), Zcad::eOk);
    EXPECT_EQ(obj->setXData(data), Zcad::eOk);
    zcutRelRb(data);
    data = zcutBuildList(1001, L"Other", 1040, 2.5, 0);
    EXPECT_EQ(obj->setXData(data), Zcad::eOk);
    zcutRelRb(data);

    resbuf* back = obj->xData(L"PLAXEN");
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->restype, 1001);
    EXPECT_STREQ(back->resval.rstring, L"Plaxen");
    ASSERT_NE(back->rbnext, nullptr);
    EXPECT_STREQ(back->rbnext->resval.rstring, L"Count");
    ASSERT_NE(back->rbnext->rbnext, nullptr);
    EXPECT_EQ(back->rbnext->rbnext->resval.rint, 3);
    EXPECT_EQ(back->rbnext->rbnext->rbnext, nullptr);
    zcutRelRb(back);

    // An application item alone clears that application's data and keeps the others.
    data = zcutBuildList(1001, L"Plaxen", 0);
    EXPECT_EQ(obj->setXData(data), Zcad::eOk);
    zcutRelRb(data);
    EXPECT_EQ(obj->xData(L"Plaxen"), nullptr);
    ASSERT_EQ(obj->xDataApps().size(), 1u);
    EXPECT_EQ(obj->xDataApps()[0].appName, L"Other");

    // A chain with an item before any application name changes nothing.
    data = zcutBuildList(1000, L"stray", 0);
    EXPECT_EQ(obj->setXData(data), Zcad::eInvalidInput);
    zcutRelRb(data);
    EXPECT_EQ(obj->xDataApps().size(), 1u);
    obj->close();
}

TEST(Dictionaries, OwnTheirEntriesInOrder) {
    ZcDbDatabase db;
    ZcDbDictionary* root = nullptr;
    ASSERT_EQ(db.getNamedObjectsDictionary(root, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_TRUE(root->has(L"ACAD_GROUP"));
    auto* nested = new ZcDbDictionary;
    ZcDbObjectId nestedId;
    ASSERT_EQ(root->setAt(L"Przedmiar", nested, nestedId), Zcad::eOk);
    auto* inner = new ZcDbDictionary;
    ZcDbObjectId innerId;
    ASSERT_EQ(nested->setAt(L"Inner", inner, innerId), Zcad::eOk);
    inner->close();
    auto* twin = new ZcDbDictionary;
    ZcDbObjectId twinId;
    EXPECT_EQ(nested->setAt(L"INNER", twin, twinId), Zcad::eDuplicateKey);
    delete twin;
    nested->close();
    root->close();

    ZcDbObject* found = nullptr;
    ASSERT_EQ(zcdbOpenObject(root, db.namedObjectsDictionaryId(), ZcDb::kForRead), Zcad::eOk);
    ASSERT_EQ(root->getAt(L"przedmiar", found, ZcDb::kForWrite), Zcad::eOk);
    root->close();
    EXPECT_EQ(found->objectId(), nestedId);
    EXPECT_EQ(found->erase(), Zcad::eOk);
    found->close();
    EXPECT_TRUE(ZcDbObjectId(nestedId).isErased());
    EXPECT_TRUE(ZcDbObjectId(innerId).isErased()) << "erasing a dictionary erases its entries";
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST(Groups, ListMembersInOrderWithoutErasedOnesAndRefuseBadIds) {
    ZcDbDatabase db, other;
    const ZcDbObjectId a = addLine(db), b = addLine(db), c = addLine(db);
    ZcDbDictionary* groups = nullptr;
    ASSERT_EQ(db.getGroupDictionary(groups, ZcDb::kForWrite), Zcad::eOk);
    auto* group = new ZcDbGroup(L"Cut parts");
    ZcDbObjectId id;
    ASSERT_EQ(groups->setAt(L"Parts", group, id), Zcad::eOk);
    groups->close();
    EXPECT_EQ(group->name(), L"Parts") << "the name is the group dictionary's key";
    for (const ZcDbObjectId& member : {c, a, b})
        EXPECT_EQ(group->append(member), Zcad::eOk);
    EXPECT_EQ(group->append(ZcDbObjectId::kNull), Zcad::eNullObjectId);
    EXPECT_EQ(group->append(addLine(other)), Zcad::eInvalidInput) << "another drawing's object";
    EXPECT_EQ(group->append(id), Zcad::eSelfReference);
    EXPECT_EQ(group->append(a), Zcad::eDuplicateKey);

    // Erasing a member hides it; unerasing brings it back in its place.
    ZcDbObject* member = nullptr;
    ASSERT_EQ(zcdbOpenObject(member, a, ZcDb::kForWrite), Zcad::eOk);
    member->erase();
    EXPECT_EQ(group->allEntityIds(), (std::vector<ZcDbObjectId>{c, b}));
    EXPECT_EQ(group->numEntities(), 2u);
    EXPECT_EQ(group->remove(a), Zcad::eKeyNotFound) << "an erased member is no member";
    EXPECT_EQ(group->append(a), Zcad::eWasErased);
    EXPECT_EQ(group->remove(c), Zcad::eOk);
    member->erase(false);
    member->close();
    EXPECT_EQ(group->allEntityIds(), (std::vector<ZcDbObjectId>{a, b}));
    group->close();
    EXPECT_EQ(db.openObjectCount(), 0);
}

} // namespace
