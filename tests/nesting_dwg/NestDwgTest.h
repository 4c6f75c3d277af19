// A host session with an empty drawing (DrawingTest) plus what the nesting tests need: nesting
// data on part objects, the live entities of model space and their extents.
#pragma once

#include "DrawingTest.h"

#include "zcdball.h"

#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

class NestDwgTest : public DrawingTest {
protected:
    // Sets the object's "Plaxen" data to the chain of (code, value) items: string codes take
    // text, 1070 a short, 1040 a real.
    struct Item {
        short code;
        std::wstring text;
        double number = 0.0;
    };
    void setPlaxen(ZcDbObjectId id, const std::vector<Item>& items) {
        ASSERT_EQ(zcdbRegApp(&db(), L"Plaxen"), Zcad::eOk);
        resbuf* head = zcutNewRb(1001);
        head->resval.rstring = dup(L"Plaxen");
        resbuf* tail = head;
        for (const Item& item : items) {
            resbuf* rb = zcutNewRb(item.code);
            if (item.code == 1070) {
                rb->resval.rint = static_cast<short>(item.number);
            } else if (item.code == 1040) {
                rb->resval.rreal = item.number;
            } else {
                rb->resval.rstring = dup(item.text.c_str());
            }
            tail->rbnext = rb;
            tail = rb;
        }
        ZcDbObject* object = nullptr;
        ASSERT_EQ(zcdbOpenObject(object, id, ZcDb::kForWrite), Zcad::eOk);
        EXPECT_EQ(object->setXData(head), Zcad::eOk);
        object->close();
        zcutRelRb(head);
    }
    static Item key(const wchar_t* name) { return {1000, name}; }
    static Item value(int v) { return {1070, L"", static_cast<double>(v)}; }

    std::vector<ZcDbXDataApp> xdataOf(ZcDbObjectId id) {
        ZcDbObject* object = nullptr;
        EXPECT_EQ(zcdbOpenObject(object, id, ZcDb::kForRead), Zcad::eOk);
        std::vector<ZcDbXDataApp> apps = object->xDataApps();
        object->close();
        return apps;
    }

    // The entities of model space that are not erased, in drawing order.
    std::vector<ZcDbObjectId> liveEntities() {
        ZcDbBlockTableRecord* record = nullptr;
        EXPECT_EQ(zcdbOpenObject(record, db().modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
        std::vector<ZcDbObjectId> live;
        for (const ZcDbObjectId& id : record->entityIds()) {
            if (!id.isErased()) {
                live.push_back(id);
            }
        }
        record->close();
        return live;
    }

    ZcDbExtents extentsOf(ZcDbObjectId id) {
        ZcDbEntity* entity = nullptr;
        ZcDbExtents extents;
        EXPECT_EQ(zcdbOpenObject(entity, id, ZcDb::kForRead), Zcad::eOk);
        EXPECT_EQ(entity->getGeomExtents(extents), Zcad::eOk);
        entity->close();
        return extents;
    }

private:
    static wchar_t* dup(const wchar_t* text) {
        const std::size_t n = std::wcslen(text) + 1;
        auto* copy = static_cast<wchar_t*>(std::malloc(n * sizeof(wchar_t)));
        std::wmemcpy(copy, text, n);
        return copy;
    }
};
