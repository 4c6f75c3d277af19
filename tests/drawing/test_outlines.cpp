// Areas, chains of curves and the largest closed outline.
//
// Invariants checked here:
// - a closed chain gives one outline whatever the order and direction in which its curves were
//   drawn, and its area is the shoelace area of its sampled points;
// - of equal areas the first found wins: regions before chains of curves before blocks;
// - a block reference's outline is its contents placed by its block transform; nested block
//   areas scale by every reference's X and Y scale factors;
// - the readers leave no object open.
#include <algorithm>
#include <cmath>

#include "DrawingTest.h"
#include "drawing/OutlineReaders.h"
#include "zcdball.h"

using namespace gantrel;

namespace {

class OutlineTest : public DrawingTest {};

class FixedBlockArea : public BlockAreaReader {
public:
    double Area(ZcDbObjectId reference) override {
        asked.push_back(reference);
        return 100.0;
    }
    Ids asked;
};

} // namespace

TEST_F(OutlineTest, ClosedChainInAnyOrderAndDirectionGivesOneOutline) {
    // A 10 x 4 rectangle whose right side is a half circle of radius 2, drawn with sides
    // reversed and out of order.
    const ZcDbObjectId top = addLine(0, 4, 10, 4);
    const ZcDbObjectId arc = addArc(10, 2, 2, -kPi / 2, kPi / 2);
    const ZcDbObjectId left = addLine(0, 0, 0, 4);
    const ZcDbObjectId bottom = addLine(0, 0, 10, 0);
    // The half circle sampled with 20 equal steps: 20 triangles of the inscribed polygon.
    const double sampled = 40 + 20 * 0.5 * 4 * std::sin(kPi / 20);
    Ids ids{top, arc, left, bottom};
    std::sort(ids.begin(), ids.end());
    int orders = 0;
    do {
        ++orders;
        const std::vector<Ids> chains = BoundariesOfCurvesReader(ids).Read();
        ASSERT_EQ(chains.size(), 1u);
        const Ids ordered = OrderChain(chains[0]);
        ASSERT_EQ(ordered.size(), 4u);
        EXPECT_TRUE(IsClosedChain(ordered));
        const Points outline = OutlineReader(ids, 20).Read();
        EXPECT_NEAR(ShoelaceArea(outline), sampled, 1e-9);
        for (const ZcGePoint3d& p : outline) {
            const bool onRectangle =
                (std::fabs(p.y) < 1e-12 || std::fabs(p.y - 4) < 1e-12 || std::fabs(p.x) < 1e-12) &&
                p.x <= 10 + 1e-12;
            const bool onArc = std::fabs(p.distanceTo({10, 2, 0}) - 2) < 1e-9 && p.x >= 10;
            EXPECT_TRUE(onRectangle || onArc) << p.x << "," << p.y;
        }
        const Boundary boundary = BoundaryReader(ids).Read();
        EXPECT_NEAR(boundary.area, sampled, 1e-9);
        EXPECT_EQ(boundary.ids.size(), 4u);
        EXPECT_EQ(boundary.reference, ZcGePoint3d::kOrigin);
    } while (std::next_permutation(ids.begin(), ids.end()));
    EXPECT_EQ(orders, 24);
}

TEST_F(OutlineTest, ChainsOfCurves) {
    // Two lines that do not close, a closed polyline touching them, and a circle made of two arcs.
    const ZcDbObjectId a = addLine(0, 0, 5, 0);
    const ZcDbObjectId b = addLine(5, 0, 5, 5);
    const ZcDbObjectId square = addRectangle(5, 5, 1, 1);
    const ZcDbObjectId upper = addArc(20, 0, 1, 0, kPi);
    const ZcDbObjectId lower = addArc(20, 0, 1, kPi, 2 * kPi);
    const ZcDbObjectId region = addRegion({{0, 0}, {1, 0}, {0, 1}});
    const std::vector<Ids> chains =
        BoundariesOfCurvesReader({a, square, upper, region, b, lower}).Read();
    ASSERT_EQ(chains.size(), 3u);
    EXPECT_EQ(chains[0], (Ids{a, b}));
    EXPECT_EQ(chains[1], Ids{square});
    EXPECT_EQ(chains[2], (Ids{upper, lower}));
    EXPECT_FALSE(IsClosedChain(OrderChain(chains[0])));
    EXPECT_TRUE(IsClosedChain(chains[1]));
    EXPECT_TRUE(IsClosedChain(OrderChain(chains[2])));
    // Three lines whose first and last do not meet are open.
    const ZcDbObjectId c = addLine(5, 5, 9, 9);
    EXPECT_FALSE(IsClosedChain(OrderChain({a, b, c})));
    // A curve that cannot be read stops the ordering with its status.
    erase(c);
    EXPECT_THROW(OrderChain({a, b, c}), HostStatusError);
    EXPECT_TRUE(BoundariesOfCurvesReader({c}).Read().empty());
}

