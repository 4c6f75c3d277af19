// "Kraty", "T_PtExport", "T_SumSubPoly" and "T_LZS" run by scripts through gantrel; the lines,
// leaders and files they leave are read back from the saved drawing and the disk.
#include "ToolsRun.h"

#include <cmath>
#include <string>

#include "winhost.h"
#include "zcdball.h"

using gantrel::testing::CountOf;
using gantrel::testing::Outcome;
using gantrel::testing::ReadFile;
using gantrel::testing::WriteFile;

namespace {

std::vector<std::string> Lines(const std::vector<ZcDbObjectId>& ids) {
    std::vector<std::string> out;
    for (ZcDbObjectId id : ids)
        out.push_back(LineText(id));
    return out;
}

// The numbers printed after each "Total length:", in order.
std::vector<double> Totals(const std::string& transcript) {
    std::vector<double> totals;
    const std::string label = "Total length:";
    for (auto at = transcript.find(label); at != std::string::npos;
         at = transcript.find(label, at + 1))
        totals.push_back(std::stod(transcript.substr(at + label.size())));
    return totals;
}

} // namespace

using GridRun = ToolsRun;

TEST_F(GridRun, CountsCornersInEitherOrderAndEnterRepeatingTheFirstCount) {
    const Outcome outcome = Run("Kraty\n30,20\n0,0\n3\n4\n"  // opposite corner first
                                "Kraty\n0,0\n30,20\n2\n\n"   // Enter: 2 again
                                "Kraty\n0,0\n30,20\n1\n0\n"  // one line at the lower edge
                                "Kraty\n0,0\n30,20\n0\n-2\n" // nothing
                                "Kraty\n0,0\n^C\n");         // Esc at the corner
    EXPECT_EQ(Lines(ModelSpace(ZcDbLine::desc())),
              (std::vector<std::string>{"0,0-0,20", "10,0-10,20", "20,0-20,20", "30,0-30,20",
                                        "0,0-30,0", "0,10-30,10", "0,20-30,20", "0,0-0,20",
                                        "30,0-30,20", "0,0-30,0", "0,20-30,20", "0,0-30,0"}));
    EXPECT_NE(outcome.out.find("\nSpecify opposite corner: 0,0\nNumber of horizontal lines:<0>3"
                               "\nNumber of vertical lines:<3>4\n"),
              std::string::npos)
        << outcome.out;
}

using ExportRun = ToolsRun;

TEST_F(ExportRun, WritesTheCoordinatesWithCarriageReturnsAndNothingAfterEsc) {
    const Outcome outcome = Run("T_PtExport\n^C\n"
                                "T_PtExport\n1,2,0\n3.5,-4,10\n\npoints\n");
    EXPECT_EQ(ReadFile(folder / "points.csv"),
              "1.0000;2.0000;0.0000\r\n3.5000;-4.0000;10.0000\r\n");
    EXPECT_EQ(CountOf(outcome.out, "Save As"), 1u) << "no dialog after Esc at the first point";
    EXPECT_NE(outcome.out.find("Specify point: 3.5,-4,10\n3.5000, -4.0000, 10.0000"),
              std::string::npos)
        << outcome.out;
}

