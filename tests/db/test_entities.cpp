// Invariants of the entity base and of the non-curve entities, observed through the interface:
// - a resident entity names only layers of its drawing (by their table spelling) and never a
//   hidden one unless allowed; colours are 0 (by block) to 256 (by layer);
// - a clone has the same data as its original: a clone of a clone lists and measures exactly
//   like the original, and shares nothing with it;
// - the listing is one "name: value" line per field, and list() prints exactly that;
// - multiline text without its format codes reads as its plain lines.
#include "DrawingBuild.h"
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "curve_checks.h"
#include "entity_listing.h"
#include "zcdball.h"

using curve_checks::near;

namespace {

using gantrel::testing::AppendToModelSpace;

void addLayer(ZcDbDatabase& db, const wchar_t* name, bool hidden) {
    ZcDbLayerTable* table = nullptr;
    ASSERT_EQ(db.getLayerTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* layer = new ZcDbLayerTableRecord;
    layer->setName(name);
    layer->setIsHidden(hidden);
    ASSERT_EQ(table->add(layer), Zcad::eOk);
    layer->close();
    table->close();
}

TEST(EntityProperties, ResidentEntitiesNameOnlyVisibleLayersOfTheirDrawing) {
    ZcDbDatabase db;
    addLayer(db, L"Parts", false);
    addLayer(db, L"Secret", true);
    const ZcDbObjectId id = AppendToModelSpace(db, new ZcDbLine({0, 0, 0}, {1, 0, 0}));
    ZcDbLine* line = nullptr;
    ASSERT_EQ(zcdbOpenObject(line, id, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(line->setLayer(L"Parts"), Zcad::eNotOpenForWrite);
    EXPECT_EQ(line->highlight(), Zcad::eOk) << "highlighting needs no write access";
    EXPECT_TRUE(line->isHighlighted());
    ASSERT_EQ(line->upgradeOpen(), Zcad::eOk);
    EXPECT_EQ(line->setLayer(L"Nowhere"), Zcad::eKeyNotFound);
    EXPECT_EQ(line->setLayer(L"Secret"), Zcad::eInvalidInput);
    EXPECT_EQ(line->layer(), L"0") << "a refused layer changes nothing";
    EXPECT_EQ(line->setLayer(L"Secret", true, true), Zcad::eOk);
    EXPECT_EQ(line->setLayer(L"PARTS"), Zcad::eOk);
    EXPECT_EQ(line->layer(), L"Parts") << "the table's spelling is kept";
    EXPECT_EQ(line->setLayer(L""), Zcad::eInvalidInput);
    EXPECT_EQ(line->setColorIndex(257), Zcad::eInvalidInput);
    EXPECT_EQ(line->setColorIndex(-1), Zcad::eInvalidInput);
    EXPECT_EQ(line->setColorIndex(0), Zcad::eOk);
    EXPECT_EQ(line->setColorIndex(256), Zcad::eOk);
    line->close();

    ZcDbLine loose;
    EXPECT_EQ(loose.setLayer(L"AnyName"), Zcad::eOk) << "a new entity is on no drawing yet";
}

TEST(EntityProperties, PropertiesReachOwnedAttributes) {
    ZcDbDatabase db;
    addLayer(db, L"Tags", false);
    auto* ref = new ZcDbBlockReference({0, 0, 0}, db.modelSpaceId());
    auto* attribute = new ZcDbAttribute;
    attribute->setTag(L"NO");
    ref->appendAttribute(attribute);
    const ZcDbObjectId id = AppendToModelSpace(db, ref);
    ZcDbBlockReference* opened = nullptr;
    ASSERT_EQ(zcdbOpenObject(opened, id, ZcDb::kForWrite), Zcad::eOk);
    ASSERT_EQ(opened->setLayer(L"Tags"), Zcad::eOk);
    ASSERT_EQ(opened->setColorIndex(2, false), Zcad::eOk);
    const std::vector<ZcDbObjectId> attributes = opened->attributeIds();
    opened->close();
    ASSERT_EQ(attributes.size(), 1u);
    ZcDbAttribute* a = nullptr;
    ASSERT_EQ(zcdbOpenObject(a, attributes[0], ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(a->layer(), L"Tags");
    EXPECT_EQ(a->colorIndex(), 256) << "without doSubents the attribute keeps its colour";
    a->close();
}

std::wstring g_printed;
void capture(const std::wstring& text) {
    g_printed += text;
}

TEST(EntityListing, ListsOneFieldALineAndPrintsIt) {
    ZcDbDatabase db;
    const ZcDbObjectId id = AppendToModelSpace(db, new ZcDbPoint({1, 2.5, 0}));
    ZcDbPoint* point = nullptr;
    ASSERT_EQ(zcdbOpenObject(point, id, ZcDb::kForRead), Zcad::eOk);
    const std::wstring listing = point->listing();
    EXPECT_EQ(listing, L"Type: POINT\nHandle: " + id.handle().text() +
                           L"\nSpace: Model space\nLayer: 0\nColor: BYLAYER\nLinetype: ByLayer"
                           L"\nPosition: 1.0000, 2.5000, 0.0000");
    g_printed.clear();
    gantrel::db::setListingPrinter(&capture);
    point->list();
    gantrel::db::setListingPrinter(nullptr);
    EXPECT_EQ(g_printed, L"\n" + listing);
    point->close();

    const ZcDbLine line({0, 0, 0}, {3, 4, 0});
    EXPECT_NE(line.listing().find(L"\nLength: 5.0000\n"), std::wstring::npos);
    EXPECT_EQ(line.listing().find(L"Handle"), std::wstring::npos) << "a new entity has none";
}

// One entity of every kind, not in a database.
std::vector<std::unique_ptr<ZcDbEntity>> everyKind() {
    std::vector<std::unique_ptr<ZcDbEntity>> out;
    out.emplace_back(new ZcDbLine({0, 0, 0}, {3, 4, 0}));
    out.emplace_back(new ZcDbCircle({1, 1, 0}, ZcGeVector3d::kZAxis, 2));
    out.emplace_back(new ZcDbArc({1, 1, 0}, 2, 0.5, 2.5));
    out.emplace_back(new ZcDbEllipse({0, 0, 0}, ZcGeVector3d::kZAxis, {4, 0, 0}, 0.5, 0.2, 3.0));
    auto* pl = new ZcDbPolyline;
    pl->addVertexAt(0, {0, 0}, 0.3);
    pl->addVertexAt(1, {5, 0});
    pl->addVertexAt(2, {5, 5});
    pl->setClosed(true);
    out.emplace_back(pl);
    auto* pl2 = new ZcDb2dPolyline;
    pl2->appendVertex(new ZcDb2dVertex({0, 0, 0}, -0.5));
    pl2->appendVertex(new ZcDb2dVertex({4, 1, 0}));
    out.emplace_back(pl2);
    ZcGePoint3dArray fit;
    fit.append({0, 0, 0});
    fit.append({2, 2, 0});
    fit.append({5, 1, 0});
    out.emplace_back(new ZcDbSpline(fit));
    out.emplace_back(new ZcDbPoint({7, 8, 9}));
    out.emplace_back(new ZcDbText({1, 1, 0}, L"Label", 2.0, 0.3));
    auto* mtext = new ZcDbMText;
    mtext->setContents(L"Two\\Plines");
    out.emplace_back(mtext);
    out.emplace_back(new ZcDbAttributeDefinition({0, 0, 0}, L"1", L"COUNT", L"How many?"));
    auto* leader = new ZcDbLeader;
    leader->appendVertex({0, 0, 0});
    leader->appendVertex({5, 5, 0});
    out.emplace_back(leader);
    out.emplace_back(new ZcDbAlignedDimension({0, 0, 0}, {10, 0, 0}, {5, 3, 0}));
    auto* hatch = new ZcDbHatch;
    ZcDbLoop loop;
    loop.flags = 3;
    loop.vertices = {{0, 0}, {4, 0}, {4, 4}};
    loop.bulges = {0, 0.5, 0};
    hatch->appendLoop(loop);
    out.emplace_back(hatch);
    auto* ref = new ZcDbBlockReference({3, 3, 0}, ZcDbObjectId::kNull);
    auto* attribute = new ZcDbAttribute;
    attribute->setTag(L"TAG");
    attribute->setTextString(L"value");
    ref->appendAttribute(attribute);
    out.emplace_back(ref);
    return out;
}

TEST(EntityClone, CloneOfACloneEqualsTheOriginal) {
    for (const auto& original : everyKind()) {
        SCOPED_TRACE(original->isA()->name());
        original->setColorIndex(4);
        std::unique_ptr<ZcDbEntity> first(ZcDbEntity::cast(original->clone()));
        ASSERT_NE(first, nullptr);
        std::unique_ptr<ZcDbEntity> second(ZcDbEntity::cast(first->clone()));
        ASSERT_NE(second, nullptr);
        EXPECT_EQ(second->isA(), original->isA());
        EXPECT_EQ(second->listing(), original->listing());
        ZcDbExtents a, b;
        EXPECT_EQ(second->getGeomExtents(b), original->getGeomExtents(a));
        EXPECT_EQ(a.minPoint(), b.minPoint());
        EXPECT_EQ(a.maxPoint(), b.maxPoint());
        // Moving the first clone leaves the original where it was.
        first->transformBy(ZcGeMatrix3d::translation({1, 0, 0}));
        ZcDbExtents c;
        original->getGeomExtents(c);
        EXPECT_EQ(c.minPoint(), a.minPoint());
    }
}

TEST(MultilineText, PlainTextDropsFormatCodes) {
    ZcDbMText mtext;
    ASSERT_EQ(mtext.setContents(L"{\\fArial|b1|i0;Bold} part\\Pline two\\~end \\S1^2; "
                                L"\\H2.5x;big \\\\ \\{x\\} \\U+00E9"),
              Zcad::eOk);
    EXPECT_EQ(mtext.text(), L"Bold part\nline two\u00A0end 1/2 big \\ {x} \u00E9");
    EXPECT_EQ(mtext.setContents(nullptr), Zcad::eInvalidInput);
    EXPECT_NE(mtext.contents().find(L"\\fArial"), std::wstring::npos) << "contents kept";
}

TEST(TextExtents, FollowAlignmentAndRotation) {
    ZcDbText left({10, 10, 0}, L"ABCD", 2.0);
    ZcDbExtents ext;
    ASSERT_EQ(left.getGeomExtents(ext), Zcad::eOk);
    EXPECT_NEAR(ext.minPoint().x, 10.0, 1e-12);
    EXPECT_NEAR(ext.minPoint().y, 10.0, 1e-12);
    EXPECT_NEAR(ext.maxPoint().y, 12.0, 1e-12);
    const double width = ext.maxPoint().x - ext.minPoint().x;
    EXPECT_GT(width, 0.0);

    ZcDbText centred({0, 0, 0}, L"ABCD", 2.0);
    centred.setHorizontalMode(ZcDbText::kTextCenter);
    centred.setAlignmentPoint({10, 10, 0});
    ASSERT_EQ(centred.getGeomExtents(ext), Zcad::eOk);
    EXPECT_NEAR(ext.minPoint().x + ext.maxPoint().x, 20.0, 1e-12) << "centred on the point";
    EXPECT_NEAR(ext.maxPoint().x - ext.minPoint().x, width, 1e-12);

    ZcDbText upright({0, 0, 0}, L"ABCD", 2.0, kPi / 2);
    ASSERT_EQ(upright.getGeomExtents(ext), Zcad::eOk);
    EXPECT_NEAR(ext.maxPoint().y - ext.minPoint().y, width, 1e-12);
    EXPECT_NEAR(ext.minPoint().x, -2.0, 1e-12);
}

TEST(Attributes, TagsAreSingleWordsAndDefinitionsPlaceAttributes) {
    ZcDbAttributeDefinition def({2, 0, 0}, L"42", L"COUNT", L"Count?", 1.5);
    EXPECT_EQ(def.setTag(L"TWO WORDS"), Zcad::eInvalidInput);
    EXPECT_EQ(def.setTag(L""), Zcad::eInvalidInput);
    EXPECT_EQ(def.tag(), L"COUNT");
    ASSERT_EQ(def.setConstant(true), Zcad::eOk);
    EXPECT_EQ(def.attributeFlags(), 2);

    ZcDbAttribute attribute;
    const ZcGeMatrix3d place = ZcGeMatrix3d::translation({10, 10, 0}) *
                               ZcGeMatrix3d::rotation(kPi / 2, ZcGeVector3d::kZAxis) *
                               ZcGeMatrix3d::scaling(2.0);
    ASSERT_EQ(attribute.setAttributeFromBlock(&def, place), Zcad::eOk);
    EXPECT_EQ(attribute.tag(), L"COUNT");
    EXPECT_EQ(attribute.textString(), L"42");
    EXPECT_TRUE(attribute.isConstant());
    EXPECT_TRUE(near(attribute.position(), {10, 14, 0}, 1e-12));
    EXPECT_NEAR(attribute.height(), 3.0, 1e-12);
    EXPECT_NEAR(attribute.rotation(), kPi / 2, 1e-12);
}

TEST(AlignedDimension, MeasuresAndExplodesIntoLinesAndText) {
    ZcDbAlignedDimension dim({0, 0, 0}, {3, 4, 0}, {-4, 3, 0});
    double value = 0.0;
    ASSERT_EQ(dim.measurement(value), Zcad::eOk);
    EXPECT_DOUBLE_EQ(value, 5.0);
    ZcDbVoidPtrArray set;
    ASSERT_EQ(dim.explode(set), Zcad::eOk);
    ASSERT_EQ(set.length(), 4);
    std::vector<std::unique_ptr<ZcDbEntity>> pieces;
    for (void* p : set)
        pieces.emplace_back(static_cast<ZcDbEntity*>(p));
    const auto* dimLine = ZcDbLine::cast(pieces[2].get());
    ASSERT_NE(dimLine, nullptr);
    EXPECT_TRUE(near(dimLine->startPoint(), {-4, 3, 0}, 1e-12));
    EXPECT_TRUE(near(dimLine->endPoint(), {-1, 7, 0}, 1e-12));
    const auto* text = ZcDbText::cast(pieces[3].get());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textString(), L"5");

    dim.setDimensionText(L"<> mm");
    set.removeAll();
    ASSERT_EQ(dim.explode(set), Zcad::eOk);
    pieces.clear();
    for (void* p : set)
        pieces.emplace_back(static_cast<ZcDbEntity*>(p));
    EXPECT_EQ(ZcDbText::cast(pieces[3].get())->textString(), L"5 mm");
}

TEST(EntityDefaults, EntitiesThatDoNotExplodeSaySo) {
    ZcDbLine line({0, 0, 0}, {1, 1, 0});
    ZcDbVoidPtrArray set;
    EXPECT_EQ(line.explode(set), Zcad::eNotApplicable);
    EXPECT_TRUE(set.isEmpty());
    ZcDb2dVertex vertex({1, 1, 0});
    ZcDbExtents ext;
    EXPECT_EQ(vertex.getGeomExtents(ext), Zcad::eInvalidExtents);
}

} // namespace