TEST_F(OutlineTest, RegionsBeforeCurvesBeforeBlocksOnEqualAreas) {
    const ZcDbObjectId block = newBlock(L"SIX");
    const ZcDbObjectId inside = addRectangle(0, 0, 3, 2, block);
    const ZcDbObjectId reference = addReference(block, {50, 0, 0});
    const ZcDbObjectId rectangle = addRectangle(20, 0, 2, 3);
    const ZcDbObjectId region = addRegion({{0, 0}, {4, 0}, {0, 3}});

    Boundary all = BoundaryReader({reference, rectangle, region}).Read();
    EXPECT_EQ(all.ids, Ids{region});
    EXPECT_NEAR(all.area, 6, 1e-12);
    Boundary noRegion = BoundaryReader({reference, rectangle}).Read();
    EXPECT_EQ(noRegion.ids, Ids{rectangle});
    EXPECT_EQ(noRegion.reference, ZcGePoint3d::kOrigin);
    Boundary onlyBlock = BoundaryReader({reference}).Read();
    EXPECT_EQ(onlyBlock.ids, Ids{inside});
    EXPECT_EQ(onlyBlock.reference, ZcGePoint3d(50, 0, 0));
    EXPECT_NEAR(onlyBlock.area, 6, 1e-12);

    EXPECT_EQ(OutlineReader({reference, rectangle, region}, 20).Read().length(), 3);
    const Points fromRectangle = OutlineReader({reference, rectangle}, 20).Read();
    ASSERT_EQ(fromRectangle.length(), 4);
    EXPECT_EQ(fromRectangle[0], ZcGePoint3d(20, 0, 0));
    // A strictly larger outline found later wins.
    const ZcDbObjectId big = addRectangle(0, 10, 3, 3);
    EXPECT_EQ(BoundaryReader({region, rectangle, big}).Read().ids, Ids{big});
    // Nothing closed: nothing found.
    EXPECT_TRUE(BoundaryReader({addLine(0, 0, 1, 1)}).Read().ids.empty());
    EXPECT_TRUE(OutlineReader({addLine(0, 0, 1, 1)}, 20).Read().isEmpty());
}

TEST_F(OutlineTest, BlockOutlinePlacedByItsTransformAndNestedAreasScaled) {
    const ZcDbObjectId part = newBlock(L"PART");
    const ZcDbObjectId rect = addRectangle(0, 0, 2, 1, part);
    // Rotated a quarter turn, scaled by 2, at (10, 20).
    const ZcDbObjectId ref = addReference(part, {10, 20, 0}, ZcGeScale3d(2), kPi / 2);
    const Points outline = OutlineReader({ref}, 20).Read();
    const ZcGePoint3d expected[] = {{10, 20, 0}, {10, 24, 0}, {8, 24, 0}, {8, 20, 0}};
    ASSERT_EQ(outline.length(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(outline[i].distanceTo(expected[i]), 0, 1e-12) << i;
    }
    EXPECT_NEAR(ShoelaceArea(outline), 8, 1e-12);

    // A block inside a block: areas scale by each reference's X and Y factors.
    const ZcDbObjectId outer = newBlock(L"OUTER");
    auto* innerRef = new ZcDbBlockReference({1, 1, 0}, part);
    innerRef->setScaleFactors(ZcGeScale3d(2, 3, 1));
    add(innerRef, outer);
    const ZcDbObjectId outerRef = addReference(outer, {100, 0, 0}, ZcGeScale3d(5, 7, 1));
    const Boundary nested = BoundaryReader({outerRef}).Read();
    EXPECT_EQ(nested.ids, Ids{rect});
    EXPECT_NEAR(nested.area, 2 * 2 * 3 * 5 * 7, 1e-9);
    EXPECT_EQ(nested.reference, ZcGePoint3d(100, 0, 0));
    const Points placed = OutlineReader({outerRef}, 20).Read();
    EXPECT_NEAR(ShoelaceArea(placed), 2 * 2 * 3 * 5 * 7, 1e-9);
}

TEST_F(OutlineTest, OutlineReadsTheWinningChainWithItsOwnDivisions) {
    const ZcDbObjectId circle = addCircle(0, 0, 1);
    EXPECT_EQ(OutlineReader({circle}, 8).Read().length(), 8);
    EXPECT_EQ(OutlineReader({circle}, 30).Read().length(), 30);
    // Compared with 20 divisions: a 20-gon of a circle of radius 1.
    EXPECT_NEAR(BoundaryReader({circle}).Read().area, 10 * std::sin(2 * kPi / 20), 1e-12);
}

TEST_F(OutlineTest, AreaReaderSumsPositiveAreasOfItsMembers) {
    const ZcDbObjectId region = addRegion({{0, 0}, {4, 0}, {0, 3}});
    const ZcDbObjectId circle = addCircle(0, 0, 1);
    const ZcDbObjectId line = addLine(0, 0, 5, 5);
    auto* hatch = new ZcDbHatch;
    ZcDbLoop loop;
    loop.flags = 3;
    loop.vertices = {{0, 0}, {2, 0}, {2, 2}, {0, 2}};
    loop.bulges = {0, 0, 0, 0};
    hatch->appendLoop(loop);
    const ZcDbObjectId hatchId = add(hatch);
    const ZcDbObjectId block = newBlock(L"B");
    addRectangle(0, 0, 1, 1, block);
    const ZcDbObjectId ref = addReference(block, {0, 0, 0});
    const ZcDbObjectId gone = addCircle(5, 5, 3);
    erase(gone);

    const Ids all{region, circle, line, hatchId, ref, gone};
    EXPECT_NEAR(AreaReader(all).Area(), 6 + kPi + 4, 1e-9);
    FixedBlockArea blocks;
    EXPECT_NEAR(AreaReader(all, &blocks).Area(), 6 + kPi + 4 + 100, 1e-9);
    EXPECT_EQ(blocks.asked, Ids{ref});
    EXPECT_EQ(AreaReader({}).Area(), 0.0);
}
