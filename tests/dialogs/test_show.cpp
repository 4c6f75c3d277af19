// `dlg show` prints what a user sees of a dialog with every kind of control.
#include "every_control.h"

#include <gtest/gtest.h>

using dialog_tests::EveryControlDialog;
using dialog_tests::ScriptedUser;

TEST(Show, EveryControlKindWithItsTextAndState) {
    ScriptedUser user({"dlg show"});
    EveryControlDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(user.Told().size(), 1u);
    // The hidden button 1010 is not shown; the in-place editor 99 is shown on the tree item it
    // covers.
    EXPECT_EQ(user.Told()[0],
              "dialog 9004 \"Every control\"\n"
              "  1      default button  \"OK\"  focus\n"
              "  2      push button     \"Cancel\"\n"
              "  1000   label           \"Name\"\n"
              "  1001   edit            \"Plate\"\n"
              "  1002   number edit     \"12\"  disabled\n"
              "  1003   check box       \"Rotate\"  checked\n"
              "  1004   combo box       \"cm\"\n"
              "          items: \"mm\", \"cm\"\n"
              "  1005   drop-down list  \"frame\"\n"
              "          items: \"none\", \"frame\", \"wipeout\"\n"
              "  1006   list\n"
              "          columns: \"Key\" | \"Value\"\n"
              "          row 0: \"Units\" | \"mm\"\n"
              "          row 1: \"Scale\" | \"1\"\n"
              "  1007   tree\n"
              "          [-] \"Blocks\"\n"
              "              [+] \"Door\"  selected  editing: edit 99 \"Door\"\n"
              "                  \"Window\"\n"
              "              \"Legend\"\n"
              "  1008   tab             \"Drawing\" | \"Hatch\"  selected \"Drawing\"\n"
              "  1009   slider          50  range 30..70");
}

TEST(Show, ChosenItemsAndSelectionsAreShown) {
    ScriptedUser user({"dlg choose 1007 Blocks/Door/WIDTH", "dlg choose 1006 Scale",
                       "dlg choose 1008 Hatch", "dlg key 1009 right", "dlg show"});
    EveryControlDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(user.Told().size(), 1u);
    const std::string show = user.Told()[0];
    for (const char* line :
         {"\n          row 1: \"Scale\" | \"1\"  selected\n",
          "\n              [-] \"Door\"  editing: edit 99 \"Door\"\n",
          "\n                  [+] \"WIDTH\"  selected\n", "  selected \"Hatch\"\n",
          "\n  1009   slider          51  range 30..70  focus"}) {
        EXPECT_NE(show.find(line), std::string::npos) << line << "\nin\n" << show;
    }
}
