// The bundled example drawing, examples/sheet-and-parts.dxf: a 3000 x 1500 sheet and a dozen
// parts beside it with their nesting data, as the README and the default nesting job use it.
//
// Invariants: the sheet is the closed polyline of largest area; every part lies outside the
// sheet; the nesting data is "Count" and "Rotable" keys under "Plaxen", each followed by a
// 16-bit integer.
#include <gtest/gtest.h>

#include <cwchar>
#include <set>

#include "render_test_support.h"
#include "zcdball.h"

namespace {

const std::wstring kExample = [] {
    const std::string path = std::string(GANTREL_SOURCE_DIR) + "/examples/sheet-and-parts.dxf";
    return std::wstring(path.begin(), path.end());
}();

// The value after a key of the "Plaxen" data, or -1.
int nestingValue(const ZcDbEntity& entity, const std::wstring& key) {
    for (const ZcDbXDataApp& app : entity.xDataApps()) {
        if (app.appName != L"Plaxen")
            continue;
        for (std::size_t i = 0; i + 1 < app.items.size(); ++i) {
            const auto* name = std::get_if<std::wstring>(&app.items[i].value);
            const auto* value = std::get_if<std::int16_t>(&app.items[i + 1].value);
            if (app.items[i].code == 1000 && name && *name == key &&
                app.items[i + 1].code == 1070 && value)
                return *value;
        }
    }
    return -1;
}

} // namespace

TEST(ExampleDrawing, SheetAndPartsWithTheirNestingData) {
    ZcDbDatabase db(false, true);
    ASSERT_EQ(db.readDwgFile(kExample.c_str()), Zcad::eOk)
        << std::string(db.lastErrorMessage().begin(), db.lastErrorMessage().end());
    EXPECT_EQ(db.insunits(), 4); // millimetres

    ZcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(zcdbOpenObject(model, db.modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
    const std::vector<ZcDbObjectId> ids = model->entityIds();
    model->close();

    // The sheet: the closed polyline of largest area.
    ZcDbObjectId sheet;
    double sheetArea = 0.0;
    for (ZcDbObjectId id : ids) {
        ZcDbPolyline* pl = nullptr;
        if (zcdbOpenObject(pl, id, ZcDb::kForRead) != Zcad::eOk)
            continue;
        double area = 0.0;
        if (pl->isClosed() && pl->getArea(area) == Zcad::eOk && area > sheetArea) {
            sheetArea = area;
            sheet = id;
        }
        pl->close();
    }
    EXPECT_NEAR(sheetArea, 3000.0 * 1500.0, 1e-6);

    int parts = 0, withData = 0, withoutData = 0;
    std::set<std::wstring> kinds;
    for (ZcDbObjectId id : ids) {
        ZcDbEntity* entity = nullptr;
        ASSERT_EQ(zcdbOpenObject(entity, id, ZcDb::kForRead), Zcad::eOk);
        if (id == sheet || ZcDbText::cast(entity)) {
            entity->close();
            continue;
        }
        ++parts;
        kinds.insert(entity->isA()->name());
        ZcDbExtents extents;
        EXPECT_EQ(entity->getGeomExtents(extents), Zcad::eOk);
        EXPECT_GT(extents.minPoint().x, 3000.0) << id.handle().value();
        const int count = nestingValue(*entity, L"Count");
        if (count >= 0) {
            ++withData;
            EXPECT_GE(count, 1);
            EXPECT_TRUE(nestingValue(*entity, L"Rotable") == 0 ||
                        nestingValue(*entity, L"Rotable") == 1);
        } else {
            ++withoutData;
        }
        if (const auto* reference = ZcDbBlockReference::cast(entity)) {
            const std::vector<ZcDbObjectId> attributes = reference->attributeIds();
            ASSERT_EQ(attributes.size(), 1u);
            ZcDbAttribute* attribute = nullptr;
            ASSERT_EQ(zcdbOpenObject(attribute, attributes[0], ZcDb::kForRead), Zcad::eOk);
            EXPECT_EQ(attribute->tag(), L"PARTNO");
            attribute->close();
        }
        entity->close();
    }
    EXPECT_GE(parts, 12);
    EXPECT_GE(withData, 10);
    EXPECT_GE(withoutData, 1);
    for (const wchar_t* kind :
         {L"ZcDbPolyline", L"ZcDbCircle", L"ZcDbSpline", L"ZcDbBlockReference", L"ZcDbRegion"})
        EXPECT_TRUE(kinds.count(kind)) << std::string(kind, kind + std::wcslen(kind));
}
