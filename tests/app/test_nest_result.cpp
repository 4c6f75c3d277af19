// Reading a nesting result back from the drawing, on drawings changed here the way the nesting
// command changes them: a working copy of each part is cloned, a placement copy is cloned from
// it and moved then turned about the moved origin, a piece that did not fit is set down with its
// lower-left corner on the sheet's lower-right corner, and the working copies are erased.
#include "DrawingBuild.h"
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "nest_gaps.h"
#include "nest_outline.h"
#include "nest_summary.h"
#include "zcdball.h"

namespace {

using gantrel::testing::AppendToModelSpace;
using gantrel::testing::CloneIntoModelSpace;

using gantrel::app::enclosedArea;
using gantrel::app::findPlacementFaults;
using gantrel::app::NamedOutline;
using gantrel::app::NestSummary;
using gantrel::app::sampleOutline;

ZcDbPolyline* rectangle(double x, double y, double w, double h) {
    auto* pl = new ZcDbPolyline;
    pl->addVertexAt(0, {x, y});
    pl->addVertexAt(1, {x + w, y});
    pl->addVertexAt(2, {x + w, y + h});
    pl->addVertexAt(3, {x, y + h});
    pl->setClosed(true);
    return pl;
}

void transform(ZcDbObjectId id, const ZcGeMatrix3d& xform) {
    ZcDbEntity* entity = nullptr;
    ASSERT_EQ(zcdbOpenObject(entity, id, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_EQ(entity->transformBy(xform), Zcad::eOk);
    entity->close();
}

void erase(ZcDbObjectId id) {
    ZcDbObject* object = nullptr;
    ASSERT_EQ(zcdbOpenObject(object, id, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_EQ(object->erase(), Zcad::eOk);
    object->close();
}

// A placement copy of the part: through a working copy, moved by (dx, dy), then turned by the
// angle about (dx, dy).
ZcDbObjectId place(ZcDbDatabase& db, ZcDbObjectId part, double dx, double dy, double degrees) {
    const ZcDbObjectId working = CloneIntoModelSpace(db, part);
    const ZcDbObjectId copy = CloneIntoModelSpace(db, working);
    erase(working);
    transform(copy, ZcGeMatrix3d::translation({dx, dy, 0}));
    transform(copy, ZcGeMatrix3d::rotation(degrees * kPi / 180.0, ZcGeVector3d::kZAxis,
                                           ZcGePoint3d(dx, dy, 0)));
    return copy;
}

std::string text(ZcDbObjectId id) {
    std::string out;
    for (wchar_t c : id.handle().text())
        out += static_cast<char>(c);
    return out;
}

// A sheet of 100 x 50 at the origin and, beside it, a plate of 30 x 20 at (150, 0), a disc of
// radius 8 at (200, 10) and a bar of 140 x 5 at (150, 60).
struct Job {
    ZcDbDatabase db;
    ZcDbObjectId sheet = AppendToModelSpace(db, rectangle(0, 0, 100, 50));
    ZcDbObjectId plate = AppendToModelSpace(db, rectangle(150, 0, 30, 20));
    ZcDbObjectId disc =
        AppendToModelSpace(db, new ZcDbCircle({200, 10, 0}, ZcGeVector3d::kZAxis, 8));
    ZcDbObjectId bar = AppendToModelSpace(db, rectangle(150, 60, 140, 5));
    std::set<std::uint64_t> before = gantrel::app::modelSpaceHandles(db);
};

TEST(NestResult, PlacedAndSetDownCopiesAreToldApartWithTheirOrigins) {
    Job job;
    // The plate turned upright in the lower-left corner: turning (150, 0)-(180, 20) by 90
    // degrees about (dx, dy) after the move puts it at x = 0..20, y = 0..30.
    const ZcDbObjectId plate = place(job.db, job.plate, 20, -150, 90);
    const ZcDbObjectId disc = place(job.db, job.disc, -170, 0, 0);
    const ZcDbObjectId bar = CloneIntoModelSpace(job.db, job.bar);
    transform(bar, ZcGeMatrix3d::translation({100 - 150, 0 - 60, 0}));

    const NestSummary s = gantrel::app::summariseNesting(job.db, job.sheet, job.before, 0.0);
    EXPECT_EQ(s.pieces, 3);
    EXPECT_EQ(s.placed, 2);
    EXPECT_EQ(s.unplaced, 1);
    EXPECT_TRUE(s.violations.empty()) << s.violations.front();
    EXPECT_DOUBLE_EQ(s.sheetArea, 5000.0);
    ASSERT_TRUE(s.hasUsedWidth);
    EXPECT_NEAR(s.usedWidth, 38.0, 1e-9); // the disc reaches x = 30 + 8
    EXPECT_NEAR(s.utilisation, (600.0 + kPi * 64.0) / 5000.0, 1e-5);

    ASSERT_EQ(s.placements.size(), 2u);
    EXPECT_EQ(s.placements[0].handle, text(plate));
    EXPECT_EQ(s.placements[0].source, text(job.plate));
    EXPECT_NEAR(s.placements[0].rotation, 90.0, 1e-9);
    EXPECT_NEAR(s.placements[0].dx, 20.0, 1e-9);
    EXPECT_NEAR(s.placements[0].dy, -150.0, 1e-9);
    EXPECT_EQ(s.placements[1].handle, text(disc));
    EXPECT_EQ(s.placements[1].source, text(job.disc));
    EXPECT_NEAR(s.placements[1].rotation, 0.0, 1e-12);
}

TEST(NestResult, OverlapsAndPiecesOffTheSheetAreFaults) {
    Job job;
    place(job.db, job.plate, -150, 0, 0);                               // x = 0..30
    const ZcDbObjectId touching = place(job.db, job.plate, -120, 0, 0); // x = 30..60
    const ZcDbObjectId over = place(job.db, job.disc, -145, 0, 0);      // disc at (55, 10)
    const ZcDbObjectId off = place(job.db, job.plate, -70, 40, 0);      // y = 40..60
    const NestSummary s = gantrel::app::summariseNesting(job.db, job.sheet, job.before, 0.0);
    ASSERT_EQ(s.violations.size(), 2u) << gantrel::app::toJson(s);
    EXPECT_NE(s.violations[0].find(text(touching) + " and " + text(over) + " overlap"),
              std::string::npos)
        << s.violations[0];
    EXPECT_NE(s.violations[1].find(text(off) + " lies"), std::string::npos) << s.violations[1];
    EXPECT_NE(s.violations[1].find("outside the sheet"), std::string::npos);
}

TEST(NestResult, OpenCurvesMustKeepEveryPointOnTheSheet) {
    ZcDbDatabase db;
    const ZcDbObjectId sheetId = AppendToModelSpace(db, rectangle(0, 0, 100, 50));
    ZcDbEntity* sheet = nullptr;
    ASSERT_EQ(zcdbOpenObject(sheet, sheetId, ZcDb::kForRead), Zcad::eOk);
    const gantrel::app::Outline outline = sampleOutline(*sheet);
    sheet->close();
    ZcDbLine inside({10, 10, 0}, {90, 40, 0});
    ZcDbLine across({10, 10, 0}, {110, 40, 0});
    EXPECT_TRUE(findPlacementFaults(outline, {{"1", sampleOutline(inside)}}).empty());
    const std::vector<std::string> faults =
        findPlacementFaults(outline, {{"2", sampleOutline(across)}});
    ASSERT_EQ(faults.size(), 1u);
    EXPECT_NE(faults[0].find("piece 2 has the point (110, 40)"), std::string::npos) << faults[0];
}

TEST(NestResult, HolesOfRegionsAreNotArea) {
    // A region: a square of 40 with a round hole of radius 10.
    ZcDbRegion region;
    ZcDbLoop outer;
    outer.flags = 1 | 2;
    outer.vertices = {{0, 0}, {40, 0}, {40, 40}, {0, 40}};
    outer.bulges = {0, 0, 0, 0};
    ASSERT_EQ(region.appendLoop(outer), Zcad::eOk);
    ZcDbLoop hole;
    for (int half = 0; half < 2; ++half) {
        ZcDbLoopEdge edge;
        edge.kind = ZcDbLoopEdge::kCircularArc;
        edge.center = {20, 20};
        edge.radius = 10;
        edge.startAngle = half * kPi;
        edge.endAngle = (half + 1) * kPi;
        hole.edges.push_back(edge);
    }
    ASSERT_EQ(region.appendLoop(hole), Zcad::eOk);
    const gantrel::app::Outline outline = sampleOutline(region);
    EXPECT_EQ(outline.rings.size(), 2u);
    EXPECT_NEAR(enclosedArea(outline), 1600.0 - kPi * 100.0, 0.01);

    // A piece lying in the hole does not overlap the region.
    ZcDbCircle inner({20, 20, 0}, ZcGeVector3d::kZAxis, 9.5);
    ZcDbPolyline* sheet = rectangle(-10, -10, 100, 100);
    const std::unique_ptr<ZcDbPolyline> owned(sheet);
    EXPECT_TRUE(
        findPlacementFaults(sampleOutline(*sheet), {{"R", outline}, {"C", sampleOutline(inner)}})
            .empty());
}

TEST(NestResult, BlockReferencesAreReadThroughTheirBlock) {
    Job job;
    // A flange: a disc of radius 20 with a bore of radius 9, and an attribute definition that
    // references do not draw; one reference at (300, 100).
    ZcDbBlockTable* table = nullptr;
    ASSERT_EQ(job.db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbBlockTableRecord;
    record->setName(L"FLANGE");
    ZcDbObjectId block;
    ASSERT_EQ(table->add(block, record), Zcad::eOk);
    for (ZcDbEntity* e :
         {static_cast<ZcDbEntity*>(new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 20)),
          static_cast<ZcDbEntity*>(new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 9)),
          static_cast<ZcDbEntity*>(new ZcDbAttributeDefinition({500, 500, 0}, L"", L"NO", L"No?"))})
        ASSERT_EQ(record->appendZcDbEntity(e), Zcad::eOk);
    record->close();
    table->close();
    const ZcDbObjectId reference =
        AppendToModelSpace(job.db, new ZcDbBlockReference({300, 100, 0}, block));
    job.before = gantrel::app::modelSpaceHandles(job.db);

    // Turned a quarter about the origin, (300, 100) goes to (-100, 300); moved on to (50, 25).
    const ZcDbObjectId flange = place(job.db, reference, 150, -275, 90);
    // The disc of radius 8 sits in the bore.
    place(job.db, job.disc, -150, 15, 0);
    const NestSummary s = gantrel::app::summariseNesting(job.db, job.sheet, job.before, 0.0);
    EXPECT_TRUE(s.violations.empty()) << gantrel::app::toJson(s);
    ASSERT_EQ(s.placed, 2);
    EXPECT_EQ(s.placements[0].handle, text(flange));
    EXPECT_EQ(s.placements[0].source, text(reference));
    EXPECT_NEAR(s.placements[0].rotation, 90.0, 1e-9);
    EXPECT_NEAR(s.utilisation, kPi * (400.0 - 81.0 + 64.0) / 5000.0, 1e-5);
    ASSERT_TRUE(s.hasUsedWidth);
    EXPECT_NEAR(s.usedWidth, 70.0, 1e-6);
}

TEST(NestResult, SummaryIsOneJsonObject) {
    NestSummary s;
    s.pieces = 2;
    s.unplaced = 2;
    s.violations = {"piece \"7\" \\ odd"};
    const std::string json = gantrel::app::toJson(s);
    EXPECT_EQ(json.front(), '{');
    EXPECT_EQ(json.back(), '}');
    EXPECT_NE(json.find("\"used_width\": null"), std::string::npos) << json;
    EXPECT_NE(json.find("\"placements\": []"), std::string::npos) << json;
    EXPECT_NE(json.find("\"piece \\\"7\\\" \\\\ odd\""), std::string::npos) << json;
}

} // namespace

namespace {

using gantrel::app::curveDistance;
using gantrel::app::gapShape;

double gapBetween(const ZcDbEntity& a, const ZcDbEntity& b) {
    return curveDistance(gapShape(a, 1e-9), gapShape(b, 1e-9));
}

TEST(NestGaps, DistancesAreMeasuredOnTheCurvesNotOnTheirChords) {
    const ZcDbCircle big({0, 0, 0}, ZcGeVector3d::kZAxis, 10);
    const ZcDbCircle small({20, 0, 0}, ZcGeVector3d::kZAxis, 5);
    EXPECT_NEAR(gapBetween(big, small), 5.0, 1e-12);
    const ZcDbCircle inside({1, 0, 0}, ZcGeVector3d::kZAxis, 2);
    EXPECT_NEAR(gapBetween(big, inside), 7.0, 1e-12);

    // A plate whose top edge is a half circle of radius 5 about (5, 10), and a line above it.
    auto* plate = rectangle(0, 0, 10, 10);
    plate->setBulgeAt(2, 1.0);
    const ZcDbLine above({-20, 16, 0}, {30, 16, 0});
    EXPECT_NEAR(gapBetween(*plate, above), 1.0, 1e-9);
    const ZcDbLine crossing({-20, 14, 0}, {30, 14, 0});
    EXPECT_EQ(gapBetween(*plate, crossing), 0.0);
    // An arc of a quarter circle faces the line only with its end.
    const ZcDbArc quarter({0, 0, 0}, 10, 0, kPi / 2);
    const ZcDbLine below({-20, -3, 0}, {30, -3, 0});
    EXPECT_NEAR(gapBetween(quarter, below), 3.0, 1e-12);
    EXPECT_NEAR(gapBetween(quarter, small), 5.0, 1e-12); // the arc's end (10, 0)
    // An ellipse reaching x = 10 and a line at x = 11, within the chords' tolerance.
    const ZcDbEllipse ellipse({0, 0, 0}, ZcGeVector3d::kZAxis, {10, 0, 0}, 0.5);
    const ZcDbLine right({11, -20, 0}, {11, 20, 0});
    EXPECT_NEAR(gapBetween(ellipse, right), 1.0, 1e-8);
    delete plate;
}

TEST(NestResult, PiecesCloserThanTheSpacingAreFaultsWithBothHandles) {
    Job job;
    const ZcDbObjectId plate = place(job.db, job.plate, -149, 1, 0); // x = 1..31, y = 1..21
    const ZcDbObjectId disc = place(job.db, job.disc, -160, 1, 0);   // x = 32..48, y = 3..19
    const NestSummary held = gantrel::app::summariseNesting(job.db, job.sheet, job.before, 1.0);
    EXPECT_TRUE(held.violations.empty()) << held.violations.front();
    const NestSummary wider = gantrel::app::summariseNesting(job.db, job.sheet, job.before, 1.5);
    ASSERT_EQ(wider.violations.size(), 2u) << gantrel::app::toJson(wider);
    EXPECT_NE(wider.violations[0].find("piece " + text(plate) + " lies 1 from the sheet's edge"),
              std::string::npos)
        << wider.violations[0];
    EXPECT_NE(wider.violations[1].find("pieces " + text(plate) + " and " + text(disc) +
                                       " lie 1 apart, closer than the spacing 1.5"),
              std::string::npos)
        << wider.violations[1];
}

} // namespace
