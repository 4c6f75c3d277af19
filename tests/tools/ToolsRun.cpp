#include "ToolsRun.h"

#include <cmath>
#include <sstream>

#include "winhost.h"
#include "zcdball.h"

using gantrel::testing::Outcome;
using gantrel::testing::RunProgram;
using gantrel::testing::WriteFile;

ToolsRun::ToolsRun() {
    // The suite folder pinned to the build's share folder, where help.cfg lies.
    WriteFile(folder / "pinned.reg", "Windows Registry Editor Version 5.00\n"
                                     "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KORVANT\\Orvendel\\2027]\n"
                                     "\"Path\"=\"" BUILD_SHARE "\"\n");
}

Outcome ToolsRun::Run(const std::string& script) {
    std::string error;
    EXPECT_TRUE(session.saveDrawing((folder / "in.dxf").string(), error)) << error;
    WriteFile(folder / "s.scr", script);
    Outcome outcome = RunProgram(
        GANTREL_PROGRAM, {"run", "in.dxf", "s.scr", "-o", "out.dxf", "--registry", "pinned.reg"},
        {"HOME=" + folder.string(), "PATH=/usr/bin:/bin"}, folder);
    EXPECT_EQ(outcome.status, 0) << outcome.out << outcome.err;
    EXPECT_TRUE(session.openDrawing((folder / "out.dxf").string(), error)) << error;
    return outcome;
}

namespace {

std::vector<ZcDbObjectId> OfClass(const std::vector<ZcDbObjectId>& ids, const ZcRxClass* cls) {
    std::vector<ZcDbObjectId> out;
    for (ZcDbObjectId id : ids) {
        ZcDbObject* object = nullptr;
        if (zcdbOpenObject(object, id, ZcDb::kForRead) != Zcad::eOk)
            continue;
        if (cls == nullptr || object->isKindOf(cls))
            out.push_back(id);
        object->close();
    }
    return out;
}

std::vector<ZcDbObjectId> RecordEntities(ZcDbObjectId record) {
    ZcDbBlockTableRecord* block = nullptr;
    if (zcdbOpenObject(block, record, ZcDb::kForRead) != Zcad::eOk)
        return {};
    std::vector<ZcDbObjectId> ids = block->entityIds();
    block->close();
    return ids;
}

} // namespace

std::vector<ZcDbObjectId> ToolsRun::ModelSpace(const ZcRxClass* cls) {
    return OfClass(RecordEntities(db().modelSpaceId()), cls);
}

std::vector<ZcDbObjectId> ToolsRun::BlockEntities(const wchar_t* name) {
    ZcDbBlockTable* table = nullptr;
    ZcDbObjectId record;
    if (db().getBlockTable(table, ZcDb::kForRead) != Zcad::eOk)
        return {};
    table->getIdAt(name, record);
    table->close();
    return record.isNull() ? std::vector<ZcDbObjectId>{} : RecordEntities(record);
}

ZcDbObjectId ToolsRun::ByHandle(const std::string& handle) {
    ZcDbObjectId id;
    if (db().getZcDbObjectId(id, false, ZcDbHandle(win::Widen(handle).c_str())) != Zcad::eOk ||
        id.isErased())
        return ZcDbObjectId::kNull;
    return id;
}

std::string LineText(ZcDbObjectId id) {
    ZcDbLine* line = nullptr;
    if (zcdbOpenObject(line, id, ZcDb::kForRead) != Zcad::eOk)
        return "not a line";
    auto round = [](double v) { return std::round(v * 1e9) / 1e9 + 0.0; };
    std::ostringstream text;
    text << round(line->startPoint().x) << ',' << round(line->startPoint().y) << '-'
         << round(line->endPoint().x) << ',' << round(line->endPoint().y);
    line->close();
    return text.str();
}
