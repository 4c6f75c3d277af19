// Test drawings.
#include "drawings.h"

#include <cmath>

namespace dxftest {

ZcDbObjectId append(ZcDbDatabase& db, ZcDbEntity* entity, ZcDbObjectId block) {
    ZcDbBlockTableRecord* record = nullptr;
    zcdbOpenObject(record, block.isNull() ? db.modelSpaceId() : block, ZcDb::kForWrite);
    ZcDbObjectId id;
    record->appendZcDbEntity(id, entity);
    entity->close();
    record->close();
    return id;
}

namespace {

ZcDbLoopEdge lineEdge(double x0, double y0, double x1, double y1) {
    ZcDbLoopEdge e;
    e.kind = ZcDbLoopEdge::kLine;
    e.start = {x0, y0};
    e.end = {x1, y1};
    return e;
}

ZcDbLoopEdge arcEdge(double cx, double cy, double r, double a0, double a1, bool ccw) {
    ZcDbLoopEdge e;
    e.kind = ZcDbLoopEdge::kCircularArc;
    e.center = {cx, cy};
    e.radius = r;
    e.startAngle = a0;
    e.endAngle = a1;
    e.counterClockwise = ccw;
    return e;
}

// The block of this name, made where the drawing has none (a case built twice into one drawing
// draws into the block it made the first time).
ZcDbObjectId addBlock(ZcDbDatabase& db, const wchar_t* name, const ZcGePoint3d& origin) {
    ZcDbBlockTable* table = nullptr;
    db.getBlockTable(table, ZcDb::kForWrite);
    ZcDbObjectId id;
    if (table->getIdAt(name, id) != Zcad::eOk) {
        auto* record = new ZcDbBlockTableRecord;
        record->setName(name);
        record->setOrigin(origin);
        table->add(id, record);
        record->close();
    }
    table->close();
    return id;
}

void addLayer(ZcDbDatabase& db, const wchar_t* name, std::int16_t color, bool off, bool frozen) {
    ZcDbLayerTable* table = nullptr;
    db.getLayerTable(table, ZcDb::kForWrite);
    auto* layer = new ZcDbLayerTableRecord;
    layer->setName(name);
    layer->setColorIndex(color);
    layer->setIsOff(off);
    layer->setIsFrozen(frozen);
    table->add(layer);
    layer->close();
    table->close();
}

ZcDbPolyline* bulgedPolyline() {
    auto* p = new ZcDbPolyline;
    p->addVertexAt(0, {0.1, 0.2}, 0.0, 0.0, 0.0);
    p->addVertexAt(1, {10.000000000000002, 0.2}, 0.41421356237309503, 0.5, 1.5);
    p->addVertexAt(2, {10.000000000000002, 7.3}, -1.0, 0.0, 0.0);
    p->addVertexAt(3, {0.1, 7.3}, 0.0, 0.0, 0.0);
    p->setClosed(true);
    p->setElevation(1.25);
    return p;
}

std::vector<DrawingCase> makeCases() {
    std::vector<DrawingCase> cases;
    auto add = [&](std::string name, std::function<void(ZcDbDatabase&)> build) {
        cases.push_back({std::move(name), std::move(build)});
    };
    add("line", [](ZcDbDatabase& db) {
        auto* line =
            new ZcDbLine({0.1, 0.2, 0.30000000000000004}, {1e-300, -123456789.123456789, 7});
        line->setThickness(2.5);
        line->setColorIndex(1);
        append(db, line);
    });
    add("circle", [](ZcDbDatabase& db) {
        append(db, new ZcDbCircle({3.3, -4.4, 0}, ZcGeVector3d::kZAxis, 1.0 / 3.0));
        // A mirrored circle: its center is written in the coordinates of its normal.
        append(db, new ZcDbCircle({1, 2, 3}, ZcGeVector3d(0, 0, -1), 0.5));
    });
    add("arc", [](ZcDbDatabase& db) {
        append(db, new ZcDbArc({1, 1, 0}, 2.0, kPi / 6, 5 * kPi / 4));
        auto* tilted = new ZcDbArc({0, 0, 5}, 1.5, 0.25, 2.0);
        tilted->setNormal(ZcGeVector3d(0.6, 0, 0.8));
        append(db, tilted);
    });
    add("ellipse", [](ZcDbDatabase& db) {
        append(db, new ZcDbEllipse({5, 5, 0}, ZcGeVector3d::kZAxis, {4, 3, 0}, 0.5, 0.3, 4.0));
        append(db, new ZcDbEllipse({-5, 0, 0}, ZcGeVector3d::kZAxis, {0, 2, 0}, 0.25));
    });
    add("lwpolyline", [](ZcDbDatabase& db) {
        append(db, bulgedPolyline());
        auto* wide = new ZcDbPolyline;
        wide->addVertexAt(0, {20, 0});
        wide->addVertexAt(1, {30, 0});
        wide->setConstantWidth(0.75);
        append(db, wide);
    });
    add("polyline2d", [](ZcDbDatabase& db) {
        auto* p = new ZcDb2dPolyline;
        p->appendVertex(new ZcDb2dVertex({0, 0, 0}, 0.5));
        p->appendVertex(new ZcDb2dVertex({4, 0, 0}, 0.0));
        p->appendVertex(new ZcDb2dVertex({4, 3, 0}, -0.25));
        p->setClosed(true);
        p->setElevation(2.0);
        p->setLayer(L"0");
        append(db, p);
    });
    add("spline", [](ZcDbDatabase& db) {
        ZcGePoint3dArray ctrl;
        for (auto [x, y] : {std::pair{0.0, 0.0}, {1.0, 2.0}, {3.0, 2.5}, {4.0, 0.0}, {6.0, -1.0}})
            ctrl.append({x, y, 0});
        ZcGeDoubleArray knots;
        for (double k : {0.0, 0.0, 0.0, 0.0, 0.5, 1.0, 1.0, 1.0, 1.0})
            knots.append(k);
        ZcGeDoubleArray weights;
        for (double w : {1.0, 0.7071067811865476, 2.0, 1.0, 1.0})
            weights.append(w);
        append(db, new ZcDbSpline(3, ctrl, knots, weights));
        ZcGePoint3dArray fit;
        for (auto [x, y] : {std::pair{10.0, 0.0}, {12.0, 3.0}, {15.0, 1.0}, {18.0, 4.0}})
            fit.append({x, y, 0});
        append(db, new ZcDbSpline(fit));
    });
    add("point", [](ZcDbDatabase& db) { append(db, new ZcDbPoint({1.5, -2.5, 0.125})); });
    add("text", [](ZcDbDatabase& db) {
        auto* t = new ZcDbText({1, 2, 0}, L"Zażółć gęślą jaźń ^ 100%", 3.5, kPi / 7);
        t->setHorizontalMode(ZcDbText::kTextCenter);
        t->setAlignmentPoint({4, 2, 0});
        t->setWidthFactor(0.8);
        t->setOblique(0.2);
        append(db, t);
        auto* mirrored = new ZcDbText({2, 3, 4}, L"mirrored", 1.0);
        mirrored->setNormal(ZcGeVector3d(0, 0, -1));
        append(db, mirrored);
    });
    add("mtext", [](ZcDbDatabase& db) {
        auto* m = new ZcDbMText;
        m->setLocation({10, 20, 0});
        std::wstring contents = L"{\\fArial|b1;Title}\\P";
        for (int i = 0; i < 40; ++i)
            contents += L"Line " + std::to_wstring(i) + L" ęóąśłżźćń €\\P";
        m->setContents(contents.c_str());
        m->setTextHeight(2.0);
        m->setWidth(50.0);
        m->setAttachment(ZcDbMText::kMiddleCenter);
        m->setRotation(0.5);
        append(db, m);
    });
    add("hatch", [](ZcDbDatabase& db) {
        auto* h = new ZcDbHatch;
        h->setPattern(L"SOLID", true);
        ZcDbLoop polyline;
        polyline.flags = 1 | 2;
        polyline.vertices = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
        polyline.bulges = {0, 0.5, 0, 0};
        h->appendLoop(polyline);
        ZcDbLoop edges;
        edges.flags = 16;
        edges.edges.push_back(lineEdge(2, 2, 6, 2));
        edges.edges.push_back(arcEdge(6, 4, 2, -kPi / 2, kPi / 2, true));
        edges.edges.push_back(lineEdge(6, 6, 2, 6));
        edges.edges.push_back(arcEdge(2, 4, 2, kPi / 2, 3 * kPi / 2, false));
        h->appendLoop(edges);
        append(db, h);

        auto* pattern = new ZcDbHatch;
        pattern->setPattern(L"ANSI31", false);
        pattern->setPatternAngle(kPi / 4);
        pattern->setPatternScale(2.0);
        pattern->setPatternLines({{45.0, 0.0, 0.0, -2.2450640303, 2.2450640303}});
        ZcDbLoop curved;
        curved.flags = 1;
        ZcDbLoopEdge ellipse;
        ellipse.kind = ZcDbLoopEdge::kEllipticArc;
        ellipse.center = {30, 0};
        ellipse.majorAxis = {5, 0};
        ellipse.radius = 0.5;
        ellipse.startAngle = 0;
        ellipse.endAngle = kPi;
        curved.edges.push_back(ellipse);
        ZcDbLoopEdge spline;
        spline.kind = ZcDbLoopEdge::kSpline;
        spline.degree = 2;
        spline.knots = {0, 0, 0, 1, 1, 1};
        spline.controlPoints = {{25, 0}, {30, -4}, {35, 0}};
        spline.weights = {1, 0.5, 1};
        curved.edges.push_back(spline);
        pattern->appendLoop(curved);
        append(db, pattern);
    });
    add("region", [](ZcDbDatabase& db) { append(db, squareWithHole()); });
    add("insert", [](ZcDbDatabase& db) {
        const ZcDbObjectId block = addBlock(db, L"PART", {1, 1, 0});
        append(db, new ZcDbCircle({1, 1, 0}, ZcGeVector3d::kZAxis, 1.0), block);
        auto* ref = new ZcDbBlockReference({10, 5, 0}, block);
        ref->setScaleFactors({2, 2, 1});
        ref->setRotation(kPi / 12);
        append(db, ref);
        auto* grid = new ZcDbMInsertBlock;
        grid->setBlockTableRecord(block);
        grid->setPosition({-10, -10, 0});
        grid->setColumns(3);
        grid->setRows(2);
        grid->setColumnSpacing(4.0);
        grid->setRowSpacing(5.5);
        append(db, grid);
    });
    add("leader", [](ZcDbDatabase& db) {
        auto* leader = new ZcDbLeader;
        leader->appendVertex({0, 0, 0});
        leader->appendVertex({5, 5, 0});
        leader->appendVertex({9, 5, 0});
        leader->setDimasz(0.75);
        append(db, leader);
    });
    add("dimension", [](ZcDbDatabase& db) {
        auto* dim = new ZcDbAlignedDimension({0, 0, 0}, {10, 0, 0}, {10, 3, 0}, L"<> mm");
        dim->setTextPosition({5, 3, 0});
        append(db, dim);
    });
    return cases;
}

} // namespace

const std::vector<DrawingCase>& entityCases() {
    static const std::vector<DrawingCase> cases = makeCases();
    return cases;
}

void buildCase(ZcDbDatabase& db, const std::string& name) {
    for (const DrawingCase& c : entityCases())
        if (c.name == name)
            c.build(db);
}

ZcDbRegion* squareWithHole() {
    auto* region = new ZcDbRegion;
    ZcDbLoop outer;
    outer.edges = {lineEdge(0, 0, 10, 0), lineEdge(10, 0, 10, 10), lineEdge(10, 10, 0, 10),
                   lineEdge(0, 10, 0, 0)};
    region->appendLoop(outer);
    ZcDbLoop hole;
    hole.flags = 0;
    hole.edges = {arcEdge(5, 5, 2, 0, 0, true)};
    region->appendLoop(hole);
    return region;
}

void buildStructureDrawing(ZcDbDatabase& db) {
    addLayer(db, L"Parts", 3, false, false);
    addLayer(db, L"Hidden Off", 5, true, true);
    zcdbRegApp(&db, L"Plaxen");

    // A block with attribute definitions, and a reference with its attributes.
    const ZcDbObjectId block = addBlock(db, L"TAG BLOCK", {2, 3, 0});
    append(db, new ZcDbLine({0, 0, 0}, {4, 0, 0}), block);
    auto* number = new ZcDbAttributeDefinition({0, 1, 0}, L"001", L"NUMBER", L"Part number?", 0.5);
    append(db, number, block);
    auto* material = new ZcDbAttributeDefinition({0, 2, 0}, L"Stal", L"MATERIAL", L"", 0.5);
    material->setConstant(true);
    material->setInvisible(true);
    append(db, material, block);

    auto* ref = new ZcDbBlockReference({20, 30, 0}, block);
    ref->setLayer(L"Parts");
    auto* attribute = new ZcDbAttribute;
    attribute->setAttributeFromBlock(number, ref->blockTransform());
    attribute->setTextString(L"A-17");
    ref->appendAttribute(attribute);
    const ZcDbObjectId refId = append(db, ref);

    // Extended data of every item type on an entity.
    ZcDbEntity* ent = nullptr;
    zcdbOpenObject(ent, refId, ZcDb::kForWrite);
    const zds_real point[3] = {1.5, 2.5, 3.5};
    resbuf* xdata = zcutBuildList(1001, L"Plaxen", 1000, L"Count", 1070, 3, 1000, L"Rotable", 1071,
                                  std::int32_t{70000}, 1040, 0.1, 1010, point, 1002, L"{", 1005,
                                  L"1F", 1002, L"}", 0);
    ent->setXData(xdata);
    zcutRelRb(xdata);
    ent->close();

    // A dictionary with extended data and a nested dictionary.
    ZcDbDictionary* root = nullptr;
    db.getNamedObjectsDictionary(root, ZcDb::kForWrite);
    auto* outer = new ZcDbDictionary;
    ZcDbObjectId outerId;
    root->setAt(L"Przedmiar", outer, outerId);
    resbuf* dictData = zcutBuildList(1001, L"Plaxen", 1000, L"settings", 1041, 2.75, 0);
    outer->setXData(dictData);
    zcutRelRb(dictData);
    auto* inner = new ZcDbDictionary;
    ZcDbObjectId innerId;
    outer->setAt(L"Values", inner, innerId);
    inner->close();
    outer->close();
    root->close();

    // A named group of two entities, not in handle order, and an unnamed group of one.
    const ZcDbObjectId looseLine = append(db, new ZcDbLine({0, 50, 0}, {10, 50, 0}));
    ZcDbDictionary* groups = nullptr;
    db.getGroupDictionary(groups, ZcDb::kForWrite);
    for (const auto& [key, members] : {std::pair{L"Cięte części", std::vector{looseLine, refId}},
                                       std::pair{L"*A1", std::vector{refId}}}) {
        auto* group = new ZcDbGroup(L"Arkusz 3, pozycje 1–4", key[0] != L'*');
        group->setAnonymous(key[0] == L'*');
        ZcDbObjectId groupId;
        groups->setAt(key, group, groupId);
        for (const ZcDbObjectId& member : members)
            group->append(member);
        group->close();
    }
    groups->close();

    db.setInsunits(6);
    db.setHeaderVar(L"DIMASZ", 0.18);
    db.setHeaderVar(L"DIMSCALE", 25.0);
    db.setHeaderVar(L"PDMODE", std::int16_t{34});
    db.setHeaderVar(L"PDSIZE", -2.0);
    db.setHeaderVar(L"LUPREC", std::int16_t{6});
    db.setHeaderVar(L"PROJECTNAME", std::wstring(L"Hala Łódź"));
}

} // namespace dxftest
