// The command "Plaxen" driven with answers queued for its prompts. The stop dialog has no user
// here, so it is cancelled at once and the run goes on to its end, as it does when nobody
// presses the button.
#include "NestDwgTest.h"

#include "nesting/dwg/Nest_cmd.h"

#include "zced.h"

#include <set>

namespace gantrel {
namespace {

constexpr double kEps = 1e-6;

class NestCommand : public NestDwgTest {
protected:
    NestCommand() {
        sheet = addRectangle(0, 0, 100, 50);
        circle = addCircle(300, 300, 5);
        part = addRectangle(200, 0, 40, 40);
        setPlaxen(part, {key(L"Count"), value(2)});
    }
    std::string hash(ZcDbObjectId id) const { return "#" + handleOf(id); }
    bool highlighted(ZcDbObjectId id) {
        ZcDbEntity* entity = nullptr;
        EXPECT_EQ(zcdbOpenObject(entity, id, ZcDb::kForRead), Zcad::eOk);
        const bool on = entity->isHighlighted();
        entity->close();
        return on;
    }

    ZcDbObjectId sheet, circle, part;
};

TEST_F(NestCommand, NestsTheSelectedPartsOnThePickedPolylineAndCleansUp) {
    // A circle is no sheet: the prompt asks again. The sheet selected among the parts is no part.
    input.push(hash(circle)).push(hash(sheet)).push(hash(sheet) + " " + hash(part));
    const int regensBefore = session.regenCount();
    Nest_cmd command{NestSettings{}};
    EXPECT_EQ(command.GetGlobalName(), L"Plaxen");
    EXPECT_EQ(command.GetLocalName(), L"Plaxen");

    EXPECT_EQ(command.Execute(), RTNORM);
    EXPECT_EQ(command.Sheet(), sheet);
    EXPECT_EQ(command.SelectedParts(), std::vector<ZcDbObjectId>{part});
    EXPECT_FALSE(highlighted(sheet));

    // Both pieces lie on the sheet; nothing is set down (the sheet itself would not fit on it)
    // and no working copy is left.
    const ZcDbExtents sheetExtents = extentsOf(sheet);
    std::set<ZcDbObjectId> added;
    for (const ZcDbObjectId& id : liveEntities()) {
        if (id != sheet && id != circle && id != part) {
            added.insert(id);
        }
    }
    ASSERT_EQ(added.size(), 2U);
    for (const ZcDbObjectId& id : added) {
        const ZcDbExtents e = extentsOf(id);
        EXPECT_GE(e.minPoint().x, sheetExtents.minPoint().x - kEps);
        EXPECT_LE(e.maxPoint().x, sheetExtents.maxPoint().x + kEps);
        EXPECT_GE(e.minPoint().y, sheetExtents.minPoint().y - kEps);
        EXPECT_LE(e.maxPoint().y, sheetExtents.maxPoint().y + kEps);
    }
    EXPECT_EQ(extentsOf(part).minPoint(), ZcGePoint3d(200, 0, 0));

    // The summary counts two pieces, both placed; the status bar is back and the drawing was
    // regenerated.
    EXPECT_NE(out.find(" 2 2 0"), std::string::npos) << out;
    EXPECT_FALSE(session.progress().active);
    EXPECT_GT(session.regenCount(), regensBefore);
}

TEST_F(NestCommand, EscAtTheSheetPromptOrNoPartsEndsWithoutTouchingTheDrawing) {
    const std::vector<ZcDbObjectId> before = liveEntities();
    input.pushCancel();
    Nest_cmd cancelled{NestSettings{}};
    EXPECT_EQ(cancelled.Execute(), RTCAN);
    EXPECT_TRUE(cancelled.Sheet().isNull());

    input.push(hash(sheet)).push("");
    Nest_cmd empty{NestSettings{}};
    EXPECT_EQ(empty.Execute(), kNoPartsSelected);
    EXPECT_FALSE(highlighted(sheet));
    EXPECT_EQ(liveEntities(), before);
    EXPECT_FALSE(session.progress().active);
}

} // namespace
} // namespace gantrel
