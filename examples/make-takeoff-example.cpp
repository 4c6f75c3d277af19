// Builds the bundled takeoff example: takeoff.dxf, the ground floor of a small house in
// millimetres whose rooms, walls and openings carry description labels (references of the
// three description blocks the suite's "Tallimo.ini" names), with the drawing's own takeoff
// store: a settings entry that changes only the hatch scale, and a stored list of locations.
// Beside it, RoomDescription.dxf: a description block drawn in a file of its own, as a
// template the settings editor loads.
//
// Usage: make-takeoff-example [FOLDER]   (default: the current folder)
#include <iostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "example_drawing.h"
#include "text_codec.h"
#include "winhost.h"
#include "zcdball.h"

namespace {

using namespace examples;

using Attributes = std::vector<std::pair<const wchar_t*, const wchar_t*>>;

struct Tag {
    const wchar_t* tag;
    const wchar_t* prompt;
    bool constant = false;
    const wchar_t* text = L"";
};

ZcDbObjectId appendTo(ZcDbDatabase& db, ZcDbObjectId owner, ZcDbEntity* entity,
                      const wchar_t* layer) {
    ZcDbBlockTableRecord* record = nullptr;
    zcdbOpenObject(record, owner.isNull() ? db.modelSpaceId() : owner, ZcDb::kForWrite);
    ZcDbObjectId id;
    record->appendZcDbEntity(id, entity);
    record->close();
    entity->setLayer(layer);
    entity->close();
    return id;
}

// A description block: a frame and one attribute definition per tag, one under the other.
ZcDbObjectId makeDescriptionBlock(ZcDbDatabase& db, const wchar_t* name,
                                  const std::vector<Tag>& tags, ZcDbObjectId into = {}) {
    ZcDbObjectId blockId = into;
    if (blockId.isNull()) {
        ZcDbBlockTable* blocks = nullptr;
        db.getBlockTable(blocks, ZcDb::kForWrite);
        auto* block = new ZcDbBlockTableRecord;
        block->setName(name);
        blocks->add(blockId, block);
        block->close();
        blocks->close();
    }
    const double height = 100.0 * static_cast<double>(tags.size()) + 50.0;
    auto* frame = new ZcDbPolyline;
    frame->addVertexAt(0, {-50.0, 50.0});
    frame->addVertexAt(1, {1450.0, 50.0});
    frame->addVertexAt(2, {1450.0, 50.0 - height});
    frame->addVertexAt(3, {-50.0, 50.0 - height});
    frame->setClosed(true);
    appendTo(db, blockId, frame, L"0");
    double y = -50.0;
    for (const Tag& tag : tags) {
        auto* definition =
            new ZcDbAttributeDefinition({0.0, y, 0.0}, tag.text, tag.tag, tag.prompt, 60.0);
        definition->setConstant(tag.constant);
        appendTo(db, blockId, definition, L"0");
        y -= 100.0;
    }
    return blockId;
}

// A label: a reference of a description block whose attributes carry the given texts (a tag
// not given keeps its definition's default).
void placeLabel(ZcDbDatabase& db, ZcDbObjectId block, double x, double y,
                const Attributes& values) {
    auto* reference = new ZcDbBlockReference({x, y, 0.0}, block);
    ZcDbBlockTableRecord* definition = nullptr;
    zcdbOpenObject(definition, block, ZcDb::kForRead);
    for (ZcDbObjectId id : definition->entityIds()) {
        ZcDbAttributeDefinition* def = nullptr;
        if (zcdbOpenObject(def, id, ZcDb::kForRead) != Zcad::eOk)
            continue;
        if (!def->isConstant()) {
            auto* attribute = new ZcDbAttribute;
            attribute->setAttributeFromBlock(def, reference->blockTransform());
            for (const auto& [tag, text] : values)
                if (def->tag() == tag)
                    attribute->setTextString(text);
            reference->appendAttribute(attribute);
        }
        def->close();
    }
    definition->close();
    appendTo(db, ZcDbObjectId(), reference, L"Takeoff");
}

void addRoom(ZcDbDatabase& db, double x, double y, double w, double h) {
    auto* room = new ZcDbPolyline;
    room->addVertexAt(0, {x, y});
    room->addVertexAt(1, {x + w, y});
    room->addVertexAt(2, {x + w, y + h});
    room->addVertexAt(3, {x, y + h});
    room->setClosed(true);
    appendTo(db, ZcDbObjectId(), room, L"Rooms");
}

// One entry of the drawing's takeoff store: extended data on the "Przedmiar" dictionary.
void storeEntry(ZcDbDatabase& db, const wchar_t* name, const std::vector<const wchar_t*>& lines) {
    ZcDbDictionary* named = nullptr;
    db.getNamedObjectsDictionary(named, ZcDb::kForWrite);
    ZcDbObjectId storeId;
    if (named->getAt(L"Przedmiar", storeId) != Zcad::eOk) {
        auto* store = new ZcDbDictionary;
        named->setAt(L"Przedmiar", store, storeId);
        store->close();
    }
    named->close();
    zcdbRegApp(&db, name);
    resbuf* head = zcutBuildList(1001, name, 0);
    resbuf* tail = head;
    for (const wchar_t* line : lines) {
        tail->rbnext = zcutBuildList(1000, line, 0);
        tail = tail->rbnext;
    }
    ZcDbObject* store = nullptr;
    zcdbOpenObject(store, storeId, ZcDb::kForWrite);
    store->setXData(head);
    store->close();
    zcutRelRb(head);
}

const std::vector<Tag> kArealTags = {{L"NUMBER", L"Number"},     {L"DESCRIPTION", L"Description"},
                                     {L"AREA", L"Area"},         {L"AREA_UNIT", L"Area unit"},
                                     {L"LENGTH", L"Perimeter"},  {L"LENGTH_UNIT", L"Length unit"},
                                     {L"LOCATION", L"Location"}, {L"EXPRESSION", L"Expression"},
                                     {L"ID", L"Identifier"}};
const std::vector<Tag> kLinearTags = {{L"NUMBER", L"Number"},     {L"DESCRIPTION", L"Description"},
                                      {L"LENGTH", L"Length"},     {L"LENGTH_UNIT", L"Length unit"},
                                      {L"LOCATION", L"Location"}, {L"EXPRESSION", L"Expression"},
                                      {L"ID", L"Identifier"}};
const std::vector<Tag> kCountTags = {{L"NUMBER", L"Number"},     {L"DESCRIPTION", L"Description"},
                                     {L"LOCATION", L"Location"}, {L"EXPRESSION", L"Expression"},
                                     {L"ID", L"Identifier"},     {L"UNIT", L"Unit", true, L"pcs"}};

void buildPlan(ZcDbDatabase& db) {
    db.setInsunits(4); // millimetres
    addLayer(db, L"Rooms", 8);
    addLayer(db, L"Walls", 7);
    addLayer(db, L"Takeoff", 3);

    addRoom(db, 0, 0, 6000, 4000);    // living room
    addRoom(db, 6000, 0, 3000, 4000); // kitchen
    addRoom(db, 0, 4000, 9000, 1500); // hall
    for (const auto& [x1, y1, x2, y2] : {std::tuple{-250.0, -250.0, 9250.0, -250.0},
                                         {9250.0, -250.0, 9250.0, 5750.0},
                                         {9250.0, 5750.0, -250.0, 5750.0},
                                         {-250.0, 5750.0, -250.0, -250.0}})
        appendTo(db, ZcDbObjectId(), new ZcDbLine({x1, y1, 0.0}, {x2, y2, 0.0}), L"Walls");

    const ZcDbObjectId areal = makeDescriptionBlock(db, L"AreaDescription", kArealTags);
    const ZcDbObjectId linear = makeDescriptionBlock(db, L"LengthDescription", kLinearTags);
    const ZcDbObjectId count = makeDescriptionBlock(db, L"CountDescription", kCountTags);

    placeLabel(db, areal, 1000, 3000,
               {{L"NUMBER", L"1"},
                {L"DESCRIPTION", L"Oak parquet"},
                {L"AREA", L"24.00"},
                {L"AREA_UNIT", L"m2"},
                {L"LENGTH", L"20.00"},
                {L"LENGTH_UNIT", L"m"},
                {L"LOCATION", L"Ground floor"},
                {L"ID", L"A1"}});
    placeLabel(db, areal, 6500, 3000,
               {{L"NUMBER", L"2"},
                {L"DESCRIPTION", L"Ceramic tiles"},
                {L"AREA", L"12.00"},
                {L"AREA_UNIT", L"m2"},
                {L"LENGTH", L"14.00"},
                {L"LENGTH_UNIT", L"m"},
                {L"LOCATION", L"Ground floor"},
                {L"ID", L"A2"}});
    placeLabel(db, linear, 500, 5300,
               {{L"NUMBER", L"3"},
                {L"DESCRIPTION", L"Skirting board"},
                {L"LENGTH", L"21.00"},
                {L"LENGTH_UNIT", L"m"},
                {L"LOCATION", L"ground floor"},
                {L"ID", L"L1"}});
    placeLabel(db, linear, 9500, 2000,
               {{L"NUMBER", L"4"},
                {L"DESCRIPTION", L"Brick wall"},
                {L"LENGTH", L"6.00"},
                {L"LENGTH_UNIT", L"m"},
                {L"LOCATION", L"Ground floor"},
                {L"ID", L"L2"}});
    placeLabel(db, count, 3000, -1000,
               {{L"NUMBER", L"5"},
                {L"DESCRIPTION", L"Window 120x150"},
                {L"LOCATION", L"Ground floor"},
                {L"ID", L"C1"}});
    placeLabel(
        db, count, 6000, -1000,
        {{L"NUMBER", L"6"}, {L"DESCRIPTION", L"Door 90"}, {L"LOCATION", L"Hall"}, {L"ID", L"C2"}});

    // The drawing reports as the suite does, with a hatch scale of its own, and keeps a list of
    // the locations its takeoff uses.
    storeEntry(db, L"Tallimo_Settings", {L"[Hatch]", L"Scale=50"});
    storeEntry(db, L"LOCATION", {L"Mezzanine", L"Ground floor"});
}

// A template drawing: the block's content in model space, as a block file is drawn.
void buildTemplate(ZcDbDatabase& db) {
    db.setInsunits(4);
    makeDescriptionBlock(db, nullptr,
                         {{L"ROOM_NO", L"Room number"},
                          {L"ROOM_NAME", L"Room name"},
                          {L"FINISH", L"Floor finish"},
                          {L"ROOM_AREA", L"Area"},
                          {L"KIND", L"Kind", true, L"Room"}},
                         db.modelSpaceId());
}

bool save(ZcDbDatabase& db, const std::string& path) {
    if (db.saveAs(gantrel::dxf::utf8ToWide(path).c_str()) == Zcad::eOk)
        return true;
    std::cerr << "make-takeoff-example: " << ::win::Narrow(db.lastErrorMessage()) << '\n';
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? std::string(argv[1]) + "/" : std::string();
    ZcDbDatabase plan;
    buildPlan(plan);
    ZcDbDatabase roomTemplate;
    buildTemplate(roomTemplate);
    return save(plan, folder + "takeoff.dxf") && save(roomTemplate, folder + "RoomDescription.dxf")
               ? 0
               : 1;
}
