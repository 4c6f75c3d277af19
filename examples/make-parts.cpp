// Builds the part drawings of examples/parts/: one part a file, drawn the ways CAD programs
// export parts (loose lines and arcs, bulged polylines, circles with holes, a spline, a block
// with holes), with texts and a dimension beside the outline, and a remnant of a sheet.
//
// Usage: make-parts [FOLDER]   (default: parts in the current folder)
#include <cmath>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

#include "example_drawing.h"
#include "text_codec.h"
#include "winhost.h"
#include "zcdball.h"

namespace {

using namespace examples;

void append(ZcDbBlockTableRecord& block, ZcDbEntity* entity) {
    block.appendZcDbEntity(entity);
    entity->close();
}

// Runs fill with model space open for write.
void draw(ZcDbDatabase& db, const std::function<void(ZcDbBlockTableRecord&)>& fill) {
    ZcDbBlockTableRecord* model = nullptr;
    zcdbOpenObject(model, db.modelSpaceId(), ZcDb::kForWrite);
    fill(*model);
    model->close();
}

ZcDbText* label(double x, double y, const wchar_t* text) {
    return new ZcDbText({x, y, 0.0}, text, 12.0);
}

// An L-bracket of 300 x 200 with legs 60 wide and an inner fillet of radius 20, as loose lines
// and arcs in no particular order, some drawn backwards, a hole in each leg, its name and a
// dimension of its length.
void bracket(ZcDbDatabase& db) {
    draw(db, [](ZcDbBlockTableRecord& m) {
        append(m, new ZcDbLine({300, 60, 0}, {300, 0, 0}));
        append(m, new ZcDbArc({80, 80, 0}, 20, kPi, 1.5 * kPi)); // the inner fillet
        append(m, new ZcDbLine({0, 0, 0}, {300, 0, 0}));
        append(m, new ZcDbLine({60, 200, 0}, {0, 200, 0}));
        append(m, new ZcDbLine({80, 60, 0}, {300, 60, 0}));
        append(m, new ZcDbLine({0, 200, 0}, {0, 0, 0}));
        append(m, new ZcDbLine({60, 80, 0}, {60, 200, 0}));
        append(m, circle(240, 30, 16));
        append(m, circle(30, 160, 16));
        append(m, label(100, 20, L"BRACKET-300"));
        append(m, new ZcDbAlignedDimension({0, 0, 0}, {300, 0, 0}, {150, -25, 0}));
    });
}

// A flange: 260 outside, a bore of 100 and six bolt holes, with its name.
void flange(ZcDbDatabase& db) {
    draw(db, [](ZcDbBlockTableRecord& m) {
        append(m, circle(0, 0, 260));
        append(m, circle(0, 0, 100));
        for (int i = 0; i < 6; ++i)
            append(m, circle(95 * std::cos(i * kPi / 3), 95 * std::sin(i * kPi / 3), 14));
        append(m, label(-40, -150, L"FLANGE-260"));
    });
}

// A cover of 500 x 320 with corners rounded to 25 (bulged polyline), four holes and a slot.
void cover(ZcDbDatabase& db) {
    draw(db, [](ZcDbBlockTableRecord& m) {
        const double w = 500, h = 320, r = 25;
        append(m, polyline({{{r, 0}, 0.0},
                            {{w - r, 0}, kCornerBulge},
                            {{w, r}, 0.0},
                            {{w, h - r}, kCornerBulge},
                            {{w - r, h}, 0.0},
                            {{r, h}, kCornerBulge},
                            {{0, h - r}, 0.0},
                            {{0, r}, kCornerBulge}}));
        for (const auto& [x, y] :
             {std::pair{30.0, 30.0}, {470.0, 30.0}, {470.0, 290.0}, {30.0, 290.0}})
            append(m, circle(x, y, 12));
        append(
            m,
            polyline({{{200, 150}, 0.0}, {{300, 150}, 1.0}, {{300, 170}, 0.0}, {{200, 170}, 1.0}}));
        append(m, label(200, 100, L"COVER-500"));
    });
}

// A cam drawn as a closed spline through its fit points.
void cam(ZcDbDatabase& db) {
    draw(db, [](ZcDbBlockTableRecord& m) {
        ZcGePoint3dArray points;
        for (const auto& [x, y] : {std::pair{0.0, 70.0},
                                   {30.0, 200.0},
                                   {130.0, 240.0},
                                   {190.0, 180.0},
                                   {250.0, 220.0},
                                   {270.0, 120.0},
                                   {190.0, 10.0},
                                   {70.0, 0.0},
                                   {0.0, 70.0}})
            points.append({x, y, 0.0});
        append(m, new ZcDbSpline(points));
        append(m, circle(130, 120, 40));
    });
}

// A gusset drawn in inches: a triangle of 10 x 10 inches with its corner cut.
void gusset(ZcDbDatabase& db) {
    db.setInsunits(1);
    draw(db, [](ZcDbBlockTableRecord& m) {
        append(
            m,
            polyline(
                {{{0, 0}, 0.0}, {{10, 0}, 0.0}, {{10, 1}, 0.0}, {{1, 10}, 0.0}, {{0, 10}, 0.0}}));
        append(m, circle(2.5, 2.5, 1));
        append(m, new ZcDbText({3.0, 1.0, 0.0}, L"GUSSET 10in", 0.5));
    });
}

// A hub kept in the drawing as a block (outline and holes), referenced once in model space.
void hub(ZcDbDatabase& db) {
    ZcDbBlockTable* blocks = nullptr;
    db.getBlockTable(blocks, ZcDb::kForWrite);
    auto* block = new ZcDbBlockTableRecord;
    block->setName(L"HUB-180");
    ZcDbObjectId blockId;
    blocks->add(blockId, block);
    blocks->close();
    append(*block,
           polyline({{{-90, -60}, 0.0}, {{90, -60}, 0.0}, {{90, 60}, 0.0}, {{-90, 60}, 0.0}}));
    append(*block, circle(0, 0, 50));
    append(*block, circle(-60, 0, 12));
    append(*block, circle(60, 0, 12));
    block->close();
    draw(db, [blockId](ZcDbBlockTableRecord& m) {
        append(m, new ZcDbBlockReference({200, 100, 0}, blockId));
        append(m, label(150, 20, L"HUB-180"));
    });
}

// A remnant of a 2000 x 1000 sheet whose upper right corner was cut off along a diagonal.
void remnant(ZcDbDatabase& db) {
    draw(db, [](ZcDbBlockTableRecord& m) {
        append(m, polyline({{{0, 0}, 0.0},
                            {{2000, 0}, 0.0},
                            {{2000, 500}, 0.0},
                            {{1500, 1000}, 0.0},
                            {{0, 1000}, 0.0}}));
    });
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = argc > 1 ? argv[1] : "parts";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const std::pair<const char*, void (*)(ZcDbDatabase&)> files[] = {
        {"bracket.dxf", bracket}, {"flange.dxf", flange}, {"cover.dxf", cover},    {"cam.dxf", cam},
        {"gusset.dxf", gusset},   {"hub.dxf", hub},       {"remnant.dxf", remnant}};
    for (const auto& [name, build] : files) {
        ZcDbDatabase db;
        db.setInsunits(4); // millimetres unless the part says otherwise
        build(db);
        const std::string path = (folder / name).string();
        if (db.saveAs(gantrel::dxf::utf8ToWide(path).c_str()) != Zcad::eOk) {
            std::cerr << "make-parts: " << ::win::Narrow(db.lastErrorMessage()) << '\n';
            return 1;
        }
    }
    return 0;
}
