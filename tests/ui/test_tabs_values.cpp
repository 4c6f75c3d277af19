// Tab pages, and the value classes over strings and drawing objects.
#include "ui_test_support.h"

#include "ui/UI_DbValues.h"
#include "ui/UI_Values.h"
#include "zcdbhost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace gantrel;
using ui_tests::ControlsDialog;

namespace {

TEST(Tabs, TheFirstPageShowsAndLaterOnesWaitForTheirTab) {
    ControlsDialog dialog;
    Tabs& tabs = dialog.tabs;
    for (const wchar_t* caption : {L"Drawing", L"Hatch", L"Background"}) {
        auto* page = new Tab(ui_tests::kPageId);
        ASSERT_TRUE(page->CreatePage(&tabs));
        tabs.AddPage(page, caption);
    }
    EXPECT_EQ(tabs.ShownPage(), 0);
    EXPECT_TRUE(tabs.Page(0)->IsWindowVisible());
    EXPECT_FALSE(tabs.Page(1)->IsWindowVisible());
    EXPECT_FALSE(tabs.Page(2)->IsWindowVisible());
    // Below the first tab's row: x = its left + 1, y = its bottom + 2, the width and height
    // of the client area less 2 and 4.
    CRect item;
    tabs.GetItemRect(0, &item);
    CRect client;
    tabs.GetClientRect(&client);
    CRect page;
    tabs.Page(2)->GetWindowRect(&page);
    tabs.ScreenToClient(&page);
    EXPECT_EQ(page,
              CRect(item.left + 1, item.bottom + 2, item.left + 1 + client.right - item.left - 2,
                    item.bottom + 2 + client.bottom - item.bottom - 4));

    EXPECT_EQ(dialog.Act("dlg set 3100 text"), "") << "the shown page's edit";
    EXPECT_EQ(dialog.Act("dlg choose 3000 Background"), "");
    EXPECT_EQ(tabs.ShownPage(), 2);
    EXPECT_FALSE(tabs.Page(0)->IsWindowVisible());
    EXPECT_TRUE(tabs.Page(2)->IsWindowVisible());
    const std::string show = dialog.Act("dlg show");
    EXPECT_NE(show.find("  3000   tab             \"Drawing\" | \"Hatch\" | "
                        "\"Background\"  selected \"Background\"  focus\n"
                        "    0      page            \"\"\n"
                        "      3100   edit            \"page\""),
              std::string::npos)
        << show;
}

TEST(Values, PathsUseForwardSlashesForSingleAndDoubledBackslashes) {
    EXPECT_EQ(UI_Path(L"C:\\\\Suite\\\\Tallimo.ini"), CString(L"C:/Suite/Tallimo.ini"));
    EXPECT_EQ(UI_Path(L"C:\\Suite\\x.dwg"), CString(L"C:/Suite/x.dwg"));
    EXPECT_EQ(UI_Path(L"a\\\\\\b"), CString(L"a//b")) << "three: a doubled one, then one";
    EXPECT_EQ(UI_Path(L"plain/path"), CString(L"plain/path"));
}

class DrawingValues : public ::testing::Test {
protected:
    ZcDbObjectId AddLine() {
        ZcDbBlockTableRecord* space = nullptr;
        zcdbOpenObject(space, db.modelSpaceId(), ZcDb::kForWrite);
        auto* line = new ZcDbLine(ZcGePoint3d(0, 0, 0), ZcGePoint3d(1, 1, 0));
        ZcDbObjectId id;
        space->appendZcDbEntity(id, line);
        line->close();
        space->close();
        return id;
    }
    int NamedEntries() {
        ZcDbDictionary* named = nullptr;
        db.getNamedObjectsDictionary(named, ZcDb::kForRead);
        const int count = static_cast<int>(named->numEntries());
        named->close();
        return count;
    }

    ZcDbDatabase db;
};

TEST_F(DrawingValues, ADictionaryIsMadeOnceAndFoundAgainAfterSavingAndLoading) {
    const int before = NamedEntries();
    UI_Dictionary dictionary(L"TALLIMO_VALUES", &db);
    const ZcDbObjectId id = dictionary.Id();
    ASSERT_TRUE(id.isValid());
    EXPECT_EQ(UI_Dictionary(L"tallimo_values", &db).Id(), id) << "names ignore case";
    EXPECT_EQ(NamedEntries(), before + 1);
    EXPECT_EQ(db.openObjectCount(), 0);

    const auto folder = std::filesystem::temp_directory_path() / "ui_tests_dictionary";
    std::filesystem::create_directories(folder);
    const std::wstring file = (folder / "values.dxf").wstring();
    ASSERT_EQ(db.saveAs(file.c_str()), Zcad::eOk);
    ZcDbDatabase loaded(false);
    ASSERT_EQ(loaded.readDwgFile(file.c_str()), Zcad::eOk);
    std::filesystem::remove_all(folder);
    UI_Dictionary again(L"TALLIMO_VALUES", &loaded);
    ASSERT_TRUE(again.Id().isValid());
    EXPECT_EQ(again.Id().handle(), id.handle());
    ZcDbDictionary* named = nullptr;
    loaded.getNamedObjectsDictionary(named, ZcDb::kForRead);
    const auto entries = named->entries();
    named->close();
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                            [](const auto& entry) { return entry.first == L"TALLIMO_VALUES"; }),
              1);
}

