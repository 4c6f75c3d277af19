// What a picture shows: entities in their colours (own, by layer, by block), block references
// through their blocks (nested, MINSERT), exact curves, highlighted entities marked, and
// nothing of erased entities or layers that are off.
//
// Invariants: each entity is drawn where its geometry lies on the fitted page; colour index 7
// is black on the white page; a block that contains itself does not stop the render.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "aci_colors.h"
#include "render.h"
#include "render_test_support.h"

using namespace gantrel::render;
using namespace gantrel::render::test;

namespace {

constexpr int kSize = 800;

// Renders to PNG in the folder and reads the picture back. Lines are drawn three pixels wide,
// so that their middle pixels show their colour unblended.
std::unique_ptr<Picture> renderPng(const ZcDbDatabase& db, const TempFolder& dir,
                                   const std::string& name, int size = kSize) {
    RenderOptions options;
    options.size = size;
    options.lineWidth = 3.0;
    const RenderResult result = renderDrawing(db, dir / name, options);
    EXPECT_TRUE(result) << result.message;
    return std::make_unique<Picture>(dir / name);
}

ZcDbLine* hline(double y, double x0 = 0.0, double x1 = 400.0) {
    return new ZcDbLine({x0, y, 0}, {x1, y, 0});
}

bool isReddish(const Rgb8& c) {
    return c.r > 200 && c.g < 190 && c.b < 190 && c.g == c.b;
}

} // namespace

TEST(AciColors, NamedColoursGreysAndShades) {
    EXPECT_EQ(aciToRgb(1), (Rgb{1, 0, 0}));
    EXPECT_EQ(aciToRgb(3), (Rgb{0, 1, 0}));
    EXPECT_EQ(aciToRgb(5), (Rgb{0, 0, 1}));
    EXPECT_EQ(aciToRgb(7), (Rgb{1, 1, 1}));
    EXPECT_NEAR(aciToRgb(8).r, 128 / 255.0, 1e-9);
    EXPECT_NEAR(aciToRgb(30).g, 127 / 255.0, 1e-9); // orange: 255, 127, 0
    EXPECT_NEAR(aciToRgb(250).r, 51 / 255.0, 1e-9);
    EXPECT_EQ(aciToRgb(255), (Rgb{1, 1, 1}));
    // Colour 7 and the logical colours draw black on white; a layer that is off keeps its
    // colour's sign only.
    EXPECT_EQ(aciOnWhite(7), (Rgb{0, 0, 0}));
    EXPECT_EQ(aciOnWhite(0), (Rgb{0, 0, 0}));
    EXPECT_EQ(aciOnWhite(-1), aciToRgb(1));
    // Within each hue group brightness falls from shade to shade, and the odd entries are the
    // paler (half saturated) partners of the even ones.
    for (int hue = 0; hue < 24; ++hue)
        for (int shade = 0; shade < 5; ++shade) {
            const int i = 10 + 10 * hue + 2 * shade;
            const Rgb full = aciToRgb(i), pale = aciToRgb(i + 1);
            const double fullMax = std::max({full.r, full.g, full.b});
            EXPECT_DOUBLE_EQ(std::min({full.r, full.g, full.b}), 0.0) << i;
            EXPECT_GT(std::min({pale.r, pale.g, pale.b}), 0.0) << i + 1;
            EXPECT_NEAR(std::max({pale.r, pale.g, pale.b}), fullMax, 1e-9) << i + 1;
            if (shade > 0) {
                EXPECT_LT(fullMax,
                          std::max({aciToRgb(i - 2).r, aciToRgb(i - 2).g, aciToRgb(i - 2).b}))
                    << i;
            }
        }
}

