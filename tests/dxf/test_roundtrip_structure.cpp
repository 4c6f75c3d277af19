// Blocks, attributes, extended data, dictionaries, object groups, layers, layouts, handles,
// owners and header variables survive a save and a load. Invariants: every object keeps its
// handle, class and owner; the second file has the (code, value) groups of the first.
#include "drawings.h"
#include "dxf_groups.h"
#include "test_support.h"

using namespace dxftest;

namespace {

class Structure : public ::testing::Test {
protected:
    void SetUp() override {
        buildStructureDrawing(original);
        text = save(original);
        loaded = load(text);
    }
    ZcDbDatabase original;
    std::string text;
    std::unique_ptr<ZcDbDatabase> loaded;
};

TEST_F(Structure, SecondSaveHasTheGroupsOfTheFirst) {
    EXPECT_EQ(diffGroups(parseGroups(text), parseGroups(save(*loaded))), "");
}

TEST_F(Structure, EveryObjectKeepsHandleClassAndOwner) {
    std::size_t checked = 0;
    for (const ZcDbObjectId& id : original.allObjectIds()) {
        if (id.isErased())
            continue;
        ZcDbObjectId other;
        ASSERT_EQ(loaded->getZcDbObjectId(other, false, id.handle()), Zcad::eOk)
            << "handle " << id.handle().value();
        EXPECT_EQ(other.objectClass(), id.objectClass()) << "handle " << id.handle().value();
        ZcDbObject* a = nullptr;
        ZcDbObject* b = nullptr;
        ASSERT_EQ(zcdbOpenObject(a, id, ZcDb::kForRead), Zcad::eOk);
        ASSERT_EQ(zcdbOpenObject(b, other, ZcDb::kForRead), Zcad::eOk);
        EXPECT_EQ(a->ownerId().handle(), b->ownerId().handle()) << "handle " << id.handle().value();
        EXPECT_EQ(a->xDataApps(), b->xDataApps());
        a->close();
        b->close();
        ++checked;
    }
    EXPECT_GT(checked, 20u);
}

TEST_F(Structure, BlockWithAttributeDefinitionsAndReferenceWithAttributes) {
    ZcDbBlockTable* table = nullptr;
    ASSERT_EQ(loaded->getBlockTable(table, ZcDb::kForRead), Zcad::eOk);
    ZcDbObjectId blockId;
    ASSERT_EQ(table->getIdAt(L"TAG BLOCK", blockId), Zcad::eOk);
    table->close();
    ZcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(zcdbOpenObject(block, blockId, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(block->origin(), ZcGePoint3d(2, 3, 0));
    EXPECT_TRUE(block->hasAttributeDefinitions());
    std::vector<std::wstring> tags;
    for (const ZcDbObjectId& id : block->entityIds()) {
        ZcDbAttributeDefinition* def = nullptr;
        if (zcdbOpenObject(def, id, ZcDb::kForRead) != Zcad::eOk)
            continue;
        tags.push_back(def->tag());
        if (def->tag() == L"MATERIAL") {
            EXPECT_TRUE(def->isConstant());
            EXPECT_TRUE(def->isInvisible());
            EXPECT_EQ(def->textString(), L"Stal");
        } else {
            EXPECT_EQ(def->prompt(), L"Part number?");
        }
        def->close();
    }
    block->close();
    EXPECT_EQ(tags, (std::vector<std::wstring>{L"NUMBER", L"MATERIAL"}));

    auto refs = entitiesOf<ZcDbBlockReference>(*loaded);
    ASSERT_EQ(refs.size(), 1u);
    EXPECT_EQ(refs[0]->blockTableRecord(), blockId);
    EXPECT_EQ(refs[0]->layer(), L"Parts");
    const auto attributes = refs[0]->attributeIds();
    ASSERT_EQ(attributes.size(), 1u);
    ZcDbAttribute* attribute = nullptr;
    ASSERT_EQ(zcdbOpenObject(attribute, attributes[0], ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(attribute->tag(), L"NUMBER");
    EXPECT_EQ(attribute->textString(), L"A-17");
    EXPECT_EQ(attribute->ownerId(), refs[0]->objectId());
    attribute->close();
}

TEST_F(Structure, ExtendedDataOfEveryTypeWithItsApplication) {
    auto refs = entitiesOf<ZcDbBlockReference>(*loaded);
    ASSERT_EQ(refs.size(), 1u);
    const auto& apps = refs[0]->xDataApps();
    ASSERT_EQ(apps.size(), 1u);
    EXPECT_EQ(apps[0].appName, L"Plaxen");
    ASSERT_EQ(apps[0].items.size(), 9u);
    EXPECT_EQ(std::get<std::int16_t>(apps[0].items[1].value), 3);
    EXPECT_EQ(std::get<std::int32_t>(apps[0].items[3].value), 70000);
    EXPECT_EQ(std::get<double>(apps[0].items[4].value), 0.1);
    EXPECT_EQ(std::get<ZcGePoint3d>(apps[0].items[5].value), ZcGePoint3d(1.5, 2.5, 3.5));
    EXPECT_EQ(std::get<std::wstring>(apps[0].items[7].value), L"1F");
    ZcDbRegAppTable* regapps = nullptr;
    ASSERT_EQ(loaded->getRegAppTable(regapps, ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(regapps->has(L"Plaxen"));
    regapps->close();
}

TEST_F(Structure, NestedDictionariesWithExtendedData) {
    ZcDbDictionary* root = nullptr;
    ASSERT_EQ(loaded->getNamedObjectsDictionary(root, ZcDb::kForRead), Zcad::eOk);
    ZcDbObjectId outerId;
    ASSERT_EQ(root->getAt(L"Przedmiar", outerId), Zcad::eOk);
    EXPECT_TRUE(root->has(L"ACAD_GROUP"));
    EXPECT_TRUE(root->has(L"ACAD_LAYOUT"));
    root->close();
    ZcDbDictionary* outer = nullptr;
    ASSERT_EQ(zcdbOpenObject(outer, outerId, ZcDb::kForRead), Zcad::eOk);
    ASSERT_EQ(outer->xDataApps().size(), 1u);
    EXPECT_EQ(std::get<double>(outer->xDataApps()[0].items[1].value), 2.75);
    EXPECT_EQ(outer->xDataApps()[0].items[1].code, 1041);
    EXPECT_TRUE(outer->has(L"Values"));
    outer->close();
    EXPECT_EQ(loaded->groupDictionaryId().handle(), original.groupDictionaryId().handle());
}

TEST_F(Structure, GroupsKeepNameDescriptionFlagsAndMembersInOrder) {
    const auto groupsOf = [](ZcDbDatabase& db) {
        return objectByHandle<ZcDbDictionary>(db, db.groupDictionaryId().handle().value())
            ->entries();
    };
    const auto before = groupsOf(original);
    const auto after = groupsOf(*loaded);
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(after.size(), before.size());
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].first, before[i].first);
        ZcDbGroup* a = nullptr;
        ZcDbGroup* b = nullptr;
        ASSERT_EQ(zcdbOpenObject(a, before[i].second, ZcDb::kForRead), Zcad::eOk);
        ASSERT_EQ(zcdbOpenObject(b, after[i].second, ZcDb::kForRead), Zcad::eOk);
        EXPECT_EQ(b->name(), a->name());
        EXPECT_EQ(b->description(), a->description());
        EXPECT_EQ(b->isSelectable(), a->isSelectable());
        EXPECT_EQ(b->isAnonymous(), a->isAnonymous());
        std::vector<ZcDbHandle> want, got;
        for (const ZcDbObjectId& id : a->allEntityIds())
            want.push_back(id.handle());
        for (const ZcDbObjectId& id : b->allEntityIds())
            got.push_back(id.handle());
        EXPECT_EQ(got, want);
        a->close();
        b->close();
    }
}

TEST_F(Structure, LayersLayoutsAndSpaces) {
    ZcDbLayerTable* layers = nullptr;
    ASSERT_EQ(loaded->getLayerTable(layers, ZcDb::kForRead), Zcad::eOk);
    ZcDbObjectId hidden;
    ASSERT_EQ(layers->getIdAt(L"Hidden Off", hidden), Zcad::eOk);
    layers->close();
    ZcDbLayerTableRecord* layer = nullptr;
    ASSERT_EQ(zcdbOpenObject(layer, hidden, ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(layer->isOff());
    EXPECT_TRUE(layer->isFrozen());
    EXPECT_EQ(layer->colorIndex(), 5);
    layer->close();
    for (ZcDbObjectId space : {loaded->modelSpaceId(), loaded->paperSpaceId()}) {
        ZcDbBlockTableRecord* block = nullptr;
        ASSERT_EQ(zcdbOpenObject(block, space, ZcDb::kForRead), Zcad::eOk);
        EXPECT_TRUE(block->isLayout());
        ZcDbLayout* layout = nullptr;
        ASSERT_EQ(zcdbOpenObject(layout, block->getLayoutId(), ZcDb::kForRead), Zcad::eOk);
        EXPECT_EQ(layout->getBlockTableRecordId(), space);
        layout->close();
        block->close();
    }
}

TEST_F(Structure, HeaderVariablesComeBackTyped) {
    EXPECT_EQ(loaded->insunits(), 6);
    EXPECT_EQ(loaded->dimasz(), 0.18);
    EXPECT_EQ(loaded->dimscale(), 25.0);
    for (const wchar_t* name : {L"PDMODE", L"PDSIZE", L"LUPREC", L"PROJECTNAME", L"MEASUREMENT",
                                L"LUNITS", L"TEXTSIZE", L"INSBASE"}) {
        const ZcDbHeaderValue* a = original.headerVar(name);
        const ZcDbHeaderValue* b = loaded->headerVar(name);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr) << "header variable lost";
        EXPECT_TRUE(*a == *b);
    }
}

TEST_F(Structure, ErasedObjectsAreNotWritten) {
    auto refs = entitiesOf<ZcDbBlockReference>(original);
    const ZcDbHandle handle = refs[0]->handle();
    ZcDbEntity* ref = nullptr;
    ASSERT_EQ(zcdbOpenObject(ref, refs[0]->objectId(), ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(ref->erase(), Zcad::eOk);
    ref->close();
    auto again = load(save(original));
    ZcDbObjectId id;
    EXPECT_NE(again->getZcDbObjectId(id, false, handle), Zcad::eOk);
    EXPECT_TRUE(entitiesOf<ZcDbAttribute>(*again).empty());
}

} // namespace
