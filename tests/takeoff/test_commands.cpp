// "Tallimo:MDist" driven with answers queued for its prompts, and "AttManager", which shows
// nothing and changes nothing.
#include "TakeoffTest.h"

#include "takeoff/MDist_cmd.h"
#include "takeoff/TakeoffSettings.h"
#include "tools/AttManager_cmd.h"

#include <fstream>
#include <sstream>

#include "zced.h"

namespace gantrel {
namespace {

class MDist : public TakeoffTest {
protected:
    void units(const std::string& reported, int insunits) {
        writeSuiteFile("Tallimo.ini", "[Drawing]\nUnits=" + reported + "\n");
        resbuf value{};
        value.restype = RTSHORT;
        value.resval.rint = static_cast<short>(insunits);
        ASSERT_EQ(zcedSetVar(L"INSUNITS", &value), RTNORM);
    }
    // The totals printed, in order.
    std::vector<std::string> totals() const {
        std::vector<std::string> found;
        const std::string label = "Total length: ";
        for (std::size_t at = out.find(label); at != std::string::npos;
             at = out.find(label, at + 1)) {
            const std::size_t end = out.find('\n', at);
            found.push_back(out.substr(at + label.size(), end - at - label.size()));
        }
        return found;
    }
};

TEST_F(MDist, MetresOnAMillimetreDrawingDivideTheRunningTotalBy1000) {
    units("Meters", 4);
    input.push("0,0").push("3000,4000").push("3000,4000").push("3000,1000").push("");
    MDist_cmd command;
    EXPECT_EQ(command.GetGlobalName(), L"Tallimo:MDist");
    EXPECT_EQ(command.GetLocalName(), L"Tallimo:MDist");
    EXPECT_EQ(command.Run(), RTERROR);
    EXPECT_DOUBLE_EQ(command.Factor(), 0.001);
    EXPECT_DOUBLE_EQ(command.Total(), 8000.0);
    // Picking the same point again prints the unchanged total.
    EXPECT_EQ(totals(), (std::vector<std::string>{"5.0000", "5.0000", "8.0000"})) << out;
    EXPECT_EQ(input.pending(), 0u);
}

TEST_F(MDist, EnterOrEscAtTheFirstPointPrintsNothing) {
    input.push("");
    EXPECT_EQ(MDist_cmd().Run(), RTERROR);
    input.pushCancel();
    EXPECT_EQ(MDist_cmd().Run(), RTERROR);
    // Not even the missing "Tallimo.ini": the settings were not needed, so not loaded.
    EXPECT_EQ(out.find("Total"), std::string::npos) << out;
    EXPECT_EQ(out.find("Tallimo.ini"), std::string::npos) << out;
}

TEST_F(MDist, UnitsTheHostCannotConvertLeaveDrawingDistances) {
    // The drawing's own unit, a drawing without units, and a reported unit the host does not
    // know all measure plain drawing distances.
    units("Millimeters", 4);
    EXPECT_DOUBLE_EQ(DrawingToReportFactor(), 1.0);
    ResetSettings();
    units("Meters", 0);
    EXPECT_DOUBLE_EQ(DrawingToReportFactor(), 1.0);
    ResetSettings();
    units("Cubits", 6);
    EXPECT_DOUBLE_EQ(DrawingToReportFactor(), 1.0);
    ResetSettings();
    units("Feet", 1);
    EXPECT_DOUBLE_EQ(DrawingToReportFactor(), 1.0 / 12.0);
    input.push("1,1").push("1,13").pushCancel();
    EXPECT_EQ(MDist_cmd().Run(), RTERROR);
    EXPECT_EQ(totals(), std::vector<std::string>{"1.0000"});
}

TEST_F(TakeoffTest, AttManagerReturnsAtOnceAndLeavesTheDrawingAsItWas) {
    const ZcDbObjectId block = addDescriptionBlock(L"CountDescription", {{L"NUMBER", false}});
    addLabel(block, {{L"NUMBER", L"1"}});
    const std::string before = (suite / "before.dxf").string();
    const std::string after = (suite / "after.dxf").string();
    std::string error;
    ASSERT_TRUE(session.saveDrawing(before, error)) << error;
    input.push("dlg click 1");
    CommandHelp help(L"help.chm", L"attribute_manager", L"AttManager");
    AttManager_cmd command(nullptr, &help, L"AttManager");
    EXPECT_EQ(command.Run(), -1);
    EXPECT_EQ(input.pending(), 1u);
    EXPECT_EQ(session.functionHelp().count(L"C:ATTMANAGER"), 1u);
    ASSERT_TRUE(session.saveDrawing(after, error)) << error;
    std::stringstream a, b;
    a << std::ifstream(before).rdbuf();
    b << std::ifstream(after).rdbuf();
    EXPECT_EQ(a.str(), b.str());
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace gantrel