TEST(RenderDrawing, ColoursResolveByLayerAndByBlock) {
    DrawingBuilder d;
    d.addLayer(L"Blue", 5);
    d.addLayer(L"Magenta", 6);
    d.add(hline(90), 1);            // its own colour: red
    d.add(hline(70), 256, L"Blue"); // by layer: blue
    d.add(hline(50), 7);            // white, drawn black
    ZcDbLine* byBlockLine = hline(0);
    byBlockLine->setColorIndex(0);
    const ZcDbObjectId byBlock = d.addBlock(L"BYBLOCK", {byBlockLine});
    d.add(new ZcDbBlockReference({0, 30, 0}, byBlock), 3); // green
    // The block's line is by layer on "0": it takes the reference's layer.
    const ZcDbObjectId onLayer0 = d.addBlock(L"ONLAYER0", {hline(0)});
    d.add(new ZcDbBlockReference({0, 10, 0}, onLayer0), 256, L"Magenta");

    TempFolder dir;
    auto picture = renderPng(d.db, dir, "colours.png");
    ASSERT_TRUE(picture->valid());
    const PageMap map(0, 10, 400, 90, kSize, RenderOptions{}.margin);
    auto at = [&](double y) { return picture->strongestNear(map.x(200), map.y(y)); };
    EXPECT_TRUE(near(at(90), 255, 0, 0));
    EXPECT_TRUE(near(at(70), 0, 0, 255));
    EXPECT_TRUE(near(at(50), 0, 0, 0));
    EXPECT_TRUE(near(at(30), 0, 255, 0));
    EXPECT_TRUE(near(at(10), 255, 0, 255));
}

TEST(RenderDrawing, ErasedEntitiesAndLayersThatAreOffAreNotDrawn) {
    DrawingBuilder d;
    d.addLayer(L"Hidden", 5, true);
    d.add(hline(0, 0, 100), 1);
    // Far away: were it counted in the extents, the red line would shrink to a dot.
    d.add(hline(1000, 900, 1000), 256, L"Hidden");
    const ZcDbObjectId erased = d.add(hline(-500, -900, 100), 3);
    d.change(erased, [](ZcDbEntity& e) { e.erase(); });

    TempFolder dir;
    auto picture = renderPng(d.db, dir, "hidden.png", 400);
    ASSERT_TRUE(picture->valid());
    EXPECT_EQ(picture->count([](const Rgb8& c) { return c.b > c.r + 50; }), 0);
    EXPECT_EQ(picture->count([](const Rgb8& c) { return c.g > c.r + 50; }), 0);
    const PageMap map(0, -0.5, 100, 0.5, 400, RenderOptions{}.margin);
    EXPECT_TRUE(near(picture->strongestNear(map.x(10), map.y(0)), 255, 0, 0));
    EXPECT_TRUE(near(picture->strongestNear(map.x(90), map.y(0)), 255, 0, 0));
}

TEST(RenderDrawing, MinsertAndNestedReferencesDrawEveryCopy) {
    DrawingBuilder d;
    ZcDbHatch* red = solidSquare(0, 0, 10);
    red->setColorIndex(1);
    const ZcDbObjectId square = d.addBlock(L"SQ", {red});
    auto* grid = new ZcDbMInsertBlock;
    grid->setBlockTableRecord(square);
    grid->setRows(2);
    grid->setColumns(3);
    grid->setRowSpacing(20);
    grid->setColumnSpacing(20);
    d.add(grid);
    // A reference to a block holding a reference to the square, scaled by two at (100, 0).
    const ZcDbObjectId outer = d.addBlock(L"OUTER", {new ZcDbBlockReference({0, 0, 0}, square)});
    auto* big = new ZcDbBlockReference({100, 0, 0}, outer);
    big->setScaleFactors(ZcGeScale3d(2.0));
    d.add(big);

    TempFolder dir;
    auto picture = renderPng(d.db, dir, "grid.png");
    ASSERT_TRUE(picture->valid());
    const PageMap map(0, 0, 120, 30, kSize, RenderOptions{}.margin);
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 3; ++column)
            EXPECT_TRUE(isReddish(picture->at(map.x(5 + 20 * column), map.y(5 + 20 * row))))
                << row << "," << column;
    EXPECT_TRUE(picture->at(map.x(15), map.y(5)).isWhite());
    EXPECT_TRUE(picture->at(map.x(5), map.y(15)).isWhite());
    EXPECT_TRUE(isReddish(picture->at(map.x(118), map.y(18))));
    EXPECT_TRUE(picture->at(map.x(90), map.y(18)).isWhite());
}

