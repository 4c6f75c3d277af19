// The sectioned settings container: reading lines, sections sharing a name, setting values,
// writing lines back, and reading a file.
#include "frame/Ini.h"

#include "frame_test_support.h"

#include <gmock/gmock.h>

#include <fstream>

using gantrel::INI;
using ::testing::ElementsAre;
using ::testing::Pair;

namespace {

INI Parsed(const std::vector<std::wstring>& lines) {
    INI ini;
    ini.Parse(lines);
    return ini;
}

TEST(IniParse, KeysValuesCommentsAndBlanks) {
    const INI ini = Parsed({L"Units=Feet", // before any section: ignored
                            L"[Drawing]", L"Units = Meters ; comment", L"\tPrecision\t=\t0.01\t",
                            L"Scale=",       // sets nothing
                            L"Template=a=b", // the second field is the value
                            L"=orphan",      // "=" first: ignored
                            L"no equals sign",
                            L"; [Hidden]",     // a comment, not a section
                            L"Empty= \t ",     // a blank value sets nothing
                            L"Twice==x",       // empty fields are skipped
                            L"__NAME=Renamed", // the reserved key is not taken
                            L"[Hatch] ; x", L"Scale=2", L"Scale=", L"Scale = ; gone"});
    ASSERT_EQ(ini.Sections().size(), 2u);
    EXPECT_THAT(ini.Sections()[0], ElementsAre(Pair(L"Precision", L"0.01"), Pair(L"Template", L"a"),
                                               Pair(L"Twice", L"x"), Pair(L"Units", L"Meters"),
                                               Pair(L"__NAME", L"Drawing")));
    EXPECT_THAT(ini.Sections()[1], ElementsAre(Pair(L"Scale", L"2"), Pair(L"__NAME", L"Hatch")));
}

TEST(IniParse, SectionHeaders) {
    const INI ini = Parsed({L"]a[", // "]" before "[": no header, and no section yet
                            L"x=0", L"[first]second]", L"x=1", L"text [inner] text", L"x=2", L"[]",
                            L"[open"}); // no "]": a plain line
    ASSERT_EQ(ini.Sections().size(), 3u);
    EXPECT_EQ(INI::NameOf(ini.Sections()[0]), L"first");
    EXPECT_EQ(INI::NameOf(ini.Sections()[1]), L"inner");
    EXPECT_EQ(ini.GetValue(L"inner", L"x"), L"2");
    EXPECT_EQ(INI::NameOf(ini.Sections()[2]), L"");
    EXPECT_EQ(ini.Sections()[2].size(), 1u);
}

TEST(IniSections, NamesMatchWithoutCaseAndMaySeveralSectionsShareOne) {
    INI ini = Parsed({L"[A]", L"x=1", L"[a]", L"x=2", L"[B]", L"X=3"});
    ASSERT_EQ(ini.Sections().size(), 3u);
    EXPECT_EQ(INI::NameOf(ini.Sections()[0]), L"A");
    EXPECT_EQ(INI::NameOf(ini.Sections()[1]), L"a");

    // The first section of the name answers; keys keep their case.
    EXPECT_EQ(ini.GetValue(L"a", L"x"), L"1");
    EXPECT_EQ(ini.GetValue(L"b", L"X"), L"3");
    EXPECT_EQ(ini.GetValue(L"b", L"x"), L"");
    EXPECT_EQ(ini.GetValue(L"C", L"x"), L"");

    // Setting a key sets it in every section of the name.
    ini.SetValue(L"A", L"y", L"3");
    EXPECT_EQ(ini.Sections()[0].at(L"y"), L"3");
    EXPECT_EQ(ini.Sections()[1].at(L"y"), L"3");
    EXPECT_FALSE(ini.Sections()[2].contains(L"y"));

    // An unknown section is appended; the reserved key cannot rename one.
    ini.SetValue(L"Hatch", L"Scale", L"5");
    ini.SetValue(L"B", L"__NAME", L"C");
    ASSERT_EQ(ini.Sections().size(), 4u);
    EXPECT_EQ(INI::NameOf(ini.Sections()[3]), L"Hatch");
    EXPECT_EQ(ini.GetValue(L"HATCH", L"Scale"), L"5");
    EXPECT_EQ(INI::NameOf(ini.Sections()[2]), L"B");

    // Selected sections are copies, in order.
    INI selected = ini.SelectSections(L"a");
    ASSERT_EQ(selected.Sections().size(), 2u);
    EXPECT_EQ(selected.Sections()[1].at(L"x"), L"2");
    selected.SetValue(L"A", L"x", L"changed");
    EXPECT_EQ(ini.GetValue(L"A", L"x"), L"1");
    EXPECT_TRUE(ini.SelectSections(L"none").Empty());
}

TEST(IniWrite, SectionsInOrderKeysInKeyOrderAndReadBackTheSame) {
    INI ini;
    ini.SetValue(L"Drawing", L"Units", L"Meters");
    ini.SetValue(L"Drawing", L"Precision", L"0.01");
    ini.SetValue(L"BackGround", L"Type", L"wipeout");
    ini.Parse({L"[drawing]", L"b=2", L"[Empty]"});
    const std::vector<std::wstring> lines = ini.Write();
    EXPECT_THAT(lines,
                ElementsAre(L"[Drawing]", L"Precision=0.01", L"Units=Meters", L"[BackGround]",
                            L"Type=wipeout", L"[drawing]", L"b=2", L"[Empty]"));
    const INI again = Parsed(lines);
    EXPECT_EQ(again.Sections(), ini.Sections());
    EXPECT_EQ(again.Write(), lines);
}

using IniFile = frametest::FrameTest;

TEST_F(IniFile, ReadsUtf8LinesAndLeavesTheSettingsAloneWhenTheFileIsMissing) {
    frametest::TempFolder folder;
    folder.write("Tallimo.ini", "\xEF\xBB\xBF; settings\r\n[Drawing]\r\nUnits=Meters\r\n"
                                "[ArealDescription]\r\nDescAttrName=OPIS_ŁĄKI\r\n");
    INI ini;
    ini.SetValue(L"Hatch", L"Scale", L"1");
    ASSERT_TRUE(gantrel::ReadIniFile(win::Widen(folder.file("Tallimo.ini")), ini));
    ASSERT_EQ(ini.Sections().size(), 3u);
    EXPECT_EQ(ini.GetValue(L"Drawing", L"Units"), L"Meters");
    EXPECT_EQ(ini.GetValue(L"ArealDescription", L"DescAttrName"), L"OPIS_ŁĄKI");

    const std::vector<INI::Section> before = ini.Sections();
    EXPECT_FALSE(gantrel::ReadIniFile(win::Widen(folder.file("absent.ini")), ini));
    EXPECT_EQ(ini.Sections(), before);
}

// The shipped settings and choice files: every section the settings editor shows, and the
// chosen unit is one of the offered units.
TEST_F(IniFile, ShippedSettingsHoldEverySectionAndAnOfferedUnit) {
    const std::string share = std::string(GANTREL_SOURCE_DIR) + "/share/";
    INI ini;
    ASSERT_TRUE(gantrel::ReadIniFile(win::Widen(share + "Tallimo.ini"), ini));
    for (const wchar_t* section : {L"Drawing", L"Hatch", L"ArealDescription", L"LinearDescription",
                                   L"CountDescription", L"BackGround"}) {
        EXPECT_EQ(ini.SelectSections(section).Sections().size(), 1u);
    }
    EXPECT_FALSE(ini.GetValue(L"ArealDescription", L"DescAttrName").empty());

    std::ifstream cfg(share + "Tallimo.cfg");
    ASSERT_TRUE(cfg);
    std::vector<std::wstring> units;
    bool inUnits = false;
    for (std::string line; std::getline(cfg, line);) {
        if (line == "</Units>") {
            inUnits = false;
        } else if (inUnits) {
            units.push_back(win::Widen(line));
        } else if (line == "<Units>") {
            inUnits = true;
        }
    }
    EXPECT_THAT(units, ::testing::Contains(ini.GetValue(L"Drawing", L"Units")));
}

} // namespace
