// The drawing and session shared by the editor's tests.
#include "drawing_fixture.h"

#include "winhost.h"
#include "zcdbhost.h"

namespace {

ZcDbObjectId append(ZcDbObjectId blockId, ZcDbEntity* entity) {
    ZcDbBlockTableRecord* block = nullptr;
    EXPECT_EQ(zcdbOpenObject(block, blockId, ZcDb::kForWrite), Zcad::eOk);
    ZcDbObjectId id;
    EXPECT_EQ(block->appendZcDbEntity(id, entity), Zcad::eOk);
    entity->close();
    block->close();
    return id;
}

ZcDbObjectId newBlock(ZcDbDatabase& db, const wchar_t* name) {
    ZcDbBlockTable* table = nullptr;
    EXPECT_EQ(db.getBlockTable(table, ZcDb::kForWrite), Zcad::eOk);
    auto* record = new ZcDbBlockTableRecord;
    record->setName(name);
    ZcDbObjectId id;
    EXPECT_EQ(table->add(id, record), Zcad::eOk);
    record->close();
    table->close();
    return id;
}

} // namespace

TestDrawing buildTestDrawing(ZcDbDatabase& db) {
    TestDrawing d;
    ZcDbObjectId model = db.modelSpaceId();
    d.line = append(model, new ZcDbLine({0, 0, 0}, {10, 0, 0}));
    d.circle = append(model, new ZcDbCircle({20, 5, 0}, ZcGeVector3d::kZAxis, 2));
    auto* square = new ZcDbPolyline;
    square->addVertexAt(0, {30, 0});
    square->addVertexAt(1, {40, 0});
    square->addVertexAt(2, {40, 10});
    square->addVertexAt(3, {30, 10});
    square->setClosed(true);
    d.square = append(model, square);
    ZcDbObjectId inner = newBlock(db, L"INNER");
    d.innerLine = append(inner, new ZcDbLine({0, 0, 0}, {2, 0, 0}));
    d.innerCircle = append(inner, new ZcDbCircle({1, 1, 0}, ZcGeVector3d::kZAxis, 0.5));
    ZcDbObjectId outer = newBlock(db, L"OUTER");
    d.outerLine = append(outer, new ZcDbLine({0, 0, 0}, {0, 3, 0}));
    d.innerRef = append(outer, new ZcDbBlockReference({5, 5, 0}, inner));
    d.outerRef = append(model, new ZcDbBlockReference({100, 0, 0}, outer));
    return d;
}

std::string handleOf(ZcDbObjectId id) {
    return "#" + win::Narrow(id.handle().text());
}

ZcDbObjectId idOf(const zds_name name) {
    ZcDbObjectId id;
    zcdbGetObjectId(id, name);
    return id;
}

SessionTest::SessionTest() {
    session.transcript().setSink([this](std::string_view text) { out += text; });
    session.setInput(&input);
    drawing = buildTestDrawing(*session.database());
}

std::vector<std::string> SessionTest::lines() const {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start <= out.size()) {
        std::size_t end = out.find('\n', start);
        std::string line = out.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty())
            result.push_back(line);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return result;
}
