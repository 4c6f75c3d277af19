// The effective takeoff settings: "Tallimo.ini" read with the INI rules, the drawing's entry
// merged over it key by key, loaded once until a save empties them, and saved back as the
// drawing's entry.
#include "TakeoffTest.h"

#include "takeoff/PrzedmiarStore.h"
#include "takeoff/TakeoffSettings.h"

#include "winhost.h"
#include "zcadstatus.h"

namespace gantrel {
namespace {

using Lines = std::vector<std::wstring>;

constexpr char kIni[] = "; suite settings\n"
                        "[Drawing]\n"
                        "Units = Meters ; reported in metres\n"
                        "Precision=0.01\n"
                        "[Hatch]\n"
                        "Pattern=ANSI31\n"
                        "Scale=1\n"
                        "Scale=\n"
                        "[ArealDescription] ; x\n"
                        "Template=AreaDescription.dwg\n"
                        "DescAttrName=DESCRIPTION\n"
                        "=orphan\n"
                        "[BackGround]\n"
                        "Type=wipeout\n";

class Settings : public TakeoffTest {
protected:
    std::string missingMessage() const {
        return "\n" + win::Narrow(suitePath("Tallimo.ini")) +
               "!  es: " + win::Narrow(zcadErrorStatusText(Zcad::eFileNotFound));
    }
};

TEST_F(Settings, TheIniFileIsReadWithCommentsHeadersAndEmptyValues) {
    writeSuiteFile("Tallimo.ini", kIni);
    const INI& settings = LoadSettings();
    EXPECT_EQ(settings.GetValue(L"drawing", L"Units"), L"Meters");
    EXPECT_EQ(settings.GetValue(L"Hatch", L"Scale"), L"1");
    EXPECT_EQ(settings.GetValue(L"ArealDescription", L"Template"), L"AreaDescription.dwg");
    EXPECT_EQ(settings.GetValue(L"ArealDescription", L"DescAttrName"), L"DESCRIPTION");
    EXPECT_EQ(settings.Sections().size(), 4u);
    EXPECT_EQ(settings.Sections()[2].size(), 3u); // name, Template, DescAttrName
    EXPECT_EQ(out, "");
}

TEST_F(Settings, AMissingIniIsReportedAtEveryLoadAttemptUntilOneFindsSettings) {
    EXPECT_TRUE(LoadSettings().Empty());
    EXPECT_TRUE(LoadSettings().Empty());
    EXPECT_EQ(out, missingMessage() + missingMessage());
    // A drawing entry alone is enough to end the retries.
    ASSERT_EQ(WritePrzedmiarEntry(&db(), kSettingsEntry, {L"[Hatch]", L"Scale=2"}), Zcad::eOk);
    out.clear();
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Scale"), L"2");
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Scale"), L"2");
    EXPECT_EQ(out, missingMessage());
}

TEST_F(Settings, TheDrawingEntryOverridesOnlyTheKeysItSets) {
    writeSuiteFile("Tallimo.ini", kIni);
    ASSERT_EQ(WritePrzedmiarEntry(&db(), kSettingsEntry,
                                  {L"[HATCH]", L"Scale=0.5", L"Scale=", L"[Extra]", L"Key=v"}),
              Zcad::eOk);
    const INI& settings = LoadSettings();
    EXPECT_EQ(settings.GetValue(L"Hatch", L"Scale"), L"0.5");
    EXPECT_EQ(settings.GetValue(L"Hatch", L"Pattern"), L"ANSI31");
    EXPECT_EQ(settings.GetValue(L"Drawing", L"Units"), L"Meters");
    EXPECT_EQ(settings.GetValue(L"BackGround", L"Type"), L"wipeout");
    EXPECT_EQ(settings.GetValue(L"Extra", L"Key"), L"v");
    // The file's own settings stay as the file has them.
    EXPECT_EQ(FileSettings().GetValue(L"Hatch", L"Scale"), L"1");
    EXPECT_EQ(FileSettings().GetValue(L"Extra", L"Key"), L"");
}

TEST_F(Settings, LoadedOnceUntilReset) {
    writeSuiteFile("Tallimo.ini", kIni);
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Scale"), L"1");
    ASSERT_EQ(WritePrzedmiarEntry(&db(), kSettingsEntry, {L"[Hatch]", L"Scale=3"}), Zcad::eOk);
    writeSuiteFile("Tallimo.ini", "[Drawing]\nUnits=Feet\n");
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Scale"), L"1");
    EXPECT_EQ(LoadSettings().GetValue(L"Drawing", L"Units"), L"Meters");
    ResetSettings();
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Scale"), L"3");
    EXPECT_EQ(LoadSettings().GetValue(L"Drawing", L"Units"), L"Feet");
}

TEST_F(Settings, SavingReplacesTheEntryResetsTheCompanionAndReloads) {
    writeSuiteFile("Tallimo.ini", kIni);
    ASSERT_EQ(WritePrzedmiarEntry(&db(), kSettingsEntry, {L"[Old]", L"Gone=1"}), Zcad::eOk);
    EXPECT_EQ(LoadSettings().GetValue(L"Old", L"Gone"), L"1");
    INI saved;
    saved.SetValue(L"Drawing", L"Units", L"Feet");
    saved.SetValue(L"Hatch", L"Scale", L"4");
    saved.SetValue(L"Hatch", L"Pattern", L"SOLID");
    SettingsSaver_DictionaryXData saver(&db());
    EXPECT_EQ(saver.Save(saved), Zcad::eOk);
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), kSettingsEntry),
              (Lines{L"[Drawing]", L"Units=Feet", L"[Hatch]", L"Pattern=SOLID", L"Scale=4"}));
    EXPECT_EQ(symbolWrites(),
              (std::vector<std::string>{"*DescBlockName*=nil", "*Tallimo:Settings*=nil"}));
    // Reloaded at once: the new entry over the file, the old entry's keys gone.
    const INI& settings = LoadSettings();
    EXPECT_EQ(settings.GetValue(L"Drawing", L"Units"), L"Feet");
    EXPECT_EQ(settings.GetValue(L"Drawing", L"Precision"), L"0.01");
    EXPECT_EQ(settings.GetValue(L"Old", L"Gone"), L"");
}

