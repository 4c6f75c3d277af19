// A small drawing written as a golden file: the groups we write are compared with
// tests/data/dxf/golden_small.dxf, with a printed diff. Set GANTREL_UPDATE_GOLDEN=1 to write
// the golden file anew after a deliberate change of the output.
#include <cstdlib>

#include "drawings.h"
#include "dxf_groups.h"
#include "test_support.h"

using namespace dxftest;

namespace {

TEST(Golden, SmallDrawingIsWrittenAsBefore) {
    ZcDbDatabase db;
    append(db, new ZcDbLine({0, 0, 0}, {100, 50, 0}));
    append(db, new ZcDbCircle({50, 25, 0}, ZcGeVector3d::kZAxis, 12.5));
    auto* text = new ZcDbText({10, 60, 0}, L"Gantrel", 5.0);
    append(db, text);
    auto* polyline = new ZcDbPolyline;
    polyline->addVertexAt(0, {0, 0});
    polyline->addVertexAt(1, {20, 0}, 1.0);
    polyline->addVertexAt(2, {20, 20});
    polyline->setClosed(true);
    append(db, polyline);
    const std::string written = save(db);
    const std::string golden = dataPath("dxf/golden_small.dxf");
    if (std::getenv("GANTREL_UPDATE_GOLDEN"))
        writeFile(golden, written);
    EXPECT_EQ(diffGroups(parseGroups(readFile(golden)), parseGroups(written), {}), "");
}

} // namespace
