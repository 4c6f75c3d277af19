// The editor calls that keep state: variables, printing, units, host commands, LISP, the
// progress meter, coordinate systems, files and help.
#include <cmath>

#include "drawing_fixture.h"
#include "zcdbhost.h"
#include "zced.h"
#include "zcutil.h"

namespace {
class HostCallTest : public SessionTest {};
} // namespace

TEST_F(HostCallTest, VariablesHaveHostTypesAndDrawingOnesLiveInTheHeader) {
    resbuf rb{};
    ASSERT_EQ(zcedGetVar(L"PICKSTYLE", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTSHORT);
    ASSERT_EQ(zcedGetVar(L"dimscale", &rb), RTNORM);
    EXPECT_EQ(rb.restype, RTREAL);
    EXPECT_EQ(rb.resval.rreal, 1.0);
    EXPECT_EQ(zcedGetVar(L"NOSUCHVAR", &rb), RTERROR);

    resbuf value{};
    value.restype = RTSHORT;
    value.resval.rint = 0;
    EXPECT_EQ(zcedSetVar(L"PICKSTYLE", &value), RTNORM);
    ASSERT_EQ(zcedGetVar(L"PICKSTYLE", &rb), RTNORM);
    EXPECT_EQ(rb.resval.rint, 0);
    value.resval.rint = 5; // MILLIMETERS 4 -> METERS 6 via 5 (centimeters)
    EXPECT_EQ(zcedSetVar(L"INSUNITS", &value), RTNORM);
    EXPECT_EQ(session.database()->insunits(), 5);
    value.restype = RTREAL;
    value.resval.rreal = 0.5;
    EXPECT_EQ(zcedSetVar(L"INSUNITS", &value), RTERROR); // not an integer
    EXPECT_EQ(zcedSetVar(L"DIMASZ", &value), RTNORM);
    EXPECT_EQ(session.database()->dimasz(), 0.5);
    value.restype = RTSTR;
    value.resval.rstring = const_cast<wchar_t*>(L"x");
    EXPECT_EQ(zcedSetVar(L"DIMASZ", &value), RTERROR);
    EXPECT_EQ(zcedSetVar(L"DWGNAME", &value), RTERROR); // read-only
}

TEST_F(HostCallTest, PrintfFollowsTheHostConventions) {
    zcutPrintf(L"[%s|%5s|%-4s|%c|%hs]", L"\u017c\u00f3\u0142w", L"ab", L"x", L'\u00e9', "n");
    zcutPrintf(L"[%d|%05.1f|%x|%I64d|%%|%g]", -7, 3.14159, 255, static_cast<long long>(1) << 40,
               0.1);
    EXPECT_EQ(out, "[\u017c\u00f3\u0142w|   ab|x   |\u00e9|n][-7|003.1|ff|1099511627776|%|0.1]");
}

TEST_F(HostCallTest, UnitConversionCoversTheInsunitsNames) {
    double r = 0;
    EXPECT_EQ(zcutCvUnit(1, L"inch", L"millimeters", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 25.4);
    EXPECT_EQ(zcutCvUnit(3, L"Feet", L"YARD", &r), RTNORM);
    EXPECT_DOUBLE_EQ(r, 1);
    EXPECT_EQ(zcutCvUnit(1, L"US Survey Mile", L"kilometre", &r), RTNORM);
    EXPECT_NEAR(r, 1.609347218694, 1e-12);
    EXPECT_EQ(zcutCvUnit(1, L"parsec", L"light years", &r), RTNORM);
    EXPECT_NEAR(r, 3.26156, 1e-5);
    EXPECT_EQ(zcutCvUnit(1, L"unitless", L"meter", &r), RTERROR);
    EXPECT_EQ(zcutCvUnit(1, L"degree", L"radian", &r), RTERROR);
}

TEST_F(HostCallTest, RegenIsCountedAndEchoFollowsCmdecho) {
    int refreshed = 0;
    session.onRegen = [&] { ++refreshed; };
    EXPECT_EQ(zcedCommand(RTSTR, L"_REGEN", RTNONE), RTNORM);
    EXPECT_TRUE(transcriptHas("Command: _REGEN"));
    resbuf quiet{};
    quiet.restype = RTSHORT;
    quiet.resval.rint = 0;
    ASSERT_EQ(zcedSetVar(L"CMDECHO", &quiet), RTNORM);
    out.clear();
    EXPECT_EQ(zcedCommand(RTSTR, L"regen", RTNONE), RTNORM);
    EXPECT_EQ(out, "");
    EXPECT_EQ(session.regenCount(), 2);
    EXPECT_EQ(refreshed, 2);
    EXPECT_EQ(zcedCommand(RTSTR, L"_NOSUCH", RTNONE), RTERROR);
    EXPECT_TRUE(transcriptHas("Unknown command \"_NOSUCH\"."));
}

TEST_F(HostCallTest, CommandArgumentsAnswerTheCommandsPrompts) {
    session.commands().addCommand(L"T", L"TwoPoints", L"TwoPoints", 0, [] {
        zds_point a, b;
        int ra = zcedGetPoint(nullptr, L"\nA: ", a);
        int rb = zcedGetPoint(nullptr, L"\nB: ", b);
        zcutPrintf(L"\n%d %g,%g %d %g,%g", ra, a[0], a[1], rb, b[0], b[1]);
    });
    zds_point p = {1.5, 2, 0};
    input.push("7,8");
    EXPECT_EQ(zcedCommand(RTSTR, L"TwoPoints", RT3DPOINT, p, RTNONE), RTNORM);
    EXPECT_TRUE(transcriptHas("\n5100 1.5,2 5100 7,8")) << out;
}

TEST_F(HostCallTest, LispSymbolsAndQueuedExpressionsAreKept) {
    resbuf* value = zcutBuildList(RTSTR, L"abc", RTREAL, 2.5, 0);
    EXPECT_EQ(zcedPutSym(L"myVar", value), RTNORM);
    zcutRelRb(value);
    resbuf* got = nullptr;
    ASSERT_EQ(zcedGetSym(L"MYVAR", &got), RTNORM);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(std::wstring(got->resval.rstring), L"abc");
    ASSERT_NE(got->rbnext, nullptr);
    EXPECT_EQ(got->rbnext->resval.rreal, 2.5);
    zcutRelRb(got);
    EXPECT_EQ(zcedPutSym(L"myVar", nullptr), RTNORM);
    ASSERT_EQ(zcedGetSym(L"myVar", &got), RTNORM);
    EXPECT_EQ(got->restype, RTNIL);
    zcutRelRb(got);
    zds_queueexpr(L"(load \"a\")");
    zds_queueexpr(L"(command \"_netload\" \"b\")");
    EXPECT_EQ(session.queuedExpressions(),
              (std::vector<std::wstring>{L"(load \"a\")", L"(command \"_netload\" \"b\")"}));
}

TEST_F(HostCallTest, ProgressMeterStateIsReadable) {
    EXPECT_EQ(zcedSetStatusBarProgressMeterPos(3), -1); // no meter yet
    EXPECT_EQ(zcedSetStatusBarProgressMeter(L"Nesting", 0, 200), 0);
    EXPECT_EQ(zcedSetStatusBarProgressMeterPos(50), 0);
    EXPECT_TRUE(session.progress().active);
    EXPECT_EQ(session.progress().label, L"Nesting");
    EXPECT_EQ(session.progress().pos, 50);
    EXPECT_EQ(zcedSetStatusBarProgressMeterPos(500), 0);
    EXPECT_EQ(session.progress().pos, 200);
    zcedRestoreStatusBar();
    EXPECT_FALSE(session.progress().active);
    EXPECT_EQ(session.progress().restores, 1);
    EXPECT_EQ(out, ""); // the meter never writes to the transcript
}

TEST_F(HostCallTest, NamesHandlesTransformsFilesAndHelp) {
    zds_name name;
    std::string handle = handleOf(drawing.circle).substr(1);
    ASSERT_EQ(zcdbHandEnt(std::wstring(handle.begin(), handle.end()).c_str(), name), RTNORM);
    EXPECT_EQ(idOf(name), drawing.circle);
    EXPECT_EQ(zcdbHandEnt(L"FFFFF", name), RTERROR);
    EXPECT_EQ(name[0], 0);
    ZcDbObjectId id;
    EXPECT_NE(zcdbGetObjectId(id, name), Zcad::eOk);
    // A name from a drawing that was replaced finds nothing.
    ASSERT_EQ(zcdbGetZdsName(name, drawing.line), Zcad::eOk);
    session.adoptDrawing(std::make_unique<ZcDbDatabase>(), "other.dwg");
    EXPECT_NE(zcdbGetObjectId(id, name), Zcad::eOk);
    EXPECT_EQ(zcdbHostApplicationServices()->workingDatabase(), session.database());

    zds_point p = {1, 2, 3}, q;
    resbuf world{}, user{};
    world.restype = user.restype = RTSHORT;
    user.resval.rint = 1;
    EXPECT_EQ(zcedTrans(p, &world, &user, 0, q), RTNORM);
    EXPECT_EQ(q[2], 3);
    user.resval.rint = 7;
    EXPECT_EQ(zcedTrans(p, &world, &user, 0, q), RTERROR);

    wchar_t found[260];
    std::wstring source = L"" GANTREL_SOURCE_DIR;
    EXPECT_EQ(zcedFindFile((source + L"\\CMakeLists.txt").c_str(), found), RTNORM);
    EXPECT_EQ(std::wstring(found), source + L"/CMakeLists.txt");
    EXPECT_EQ(zcedFindFile(L"no-such-file.cfg", found), RTERROR);
    EXPECT_EQ(zcedFindFile((source + L"/CMakeLists.txt").c_str(), found, 5), RTERROR);

    EXPECT_EQ(zcedSetFunHelp(L"C:Plaxen", L"Gantrel.chm", L"nesting", 0), RTNORM);
    EXPECT_EQ(session.functionHelp().at(L"C:PLAXEN").topic, L"nesting");
}
