// The help map "help.cfg": how lines become entries in the drawing tools' map (fields as read)
// and in the dialog map (fields trimmed), the look-up of a missing name, and the map read from
// the suite folder.
#include "frame/HelpMap.h"

#include "frame_test_support.h"

#include <gmock/gmock.h>

#include <fstream>

using gantrel::HelpMap;
using gantrel::LookUpHelpTopic;
using gantrel::ParseHelpMap;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

namespace {

TEST(HelpMapLines, TwoFieldsSeparatedByTabsMakeAnEntry) {
    const HelpMap map = ParseHelpMap({L"AddToBlock\tblocks_add",
                                      L"Kraty\t\t\tgrid",         // a run of tabs is one separator
                                      L"\tQuickBlock\tquick\t",   // empty fields are dropped
                                      L"T_LZS\tpoints\textra",    // three fields: ignored
                                      L"RemoveFromBlock",         // one field: ignored
                                      L"",                        // nothing
                                      L"Gantrel gantrel_main",    // a blank is no separator
                                      L"addtoblock\tlower_case"}, // a key of its own
                                     false);
    EXPECT_THAT(map, UnorderedElementsAre(Pair(L"AddToBlock", L"blocks_add"),
                                          Pair(L"Kraty", L"grid"), Pair(L"QuickBlock", L"quick"),
                                          Pair(L"addtoblock", L"lower_case")));
}

TEST(HelpMapLines, ALaterLineReplacesTheTopic) {
    const HelpMap map =
        ParseHelpMap({L"Plaxen\tfirst", L"Plaxen\tsecond", L"Plaxen\tthird\tignored"}, false);
    EXPECT_THAT(map, UnorderedElementsAre(Pair(L"Plaxen", L"second")));
}

TEST(HelpMapLines, TheDialogMapTrimsFieldsTheToolsMapKeepsThem) {
    const std::vector<std::wstring> lines = {L" Settings_dlg \t nest_settings \n",
                                             L"Plaxen\t \tplaxen_topic"};
    // As read: blanks stay, and the blank middle field makes the second line three fields.
    EXPECT_THAT(ParseHelpMap(lines, false),
                UnorderedElementsAre(Pair(L" Settings_dlg ", L" nest_settings \n")));
    // Trimmed: the blank field becomes empty and is dropped.
    EXPECT_THAT(ParseHelpMap(lines, true),
                UnorderedElementsAre(Pair(L"Settings_dlg", L"nest_settings"),
                                     Pair(L"Plaxen", L"plaxen_topic")));
}

using HelpLookUp = frametest::FrameTest;

TEST_F(HelpLookUp, AMissingNamePrintsItsNameAndTheKeyNotFoundText) {
    const HelpMap map = ParseHelpMap({L"AddToBlock\tblocks_add"}, false);
    EXPECT_EQ(LookUpHelpTopic(map, L"AddToBlock"), L"blocks_add");
    EXPECT_EQ(out, "");
    EXPECT_EQ(LookUpHelpTopic(map, L"addtoblock"), L"");
    EXPECT_EQ(out, "addtoblock:  es: eKeyNotFound");
}

TEST_F(HelpLookUp, MapsAreReadFromTheSuiteFolder) {
    frametest::TempFolder suite;
    // Saved with a byte-order mark, as editors on the platform do.
    suite.write("help.cfg", "\xEF\xBB\xBFKraty\tgrid\r\n"
                            " Settings_dlg\tnest_settings \r\n"
                            "Plaxen\tplaxen\n");
    UseSuiteFolder(suite.path());
    gantrel::RefreshToolsHelpMap();
    EXPECT_THAT(gantrel::ToolsHelpMap(),
                UnorderedElementsAre(Pair(L"Kraty", L"grid"),
                                     Pair(L" Settings_dlg", L"nest_settings "),
                                     Pair(L"Plaxen", L"plaxen")));
    EXPECT_EQ(LookUpHelpTopic(gantrel::DialogHelpMap(), L"Settings_dlg"), L"nest_settings");
    EXPECT_EQ(out, "");

    // The tools map follows the file at each refresh; without a suite folder it is empty and
    // the missing folder is reported.
    win::ClearRegistry();
    gantrel::RefreshToolsHelpMap();
    EXPECT_TRUE(gantrel::ToolsHelpMap().empty());
    EXPECT_EQ(out, "Tools_App es: eFileSystemErr");
}

// The shipped map has a topic for every command and for the nesting settings dialog.
TEST(ShippedHelpMap, HasATopicForEveryCommand) {
    std::ifstream file(std::string(GANTREL_SOURCE_DIR) + "/share/help.cfg");
    ASSERT_TRUE(file);
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(file, line);) {
        lines.emplace_back(line.begin(), line.end());
    }
    for (const bool trim : {false, true}) {
        const HelpMap map = ParseHelpMap(lines, trim);
        for (const wchar_t* name :
             {L"T_LZS", L"T_SumSubPoly", L"T_PtExport", L"Kraty", L"QuickBlock", L"AddToBlock",
              L"RemoveFromBlock", L"AttManager", L"Gantrel", L"Gantrel_Update", L"Plaxen",
              L"Plaxen:Settings", L"Tallimo:MDist", L"Tallimo:Attributes", L"Tallimo:Settings",
              L"Settings_dlg"}) {
            EXPECT_TRUE(map.contains(name)) << std::string(name, name + wcslen(name));
        }
    }
}

} // namespace
