// The suite's "Tallimo.cfg" blocks, template files, the unit names with the host's conversion,
// and the drawing's "Przedmiar" store.
//
// The store's invariants: one dictionary "Przedmiar" under the named-objects dictionary; each
// entry is the extended data of one registered application on that dictionary; writing an entry
// replaces it whole and leaves every other entry as it was.
#include "TakeoffTest.h"

#include "takeoff/PrzedmiarStore.h"
#include "takeoff/TakeoffFiles.h"
#include "takeoff/UnitNames.h"

#include <cmath>

#include "winhost.h"
#include "zcutil.h"

namespace gantrel {
namespace {

using Lines = std::vector<std::wstring>;

TEST(CfgBlock, MarkersAreWholeLinesInAnyCaseAndAMissingEndRunsToTheEnd) {
    const Lines file = {L"<units>", L"Meters",    L" <Hatches>", L"</UNITS>",    L"<Hatches>",
                        L"SOLID",   L"  ANSI31 ", L"",           L"</Hatches> ", L"EARTH"};
    // " <Hatches>" is no marker; the content keeps its blanks.
    EXPECT_EQ(CfgBlock(file, L"Units"), (Lines{L"Meters", L" <Hatches>"}));
    // "</Hatches> " is no end marker: the block runs to the end of the file.
    EXPECT_EQ(CfgBlock(file, L"Hatches"),
              (Lines{L"SOLID", L"  ANSI31 ", L"", L"</Hatches> ", L"EARTH"}));
    EXPECT_EQ(CfgBlock(file, L"DESCRIPTION"), Lines{});
    // The first opening marker counts; an empty block is empty.
    EXPECT_EQ(CfgBlock({L"<A>", L"</A>", L"<A>", L"x", L"</A>"}, L"a"), Lines{});
}

TEST_F(TakeoffTest, CfgBlocksComeFromTheSuiteFolderAndAMissingFileHasNone) {
    EXPECT_EQ(ReadCfgBlock(L"Units"), Lines{});
    writeSuiteFile("Tallimo.cfg", "\xEF\xBB\xBF<Units>\r\nMeters\r\nFeet\r\n</Units>\r\n"
                                  "<LOCATION>\r\nPi\xC4\x99tro 1\r\n");
    EXPECT_EQ(ReadCfgBlock(L"units"), (Lines{L"Meters", L"Feet"}));
    EXPECT_EQ(ReadCfgBlock(L"LOCATION"), (Lines{L"Pi\x0119tro 1"}));
}

TEST_F(TakeoffTest, TemplatesNamingADwgAreReadFromTheDxfBesideIt) {
    EXPECT_EQ(TemplateBlockName(L"C:\\blocks\\Area.Description.dwg"), L"Area.Description");
    EXPECT_EQ(TemplateBlockName(L"/srv/blocks/CountDescription"), L"CountDescription");

    writeSuiteFile("Area.dxf", "0\nEOF\n");
    writeSuiteFile("Both.dwg", "0\nEOF\n");
    writeSuiteFile("Both.dxf", "0\nEOF\n");
    EXPECT_EQ(ResolveTemplateFile(suitePath("Area.dwg")), suitePath("Area.dxf"));
    EXPECT_EQ(ResolveTemplateFile(suitePath("Area.DWG")), suitePath("Area.dxf"));
    EXPECT_EQ(ResolveTemplateFile(suitePath("Both.dwg")), suitePath("Both.dwg"));
    EXPECT_EQ(ResolveTemplateFile(suitePath("Area.dxf")), suitePath("Area.dxf"));
    EXPECT_EQ(ResolveTemplateFile(suitePath("Missing.dwg")), L"");
    EXPECT_EQ(ResolveTemplateFile(suitePath("Area.txt")), L"");
    EXPECT_EQ(ResolveTemplateFile(L""), L"");
}

TEST(UnitNames, EveryInsunitsValueHasANameTheHostConverts) {
    ASSERT_EQ(UnitNames().size(), 21u);
    EXPECT_EQ(UnitName(4), L"Millimeters");
    EXPECT_EQ(UnitName(18), L"Astronomical Units");
    EXPECT_EQ(UnitName(21), L"");
    EXPECT_EQ(UnitName(-1), L"");
    double factor = 0.0;
    // "No units" converts to nothing and leaves the result alone.
    EXPECT_EQ(zcutCvUnit(1.0, L"No units", L"Meters", &factor), RTERROR);
    EXPECT_EQ(factor, 0.0);
    for (int units = 1; units <= 20; ++units) {
        const std::wstring name = UnitName(units);
        double there = 0.0, back = 0.0;
        ASSERT_EQ(zcutCvUnit(1.0, name.c_str(), L"Meters", &there), RTNORM) << units;
        ASSERT_EQ(zcutCvUnit(there, L"Meters", name.c_str(), &back), RTNORM) << units;
        EXPECT_NEAR(back, 1.0, 1e-12) << units;
    }
    ASSERT_EQ(zcutCvUnit(1.0, L"Millimeters", L"Meters", &factor), RTNORM);
    EXPECT_DOUBLE_EQ(factor, 0.001);
    ASSERT_EQ(zcutCvUnit(2.0, L"Yards", L"Feet", &factor), RTNORM);
    EXPECT_DOUBLE_EQ(factor, 6.0);
    ASSERT_EQ(zcutCvUnit(1.0, L"Light Years", L"Kilometers", &factor), RTNORM);
    EXPECT_DOUBLE_EQ(factor, 9460730472580.8);
}

class PrzedmiarStoreTest : public TakeoffTest {
protected:
    ZcDbObjectId storeId() {
        ZcDbObjectId id;
        EXPECT_EQ(PrzedmiarDictionary(&db(), id), Zcad::eOk);
        return id;
    }
    void setRawXData(resbuf* chain) {
        ZcDbObject* store = nullptr;
        ASSERT_EQ(zcdbOpenObject(store, storeId(), ZcDb::kForWrite), Zcad::eOk);
        EXPECT_EQ(store->setXData(chain), Zcad::eOk);
        store->close();
        zcutRelRb(chain);
    }
};

TEST_F(PrzedmiarStoreTest, TheDictionaryIsMadeOnceOnFirstAccess) {
    ZcDbDictionary* named = nullptr;
    ASSERT_EQ(db().getNamedObjectsDictionary(named, ZcDb::kForRead), Zcad::eOk);
    const bool before = named->has(kPrzedmiarDictionary);
    named->close();
    EXPECT_FALSE(before);
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), L"DESCRIPTION"), Lines{});
    const ZcDbObjectId first = storeId();
    EXPECT_FALSE(first.isNull());
    EXPECT_EQ(storeId(), first);
    ZcDbDictionary* store = nullptr;
    ASSERT_EQ(zcdbOpenObject(store, first, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(store->numEntries(), 0u);
    store->close();
}

TEST_F(PrzedmiarStoreTest, WritingRegistersTheNameAndReplacesOnlyThatEntry) {
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"LOCATION", {L"Roof", L"Basement", L"Roof"}), Zcad::eOk);
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"DESCRIPTION", {L"Brick wall"}), Zcad::eOk);
    ZcDbRegAppTable* apps = nullptr;
    ASSERT_EQ(db().getRegAppTable(apps, ZcDb::kForRead), Zcad::eOk);
    EXPECT_TRUE(apps->has(L"LOCATION"));
    EXPECT_TRUE(apps->has(L"DESCRIPTION"));
    apps->close();

    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"LOCATION", {L"Attic"}), Zcad::eOk);
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), L"LOCATION"), Lines{L"Attic"});
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), L"DESCRIPTION"), Lines{L"Brick wall"});
    // Every record is a string record after the name.
    resbuf* chain = nullptr;
    {
        ZcDbObject* store = nullptr;
        ASSERT_EQ(zcdbOpenObject(store, storeId(), ZcDb::kForRead), Zcad::eOk);
        chain = store->xData(L"LOCATION");
        store->close();
    }
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(chain->restype, 1001);
    ASSERT_NE(chain->rbnext, nullptr);
    EXPECT_EQ(chain->rbnext->restype, 1000);
    EXPECT_EQ(chain->rbnext->rbnext, nullptr);
    zcutRelRb(chain);

    // An empty list leaves no entry.
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"LOCATION", {}), Zcad::eOk);
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), L"LOCATION"), Lines{});
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), L"DESCRIPTION"), Lines{L"Brick wall"});
}

