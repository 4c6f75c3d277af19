// What the settings editor shows and saves, and the description blocks the value-list editor
// lists and saves, without the dialogs.
#include "TakeoffTest.h"

#include "drawing/Blocks.h"
#include "frame/TextProvider.h"
#include "takeoff/DescriptionBlocks.h"
#include "takeoff/PrzedmiarStore.h"
#include "takeoff/SettingsPages.h"
#include "takeoff/ValueLists.h"

#include "winhost.h"

#include <tuple>

namespace gantrel {
namespace {

using Lines = std::vector<std::wstring>;

INI Parsed(const Lines& lines) {
    INI ini;
    ini.Parse(lines);
    return ini;
}

const SettingsRow* RowOf(const SettingsPage& page, const std::wstring& key) {
    for (const SettingsRow& row : page.rows) {
        if (row.key == key) {
            return &row;
        }
    }
    return nullptr;
}

TEST(SettingsPages, SixPagesInOrderWithTheirRowsAndChoices) {
    const INI settings =
        Parsed({L"[Drawing]", L"Units=Furlongs", L"Precision=0.01", L"[Hatch]", L"Pattern=ANSI31",
                L"Scale=1", L"[ArealDescription]", L"Template=Area.dwg", L"Size=2.5",
                L"DescAttrName=DESC", L"AreaAttrName=AREA", L"[BackGround]", L"Type=Frame"});
    const std::vector<SettingsPage> pages =
        SettingsPages(settings, {L"Meters", L"Feet"}, {L"SOLID", L"ANSI31"});
    ASSERT_EQ(pages.size(), 6u);
    const std::vector<unsigned> captions = {51100, 51101, 51102, 51103, 51104, 51105};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(pages[i].caption, captions[i]);
    }
    // A unit the choices lack stays offered, so it is not lost.
    const SettingsRow* units = RowOf(pages[0], L"Units");
    ASSERT_NE(units, nullptr);
    EXPECT_EQ(units->choices, (Lines{L"Meters", L"Feet", L"Furlongs"}));
    EXPECT_EQ(RowOf(pages[1], L"Pattern")->choices, (Lines{L"SOLID", L"ANSI31"}));
    // Template, Size, then the other keys in key order as tag rows.
    ASSERT_EQ(pages[2].rows.size(), 4u);
    EXPECT_EQ(pages[2].rows[0].kind, RowKind::Template);
    EXPECT_EQ(pages[2].rows[1].key, L"Size");
    EXPECT_EQ(pages[2].rows[2].key, L"AreaAttrName");
    EXPECT_EQ(pages[2].rows[3].key, L"DescAttrName");
    EXPECT_EQ(pages[2].rows[3].kind, RowKind::Tag);
    // A missing section shows empty values.
    ASSERT_EQ(pages[3].rows.size(), 2u);
    EXPECT_EQ(pages[3].rows[0].value, L"");
    // "Frame" shows the frame text, in any case.
    ASSERT_EQ(pages[5].rows.size(), 1u);
    EXPECT_EQ(pages[5].rows[0].kind, RowKind::Background);
    EXPECT_EQ(pages[5].rows[0].value, L"Frame");
    EXPECT_EQ(pages[5].rows[0].choices, (Lines{L"Frame", L"Wipeout", L"None"}));
    EXPECT_EQ(RowLabelId(L"IDAttrName"), 51016u);
    EXPECT_EQ(RowLabelId(L"NoText"), 0u);
}

TEST(SettingsPages, CollectingMapsTheBackgroundAndKeepsOnlyShownKeys) {
    for (const auto& [stored, shownId, back] : {std::tuple{L"frame", 51019u, L"frame"},
                                                {L"WIPEOUT", 51020u, L"wipeout"},
                                                {L"none", 51021u, L"none"},
                                                {L"solid", 51021u, L"none"}}) {
        EXPECT_EQ(BackgroundTextId(stored), shownId) << win::Narrow(stored);
        EXPECT_EQ(BackgroundStoredValue(GetPackText(shownId)), back) << win::Narrow(stored);
    }
    const INI settings =
        Parsed({L"[Hatch]", L"Pattern=EARTH", L"Scale=5", L"Hidden=1", L"[CountDescription]",
                L"Template=c.dwg", L"IDAttrName=ID", L"[BackGround]", L"Colour=7", L"Type=Frame"});
    std::vector<SettingsPage> pages = SettingsPages(settings, {}, {});
    // The background type row is the one for "Type", whatever comes before it.
    ASSERT_EQ(pages[5].rows.size(), 2u);
    EXPECT_EQ(pages[5].rows[0].kind, RowKind::Text);
    EXPECT_EQ(pages[5].rows[1].kind, RowKind::Background);
    SetTagChoices(pages[4], {L"NUMBER", L"ID"});
    EXPECT_EQ(RowOf(pages[4], L"IDAttrName")->choices, (Lines{L"NUMBER", L"ID"}));
    SetTagChoices(pages[4], {L"NUMBER"});
    EXPECT_EQ(RowOf(pages[4], L"IDAttrName")->choices, (Lines{L"NUMBER", L"ID"}));

    const INI collected = CollectSettings(pages);
    EXPECT_EQ(
        collected.Write(),
        (Lines{L"[Drawing]", L"Precision=", L"Units=", L"[Hatch]", L"Pattern=EARTH", L"Scale=5",
               L"[ArealDescription]", L"Size=", L"Template=", L"[LinearDescription]", L"Size=",
               L"Template=", L"[CountDescription]", L"IDAttrName=ID", L"Size=", L"Template=c.dwg",
               L"[BackGround]", L"Colour=7", L"Type=frame"}));
}

TEST_F(TakeoffTest, DescriptionBlocksFollowTheTemplatesInTheirOrder) {
    const ZcDbObjectId count = addDescriptionBlock(L"CountDescription", {{L"N", false}});
    const ZcDbObjectId areal =
        addDescriptionBlock(L"AreaDescription", {{L"A", false}, {L"K", true}, {L"B", false}});
    const INI settings = Parsed({L"[CountDescription]", L"Template=C:\\t\\countdescription.dwg",
                                 L"[LinearDescription]", L"Template=Missing.dwg",
                                 L"[ArealDescription]", L"Template=/x/AreaDescription.dxf"});
    const std::vector<DescriptionBlock> blocks = DescriptionBlocks(&db(), settings);
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(blocks[0].id, areal);
    EXPECT_EQ(blocks[0].section, L"ArealDescription");
    EXPECT_EQ(blocks[1].id, count);
    EXPECT_EQ(blocks[1].name, L"CountDescription");
    EXPECT_EQ(AttributeTags(areal, false), (Lines{L"A", L"B"}));
    EXPECT_EQ(AttributeTags(areal, true), (Lines{L"A", L"K", L"B"}));

    // Saving adds each tag's values (constant tags included) and resets the companion's lists.
    ASSERT_EQ(WritePrzedmiarEntry(&db(), L"A", {L"old"}), Zcad::eOk);
    SaveValueLists(&db(), settings, [](const DescriptionBlock& block, const std::wstring& tag) {
        return tag == L"B" ? Lines{} : Lines{block.name + L":" + tag};
    });
    EXPECT_EQ(ReadValueList(&db(), L"A"), (Lines{L"old", L"AreaDescription:A"}));
    EXPECT_EQ(ReadValueList(&db(), L"K"), (Lines{L"AreaDescription:K"}));
    EXPECT_EQ(ReadValueList(&db(), L"B"), Lines{});
    EXPECT_EQ(ReadValueList(&db(), L"N"), (Lines{L"CountDescription:N"}));
    EXPECT_EQ(symbolWrites(),
              (std::vector<std::string>{"*Lokals*=nil", "*IDs*=nil", "*DescsList*=nil",
                                        "*SelDescs*=nil", "*P_Desc_dlg:mem*=nil"}));
}

TEST_F(TakeoffTest, TemplateTagsLoadTheBlockFromTheFileOrReportThePathTried) {
    // A template drawing: the block's definitions in its model space.
    {
        ZcDbDatabase side;
        ZcDbBlockTableRecord* model = nullptr;
        ASSERT_EQ(zcdbOpenObject(model, side.modelSpaceId(), ZcDb::kForWrite), Zcad::eOk);
        for (const auto& [tag, constant] : std::vector<std::pair<const wchar_t*, bool>>{
                 {L"ROOM", false}, {L"KIND", true}, {L"FINISH", false}}) {
            auto* definition = new ZcDbAttributeDefinition({0, 0, 0}, L"", tag, tag);
            definition->setConstant(constant);
            model->appendZcDbEntity(definition);
            definition->close();
        }
        model->close();
        ASSERT_EQ(side.saveAs(win::Widen((suite / "Room.dxf").string()).c_str()), Zcad::eOk);
    }
    EXPECT_EQ(TemplateTags(L""), std::nullopt);
    EXPECT_EQ(out, "");
    EXPECT_EQ(TemplateTags(suitePath("Absent.dwg")), std::nullopt);
    EXPECT_EQ(out, "\n" + win::Narrow(suitePath("Absent.dwg")) +
                       "!  es: " + win::Narrow(zcadErrorStatusText(Zcad::eFileNotFound)));
    out.clear();
    const auto tags = TemplateTags(suitePath("Room.dwg"));
    ASSERT_TRUE(tags.has_value()) << out;
    EXPECT_EQ(*tags, (Lines{L"ROOM", L"KIND", L"FINISH"}));
    EXPECT_FALSE(FindBlock(&db(), L"Room").isNull());
    // A block of the name in the drawing is used without the file.
    const ZcDbObjectId own = addDescriptionBlock(L"Own", {{L"X", false}});
    EXPECT_EQ(TemplateTags(L"D:\\nowhere\\own.dwg"), (Lines{L"X"}));
    EXPECT_FALSE(own.isNull());
    EXPECT_EQ(out, "");
}

} // namespace
} // namespace gantrel