TEST(RenderDrawing, HighlightedEntitiesAreMarked) {
    DrawingBuilder d;
    const ZcDbObjectId left = d.add(new ZcDbCircle({50, 50, 0}, ZcGeVector3d::kZAxis, 40), 5);
    d.add(new ZcDbCircle({250, 50, 0}, ZcGeVector3d::kZAxis, 40), 5);
    TempFolder dir;
    auto plain = renderPng(d.db, dir, "plain.png");
    d.change(left, [](ZcDbEntity& e) { e.highlight(); });
    auto marked = renderPng(d.db, dir, "marked.png");
    ASSERT_TRUE(plain->valid() && marked->valid());
    ASSERT_EQ(plain->width(), marked->width());

    const PageMap map(10, 10, 290, 90, kSize, RenderOptions{}.margin);
    const int rightHalf = map.x(150);
    int differing = 0, differingOnTheRight = 0;
    for (int y = 0; y < plain->height(); ++y)
        for (int x = 0; x < plain->width(); ++x) {
            const Rgb8 a = plain->at(x, y), b = marked->at(x, y);
            if (a.r != b.r || a.g != b.g || a.b != b.b) {
                ++differing;
                differingOnTheRight += x > rightHalf ? 1 : 0;
            }
        }
    EXPECT_GT(differing, 100);
    EXPECT_EQ(differingOnTheRight, 0);
    auto orange = [](const Rgb8& c) { return c.r > 200 && c.g > 60 && c.g < 180 && c.b < 60; };
    EXPECT_EQ(plain->count(orange), 0);
    EXPECT_GT(marked->count(orange), 50);
}

TEST(RenderDrawing, BulgesAndEllipsesKeepTheirExactShape) {
    DrawingBuilder d;
    // A semicircle below the chord from (0, 0) to (100, 0), and an ellipse beside it.
    auto* arcPath = new ZcDbPolyline;
    arcPath->addVertexAt(0, {0, 0}, 1.0);
    arcPath->addVertexAt(1, {100, 0});
    d.add(arcPath, 1);
    d.add(new ZcDbEllipse({250, 0, 0}, ZcGeVector3d::kZAxis, {100, 0, 0}, 0.5), 5);
    TempFolder dir;
    auto picture = renderPng(d.db, dir, "curves.png");
    ASSERT_TRUE(picture->valid());
    const PageMap map(0, -50, 350, 50, kSize, RenderOptions{}.margin);
    EXPECT_TRUE(near(picture->strongestNear(map.x(50), map.y(-50), 2), 255, 0, 0));
    // The point of the arc at 225 degrees about its centre (50, 0).
    const double r45 = 50.0 / std::sqrt(2.0);
    EXPECT_TRUE(near(picture->strongestNear(map.x(50 - r45), map.y(-r45), 2), 255, 0, 0));
    EXPECT_TRUE(picture->at(map.x(50), map.y(-25)).isWhite());
    EXPECT_TRUE(picture->at(map.x(50), map.y(0)).isWhite()); // no chord
    EXPECT_TRUE(near(picture->strongestNear(map.x(250), map.y(50), 2), 0, 0, 255));
    EXPECT_TRUE(near(picture->strongestNear(map.x(350), map.y(0), 2), 0, 0, 255));
    EXPECT_TRUE(picture->at(map.x(250), map.y(40)).isWhite());
}

TEST(RenderDrawing, TextFollowsItsRotation) {
    DrawingBuilder d;
    d.add(new ZcDbText({0, 0, 0}, L"HHHHHH", 10.0, kPi / 2), 1);
    d.add(new ZcDbPoint({-50, -10, 0}), 5);
    d.add(new ZcDbPoint({50, 50, 0}), 5);
    TempFolder dir;
    auto picture = renderPng(d.db, dir, "text.png");
    ASSERT_TRUE(picture->valid());
    const PageMap map(-50, -10, 50, 50, kSize, RenderOptions{}.margin);
    auto redIn = [&](double x0, double y0, double x1, double y1) {
        int n = 0;
        for (int y = map.y(y1); y <= map.y(y0); ++y)
            for (int x = map.x(x0); x <= map.x(x1); ++x)
                n += picture->at(x, y).r > picture->at(x, y).g + 100 ? 1 : 0;
        return n;
    };
    // Turned a quarter to the left, the text stands in the strip left of its position.
    EXPECT_GT(redIn(-10.5, 0, 0.5, 40), 200);
    EXPECT_EQ(redIn(1, 0, 40, 10), 0);
}

