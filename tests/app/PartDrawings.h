// Part drawings for tests of `gantrel nest --sheet-size`, written through the host database and
// our DXF writer: one part a file, of each kind a part drawing comes in.
#pragma once

#include <cmath>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "text_codec.h"
#include "zcdball.h"

namespace gantrel::testing {

inline void AppendTo(ZcDbBlockTableRecord& block, ZcDbEntity* entity) {
    EXPECT_EQ(block.appendZcDbEntity(entity), Zcad::eOk);
    entity->close();
}

inline ZcDbPolyline* ClosedPolyline(std::initializer_list<std::pair<ZcGePoint2d, double>> at) {
    auto* pl = new ZcDbPolyline;
    unsigned int i = 0;
    for (const auto& [point, bulge] : at)
        pl->addVertexAt(i++, point, bulge);
    pl->setClosed(true);
    return pl;
}

inline ZcDbPolyline* Rectangle(double x, double y, double w, double h) {
    return ClosedPolyline(
        {{{x, y}, 0.0}, {{x + w, y}, 0.0}, {{x + w, y + h}, 0.0}, {{x, y + h}, 0.0}});
}

inline ZcDbCircle* Disc(double x, double y, double radius) {
    return new ZcDbCircle({x, y, 0.0}, ZcGeVector3d::kZAxis, radius);
}

// Writes a drawing in the given units ($INSUNITS) whose model space fill draws.
inline void WritePart(const std::filesystem::path& path,
                      const std::function<void(ZcDbDatabase&, ZcDbBlockTableRecord&)>& fill,
                      std::int16_t units = 4) {
    ZcDbDatabase db;
    db.setInsunits(units);
    ZcDbBlockTableRecord* model = nullptr;
    ASSERT_EQ(zcdbOpenObject(model, db.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
    fill(db, *model);
    model->close();
    ASSERT_EQ(db.saveAs(gantrel::dxf::utf8ToWide(path.string()).c_str()), Zcad::eOk);
}

// A plate w x h at the origin.
inline void WritePlate(const std::filesystem::path& path, double w, double h,
                       std::int16_t units = 4) {
    WritePart(
        path, [&](ZcDbDatabase&, ZcDbBlockTableRecord& m) { AppendTo(m, Rectangle(0, 0, w, h)); },
        units);
}

// A slot w long and 2r wide drawn as loose lines and arcs: out of order, one line backwards.
inline void WriteSlotOfLinesAndArcs(const std::filesystem::path& path, double w, double r) {
    WritePart(path, [&](ZcDbDatabase&, ZcDbBlockTableRecord& m) {
        AppendTo(m, new ZcDbArc({w - r, r, 0}, r, -kPi / 2, kPi / 2));
        AppendTo(m, new ZcDbLine({w - r, 2 * r, 0}, {r, 2 * r, 0}));
        AppendTo(m, new ZcDbLine({w - r, 0, 0}, {r, 0, 0})); // backwards
        AppendTo(m, new ZcDbArc({r, r, 0}, r, kPi / 2, 3 * kPi / 2));
    });
}

// A plate with two holes and a label on it, and a note below it.
inline void WritePlateWithHolesAndText(const std::filesystem::path& path, double w, double h) {
    WritePart(path, [&](ZcDbDatabase&, ZcDbBlockTableRecord& m) {
        AppendTo(m, Rectangle(0, 0, w, h));
        AppendTo(m, Disc(w / 4, h / 2, h / 6));
        AppendTo(m, Disc(3 * w / 4, h / 2, h / 6));
        AppendTo(m, new ZcDbText({w / 3, h / 8, 0}, L"PLATE", h / 10));
    });
}

// A block of a plate with a hole, referenced once in model space away from the origin.
inline void WriteBlockPart(const std::filesystem::path& path, const wchar_t* name, double w,
                           double h) {
    WritePart(path, [&](ZcDbDatabase& db, ZcDbBlockTableRecord& m) {
        ZcDbBlockTable* blocks = nullptr;
        ASSERT_EQ(db.getBlockTable(blocks, ZcDb::kForWrite), Zcad::eOk);
        auto* block = new ZcDbBlockTableRecord;
        block->setName(name);
        ZcDbObjectId blockId;
        EXPECT_EQ(blocks->add(blockId, block), Zcad::eOk);
        blocks->close();
        AppendTo(*block, Rectangle(-w / 2, -h / 2, w, h));
        AppendTo(*block, Disc(0, 0, h / 5));
        block->close();
        AppendTo(m, new ZcDbBlockReference({500, 300, 0}, blockId));
    });
}

} // namespace gantrel::testing
