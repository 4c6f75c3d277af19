// Entities written, read and written again. Invariants: the second file has the same groups as
// the first (compared as group code and value, reals to 1e-12 relative); the read entity has
// the written one's values (coordinates exactly).
#include <cmath>

#include "drawings.h"
#include "dxf_groups.h"
#include "test_support.h"

using namespace dxftest;

namespace {

class EntityRoundTrip : public ::testing::TestWithParam<DrawingCase> {};

TEST_P(EntityRoundTrip, SecondSaveHasTheGroupsOfTheFirst) {
    ZcDbDatabase db;
    GetParam().build(db);
    const std::string first = save(db);
    auto loaded = load(first);
    const std::string second = save(*loaded);
    EXPECT_EQ(diffGroups(parseGroups(first), parseGroups(second)), "");
    EXPECT_EQ(loaded->openObjectCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EntityRoundTrip, ::testing::ValuesIn(entityCases()),
                         [](const auto& param) { return param.param.name; });

std::unique_ptr<ZcDbDatabase> roundTrip(const std::string& caseName) {
    ZcDbDatabase db;
    buildCase(db, caseName);
    return load(save(db));
}

bool near(double a, double b) {
    return std::abs(a - b) <= 1e-12 * std::max(1.0, std::abs(a));
}

TEST(EntityValues, LineKeepsExactCoordinatesThicknessAndColour) {
    auto db = roundTrip("line");
    auto lines = entitiesOf<ZcDbLine>(*db);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]->startPoint(), ZcGePoint3d(0.1, 0.2, 0.30000000000000004));
    EXPECT_EQ(lines[0]->endPoint(), ZcGePoint3d(1e-300, -123456789.123456789, 7));
    EXPECT_EQ(lines[0]->thickness(), 2.5);
    EXPECT_EQ(lines[0]->colorIndex(), 1);
}

TEST(EntityValues, MirroredCircleIsWrittenInItsObjectCoordinates) {
    ZcDbDatabase db;
    append(db, new ZcDbCircle({1, 2, 3}, ZcGeVector3d(0, 0, -1), 0.5));
    const auto records = parseGroups(save(db));
    const auto circles = recordsNamed(records, "CIRCLE");
    ASSERT_EQ(circles.size(), 1u);
    // The object coordinates of the normal (0, 0, -1) mirror x and z.
    EXPECT_EQ(std::stod(valueOf(*circles[0], 10)), -1.0);
    EXPECT_EQ(std::stod(valueOf(*circles[0], 30)), -3.0);
    auto loaded = load(save(db));
    auto read = entitiesOf<ZcDbCircle>(*loaded);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->center(), ZcGePoint3d(1, 2, 3));
    EXPECT_EQ(read[0]->normal(), ZcGeVector3d(0, 0, -1));
}

TEST(EntityValues, ArcsKeepCenterAndAnglesAlsoOnATiltedPlane) {
    auto db = roundTrip("arc");
    auto arcs = entitiesOf<ZcDbArc>(*db);
    ASSERT_EQ(arcs.size(), 2u);
    EXPECT_EQ(arcs[0]->center(), ZcGePoint3d(1, 1, 0));
    EXPECT_TRUE(near(arcs[0]->startAngle(), kPi / 6));
    EXPECT_TRUE(near(arcs[0]->endAngle(), 5 * kPi / 4));
    EXPECT_TRUE(arcs[1]->center().isEqualTo({0, 0, 5}));
    EXPECT_TRUE(near(arcs[1]->startAngle(), 0.25));
    EXPECT_TRUE(arcs[1]->normal().isEqualTo(ZcGeVector3d(0.6, 0, 0.8)));
}

TEST(EntityValues, SplinesKeepWeightsAndFitPoints) {
    auto db = roundTrip("spline");
    auto splines = entitiesOf<ZcDbSpline>(*db);
    ASSERT_EQ(splines.size(), 2u);
    const ZcDbSpline& rational = *splines[0];
    ASSERT_TRUE(rational.isRational());
    EXPECT_EQ(rational.weights()[1], 0.7071067811865476);
    EXPECT_EQ(rational.knots().length(), 9);
    EXPECT_EQ(rational.controlPoints()[2], ZcGePoint3d(3.0, 2.5, 0));
    const ZcDbSpline& fitted = *splines[1];
    ASSERT_EQ(fitted.numFitPoints(), 4);
    EXPECT_EQ(fitted.fitPoints()[3], ZcGePoint3d(18, 4, 0));
    ZcDbSpline again(fitted.fitPoints());
    EXPECT_EQ(again.controlPoints(), fitted.controlPoints());
}

