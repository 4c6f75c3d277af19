// The real drawings of tests/data/dxf-samples (written by other programs, 2004 to 2018): they
// read without error, hold what their README says, and save to a file that reads back to the
// same groups.
#include "database_impl.h"
#include "drawings.h"
#include "dxf_groups.h"
#include "test_support.h"

using namespace dxftest;

namespace {

std::unique_ptr<ZcDbDatabase> sample(const std::string& name) {
    return load(readFile(dataPath("dxf-samples/" + name)), false, name);
}

class SampleRoundTrip : public ::testing::TestWithParam<const char*> {};

TEST_P(SampleRoundTrip, SavedSampleReadsBackToTheSameGroups) {
    auto db = sample(GetParam());
    const std::string first = save(*db);
    auto again = load(first);
    EXPECT_EQ(diffGroups(parseGroups(first), parseGroups(save(*again))), "");
}

// Records the sample has keep their handle and kind in our file, and kept tables and objects
// keep their groups.
TEST_P(SampleRoundTrip, RecordsOfTheSampleSurvive) {
    const auto original = parseGroups(readFile(dataPath(std::string("dxf-samples/") + GetParam())));
    auto db = sample(GetParam());
    const auto written = parseGroups(save(*db));
    std::map<std::string, std::string> kinds;
    for (const GroupRecord& r : written)
        for (const auto& [code, value] : r.groups)
            if (code == 5 || code == 105) {
                kinds[value] = r.name;
                break;
            }
    for (const GroupRecord& r : original) {
        const std::string handle = valueOf(r, r.name == "DIMSTYLE" ? 105 : 5);
        if (handle.empty() || r.name == "SECTION")
            continue;
        EXPECT_EQ(kinds[handle], r.name) << "record " << r.name << " #" << handle;
    }
}

// The next free handle the header names lies above every handle of the file, those of records
// written without a database object (block ends, sequence ends, default tables) included.
TEST_P(SampleRoundTrip, HandleSeedIsAboveEveryHandle) {
    auto db = sample(GetParam());
    ZcDbDatabase::Impl& impl = db->impl();
    // A record the writer makes, and a new object, both need handles of their own.
    impl.fileExtras.clear();
    dxftest::append(*db, new ZcDbLine({0, 0, 0}, {1, 0, 0}));
    const auto records = parseGroups(save(*db));
    std::uint64_t seed = 0, highest = 0;
    for (const GroupRecord& r : records) {
        const bool header = r.name == "SECTION" && valueOf(r, 2) == "HEADER";
        for (std::size_t i = 0; i < r.groups.size(); ++i) {
            const auto& [code, value] = r.groups[i];
            if (header && code == 9 && value == "$HANDSEED" && i + 1 < r.groups.size())
                seed = std::stoull(r.groups[i + 1].second, nullptr, 16);
            else if (!header && (code == 5 || code == 105))
                highest = std::max<std::uint64_t>(highest, std::stoull(value, nullptr, 16));
        }
    }
    ASSERT_GT(highest, 0u);
    EXPECT_GT(seed, highest);
}

INSTANTIATE_TEST_SUITE_P(Samples, SampleRoundTrip,
                         ::testing::Values("forms.dxf", "issue39.dxf",
                                           "multi_insert_with_attribs.dxf", "squircle2.dxf"),
                         [](const auto& param) {
                             std::string n = param.param;
                             return n.substr(0, n.find('.'));
                         });

TEST(Samples, FormsHasItsLooseShapes) {
    auto db = sample("forms.dxf");
    EXPECT_EQ(entitiesOf<ZcDbPolyline>(*db).size(), 33u);
    EXPECT_EQ(entitiesOf<ZcDbCircle>(*db).size(), 5u);
    auto ellipses = entitiesOf<ZcDbEllipse>(*db);
    ASSERT_EQ(ellipses.size(), 2u);
    for (const ZcDbPolyline* p : entitiesOf<ZcDbPolyline>(*db))
        EXPECT_TRUE(p->isClosed());
    const ZcDbHeaderValue* units = db->headerVar(L"INSUNITS");
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(db->insunits(), 4);
}

TEST(Samples, MultipleInsertHasRowsColumnsAndAttributes) {
    auto db = sample("multi_insert_with_attribs.dxf");
    auto grids = entitiesOf<ZcDbMInsertBlock>(*db);
    ASSERT_EQ(grids.size(), 1u);
    EXPECT_EQ(grids[0]->rows(), 5);
    EXPECT_EQ(grids[0]->columns(), 5);
    EXPECT_NEAR(grids[0]->rotation(), 15.0 * kPi / 180.0, 1e-15);
    EXPECT_EQ(grids[0]->attributeIds().size(), 3u);
    ZcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(zcdbOpenObject(block, grids[0]->blockTableRecord(), ZcDb::kForRead), Zcad::eOk);
    int attdefs = 0, polylines = 0, circles = 0;
    for (const ZcDbObjectId& id : block->entityIds()) {
        attdefs += id.objectClass() == ZcDbAttributeDefinition::desc();
        polylines += id.objectClass() == ZcDb2dPolyline::desc();
        circles += id.objectClass() == ZcDbCircle::desc();
    }
    block->close();
    EXPECT_EQ(attdefs, 3);
    EXPECT_EQ(polylines, 1);
    EXPECT_EQ(circles, 1);
}

TEST(Samples, SquircleIsAClosedPeriodicRationalSpline) {
    auto db = sample("squircle2.dxf");
    auto splines = entitiesOf<ZcDbSpline>(*db);
    ASSERT_EQ(splines.size(), 1u);
    const ZcDbSpline& s = *splines[0];
    EXPECT_EQ(s.degree(), 2);
    EXPECT_EQ(s.numControlPoints(), 9);
    EXPECT_EQ(s.knots().length(), 12);
    ASSERT_TRUE(s.isRational());
    EXPECT_EQ(s.weights()[0], 1.0);
    EXPECT_NEAR(s.weights()[1], 0.7071, 1e-4);
    EXPECT_TRUE(s.isPeriodic());
}

TEST(Samples, UsersDrawingHasPolylinesWithArcsAReferenceAndJoinedText) {
    auto db = sample("issue39.dxf");
    auto polylines = entitiesOf<ZcDbPolyline>(*db);
    EXPECT_EQ(polylines.size(), 14u);
    int bulged = 0;
    for (const ZcDbPolyline* p : polylines)
        for (const auto& v : p->vertices())
            bulged += v.bulge != 0.0;
    EXPECT_GT(bulged, 0);
    EXPECT_EQ(entitiesOf<ZcDbBlockReference>(*db).size(), 1u);
    auto texts = entitiesOf<ZcDbMText>(*db);
    ASSERT_EQ(texts.size(), 1u);
    // The contents are joined from their pieces: no piece boundary shows.
    const auto original = parseGroups(readFile(dataPath("dxf-samples/issue39.dxf")));
    std::string joined;
    for (const auto& [code, value] : recordsNamed(original, "MTEXT")[0]->groups)
        if (code == 3 || code == 1)
            joined += value;
    EXPECT_EQ(texts[0]->contents().size(), joined.size());
}

} // namespace
