// Whole runs over drawings built in the test: the outcome drawn as copies on the sheet, the
// pieces that did not fit set down beside it, the working copies gone, the user's objects as
// they were, and the summary on the command line.
#include "NestDwgTest.h"

#include "nesting/dwg/NestDWG.h"
#include "nesting/dwg/OutputObservers.h"
#include "nesting/run/ByDialogStopProvider.h"

#include <cmath>
#include <cstdio>
#include <set>

namespace gantrel {
namespace {

constexpr double kEps = 1e-6;

class NestRun : public NestDwgTest {
protected:
    // Texts with the placeholders the summary fills.
    static std::wstring Texts(unsigned id) {
        switch (id) {
        case 30312:
            return L"%d|%d|%d";
        case 30313:
            return L"W=%0.3f";
        case 30314:
            return L"A=%0.3f";
        default:
            return L"?";
        }
    }

    // Loads sheet and parts, attaches the output observers in the command's order and runs.
    void Run(ZcDbObjectId sheet, const std::vector<ZcDbObjectId>& parts) {
        run.LoadSheet(sheet);
        NestEntities selected;
        for (const ZcDbObjectId& id : parts) {
            selected.Add({id});
        }
        run.LoadParts(selected);
        loaded = run.Parts();
        for (const NestPolygon& piece : loaded) {
            workingCopies.push_back(ObjectId(piece.Name().c_str()).Id());
        }
        placement = std::make_unique<PlacementEvaluator>(loaded, &db());
        status = std::make_unique<NestStatusPrinter>(
            loaded, sheet, *placement, [this] { return now; }, Texts);
        unused = std::make_unique<UnUsedPlacer>(sheet, loaded);
        eraser = std::make_unique<UsedEraser>(loaded, &db());
        for (Nest_Observer* observer : std::initializer_list<Nest_Observer*>{
                 placement.get(), status.get(), unused.get(), eraser.get()}) {
            run.Attach(observer);
        }
        run.SetStopProvider(&stop);
        run.Prepare();
        run.Run();
        now += 3725; // 1 h 2 min 5 s
        out.clear();
        run.Finish();
    }

    static bool Inside(const ZcDbExtents& inner, const ZcDbExtents& outer) {
        return inner.minPoint().x >= outer.minPoint().x - kEps &&
               inner.minPoint().y >= outer.minPoint().y - kEps &&
               inner.maxPoint().x <= outer.maxPoint().x + kEps &&
               inner.maxPoint().y <= outer.maxPoint().y + kEps;
    }

    static std::string Fixed3(double value) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%0.3f", value);
        return buffer;
    }