TEST(EntityValues, PolylinesKeepBulgesWidthsElevationAndClosure) {
    auto db = roundTrip("lwpolyline");
    auto polylines = entitiesOf<ZcDbPolyline>(*db);
    ASSERT_EQ(polylines.size(), 2u);
    EXPECT_TRUE(polylines[0]->isClosed());
    EXPECT_EQ(polylines[0]->elevation(), 1.25);
    ASSERT_EQ(polylines[0]->numVerts(), 4u);
    EXPECT_EQ(polylines[0]->vertices()[1].point, ZcGePoint2d(10.000000000000002, 0.2));
    EXPECT_EQ(polylines[0]->vertices()[1].bulge, 0.41421356237309503);
    EXPECT_EQ(polylines[0]->vertices()[1].endWidth, 1.5);
    EXPECT_EQ(polylines[1]->constantWidth(), 0.75);

    auto db2 = roundTrip("polyline2d");
    auto old = entitiesOf<ZcDb2dPolyline>(*db2);
    ASSERT_EQ(old.size(), 1u);
    const auto vertices = old[0]->vertexData();
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_EQ(vertices[0].bulge, 0.5);
    EXPECT_EQ(vertices[2].position, ZcGePoint3d(4, 3, 0));
    EXPECT_TRUE(old[0]->isClosed());
    EXPECT_EQ(old[0]->elevation(), 2.0);
}

TEST(EntityValues, TextsKeepUnicodeAlignmentAndMirroredPosition) {
    auto db = roundTrip("text");
    auto texts = entitiesOf<ZcDbText>(*db);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->textString(), L"Zażółć gęślą jaźń ^ 100%");
    EXPECT_EQ(texts[0]->horizontalMode(), ZcDbText::kTextCenter);
    EXPECT_EQ(texts[0]->alignmentPoint(), ZcGePoint3d(4, 2, 0));
    EXPECT_TRUE(near(texts[0]->rotation(), kPi / 7));
    EXPECT_EQ(texts[1]->position(), ZcGePoint3d(2, 3, 4));
}

TEST(EntityValues, LongMultilineTextIsSplitAndJoinedAgain) {
    ZcDbDatabase db;
    buildCase(db, "mtext");
    const std::string text = save(db);
    const auto records = parseGroups(text);
    const auto mtexts = recordsNamed(records, "MTEXT");
    ASSERT_EQ(mtexts.size(), 1u);
    int pieces = 0;
    for (const auto& [code, value] : mtexts[0]->groups)
        pieces += code == 3 ? 1 : 0;
    EXPECT_GT(pieces, 3);
    auto loaded = load(text);
    auto m = entitiesOf<ZcDbMText>(*loaded);
    ASSERT_EQ(m.size(), 1u);
    auto original = entitiesOf<ZcDbMText>(db);
    EXPECT_EQ(m[0]->contents(), original[0]->contents());
    EXPECT_TRUE(near(m[0]->rotation(), 0.5));
    EXPECT_EQ(m[0]->attachment(), ZcDbMText::kMiddleCenter);
}