TEST_F(PrzedmiarStoreTest, RecordsOfEveryKindReadAsText) {
    ASSERT_EQ(zcdbRegApp(&db(), L"MIXED"), Zcad::eOk);
    const zds_real point[3] = {1.5, -2.0, 3.0};
    setRawXData(zcutBuildList(1001, L"MIXED", 1000, L"text", 1002, L"{", 1003, L"0", 1005, L"1F",
                              1010, point, 1011, point, 1040, 2.0 / 3.0, 1041, -7.25, 1042, 1e20,
                              1070, -12, 1071, std::int32_t{70000}, 1002, L"}", 0));
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), L"MIXED"),
              (Lines{L"text", L"{", L"0", L"1F", L"1.500000", L"1.500000", L"0.666667",
                     L"-7.250000", L"100000000000000000000.000000", L"-12", L"", L"}"}));
    // The largest real still reads whole.
    setRawXData(zcutBuildList(1001, L"MIXED", 1040, 1.7976931348623157e308, 0));
    const Lines huge = ReadPrzedmiarEntry(&db(), L"MIXED");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].size(), 309u + 7u);
    EXPECT_EQ(huge[0].substr(huge[0].size() - 7), L".000000");
}

TEST_F(PrzedmiarStoreTest, EntriesSurviveSavingAndReopeningTheDrawing) {
    const Lines settings = {L"[Hatch]", L"Scale=0.5", L"[Drawing]", L"Units=Centimeters"};
    const Lines values = {L"Brick wall", L"Wall; \"east\" = 1", L"Pi\x0119tro"};
    ASSERT_EQ(WritePrzedmiarEntry(&db(), kSettingsEntry, settings), Zcad::eOk);
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"DESCRIPTION", values), Zcad::eOk);
    const std::string path = (suite / "saved.dxf").string();
    std::string error;
    ASSERT_TRUE(session.saveDrawing(path, error)) << error;
    ASSERT_TRUE(session.openDrawing(path, error)) << error;
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), kSettingsEntry), settings);
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), L"DESCRIPTION"), values);
}

} // namespace
} // namespace gantrel