TEST_F(ExportRun, AFileThatCannotBeOpenedIsReportedAndTheDialogAsksAgain) {
    std::filesystem::create_directory(folder / "taken.csv");
    WriteFile(folder / "kept.csv", "kept\n");
    const Outcome outcome = Run("T_PtExport\n7,8\n\n"
                                "missing/p.csv\n" // a folder that does not exist
                                "taken.csv\n"     // a folder: the dialog itself refuses it
                                "kept.csv\nno\n"  // exists: not replaced
                                "kept.csv\nyes\n");
    const std::string missing = (folder / "missing/p.csv").string();
    EXPECT_NE(outcome.out.find("!: " + missing + " is locked.\n[OK]\n es: " +
                               win::Narrow(zcadErrorStatusText(Zcad::eFileAccessErr))),
              std::string::npos)
        << outcome.out;
    EXPECT_NE(outcome.out.find("This is a folder, not a file."), std::string::npos);
    EXPECT_EQ(CountOf(outcome.out, "kept.csv already exists."), 2u) << outcome.out;
    EXPECT_EQ(ReadFile(folder / "kept.csv"), "7.0000;8.0000;0.0000\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder / "missing"));
}

using SumRun = ToolsRun;

TEST_F(SumRun, LengthsAlongArcsPolylinesAndSplinesAddUp) {
    const std::string arc = handleOf(addArc(0, 0, 1, 0, kPi));
    // A half circle of radius 2 by its bulge, then a straight segment of 3.
    const std::string polyline = handleOf(addPolyline({{10, 0, 1}, {14, 0, 0}, {14, 3, 0}}, false));
    ZcGePoint3dArray control;
    for (const ZcGePoint3d& p : {ZcGePoint3d(0, 10, 0), ZcGePoint3d(3, 14, 0), ZcGePoint3d(6, 6, 0),
                                 ZcGePoint3d(9, 12, 0)})
        control.append(p);
    ZcGeDoubleArray knots;
    for (double k : {0.0, 0.0, 0.0, 0.0, 1.0, 1.0, 1.0, 1.0})
        knots.append(k);
    const ZcDbObjectId splineId = add(new ZcDbSpline(3, control, knots));
    const std::string spline = handleOf(splineId);
    const std::string point = handleOf(add(new ZcDbPoint({50, 50, 0})));

    // The spline's length by chords of a fine sampling, through the same drawing it was read to.
    double splineLength = 0.0;
    {
        ZcDbSpline* s = nullptr;
        ASSERT_EQ(zcdbOpenObject(s, splineId, ZcDb::kForRead), Zcad::eOk);
        ZcGePoint3d previous, p;
        s->getPointAtParam(0.0, previous);
        for (int i = 1; i <= 20000; ++i) {
            s->getPointAtParam(i / 20000.0, p);
            splineLength += p.distanceTo(previous);
            previous = p;
        }
        s->close();
    }

    const Outcome outcome = Run("T_SumSubPoly\n"
                                "\n#" +
                                point + "\n#" + arc +
                                "\n1,0\n-1,0\n" // Enter, a point
                                "#" +
                                arc +
                                "\n0,1\n0,1\n" // one spot
                                "#" +
                                arc +
                                "\n1,0\n^C\n" // no second point
                                "#" +
                                polyline +
                                "\n14,3\n10,0\n"
                                "#" +
                                spline + "\n9,12\n0,10\n^C\n");
    const std::vector<double> totals = Totals(outcome.out);
    ASSERT_EQ(totals.size(), 4u) << outcome.out;
    EXPECT_NE(outcome.out.find("Total length:3.1416"), std::string::npos) << outcome.out;
    EXPECT_DOUBLE_EQ(totals[1], totals[0]) << "the same spot twice adds 0.0000";
    EXPECT_NEAR(totals[2] - totals[1], 2 * kPi + 3, 1e-4);
    EXPECT_NEAR(totals[3] - totals[2], splineLength, 2e-4);
    // Asked again after Enter and after the point entity: three curve prompts before the first
    // sum.
    EXPECT_EQ(CountOf(outcome.out.substr(0, outcome.out.find("Total length:")), "Select object: "),
              3u)
        << outcome.out;
}

using ArrowRun = ToolsRun;

TEST_F(ArrowRun, EachStepIsALeaderWithTheDrawingsArrowSizeAndScale) {
    const Outcome outcome = Run("setvar DIMASZ 3\nsetvar DIMSCALE 2\n"
                                "T_LZS\n0,0\n10,0\n10,0\n10,5\n\n"
                                "T_LZS\n1,2,3\n4,6,8\n\n"); // off the plane: between the points
    const std::vector<ZcDbObjectId> leaders = ModelSpace(ZcDbLeader::desc());
    ASSERT_EQ(leaders.size(), 3u) << outcome.out;
    const ZcGePoint3d expected[3][2] = {
        {{10, 0, 0}, {0, 0, 0}}, {{10, 5, 0}, {10, 0, 0}}, {{4, 6, 8}, {1, 2, 3}}};
    for (int i = 0; i < 3; ++i) {
        ZcDbLeader* leader = nullptr;
        ASSERT_EQ(zcdbOpenObject(leader, leaders[i], ZcDb::kForRead), Zcad::eOk);
        ASSERT_EQ(leader->numVertices(), 2);
        EXPECT_TRUE(leader->vertexAt(0).isEqualTo(expected[i][0])) << "arrowhead at the new point";
        EXPECT_TRUE(leader->vertexAt(1).isEqualTo(expected[i][1]));
        EXPECT_TRUE(leader->hasArrowHead());
        EXPECT_DOUBLE_EQ(leader->dimasz(), 3.0);
        EXPECT_DOUBLE_EQ(leader->dimscale(), 2.0);
        leader->close();
    }
}
