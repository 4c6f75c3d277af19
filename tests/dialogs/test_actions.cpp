// User actions on a dialog with every kind of control: choosing items sends the notifications a
// mouse would, and actions a user could not do are refused while the dialog stays open.
#include "every_control.h"

#include <gtest/gtest.h>

using dialog_tests::EveryControlDialog;
using dialog_tests::ScriptedUser;

TEST(Actions, ChoosingItemsNotifiesTheDialogAndIsReadOnOk) {
    ScriptedUser user({"dlg choose 1007 Blocks/Door/WIDTH/900", "dlg choose 1006 Scale",
                       "dlg choose 1008 Hatch", "dlg choose 1005 wipeout", "dlg set 1004 inch",
                       "dlg click 1003", "dlg key 1006 up", "dlg click 1"});
    EveryControlDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(user.Told().empty());
    EXPECT_EQ(dialog.notifications,
              (std::vector<std::string>{
                  "1007 tree expanded", "1007 tree expanded", "1007 tree selection", "1007 click",
                  "1006 list item changed", "1006 click", "1008 tab changing", "1008 tab changed",
                  "1005 combo selection",
                  // Up in the list moves the selection from "Scale" to "Units".
                  "1006 list item changed", "1006 list item changed", "1006 click"}));
    EXPECT_EQ(dialog.treeSelection, L"900");
    EXPECT_EQ(dialog.listSelection, 0);
    EXPECT_EQ(dialog.tabCaption, L"Hatch");
    EXPECT_EQ(dialog.dropListText, L"wipeout");
    EXPECT_EQ(dialog.dropDownText, L"inch");
    EXPECT_EQ(dialog.check, BST_UNCHECKED);
}

TEST(Actions, RefusedActionsLeaveTheDialogOpen) {
    ScriptedUser user({"dlg click 4242", "dlg set 1002 5", "dlg click 1010", "dlg set 1000 x",
                       "dlg set 1005 frame", "dlg slide 1001 3", "dlg choose 1001 x",
                       "dlg choose 1006 Nope", "dlg choose 1007 Blocks/Nope",
                       "dlg choose 1007 Door", "dlg click 1000", "dlg set 99 Doors",
                       "dlg choose 1005 wipeout", "dlg click 1"});
    EveryControlDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(user.Told(), (std::vector<std::string>{
                               "dlg: no control 4242 in dialog 9004",
                               "dlg: control 1002 is disabled",
                               "dlg: control 1010 is hidden",
                               "dlg: control 1000 takes no typing",
                               "dlg: control 1005 is a drop-down list; choose one of its items",
                               "dlg: control 1001 is not a slider",
                               "dlg: control 1001 has no items to choose from",
                               "dlg: control 1006 has no item \"Nope\"",
                               "dlg: control 1007 has no item \"Blocks/Nope\"",
                               "dlg: control 1007 has no item \"Door\"",
                               "dlg: control 1000 is a label; clicking it does nothing",
                           }));
    // Still open after every refusal: the later actions took effect.
    EXPECT_EQ(dialog.dropListText, L"wipeout");
}

TEST(Actions, GridCanRefuseColumnResizing) {
    dialogs::ActionQueue user;
    dialogs::DialogAction drag;
    drag.kind = dialogs::DialogAction::Kind::ResizeColumn;
    drag.control = 1006;
    drag.column = 0;
    drag.number = 250;
    user.Push(drag);
    user.PushLine("dlg click 1");
    user.Close();
    dialogs::SetThreadDialogOperator(&user);
    EveryControlDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    dialogs::SetThreadDialogOperator(nullptr);
    EXPECT_EQ(user.Told(),
              std::vector<std::string>{"dlg: column 0 of control 1006 cannot be resized"});
    EXPECT_EQ(dialog.firstColumnWidth, 100);
}

TEST(Actions, DialogLinesParseOrSayWhatIsWrong) {
    std::string error;
    auto set = dialogs::ParseDialogLine("  DLG Set 1003   two  words ", error);
    ASSERT_TRUE(set);
    EXPECT_EQ(set->kind, dialogs::DialogAction::Kind::Set);
    EXPECT_EQ(set->control, 1003);
    EXPECT_EQ(set->text, L"  two  words"); // what follows the one blank after the identifier
    auto key = dialogs::ParseDialogLine("dlg key 7 F1", error);
    ASSERT_TRUE(key);
    EXPECT_EQ(key->key, VK_F1);
    auto choose = dialogs::ParseDialogLine("dlg choose 59204 Blok/ATR 1/wartość", error);
    ASSERT_TRUE(choose);
    EXPECT_EQ(choose->text, L"Blok/ATR 1/warto\u015B\u0107");
    EXPECT_TRUE(dialogs::IsDialogLine(" dlg show"));
    EXPECT_FALSE(dialogs::IsDialogLine("dialog show"));

    const std::vector<std::pair<std::string, std::string>> bad = {
        {"dlg", "dlg: an action is missing (set, click, key, slide, choose, show)"},
        {"dlg press 1", "dlg: unknown action \"press\" (set, click, key, slide, choose, show)"},
        {"dlg click", "dlg: click needs a control identifier"},
        {"dlg click OK", "dlg: click needs a control identifier, not \"OK\""},
        {"dlg click 1 2", "dlg: click takes only a control identifier"},
        {"dlg key 1 space",
         "dlg: unknown key \"space\" (enter, esc, tab, left, right, up, down, delete, f1)"},
        {"dlg slide 1023 fifty", "dlg: slide needs a whole-number position"},
        {"dlg choose 1006", "dlg: choose needs the text of an item"},
        {"dlg show all", "dlg: show takes nothing after it"},
    };
    for (const auto& [line, message] : bad) {
        error.clear();
        EXPECT_FALSE(dialogs::ParseDialogLine(line, error)) << line;
        EXPECT_EQ(error, message) << line;
    }
    EXPECT_THROW(dialogs::ActionQueue({"dlg click"}), std::invalid_argument);
}

TEST(Actions, ScriptLinesOperateTheDialogUntilTheyRunOut) {
    std::vector<std::string> lines = {"; choose the background",
                                      "",
                                      "dlg choose 1005 wipeout",
                                      "Plaxen",
                                      "dlg click",
                                      "dlg show"};
    size_t next = 0;
    std::vector<std::string> transcript;
    dialogs::LineOperator script(
        [&]() -> std::optional<std::string> {
            return next < lines.size() ? std::optional(lines[next++]) : std::nullopt;
        },
        [&](const std::string& text) { transcript.push_back(text); });
    dialogs::SetThreadDialogOperator(&script);
    EveryControlDialog dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL); // the lines ran out: cancelled
    dialogs::SetThreadDialogOperator(nullptr);
    ASSERT_EQ(transcript.size(), 3u);
    EXPECT_EQ(transcript[0],
              "dlg: dialog 9004 is open and takes only dlg lines; skipped \"Plaxen\"");
    EXPECT_EQ(transcript[1], "dlg: click needs a control identifier");
    EXPECT_NE(transcript[2].find("  1005   drop-down list  \"wipeout\""), std::string::npos);
    EXPECT_EQ(dialog.notifications, std::vector<std::string>{"1005 combo selection"});
}
