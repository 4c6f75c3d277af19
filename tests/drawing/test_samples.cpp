// Closed outlines of real drawings, against the areas an independent reader computes.
//
// Invariants checked here:
// - every closed outline of a sample drawing's model space is found as a closed chain, and no
//   other outline is;
// - its area, read through the handles, equals the area ezdxf computes (tests/data/drawing/
//   outline_areas.txt, written and checked by outline_areas.py) within 1e-6 relative.
#include <fstream>
#include <map>
#include <sstream>

#include "DrawingTest.h"
#include "drawing/OutlineReaders.h"
#include "winhost.h"
#include "zcdball.h"

using namespace gantrel;

namespace {

struct Expected {
    std::string kind;
    double area = 0;
};

// (file, handle) -> expected outline.
std::map<std::pair<std::string, std::string>, Expected> ReadTable() {
    std::map<std::pair<std::string, std::string>, Expected> table;
    std::ifstream in(std::string(GANTREL_TEST_DATA) + "/drawing/outline_areas.txt");
    EXPECT_TRUE(in.good()) << "the table of reference areas is missing";
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::string file, handle;
        Expected e;
        fields >> file >> handle >> e.kind >> e.area;
        table[{file, handle}] = e;
    }
    return table;
}

class SampleTest : public DrawingTest {};

} // namespace

TEST_F(SampleTest, EveryClosedOutlineWithTheAreaOfTheIndependentReader) {
    const auto table = ReadTable();
    ASSERT_GE(table.size(), 50u);
    std::map<std::string, int> expectedPerFile;
    for (const auto& [key, value] : table) {
        ++expectedPerFile[key.first];
    }
    ASSERT_EQ(expectedPerFile.size(), 3u);
    for (const auto& [file, count] : expectedPerFile) {
        SCOPED_TRACE(file);
        std::string error;
        ASSERT_TRUE(
            session.openDrawing(std::string(GANTREL_TEST_DATA) + "/dxf-samples/" + file, error))
            << error;
        ZcDbBlockTableRecord* model = nullptr;
        ASSERT_EQ(zcdbOpenObject(model, db().modelSpaceId(), ZcDb::kForRead), Zcad::eOk);
        const Ids ids = model->entityIds();
        model->close();

        int found = 0;
        for (const Ids& chain : BoundariesOfCurvesReader(ids).Read()) {
            const Ids ordered = OrderChain(chain);
            if (!IsClosedChain(ordered)) {
                continue;
            }
            ++found;
            ASSERT_EQ(ordered.size(), 1u) << "the samples hold single-curve outlines only";
            const std::string handle = handleOf(ordered[0]);
            const auto it = table.find({file, handle});
            ASSERT_NE(it, table.end()) << "outline " << handle << " is not in the table";
            const double area = AreaReader(ordered).Area();
            EXPECT_NEAR(area, it->second.area, 1e-6 * it->second.area)
                << handle << " " << it->second.kind;
            // The sampled outline of the same object encloses nearly the same area.
            const Points points = OutlineReader(ordered, 200).Read();
            EXPECT_NEAR(ShoelaceArea(points), it->second.area, 1e-2 * it->second.area) << handle;
        }
        EXPECT_EQ(found, count);
    }
}