TEST(EntityValues, HatchesKeepTheirBoundaryPathsAndPattern) {
    ZcDbDatabase db;
    buildCase(db, "hatch");
    auto loaded = load(save(db));
    auto before = entitiesOf<ZcDbHatch>(db);
    auto after = entitiesOf<ZcDbHatch>(*loaded);
    ASSERT_EQ(after.size(), 2u);
    for (std::size_t h = 0; h < 2; ++h) {
        ASSERT_EQ(after[h]->numLoops(), before[h]->numLoops());
        for (int i = 0; i < after[h]->numLoops(); ++i) {
            const ZcDbLoop& a = after[h]->loops()[static_cast<std::size_t>(i)];
            const ZcDbLoop& b = before[h]->loops()[static_cast<std::size_t>(i)];
            EXPECT_EQ(a.flags, b.flags);
            EXPECT_EQ(a.vertices, b.vertices);
            EXPECT_EQ(a.bulges, b.bulges);
            ASSERT_EQ(a.edges.size(), b.edges.size());
            for (std::size_t k = 0; k < a.edges.size(); ++k) {
                EXPECT_EQ(a.edges[k].kind, b.edges[k].kind);
                EXPECT_EQ(a.edges[k].counterClockwise, b.edges[k].counterClockwise);
                EXPECT_TRUE(near(a.edges[k].startAngle, b.edges[k].startAngle));
                EXPECT_TRUE(near(a.edges[k].endAngle, b.edges[k].endAngle));
                EXPECT_EQ(a.edges[k].controlPoints, b.edges[k].controlPoints);
                EXPECT_EQ(a.edges[k].weights, b.edges[k].weights);
            }
        }
    }
    EXPECT_TRUE(after[0]->isSolidFill());
    EXPECT_EQ(after[1]->patternName(), L"ANSI31");
    EXPECT_EQ(after[1]->patternScale(), 2.0);
    EXPECT_EQ(after[1]->patternLines(), before[1]->patternLines());
}

TEST(EntityValues, RegionLoopsComeBackFromTheirAcisData) {
    auto db = roundTrip("region");
    auto regions = entitiesOf<ZcDbRegion>(*db);
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_FALSE(regions[0]->hasRawDataOnly());
    ASSERT_EQ(regions[0]->loops().size(), 2u);
    double area = 0.0;
    ASSERT_EQ(regions[0]->getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 100.0 - 4.0 * kPi, 1e-9);
}

TEST(EntityValues, ReferencesKeepBlockTransformAndArray) {
    auto db = roundTrip("insert");
    auto single = entitiesOf<ZcDbBlockReference>(*db);
    auto grids = entitiesOf<ZcDbMInsertBlock>(*db);
    ASSERT_EQ(single.size(), 1u);
    ASSERT_EQ(grids.size(), 1u);
    EXPECT_EQ(single[0]->position(), ZcGePoint3d(10, 5, 0));
    EXPECT_EQ(single[0]->scaleFactors(), ZcGeScale3d(2, 2, 1));
    EXPECT_TRUE(near(single[0]->rotation(), kPi / 12));
    EXPECT_EQ(grids[0]->columns(), 3);
    EXPECT_EQ(grids[0]->rows(), 2);
    EXPECT_EQ(grids[0]->rowSpacing(), 5.5);
    EXPECT_EQ(grids[0]->blockTableRecord(), single[0]->blockTableRecord());
    const auto* block = ZcDbBlockTableRecord::cast(
        objectByHandle<ZcDbBlockTableRecord>(*db, single[0]->blockTableRecord().handle().value()));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->name(), L"PART");
    EXPECT_EQ(block->origin(), ZcGePoint3d(1, 1, 0));
}

TEST(EntityValues, LeaderArrowSizeTravelsAsDimensionStyleOverride) {
    ZcDbDatabase db;
    buildCase(db, "leader");
    const std::string text = save(db);
    const auto records = parseGroups(text);
    const auto leaders = recordsNamed(records, "LEADER");
    ASSERT_EQ(leaders.size(), 1u);
    EXPECT_EQ(valueOf(*leaders[0], 1000), "DSTYLE");
    auto loaded = load(text);
    auto read = entitiesOf<ZcDbLeader>(*loaded);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0]->dimasz(), 0.75);
    EXPECT_EQ(read[0]->dimscale(), loaded->dimscale());
    EXPECT_EQ(read[0]->numVertices(), 3);
    // The override is the leader's own value, not extended data of its own.
    EXPECT_TRUE(read[0]->xDataApps().empty());
}

TEST(EntityValues, AlignedDimensionKeepsItsPointsAndText) {
    auto db = roundTrip("dimension");
    auto dims = entitiesOf<ZcDbAlignedDimension>(*db);
    ASSERT_EQ(dims.size(), 1u);
    EXPECT_EQ(dims[0]->xLine2Point(), ZcGePoint3d(10, 0, 0));
    EXPECT_EQ(dims[0]->dimLinePoint(), ZcGePoint3d(10, 3, 0));
    EXPECT_EQ(dims[0]->textPosition(), ZcGePoint3d(5, 3, 0));
    EXPECT_EQ(dims[0]->dimensionText(), L"<> mm");
}

} // namespace