    std::int64_t now = 1000;
    NestDWG run{NestSettings{}};
    ByDialogStopProvider stop;
    Polygons loaded;
    std::vector<ZcDbObjectId> workingCopies;
    std::unique_ptr<PlacementEvaluator> placement;
    std::unique_ptr<NestStatusPrinter> status;
    std::unique_ptr<UnUsedPlacer> unused;
    std::unique_ptr<UsedEraser> eraser;
};

TEST_F(NestRun, PlacesWhatFitsSetsDownTheRestAndLeavesTheUsersObjectsAlone) {
    // Three 40 x 40 pieces with a spacing of 1 on a 100 x 50 sheet: two fit side by side.
    const ZcDbObjectId sheet = addRectangle(0, 0, 100, 50);
    const ZcDbObjectId part = addRectangle(300, 300, 40, 40);
    setPlaxen(part, {key(L"Count"), value(3)});
    const auto partData = xdataOf(part);
    const ZcDbExtents partExtents = extentsOf(part);
    const ZcDbExtents sheetExtents = extentsOf(sheet);

    Run(sheet, {part});
    ASSERT_EQ(workingCopies.size(), 3U);

    // The user's objects are where they were, with their data.
    EXPECT_FALSE(part.isErased());
    EXPECT_FALSE(sheet.isErased());
    EXPECT_EQ(xdataOf(part), partData);
    EXPECT_EQ(extentsOf(part).minPoint(), partExtents.minPoint());
    EXPECT_EQ(extentsOf(part).maxPoint(), partExtents.maxPoint());

    // No working copy is left.
    for (const ZcDbObjectId& copy : workingCopies) {
        EXPECT_TRUE(copy.isErased());
    }

    // The best layout: two copies on the sheet, apart from each other.
    const std::vector<ZcDbObjectId>& placed = placement->Copies();
    ASSERT_EQ(placed.size(), 2U);
    EXPECT_EQ(run.Best().PlacedCount(), 2);
    ZcDbExtents layout;
    for (const ZcDbObjectId& copy : placed) {
        const ZcDbExtents e = extentsOf(copy);
        EXPECT_TRUE(Inside(e, sheetExtents));
        EXPECT_NEAR(e.maxPoint().x - e.minPoint().x, 40, kEps);
        layout.addExt(e);
    }
    const ZcDbExtents first = extentsOf(placed[0]);
    const ZcDbExtents second = extentsOf(placed[1]);
    EXPECT_TRUE(first.maxPoint().x <= second.minPoint().x + kEps ||
                second.maxPoint().x <= first.minPoint().x + kEps);

    // The third piece lies with its lower left corner on the sheet's lower right corner.
    ASSERT_EQ(unused->SetDown().size(), 1U);
    const ZcDbExtents setDown = extentsOf(unused->SetDown()[0]);
    EXPECT_NEAR(setDown.minPoint().x, sheetExtents.maxPoint().x, kEps);
    EXPECT_NEAR(setDown.minPoint().y, sheetExtents.minPoint().y, kEps);

    // The drawing holds the two user objects, the layout and the piece set down: nothing else.
    std::set<ZcDbObjectId> expected{sheet, part, placed[0], placed[1], unused->SetDown()[0]};
    const std::vector<ZcDbObjectId> live = liveEntities();
    EXPECT_EQ(std::set<ZcDbObjectId>(live.begin(), live.end()), expected);

    // The summary: time, pieces placed of all, the width the layout uses on the sheet, and the
    // share of the sheet the placed pieces cover.
    const double width = layout.maxPoint().x - layout.minPoint().x;
    EXPECT_LT(width, 100.0);
    EXPECT_GE(width, 80.0) << "the width of the whole layout, not of one piece";
    const double share = 100.0 * 2 * (40.0 * 40.0) / (100.0 * 50.0);
    EXPECT_EQ(out, "\n h:01, m:02, s:05\n3|2|1\nW=" + Fixed3(width) + "\nA=" + Fixed3(share));
}

TEST_F(NestRun, AStepDrawsOnlyTheLatestLayoutTurnedAboutItsMovedOrigin) {
    const ZcDbObjectId part = addRectangle(0, 0, 10, 5);
    Polygons parts;
    DwgParser().Parse(part, 20, parts);
    ASSERT_EQ(parts.Size(), 1);
    PlacementEvaluator evaluator(parts, &db());

    Result result;
    Positions sheet;
    Position position;
    position.name = parts[0].Name();
    position.translation = GePoint(20, 30);
    position.rotation = 90;
    position.placed = true;
    sheet.Add(position);
    result.sheets.Add(sheet);
    result.rating = 1;

    evaluator.SetResult(result);
    evaluator.Update();
    ASSERT_EQ(evaluator.Copies().size(), 1U);
    const ZcDbObjectId firstCopy = evaluator.Copies()[0];
    // The outline turned by 90 degrees about the origin, (-5, 0)-(0, 10), then moved by (20, 30).
    const ZcDbExtents e = extentsOf(firstCopy);
    EXPECT_NEAR(e.minPoint().x, 15, kEps);
    EXPECT_NEAR(e.minPoint().y, 30, kEps);
    EXPECT_NEAR(e.maxPoint().x, 20, kEps);
    EXPECT_NEAR(e.maxPoint().y, 40, kEps);

    // The next result replaces the drawing; a position naming no piece is passed over.
    sheet[0].rotation = 0;
    Position stray = position;
    stray.name = L"FFFFFF";
    sheet.Add(stray);
    result.sheets[0] = sheet;
    evaluator.SetResult(result);
    evaluator.Finish();
    EXPECT_TRUE(firstCopy.isErased());
    ASSERT_EQ(evaluator.Copies().size(), 1U);
    const ZcDbExtents moved = extentsOf(evaluator.Copies()[0]);
    EXPECT_NEAR(moved.minPoint().x, 20, kEps);
    EXPECT_NEAR(moved.maxPoint().y, 35, kEps);
}

TEST_F(NestRun, ALongRunMovesOneCopyPerPieceAndDrawsTheEndWithFreshCopies) {
    Polygons parts;
    DwgParser().Parse(addRectangle(0, 0, 10, 5), 20, parts);
    DwgParser().Parse(addRectangle(0, 0, 4, 4), 20, parts);
    ASSERT_EQ(parts.Size(), 2);
    PlacementEvaluator evaluator(parts, &db());
    const auto layout = [&](std::vector<std::pair<int, double>> placed) {
        Result result;
        Positions sheet;
        for (const auto& [part, x] : placed) {
            Position position;
            position.name = parts[part].Name();
            position.translation = GePoint(x, 0);
            position.placed = true;
            sheet.Add(position);
        }
        result.sheets.Add(sheet);
        result.rating = 1;
        return result;
    };
    const std::size_t before = liveEntities().size();
    evaluator.SetResult(layout({{0, 100}, {1, 200}}));
    evaluator.Update();
    ASSERT_EQ(evaluator.Copies().size(), 2U);
    const ZcDbObjectId plate = evaluator.Copies()[0];
    const ZcDbObjectId square = evaluator.Copies()[1];
    // A layout without the square hides its copy; the next one brings the same copy back.
    for (int i = 0; i < 100; ++i) {
        evaluator.SetResult(layout({{0, 300.0 + i}}));
        evaluator.Update();
    }
    EXPECT_TRUE(square.isErased());
    EXPECT_EQ(evaluator.Copies(), std::vector<ZcDbObjectId>{plate});
    EXPECT_NEAR(extentsOf(plate).minPoint().x, 399, kEps);
    evaluator.SetResult(layout({{1, 50}, {0, 0}}));
    evaluator.Update();
    EXPECT_EQ(evaluator.Copies(), (std::vector<ZcDbObjectId>{square, plate}));
    EXPECT_FALSE(square.isErased());
    EXPECT_NEAR(extentsOf(square).minPoint().x, 50, kEps);
    EXPECT_NEAR(extentsOf(plate).maxPoint().x, 10, kEps);
    EXPECT_EQ(liveEntities().size(), before + 2);

    // The end: fresh copies, the moved ones erased.
    evaluator.Finish();
    EXPECT_TRUE(plate.isErased());
    EXPECT_TRUE(square.isErased());
    ASSERT_EQ(evaluator.Copies().size(), 2U);
    EXPECT_NE(evaluator.Copies()[0], square);
    EXPECT_NEAR(extentsOf(evaluator.Copies()[0]).minPoint().x, 50, kEps);
    EXPECT_EQ(liveEntities().size(), before + 2);
}

TEST_F(NestRun, ASheetWithoutAreaPlacesNothingAndSetsEveryPieceDown) {
    const ZcDbObjectId sheet = addPolyline({{0, 0, 0}, {100, 0, 0}}, false);
    const ZcDbObjectId part = addCircle(500, 500, 10);
    setPlaxen(part, {key(L"Count"), value(2)});

    Run(sheet, {part});
    EXPECT_TRUE(placement->Copies().empty());
    ASSERT_EQ(unused->SetDown().size(), 2U);
    for (const ZcDbObjectId& copy : unused->SetDown()) {
        const ZcDbExtents e = extentsOf(copy);
        EXPECT_NEAR(e.minPoint().x, 100, kEps);
        EXPECT_NEAR(e.minPoint().y, 0, kEps);
    }
    for (const ZcDbObjectId& copy : workingCopies) {
        EXPECT_TRUE(copy.isErased());
    }
    // No placed line; no layout has a width; nothing of the sheet is used.
    EXPECT_EQ(out, "\n h:01, m:02, s:05\nW=-1.000\nA=0.000");
}

} // namespace
} // namespace gantrel
