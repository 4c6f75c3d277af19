// The command "Plaxen" driven with answers queued for its prompts. The stop dialog has no user
// here, so it is cancelled at once and the run goes on to its end, as it does when nobody
// presses the button.
#include "NestDwgTest.h"

#include "nesting/dwg/Nest_cmd.h"

#include "cancel.h"
#include "dialog_operator.h"
#include "zced.h"

#include <algorithm>
#include <chrono>

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

TEST_F(NestCommand, AStopPressedEarlyEndsTheRunWithTheBestSoFarDrawn) {
    // Ten more parts and a search that would breed for many minutes; the user asks to cancel
    // before the run starts, and the watcher presses the stop dialog's button as soon as it
    // shows. Whenever the run sees the flag, Finish draws the best arrangement found so far.
    for (int i = 0; i < 10; ++i) {
        setPlaxen(addRectangle(300 + 20 * i, 0, 7 + i, 5), {key(L"Count"), value(1)});
    }
    std::string parts = hash(part);
    for (const ZcDbObjectId& id : liveEntities()) {
        if (id != sheet && id != circle && id != part) {
            parts += " " + hash(id);
        }
    }
    const std::vector<ZcDbObjectId> before = liveEntities();
    NestSettings settings;
    settings.generations = 100000;
    settings.maxCalculationTime = 60;
    input.push(hash(sheet)).push(parts);
    editor::CancelWatcher watcher(std::chrono::milliseconds(1));
    dialogs::SetDefaultDialogOperator(&watcher);
    editor::RequestCancel();
    Nest_cmd command{settings};
    EXPECT_EQ(command.Execute(), RTNORM);
    dialogs::SetDefaultDialogOperator(nullptr);
    EXPECT_FALSE(editor::CancelRequested()) << "the stop dialog took the request";

    // Every piece is either on the sheet or set down beside it, and no working copy is left.
    const ZcDbExtents sheetExtents = extentsOf(sheet);
    int onSheet = 0;
    int setDown = 0;
    for (const ZcDbObjectId& id : liveEntities()) {
        if (std::find(before.begin(), before.end(), id) != before.end()) {
            continue;
        }
        const ZcDbExtents e = extentsOf(id);
        if (e.maxPoint().x <= sheetExtents.maxPoint().x + kEps) {
            ++onSheet;
        } else {
            EXPECT_NEAR(e.minPoint().x, sheetExtents.maxPoint().x, kEps);
            EXPECT_NEAR(e.minPoint().y, sheetExtents.minPoint().y, kEps);
            ++setDown;
        }
    }
    EXPECT_EQ(onSheet + setDown, 12);
    // The counts line appears once something is placed; a stop before the first arrangement
    // leaves an empty best, all pieces set down and no layout width.
    if (onSheet > 0) {
        EXPECT_NE(out.find(" 12 " + std::to_string(onSheet) + " " + std::to_string(setDown)),
                  std::string::npos)
            << out;
    } else {
        EXPECT_NE(out.find(" -1\n"), std::string::npos) << out;
    }
    EXPECT_FALSE(session.progress().active);
}

} // namespace
} // namespace gantrel
