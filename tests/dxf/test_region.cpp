// Regions and their ACIS SAT data: the character cipher, SAT text read into loops of straight
// and circular edges (as AutoCAD versions 2000 to 2010 write it), our SAT read back, and data
// that is not a planar region kept and written back unchanged.
#include "drawings.h"
#include "dxf_groups.h"
#include "sat.h"
#include "test_support.h"

using namespace dxftest;
using namespace gantrel::dxf;

namespace {

TEST(SatCipher, EncodesAndDecodesBothWays) {
    const std::string plain = "face $-1 -1 $-1 $4 $5 $2 $-1 $6 forward double out #";
    const std::string coded = encodeSatLine(plain);
    EXPECT_EQ(coded.substr(0, 4), "9><:");
    EXPECT_EQ(coded.back(), '|');
    EXPECT_EQ(decodeSatLine(coded), plain);
    // 'A' is written as '^' followed by a blank, '@' and '_' trade places.
    EXPECT_EQ(encodeSatLine("A_@"), "^ @_");
    EXPECT_EQ(decodeSatLine("^ @_"), "A_@");
}

// A region as AutoCAD 2004 to 2010 writes one: version 700, a 4 x 2 rectangle whose right side
// bulges out as a half circle of radius 1 around (4, 1).
const std::vector<std::string> kAutocadRegion = {
    "700 0 1 0 ",
    "@33 Autodesk AutoCAD Version 18.0.0 @12 ACIS 32.0 NT @24 Mon Jan 02 10:00:00 2012 ",
    "1 9.9999999999999995e-007 1e-010 ",
    "body $-1 -1 $-1 $1 $-1 $-1 #",
    "lump $-1 -1 $-1 $-1 $2 $0 #",
    "shell $-1 -1 $-1 $-1 $-1 $3 $-1 $1 #",
    "face $-1 -1 $-1 $-1 $4 $2 $-1 $5 forward double out #",
    "loop $-1 -1 $-1 $-1 $6 $3 #",
    "plane-surface $-1 -1 $-1 0 0 0 0 0 1 1 0 0 forward_v I I I I #",
    "coedge $-1 -1 $-1 $7 $9 $-1 $10 forward $4 $-1 #",
    "coedge $-1 -1 $-1 $8 $6 $-1 $11 reversed $4 $-1 #",
    "coedge $-1 -1 $-1 $9 $7 $-1 $12 forward $4 $-1 #",
    "coedge $-1 -1 $-1 $6 $8 $-1 $13 forward $4 $-1 #",
    "edge $-1 -1 $-1 $14 0 $15 4 $6 $18 forward @7 unknown #",
    "edge $-1 -1 $-1 $16 1.5707963267948966 $15 4.7123889803846897 $7 $19 forward @7 unknown #",
    "edge $-1 -1 $-1 $16 0 $17 4 $8 $20 forward @7 unknown #",
    "edge $-1 -1 $-1 $17 0 $14 2 $9 $21 forward @7 unknown #",
    "vertex $-1 -1 $-1 $10 $22 #",
    "vertex $-1 -1 $-1 $10 $23 #",
    "vertex $-1 -1 $-1 $12 $24 #",
    "vertex $-1 -1 $-1 $13 $25 #",
    "straight-curve $-1 -1 $-1 0 0 0 1 0 0 I I #",
    "ellipse-curve $-1 -1 $-1 4 1 0 0 0 -1 -1 0 0 1 I I #",
    "straight-curve $-1 -1 $-1 4 2 0 -1 0 0 I I #",
    "straight-curve $-1 -1 $-1 0 2 0 0 -1 0 I I #",
    "point $-1 -1 $-1 0 0 0 #",
    "point $-1 -1 $-1 4 0 0 #",
    "point $-1 -1 $-1 4 2 0 #",
    "point $-1 -1 $-1 0 2 0 #",
    "End-of-ACIS-data ",
};

TEST(SatRegion, AutocadDataReadsAsLoopsOfLinesAndArcs) {
    PlanarLoops region;
    std::string why;
    ASSERT_TRUE(satToLoops(kAutocadRegion, region, why)) << why;
    ASSERT_EQ(region.loops.size(), 1u);
    const auto& edges = region.loops[0].edges;
    ASSERT_EQ(edges.size(), 4u);
    EXPECT_EQ(edges[0].kind, ZcDbLoopEdge::kLine);
    EXPECT_EQ(edges[0].start, ZcGePoint2d(0, 0));
    EXPECT_EQ(edges[0].end, ZcGePoint2d(4, 0));
    // The arc runs from (4, 0) to (4, 2) through (5, 1): counter-clockwise about +z.
    EXPECT_EQ(edges[1].kind, ZcDbLoopEdge::kCircularArc);
    EXPECT_EQ(edges[1].center, ZcGePoint2d(4, 1));
    EXPECT_EQ(edges[1].radius, 1.0);
    EXPECT_TRUE(edges[1].counterClockwise);
    EXPECT_NEAR(edges[1].startAngle, -kPi / 2, 1e-15);
    EXPECT_NEAR(edges[1].endAngle, kPi / 2, 1e-15);
    ZcDbRegion r;
    ASSERT_EQ(r.appendLoop(region.loops[0]), Zcad::eOk);
    double area = 0;
    ASSERT_EQ(r.getArea(area), Zcad::eOk);
    EXPECT_NEAR(area, 8.0 + kPi / 2, 1e-12);
}

TEST(SatRegion, OurDataReadsBackToTheSameLoops) {
    PlanarLoops written;
    std::unique_ptr<ZcDbRegion> region(squareWithHole());
    written.loops = region->loops();
    written.normal = ZcGeVector3d(0, 0, 1);
    written.elevation = 2.5;
    const auto sat = loopsToSat(written);
    PlanarLoops read;
    std::string why;
    ASSERT_TRUE(satToLoops(sat, read, why)) << why;
    EXPECT_EQ(read.elevation, 2.5);
    ASSERT_EQ(read.loops.size(), 2u);
    // The hole is clockwise inside its face; the outer loop counter-clockwise.
    EXPECT_EQ(read.loops[0].edges.size(), 4u);
    ASSERT_EQ(read.loops[1].edges.size(), 1u);
    EXPECT_FALSE(read.loops[1].edges[0].counterClockwise);
    EXPECT_EQ(read.loops[1].edges[0].radius, 2.0);
    EXPECT_EQ(loopsToSat(read), sat);
}

TEST(SatRegion, TiltedPlaneKeepsItsNormalAndElevation) {
    PlanarLoops written;
    std::unique_ptr<ZcDbRegion> region(squareWithHole());
    written.loops = region->loops();
    written.normal = ZcGeVector3d(0, 0.6, 0.8);
    written.elevation = -3.0;
    PlanarLoops read;
    std::string why;
    ASSERT_TRUE(satToLoops(loopsToSat(written), read, why)) << why;
    EXPECT_TRUE(read.normal.isEqualTo(written.normal));
    EXPECT_NEAR(read.elevation, -3.0, 1e-12);
    EXPECT_NEAR(read.loops[0].edges[1].start.x, 10.0, 1e-12);
}

TEST(SatRegion, DataOfOtherShapesIsRefusedWithItsReason) {
    std::vector<std::string> spline = kAutocadRegion;
    spline[22] = "intcurve-curve $-1 -1 $-1 forward { exactcur nubs 3 open 2 0 3 } I I #";
    PlanarLoops region;
    std::string why;
    EXPECT_FALSE(satToLoops(spline, region, why));
    EXPECT_EQ(why, "an edge on a intcurve-curve");
    std::vector<std::string> cone = kAutocadRegion;
    cone[8] = "cone-surface $-1 -1 $-1 0 0 0 0 0 1 1 0 0 1 0 1 0 forward I I I I #";
    EXPECT_FALSE(satToLoops(cone, region, why));
    EXPECT_FALSE(satToLoops({"garbage"}, region, why));
}

std::string regionFile(const std::vector<std::string>& sat) {
    std::string groups;
    for (const std::string& line : sat)
        groups += "1\n" + encodeSatLine(line) + "\n";
    return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1018\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n"
           "0\nREGION\n5\n2A\n330\n1F\n100\nAcDbEntity\n8\n0\n100\nAcDbModelerGeometry\n70\n1\n" +
           groups + "0\nENDSEC\n0\nEOF\n";
}

TEST(SatRegion, RegionEntityOfAFileIsDecoded) {
    auto db = load(regionFile(kAutocadRegion), true);
    auto regions = entitiesOf<ZcDbRegion>(*db);
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_FALSE(regions[0]->hasRawDataOnly());
    EXPECT_EQ(regions[0]->loops().size(), 1u);
}

TEST(SatRegion, UndecodableRegionIsWrittenBackUnchanged) {
    std::vector<std::string> sat = kAutocadRegion;
    sat[22] = "intcurve-curve $-1 -1 $-1 forward { exactcur nubs 3 open 2 0 3 } I I #";
    const std::string file = regionFile(sat);
    auto db = std::make_unique<ZcDbDatabase>(false);
    const auto result = readDxfText(*db, file, "region.dxf");
    ASSERT_TRUE(result.ok) << result.message;
    std::string repairs;
    for (const auto& r : result.repairs)
        repairs += r;
    EXPECT_NE(repairs.find("REGION data kept as it is (an edge on a intcurve-curve)"),
              std::string::npos);
    auto regions = entitiesOf<ZcDbRegion>(*db);
    ASSERT_EQ(regions.size(), 1u);
    EXPECT_TRUE(regions[0]->hasRawDataOnly());
    const auto writtenRecords = parseGroups(save(*db));
    const auto originalRecords = parseGroups(file);
    const auto written = recordsNamed(writtenRecords, "REGION");
    const auto original = recordsNamed(originalRecords, "REGION");
    ASSERT_EQ(written.size(), 1u);
    std::vector<std::string> a, b;
    for (const auto& [code, value] : written[0]->groups)
        if (code == 1 || code == 3)
            a.push_back(value);
    for (const auto& [code, value] : original[0]->groups)
        if (code == 1 || code == 3)
            b.push_back(value);
    EXPECT_EQ(a, b);
}

} // namespace