TEST_F(Settings, AFailedSaveIsReportedKeepsTheEntryAndStillResetsTheCompanion) {
    writeSuiteFile("Tallimo.ini", kIni);
    const Lines before = {L"[Hatch]", L"Scale=7"};
    ASSERT_EQ(WritePrzedmiarEntry(&db(), kSettingsEntry, before), Zcad::eOk);
    ZcDbObjectId store;
    ASSERT_EQ(PrzedmiarDictionary(&db(), store), Zcad::eOk);
    ZcDbObject* held = nullptr;
    ASSERT_EQ(zcdbOpenObject(held, store, ZcDb::kForWrite), Zcad::eOk);
    INI saved;
    saved.SetValue(L"Hatch", L"Scale", L"8");
    const int status = SettingsSaver_DictionaryXData(&db()).Save(saved);
    held->close();
    EXPECT_NE(status, Zcad::eOk);
    EXPECT_NE(out.find(std::string(" es: ") +
                       win::Narrow(zcadErrorStatusText(static_cast<Zcad::ErrorStatus>(status)))),
              std::string::npos)
        << out;
    EXPECT_EQ(ReadPrzedmiarEntry(&db(), kSettingsEntry), before);
    EXPECT_EQ(symbolWrites().size(), 2u);
}

TEST(LegacySettings, PositionsMapToTheirKeysAndShortListsSetLess) {
    Lines entries = {L"x0",   L"3.5",   L"SOLID", L"2",    L"Feet", L"x5",    L"C:\\t\\Desc.dwg",
                     L"NR",   L"DESC",  L"LEN",   L"LENU", L"AREA", L"AREAU", L"LOC",
                     L"EXPR", L"IDTAG", L"frame"};
    const INI all = LegacySettings(entries);
    for (const wchar_t* section :
         {L"ArealDescription", L"LinearDescription", L"CountDescription"}) {
        EXPECT_EQ(all.GetValue(section, L"Size"), L"3.5");
        EXPECT_EQ(all.GetValue(section, L"Template"), L"C:\\t\\Desc.dwg");
        EXPECT_EQ(all.GetValue(section, L"IDAttrName"), L"IDTAG");
        EXPECT_EQ(all.GetValue(section, L"ExpressionAttr"), L"EXPR");
    }
    EXPECT_EQ(all.GetValue(L"LinearDescription", L"LenAttrUnit"), L"LENU");
    EXPECT_EQ(all.GetValue(L"CountDescription", L"LenAttrName"), L"");
    EXPECT_EQ(all.GetValue(L"ArealDescription", L"AreaAttrUnit"), L"AREAU");
    EXPECT_EQ(all.GetValue(L"LinearDescription", L"AreaAttrName"), L"");
    EXPECT_EQ(all.GetValue(L"Hatch", L"Scale"), L"2");
    EXPECT_EQ(all.GetValue(L"Drawing", L"Units"), L"Feet");
    EXPECT_EQ(all.GetValue(L"BackGround", L"Type"), L"frame");
    for (const INI::Section& section : all.Sections()) {
        for (const auto& [key, value] : section) {
            EXPECT_NE(value, L"x0");
            EXPECT_NE(value, L"x5");
        }
    }
    // Entry k counts only when the list is longer than k; an empty entry sets nothing.
    entries.resize(4);
    entries[2] = L"";
    const INI short4 = LegacySettings(entries);
    EXPECT_EQ(short4.GetValue(L"Hatch", L"Scale"), L"2");
    EXPECT_EQ(short4.GetValue(L"Hatch", L"Pattern"), L"");
    EXPECT_EQ(short4.GetValue(L"Drawing", L"Units"), L"");
    EXPECT_TRUE(LegacySettings({L"x0"}).Empty());
}

TEST_F(Settings, ALegacyEntryCountsOnlyInADrawingWithoutTheCurrentOne) {
    writeSuiteFile("Tallimo.ini", kIni);
    ASSERT_EQ(
        WritePrzedmiarEntry(&db(), kLegacySettingsEntry, {L"", L"", L"", L"9", L"Centimeters"}),
        Zcad::eOk);
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Scale"), L"9");
    EXPECT_EQ(LoadSettings().GetValue(L"Drawing", L"Units"), L"Centimeters");
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Pattern"), L"ANSI31");
    ResetSettings();
    ASSERT_EQ(WritePrzedmiarEntry(&db(), kSettingsEntry, {L"[Hatch]", L"Pattern=EARTH"}),
              Zcad::eOk);
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Scale"), L"1");
    EXPECT_EQ(LoadSettings().GetValue(L"Drawing", L"Units"), L"Meters");
    EXPECT_EQ(LoadSettings().GetValue(L"Hatch", L"Pattern"), L"EARTH");
}

} // namespace
} // namespace gantrel
