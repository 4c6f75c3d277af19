// Builds the bundled example drawing, sheet-and-parts.dxf: a steel sheet of 3000 x 1500 mm
// and a dozen parts beside it, the way a sheet-metal shop hands a nesting job over. Parts
// with holes are blocks (outline and holes travel together) or a region; the nesting data
// ("Count" pieces, "Rotable") is the parts' extended data under the application "Plaxen".
//
// Usage: make-example [OUT.dxf]   (default: sheet-and-parts.dxf in the current folder)
#include <cmath>
#include <iostream>
#include <optional>
#include <string>

#include "example_drawing.h"
#include "text_codec.h"
#include "winhost.h"
#include "zcdball.h"

namespace {

using namespace examples;

// Adds an entity to model space on a layer and closes it; returns it open for write to the
// caller only through setup, which runs before the close.
template <typename Setup>
ZcDbObjectId addEntity(ZcDbDatabase& db, ZcDbEntity* entity, const wchar_t* layer, Setup setup) {
    ZcDbBlockTableRecord* model = nullptr;
    zcdbOpenObject(model, db.modelSpaceId(), ZcDb::kForWrite);
    ZcDbObjectId id;
    model->appendZcDbEntity(id, entity);
    model->close();
    entity->setLayer(layer);
    setup(entity);
    entity->close();
    return id;
}

void noSetup(ZcDbEntity*) {}

// The nesting data of a part: how many pieces, and whether it may turn (left out: it may not).
void setNestingData(ZcDbEntity* part, int count, std::optional<int> rotable) {
    resbuf* data = rotable ? zcutBuildList(1001, L"Plaxen", 1000, L"Count", 1070, count, 1000,
                                           L"Rotable", 1070, *rotable, 0)
                           : zcutBuildList(1001, L"Plaxen", 1000, L"Count", 1070, count, 0);
    part->setXData(data);
    zcutRelRb(data);
}

auto nesting(int count, std::optional<int> rotable) {
    return [count, rotable](ZcDbEntity* part) { setNestingData(part, count, rotable); };
}

// A w x h plate with corners rounded to radius r, lower left corner at (x, y).
ZcDbPolyline* roundedPlate(double x, double y, double w, double h, double r) {
    return polyline({{{x + r, y}, 0.0},
                     {{x + w - r, y}, kCornerBulge},
                     {{x + w, y + r}, 0.0},
                     {{x + w, y + h - r}, kCornerBulge},
                     {{x + w - r, y + h}, 0.0},
                     {{x + r, y + h}, kCornerBulge},
                     {{x, y + h - r}, 0.0},
                     {{x, y + r}, kCornerBulge}});
}

// A block of a part with holes: the outline, the holes, and the part number as an attribute
// definition centred at (0, -10). Entities on layer "0" take the reference's layer.
ZcDbObjectId makeBlock(ZcDbDatabase& db, const wchar_t* name, ZcDbEntity* outline,
                       std::initializer_list<ZcDbEntity*> holes, const wchar_t* defaultNumber) {
    ZcDbBlockTable* blocks = nullptr;
    db.getBlockTable(blocks, ZcDb::kForWrite);
    auto* block = new ZcDbBlockTableRecord;
    block->setName(name);
    ZcDbObjectId blockId;
    blocks->add(blockId, block);
    blocks->close();

    auto append = [block](ZcDbEntity* entity) {
        block->appendZcDbEntity(entity);
        entity->close();
    };
    append(outline);
    for (ZcDbEntity* hole : holes) {
        hole->setColorIndex(1);
        append(hole);
    }
    auto* number = new ZcDbAttributeDefinition({0.0, 0.0, 0.0}, defaultNumber, L"PARTNO",
                                               L"Part number", 20.0);
    number->setHorizontalMode(ZcDbText::kTextCenter);
    number->setAlignmentPoint({0.0, -10.0, 0.0});
    number->setColorIndex(3);
    append(number);
    block->close();
    return blockId;
}

// A reference to a part block at (x, y) with its part number filled in.
ZcDbObjectId placeBlock(ZcDbDatabase& db, ZcDbObjectId block, double x, double y,
                        const wchar_t* partNumber, int count, std::optional<int> rotable) {
    auto* reference = new ZcDbBlockReference({x, y, 0.0}, block);
    return addEntity(db, reference, L"Parts", [&](ZcDbEntity*) {
        setNestingData(reference, count, rotable);
        ZcDbBlockTableRecord* definition = nullptr;
        zcdbOpenObject(definition, block, ZcDb::kForRead);
        for (ZcDbObjectId id : definition->entityIds()) {
            ZcDbAttributeDefinition* def = nullptr;
            if (zcdbOpenObject(def, id, ZcDb::kForRead) != Zcad::eOk)
                continue;
            auto* attribute = new ZcDbAttribute;
            attribute->setAttributeFromBlock(def, reference->blockTransform());
            attribute->setTextString(partNumber);
            def->close();
            reference->appendAttribute(attribute);
            attribute->close();
        }
        definition->close();
    });
}

void buildDrawing(ZcDbDatabase& db) {
    db.setInsunits(4); // millimetres
    zcdbRegApp(&db, L"Plaxen");
    addLayer(db, L"Sheet", 8);
    addLayer(db, L"Parts", 5);
    addLayer(db, L"Notes", 3);

    // The sheet, and a title above it.
    addEntity(db, polyline({{{0, 0}, 0}, {{3000, 0}, 0}, {{3000, 1500}, 0}, {{0, 1500}, 0}}),
              L"Sheet", noSetup);
    addEntity(db, new ZcDbText({0.0, 1560.0, 0.0}, L"SHEET 3000 x 1500  S235  t = 3", 50.0),
              L"Notes", noSetup);

    // Row one: plates with rounded corners and a slotted link.
    addEntity(db, roundedPlate(3200, 1150, 400, 300, 20), L"Parts", nesting(4, 1));
    addEntity(db, roundedPlate(3700, 1250, 600, 200, 40), L"Parts", nesting(2, 0));
    addEntity(
        db, polyline({{{4450, 1300}, 0}, {{4650, 1300}, 1}, {{4650, 1400}, 0}, {{4450, 1400}, 1}}),
        L"Parts", nesting(6, 1));

    // Row two: a flange and a plate with holes (blocks), two discs and a gusset.
    ZcDbCircle* bolts[6];
    for (int i = 0; i < 6; ++i) {
        const double a = i * kPi / 3.0;
        bolts[i] = circle(120.0 * std::cos(a), 120.0 * std::sin(a), 18);
    }
    const ZcDbObjectId flange = makeBlock(
        db, L"FLANGE-300", circle(0, 0, 300),
        {circle(0, 0, 120), bolts[0], bolts[1], bolts[2], bolts[3], bolts[4], bolts[5]}, L"FL-300");
    placeBlock(db, flange, 3350, 925, L"FL-300-A", 2, 1);
    const ZcDbObjectId plate =
        makeBlock(db, L"PLATE-250", roundedPlate(-125, -125, 250, 250, 15),
                  {circle(0, 0, 80), circle(-90, -90, 14), circle(90, -90, 14), circle(90, 90, 14),
                   circle(-90, 90, 14)},
                  L"PL-250");
    placeBlock(db, plate, 3700, 925, L"PL-250-B", 3, 1);
    addEntity(db, circle(4050, 925, 200), L"Parts", nesting(5, 1));
    addEntity(db, circle(4300, 925, 120), L"Parts", nesting(10, 1));
    addEntity(db, polyline({{{4450, 800}, 0}, {{4700, 800}, 0}, {{4450, 1050}, 0}}), L"Parts",
              nesting(8, 1));

    // Row three: a plate with a hole as a region, an L-bracket with an inner fillet, a cam
    // drawn as a spline, and a small plate without nesting data (one piece, may turn).
    auto* region = new ZcDbRegion;
    ZcDbLoop outline;
    outline.flags = 1 | 2;
    outline.vertices = {{3200, 400}, {3450, 400}, {3450, 580}, {3200, 580}};
    outline.bulges = {0, 0, 0, 0};
    region->appendLoop(outline);
    ZcDbLoop hole;
    hole.flags = 0;
    for (int half = 0; half < 2; ++half) {
        ZcDbLoopEdge edge;
        edge.kind = ZcDbLoopEdge::kCircularArc;
        edge.center = {3325, 490};
        edge.radius = 30;
        edge.startAngle = half * kPi;
        edge.endAngle = (half + 1) * kPi;
        hole.edges.push_back(edge);
    }
    region->appendLoop(hole);
    addEntity(db, region, L"Parts", nesting(2, 1));

    const double fillet = -kCornerBulge; // the inner corner turns clockwise
    addEntity(db,
              polyline({{{3550, 400}, 0},
                        {{3850, 400}, 0},
                        {{3850, 460}, 0},
                        {{3625, 460}, fillet},
                        {{3610, 475}, 0},
                        {{3610, 600}, 0},
                        {{3550, 600}, 0}}),
              L"Parts", nesting(3, 1));

    ZcGePoint3dArray cam;
    for (const auto& [x, y] : {std::pair{3930.0, 450.0},
                               {3960.0, 580.0},
                               {4060.0, 620.0},
                               {4120.0, 560.0},
                               {4180.0, 600.0},
                               {4200.0, 500.0},
                               {4120.0, 390.0},
                               {4000.0, 380.0},
                               {3930.0, 450.0}})
        cam.append({x, y, 0.0});
    addEntity(db, new ZcDbSpline(cam), L"Parts", nesting(2, 1));

    addEntity(db, roundedPlate(4300, 450, 150, 100, 10), L"Parts", noSetup);

    // A cover plate taller than the sheet whichever way it turns: it cannot be placed and is
    // set down beside the sheet.
    addEntity(db, roundedPlate(4800, 200, 1600, 1600, 50), L"Parts", nesting(1, 1));
}

} // namespace

int main(int argc, char** argv) {
    const std::string out = argc > 1 ? argv[1] : "sheet-and-parts.dxf";
    ZcDbDatabase db;
    buildDrawing(db);
    if (db.saveAs(gantrel::dxf::utf8ToWide(out).c_str()) != Zcad::eOk) {
        std::cerr << "make-example: " << ::win::Narrow(db.lastErrorMessage()) << '\n';
        return 1;
    }
    return 0;
}