TEST(RenderDrawing, EveryEntityKindDrawsSomething) {
    struct Case {
        const char* name;
        std::function<ZcDbEntity*(DrawingBuilder&)> make;
    };
    const std::vector<Case> cases = {
        {"line", [](DrawingBuilder&) { return hline(0, 0, 10); }},
        {"arc",
         [](DrawingBuilder&) {
             return new ZcDbArc({0, 0, 0}, 10, 0.0, 2.0);
         }},
        {"circle",
         [](DrawingBuilder&) {
             return new ZcDbCircle({0, 0, 0}, ZcGeVector3d::kZAxis, 10);
         }},
        {"ellipse",
         [](DrawingBuilder&) {
             return new ZcDbEllipse({0, 0, 0}, ZcGeVector3d::kZAxis, {10, 0, 0}, 0.3);
         }},
        {"2d polyline",
         [](DrawingBuilder&) {
             auto* pl = new ZcDb2dPolyline;
             pl->appendVertex(new ZcDb2dVertex({0, 0, 0}, 0.5));
             pl->appendVertex(new ZcDb2dVertex({10, 5, 0}));
             pl->appendVertex(new ZcDb2dVertex({20, 0, 0}));
             return pl;
         }},
        {"spline",
         [](DrawingBuilder&) {
             ZcGePoint3dArray fit;
             for (double x : {0.0, 5.0, 10.0, 15.0})
                 fit.append({x, x * x / 10.0, 0.0});
             return new ZcDbSpline(fit);
         }},
        {"mtext",
         [](DrawingBuilder&) {
             auto* m = new ZcDbMText;
             m->setContents(L"two\\Plines");
             m->setTextHeight(5.0);
             return m;
         }},
        {"attribute definition",
         [](DrawingBuilder&) {
             return new ZcDbAttributeDefinition({0, 0, 0}, L"", L"TAG", L"Prompt", 5.0);
         }},
        {"pattern hatch",
         [](DrawingBuilder&) {
             ZcDbHatch* h = solidSquare(0, 0, 10);
             h->setPattern(L"ANSI31", false);
             return h;
         }},
        {"region",
         [](DrawingBuilder&) {
             auto* r = new ZcDbRegion;
             ZcDbLoop loop;
             loop.flags = 1 | 2;
             loop.vertices = {{0, 0}, {10, 0}, {10, 10}};
             loop.bulges = {0, 0, 0};
             r->appendLoop(loop);
             return r;
         }},
        {"leader",
         [](DrawingBuilder&) {
             auto* l = new ZcDbLeader;
             l->appendVertex({0, 0, 0});
             l->appendVertex({10, 10, 0});
             return l;
         }},
        {"aligned dimension",
         [](DrawingBuilder&) {
             return new ZcDbAlignedDimension({0, 0, 0}, {30, 0, 0}, {15, 10, 0});
         }},
        {"point",
         [](DrawingBuilder&) {
             return new ZcDbPoint({0, 0, 0});
         }},
        {"reference with attribute",
         [](DrawingBuilder& d) {
             const ZcDbObjectId block = d.addBlock(L"B", {hline(0, 0, 10)});
             auto* ref = new ZcDbBlockReference({0, 0, 0}, block);
             auto* attribute = new ZcDbAttribute;
             attribute->setTag(L"NO");
             attribute->setTextString(L"A-1");
             attribute->setHeight(3.0);
             attribute->setPosition({0, 5, 0});
             ref->appendAttribute(attribute);
             return ref;
         }},
    };
    for (const Case& c : cases) {
        DrawingBuilder d;
        d.add(c.make(d), 1);
        TempFolder dir;
        auto picture = renderPng(d.db, dir, "kind.png", 200);
        ASSERT_TRUE(picture->valid()) << c.name;
        EXPECT_GT(picture->count([](const Rgb8& p) { return p.r > p.g + 100; }), 10) << c.name;
    }
}

TEST(RenderDrawing, BlockContainingItselfIsDrawnWithoutEndlessNesting) {
    DrawingBuilder d;
    ZcDbLine* line = hline(0, 0, 10);
    line->setColorIndex(0);
    const ZcDbObjectId loop = d.addBlock(L"LOOP", {line});
    ZcDbBlockTableRecord* block = nullptr;
    ASSERT_EQ(zcdbOpenObject(block, loop, ZcDb::kForWrite), Zcad::eOk);
    auto* self = new ZcDbBlockReference({0, 5, 0}, loop);
    block->appendZcDbEntity(self);
    self->close();
    block->close();
    d.add(new ZcDbBlockReference({0, 0, 0}, loop), 1);
    d.add(hline(20, 0, 10), 5);
    TempFolder dir;
    auto picture = renderPng(d.db, dir, "loop.png", 200);
    ASSERT_TRUE(picture->valid());
    EXPECT_GT(picture->count([](const Rgb8& p) { return p.r > p.g + 100; }), 10);
}