TEST_F(DrawingValues, ANameTakenByAnotherKindIsRefusedAndLeftAsItWas) {
    // A group filed under a name of the named-objects dictionary, a dictionary under a name of
    // the group dictionary: neither is handed out as the other kind.
    ZcDbObjectId group, dictionary;
    ZcDbDictionary* named = nullptr;
    ASSERT_EQ(db.getNamedObjectsDictionary(named, ZcDb::kForWrite), Zcad::eOk);
    auto* strayGroup = new ZcDbGroup;
    ASSERT_EQ(named->setAt(L"STRAY", strayGroup, group), Zcad::eOk);
    strayGroup->close();
    named->close();
    ZcDbDictionary* groups = nullptr;
    ASSERT_EQ(db.getGroupDictionary(groups, ZcDb::kForWrite), Zcad::eOk);
    auto* strayDictionary = new ZcDbDictionary;
    ASSERT_EQ(groups->setAt(L"STRAY", strayDictionary, dictionary), Zcad::eOk);
    strayDictionary->close();
    groups->close();
    const int before = NamedEntries();

    UI_Dictionary asDictionary(L"stray", &db);
    EXPECT_TRUE(asDictionary.Id().isNull());
    EXPECT_EQ(asDictionary.LastStatus(), Zcad::eNotThatKindOfClass);
    UI_Group asGroup(L"stray", &db);
    EXPECT_TRUE(asGroup.Id().isNull());
    EXPECT_EQ(asGroup.LastStatus(), Zcad::eNotThatKindOfClass);
    EXPECT_NE(asGroup.Append(AddLine()), Zcad::eOk);

    EXPECT_EQ(NamedEntries(), before);
    EXPECT_FALSE(group.isErased());
    EXPECT_FALSE(dictionary.isErased());
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST_F(DrawingValues, AGroupIsMadeOnceAndListsItsLiveMembersAfterSavingAndLoading) {
    UI_Group group(L"Arkusz 1", &db);
    EXPECT_EQ(group.Append(ZcDbObjectId()), Zcad::eNullObjectId);
    const ZcDbObjectId a = AddLine(), b = AddLine(), c = AddLine();
    for (const ZcDbObjectId& id : {b, a, c})
        EXPECT_EQ(group.Append(id), Zcad::eOk);
    UI_Group same(L"arkusz 1", &db);
    EXPECT_EQ(same.Id(), group.Id()) << "found again, names ignore case";
    EXPECT_EQ(same.Append(a), Zcad::eDuplicateKey);
    UI_Entity(c).Erase();
    EXPECT_EQ(same.Ids(), (std::vector<ZcDbObjectId>{b, a})) << "no null, no erased member";
    EXPECT_EQ(group.Count(), 2);
    EXPECT_EQ(db.openObjectCount(), 0);

    const auto folder = std::filesystem::temp_directory_path() / "ui_tests_group";
    std::filesystem::create_directories(folder);
    const std::wstring file = (folder / "group.dxf").wstring();
    ASSERT_EQ(db.saveAs(file.c_str()), Zcad::eOk);
    ZcDbDatabase loaded(false);
    ASSERT_EQ(loaded.readDwgFile(file.c_str()), Zcad::eOk);
    std::filesystem::remove_all(folder);
    ZcDbDictionary* groups = nullptr;
    ASSERT_EQ(loaded.getGroupDictionary(groups, ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(groups->numEntries(), 1u) << "one group, made once";
    groups->close();
    UI_Group again(L"Arkusz 1", &loaded);
    ASSERT_EQ(again.Id().handle(), group.Id().handle());
    std::vector<ZcDbHandle> members;
    for (const ZcDbObjectId& id : again.Ids())
        members.push_back(id.handle());
    EXPECT_EQ(members, (std::vector<ZcDbHandle>{b.handle(), a.handle()}));
}

TEST_F(DrawingValues, ACollectionErasesWhatItCanOpenAndSkipsTheRest) {
    UI_Kolekcja members;
    const ZcDbObjectId kept = AddLine();
    const ZcDbObjectId erasedBefore = AddLine();
    const ZcDbObjectId openElsewhere = AddLine();
    UI_Entity(erasedBefore).Erase();
    members.Add(kept);
    members.Add(erasedBefore);
    members.Add(ZcDbObjectId());
    members.Add(openElsewhere);
    ZcDbObject* open = nullptr;
    ASSERT_EQ(zcdbOpenObject(open, openElsewhere, ZcDb::kForWrite), Zcad::eOk);
    EXPECT_EQ(members.EraseAll(), 1);
    open->close();
    EXPECT_TRUE(kept.isErased());
    EXPECT_FALSE(openElsewhere.isErased());
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST_F(DrawingValues, AnEntityIsOpenedOnlyForOneOperation) {
    const ZcDbObjectId id = AddLine();
    UI_Entity entity(id);
    EXPECT_EQ(entity.OwnerId(), db.modelSpaceId());
    EXPECT_EQ(entity.Highlight(), Zcad::eOk);
    EXPECT_EQ(db.openObjectCount(), 0);
    ASSERT_EQ(entity.Open(ZcDb::kForRead), Zcad::eOk);
    EXPECT_EQ(entity.Erase(), Zcad::eOk) << "opened for write when needed";
    entity.Close();
    EXPECT_TRUE(id.isErased());
    EXPECT_EQ(db.openObjectCount(), 0);
    EXPECT_EQ(UI_Entity(ZcDbObjectId()).OwnerId(), ZcDbObjectId());
}

} // namespace
